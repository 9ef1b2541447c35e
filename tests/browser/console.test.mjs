// The token console driven end to end in a headless browser (Chromium or
// Firefox, as support/browser.mjs says) with the sample extension, on a
// SoftHSM2 token of its own: enrolment with a certificate from
// a test CA, signatures the page checks itself, the certificate viewer,
// deleting a certificate and orphan keys (the test answers the extension's
// questions), changing the PIN and formatting the blank slot. Every state of
// the page is checked with axe-core, and each section is photographed into
// the artifacts folder.
//
// The page is reached only through the browser's page driver
// (support/page-driver.mjs).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import { SOFTHSM, installHost, makeCa, makeToken, makeWorkspace, run } from "./support/environment.mjs";
import { answer, browserDriver, clickWhenReady, focusedOn } from "./support/browser.mjs";
import { openConsole } from "./support/console-page.mjs";
import { AccessibilityRecord } from "./support/page-driver.mjs";

const TOKEN_LABEL = "Vantrel console test";
const SO_PIN = "so-pin-2468";
const USER_PIN = "pin-1357";
const NEW_PIN = "pin-97531";
const STEP = { timeout: 60000 };

const browser = await browserDriver();
const space = makeWorkspace("console");
const accessibility = new AccessibilityRecord("console");
let consolePage;
let session;
let page;
let site;
let tokenSN;
let ca;

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: SO_PIN, userPin: USER_PIN });
  installHost(space, SOFTHSM);
  ca = makeCa(space.file("ca"), "Vantrel Console Test CA");
  consolePage = await openConsole(browser, space);
  ({ site, session, page } = consolePage);
  // Here the PINs are typed in the page, through its switch for development;
  // pin-window.test.mjs drives the console as it is by default, with the PINs
  // typed in the extension's window.
  await page.check("#pin-in-page");
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await consolePage?.close("console-last.png");
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 60000 });

/** Waits until no step of the page is running. */
function idle() {
  return page.waitFor("body:not([data-busy])");
}

/** axe-core on the page as it is: no serious or critical violation. */
function accessible(state) {
  return accessibility.check(page, `the page ${state}`);
}

async function notice() {
  await idle();
  return page.text("#notice");
}

/** Clicks `selector`, which makes the page ask first; answers the page's question yes and resolves with the extension's window. */
async function confirmedInPageThenAskedByExtension(selector, title) {
  await page.click(selector);
  await page.waitFor("#confirm[open]");
  await page.waitForFocus("#confirm-no");
  assert.equal(await page.text("#confirm-title"), title);
  return session.questionRaisedBy(() => page.click("#confirm-yes"));
}

async function extensionSaysYes(raised, question) {
  const { window } = raised;
  assert.equal(await window.text("#title"), question);
  await focusedOn(window, "#no");
  await answer(window, () => clickWhenReady(window, "#yes"));
}

async function logIn(pin, mode = "write") {
  await page.fill("#pin", pin);
  await page.check(`input[name="mode"][value="${mode}"]`);
  await page.click("#login");
  await idle();
}

/** Clicks the console's Sign button and signs in the extension's window; resolves with what the window showed as the text. */
async function signConfirmed() {
  const { window } = await session.signWindowRaisedBy(() => page.click("#sign"));
  const shown = await window.text("#text");
  await answer(window, () => clickWhenReady(window, "#submit"));
  await idle();
  return shown;
}

function certificateRow(serial) {
  return `#certificates tr[data-serial-number="${serial}"]`;
}

test("the console finds the host, shows its info and lists the tokens, the blank one too", STEP, async () => {
  await page.waitFor("#status.good");
  assert.equal(await page.text("#info-host"), "1.4");
  assert.equal(await page.text("#info-driver"), "libsofthsm2.so");
  assert.equal(await page.text("#info-login"), "Not logged in.");
  await accessible("at start");
  await page.click("#list-tokens");
  await idle();
  assert.equal(await page.count("#tokens tbody tr"), 2);
  tokenSN = await page.attribute('#tokens tbody tr:not([data-token-sn=""])', "data-token-sn");
  assert.match(tokenSN, /^[0-9a-f]{16}$/);
  assert.match(await page.text(`#tokens tr[data-token-sn="${tokenSN}"]`), new RegExp(TOKEN_LABEL));
  assert.match(await page.text('#tokens tr[data-token-sn=""]'), /blank token, not initialised/);
  assert.equal(await page.isChecked(`#tokens tr[data-token-sn="${tokenSN}"] input`), true);
  await page.waitForFocus(`#tokens tr[data-token-sn="${tokenSN}"] input`);
});

test("a wrong PIN is explained, with the host's own words at hand", STEP, async () => {
  await logIn("wrong-pin-1");
  await page.waitFor("#message");
  assert.equal(await page.text("#message-title"), "Incorrect PIN");
  assert.equal(await page.text("#message-raw"), "Incorrect PIN  (rc=160)");
  await page.waitForFocus("#message");
  await page.click("#message summary");
  await accessible("showing an error");
  await page.screenshot("console-error.png");
});

test("logging in with write access shows the login in the host info, and moves on to the certificates", STEP, async () => {
  await logIn(USER_PIN);
  assert.equal(await page.isVisible("#message"), false);
  assert.match(await page.text("#login-state"), /^Logged in to “Vantrel console test” .*read and write\.$/);
  assert.match(await page.text("#info-login"), new RegExp(`^Token ${tokenSN} \\(SoftHSM v2`));
  await page.waitForFocus("#list-certificates");
  await page.click("#list-certificates");
  await idle();
  assert.equal(await page.isVisible("#no-certificates"), true);
  await accessible("logged in, no certificates");
  await page.screenshot("console-tokens.png");
});

// One round of enrolment: a key pair with its request, the request issued by the CA, the certificate handed back.
async function enrol(serial, subject, handBack) {
  await page.click("#generate-keys");
  await idle();
  await page.waitForFocus("#download-csr");
  const request = await page.download("#download-csr");
  assert.equal(request.name, "certification-request.pem");
  assert.equal(request.text, await page.value("#csr-pem"));
  assert.match(await page.text("#csr-summary"), /RSA, 2048 bits.*“C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User”/);
  const base64 = request.text.replace(/-----[A-Z ]+-----|\s/g, "");
  const issued = ca.issue(base64, { serial, subject });
  await handBack(issued);
  await page.click("#import-certificate");
  await idle();
  assert.match(await page.text("#notice"), new RegExp(`Imported the certificate for “${subject.slice(1)}” \\(serial number ${serial}\\)`));
  await page.waitForFocus(`${certificateRow(serial)} input`);
  return issued;
}

let issued;

test("enrolment: the request is shown and downloaded, the certificate comes back as a DER file or pasted PEM and is listed", STEP, async () => {
  issued = await enrol("00c0ffee01", "/CN=Console User One", (certificate) => page.setFile("#certificate-file", "user.der", certificate.der));
  await accessible("after an enrolment");
  await page.screenshot("console-enrolment.png");
  await enrol("00c0ffee02", "/CN=Console User Two", (certificate) => page.fill("#certificate-text", certificate.pem));
  assert.equal(await page.count("#certificates tbody tr"), 2);
  const row = await page.text(certificateRow("00c0ffee01"));
  for (const shown of ["CN=Console User One", "O=Vantrel, CN=Vantrel Console Test CA", "00c0ffee01", "01/01/2025 to 01/01/2035"]) {
    assert.ok(row.includes(shown), `${shown} in ${row}`);
  }
});

test("a file that is not a certificate is explained before anything is sent", STEP, async () => {
  await page.setFile("#certificate-file", "notes.txt", "Dear customer, …");
  await page.click("#import-certificate");
  await idle();
  assert.equal(await page.text("#message-title"), "This is neither a PEM certificate nor base64 of one.");
  await page.setFile("#certificate-file", "user.der", issued.der);
  await page.click("#import-certificate");
  await page.waitFor("#confirm[open]");
  assert.match(await page.text("#confirm-title"), /already holds a certificate with serial number 00c0ffee01/);
  await page.press("Escape");
  assert.equal(await notice(), "Nothing was imported.");
  assert.equal(await page.count("#certificates tbody tr"), 2);
});

test("a certificate is shown in full with its PEM text, and downloads", STEP, async () => {
  await page.click(`${certificateRow("00c0ffee01")} button[aria-label^="View"]`);
  await idle();
  await page.waitForFocus("#certificate-view-heading");
  assert.equal(await page.value("#certificate-pem"), issued.pem.replace(/\r/g, ""));
  const details = await page.text("#certificate-details");
  for (const shown of ["CN=Console User One", "Vantrel Console Test CA", "2025-01-01T00:00:00.000Z", "RSA, 2048 bits"]) {
    assert.ok(details.includes(shown), `${shown} in ${details}`);
  }
  const file = await page.download("#download-certificate");
  assert.equal(file.name, "certificate-00c0ffee01.pem");
  assert.equal(file.text, issued.pem.replace(/\r/g, ""));
  await accessible("showing a certificate");
  await page.screenshot("console-certificates.png");
});

test("the console works from the keyboard: log in, list, choose a certificate", STEP, async () => {
  await page.focus("#pin");
  await page.type(USER_PIN);
  await page.press("Enter");
  await idle();
  assert.match(await page.text("#login-state"), /^Logged in to “Vantrel console test”/);
  await page.waitForFocus("#list-certificates");
  await page.press("Enter");
  await idle();
  // The certificate imported last is still the chosen one.
  await page.waitForFocus(`${certificateRow("00c0ffee02")} input`);
  await page.press("ArrowUp");
  assert.equal(await page.isChecked(`${certificateRow("00c0ffee01")} input`), true);
  assert.match(await page.text("#signing-with"), /“CN=Console User One”/);
  await page.press("ArrowDown");
  assert.match(await page.text("#signing-with"), /“CN=Console User Two”/);
});

test("a text is signed on the token and the page checks the signature: valid, and not valid for a changed text", STEP, async () => {
  await page.check(`${certificateRow("00c0ffee01")} input`);
  assert.match(await page.text("#signing-with"), /“CN=Console User One” \(serial number 00c0ffee01\)/);
  const text = "Ich stimme zu — 10 € \"quoted\"";
  await page.fill("#payload", text);
  assert.equal(await signConfirmed(), text);
  await page.waitForFocus("#verification");
  assert.equal(await page.attribute("#verification", "data-state"), "valid");
  assert.equal(await page.text("#verification"),
    "Valid: the signature was made over exactly this text with the key of “CN=Console User One” (RSA PKCS#1 v1.5 with SHA-256).");
  // openssl agrees.
  const signature = Buffer.from((await page.text("#signature")).trim(), "base64");
  fs.writeFileSync(space.file("signature.bin"), signature);
  fs.writeFileSync(space.file("signed.txt"), text);
  fs.writeFileSync(space.file("user.pem"), issued.pem);
  const publicKey = run("openssl", ["x509", "-in", space.file("user.pem"), "-pubkey", "-noout"]);
  fs.writeFileSync(space.file("public.pem"), publicKey);
  assert.match(run("openssl", ["dgst", "-sha256", "-verify", space.file("public.pem"), "-signature", space.file("signature.bin"), space.file("signed.txt")]), /Verified OK/);
  await accessible("with a valid signature");
  await page.screenshot("console-signing.png");

  await page.fill("#check-text", text.replace("10 €", "100 €"));
  await page.click("#check");
  await idle();
  assert.equal(await page.attribute("#verification", "data-state"), "invalid");
  assert.equal(await page.text("#verification"), "Not valid: the signature was not made over this text with the key of “CN=Console User One”.");
  await accessible("with a signature that is not valid");

  // The text as it was signed checks valid again.
  await page.fill("#check-text", text);
  await page.click("#check");
  await idle();
  assert.equal(await page.attribute("#verification", "data-state"), "valid");
});

test("a JSON object is signed; the page says why it does not check that signature", STEP, async () => {
  await page.check('input[name="payload-kind"][value="object"]');
  const sent = await page.count("#log li");
  await page.fill("#payload-object", "[1, 2]");
  await page.click("#sign");
  await idle();
  assert.equal(await page.text("#message-title"), "The JSON must be an object");
  assert.equal(await page.count("#log li"), sent, "nothing was sent to the host");

  await page.fill("#payload-object", '{"order": {"id": "42", "amount": "10.00"}}');
  assert.equal(await signConfirmed(), "<order><amount>10.00</amount><id>42</id></order>");
  assert.equal(Buffer.from((await page.text("#signature")).trim(), "base64").length, 256);
  assert.equal(await page.isVisible("#object-note"), true);
  assert.equal(await page.isVisible("#verification"), false);
  assert.equal(await page.isVisible("#check-form"), false);
  await page.waitForFocus("#object-note");
  await accessible("with an object's signature");
  await page.check('input[name="payload-kind"][value="text"]');
});

test("deleting a certificate is asked by the page and by the extension; a refusal in the page deletes nothing", STEP, async () => {
  const deleteTwo = `${certificateRow("00c0ffee02")} button[aria-label^="Delete"]`;
  await page.click(deleteTwo);
  await page.waitFor("#confirm[open]");
  await page.waitForFocus("#confirm-no");
  await accessible("asking before deleting a certificate");
  await page.screenshot("console-confirm-delete.png");
  await page.press("Escape");
  assert.equal(await notice(), "Nothing was deleted.");
  assert.equal(await page.count("#certificates tbody tr"), 2);

  const raised = await confirmedInPageThenAskedByExtension(deleteTwo,
    "Delete the certificate “CN=Console User Two” (serial number 00c0ffee02)?");
  await extensionSaysYes(raised, `Let ${site} delete a certificate from the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`);
  assert.match(await notice(), /The certificate “CN=Console User Two” \(serial number 00c0ffee02\) was deleted\./);
  assert.equal(await page.count("#certificates tbody tr"), 1);
});

test("orphan keys are listed, public and private, and deleted after both questions", STEP, async () => {
  await page.click("#list-orphan-keys");
  await idle();
  assert.equal(await page.isVisible("#no-orphan-keys"), true);
  // A key pair without its certificate.
  await page.click("#generate-keys");
  await idle();
  await page.click("#list-orphan-keys");
  await idle();
  assert.equal(await page.count('#orphan-keys tr[data-key-type="private"]'), 1);
  assert.equal(await page.count('#orphan-keys tr[data-key-type="public"]'), 1);
  const privateId = await page.attribute('#orphan-keys tr[data-key-type="private"]', "data-key-id");
  assert.equal(await page.attribute('#orphan-keys tr[data-key-type="public"]', "data-key-id"), privateId);
  await accessible("listing orphan keys");
  await page.screenshot("console-orphan-keys.png");

  for (const keyType of ["private", "public"]) {
    const raised = await confirmedInPageThenAskedByExtension(`#delete-orphan-${keyType}`,
      `Delete every orphan ${keyType} key on the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`);
    await extensionSaysYes(raised, `Let ${site} delete keys from the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`);
    assert.equal(await notice(), `Deleted 1 orphan ${keyType} key.`);
  }
  assert.equal(await page.isVisible("#no-orphan-keys"), true);
  // The enrolled certificate kept its keys: it still signs.
  await page.fill("#payload", "still signing");
  await signConfirmed();
  assert.equal(await page.attribute("#verification", "data-state"), "valid");
});

test("changing the PIN: checked in the page first, then the login ends and the new PIN logs in", STEP, async () => {
  const sent = await page.count("#log li");
  await page.fill("#old-pin", USER_PIN);
  await page.fill("#new-pin", NEW_PIN);
  await page.fill("#new-pin-again", NEW_PIN + "x");
  await page.click("#change-pin");
  await idle();
  assert.equal(await page.text("#message-title"), "The two new PINs differ");
  assert.equal(await page.count("#log li"), sent, "nothing was sent to the host");

  await page.fill("#old-pin", USER_PIN);
  await page.fill("#new-pin", NEW_PIN);
  await page.fill("#new-pin-again", NEW_PIN);
  await page.click("#change-pin");
  assert.match(await notice(), /^The PIN of the token “Vantrel console test” .* was changed\. Log in again with the new PIN\.$/);
  assert.equal(await page.text("#login-state"), "Not logged in.");
  assert.equal(await page.text("#info-login"), "Not logged in.");
  await page.waitForFocus("#pin");
  await logIn(USER_PIN);
  assert.equal(await page.text("#message-title"), "Incorrect PIN");
  await logIn(NEW_PIN, "read");
  assert.match(await page.text("#login-state"), /read only\.$/);
});

test("formatting the blank slot: the page and the extension name it; it comes back as a new token with the new PIN", STEP, async () => {
  await page.check('#tokens tr[data-token-sn=""] input');
  await page.fill("#admin-pin", "so-pin-new");
  await page.fill("#token-pin", "fresh-pin-1");
  await page.fill("#token-pin-again", "fresh-pin-1");
  const raised = await confirmedInPageThenAskedByExtension("#format", "Format the blank SoftHSM v2 (not initialised)?");
  await extensionSaysYes(raised, `Let ${site} format the blank SoftHSM v2 (not initialised)?`);
  const said = await notice();
  const formatted = /^Formatted: it is now the token “QARN Token” \(serial number ([0-9a-f]{16})\)\. Log in with its new PIN\.$/.exec(said);
  assert.ok(formatted, said);
  assert.equal(await page.count("#tokens tbody tr"), 3, "the formatted token, the test token and a new blank slot");
  assert.equal(await page.isChecked(`#tokens tr[data-token-sn="${formatted[1]}"] input`), true);
  await page.screenshot("console-format.png");
  await logIn("fresh-pin-1");
  assert.match(await page.text("#info-login"), new RegExp(`^Token ${formatted[1]} `));
  await page.click("#list-certificates");
  await idle();
  assert.equal(await page.isVisible("#no-certificates"), true);
  await accessible("after formatting");
});

test("at phone width every section is usable and accessible", STEP, async () => {
  await page.setViewport(390, 844);
  await page.click("#list-tokens");
  await idle();
  await accessible("at phone width");
  await page.screenshot("console-phone.png");
  await page.setViewport(1100, 900);
});
