// The extension's PIN window from the background's side, run in Node against
// a stand-in for the browser's windows and the window's port, and a stand-in
// host: which requests ask for it, what it shows, what is sent to the host
// and when, and every way it ends. The browser tests show the window itself.
import { beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";

const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "extension");
const BASE = "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/";
const ORIGIN = "https://sign.example";

// What the modules see of the extension API: windows, and the add-on's addresses.
let created = [];
let failToOpen = false;
let windowRemoved = () => {};
globalThis.chrome = {
  runtime: { getURL: (name) => BASE + name },
  storage: { onChanged: { addListener() {} }, managed: { get: async () => ({}) } },
  windows: {
    create: async (options) => {
      if (failToOpen) {
        throw new Error("no windows here");
      }
      created.push(options);
      return { id: created.length };
    },
    onRemoved: { addListener: (listener) => (windowRemoved = listener) },
  },
};
const { asksForPins, carriesPins, exchangeWithPinWindow, needsPinToSign, withoutPinPrompt } = await import(
  path.join(EXTENSION, "pin-entry.js")
);
const { isPinRefusal, servePinWindow } = await import(path.join(EXTENSION, "pin-window.js"));

const TOKENS = [
  { tokenSN: "7a3f00112233aabb", tokenLabel: "Signing card", tokenModel: "SoftHSM v2", pmin: 6, pmax: 8 },
  { tokenSN: "", tokenLabel: "", tokenModel: "SoftHSM v2", pmin: 4, pmax: -1 },
];
const CERTIFICATE = { serialNumber: "00c0ffee5a17", subjectDN: "CN=Ada Signer" };

// The stand-in host: what it was sent, and its answers, by action.
let sent = [];
let answers = {};
function exchange(request) {
  sent.push(structuredClone(request));
  const answer = answers[request.action];
  return Promise.resolve(typeof answer === "function" ? answer(request) : answer);
}

beforeEach(() => {
  created = [];
  failToOpen = false;
  sent = [];
  answers = {
    listTokens: { action: "listTokens", tokens: TOKENS },
    info: { action: "info", token: TOKENS[0].tokenSN },
    listCertificates: { action: "listCertificates", certificates: [CERTIFICATE] },
  };
});

const tick = () => new Promise((resolve) => setTimeout(resolve, 0));

/** The window's end of its port, as pin.js uses it. */
class WindowPort {
  constructor(url) {
    this.sender = { url };
    this.received = [];
    this.listeners = [];
    this.disconnectListeners = [];
    this.disconnected = false;
  }
  postMessage(message) {
    this.received.push(structuredClone(message));
  }
  onMessage = { addListener: (listener) => this.listeners.push(listener) };
  onDisconnect = { addListener: (listener) => this.disconnectListeners.push(listener) };
  disconnect() {
    this.disconnected = true;
  }
  async say(message) {
    for (const listener of this.listeners) {
      listener(message);
    }
    await tick();
  }
  async close() {
    for (const listener of this.disconnectListeners) {
      listener();
    }
    await tick();
  }
  last() {
    return this.received.at(-1);
  }
}

/** Starts `request` through the window and resolves once the window shows its prompt. */
async function opened(request) {
  const outcome = exchangeWithPinWindow(ORIGIN, request, exchange);
  outcome.catch(() => {});
  let window;
  for (let i = 0; i < 100 && !window; i++) {
    await tick();
    window = created.at(-1);
  }
  assert.ok(window, "a window opened");
  const [address, query] = window.url.split("?");
  assert.equal(address, BASE + "pin.html");
  const port = new WindowPort(window.url);
  servePinWindow(port);
  await port.say({ type: "show", entry: new URLSearchParams(query).get("entry") });
  assert.equal(port.last().type, "prompt");
  return { port, prompt: port.last().prompt, outcome, windowId: created.length };
}

function hostRequests() {
  return sent.filter((r) => !["listTokens", "info", "listCertificates"].includes(r.action));
}

test("which requests carry a PIN of the page's, which ask for the window, and what the host gets", () => {
  const cases = [
    // request, carries a PIN, asks for the window
    [{ action: "login", tokenSN: "1", pin: "1234" }, true, false],
    [{ action: "login", tokenSN: "1", pinPrompt: true }, false, true],
    [{ action: "login", tokenSN: "1", pin: "", pinPrompt: true }, true, true],
    [{ action: "login", tokenSN: "1", pin: ["1234"] }, true, false],
    [{ action: "login", tokenSN: "1", pinPrompt: "true" }, false, false],
    [{ action: "changePIN", tokenSN: "1", newPIN: "5678" }, true, false],
    [{ action: "changePIN", tokenSN: "1", pinPrompt: true }, false, true],
    [{ action: "formatToken", tokenSN: "", adminPIN: "5678" }, true, false],
    [{ action: "formatToken", tokenSN: "", pinPrompt: true }, false, true],
    [{ action: "sign", certificateSN: "020101", payload: "x", pin: "1234" }, true, false],
    [{ action: "sign", certificateSN: "020101", payload: "x" }, false, false],
    [{ action: "sign", certificateSN: "020101", payload: "x", pinPrompt: true }, false, true],
    // Only the actions that take PINs know either.
    [{ action: "listTokens", pin: "1234", pinPrompt: true }, false, false],
    [{ action: "generateKeys", tokenSN: "1", adminPIN: "1" }, false, false],
  ];
  for (const [request, carries, asks] of cases) {
    assert.deepEqual([carriesPins(request), asksForPins(request)], [carries, asks], JSON.stringify(request));
    assert.equal("pinPrompt" in withoutPinPrompt(request), false);
  }
  const needs = { action: "sign", error: "The key needs its PIN for every signature" };
  assert.equal(needsPinToSign({ action: "sign" }, needs), true);
  assert.equal(needsPinToSign({ action: "sign" }, { action: "sign", error: "Must login before being able to sign" }), false);
  assert.equal(needsPinToSign({ action: "login" }, needs), false);
});

test("a PIN the token refused may be typed again; every other answer ends the exchange", () => {
  const cases = [
    ["Incorrect PIN  (rc=160)", true],
    ["Invalid PIN (rc=161)", true],
    ["Invaliod PIN length (rc=162)", true],
    ["Failed to format the token (rc=160)", true],
    ["Failed to set token PIN (rc=162)", true],
    ["Locked PIN (rc=164)", false],
    ["Expired PIN (rc=163)", false],
    ["Login failed (rc=5)", false],
    ["No token with serial number 1", false],
    [undefined, false],
  ];
  for (const [error, again] of cases) {
    assert.equal(isPinRefusal({ action: "login", ...(error === undefined ? {} : { error }) }), again, String(error));
  }
});

test("a login: the window names the site, the action and the token; a wrong PIN is shown there and asked again; the right one logs in", async () => {
  answers.login = (request) =>
    request.pin === "good-pin"
      ? { action: "login", tokenSN: request.tokenSN }
      : { action: "login", tokenSN: request.tokenSN, error: "Incorrect PIN  (rc=160)" };
  const { port, prompt, outcome } = await opened({ action: "login", tokenSN: TOKENS[0].tokenSN, mode: "write", pinPrompt: true });
  assert.equal(prompt.title, `${ORIGIN} asks you to log in to a token`);
  assert.deepEqual(prompt.facts, [
    ["Site", ORIGIN],
    ["Action", "Log in, to read and write"],
    ["Token", `the token “Signing card” (serial number ${TOKENS[0].tokenSN})`],
  ]);
  assert.deepEqual(prompt.fields, [{ name: "pin", label: "PIN of the token" }]);
  assert.deepEqual(prompt.lengths, { min: 6, max: 8 });
  assert.deepEqual(hostRequests(), [], "nothing but the token list before the PIN is typed");

  await port.say({ type: "submit", pins: { pin: "bad-pin" } });
  assert.deepEqual(port.last(), { type: "again", error: "Incorrect PIN  (rc=160)" });
  const submitted = { type: "submit", pins: { pin: "good-pin" } };
  await port.say(submitted);
  assert.deepEqual(submitted, { type: "submit" }, "the window's message lets go of the PIN");
  assert.deepEqual(await outcome, { action: "login", tokenSN: TOKENS[0].tokenSN });
  assert.deepEqual(port.last(), { type: "done" });
  assert.deepEqual(hostRequests(), [
    { action: "login", tokenSN: TOKENS[0].tokenSN, mode: "write", pin: "bad-pin" },
    { action: "login", tokenSN: TOKENS[0].tokenSN, mode: "write", pin: "good-pin" },
  ]);
});

test("changing the PIN and formatting ask for every PIN, new ones twice within the token's lengths; the page's own PINs are not used", async () => {
  answers.changePIN = (request) => ({ action: "changePIN", tokenSN: request.tokenSN });
  answers.formatToken = (request) => ({ action: "formatToken", tokenSN: request.tokenSN });
  const change = await opened({ action: "changePIN", tokenSN: TOKENS[0].tokenSN, pinPrompt: true });
  assert.deepEqual(change.prompt.fields, [
    { name: "oldPIN", label: "Current PIN" },
    { name: "newPIN", label: "New PIN", checked: true },
    { name: "newPIN", label: "New PIN again", again: true },
  ]);
  assert.equal(change.prompt.danger, false);
  await change.port.say({ type: "submit", pins: { oldPIN: "123456", newPIN: "654321" } });
  await change.outcome;

  const format = await opened({ action: "formatToken", tokenSN: "", tokenPIN: "from-the-page", pinPrompt: true });
  assert.equal(format.prompt.title, `${ORIGIN} asks you to format a token`);
  assert.deepEqual(format.prompt.facts.at(-1), ["Token", "the blank SoftHSM v2 (not initialised)"]);
  assert.match(format.prompt.warning, /erases every key and certificate .* cannot be undone/);
  assert.deepEqual(format.prompt.fields.map((f) => f.name), ["adminPIN", "tokenPIN", "tokenPIN"]);
  assert.deepEqual(format.prompt.lengths, { min: 4, max: null }, "a token that names no longest PIN");
  assert.equal(format.prompt.danger, true);
  await format.port.say({ type: "submit", pins: { adminPIN: "so-pin", tokenPIN: "user-pin" } });
  await format.outcome;

  assert.deepEqual(hostRequests(), [
    { action: "changePIN", tokenSN: TOKENS[0].tokenSN, oldPIN: "123456", newPIN: "654321" },
    { action: "formatToken", tokenSN: "", adminPIN: "so-pin", tokenPIN: "user-pin" },
  ]);
});

test("a signature: the window shows the certificate and the start of the text; without that certificate on the logged-in token nothing is asked", async () => {
  answers.sign = (request) => ({ action: "sign", signature: request.pin === "key-pin" ? "c2lnbmVk" : "" });
  const text = "I agree to pay 1000 EUR. ".repeat(10);
  const request = { action: "sign", certificateSN: "020600C0FFEE5A17", payload: text, pinPrompt: true };
  const { port, prompt, outcome } = await opened(request);
  assert.equal(prompt.title, `${ORIGIN} asks you to sign`);
  assert.deepEqual(prompt.facts.slice(3), [
    ["Certificate", "“CN=Ada Signer” (serial number 00c0ffee5a17)"],
    ["Text to sign", text.slice(0, 160) + "…"],
  ]);
  assert.deepEqual(prompt.lengths, { min: 0, max: null }, "a key's own PIN may follow other rules");
  await port.say({ type: "submit", pins: { pin: "key-pin" } });
  assert.equal((await outcome).signature, "c2lnbmVk");

  const object = await opened({ ...request, payload: { order: { id: "42" } } });
  assert.deepEqual(object.prompt.facts.at(-1), ["Text to sign", 'a JSON object: {"order":{"id":"42"}}']);
  await object.port.close();
  await assert.rejects(object.outcome, { reason: "cancelled" });

  sent = [];
  answers.sign = { action: "sign", error: "Unable to find cerificate with sn:020101" };
  const windows = created.length;
  const reply = await exchangeWithPinWindow(ORIGIN, { ...request, certificateSN: "020101" }, exchange);
  assert.equal(reply.error, "Unable to find cerificate with sn:020101");
  assert.equal(created.length, windows, "no window");
  assert.deepEqual(hostRequests(), [{ action: "sign", certificateSN: "020101", payload: text }]);
});

test("cancelled, closed, or never opened: the page gets the cancelled refusal and the host nothing", async () => {
  answers.login = { action: "login", tokenSN: TOKENS[0].tokenSN };
  const request = { action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true };
  const ways = [
    ["Cancel or Escape", ({ port }) => port.say({ type: "cancel" })],
    ["the window's page closed", ({ port }) => port.close()],
    ["the window closed", async ({ windowId }) => {
      windowRemoved(windowId);
      await tick();
    }],
  ];
  for (const [way, end] of ways) {
    const window = await opened(request);
    await end(window);
    await assert.rejects(window.outcome, { name: "Refusal", reason: "cancelled", message: "The user cancelled the PIN entry." }, way);
    // A late answer of a closed window is not taken.
    await window.port.say({ type: "submit", pins: { pin: "123456" } });
  }
  failToOpen = true;
  await assert.rejects(exchangeWithPinWindow(ORIGIN, request, exchange), { reason: "cancelled" });
  assert.deepEqual(hostRequests(), []);
});

test("once the PIN is at the host, closing the window changes nothing: its reply is the outcome", async () => {
  let answer;
  answers.login = () => new Promise((resolve) => (answer = resolve));
  const { port, outcome } = await opened({ action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true });
  await port.say({ type: "submit", pins: { pin: "123456" } });
  await port.say({ type: "cancel" });
  await port.close();
  answer({ action: "login", tokenSN: TOKENS[0].tokenSN, error: "Incorrect PIN  (rc=160)" });
  assert.deepEqual(await outcome, { action: "login", tokenSN: TOKENS[0].tokenSN, error: "Incorrect PIN  (rc=160)" });
});

test("a token the host does not list is refused before any window opens", async () => {
  for (const tokenSN of ["0000000000000000", undefined]) {
    await assert.rejects(exchangeWithPinWindow(ORIGIN, { action: "changePIN", tokenSN, pinPrompt: true }, exchange), {
      reason: "no-token",
      message: `No token with serial number ${tokenSN} is connected, so the Vantrel extension did not ask for its PIN.`,
    });
  }
  assert.deepEqual(created, []);
});

test("the window's port serves only the extension's PIN page, and takes only text PINs of the fields it showed", async () => {
  const foreign = new WindowPort("https://sign.example/index.html");
  servePinWindow(foreign);
  assert.equal(foreign.disconnected, true);

  answers.login = { action: "login", tokenSN: TOKENS[0].tokenSN };
  const { port, outcome } = await opened({ action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true });
  for (const pins of [null, "123456", { pin: 123456 }, { oldPIN: "123456" }]) {
    await port.say({ type: "submit", pins });
  }
  assert.deepEqual(hostRequests(), []);
  await port.say({ type: "submit", pins: { pin: "123456", tokenSN: "another", action: "formatToken" } });
  await outcome;
  assert.deepEqual(hostRequests(), [{ action: "login", tokenSN: TOKENS[0].tokenSN, pin: "123456" }]);
});
