// The extension's rules for which pages it serves and what it makes of an
// administrator's policy, run in Node against stand-ins for the browser's
// storage. The browser test shows them at work; this one goes through the
// cases a browser run would take too long for.
import { beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";
import { BASE, EXTENSION, setManaged } from "./support/extension-stand-ins.mjs";

const storage = globalThis.chrome.storage;
const { fromManaged, DEFAULTS, localOrigins, setLocalOrigins } = await import(path.join(EXTENSION, "shared", "settings.js"));
const { askAgain, forgetLocalAnswers, isLocalOrigin, putOff, putOffSites, rememberAnswer, userAnswers } = await import(
  path.join(EXTENSION, "shared", "site-answers.js")
);
const { accessOf, unservable } = await import(path.join(EXTENSION, "background", "site-access.js"));

beforeEach(async () => {
  storage.local.data = {};
  storage.session.data = {};
  await setManaged({});
});

test("the administrator's settings: usable values are taken, anything else falls back to the default", () => {
  const cases = [
    [{}, {}],
    [{ requestTimeoutSeconds: 30, loginIdleMinutes: 0.5, pinFromPage: false }, { requestTimeoutSeconds: 30, loginIdleMinutes: 0.5, pinFromPage: false }],
    [{ confirmEachSignature: false, allowLocalOrigins: true }, { confirmEachSignature: false, allowLocalOrigins: true }],
    [{ allowLocalOrigins: false }, { allowLocalOrigins: false }],
    [{ requestTimeoutSeconds: 0, loginIdleMinutes: -1, pinFromPage: "false" }, {}],
    [{ requestTimeoutSeconds: "30", loginIdleMinutes: null, pinFromPage: 0, confirmEachSignature: "no", allowLocalOrigins: 1 }, {}],
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

test("pages that can never be served are refused for their own reason; pages served from this computer too, unless the setting is on", async () => {
  const cases = [
    // origin, refused with the setting off, with it on
    ["http://localhost:8000", "local-origin", null],
    ["http://127.0.0.1", "local-origin", null],
    ["http://127.0.0.1:18432", "local-origin", null],
    ["http://[::1]:8000", "local-origin", null],
    ["https://sign.example", null, null],
    ["https://localhost:8443", null, null],
    ["http://test.example:8000", "plain-http", "plain-http"],
    ["http://localhost.example", "plain-http", "plain-http"],
    ["http://127.0.0.2:8000", "plain-http", "plain-http"],
    ["http://[::2]:8000", "plain-http", "plain-http"],
    ["null", "not-allowed", "not-allowed"],
    ["file://", "not-allowed", "not-allowed"],
    // Another extension's page; the extension's own (its token console) is served.
    ["chrome-extension://abcdefghijklmnopabcdefghijklmnop", "not-allowed", "not-allowed"],
    [BASE.replace(/\/$/, ""), null, null],
    ["moz-extension://0f2c7d9e-6a1b-4c8d-9e3f-5a6b7c8d9e0f", "not-allowed", "not-allowed"],
    ["https://sign.example/", "not-allowed", "not-allowed"],
    ["http://localhost:8000/", "plain-http", "plain-http"],
  ];
  for (const [on, column] of [[false, 1], [true, 2]]) {
    await setLocalOrigins(on);
    for (const row of cases) {
      const refusal = await unservable(row[0]);
      assert.equal(refusal && refusal.reason, row[column], `${row[0]}, the setting ${on ? "on" : "off"}`);
    }
  }
  const refusal = await setLocalOrigins(false).then(() => unservable("http://localhost:8000"));
  assert.equal(refusal.message,
    "Pages served from this computer may not use security tokens. Turn this on in the Vantrel extension's options (for development).");
});

test("the administrator's allowLocalOrigins fixes the setting either way; without it the user's choice holds", async () => {
  const cases = [
    // managed, the user's choice, the outcome
    [{}, false, { on: false, fixed: false }],
    [{}, true, { on: true, fixed: false }],
    [{ allowLocalOrigins: true }, false, { on: true, fixed: true }],
    [{ allowLocalOrigins: false }, true, { on: false, fixed: true }],
    [{ allowLocalOrigins: "yes" }, true, { on: true, fixed: false }],
  ];
  for (const [managed, chosen, expected] of cases) {
    await setManaged(managed);
    await setLocalOrigins(chosen);
    assert.deepEqual(await localOrigins(), expected, JSON.stringify([managed, chosen]));
  }
});

test("a page served from this computer is asked about like any site, its answer kept for the browser session only", async () => {
  await setLocalOrigins(true);
  const local = "http://127.0.0.1:8000";
  assert.equal(isLocalOrigin(local), true);
  assert.equal(await accessOf(local), "ask");
  await rememberAnswer(local, true);
  await rememberAnswer("https://kept.example", true);
  assert.equal(await accessOf(local), "serve");
  assert.deepEqual(Object.keys(storage.session.data), [`site:${local}`]);
  assert.deepEqual(Object.keys(storage.local.data).sort(), ["option:local-origins", "site:https://kept.example"]);
  assert.deepEqual((await userAnswers()).map((a) => [a.origin, a.session]), [[local, true], ["https://kept.example", false]]);
  // Off, and back on: the answer is gone and the page is asked again.
  await setLocalOrigins(false);
  await forgetLocalAnswers();
  await assert.rejects(accessOf(local), { reason: "local-origin" });
  await setLocalOrigins(true);
  assert.equal(await accessOf(local), "ask");
  // The administrator's list is for HTTPS sites only.
  await setManaged({ allowedOrigins: [local] });
  assert.equal(await accessOf(local), "ask");
});

test("a site whose question was closed is not asked again this session, until the options page asks again", async () => {
  const site = "https://new.example";
  await putOff(site);
  await assert.rejects(accessOf(site), {
    reason: "not-now",
    message: "The user closed the question whether this site may use security tokens; it is not asked again until the browser restarts.",
  });
  assert.deepEqual((await putOffSites()).map((s) => s.origin), [site]);
  assert.deepEqual(Object.keys(storage.local.data), [], "kept for the session only");
  await askAgain(site);
  assert.equal(await accessOf(site), "ask");
  // The administrator's list wins over it.
  await putOff("https://listed.example");
  await setManaged({ allowedOrigins: ["https://listed.example"] });
  assert.equal(await accessOf("https://listed.example"), "serve");
});

test("an HTTPS site is served when the administrator lists it or the user allowed it, refused when denied, else asked about", async () => {
  await setManaged({ allowedOrigins: ["https://listed.example"] });
  storage.local.data = {
    "site:https://allowed.example": { allowed: true, since: "2026-01-01T00:00:00Z" },
    "site:https://denied.example": { allowed: false, since: "2026-01-01T00:00:00Z" },
    "site:https://listed.example": { allowed: false, since: "2026-01-01T00:00:00Z" },
  };
  const cases = [
    ["http://localhost:8000", "local-origin"],
    ["https://listed.example", "serve"], // the administrator's list wins over the user's no
    ["https://allowed.example", "serve"],
    ["https://denied.example", "denied"],
    ["https://new.example", "ask"],
    ["https://allowed.example:8443", "ask"], // another port is another site
    ["http://allowed.example", "plain-http"],
    [BASE.replace(/\/$/, ""), "serve"], // the extension's own token console, never asked about
  ];
  for (const [origin, expected] of cases) {
    const outcome = await accessOf(origin).catch((refusal) => refusal.reason);
    assert.equal(outcome, expected, origin);
  }
});
