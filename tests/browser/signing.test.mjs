// Signatures from the background's side (background/signing.js), run in Node
// against stand-ins for the browser's windows, the sign window's port and the
// site's host: every signature is shown before the host is asked for it,
// with the exact text it signs; a PIN field only where a PIN is checked; a
// sign with pinPrompt and no login is one window that logs in and signs; and
// what the page gets when the user cancels, the certificate cannot be named,
// or the administrator turned the confirmation off. The browser tests show
// the window itself.
import { beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";
import { EXTENSION, browser, closeWindow, nextWindow, setManaged, standInHost, tick } from "./support/extension-stand-ins.mjs";

const ORIGIN = "https://sign.example";
const { Attention } = await import(path.join(EXTENSION, "background", "attention.js"));
const { WindowBroker } = await import(path.join(EXTENSION, "background", "window-broker.js"));
const { serveSign } = await import(path.join(EXTENSION, "background", "signing.js"));

const CARD = { tokenSN: "7a3f00112233aabb", tokenLabel: "Signing card", tokenModel: "SoftHSM v2", pmin: 6, pmax: 8 };
const SPARE = { tokenSN: "0011223344556677", tokenLabel: "Spare", tokenModel: "SoftHSM v2", pmin: 4, pmax: 255 };
const CERTIFICATE = { serialNumber: "00c0ffee5a17", subjectDN: "CN=Ada Signer", issuerDN: "CN=Test CA", tokenSN: CARD.tokenSN };
const ON_SPARE = { serialNumber: "0badcafe", subjectDN: "CN=Spare Key", issuerDN: "CN=Test CA", tokenSN: SPARE.tokenSN };
const CERTIFICATE_SN = "020600C0FFEE5A17";
const SIGNATURE = { action: "sign", signature: "c2lnbmVk" };
const NEEDS_PIN = { action: "sign", error: "The key needs its PIN for every signature" };
const WRONG_PIN = { action: "sign", error: "Incorrect PIN  (rc=160)" };
const REFUSED = { name: "Refusal", reason: "refused", message: "The user refused to let this site sign." };
const UNCONFIRMED = { name: "Refusal", reason: "unconfirmed", message: "This signature could not be shown to the user, so it was not made." };
const PIN_PROBLEM = "The token refused the PIN: Incorrect PIN  (rc=160). Check it and try again; a token locks after a few wrong tries.";

let attention;
let broker;
let host;
let loggedIn; // the token the stand-in host is logged in to, or null

beforeEach(async () => {
  browser.created = [];
  browser.failToOpen = false;
  await setManaged({});
  attention = new Attention();
  broker = new WindowBroker(attention);
  loggedIn = CARD.tokenSN;
  host = standInHost({
    info: () => (loggedIn ? { action: "info", token: loggedIn } : { action: "info", error: "There is no active token" }),
    listTokens: { action: "listTokens", tokens: [CARD, SPARE] },
    listCertificates: (request) => ({
      action: "listCertificates",
      certificates: [CERTIFICATE, ON_SPARE].filter((c) => request.tokenSN === undefined || c.tokenSN === request.tokenSN),
    }),
    login: (request) => {
      if (request.pin !== "token-pin") {
        return { action: "login", tokenSN: request.tokenSN, error: "Incorrect PIN  (rc=160)" };
      }
      loggedIn = request.tokenSN;
      return { action: "login", tokenSN: request.tokenSN };
    },
    sign: SIGNATURE,
  });
});

/** Serves `request` as the background does, in the origin's turn. */
function serve(request) {
  const outcome = attention.enqueue(ORIGIN, (signal) => serveSign({ origin: ORIGIN, broker, signal, exchange: host.exchange }, request));
  outcome.catch(() => {});
  return outcome;
}

async function opened(request) {
  const outcome = serve(request);
  const window = await nextWindow(broker, "windows/sign.html");
  return { ...window, outcome };
}

test("a signature is shown before the host is asked: site, token, certificate and the whole text; Sign sends exactly that text", async () => {
  const text = "I agree to pay 1000 EUR. ".repeat(40);
  const { port, view, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload: text });
  assert.deepEqual(view, {
    title: `${ORIGIN} asks you to sign`,
    site: ORIGIN,
    local: false,
    token: { label: "Signing card", serial: CARD.tokenSN, model: "SoftHSM v2" },
    certificate: { subject: "CN=Ada Signer", serial: "00c0ffee5a17" },
    text,
    fromObject: false,
    pin: null,
    submit: "Sign",
  });
  assert.deepEqual(host.changes(), [], "nothing is signed before the user agrees");
  await port.say({ type: "submit", pins: {} });
  assert.deepEqual(await outcome, SIGNATURE);
  assert.deepEqual(host.changes(), [{ action: "sign", certificateSN: CERTIFICATE_SN, payload: text }]);
  assert.deepEqual(port.last(), { type: "done" });
});

test("an object payload is shown as the text the host makes of it, and that text is what is sent", async () => {
  const payload = { order: "1 book", note: "thanks</note><amount>1000000</amount><note>" };
  const { port, view, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload });
  const text = "<note>thanks</note><amount>1000000</amount><note></note><order>1 book</order>";
  assert.deepEqual([view.text, view.fromObject], [text, true]);
  await port.say({ type: "submit", pins: {} });
  await outcome;
  assert.deepEqual(host.changes(), [{ action: "sign", certificateSN: CERTIFICATE_SN, payload: text }]);
});

test("Cancel, Escape or closing the window refuse the signature, and nothing is signed", async () => {
  const request = { action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" };
  const ways = [
    ["Cancel or Escape", ({ port }) => port.say({ type: "cancel" })],
    ["the window's page closed", ({ port }) => port.close()],
    ["the window closed", ({ windowId }) => closeWindow(windowId)],
  ];
  for (const [way, end] of ways) {
    const window = await opened(request);
    await end(window);
    await assert.rejects(window.outcome, REFUSED, way);
    await window.port.say({ type: "submit", pins: {} });
  }
  assert.deepEqual(host.changes(), []);
});

test("a key that needs its PIN: the same window then asks for the key's PIN, takes a wrong one again, and signs with the right one", async () => {
  host.answers.sign = (request) => (request.pin === undefined ? NEEDS_PIN : request.pin === "key-pin" ? SIGNATURE : WRONG_PIN);
  const { port, view, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" });
  assert.equal(view.pin, null, "no PIN field before the token asks for one");
  await port.say({ type: "submit", pins: {} });
  assert.deepEqual(port.view().pin, { name: "pin", label: "PIN of the key", purpose: "key" });
  assert.equal(port.view().text, "x");
  await port.say({ type: "submit", pins: { pin: "wrong" } });
  assert.deepEqual(port.last(), { type: "again", problem: PIN_PROBLEM });
  await port.say({ type: "submit", pins: { pin: "key-pin" } });
  assert.deepEqual(await outcome, SIGNATURE);
  assert.deepEqual(host.changes().map((r) => r.pin), [undefined, "wrong", "key-pin"]);
});

test("pinPrompt never puts up a PIN field for show: with a login there is none, and a plain key signs without one", async () => {
  const { port, view, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x", pinPrompt: true, pin: "from-the-page" });
  assert.equal(view.pin, null);
  await port.say({ type: "submit", pins: { pin: "000000" } });
  assert.deepEqual(await outcome, SIGNATURE);
  assert.deepEqual(host.changes(), [{ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" }], "no PIN, the page's neither");
});

test("pinPrompt without a login to the certificate's token: one window asks for the token's PIN, logs in and signs", async () => {
  for (const before of [null, SPARE.tokenSN]) {
    loggedIn = before;
    host.sent = [];
    const { port, view, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x", pinPrompt: true });
    assert.deepEqual(view.pin, { name: "pin", label: "PIN of the token", purpose: "login", lengths: { min: 6, max: 8 } }, String(before));
    assert.equal(view.submit, "Log in and sign");
    assert.equal(view.token.serial, CARD.tokenSN);
    await port.say({ type: "submit", pins: { pin: "wrong" } });
    assert.deepEqual(port.last(), { type: "again", problem: PIN_PROBLEM });
    await port.say({ type: "submit", pins: { pin: "token-pin" } });
    assert.deepEqual(await outcome, SIGNATURE);
    assert.deepEqual(host.changes(), [
      { action: "login", tokenSN: CARD.tokenSN, mode: "read", pin: "wrong" },
      { action: "login", tokenSN: CARD.tokenSN, mode: "read", pin: "token-pin" },
      { action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" },
    ]);
  }
});

test("a signature whose certificate or token cannot be named is refused as unconfirmed, and so is one whose window cannot open", async () => {
  const tokens = host.answers.listTokens;
  const cases = [
    ["not on the logged-in token", { certificateSN: "0204" + ON_SPARE.serialNumber }, () => {}],
    ["on no token, with pinPrompt", { certificateSN: "020101", pinPrompt: true }, () => (loggedIn = null)],
    ["a token the host does not list", { certificateSN: CERTIFICATE_SN }, () => (host.answers.listTokens = { action: "listTokens", tokens: [SPARE] })],
    ["an object nested too deep", { certificateSN: CERTIFICATE_SN, payload: JSON.parse('{"a":'.repeat(200) + '"x"' + "}".repeat(200)) }, () => {}],
    ["no window", { certificateSN: CERTIFICATE_SN }, () => (browser.failToOpen = true)],
  ];
  for (const [what, members, arrange] of cases) {
    loggedIn = CARD.tokenSN;
    host.answers.listTokens = tokens;
    arrange();
    await assert.rejects(serve({ action: "sign", payload: "x", ...members }), UNCONFIRMED, what);
  }
  assert.deepEqual(host.changes(), []);
});

test("without any login and without pinPrompt, nothing can be signed: the host's own refusal comes back, without a window", async () => {
  loggedIn = null;
  host.answers.sign = { action: "sign", error: "Must login before being able to sign" };
  assert.deepEqual(await serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" }), host.answers.sign);
  // A request the host cannot read goes to it as it is, as any other would.
  loggedIn = CARD.tokenSN;
  await serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: 42 });
  assert.deepEqual(browser.created, []);
  assert.deepEqual(host.changes().map((r) => r.payload), ["x", 42]);
});

test("with confirmEachSignature false only signatures that need a PIN open the window", async () => {
  await setManaged({ confirmEachSignature: false });
  assert.deepEqual(await serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: { a: 1 } }), SIGNATURE);
  assert.deepEqual(browser.created, [], "signed without a window");
  assert.deepEqual(host.changes(), [{ action: "sign", certificateSN: CERTIFICATE_SN, payload: { a: 1 } }]);

  host.sent = [];
  host.answers.sign = (request) => (request.pin === "key-pin" ? SIGNATURE : NEEDS_PIN);
  const outcome = serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" });
  const { port, view } = await nextWindow(broker, "windows/sign.html");
  assert.deepEqual([view.pin.purpose, view.text], ["key", "x"], "shown, with the key's PIN");
  await port.say({ type: "submit", pins: { pin: "key-pin" } });
  assert.deepEqual(await outcome, SIGNATURE);

  // pinPrompt still opens it.
  const prompted = serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "y", pinPrompt: true });
  const again = await nextWindow(broker, "windows/sign.html");
  await again.port.say({ type: "cancel" });
  await assert.rejects(prompted, REFUSED);
});

test("once the signature is at the host, closing the window changes nothing: its reply is the outcome", async () => {
  let answer;
  host.answers.sign = () => new Promise((resolve) => (answer = resolve));
  const { port, outcome } = await opened({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x" });
  await port.say({ type: "submit", pins: {} });
  await port.say({ type: "cancel" });
  await port.close();
  await tick();
  answer(SIGNATURE);
  assert.deepEqual(await outcome, SIGNATURE);
});

// A card in a reader with its own keypad, which reports its last PIN try.
const KEYPAD_CARD = { ...CARD, tokenSN: "5e5e000000000001", tokenLabel: "Keypad card", pinPad: true, userPinState: "finalTry" };
const ON_KEYPAD = { ...CERTIFICATE, serialNumber: "0abc", tokenSN: KEYPAD_CARD.tokenSN };

test("on a reader's keypad: no PIN field, the key's PIN is asked on the keypad as soon as the key needs it, the page's PIN is never sent, and failed entries are tried again", async () => {
  host.answers.listTokens = { action: "listTokens", tokens: [CARD, KEYPAD_CARD] };
  host.answers.listCertificates = (request) => ({
    action: "listCertificates",
    certificates: [CERTIFICATE, ON_KEYPAD].filter((c) => request.tokenSN === undefined || c.tokenSN === request.tokenSN),
  });
  loggedIn = KEYPAD_CARD.tokenSN;
  const entries = [{ error: "Incorrect PIN  (rc=160)" }, { error: "The PIN entry on the reader was cancelled (rc=80)" }, SIGNATURE];
  host.answers.sign = (request) => (request.pin === undefined ? NEEDS_PIN : { action: "sign", ...entries.shift() });
  const { port, view, outcome } = await opened({ action: "sign", certificateSN: "02020abc", payload: "x", pin: "from-the-page" });
  assert.equal(view.pin, null);
  await port.say({ type: "submit", pins: {} });
  assert.deepEqual(port.view().pin, {
    name: "pin",
    label: "PIN of the key",
    purpose: "key",
    warning: "This is the last try: one more wrong PIN locks the token.",
    keypad: "Enter the key's PIN on the reader's keypad.",
  });
  assert.equal(port.view().waiting, true, "the window shows the token waiting at once");
  assert.match(port.last().problem, /refused the PIN entered on the reader/);
  await port.say({ type: "submit", pins: { pin: "typed-anyway" } });
  assert.match(port.last().problem, /cancelled on the reader/);
  await port.say({ type: "submit", pins: {} });
  assert.deepEqual(await outcome, SIGNATURE);
  assert.deepEqual(host.changes().map((r) => r.pin), [undefined, "", "", ""]);

  // With pinPrompt and no login, the token's PIN is entered on the keypad when the user signs.
  loggedIn = null;
  host.sent = [];
  host.answers.login = (request) => {
    loggedIn = request.tokenSN;
    return { action: "login", tokenSN: request.tokenSN };
  };
  host.answers.sign = SIGNATURE;
  const prompted = await opened({ action: "sign", certificateSN: "02020abc", payload: "y", pinPrompt: true });
  assert.deepEqual([prompted.view.pin.purpose, prompted.view.pin.keypad], ["login", "Sign, then enter the token's PIN on the reader's keypad."]);
  await prompted.port.say({ type: "submit", pins: {} });
  assert.deepEqual(await prompted.outcome, SIGNATURE);
  assert.deepEqual(host.changes(), [
    { action: "login", tokenSN: KEYPAD_CARD.tokenSN, mode: "read", pin: "" },
    { action: "sign", certificateSN: "02020abc", payload: "y" },
  ]);
});

test("with confirmEachSignature false, a PIN the page sends for a keypad's token is not sent: the window asks on the keypad if the key needs it", async () => {
  await setManaged({ confirmEachSignature: false });
  host.answers.listTokens = { action: "listTokens", tokens: [CARD, KEYPAD_CARD] };
  host.answers.listCertificates = { action: "listCertificates", certificates: [ON_KEYPAD] };
  loggedIn = KEYPAD_CARD.tokenSN;
  host.answers.sign = (request) => (request.pin === "" ? SIGNATURE : NEEDS_PIN);
  const outcome = serve({ action: "sign", certificateSN: "02020abc", payload: "x", pin: "" });
  const { port, view } = await nextWindow(broker, "windows/sign.html");
  assert.deepEqual([view.pin.purpose, Boolean(view.pin.keypad)], ["key", true]);
  await port.say({ type: "submit", pins: {} });
  assert.deepEqual(await outcome, SIGNATURE);
  assert.deepEqual(host.changes().map((r) => r.pin), [undefined, ""]);
  // On any other token the page's PIN goes as it is, without a window.
  loggedIn = CARD.tokenSN;
  host.sent = [];
  host.answers.sign = SIGNATURE;
  browser.created = [];
  assert.deepEqual(await serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x", pin: "1234" }), SIGNATURE);
  assert.deepEqual([browser.created, host.changes().map((r) => r.pin)], [[], ["1234"]]);
});

test("a login the sign window would make on a token whose PIN is locked is refused without a window", async () => {
  loggedIn = null;
  host.answers.listTokens = { action: "listTokens", tokens: [{ ...CARD, userPinState: "locked" }, SPARE] };
  await assert.rejects(serve({ action: "sign", certificateSN: CERTIFICATE_SN, payload: "x", pinPrompt: true }), { reason: "pin-locked" });
  assert.deepEqual(browser.created, []);
});
