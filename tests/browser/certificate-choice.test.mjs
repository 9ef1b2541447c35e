// The certificate choice from the background's side
// (background/certificate-choice.js), run in Node against stand-ins for the
// browser's windows, the choice window's port and the site's host, with
// certificates an openssl CA of the test's own issued: what a person is
// shown of each certificate, which ones may be picked, what the page gets
// (the one picked, nothing of the others), the wait for a token, the login
// of forceLogon, and the choice a sign needs when pages may not list the
// certificates. The browser tests show the window itself.
import { after, beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { EXTENSION, browser, closeWindow, nextWindow, standInHost, tick } from "./support/extension-stand-ins.mjs";
import { makeCa, run } from "./support/environment.mjs";

const ORIGIN = "https://sign.example";
const { Attention } = await import(path.join(EXTENSION, "background", "attention.js"));
const { WindowBroker } = await import(path.join(EXTENSION, "background", "window-broker.js"));
const { candidatesOf, chosenFor, requireChosen, serveSelectCertificate } = await import(
  path.join(EXTENSION, "background", "certificate-choice.js")
);
const { certificateFields, base64Bytes } = await import(path.join(EXTENSION, "shared", "certificate-fields.js"));

const work = fs.mkdtempSync(path.join(os.tmpdir(), "vantrel-choice-"));
after(() => fs.rmSync(work, { recursive: true, force: true }));
const ca = makeCa(path.join(work, "ca"), "Vantrel Choice Test CA");

// A certificate from the test CA for a new key, as base64 of its DER.
function issued(name, { serial, subject, notBefore, notAfter }) {
  run("openssl", ["req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout", path.join(work, `${name}.key`),
    "-subj", "/CN=request", "-outform", "DER", "-out", path.join(work, `${name}.csr`)]);
  const csr = fs.readFileSync(path.join(work, `${name}.csr`)).toString("base64");
  return ca.issue(csr, { serial, subject, notBefore, notAfter }).der.toString("base64");
}

const CARD = { tokenSN: "7a3f00112233aabb", tokenLabel: "Signing card", tokenModel: "SoftHSM v2", pmin: 4, pmax: 8 };
const LOCKED = { tokenSN: "10c0000000000001", tokenLabel: "Locked card", tokenModel: "Card", pmin: 4, pmax: 8, userPinState: "locked" };
const BLANK = { tokenSN: "", tokenLabel: "", tokenModel: "SoftHSM v2", pmin: 4, pmax: 8 };

const VALID = {
  serialNumber: "00c0ffee5a17",
  subjectDN: "O=Vantrel, CN=Zoë Signer",
  issuerDN: "O=Vantrel, CN=Vantrel Choice Test CA",
  subjectAN: "",
  validFrom: "01/01/2025",
  validUntil: "01/01/2035",
  tokenSN: CARD.tokenSN,
  activationCode: "",
  certificate: issued("valid", { serial: "00c0ffee5a17", subject: "/CN=Zoë Signer/O=Vantrel", notAfter: "20350101120000Z" }),
};
const EXPIRED = {
  ...VALID,
  serialNumber: "0e",
  subjectDN: "CN=Old Signer",
  validUntil: "01/01/2024",
  certificate: issued("expired", { serial: "0e", subject: "/CN=Old Signer", notBefore: "20200101000000Z", notAfter: "20240101000000Z" }),
};
const FUTURE = {
  ...VALID,
  serialNumber: "0f",
  subjectDN: "CN=Future Signer",
  certificate: issued("future", { serial: "0f", subject: "/CN=Future Signer", notBefore: "20900101000000Z", notAfter: "20910101000000Z" }),
};
const ON_LOCKED = { ...VALID, serialNumber: "1c", tokenSN: LOCKED.tokenSN, certificate: issued("locked", { serial: "1c", subject: "/CN=Locked Signer" }) };

let attention;
let broker;
let host;
let certificates; // what the stand-in host lists
let afresh; // how many times the site's host was started afresh

beforeEach(async () => {
  browser.created = [];
  browser.failToOpen = false;
  await globalThis.chrome.storage.session.remove(Object.keys(globalThis.chrome.storage.session.data));
  attention = new Attention();
  broker = new WindowBroker(attention);
  certificates = [VALID, EXPIRED, FUTURE];
  afresh = 0;
  host = standInHost({
    listTokens: () => ({ action: "listTokens", tokens: [CARD, LOCKED, BLANK] }),
    listCertificates: (request) => ({
      action: "listCertificates",
      certificates: certificates.map((c) => {
        const listed = { ...c };
        if (request.includeCertificate !== true) {
          delete listed.certificate;
        }
        return listed;
      }),
    }),
    login: (request) => ({ action: "login", tokenSN: request.tokenSN }),
  });
});

function contextFor(signal) {
  return {
    origin: ORIGIN,
    broker,
    signal,
    exchange: host.exchange,
    startAfresh: async () => {
      afresh += 1;
    },
    lookAgainMs: 10,
  };
}

function serve(work) {
  const outcome = attention.enqueue(ORIGIN, (signal) => work(contextFor(signal)));
  outcome.catch(() => {});
  return outcome;
}

async function opened(request) {
  const outcome = serve((context) => serveSelectCertificate(context, request));
  const window = await nextWindow(broker, "windows/choose.html");
  return { ...window, outcome };
}

async function until(check, what) {
  for (let i = 0; i < 500; i++) {
    if (check()) {
      return;
    }
    await new Promise((resolve) => setTimeout(resolve, 5));
  }
  assert.fail(`timed out waiting for ${what}`);
}

const CANCELLED_CHOICE = { name: "Refusal", reason: "cancelled-choice", message: "The user cancelled the certificate choice." };

test("a certificate's names and dates are read from its DER, not from the listing's text; what is not a certificate gives nothing", () => {
  const fields = certificateFields(base64Bytes(VALID.certificate));
  assert.deepEqual(fields, {
    subjectCN: "Zoë Signer",
    issuerCN: "Vantrel Choice Test CA",
    notBefore: new Date("2025-01-01T00:00:00Z"),
    notAfter: new Date("2035-01-01T12:00:00Z"),
  });
  for (const junk of [new Uint8Array([]), new Uint8Array([0x30, 0x82, 0xff]), base64Bytes("MAA="), base64Bytes(VALID.certificate).subarray(0, 200)]) {
    assert.equal(certificateFields(junk), null);
  }
});

test("each certificate as a person recognises it; only one valid now may be picked, and with forceLogon only on a token that can be logged in to", () => {
  const now = Date.UTC(2030, 5, 1);
  const shown = candidatesOf([CARD, LOCKED, BLANK], [VALID, EXPIRED, FUTURE, ON_LOCKED, { ...VALID, tokenSN: "" }, { ...VALID, certificate: undefined }], { now });
  assert.deepEqual(
    shown.map((c) => [c.subject, c.issuer, c.validUntil, c.token, c.validity, c.pickable, c.note]),
    [
      ["Zoë Signer", "Vantrel Choice Test CA", "2035-01-01", "Signing card", "valid", true, ""],
      ["Old Signer", "Vantrel Choice Test CA", "2024-01-01", "Signing card", "expired", false, "Expired on 2024-01-01: it cannot be used."],
      ["Future Signer", "Vantrel Choice Test CA", "2091-01-01", "Signing card", "not-yet-valid", false, "Not valid before 2090-01-01: it cannot be used yet."],
      ["Locked Signer", "Vantrel Choice Test CA", "2035-01-01", "Locked card", "valid", true, ""],
    ],
    "the blank token's and a certificate without its DER are left out",
  );
  assert.deepEqual(shown[0].record.slice(0, 6), [
    ["Subject", "O=Vantrel, CN=Zoë Signer"],
    ["Alternative names", "none"],
    ["Issuer", "O=Vantrel, CN=Vantrel Choice Test CA"],
    ["Serial number", "00c0ffee5a17"],
    ["Valid from", "2025-01-01 00:00:00 UTC"],
    ["Valid until", "2035-01-01 12:00:00 UTC"],
  ]);
  assert.equal(shown[0].certificateSN, "020600c0ffee5a17");
  const forLogin = candidatesOf([CARD, LOCKED], [ON_LOCKED], { now, forceLogon: true });
  assert.deepEqual([forLogin[0].pickable, forLogin[0].note], [false, "The PIN of its token is locked: you could not log in to it."]);
});

test("the user picks a certificate: the page gets that one alone, its certificateSN and token; the choice is kept for the site", async () => {
  const { port, view, outcome } = await opened({ action: "selectCertificate", forceLogon: false });
  assert.equal(view.title, `${ORIGIN} wants to know which certificate to use`);
  assert.deepEqual([view.state, view.site, view.local, view.forceLogon, view.signing], ["choose", ORIGIN, false, false, null]);
  assert.deepEqual(view.certificates.map((c) => [c.subject, c.pickable]), [["Zoë Signer", true], ["Old Signer", false], ["Future Signer", false]]);
  assert.ok(view.certificates.every((c) => !("certificate" in c)), "the window is not handed the certificates themselves");
  // A certificate that may not be picked, or one that is not listed, is not taken.
  await port.say({ type: "choose", id: view.certificates[1].id });
  await port.say({ type: "choose", id: "nothing/00" });
  assert.equal(port.last().type, "show");
  await port.say({ type: "choose", id: view.certificates[0].id });
  assert.deepEqual(await outcome, {
    action: "selectCertificate",
    certificate: VALID.certificate,
    certificateSN: "020600c0ffee5a17",
    tokenSN: CARD.tokenSN,
  });
  assert.deepEqual(port.last(), { type: "done" });
  const kept = await chosenFor(ORIGIN);
  assert.deepEqual([kept.tokenSN, kept.serialNumber, kept.certificateSN], [CARD.tokenSN, "00c0ffee5a17", "020600c0ffee5a17"]);
  assert.equal(await chosenFor("https://other.example"), null);
  assert.deepEqual(host.changes(), [], "only looked things up, logged in to nothing");
});

test("Cancel, closing the window, or a window that cannot open: the cancelled-choice refusal, and nothing is kept", async () => {
  const ways = [
    ["Cancel or Escape", ({ port }) => port.say({ type: "cancel" })],
    ["the window's page closed", ({ port }) => port.close()],
    ["the window closed", ({ windowId }) => closeWindow(windowId)],
  ];
  for (const [way, end] of ways) {
    const window = await opened({ action: "selectCertificate", forceLogon: true });
    await end(window);
    await assert.rejects(window.outcome, CANCELLED_CHOICE, way);
  }
  browser.failToOpen = true;
  await assert.rejects(serve((context) => serveSelectCertificate(context, { action: "selectCertificate", forceLogon: false })), CANCELLED_CHOICE);
  assert.equal(await chosenFor(ORIGIN), null);
  assert.deepEqual(host.changes(), []);
});

test("a forceLogon that is missing or not a boolean gets the host's decoding error, and no window", async () => {
  for (const forceLogon of [undefined, "true", 1, null]) {
    const request = { action: "selectCertificate", ...(forceLogon === undefined ? {} : { forceLogon }) };
    assert.deepEqual(await serve((context) => serveSelectCertificate(context, request)), {
      action: "selectCertificate",
      error: "Missing mandatory JSON object boolean property forceLogon",
    });
  }
  assert.deepEqual(browser.created, []);
  assert.deepEqual(host.sent, []);
});

test("with forceLogon the user logs in to the picked certificate's token in the PIN window before the page gets the certificate", async () => {
  const { port, view, outcome } = await opened({ action: "selectCertificate", forceLogon: true });
  assert.equal(view.forceLogon, true);
  const pinWindow = nextWindow(broker, "windows/pin.html");
  await port.say({ type: "choose", id: view.certificates[0].id });
  const pin = await pinWindow;
  assert.deepEqual(pin.view.facts, [["Action", "Log in, to read only"], ["Token", `the token “Signing card” (serial number ${CARD.tokenSN})`]]);
  await pin.port.say({ type: "submit", pins: { pin: "1234" } });
  assert.equal((await outcome).certificateSN, "020600c0ffee5a17");
  assert.deepEqual(host.changes(), [{ action: "login", tokenSN: CARD.tokenSN, mode: "read", pin: "1234" }]);

  // A login the token refuses for good is the page's error; a cancelled one its refusal.
  host.answers.login = (request) => ({ action: "login", tokenSN: request.tokenSN, error: "Locked PIN (rc=164)" });
  const refused = await opened({ action: "selectCertificate", forceLogon: true });
  const againWindow = nextWindow(broker, "windows/pin.html");
  await refused.port.say({ type: "choose", id: refused.view.certificates[0].id });
  await (await againWindow).port.say({ type: "submit", pins: { pin: "1234" } });
  assert.deepEqual(await refused.outcome, { action: "selectCertificate", error: "Locked PIN (rc=164)" });
  const cancelled = await opened({ action: "selectCertificate", forceLogon: true });
  const cancelledWindow = nextWindow(broker, "windows/pin.html");
  await cancelled.port.say({ type: "choose", id: cancelled.view.certificates[0].id });
  await (await cancelledWindow).port.say({ type: "cancel" });
  await assert.rejects(cancelled.outcome, { reason: "cancelled" });
});

test("no token holding a certificate: the window asks for one and looks again, the site's host started afresh each time, and goes on once one is there", async () => {
  certificates = [];
  const { port, outcome } = await opened({ action: "selectCertificate", forceLogon: false });
  const first = port.received[0].view;
  assert.deepEqual([first.state, first.looks, first.certificates], ["insert", 0, []]);
  await until(() => port.view().looks >= 2, "two more looks");
  assert.equal(port.view().state, "insert");
  assert.ok(afresh >= 2, "the host was started afresh before each look");
  certificates = [VALID];
  await until(() => port.view().state === "choose", "the token to be found");
  const looked = afresh;
  await tick();
  await new Promise((resolve) => setTimeout(resolve, 50));
  assert.equal(afresh, looked, "no more looking once a certificate is there");
  await port.say({ type: "choose", id: port.view().certificates[0].id });
  assert.equal((await outcome).tokenSN, CARD.tokenSN);
});

test("a token that never comes: the user cancels, and the looking stops with the request", async () => {
  certificates = [];
  const { port, outcome } = await opened({ action: "selectCertificate", forceLogon: false });
  await until(() => port.view().looks >= 1, "a look");
  await port.say({ type: "cancel" });
  await assert.rejects(outcome, CANCELLED_CHOICE);
  const looked = afresh;
  await new Promise((resolve) => setTimeout(resolve, 50));
  assert.equal(afresh, looked, "no look after the request ended");
});

test("a sign while pages may not list certificates: the certificate chosen for the site signs at once; another opens the choice, and signs only if picked", async () => {
  const sign = (certificateSN) => serve((context) => requireChosen(context, certificateSN));
  // Nothing chosen yet: the choice opens; picking another refuses the sign.
  const signing = sign("020600C0FFEE5A17");
  const window = await nextWindow(broker, "windows/choose.html");
  assert.equal(window.view.signing, "00c0ffee5a17");
  certificates = [VALID, { ...VALID, serialNumber: "77", certificate: issued("other", { serial: "77", subject: "/CN=Other" }) }];
  await window.port.say({ type: "choose", id: window.view.certificates[0].id });
  assert.equal(await signing, CARD.tokenSN);
  // Chosen now: no window.
  assert.equal(await sign("020600c0ffee5a17"), CARD.tokenSN);
  assert.equal(browser.created.length, 1);
  const other = sign("020177");
  const again = await nextWindow(broker, "windows/choose.html");
  await again.port.say({ type: "choose", id: again.view.certificates[0].id });
  await assert.rejects(other, {
    reason: "not-chosen",
    message: "The user did not choose this certificate for this site, so it was not used.",
  });
});

test("a host that cannot list the tokens or the certificates: the page gets its error, at once or when it comes while the window waits", async () => {
  host.answers.listTokens = { action: "listTokens", error: "Failed to initalise PKCS11 API" };
  assert.deepEqual(await serve((context) => serveSelectCertificate(context, { action: "selectCertificate", forceLogon: false })), {
    action: "selectCertificate",
    error: "Failed to initalise PKCS11 API",
  });
  assert.deepEqual(browser.created, [], "no window to wait in");

  host.answers.listTokens = { action: "listTokens", tokens: [CARD] };
  certificates = [];
  const { port, outcome } = await opened({ action: "selectCertificate", forceLogon: false });
  host.answers.listCertificates = { action: "listCertificates", error: "Error retrieving the token slots (rc=48)" };
  assert.deepEqual(await outcome, { action: "selectCertificate", error: "Error retrieving the token slots (rc=48)" });
  assert.deepEqual(port.last(), { type: "done" });
});
