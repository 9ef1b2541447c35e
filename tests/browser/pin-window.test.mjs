// PINs typed in the extension's own window, in a real headless browser
// (Chromium or Firefox, as support/browser.mjs says), on a SoftHSM2 token of
// this test's own that holds a key SoftHSM2 signs with only after its PIN was
// given for that signature (CKA_ALWAYS_AUTHENTICATE, made with pkcs11-tool)
// beside one that signs after the login alone. The token console, which asks
// for PINs that way by default, logs in, changes the PIN, formats the blank
// slot and signs through the window; the page records every message it gets
// and is then searched for the PINs; cancelling, wrong PINs and an
// administrator's refusal of PINs sent by pages are shown too. Each kind of
// window is photographed into the artifacts folder and checked with axe-core.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { SOFTHSM, installHost, makeCa, makeToken, makeWorkspace, run, testEnvironment, withClient } from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, focusedOn, ready } from "./support/browser.mjs";
import { openConsole } from "./support/console-page.mjs";
import { AccessibilityRecord } from "./support/page-driver.mjs";

const TOKEN_LABEL = "Vantrel PIN test";
const SO_PIN = "so-pin-8642";
const USER_PIN = "pin-2468";
const WRONG_PIN = "wrong-pin-1357";
const NEW_PIN = "pin-86420";
const FORMAT_SO_PIN = "so-pin-fresh-5";
const FORMAT_USER_PIN = "fresh-pin-7";
// A PIN the page itself sends: the search of the page must find this one.
const PAGE_PIN = "page-typed-pin-99";
const WINDOW_PINS = [USER_PIN, WRONG_PIN, NEW_PIN, FORMAT_SO_PIN, FORMAT_USER_PIN];

const PLAIN_SERIAL = "00c0ffee11";
const PLAIN_SUBJECT = "CN=Vantrel PIN Test Plain Key";
const ALWAYS_SERIAL = "00a1a1a1";
const ALWAYS_SUBJECT = "CN=Vantrel PIN Test Key With Its Own PIN";
const CANCELLED = { name: "ConnectionError", reason: "cancelled", message: "The user cancelled the PIN entry." };
const INCORRECT_PIN =
  "The token refused the PIN: Incorrect PIN  (rc=160). Check it and try again; a token locks after a few wrong tries.";
const PIN_FROM_PAGE = {
  name: "ConnectionError",
  reason: "pin-from-page",
  message:
    "This browser's administrator does not let pages send PINs: " +
    'send the request with "pinPrompt": true, and the Vantrel extension asks the user for the PIN in its own window.',
};
const STEP = { timeout: 60000 };

const browser = await browserDriver();
const space = makeWorkspace("pin");
const accessibility = new AccessibilityRecord("pin-window", { strict: true });
let consolePage;
let session;
let page;
let site;
let tokenSN;

function pkcs11Tool(args) {
  return run("pkcs11-tool", ["--module", SOFTHSM, "--token-label", TOKEN_LABEL, ...args], { env: testEnvironment(space) });
}

// One key pair made by the host, with a certificate from its request; one made
// with pkcs11-tool that needs its PIN for every signature, with a certificate
// for its public key. Both certificates are imported by the host.
async function makeKeys(ca) {
  pkcs11Tool(["--login", "--pin", USER_PIN, "--keypairgen", "--key-type", "rsa:2048", "--id", "a1a1",
    "--label", "needs its PIN", "--always-auth", "--usage-sign"]);
  pkcs11Tool(["--read-object", "--type", "pubkey", "--id", "a1a1", "-o", space.file("always.der")]);
  run("openssl", ["pkey", "-pubin", "-inform", "DER", "-in", space.file("always.der"), "-out", space.file("always.pem")]);
  const always = ca.certify(space.file("always.pem"), { serial: ALWAYS_SERIAL, subject: `/${ALWAYS_SUBJECT}` });
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    const { csr } = await send({ action: "generateKeys", tokenSN, result: "csr" });
    const plain = ca.issue(csr, { serial: PLAIN_SERIAL, subject: `/${PLAIN_SUBJECT}` });
    for (const certificate of [plain, always]) {
      const imported = await send({ action: "importCertificate", certificate: certificate.der.toString("base64") });
      assert.equal(imported.error, undefined, JSON.stringify(imported));
    }
    const signed = await send({ action: "sign", certificateSN: `0204${ALWAYS_SERIAL}`, payload: "x" });
    assert.equal(signed.error, "The key needs its PIN for every signature");
  });
}

// Every message event the page gets, as the page's own script could record it.
function recordMessages() {
  return page.evaluate(() => {
    window.vantrelTestMessages = [];
    window.addEventListener("message", (event) => window.vantrelTestMessages.push(JSON.stringify(event.data)));
  });
}

// Everything the page's script can read: its document, the values of its
// fields, the messages it got, its storage, its cookies, its address.
function readableByThePage() {
  return page.evaluate(async () => {
    const texts = [document.documentElement.outerHTML, document.cookie, window.name, location.href];
    for (const field of document.querySelectorAll("input, textarea")) {
      texts.push(field.value);
    }
    texts.push(...window.vantrelTestMessages);
    for (const store of [localStorage, sessionStorage]) {
      for (let i = 0; i < store.length; i++) {
        texts.push(store.key(i), store.getItem(store.key(i)));
      }
    }
    texts.push(JSON.stringify(await indexedDB.databases()));
    return texts.join("\n");
  });
}

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: SO_PIN, userPin: USER_PIN });
  installHost(space, SOFTHSM);
  await makeKeys(makeCa(space.file("ca"), "Vantrel PIN Test CA"));
  consolePage = await openConsole(browser, space);
  ({ site, session, page } = consolePage);
  await page.waitFor("#status.good");
  await recordMessages();
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await consolePage?.close("pin-window-last.png");
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 60000 });

function idle() {
  return page.waitFor("body:not([data-busy])");
}

/** axe-core on the window (or the page) as it is: no violation. */
function accessible(target, state) {
  return accessibility.check(target, state);
}

function pinWindowRaisedBy(trigger) {
  return session.pinWindowRaisedBy(trigger);
}

/** What the window says the request is: [[term, text]]. */
function facts(window) {
  return window.evaluate(() => [...document.querySelectorAll("#facts dt")].map((dt) => [dt.textContent, dt.nextElementSibling.textContent]));
}

async function problemShown(window) {
  await window.waitForFunction(() => document.querySelector("#problem").textContent !== "");
  return window.text("#problem");
}

/**
 * Types `pins` into the window's fields, one after the other from the first
 * one (the window starts with the focus on Cancel, so the user goes there
 * first), and sends them with Enter.
 */
async function typeAndSend(window, pins) {
  await ready(window);
  await window.focus("#fields input");
  for (const [index, pin] of pins.entries()) {
    if (index > 0) {
      await window.press("Tab");
    }
    await window.type(pin);
  }
  await window.press("Enter");
}

/** Sends a wrong PIN: the window shows the token's refusal in the host's words and asks again. */
async function sendWrongPin(window) {
  await typeAndSend(window, [WRONG_PIN]);
  assert.equal(await problemShown(window), INCORRECT_PIN);
  assert.equal(await window.value("#pin"), "");
  await focusedOn(window, "#pin");
}

function tokenRow(serial) {
  return `#tokens tr[data-token-sn="${serial}"]`;
}

function certificateRow(serial) {
  return `#certificates tr[data-serial-number="${serial}"]`;
}

test("the console leaves the PINs to the extension's window unless its development switch says otherwise", STEP, async () => {
  assert.equal(await page.isChecked("#pin-in-page"), false);
  for (const field of ["#pin", "#old-pin", "#admin-pin"]) {
    assert.equal(await page.isVisible(field), false, field);
  }
  assert.match(await page.text("#pin-source-hint"), /asks for the PINs in a window of its own/);
  await page.check("#pin-in-page");
  assert.equal(await page.isVisible("#pin"), true);
  assert.match(await page.text("#pin-source-hint"), /for development only/);
  await page.click("#pin-in-page");
  assert.equal(await page.isVisible("#pin"), false);
  await page.click("#list-tokens");
  await idle();
  assert.equal(await page.isChecked(`${tokenRow(tokenSN)} input`), true);
});

test("logging in through the window: it names the site, the action and the token; a wrong PIN is shown there in the host's words and typed again", STEP, async () => {
  await page.check('input[name="mode"][value="write"]');
  const { window } = await pinWindowRaisedBy(() => page.click("#login"));
  assert.equal(await window.text("#title"), `${site} asks you to log in to a token`);
  assert.deepEqual(await facts(window), [
    ["Action", "Log in, to read and write"],
    ["Token", `the token “${TOKEN_LABEL}” (serial number ${tokenSN})`],
  ]);
  assert.equal(await window.attribute("#pin", "type"), "password");
  await focusedOn(window, "#cancel");
  await accessible(window, "the PIN window, logging in");
  await window.screenshot("pin-window-login.png");

  await sendWrongPin(window);
  await accessible(window, "the PIN window after a wrong PIN");
  await window.screenshot("pin-window-wrong-pin.png");

  await answer(window, () => typeAndSend(window, [USER_PIN]));
  await idle();
  assert.match(await page.text("#login-state"), /^Logged in to “Vantrel PIN test” .*read and write\.$/);
  assert.equal(await page.isVisible("#message"), false);
});

test("cancelling the window by Escape, by its button or by closing it: the page hears \"cancelled\" and the host nothing", STEP, async () => {
  const { window } = await pinWindowRaisedBy(() => page.click("#login"));
  await answer(window, () => window.press("Escape"));
  await idle();
  assert.equal(await page.text("#message-title"), "You cancelled the PIN entry");
  // A login the host had tried would have ended the one there is.
  assert.match(await page.text("#info-login"), new RegExp(`^Token ${tokenSN} `));

  const ways = [
    ["its Cancel button", (pinWindow) => answer(pinWindow, () => clickWhenReady(pinWindow, "#cancel"))],
    ["closing it", (pinWindow) => pinWindow.close()],
  ];
  for (const [way, end] of ways) {
    const raised = await pinWindowRaisedBy(() => ask(page, { action: "changePIN", tokenSN, pinPrompt: true }));
    await end(raised.window);
    assert.deepEqual((await raised.outcome).error, CANCELLED, way);
  }
  assert.equal((await ask(page, { action: "info" })).reply.token, tokenSN, "still logged in");
  assert.deepEqual(await session.pinWindows(), []);
});

/** The sign window's facts and text, as shown. */
async function signWindowShows(window) {
  return window.evaluate(() => ({
    token: document.querySelector("#token").textContent,
    certificate: document.querySelector("#certificate").textContent,
    text: document.querySelector("#text").textContent,
    pinFields: document.querySelectorAll("#fields input").length,
  }));
}

test("a key that needs its PIN for every signature gets it in the sign window, after the text was shown, which takes a wrong PIN again; a plain key signs without one", { ...STEP, timeout: 90000 }, async () => {
  await page.click("#list-certificates");
  await idle();
  await page.check(`${certificateRow(ALWAYS_SERIAL)} input`);
  const text = "I agree to pay 250 EUR to Vantrel — order 42.";
  await page.fill("#payload", text);
  const { window } = await session.signWindowRaisedBy(() => page.click("#sign"));
  assert.equal(await window.text("#title"), `${site} asks you to sign`);
  assert.deepEqual(await signWindowShows(window), {
    token: `${TOKEN_LABEL} (serial number ${tokenSN})`,
    certificate: `${ALWAYS_SUBJECT} (serial number ${ALWAYS_SERIAL})`,
    text,
    pinFields: 0,
  });
  await focusedOn(window, "#cancel");
  // The key asks for its PIN when it signs: then the window asks for it.
  await clickWhenReady(window, "#submit");
  await window.waitFor("#pin");
  assert.equal(await window.text('label[for="pin"]'), "PIN of the key");
  await accessible(window, "the sign window, asking for the key's PIN");
  await window.screenshot("pin-window-sign.png");
  await sendWrongPin(window);
  await answer(window, () => typeAndSend(window, [USER_PIN]));
  await idle();
  assert.equal(await page.attribute("#verification", "data-state"), "valid");

  // Every signature: shown again, and a cancel this time.
  const again = await session.signWindowRaisedBy(() => page.click("#sign"));
  await answer(again.window, () => again.window.press("Escape"));
  await idle();
  assert.equal(await page.text("#message-title"), "You refused the signature");

  // A plain key: shown, no PIN asked.
  await page.check(`${certificateRow(PLAIN_SERIAL)} input`);
  const plain = await session.signWindowRaisedBy(() => page.click("#sign"));
  assert.equal((await signWindowShows(plain.window)).pinFields, 0);
  await answer(plain.window, () => clickWhenReady(plain.window, "#submit"));
  await idle();
  assert.equal(await page.attribute("#verification", "data-state"), "valid");

  // pinPrompt on a plain key with a login: nothing to type, since no PIN is checked.
  const asked = await session.signWindowRaisedBy(() =>
    ask(page, { action: "sign", certificateSN: `0205${PLAIN_SERIAL}`, payload: "asked", pinPrompt: true }));
  assert.deepEqual(await signWindowShows(asked.window), {
    token: `${TOKEN_LABEL} (serial number ${tokenSN})`,
    certificate: `${PLAIN_SUBJECT} (serial number ${PLAIN_SERIAL})`,
    text: "asked",
    pinFields: 0,
  });
  await answer(asked.window, () => clickWhenReady(asked.window, "#submit"));
  assert.equal(Buffer.from((await asked.outcome).reply.signature, "base64").length, 256);
});

test("changing the PIN through the window: the new PIN is checked there, typed twice and within the token's lengths, before anything is sent; a wrong current PIN is refused there", STEP, async () => {
  const { window } = await pinWindowRaisedBy(() => page.click("#change-pin"));
  assert.equal(await window.text("#title"), `${site} asks you to change a token's PIN`);
  await focusedOn(window, "#cancel");
  await typeAndSend(window, [USER_PIN, NEW_PIN, NEW_PIN + "x"]);
  assert.equal(await problemShown(window), "The new PIN was not typed the same twice.");
  await focusedOn(window, "#newPIN-again");
  await accessible(window, "the PIN window, changing the PIN, with a mistake");
  await window.screenshot("pin-window-change-pin.png");
  // The token's shortest and longest PIN, from its listing; one past either is caught in the window.
  for (const pin of ["abc", "x".repeat(256)]) {
    await window.evaluate(() => {
      document.querySelector("#problem").textContent = "";
    });
    await window.fill("#newPIN", pin);
    await window.fill("#newPIN-again", pin);
    await window.press("Enter");
    assert.equal(await problemShown(window), "The new PIN must have 4 to 255 characters.", `${pin.length} characters`);
  }
  // A wrong current PIN is the token's to refuse: shown in the window, and all typed again.
  const fillAll = async (oldPin) => {
    await window.fill("#oldPIN", oldPin);
    await window.fill("#newPIN", NEW_PIN);
    await window.fill("#newPIN-again", NEW_PIN);
  };
  await fillAll(WRONG_PIN);
  await window.evaluate(() => {
    document.querySelector("#problem").textContent = "";
  });
  await window.press("Enter");
  assert.equal(await problemShown(window), INCORRECT_PIN);
  await focusedOn(window, "#oldPIN");
  await fillAll(USER_PIN);
  await answer(window, () => window.press("Enter"));
  await idle();
  assert.match(await page.text("#notice"), /^The PIN of the token “Vantrel PIN test” .* was changed\. Log in again with the new PIN\.$/);
  await page.waitForFocus("#login");

  const login = await pinWindowRaisedBy(() => page.press("Enter"));
  await answer(login.window, () => typeAndSend(login.window, [NEW_PIN]));
  await idle();
  assert.match(await page.text("#login-state"), /^Logged in to “Vantrel PIN test”/);
});

test("formatting the blank slot: after the page's question the window alone asks, for the security officer PIN and the new user PIN twice within the token's lengths", STEP, async () => {
  await page.check(`${tokenRow("")} input`);
  await page.click("#format");
  await page.waitFor("#confirm[open]");
  const { window } = await pinWindowRaisedBy(() => page.click("#confirm-yes"));
  assert.equal(await window.text("#title"), `${site} asks you to format a token`);
  assert.deepEqual(await facts(window), [["Action", "Format the token"], ["Token", "the blank SoftHSM v2 (not initialised)"]]);
  assert.match(await window.text("#warning"), /erases every key and certificate on the token .* cannot be undone/);
  assert.equal(await window.text("#submit"), "Format the token");
  await focusedOn(window, "#cancel");
  await typeAndSend(window, [FORMAT_SO_PIN, "123", "123"]);
  assert.equal(await problemShown(window), "The new user PIN must have 4 to 255 characters.");
  await focusedOn(window, "#tokenPIN");
  await accessible(window, "the PIN window, formatting, with a mistake");
  await window.screenshot("pin-window-format.png");
  await window.fill("#tokenPIN", FORMAT_USER_PIN);
  await window.fill("#tokenPIN-again", FORMAT_USER_PIN);
  await answer(window, () => window.press("Enter"));
  await idle();
  assert.match(await page.text("#notice"), /^Formatted: it is now the token “QARN Token” \(serial number [0-9a-f]{16}\)\. Log in with its new PIN\.$/);
  assert.deepEqual(await session.questionWindows(), [], "the window was the extension's only question");
  await accessible(page, "the console after formatting through the PIN window");
});

test("the page finds none of the PINs typed in the window in its document, its fields, its messages or its storage", STEP, async () => {
  const readable = await readableByThePage();
  assert.ok(readable.includes('"pinPrompt":true'), "the page's own requests were recorded");
  for (const pin of WINDOW_PINS) {
    assert.equal(readable.includes(pin), false, `the page can read ${pin}`);
  }
  // The search finds a PIN the page itself sends.
  const outcome = await ask(page, { action: "login", tokenSN, pin: PAGE_PIN });
  assert.equal(outcome.reply.error, "Incorrect PIN  (rc=160)");
  assert.ok((await readableByThePage()).includes(PAGE_PIN));
});

test("with the administrator's pinFromPage: false, PINs from the page are refused, in the console's words too; the window still works", { ...STEP, skip: browser.policyUnavailable() }, async () => {
  await session.setPolicy({ pinFromPage: false });
  const requests = [
    { action: "login", tokenSN, pin: NEW_PIN },
    { action: "login", tokenSN, pin: "", pinPrompt: true },
    { action: "changePIN", tokenSN, oldPIN: NEW_PIN, newPIN: USER_PIN },
    { action: "formatToken", tokenSN: "", tokenPIN: "1234", adminPIN: "5678" },
    { action: "sign", certificateSN: `0205${PLAIN_SERIAL}`, payload: "x", pin: NEW_PIN },
  ];
  for (const request of requests) {
    assert.deepEqual((await ask(page, request)).error, PIN_FROM_PAGE, JSON.stringify(request));
  }
  await page.check("#pin-in-page");
  await page.fill("#pin", PAGE_PIN);
  await page.click("#login");
  await idle();
  assert.equal(await page.text("#message-title"), "This page may not send PINs");
  await page.screenshot("pin-window-refused-page-pin.png");
  await page.click("#pin-in-page");

  const { window, outcome } = await pinWindowRaisedBy(() => ask(page, { action: "login", tokenSN, pinPrompt: true }));
  await answer(window, () => typeAndSend(window, [NEW_PIN]));
  assert.deepEqual((await outcome).reply, { action: "login", tokenSN });

  await session.clearPolicy();
  assert.deepEqual((await ask(page, { action: "login", tokenSN, pin: NEW_PIN })).reply, { action: "login", tokenSN });
});

test("the host's log files show each PIN masked, whoever typed it, and never the extension's own pinPrompt", STEP, () => {
  const logs = fs.readdirSync(space.logDir).map((name) => fs.readFileSync(path.join(space.logDir, name), "utf8")).join("\n");
  for (const masked of ['"pin":"********"', '"oldPIN":"********"', '"newPIN":"********"', '"adminPIN":"********"', '"tokenPIN":"********"']) {
    assert.ok(logs.includes(masked), masked);
  }
  assert.match(logs, new RegExp(`"certificateSN":"0204${ALWAYS_SERIAL}","payload":"[^"]*","pin":"\\*{8}"`));
  for (const pin of [...WINDOW_PINS, PAGE_PIN]) {
    assert.equal(logs.includes(pin), false, pin);
  }
  assert.equal(logs.includes("pinPrompt"), false);
});
