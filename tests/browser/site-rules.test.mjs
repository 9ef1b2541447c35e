// The extension's rules for which pages it serves and what it makes of an
// administrator's policy, run in Node against a stand-in for the browser's
// storage. The browser test shows them at work; this one goes through the
// cases a browser run would take too long for.
import { test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";

const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "extension");

// What the modules see of the extension API: managed and local storage.
const storage = { managed: {}, local: {} };
globalThis.chrome = {
  storage: {
    onChanged: { addListener() {} },
    managed: { get: async () => storage.managed },
    local: { get: async (key) => (key in storage.local ? { [key]: storage.local[key] } : {}) },
  },
};
const { fromManaged, DEFAULTS } = await import(path.join(EXTENSION, "settings.js"));
const { accessOf, unservable } = await import(path.join(EXTENSION, "site-access.js"));

test("the administrator's settings: usable values are taken, anything else falls back to the default", () => {
  const cases = [
    [{}, {}],
    [{ requestTimeoutSeconds: 30, loginIdleMinutes: 0.5, pinFromPage: false }, { requestTimeoutSeconds: 30, loginIdleMinutes: 0.5, pinFromPage: false }],
    [{ requestTimeoutSeconds: 0, loginIdleMinutes: -1, pinFromPage: "false" }, {}],
    [{ requestTimeoutSeconds: "30", loginIdleMinutes: null, pinFromPage: 0 }, {}],
    [{ allowedOrigins: "https://a.example" }, {}],
  ];
  for (const [managed, expected] of cases) {
    assert.deepEqual(fromManaged(managed), { ...DEFAULTS, ...expected }, JSON.stringify(managed));
  }
});

test("the administrator's allowlist keeps whole HTTPS sites only, each once, in the browser's form", () => {
  const listed = [
    "https://a.example",
    "https://a.example:443/",
    "https://B.Example:8443/",
    "http://c.example",
    "https://d.example/path",
    "https://d.example/?q",
    "https://user@e.example",
    "https://*.f.example",
    "not an address",
    42,
    null,
  ];
  assert.deepEqual(fromManaged({ allowedOrigins: listed }).allowedOrigins, ["https://a.example", "https://b.example:8443"]);
});

test("pages that can never be served are refused for their own reason", () => {
  const cases = [
    ["http://localhost:8000", null],
    ["http://127.0.0.1", null],
    ["http://127.0.0.1:18432", null],
    ["https://sign.example", null],
    ["https://localhost:8443", null],
    ["http://test.example:8000", "plain-http"],
    ["http://localhost.example", "plain-http"],
    ["http://127.0.0.2:8000", "plain-http"],
    ["http://[::1]:8000", "plain-http"],
    ["null", "not-allowed"],
    ["file://", "not-allowed"],
    ["chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh", "not-allowed"],
    ["https://sign.example/", "not-allowed"],
  ];
  for (const [origin, reason] of cases) {
    const refusal = unservable(origin);
    assert.equal(refusal && refusal.reason, reason, origin);
  }
});

test("an HTTPS site is served when the administrator lists it or the user allowed it, refused when denied, else asked about", async () => {
  storage.managed = { allowedOrigins: ["https://listed.example"] };
  storage.local = {
    "site:https://allowed.example": { allowed: true, since: "2026-01-01T00:00:00Z" },
    "site:https://denied.example": { allowed: false, since: "2026-01-01T00:00:00Z" },
    "site:https://listed.example": { allowed: false, since: "2026-01-01T00:00:00Z" },
  };
  const cases = [
    ["http://localhost:8000", "serve"],
    ["https://listed.example", "serve"], // the administrator's list wins over the user's no
    ["https://allowed.example", "serve"],
    ["https://denied.example", "denied"],
    ["https://new.example", "ask"],
    ["https://allowed.example:8443", "ask"], // another port is another site
    ["http://allowed.example", "plain-http"],
  ];
  for (const [origin, expected] of cases) {
    const outcome = await accessOf(origin).catch((refusal) => refusal.reason);
    assert.equal(outcome, expected, origin);
  }
});
