// web/vantrel.js in Node, against a stand-in for the page's window and the
// extension's content script: the request each function sends, what it
// refuses to send, and how replies, errors and refusals come back.
import { beforeEach, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { SOURCE, hostActions } from "./support/environment.mjs";

const ORIGIN = "http://127.0.0.1:8000";

// What the stand-in extension received, and how it answers: a function of the
// request giving { reply } or { error, reason }.
let sent = [];
let answer = (request) => ({ reply: { action: request.action } });

const listeners = [];
function deliver(data) {
  for (const listener of listeners) {
    listener({ source: globalThis.window, origin: ORIGIN, data: structuredClone(data) });
  }
}
globalThis.window = {
  location: { origin: ORIGIN },
  addEventListener(type, listener) {
    if (type === "message") {
      listeners.push(listener);
    }
  },
  postMessage(data, targetOrigin) {
    assert.equal(targetOrigin, ORIGIN);
    setTimeout(() => {
      deliver(data);
      if (data.source !== "vantrel-page") {
        return;
      }
      if (data.type === "hello") {
        deliver({ source: "vantrel-extension", type: "ready", version: "1.4" });
      } else if (data.type === "request") {
        sent.push(data.request);
        const answered = answer(data.request);
        deliver({ source: "vantrel-extension", type: "reply" in answered ? "reply" : "error", id: data.id, ...answered });
      }
    });
  },
};
const library = await import(path.join(SOURCE, "web", "vantrel.js"));
const { Vantrel, default: asDefault, HostError, ConnectionError } = library;

beforeEach(() => {
  sent = [];
  answer = (request) => ({ reply: { action: request.action } });
});

test("there is one function per action of the host, and the module's default export is the same object", () => {
  const actions = hostActions();
  assert.equal(actions.length, 14);
  assert.deepEqual([...Vantrel.ACTIONS].sort(), [...actions].sort());
  for (const action of actions) {
    assert.equal(typeof Vantrel[action], "function", action);
  }
  assert.equal(asDefault, Vantrel);
  assert.ok(Object.isFrozen(Vantrel));
});

test("each function sends its action with exactly the members given", async () => {
  const cases = [
    [() => Vantrel.info(), { action: "info" }],
    [() => Vantrel.info({ port: "p1" }), { action: "info", port: "p1" }],
    [() => Vantrel.listTokens(), { action: "listTokens" }],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "1234" }), { action: "login", tokenSN: "7a3f", pin: "1234" }],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "", mode: "write" }), { action: "login", tokenSN: "7a3f", pin: "", mode: "write" }],
    [() => Vantrel.selectCertificate({ forceLogon: false }), { action: "selectCertificate", forceLogon: false }],
    [() => Vantrel.listCertificates(), { action: "listCertificates" }],
    [() => Vantrel.listCertificates({ tokenSN: "" }), { action: "listCertificates", tokenSN: "" }],
    [() => Vantrel.getCertificate({ certificateSN: "020101" }), { action: "getCertificate", certificateSN: "020101" }],
    [() => Vantrel.sign({ certificateSN: "020101", payload: "I agree" }), { action: "sign", certificateSN: "020101", payload: "I agree" }],
    [() => Vantrel.sign({ certificateSN: "020101", payload: "I agree", pin: "1234" }),
      { action: "sign", certificateSN: "020101", payload: "I agree", pin: "1234" }],
    [() => Vantrel.sign({ certificateSN: "020101", payload: { order: { id: "42" } } }),
      { action: "sign", certificateSN: "020101", payload: { order: { id: "42" } } }],
    [() => Vantrel.changePIN({ tokenSN: "7a3f", oldPIN: "1", newPIN: "2" }), { action: "changePIN", tokenSN: "7a3f", oldPIN: "1", newPIN: "2" }],
    [() => Vantrel.formatToken({ tokenSN: "", tokenPIN: "1234" }), { action: "formatToken", tokenSN: "", tokenPIN: "1234" }],
    [() => Vantrel.formatToken({ tokenSN: "7a3f", tokenPIN: "1234", adminPIN: "5678" }),
      { action: "formatToken", tokenSN: "7a3f", tokenPIN: "1234", adminPIN: "5678" }],
    [() => Vantrel.deleteCertificate({ certificateSN: "020101" }), { action: "deleteCertificate", certificateSN: "020101" }],
    [() => Vantrel.getOrphanKeys({ tokenSN: "7a3f", keyType: "public" }), { action: "getOrphanKeys", tokenSN: "7a3f", keyType: "public" }],
    [() => Vantrel.deleteOrphanKeys({ tokenSN: "7a3f", keyType: "private" }), { action: "deleteOrphanKeys", tokenSN: "7a3f", keyType: "private" }],
    [() => Vantrel.generateKeys({ tokenSN: "7a3f" }), { action: "generateKeys", tokenSN: "7a3f", result: "csr" }],
    [() => Vantrel.generateKeys({ tokenSN: "7a3f", algorithm: "EC-P384" }),
      { action: "generateKeys", tokenSN: "7a3f", result: "csr", algorithm: "EC-P384" }],
    [() => Vantrel.importCertificate({ certificate: "MIIB" }), { action: "importCertificate", certificate: "MIIB" }],
    // The extension asks for the PINs: the request carries none.
    [() => Vantrel.login({ tokenSN: "7a3f", pinPrompt: true, mode: "write" }), { action: "login", tokenSN: "7a3f", mode: "write", pinPrompt: true }],
    [() => Vantrel.changePIN({ tokenSN: "7a3f", pinPrompt: true }), { action: "changePIN", tokenSN: "7a3f", pinPrompt: true }],
    [() => Vantrel.formatToken({ tokenSN: "", pinPrompt: true }), { action: "formatToken", tokenSN: "", pinPrompt: true }],
    [() => Vantrel.sign({ certificateSN: "020101", payload: "I agree", pinPrompt: true }),
      { action: "sign", certificateSN: "020101", payload: "I agree", pinPrompt: true }],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "1234", pinPrompt: false }), { action: "login", tokenSN: "7a3f", pin: "1234", pinPrompt: false }],
    // Members the action does not have are left out.
    [() => Vantrel.listTokens({ tokenSN: "7a3f", pin: "1234", pinPrompt: true }), { action: "listTokens" }],
  ];
  for (const [call, expected] of cases) {
    sent = [];
    const reply = await call();
    assert.deepEqual(sent, [expected]);
    assert.deepEqual(reply, { action: expected.action });
  }
});

test("a member the host could not read is refused before anything is sent", async () => {
  const cases = [
    [() => Vantrel.login({ tokenSN: "7a3f", pin: 1234 }), "Vantrel.login: pin must be a string"],
    [() => Vantrel.login({ pin: "1234" }), "Vantrel.login: tokenSN must be a string"],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "1", mode: "rw" }), 'Vantrel.login: mode must be "read" or "write"'],
    [() => Vantrel.sign({ certificateSN: "020101", payload: ["a"] }), "Vantrel.sign: payload must be a string or a plain object"],
    [() => Vantrel.sign({ certificateSN: "020101", payload: null }), "Vantrel.sign: payload must be a string or a plain object"],
    [() => Vantrel.sign({ certificateSN: "020101" }), "Vantrel.sign: payload must be a string or a plain object"],
    [() => Vantrel.sign({ certificateSN: "020101", payload: "a", pin: 1234 }), "Vantrel.sign: pin must be a string"],
    [() => Vantrel.getOrphanKeys({ tokenSN: "7a3f", keyType: "secret" }), 'Vantrel.getOrphanKeys: keyType must be "private" or "public"'],
    [() => Vantrel.generateKeys({ tokenSN: "7a3f", result: "key" }), 'Vantrel.generateKeys: result must be "csr" or "publicKey"'],
    [() => Vantrel.generateKeys({ tokenSN: "7a3f", algorithm: "EC-P521" }),
      'Vantrel.generateKeys: algorithm must be "RSA-2048", "EC-P256" or "EC-P384"'],
    [() => Vantrel.selectCertificate({ forceLogon: "true" }), "Vantrel.selectCertificate: forceLogon must be true or false"],
    [() => Vantrel.listCertificates({ tokenSN: 7 }), "Vantrel.listCertificates: tokenSN must be a string"],
    [() => Vantrel.formatToken({ tokenSN: "", tokenPIN: "1", adminPIN: null }), "Vantrel.formatToken: adminPIN must be a string"],
    [() => Vantrel.info({ port: 7 }), "Vantrel.info: port must be a string"],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "1234", pinPrompt: true }),
      "Vantrel.login: leave pin out when pinPrompt is true: the extension asks for it"],
    [() => Vantrel.formatToken({ tokenSN: "", adminPIN: "5678", pinPrompt: true }),
      "Vantrel.formatToken: leave adminPIN out when pinPrompt is true: the extension asks for it"],
    [() => Vantrel.sign({ certificateSN: "020101", payload: "a", pin: "", pinPrompt: true }),
      "Vantrel.sign: leave pin out when pinPrompt is true: the extension asks for it"],
    [() => Vantrel.changePIN({ tokenSN: "7a3f", pinPrompt: false }), "Vantrel.changePIN: oldPIN must be a string"],
    [() => Vantrel.login({ tokenSN: "7a3f", pin: "1234", pinPrompt: "yes" }), "Vantrel.login: pinPrompt must be true or false"],
    [() => Vantrel.importCertificate("MIIB"), "Vantrel.importCertificate: the argument must be an object of request members"],
  ];
  for (const [call, message] of cases) {
    await assert.rejects(call(), { name: "TypeError", message });
  }
  assert.deepEqual(sent, []);
});

test("a reply with an error rejects with a HostError holding the whole reply; info resolves with it", async () => {
  const failed = { action: "deleteOrphanKeys", deletedPK: 0, deletedSK: 2, error: "Failed to delete 1 orphan keys", tokenSN: "7a3f" };
  answer = () => ({ reply: failed });
  const error = await Vantrel.deleteOrphanKeys({ tokenSN: "7a3f", keyType: "private" }).catch((e) => e);
  assert.ok(error instanceof HostError);
  assert.equal(error.message, "Failed to delete 1 orphan keys");
  assert.equal(error.action, "deleteOrphanKeys");
  assert.deepEqual(error.reply, failed);

  const noLogin = { action: "info", driver: "libsofthsm2.so", error: "There is no active token", host: "1.4" };
  answer = () => ({ reply: noLogin });
  assert.deepEqual(await Vantrel.info(), noLogin);
  // request() never looks at "error".
  assert.deepEqual(await Vantrel.request({ action: "anything" }), noLogin);
});

test("a refusal of the extension rejects with a ConnectionError naming its reason", async () => {
  answer = () => ({ error: "The user refused to let this site format the token.", reason: "refused" });
  const refused = await Vantrel.formatToken({ tokenSN: "", tokenPIN: "1234" }).catch((e) => e);
  assert.ok(refused instanceof ConnectionError);
  assert.equal(refused.reason, "refused");
  assert.equal(refused.message, "The user refused to let this site format the token.");

  answer = () => ({ error: "Native host has exited." });
  const gone = await Vantrel.listTokens().catch((e) => e);
  assert.deepEqual([gone.name, gone.reason, gone.message], ["ConnectionError", null, "Native host has exited."]);
});

test("two copies of the module on one page each get their own replies", async () => {
  const copy = (await import(path.join(SOURCE, "web", "vantrel.js") + "?second-copy")).Vantrel;
  assert.notEqual(copy, Vantrel);
  answer = (request) => ({ reply: { action: request.action, echo: request.port } });
  const replies = await Promise.all([Vantrel.info({ port: "first" }), copy.info({ port: "second" }), Vantrel.info({ port: "third" })]);
  assert.deepEqual(replies.map((r) => r.echo), ["first", "second", "third"]);
});

test("certificateSN turns a listed serial number into the whole DER INTEGER a request names", () => {
  const cases = [
    ["00c0ffee5a17", "020600c0ffee5a17"],
    ["01", "020101"],
    ["7F", "02017F"],
    ["ab".repeat(127), "027f" + "ab".repeat(127)],
  ];
  for (const [listed, named] of cases) {
    assert.equal(Vantrel.certificateSN(listed), named);
  }
  for (const bad of ["", "abc", "0g", "ab".repeat(128)]) {
    assert.throws(() => Vantrel.certificateSN(bad), { message: "Not a certificate serial number: " + bad });
  }
});

test("errors of the host, the browser and the extension are put in words, the host's own kept", () => {
  const cases = [
    ["Incorrect PIN  (rc=160)", "Incorrect PIN", 160],
    ["Failed to format the token (rc=182)", "The token is in use", 182],
    ["Failed to open token session (rc=225)", "The token is not recognised", 225],
    ["Failed to set token PIN (rc=162)", "The PIN is too short or too long for this token", 162],
    ["Must login to the token in write mode to be able to delete certificate", "Please log in with write access first", null],
    ["Must login before being able to sign", "Please log in first", null],
    ["Logged in to diferent token", "You are logged in to another token", null],
    ["Unable to find cerificate with sn:020101", "That certificate is not on the logged-in token", null],
    ["Can't find certificate public key on the token", "This certificate is not for a key on this token", null],
    ["DER filed size too long", "That is not a certificate the host can read", null],
    ["Not Implemented", "The host does not offer this", null],
    ["Native host has exited.", "The Vantrel host stopped", null],
    ["Error when communicating with the native messaging host.", "The Vantrel host stopped", null],
    ["Specified native messaging host not found.", "The Vantrel host is not installed", null],
    ["Access to the specified native messaging host is forbidden.", "The Vantrel host does not accept this extension", null],
    ["No such native application org.vantrel.host", "The Vantrel host is not installed", null],
    ["The Vantrel host closed the connection.", "The Vantrel host stopped", null],
    ["An unexpected error occurred", "The Vantrel host could not be started", null],
    ["Vantrel serves only HTTPS pages.", "This page is not secure enough to use your tokens", null],
    ["Pages served from this computer may not use security tokens. Turn this on in the Vantrel extension's options (for development).",
      "Pages served from this computer may not use your tokens", null],
    ["The user closed the question whether this site may use security tokens; it is not asked again until the browser restarts.",
      "You closed the question about this site", null],
    ["The user refused to let this site sign.", "You refused the signature", null],
    ["This signature could not be shown to the user, so it was not made.", "The signature could not be shown to you, so it was not made", null],
    ["Too many requests are waiting for the user; try again later.", "Too many requests are waiting for you", null],
    ["The page was left before the Vantrel extension answered.", "The request was given up", null],
    ["Vantrel serves only the top page of a tab, not a frame inside it.", "Tokens cannot be used inside a frame", null],
    ["This site is not allowed to use security tokens.", "This site may not use your security tokens", null],
    ["The user did not allow this site to use security tokens.", "You did not allow this site to use your security tokens", null],
    ["The user refused to let this site delete the orphan keys.", "You cancelled this action", null],
    ["The security token did not answer within 4 seconds; the connection to it was closed and its login ended.", "The token did not answer in time", null],
    ["The key needs its PIN for every signature", "This key asks for its PIN for every signature", null],
    ["The user cancelled the PIN entry.", "You cancelled the PIN entry", null],
    ["This browser's administrator does not let pages send PINs: send the request with \"pinPrompt\": true, and the Vantrel extension asks the user for the PIN in its own window.",
      "This page may not send PINs", null],
    ["No token with serial number 7a3f is connected, so the Vantrel extension did not ask for its PIN.", "That token is not connected", null],
    ["The token offers no ECDSA signing mechanism", "This token cannot sign with this key", null],
    ["The token cannot generate RSA-2048 key pairs", "This token cannot make the keys", null],
    ["The token cannot generate EC P-256 key pairs", "This token cannot make EC P-256 keys", null],
    ["The token cannot generate EC P-384 key pairs", "This token cannot make EC P-384 keys", null],
    ["Several tokens have the serial number 0000000000000000", "Two tokens have the same serial number", null],
    ["The PIN entry on the reader was cancelled (rc=80)", "The PIN entry on the reader was cancelled", 80],
    ["The user cancelled the certificate choice.", "You cancelled the choice of a certificate", null],
    ["This browser's administrator does not let pages list or read the certificates: send \"selectCertificate\", and the Vantrel extension asks the user which certificate to use.",
      "This page may not list your certificates", null],
    ["The user did not choose this certificate for this site, so it was not used.", "You did not pick this certificate for this site", null],
    ["The PIN of the token with serial number 7a3f is locked, so the Vantrel extension did not ask for it.", "The token's PIN is locked", null],
    ["Missing mandatory JSON object boolean property forceLogon", "The request lacks one of its members", null],
    ["Something new (rc=999)", "Something new", 999],
    ["", "Something went wrong", null],
  ];
  for (const [raw, title, rc] of cases) {
    const described = Vantrel.describeError(raw);
    assert.deepEqual([described.title, described.raw, described.rc], [title, raw, rc], raw);
  }
});

test("Firefox's texts get the advice of Chromium's for the same failure; its text for a missing host covers an unlisted extension", () => {
  const advice = (text) => {
    const { title, advice } = Vantrel.describeError(text);
    return { title, advice };
  };
  // The host stopped: Chromium says so, Firefox says nothing and the extension does.
  assert.deepEqual(advice("The Vantrel host closed the connection."), advice("Native host has exited."));
  const notFound = advice("No such native application org.vantrel.host");
  assert.equal(notFound.title, advice("Specified native messaging host not found.").title);
  assert.match(notFound.advice, /vantrel-register.*--firefox-id/);
});

test("vantrel.d.ts declares what the module exports, and a page written against it compiles where it should", () => {
  const declarations = fs.readFileSync(path.join(SOURCE, "web", "vantrel.d.ts"), "utf8");
  const declared = [...declarations.matchAll(/^export (?:function|const|class) (\w+)/gm)].map((m) => m[1]);
  assert.match(declarations, /^export default Vantrel;$/m);
  assert.deepEqual([...new Set(declared)].sort(), Object.keys(library).filter((name) => name !== "default").sort());
  // types/page.ts also holds calls the types must refuse, each marked as an expected error.
  const tsc = createRequire(import.meta.url).resolve("typescript/bin/tsc");
  try {
    execFileSync(process.execPath, [tsc, "-p", path.join(import.meta.dirname, "types", "tsconfig.json")], { encoding: "utf8", stdio: "pipe" });
  } catch (error) {
    assert.fail(`the TypeScript compiler found:\n${error.stdout}${error.stderr}`);
  }
});

// Certificates and signatures as openssl makes them: the host signs SHA-256
// of the text's UTF-8 bytes, EC signatures as the raw r‖s.
function opensslCertificate(folder, name, keyArguments) {
  const file = (suffix) => path.join(folder, `${name}.${suffix}`);
  execFileSync("openssl", ["req", "-x509", ...keyArguments, "-nodes", "-keyout", file("key"), "-out", file("pem"), "-days", "2", "-subj", `/CN=${name}`],
    { stdio: "pipe" });
  return { key: file("key"), der: new Uint8Array(execFileSync("openssl", ["x509", "-in", file("pem"), "-outform", "DER"])) };
}

function rawEcdsa(der, size) {
  // SEQUENCE { INTEGER r, INTEGER s }, each short enough for a one-byte length.
  const parts = [];
  let at = der[1] & 0x80 ? 2 + (der[1] & 0x7f) : 2;
  while (at < der.length) {
    const length = der[at + 1];
    const integer = der.subarray(at + 2, at + 2 + length);
    const trimmed = integer[0] === 0 ? integer.subarray(1) : integer;
    parts.push(Buffer.concat([Buffer.alloc(size - trimmed.length), trimmed]));
    at += 2 + length;
  }
  return Buffer.concat(parts);
}

test("verificationKey turns a certificate, as DER or base64, into a Web Crypto key that checks the token's signatures", async () => {
  const folder = fs.mkdtempSync(path.join(fs.realpathSync(process.env.VANTREL_SCRATCH_DIR || "/tmp"), "vantrel-client-"));
  try {
    const kinds = {
      rsa: [["-newkey", "rsa:2048"], 0, { name: "RSASSA-PKCS1-v1_5" }],
      p256: [["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256"], 32, { name: "ECDSA", hash: "SHA-256" }],
      p384: [["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-384"], 48, { name: "ECDSA", hash: "SHA-256" }],
    };
    const text = "Grüße — I agree.";
    fs.writeFileSync(path.join(folder, "text"), text);
    for (const [name, [keyArguments, ecSize, algorithm]] of Object.entries(kinds)) {
      const made = opensslCertificate(folder, name, keyArguments);
      const signed = execFileSync("openssl", ["dgst", "-sha256", "-sign", made.key, path.join(folder, "text")]);
      const signature = ecSize ? rawEcdsa(signed, ecSize) : signed;
      for (const given of [made.der, made.der.buffer, Buffer.from(made.der).toString("base64")]) {
        const checker = await Vantrel.verificationKey(given);
        assert.deepEqual(checker.algorithm, algorithm, name);
        assert.equal(await crypto.subtle.verify(checker.algorithm, checker.key, signature, new TextEncoder().encode(text)), true, name);
        assert.equal(await crypto.subtle.verify(checker.algorithm, checker.key, signature, new TextEncoder().encode(text + ".")), false, name);
      }
      assert.deepEqual(Vantrel.fromBase64(Buffer.from(signature).toString("base64")), new Uint8Array(signature));
    }
    const ed25519 = opensslCertificate(folder, "ed25519", ["-newkey", "ed25519"]);
    await assert.rejects(Vantrel.verificationKey(ed25519.der), {
      name: "TypeError",
      message: "Vantrel.verificationKey: this is not a certificate it can read: its key is neither RSA nor EC on P-256, P-384 or P-521",
    });
    for (const junk of ["MAA=", "not base64!", new Uint8Array([0x30, 0x82, 0xff, 0xff]), 42]) {
      await assert.rejects(Vantrel.verificationKey(junk), { name: "TypeError" }, String(junk));
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("in the extension's own page (its console) the library talks to the background on the console port: replies, refusals, and a background that goes away", async () => {
  const base = "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/";
  const ports = [];
  globalThis.chrome = {
    runtime: {
      id: "dimbhkphloanhhcpkcakgkgdcooempmh",
      getURL: (name) => base + name,
      connect({ name }) {
        const listeners = { message: [], disconnect: [] };
        const port = {
          name,
          posted: [],
          onMessage: { addListener: (listener) => listeners.message.push(listener) },
          onDisconnect: { addListener: (listener) => listeners.disconnect.push(listener) },
          postMessage(message) {
            port.posted.push(structuredClone(message));
            const { request } = message;
            if (request.action === "hang") {
              return;
            }
            const answered = request.action === "refused" ? { type: "error", error: "No.", reason: "refused" } : { type: "reply", reply: { action: request.action } };
            setTimeout(() => listeners.message.forEach((listener) => listener({ id: message.id, ...answered })));
          },
          goAway: () => listeners.disconnect.forEach((listener) => listener()),
        };
        ports.push(port);
        return port;
      },
    },
  };
  const pageOrigin = globalThis.window.location.origin;
  globalThis.window.location.origin = base.slice(0, -1);
  let inExtension;
  try {
    inExtension = (await import(`${pathToFileURL(path.join(SOURCE, "web", "vantrel.js")).href}?extension-page`)).Vantrel;
  } finally {
    globalThis.window.location.origin = pageOrigin;
  }
  try {
    const before = sent.length;
    assert.equal(await inExtension.findExtension(), true);
    assert.deepEqual(await inExtension.info(), { action: "info" });
    await assert.rejects(inExtension.request({ action: "refused" }), { name: "ConnectionError", reason: "refused", message: "No." });
    assert.deepEqual(ports.map((port) => port.name), ["vantrel-console"]);
    assert.deepEqual(ports[0].posted.map((message) => message.request), [{ action: "info" }, { action: "refused" }]);
    assert.equal(sent.length, before, "nothing went through the content script's way");
    const waiting = inExtension.request({ action: "hang" });
    while (ports[0].posted.length < 3) {
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    ports[0].goAway();
    await assert.rejects(waiting, { name: "ConnectionError", message: "The Vantrel extension was stopped or reloaded." });
    // The next request connects again.
    assert.deepEqual(await inExtension.info(), { action: "info" });
    assert.equal(ports.length, 2);
  } finally {
    delete globalThis.chrome;
  }
});
