// The user picks the certificate, in a real headless browser (Chromium or
// Firefox, as support/browser.mjs says) with the built host, on a SoftHSM2
// token of this test's own holding a valid certificate, a second one and an
// expired one. The page asks with selectCertificate: the extension's window
// names the site and shows each certificate as a person recognises it; the
// page gets the one picked, signs with it and checks the signature with Web
// Crypto. Cancel, forceLogon, the wait for a token to be inserted (one made
// while the window waits, and one that never comes), and an administrator
// who keeps the certificates from pages (pagesListCertificates false: no
// listing, signatures only with the certificate picked, and the console
// working that way) follow, and the examples of the page's messages in
// docs/protocol.md are sent as they stand. Every window state is checked
// with axe-core and photographed.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { SOFTHSM, SOURCE, installHost, makeCa, makeToken, makeWorkspace, run, testEnvironment, withClient } from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, focusedOn, ready } from "./support/browser.mjs";
import { openConsole } from "./support/console-page.mjs";
import { AccessibilityRecord, WINDOW_WAIT_MS } from "./support/page-driver.mjs";

const TOKEN_LABEL = "Vantrel picker test";
const USER_PIN = "pin-3141";
const STEP = { timeout: 90000 };

// The CA and one certificate are those of docs/protocol.md's examples.
const CA_NAME = "Vantrel Example CA";
const CERTIFICATES = {
  example: { serial: "00c0ffee5a17", subject: "/CN=Vantrel Example User/O=Vantrel" },
  ada: { serial: "00a11ce0c1", subject: "/CN=Ada Picker/O=Vantrel" },
  bea: { serial: "00a11ce0c2", subject: "/CN=Bea Picker/O=Vantrel" },
  old: { serial: "00a11ce0c3", subject: "/CN=Old Picker/O=Vantrel", notBefore: "20200101000000Z", notAfter: "20240101000000Z" },
};

const browser = await browserDriver();
const space = makeWorkspace("picker");
const accessibility = new AccessibilityRecord("certificate-picker", { strict: true });
const issued = {};
let ca;
let consolePage;
let session;
let page;
let site;
let tokenSN;

const certificateSN = (serial) => `02${(serial.length / 2).toString(16).padStart(2, "0")}${serial}`;
const CANCELLED_CHOICE = { name: "ConnectionError", reason: "cancelled-choice", message: "The user cancelled the certificate choice." };

// A key pair on the logged-in token and a certificate for it from the test CA.
async function enrol(send, name) {
  const { serial, subject, notBefore, notAfter } = CERTIFICATES[name];
  const keys = await send({ action: "generateKeys", tokenSN: (await send({ action: "info" })).token, result: "csr" });
  const certificate = ca.issue(keys.csr, { serial, subject, ...(notBefore ? { notBefore, notAfter } : {}) });
  assert.equal((await send({ action: "importCertificate", certificate: certificate.der.toString("base64") })).error, undefined);
  return certificate;
}

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: "12345678", userPin: USER_PIN });
  installHost(space, SOFTHSM);
  ca = makeCa(space.file("ca"), CA_NAME);
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    for (const name of Object.keys(CERTIFICATES)) {
      issued[name] = await enrol(send, name);
    }
  });
  consolePage = await openConsole(browser, space);
  ({ site, session, page } = consolePage);
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await consolePage?.close("certificate-picker-last.png");
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 60000 });

/** The certificates the window lists: [{ who, detail, note, pickable }]. */
function listed(window) {
  return window.evaluate(() =>
    [...document.querySelectorAll("#certificates li.certificate")].map((item) => ({
      who: item.querySelector(".who").textContent,
      detail: item.querySelector(".detail").textContent,
      note: item.querySelector(".note")?.textContent ?? "",
      pickable: !item.querySelector("input").disabled,
    })),
  );
}

/** Picks the certificate listed as `who` in the window and waits for the window to close. */
async function pick(window, who) {
  const index = (await listed(window)).findIndex((c) => c.who === who);
  assert.ok(index >= 0, `${who} is listed`);
  await ready(window);
  await window.click(`#certificate-${index}`);
  await answer(window, () => window.click("#choose"));
}

/** A new host for the site, without a login (a request the host cannot read stops it). */
async function freshHost() {
  await ask(page, { action: "noSuchAction" });
  assert.equal((await ask(page, { action: "info" })).reply.error, "There is no active token");
}

/** Signs `text` with the certificate `sn` from the page, with pinPrompt: one window logs in and signs. */
async function signInWindow(sn, text, { login = true } = {}) {
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(page, { action: "sign", certificateSN: sn, payload: text, pinPrompt: true }));
  if (login) {
    await ready(window);
    await window.focus("#pin");
    await window.type(USER_PIN);
    await answer(window, () => window.press("Enter"));
  } else {
    await answer(window, () => clickWhenReady(window, "#submit"));
  }
  return (await outcome).reply;
}

/** Whether the page, with Web Crypto, finds `signature` made over `text` with the key of `certificate` (base64). */
function verifiedInPage(certificate, text, signature) {
  return page.evaluate(async ({ certificate, text, signature }) => {
    const { Vantrel } = await import("/vantrel.js");
    const { key, algorithm } = await Vantrel.verificationKey(certificate);
    return crypto.subtle.verify(algorithm, key, Vantrel.fromBase64(signature), new TextEncoder().encode(text));
  }, { certificate, text, signature });
}

test("the window names the site and shows each certificate as a person knows it; the expired one cannot be picked; the page gets the picked one, signs with it and checks that with Web Crypto", STEP, async () => {
  await freshHost();
  const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: false, port: "p7" }));
  assert.equal(await window.text("#title"), `${site} wants to know which certificate to use`);
  await focusedOn(window, "#cancel");
  const expectedDetail = (until) => `Issued by ${CA_NAME} · valid until ${until} · on the token ${TOKEN_LABEL}`;
  assert.deepEqual(
    (await listed(window)).sort((a, b) => a.who.localeCompare(b.who)),
    [
      { who: "Ada Picker", detail: expectedDetail("2035-01-01"), note: "", pickable: true },
      { who: "Bea Picker", detail: expectedDetail("2035-01-01"), note: "", pickable: true },
      { who: "Old Picker", detail: expectedDetail("2024-01-01"), note: "Expired on 2024-01-01: it cannot be used.", pickable: false },
      { who: "Vantrel Example User", detail: expectedDetail("2035-01-01"), note: "", pickable: true },
    ],
  );
  await accessibility.check(window, "the choice of a certificate");
  await window.screenshot("certificate-picker-choice.png");
  // The whole record, on request.
  await window.click("#certificates li.certificate summary");
  await window.waitFor("#certificates li.certificate details[open] dl");
  const record = await window.text("#certificates li.certificate details[open] dl");
  assert.match(record, /^SubjectO=Vantrel, CN=[\w ]+Alternative namesnoneIssuerO=Vantrel, CN=Vantrel Example CASerial number00[0-9a-f]{8,10}Valid from/);
  await accessibility.check(window, "the choice of a certificate, one record in full");
  await window.screenshot("certificate-picker-record.png");
  // Choosing without a pick says so.
  await clickWhenReady(window, "#choose");
  assert.equal(await window.text("#problem"), "Pick a certificate first.");
  await pick(window, "Ada Picker");
  const { reply } = await outcome;
  assert.deepEqual(reply, {
    action: "selectCertificate",
    certificate: issued.ada.der.toString("base64"),
    certificateSN: certificateSN(CERTIFICATES.ada.serial),
    port: "p7",
    tokenSN,
  });
  const text = "Signed with the certificate I picked.";
  const signed = await signInWindow(reply.certificateSN, text);
  assert.ok(signed.signature, JSON.stringify(signed));
  assert.equal(await verifiedInPage(reply.certificate, text, signed.signature), true);
  assert.equal(await verifiedInPage(reply.certificate, text + "!", signed.signature), false);
});

test("Cancel and Escape give the page the cancelled-choice refusal", STEP, async () => {
  for (const how of [(window) => clickWhenReady(window, "#cancel"), (window) => window.pressWhenReady("Escape")]) {
    const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: false }));
    await answer(window, () => how(window));
    assert.deepEqual((await outcome).error, CANCELLED_CHOICE);
  }
  assert.deepEqual((await ask(page, { action: "selectCertificate" })).reply, {
    action: "selectCertificate",
    error: "Missing mandatory JSON object boolean property forceLogon",
  });
});

test("forceLogon: the user logs in to the picked certificate's token in the PIN window before the page gets it", STEP, async () => {
  await freshHost();
  const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: true }));
  assert.match(await window.text("#purpose"), /You then log in to its token\./);
  const index = (await listed(window)).findIndex((c) => c.who === "Bea Picker");
  await ready(window);
  await window.click(`#certificate-${index}`);
  const raised = await session.pinWindowRaisedBy(() => answer(window, () => window.click("#choose")));
  const pinWindow = raised.window;
  assert.equal(await pinWindow.text("#title"), `${site} asks you to log in to a token`);
  await accessibility.check(pinWindow, "the PIN window of forceLogon");
  await pinWindow.screenshot("certificate-picker-force-logon.png");
  await ready(pinWindow);
  await pinWindow.focus("#pin");
  await pinWindow.type(USER_PIN);
  await answer(pinWindow, () => pinWindow.press("Enter"));
  const { reply } = await outcome;
  assert.equal(reply.certificateSN, certificateSN(CERTIFICATES.bea.serial));
  assert.equal((await ask(page, { action: "info" })).reply.token, tokenSN, "logged in before the reply");
  // Logged in: the sign window asks for no PIN.
  const signed = await signInWindow(reply.certificateSN, "After forceLogon", { login: false });
  assert.equal(await verifiedInPage(reply.certificate, "After forceLogon", signed.signature), true);
});

// The token folder of SoftHSM2 is emptied for the next two tests, as if the
// token were unplugged, and put back afterwards.
const tokens = space.file("tokens");
const away = space.file("tokens-away");

test("insert your token: with no token holding a certificate the window waits, looking again, until the user cancels", STEP, async () => {
  fs.renameSync(tokens, away);
  fs.mkdirSync(tokens);
  await freshHost();
  const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: false }));
  assert.equal(await window.isVisible("#insert"), true);
  assert.equal(await window.isVisible("#choose"), false);
  await window.waitForFunction(() => /^Looked [2-9]/.test(document.querySelector("#looks").textContent), undefined, WINDOW_WAIT_MS);
  await accessibility.check(window, "insert your token, looking");
  await window.screenshot("certificate-picker-insert.png");
  await answer(window, () => clickWhenReady(window, "#cancel"));
  assert.deepEqual((await outcome).error, CANCELLED_CHOICE);
});

test("insert your token: a token made while the window waits is found, and its certificate picked", { timeout: 180000 }, async () => {
  const { window, outcome } = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: false }));
  await window.waitFor("#insert");
  // The token "inserted": a new SoftHSM2 token with a key pair and a certificate.
  run("softhsm2-util", ["--init-token", "--free", "--label", "Inserted token", "--so-pin", "12345678", "--pin", USER_PIN], {
    env: testEnvironment(space),
  });
  let inserted;
  await withClient(space, async (send) => {
    inserted = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === "Inserted token").tokenSN;
    assert.equal((await send({ action: "login", tokenSN: inserted, pin: USER_PIN, mode: "write" })).error, undefined);
    CERTIFICATES.inserted = { serial: "00a11ce0c4", subject: "/CN=Inserted Picker/O=Vantrel" };
    issued.inserted = await enrol(send, "inserted");
  });
  await window.waitFor("#choices", WINDOW_WAIT_MS);
  assert.deepEqual((await listed(window)).map((c) => [c.who, c.pickable]), [["Inserted Picker", true]]);
  await accessibility.check(window, "the choice, once the token was inserted");
  await pick(window, "Inserted Picker");
  const { reply } = await outcome;
  assert.deepEqual([reply.tokenSN, reply.certificate], [inserted, issued.inserted.der.toString("base64")]);
  // The first token back.
  fs.rmSync(tokens, { recursive: true, force: true });
  fs.renameSync(away, tokens);
  await freshHost();
});

// The examples of the page's own messages in the reference: fenced blocks
// marked "page", with "→ " what the page posts, "← " the extension's answer,
// and "… the user picks "<name>"" or "… the user cancels" what the user does
// in the window the message raised.
function pageExamples() {
  const lines = fs.readFileSync(path.join(SOURCE, "docs", "protocol.md"), "utf8").split("\n");
  const steps = [];
  let inBlock = false;
  lines.forEach((line, index) => {
    if (line.trim() === "```page") {
      inBlock = true;
    } else if (inBlock && line.trim() === "```") {
      inBlock = false;
    } else if (inBlock && line.startsWith("→ ")) {
      steps.push({ message: JSON.parse(line.slice(2)), line: index + 1 });
    } else if (inBlock && line.startsWith("← ")) {
      steps.at(-1).answer = JSON.parse(line.slice(2));
    } else if (inBlock && line.startsWith("… the user ")) {
      const picks = /^… the user picks "([^"]+)"$/.exec(line);
      assert.ok(picks || line === "… the user cancels", `docs/protocol.md:${index + 1}: a user's step the test knows`);
      steps.at(-1).user = picks ? { picks: picks[1] } : { cancels: true };
    } else if (inBlock && line.trim() !== "") {
      assert.fail(`docs/protocol.md:${index + 1}: a line of a page example starts with "→ ", "← " or "… the user "`);
    }
  });
  return steps;
}

/** Posts `message` as a page does and resolves with the extension's answer to it. */
function posted(message) {
  return page.evaluate(
    (sent) =>
      new Promise((resolve) => {
        window.addEventListener("message", function heard(event) {
          const data = event.data;
          const answers = data && data.source === "vantrel-extension" && (sent.type === "hello" ? data.type === "ready" : data.id === sent.id);
          if (event.source === window && answers) {
            window.removeEventListener("message", heard);
            resolve(data);
          }
        });
        window.postMessage(sent, location.origin);
      }),
    message,
  );
}

// Values that differ from run to run are compared by their form, the certificate by its beginning.
function sameAsDocumented(documented, actual, where) {
  assert.deepEqual(Object.keys(actual).sort(), Object.keys(documented).sort(), where);
  for (const [name, value] of Object.entries(documented)) {
    if (name === "certificate") {
      assert.ok(actual.certificate.startsWith(value.split("…")[0]), `${where}: the certificate`);
    } else if (name === "tokenSN") {
      assert.match(actual.tokenSN, /^[0-9a-f]{16}$/, where);
    } else if (value !== null && typeof value === "object") {
      sameAsDocumented(value, actual[name], `${where}.${name}`);
    } else {
      assert.deepEqual(actual[name], value, `${where}.${name}`);
    }
  }
}

test("the reference's examples of the page's messages are what a page gets", STEP, async () => {
  const steps = pageExamples();
  assert.ok(steps.length >= 3, "the examples are found");
  for (const step of steps) {
    const where = `docs/protocol.md:${step.line}`;
    let got;
    if (step.user) {
      const raised = await session.choiceWindowRaisedBy(() => posted(step.message));
      if (step.user.picks) {
        await pick(raised.window, step.user.picks);
      } else {
        await answer(raised.window, () => clickWhenReady(raised.window, "#cancel"));
      }
      got = await raised.outcome;
    } else {
      got = await posted(step.message);
    }
    sameAsDocumented(step.answer, got, where);
    if (got.reply && got.reply.certificate) {
      assert.equal(got.reply.certificate, issued.example.der.toString("base64"), where);
      assert.equal(got.reply.tokenSN, tokenSN, where);
    }
  }
});

const POLICY_STEP = { ...STEP, skip: browser.policyUnavailable() };

test("pages may not list certificates: the listing and getCertificate are refused, a sign waits for the user's choice and is made only with the certificate picked", POLICY_STEP, async () => {
  await session.setPolicy({ pagesListCertificates: false });
  try {
    const refusal = {
      name: "ConnectionError",
      reason: "certificates-private",
      message:
        "This browser's administrator does not let pages list or read the certificates: " +
        'send "selectCertificate", and the Vantrel extension asks the user which certificate to use.',
    };
    assert.deepEqual((await ask(page, { action: "listCertificates" })).error, refusal);
    assert.deepEqual((await ask(page, { action: "getCertificate", certificateSN: certificateSN(CERTIFICATES.ada.serial) })).error, refusal);
    // The user picks Ada's certificate for the site.
    const chosen = await session.choiceWindowRaisedBy(() => ask(page, { action: "selectCertificate", forceLogon: false }));
    await pick(chosen.window, "Ada Picker");
    assert.equal((await chosen.outcome).reply.certificateSN, certificateSN(CERTIFICATES.ada.serial));

    // A sign with Bea's certificate opens the choice first; picking Ada's refuses it.
    const other = await session.choiceWindowRaisedBy(() =>
      ask(page, { action: "sign", certificateSN: certificateSN(CERTIFICATES.bea.serial), payload: "Not mine", pinPrompt: true }),
    );
    assert.match(await other.window.text("#purpose"), new RegExp(`serial number ${CERTIFICATES.bea.serial}, which you have not picked`));
    await accessibility.check(other.window, "the choice a sign needs");
    await other.window.screenshot("certificate-picker-for-a-sign.png");
    await pick(other.window, "Ada Picker");
    assert.deepEqual((await other.outcome).error, {
      name: "ConnectionError",
      reason: "not-chosen",
      message: "The user did not choose this certificate for this site, so it was not used.",
    });
    // With Ada's certificate the sign window opens at once.
    await freshHost();
    const signed = await signInWindow(certificateSN(CERTIFICATES.ada.serial), "Mine");
    assert.equal(await verifiedInPage(issued.ada.der.toString("base64"), "Mine", signed.signature), true);

    // The console works this way too: the listing is refused, the choice made in the extension's window.
    await page.click("#list-certificates");
    await page.waitFor("#certificates-private");
    assert.equal(await page.isVisible("#list-certificates"), false);
    const fromConsole = await session.choiceWindowRaisedBy(() => page.click("#choose-certificate"));
    await pick(fromConsole.window, "Ada Picker");
    await page.waitFor(`#certificates tr[data-serial-number="${CERTIFICATES.ada.serial}"]`);
    await page.waitFor("body:not([data-busy])");
    const consoleSign = await session.signWindowRaisedBy(() => page.click("#sign"));
    await answer(consoleSign.window, () => clickWhenReady(consoleSign.window, "#submit"));
    await page.waitFor('#verification[data-state="valid"]');
    await accessibility.check(page, "the console, a certificate chosen in the extension's window");
    await page.screenshot("certificate-picker-console.png");
  } finally {
    await session.clearPolicy();
  }
});
