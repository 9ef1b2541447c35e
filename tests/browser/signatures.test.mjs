// What you see is what you sign, in a real headless browser (Chromium or
// Firefox, as support/browser.mjs says) with the built host, on a SoftHSM2
// token of this test's own labelled with a right-to-left override, holding
// keys whose certificates have a plain subject, a very long one, and one
// with an override and words that pretend to be another field. Each case a
// security review found deceiving is signed through the extension's sign
// window: the text the window shows, read back character for character from
// its marks, is the text the token signed (the signature verifies over it),
// the site line and the buttons stay in view, and the window's buttons do not
// take a click or a key aimed at the page. Each window state is checked with
// axe-core and photographed.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import crypto from "node:crypto";
import fs from "node:fs";
import { SOFTHSM, enrolled, installHost, makeCa, makeToken, makeWorkspace, withClient } from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, focusedOn, ready } from "./support/browser.mjs";
import { openConsole } from "./support/console-page.mjs";
import { AccessibilityRecord } from "./support/page-driver.mjs";

const TOKEN_LABEL = "Bank \u202Enekot";
const USER_PIN = "pin-2718";
const WRONG_PIN = "wrong-pin-8281";
const STEP = { timeout: 60000 };

const LONG_SUBJECT_UNITS = Array.from({ length: 8 }, (_, i) => `Department of Extremely Long Organisational Unit Names ${i + 1}`);
const KEYS = {
  plain: { serial: "00a11ce001", subject: "/CN=Ada Signer/O=Vantrel" },
  // (openssl's -subj takes "/" as the end of a name unless it is escaped)
  long: { serial: "00a11ce002", subject: `/CN=Site https:\\/\\/bank.example${LONG_SUBJECT_UNITS.map((unit) => `/OU=${unit}`).join("")}` },
  injected: { serial: "00a11ce003", subject: "/CN=Ada \u202Eredrof\u202C I pay 1000 EUR Text to sign:" },
};

const browser = await browserDriver();
const space = makeWorkspace("signatures");
const accessibility = new AccessibilityRecord("signatures", { strict: true });
const publicKeys = {};
let consolePage;
let session;
let page;
let site;
let tokenSN;

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: "12345678", userPin: USER_PIN });
  installHost(space, SOFTHSM);
  const ca = makeCa(space.file("ca"), "Vantrel Signatures Test CA");
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    for (const [name, key] of Object.entries(KEYS)) {
      publicKeys[name] = new crypto.X509Certificate((await enrolled(send, ca, key)).pem).publicKey;
    }
  });
  consolePage = await openConsole(browser, space);
  ({ site, session, page } = consolePage);
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await consolePage?.close("signatures-last.png");
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 60000 });

function signRequest(key, payload, extra = {}) {
  return { action: "sign", certificateSN: `02${(KEYS[key].serial.length / 2).toString(16).padStart(2, "0")}${KEYS[key].serial}`, payload, ...extra };
}

/**
 * What the sign window shows, read from its document: each field's text
 * with the characters the marks stand for put back (`text`, `token`,
 * `certificate`), the marks' own labels, and whether the site line and the
 * buttons are inside the window.
 */
function shown(window) {
  return window.evaluate(() => {
    const raw = (node) =>
      node.nodeType === Node.TEXT_NODE
        ? node.data
        : node.nodeName === "BR" || node.nodeName === "DETAILS"
          ? ""
          : node.classList.contains("mark")
            ? node.dataset.raw
            : [...node.childNodes].map(raw).join("");
    const inView = (selector) => {
      const box = document.querySelector(selector).getBoundingClientRect();
      return box.height > 0 && box.top >= 0 && box.bottom <= window.innerHeight && box.left >= 0 && box.right <= window.innerWidth;
    };
    return {
      title: document.querySelector("#title").textContent,
      token: raw(document.querySelector("#token")),
      certificate: raw(document.querySelector("#certificate")),
      text: raw(document.querySelector("#text")),
      marks: [...document.querySelectorAll("#text .mark")].map((mark) => mark.textContent),
      fieldMarks: [...document.querySelectorAll("#token .mark, #certificate .mark")].map((mark) => mark.textContent),
      length: document.querySelector("#text-length").textContent,
      inView: ["#title", "#submit", "#cancel"].filter(inView),
    };
  });
}

/** Signs `request` in the window after `look(window)`; resolves with the signature and what the window showed. */
async function signShown(request, look = async () => {}) {
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, request));
  let seen;
  try {
    seen = await shown(window);
    assert.equal(seen.title, `${site} asks you to sign`);
    assert.deepEqual(seen.inView, ["#title", "#submit", "#cancel"], "the site line and the buttons are in view");
    await look(window, seen);
  } catch (error) {
    // The window would hold up the site's later requests.
    await answer(window, () => window.press("Escape")).catch(() => {});
    throw error;
  }
  await answer(window, () => clickWhenReady(window, "#submit"));
  const { reply } = await outcome;
  assert.ok(reply && reply.signature, JSON.stringify(await outcome));
  return { signature: Buffer.from(reply.signature, "base64"), seen };
}

function verifies(key, text, signature) {
  return crypto.verify("sha256", Buffer.from(text, "utf8"), publicKeys[key], signature);
}

test("a payload with a right-to-left override is shown with its marks, on a token whose label has one too, and the token signs what was shown", STEP, async () => {
  assert.equal((await ask(page, { action: "login", tokenSN, pin: USER_PIN })).reply.error, undefined);
  const payload = "I agree to pay \u202E00001\u202C EUR to the shop.";
  const { signature, seen } = await signShown(signRequest("plain", payload), async (window, look) => {
    assert.deepEqual(look.marks, ["U+202E", "U+202C"]);
    assert.equal(await window.text("#text"), "I agree to pay U+202E00001U+202C EUR to the shop.");
    assert.deepEqual(look.fieldMarks, ["U+202E"], "the label's override is marked");
    assert.equal(look.token, `${TOKEN_LABEL} (serial number ${tokenSN})`);
    assert.equal(look.length, "The whole text: 39 characters, 43 bytes in UTF-8.");
    await accessibility.check(window, "the sign window, a text with marks");
    await window.screenshot("signatures-bidi.png");
  });
  assert.equal(seen.text, payload);
  assert.ok(verifies("plain", seen.text, signature), "the signature is over the text shown");
});

test("a certificate subject with an override and words of another field shows them as its own, marked; Cancel refuses the signature", STEP, async () => {
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, signRequest("injected", "Order 42")));
  const seen = await shown(window);
  assert.equal(seen.certificate, `CN=Ada \u202Eredrof\u202C I pay 1000 EUR Text to sign: (serial number ${KEYS.injected.serial})`);
  assert.deepEqual(seen.fieldMarks, ["U+202E", "U+202E", "U+202C"], "the label's, then the subject's");
  assert.equal(seen.text, "Order 42");
  await accessibility.check(window, "the sign window, a subject with marks");
  await window.screenshot("signatures-subject.png");
  await focusedOn(window, "#cancel");
  await answer(window, () => clickWhenReady(window, "#cancel"));
  assert.deepEqual((await outcome).error, { name: "ConnectionError", reason: "refused", message: "The user refused to let this site sign." });
});

test("blanks before a text are shown, counted, and the text after them too", STEP, async () => {
  const payload = " ".repeat(170) + "I transfer my house to evil.example";
  const { signature, seen } = await signShown(signRequest("plain", payload), async (window, look) => {
    assert.deepEqual(look.marks, ["␣×170"]);
    assert.equal(await window.text("#text"), "␣×170I transfer my house to evil.example");
    await window.screenshot("signatures-blanks.png");
  });
  assert.equal(seen.text, payload);
  assert.ok(verifies("plain", seen.text, signature));
});

test("a very long certificate subject is shortened, the whole on request, and the site line and the buttons stay in view", STEP, async () => {
  const { signature } = await signShown(signRequest("long", "Pay 5 EUR"), async (window, look) => {
    // The host lists the subject in the certificate's order reversed: the name of a site comes last.
    const subject = `${[...LONG_SUBJECT_UNITS].reverse().map((unit) => `OU=${unit}`).join(", ")}, CN=Site https://bank.example`;
    assert.ok(subject.length > 400);
    assert.equal(look.certificate, `${[...subject].slice(0, 96).join("")}… (serial number ${KEYS.long.serial})`);
    assert.equal(await window.text("#certificate summary"), `Show the whole subject (${subject.length} characters)`);
    await window.screenshot("signatures-long-subject.png");
    await window.click("#certificate summary");
    await window.waitFor("#certificate .whole");
    assert.equal(await window.text("#certificate .whole"), subject);
    assert.deepEqual((await shown(window)).inView, ["#title", "#submit", "#cancel"], "still in view with the whole subject");
    await accessibility.check(window, "the sign window, a long subject in full");
    await window.screenshot("signatures-long-subject-whole.png");
  });
  assert.ok(verifies("long", "Pay 5 EUR", signature));
});

test("an object payload is shown as the text the token signs for it, and that is the text signed, not its JSON", STEP, async () => {
  const payload = { order: "1 book", note: "thanks</note><amount>1000000</amount><note>" };
  const { signature, seen } = await signShown(signRequest("plain", payload), async (window) => {
    assert.equal(await window.isVisible("#object-note"), true);
    await accessibility.check(window, "the sign window, an object's text");
    await window.screenshot("signatures-object.png");
  });
  assert.equal(seen.text, "<note>thanks</note><amount>1000000</amount><note></note><order>1 book</order>");
  assert.ok(verifies("plain", seen.text, signature));
  assert.ok(!verifies("plain", JSON.stringify(payload), signature));
});

test("the buttons ignore a click right after the window appears or gets the focus back, and Enter outside a typed PIN field does nothing", STEP, async () => {
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, signRequest("plain", "Timed click")));
  await ready(window);
  // The window gets the focus back and a click lands at once: the guard takes it.
  const guarded = await window.evaluate(() => {
    window.dispatchEvent(new Event("focus"));
    document.querySelector("#submit").click();
    return { guard: document.body.dataset.guard, disabled: document.querySelector("#submit").getAttribute("aria-disabled") };
  });
  assert.deepEqual(guarded, { guard: "closed", disabled: "true" });
  await focusedOn(window, "#cancel");
  await window.press("Enter");
  // Neither signed nor cancelled: the window is still there to sign in.
  await answer(window, () => clickWhenReady(window, "#submit"));
  assert.ok((await outcome).reply.signature);
});

test("pinPrompt without a login: one window shows the text and asks for the token's PIN, refuses a wrong one, then logs in and signs", STEP, async () => {
  // A new host for the site, without the login.
  await ask(page, { action: "noSuchAction" });
  assert.equal((await ask(page, { action: "info" })).reply.error, "There is no active token");
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, signRequest("plain", "One window", { pinPrompt: true })));
  assert.equal(await window.text('label[for="pin"]'), "PIN of the token");
  assert.equal(await window.text("#submit"), "Log in and sign");
  assert.equal((await shown(window)).text, "One window");
  await accessibility.check(window, "the sign window, asking for the token's PIN");
  await ready(window);
  await window.focus("#pin");
  await window.type(WRONG_PIN);
  await window.press("Enter");
  await window.waitForFunction(() => document.querySelector("#problem").textContent !== "");
  assert.equal(await window.text("#problem"),
    "The token refused the PIN: Incorrect PIN  (rc=160). Check it and try again; a token locks after a few wrong tries.");
  await accessibility.check(window, "the sign window after a wrong PIN");
  await window.screenshot("signatures-login-and-sign.png");
  await answer(window, async () => {
    await window.type(USER_PIN);
    await window.press("Enter");
  });
  assert.ok(verifies("plain", "One window", Buffer.from((await outcome).reply.signature, "base64")));
  assert.equal((await ask(page, { action: "info" })).reply.token, tokenSN, "logged in by the window");
  assert.deepEqual(await session.windowsOf("pin"), [], "no second window");
});
