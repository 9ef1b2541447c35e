// A token in a reader with its own keypad, and tokens that count wrong PINs,
// in a real headless browser (Chromium or Firefox, as support/browser.mjs
// says) with the built host. The fault-injecting module (tests/faults) plays
// the reader over a SoftHSM2 token of this test's own: it reports the
// keypad, takes a login only without a PIN from the host (the PIN "typed on
// the keypad" is the token's), waits until the test lets the person at the
// reader finish, and answers a wrong PIN, a cancel on the reader or a
// reader that gave up, as its rules say. A login (whatever PIN the page
// sent) and a key's per-signature PIN go through the extension's windows,
// which say to enter the PIN on the reader and show that the token waits;
// each failed entry is shown there and may be tried again. The last-try
// warning and a locked token are shown too. Every window state is checked
// with axe-core and photographed.
import { after, afterEach, before, test } from "node:test";
import assert from "node:assert/strict";
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import { BUILD, SOFTHSM, installHost, makeCa, makeToken, makeWorkspace, run, testEnvironment, withClient } from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, closeLeftWindows, focusedOn } from "./support/browser.mjs";
import { openConsole } from "./support/console-page.mjs";
import { AccessibilityRecord } from "./support/page-driver.mjs";

const FAULT_MODULE = path.resolve(
  process.env.VANTREL_FAULT_MODULE || path.join(BUILD, "tests", "faults", "module", "libvantrel_pkcs11_fault.so"),
);
const TOKEN_LABEL = "Keypad reader test";
const USER_PIN = "pin-2718";
const SERIAL = "00cafe0001";
const STEP = { timeout: 90000 };

const browser = await browserDriver();
const space = makeWorkspace("keypad");
const accessibility = new AccessibilityRecord("keypad-reader", { strict: true });
const rules = space.file("fault-rules");
let consolePage;
let session;
let page;
let site;
let tokenSN;
let publicKey;

const KEYPAD = "flag CKF_PROTECTED_AUTHENTICATION_PATH\n";
const keypad = (options = "") => `${KEYPAD}keypad ${USER_PIN}${options}\n`;

// The person at the reader: each wait for a PIN has a file of its own, which
// exists once the PIN is entered. None is ever taken away, so no later wait
// can be let through by an earlier entry, nor an entry undone before the
// module saw it.
const reader = { entries: 0, entered: null };
function waitingKeypad() {
  reader.entered = space.file(`pin-entered-${++reader.entries}`);
  return keypad(` until ${reader.entered}`);
}
function enterPinOnReader() {
  fs.writeFileSync(reader.entered, "");
}

function setRules(text) {
  fs.writeFileSync(rules, text);
}

// A key that needs its PIN for every signature, made with pkcs11-tool, with a certificate the host imports.
async function makeKey() {
  const tool = (args) => run("pkcs11-tool", ["--module", SOFTHSM, "--token-label", TOKEN_LABEL, ...args], { env: testEnvironment(space) });
  tool(["--login", "--pin", USER_PIN, "--keypairgen", "--key-type", "rsa:2048", "--id", "c0de", "--label", "keypad key", "--always-auth", "--usage-sign"]);
  tool(["--read-object", "--type", "pubkey", "--id", "c0de", "-o", space.file("key.der")]);
  run("openssl", ["pkey", "-pubin", "-inform", "DER", "-in", space.file("key.der"), "-out", space.file("key.pem")]);
  const certificate = makeCa(space.file("ca"), "Vantrel Keypad Test CA").certify(space.file("key.pem"), { serial: SERIAL, subject: "/CN=Keypad Signer" });
  publicKey = new crypto.X509Certificate(certificate.pem).publicKey;
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    assert.equal((await send({ action: "importCertificate", certificate: certificate.der.toString("base64") })).error, undefined);
  });
}

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: "12345678", userPin: USER_PIN });
  installHost(space, FAULT_MODULE);
  setRules("");
  await makeKey();
  consolePage = await openConsole(browser, space, {
    environment: { VANTREL_FAULT_TARGET: SOFTHSM, VANTREL_FAULT_RULES: rules, VANTREL_FAULT_STATE: undefined },
  });
  ({ site, session, page } = consolePage);
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await consolePage?.close("keypad-reader-last.png");
  // VANTREL_KEEP_WORKSPACE keeps the token, the host's logs and the rules for a look after a failure.
  if (!process.env.VANTREL_KEEP_WORKSPACE) {
    fs.rmSync(space.work, { recursive: true, force: true });
  }
}, { timeout: 60000 });

// A test that failed while a window or the reader waited for the person must
// not make the tests after it wait too: the windows left open are
// photographed and closed, so that their requests end, and the PIN is
// entered on the reader, so that a request already at the host gets its reply.
afterEach(async (t) => {
  await closeLeftWindows(session, `keypad-reader-left-by-${t.name.split(" ").slice(0, 4).join("-")}`);
  if (reader.entered !== null) {
    enterPinOnReader();
  }
}, { timeout: 60000 });

/** What the window says: its problem, its status, and whether it shows PIN fields, the keypad's words and progress. */
function said(window) {
  return window.evaluate(() => ({
    problem: document.querySelector("#problem").textContent,
    status: document.querySelector("#status").textContent,
    fields: document.querySelectorAll("#fields input").length,
    keypad: document.querySelector("#keypad").hidden ? "" : document.querySelector("#keypad-instruction").textContent,
    progress: !document.querySelector("#keypad-progress").hidden,
  }));
}

function problemShown(window) {
  return window.waitForFunction(() => document.querySelector("#problem").textContent !== "");
}

const KEYPAD_PROBLEMS = [
  ["CKR_PIN_INCORRECT", "The token refused the PIN entered on the reader: Incorrect PIN  (rc=160). Try again, or cancel; a token locks after a few wrong tries."],
  ["CKR_FUNCTION_CANCELED", "The PIN entry was cancelled on the reader (The PIN entry on the reader was cancelled (rc=80)). Try again, or cancel."],
  ["CKR_FUNCTION_FAILED", "The reader gave no PIN: its time may have run out before the PIN was entered (Login failed (rc=6)). Try again, or cancel."],
];

// Fails the next entries on the reader in turn with each code, then lets one through.
function failingEntries() {
  return keypad() + KEYPAD_PROBLEMS.map(([code], index) => `fail C_Login ${code} call ${index + 1}\n`).join("");
}

/** Goes through each failed entry in the window, trying again after each; the last try goes through. */
async function throughEachProblem(window, what) {
  for (const [code, problem] of KEYPAD_PROBLEMS) {
    await problemShown(window);
    assert.equal(await window.text("#problem"), problem, code);
    await accessibility.check(window, `${what}, after ${code}`);
    await window.screenshot(`keypad-reader-${what.replaceAll(" ", "-")}-${code}.png`);
    await focusedOn(window, "#submit");
    if (code === KEYPAD_PROBLEMS.at(-1)[0]) {
      await answer(window, () => clickWhenReady(window, "#submit"));
    } else {
      await clickWhenReady(window, "#submit");
      await window.waitForFunction((previous) => document.querySelector("#problem").textContent !== previous, problem);
    }
  }
}

test("the token list marks the keypad and the PIN tries", STEP, async () => {
  setRules(`${KEYPAD}flag CKF_USER_PIN_COUNT_LOW\n`);
  const { tokens } = (await ask(page, { action: "listTokens" })).reply;
  const record = tokens.find((t) => t.tokenSN === tokenSN);
  assert.deepEqual([record.pinPad, record.userPinState], [true, "countLow"]);
  setRules("");
  const plain = (await ask(page, { action: "listTokens" })).reply.tokens.find((t) => t.tokenSN === tokenSN);
  assert.deepEqual(Object.keys(plain).sort(), ["pmax", "pmin", "tokenLabel", "tokenModel", "tokenSN"]);
});

test("a login on a keypad reader, even one with the page's PIN, goes through the window: it names the site, says to enter the PIN on the reader and shows the token waiting", STEP, async () => {
  setRules(waitingKeypad());
  const { window, outcome } = await session.pinWindowRaisedBy(() => ask(page, { action: "login", tokenSN, pin: "from-the-page" }));
  assert.equal(await window.text("#title"), `${site} asks you to log in to a token`);
  await window.waitForFunction(() => document.querySelector("#status").textContent !== "");
  assert.deepEqual(await said(window), {
    problem: "",
    status: "Waiting for the PIN to be entered on the reader…",
    fields: 0,
    keypad: "Enter the token's PIN on the reader's keypad.",
    progress: true,
  });
  await accessibility.check(window, "the PIN window, waiting for the keypad");
  await window.screenshot("keypad-reader-login-waiting.png");
  await answer(window, enterPinOnReader);
  assert.deepEqual((await outcome).reply, { action: "login", tokenSN });
});

test("a login: a wrong PIN, a cancel on the reader and a reader that gave no PIN are each said in the window, which tries again", STEP, async () => {
  setRules(failingEntries());
  const { window, outcome } = await session.pinWindowRaisedBy(() => ask(page, { action: "login", tokenSN, pinPrompt: true }));
  await throughEachProblem(window, "login");
  assert.deepEqual((await outcome).reply, { action: "login", tokenSN });
  assert.equal((await ask(page, { action: "info" })).reply.token, tokenSN);
});

test("a key that needs its PIN for every signature takes it on the keypad: the sign window says so and waits, then each failed entry is said and tried again", STEP, async () => {
  const request = { action: "sign", certificateSN: `0205${SERIAL}`, payload: "Signed on the keypad", pin: "from-the-page" };
  setRules(waitingKeypad());
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, request));
  assert.equal(await window.isVisible("#fields input"), false, "no PIN field");
  await clickWhenReady(window, "#submit");
  await window.waitForFunction(() => !document.querySelector("#keypad").hidden && document.querySelector("#status").textContent !== "");
  assert.deepEqual(await said(window), {
    problem: "",
    status: "Waiting for the PIN to be entered on the reader…",
    fields: 0,
    keypad: "Enter the key's PIN on the reader's keypad.",
    progress: true,
  });
  await accessibility.check(window, "the sign window, waiting for the key's PIN on the keypad");
  await window.screenshot("keypad-reader-key-pin-waiting.png");
  await answer(window, enterPinOnReader);
  const { signature } = (await outcome).reply;
  assert.ok(crypto.verify("sha256", Buffer.from("Signed on the keypad"), publicKey, Buffer.from(signature, "base64")));

  setRules(failingEntries());
  const again = await session.signWindowRaisedBy(() => ask(page, { ...request, payload: "After three tries" }));
  await clickWhenReady(again.window, "#submit");
  await throughEachProblem(again.window, "key PIN");
  const signed = (await again.outcome).reply;
  assert.ok(crypto.verify("sha256", Buffer.from("After three tries"), publicKey, Buffer.from(signed.signature, "base64")));
});

test("a token on its last try says so in the PIN window before anything is typed", STEP, async () => {
  setRules("flag CKF_USER_PIN_FINAL_TRY\n");
  const { window, outcome } = await session.pinWindowRaisedBy(() => ask(page, { action: "login", tokenSN, pinPrompt: true }));
  assert.equal(await window.text("#pin-state"), "This is the last try: one more wrong PIN locks the token.");
  assert.equal(await window.value("#pin"), "");
  await accessibility.check(window, "the PIN window, on the last try");
  await window.screenshot("keypad-reader-last-try.png");
  await answer(window, () => clickWhenReady(window, "#cancel"));
  assert.equal((await outcome).error.reason, "cancelled");
});

test("a token whose PIN is locked is not offered for login: no PIN window, and its certificate cannot be picked with forceLogon", STEP, async () => {
  setRules("flag CKF_USER_PIN_LOCKED\n");
  const before = await session.pinWindows();
  assert.deepEqual((await ask(page, { action: "login", tokenSN, pinPrompt: true })).error, {
    name: "ConnectionError",
    reason: "pin-locked",
    message: `The PIN of the token with serial number ${tokenSN} is locked, so the Vantrel extension did not ask for it.`,
  });
  assert.deepEqual(await session.pinWindows(), before);
  const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: true }));
  const item = await window.evaluate(() => {
    const first = document.querySelector("#certificates li.certificate");
    return { who: first.querySelector(".who").textContent, note: first.querySelector(".note").textContent, disabled: first.querySelector("input").disabled };
  });
  assert.deepEqual(item, { who: "Keypad Signer", note: "The PIN of its token is locked: you could not log in to it.", disabled: true });
  await accessibility.check(window, "the choice, a token whose PIN is locked");
  await window.screenshot("keypad-reader-locked-choice.png");
  await answer(window, () => clickWhenReady(window, "#cancel"));
  assert.equal((await outcome).error.reason, "cancelled-choice");
  setRules("");
});
