// The extension's PIN window from the background's side, run in Node against
// stand-ins for the browser's windows, the window's port and the site's host:
// which requests ask for it, what it shows, what is sent to the host and
// when, and every way it ends. The browser tests show the window itself.
import { beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";
import { EXTENSION, WindowPort, browser, closeWindow, nextWindow, standInHost, tick } from "./support/extension-stand-ins.mjs";

const ORIGIN = "https://sign.example";

const { Attention } = await import(path.join(EXTENSION, "background", "attention.js"));
const { WindowBroker } = await import(path.join(EXTENSION, "background", "window-broker.js"));
const { asksForPins, carriesPins, exchangeWithPinWindow, isForKeypad, isPinRefusal, keypadProblem, needsPinToSign, withoutPinPrompt } =
  await import(path.join(EXTENSION, "background", "pin-entry.js"));

const KEYPAD = { tokenSN: "5e5e000000000001", tokenLabel: "Card in a keypad reader", tokenModel: "Card", pmin: 4, pmax: 8, pinPad: true };
const TOKENS = [
  { tokenSN: "7a3f00112233aabb", tokenLabel: "Signing card", tokenModel: "SoftHSM v2", pmin: 6, pmax: 8 },
  { tokenSN: "", tokenLabel: "", tokenModel: "SoftHSM v2", pmin: 4, pmax: -1 },
  KEYPAD,
  { tokenSN: "1a57000000000001", tokenLabel: "Last try", tokenModel: "Card", pmin: 4, pmax: 8, userPinState: "finalTry" },
  { tokenSN: "10c0000000000001", tokenLabel: "Locked", tokenModel: "Card", pmin: 4, pmax: 8, userPinState: "locked" },
];
const CANCELLED = { name: "Refusal", reason: "cancelled", message: "The user cancelled the PIN entry." };

let attention;
let broker;
let host;

beforeEach(() => {
  browser.created = [];
  browser.failToOpen = false;
  attention = new Attention();
  broker = new WindowBroker(attention);
  host = standInHost({ listTokens: { action: "listTokens", tokens: TOKENS } });
});

/** Serves `request` through the PIN window as the background does, in the origin's turn. */
function serve(request) {
  const outcome = attention.enqueue(ORIGIN, (signal) =>
    exchangeWithPinWindow({ origin: ORIGIN, broker, signal, exchange: host.exchange }, request),
  );
  outcome.catch(() => {});
  return outcome;
}

/** Starts `request` through the window and resolves once the window shows its prompt. */
async function opened(request) {
  const outcome = serve(request);
  const { port, view, windowId } = await nextWindow(broker, "windows/pin.html");
  return { port, prompt: view, outcome, windowId };
}

function hostRequests() {
  return host.changes();
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
  assert.equal(needsPinToSign({ action: "sign", error: "The key needs its PIN for every signature" }), true);
  assert.equal(needsPinToSign({ action: "sign", error: "Must login before being able to sign" }), false);
  assert.equal(needsPinToSign(undefined), false);
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
  host.answers.login = (request) =>
    request.pin === "good-pin"
      ? { action: "login", tokenSN: request.tokenSN }
      : { action: "login", tokenSN: request.tokenSN, error: "Incorrect PIN  (rc=160)" };
  const { port, prompt, outcome } = await opened({ action: "login", tokenSN: TOKENS[0].tokenSN, mode: "write", pinPrompt: true });
  assert.equal(prompt.title, `${ORIGIN} asks you to log in to a token`);
  assert.deepEqual([prompt.site, prompt.local], [ORIGIN, false]);
  assert.deepEqual(prompt.facts, [
    ["Action", "Log in, to read and write"],
    ["Token", `the token “Signing card” (serial number ${TOKENS[0].tokenSN})`],
  ]);
  assert.deepEqual(prompt.fields, [{ name: "pin", label: "PIN of the token" }]);
  assert.deepEqual(prompt.lengths, { min: 6, max: 8 });
  assert.deepEqual(hostRequests(), [], "nothing but the token list before the PIN is typed");

  await port.say({ type: "submit", pins: { pin: "bad-pin" } });
  assert.deepEqual(port.last(), {
    type: "again",
    problem: "The token refused the PIN: Incorrect PIN  (rc=160). Check it and try again; a token locks after a few wrong tries.",
  });
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
  host.answers.changePIN = (request) => ({ action: "changePIN", tokenSN: request.tokenSN });
  host.answers.formatToken = (request) => ({ action: "formatToken", tokenSN: request.tokenSN });
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

test("cancelled, closed, or never opened: the page gets the cancelled refusal and the host nothing", async () => {
  host.answers.login = { action: "login", tokenSN: TOKENS[0].tokenSN };
  const request = { action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true };
  const ways = [
    ["Cancel or Escape", ({ port }) => port.say({ type: "cancel" })],
    ["the window's page closed", ({ port }) => port.close()],
    ["the window closed", ({ windowId }) => closeWindow(windowId)],
  ];
  for (const [way, end] of ways) {
    const window = await opened(request);
    await end(window);
    await assert.rejects(window.outcome, { name: "Refusal", reason: "cancelled", message: "The user cancelled the PIN entry." }, way);
    // A late answer of a closed window is not taken.
    await window.port.say({ type: "submit", pins: { pin: "123456" } });
  }
  browser.failToOpen = true;
  await assert.rejects(serve(request), { reason: "cancelled" });
  assert.deepEqual(hostRequests(), []);
});

test("once the PIN is at the host, closing the window changes nothing: its reply is the outcome", async () => {
  let answer;
  host.answers.login = () => new Promise((resolve) => (answer = resolve));
  const { port, outcome } = await opened({ action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true });
  await port.say({ type: "submit", pins: { pin: "123456" } });
  await port.say({ type: "cancel" });
  await port.close();
  answer({ action: "login", tokenSN: TOKENS[0].tokenSN, error: "Incorrect PIN  (rc=160)" });
  assert.deepEqual(await outcome, { action: "login", tokenSN: TOKENS[0].tokenSN, error: "Incorrect PIN  (rc=160)" });
});

test("a token the host does not list is refused before any window opens", async () => {
  for (const tokenSN of ["0000000000000000", undefined]) {
    await assert.rejects(serve({ action: "changePIN", tokenSN, pinPrompt: true }), {
      reason: "no-token",
      message: `No token with serial number ${tokenSN} is connected, so the Vantrel extension did not ask for its PIN.`,
    });
  }
  assert.deepEqual(browser.created, []);
});

test("the window's port serves only the extension's PIN page of that window, and takes only text PINs of the fields it showed", async () => {
  host.answers.login = { action: "login", tokenSN: TOKENS[0].tokenSN };
  const outcome = serve({ action: "login", tokenSN: TOKENS[0].tokenSN, pinPrompt: true });
  await tick();
  await tick();
  const number = new URLSearchParams(browser.created[0].url.split("?")[1]).get("window");
  // A page of a site, another window of the extension, a window number that is not open: each is sent away.
  const pretenders = [
    ["https://sign.example/index.html", number],
    ["chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/windows/question.html?window=" + number, number],
    ["chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/windows/pin.html?window=99", "99"],
  ];
  for (const [url, claimed] of pretenders) {
    const pretender = new WindowPort(url);
    broker.serve(pretender);
    await pretender.say({ type: "hello", window: claimed });
    await pretender.say({ type: "submit", pins: { pin: "123456" } });
    assert.deepEqual(pretender.received, [{ type: "done" }], url);
  }
  const port = new WindowPort(browser.created[0].url);
  broker.serve(port);
  await port.say({ type: "hello", window: number });
  assert.equal(port.last().type, "show");
  for (const pins of [null, "123456", { pin: 123456 }, { oldPIN: "123456" }]) {
    await port.say({ type: "submit", pins });
  }
  assert.deepEqual(hostRequests(), []);
  await port.say({ type: "submit", pins: { pin: "123456", tokenSN: "another", action: "formatToken" } });
  await outcome;
  assert.deepEqual(hostRequests(), [{ action: "login", tokenSN: TOKENS[0].tokenSN, pin: "123456" }]);
});

test("on a reader's keypad: the window says to enter the PIN there, the host gets empty PINs once the window shows, and an entry that did not go through may be tried again", async () => {
  const answers = [
    { error: "Incorrect PIN  (rc=160)" },
    { error: "The PIN entry on the reader was cancelled (rc=80)" },
    { error: "Login failed (rc=6)" },
    {},
  ];
  host.answers.login = (request) => ({ action: "login", tokenSN: request.tokenSN, ...answers.shift() });
  // The page's own PIN is not used on such a token.
  const { port, prompt, outcome } = await opened({ action: "login", tokenSN: KEYPAD.tokenSN, pin: "from-the-page" });
  assert.equal(prompt.keypad, "Enter the token's PIN on the reader's keypad.");
  assert.deepEqual([prompt.fields, prompt.submit, prompt.pinState], [[], "Try again", ""]);
  assert.deepEqual(hostRequests(), [{ action: "login", tokenSN: KEYPAD.tokenSN, pin: "" }], "sent as soon as the window showed");
  const problems = [
    "The token refused the PIN entered on the reader: Incorrect PIN  (rc=160). Try again, or cancel; a token locks after a few wrong tries.",
    "The PIN entry was cancelled on the reader (The PIN entry on the reader was cancelled (rc=80)). Try again, or cancel.",
    "The reader gave no PIN: its time may have run out before the PIN was entered (Login failed (rc=6)). Try again, or cancel.",
  ];
  for (const problem of problems) {
    assert.deepEqual(port.last(), { type: "again", problem });
    await port.say({ type: "submit", pins: { pin: "typed-anyway" } });
  }
  assert.deepEqual(await outcome, { action: "login", tokenSN: KEYPAD.tokenSN });
  assert.deepEqual(hostRequests().map((r) => r.pin), ["", "", "", ""]);

  // The PIN change likewise, both PINs on the keypad; a cancel after a failed entry is the page's refusal.
  host.answers.changePIN = (request) => ({ action: "changePIN", tokenSN: request.tokenSN, error: "Failed to set token PIN (rc=48)" });
  const change = await opened({ action: "changePIN", tokenSN: KEYPAD.tokenSN, pinPrompt: true });
  assert.match(change.prompt.keypad, /current PIN on the reader's keypad, then the new PIN/);
  assert.deepEqual(hostRequests().at(-1), { action: "changePIN", tokenSN: KEYPAD.tokenSN, oldPIN: "", newPIN: "" });
  assert.equal(change.port.last().type, "again");
  await change.port.say({ type: "cancel" });
  await assert.rejects(change.outcome, CANCELLED);

  // A locked PIN, or anything but an entry that failed, ends the exchange.
  host.answers.login = (request) => ({ action: "login", tokenSN: request.tokenSN, error: "Locked PIN (rc=164)" });
  const locked = await opened({ action: "login", tokenSN: KEYPAD.tokenSN, pinPrompt: true });
  assert.deepEqual(await locked.outcome, { action: "login", tokenSN: KEYPAD.tokenSN, error: "Locked PIN (rc=164)" });
  assert.deepEqual(locked.port.last(), { type: "done" });

  // Formatting sets PINs the host types: the window asks for them as on any token.
  const format = await opened({ action: "formatToken", tokenSN: KEYPAD.tokenSN, pinPrompt: true });
  assert.deepEqual([format.prompt.keypad, format.prompt.fields.length], ["", 3]);
  await format.port.say({ type: "cancel" });
  await assert.rejects(format.outcome, CANCELLED);
});

test("which requests go to a reader's keypad, and what the window makes of each answer of one", async () => {
  const cases = [
    [{ action: "login", tokenSN: KEYPAD.tokenSN, pin: "" }, true],
    [{ action: "changePIN", tokenSN: KEYPAD.tokenSN, oldPIN: "1", newPIN: "2" }, true],
    [{ action: "formatToken", tokenSN: KEYPAD.tokenSN, tokenPIN: "1" }, false],
    [{ action: "login", tokenSN: TOKENS[0].tokenSN, pin: "" }, false],
    [{ action: "login", tokenSN: "absent", pin: "" }, false],
    [{ action: "login", tokenSN: 7, pin: "" }, false],
  ];
  for (const [request, keypad] of cases) {
    assert.equal(await isForKeypad(request, host.exchange), keypad, JSON.stringify(request));
  }
  const answers = [
    [undefined, null],
    ["Locked PIN (rc=164)", null],
    ["Expired PIN (rc=163)", null],
    ["No token with serial number 1", null],
    ["Invalid PIN (rc=161)", /refused the PIN entered on the reader/],
    ["Failed to set token PIN (rc=162)", /refused the PIN entered on the reader/],
    ["The PIN entry on the reader was cancelled (rc=80)", /cancelled on the reader/],
    ["Login failed (rc=48)", /gave no PIN/],
  ];
  for (const [error, problem] of answers) {
    const said = keypadProblem({ action: "login", ...(error === undefined ? {} : { error }) });
    if (problem === null) {
      assert.equal(said, null, String(error));
    } else {
      assert.match(said, problem, String(error));
    }
  }
});

test("what a token says of wrong PINs is shown before anything is typed, and a token whose PIN is locked is not offered", async () => {
  const lastTry = await opened({ action: "login", tokenSN: TOKENS[3].tokenSN, pinPrompt: true });
  assert.equal(lastTry.prompt.pinState, "This is the last try: one more wrong PIN locks the token.");
  await lastTry.port.say({ type: "cancel" });
  await assert.rejects(lastTry.outcome, CANCELLED);

  for (const action of ["login", "changePIN"]) {
    await assert.rejects(serve({ action, tokenSN: TOKENS[4].tokenSN, pinPrompt: true }), {
      reason: "pin-locked",
      message: `The PIN of the token with serial number ${TOKENS[4].tokenSN} is locked, so the Vantrel extension did not ask for it.`,
    });
  }
  assert.equal(browser.created.length, 1, "no window for the locked token");
  // Formatting is what unlocks it.
  const format = await opened({ action: "formatToken", tokenSN: TOKENS[4].tokenSN, pinPrompt: true });
  assert.equal(format.prompt.pinState, "");
  await format.port.say({ type: "cancel" });
  await assert.rejects(format.outcome, CANCELLED);
});
