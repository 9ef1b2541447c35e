// The page's side of Vantrel: one function per action of the host, over the
// sample extension's relay (window.postMessage to its content script). A plain
// ES module; docs/protocol.md describes every action, and vantrel.d.ts gives
// the types.
//
//   import { Vantrel } from "./vantrel.js";
//   const { tokens } = await Vantrel.listTokens();
//   await Vantrel.login({ tokenSN: tokens[0].tokenSN, pinPrompt: true, mode: "write" });
//   const { signature } = await Vantrel.sign({ certificateSN: Vantrel.certificateSN(listed.serialNumber), payload: "…" });
//
// The action functions resolve with the host's reply and reject with a
// HostError (carrying the reply) when the reply has an "error" member; info()
// alone resolves with its reply either way, since "There is no active token"
// is its answer whenever nobody is logged in. Vantrel.request() sends any
// request as it is and resolves with whatever the host replied.
//
// With `pinPrompt: true` and no PIN, login, changePIN, formatToken and sign
// leave the PINs to the extension, which asks the user for them in a window
// of its own and sends them to the host itself: this page never holds them.
//
// The extension shows every signature to the user before it is made, with
// the exact text the token signs (for an object payload, the text the host
// makes of it), and signs only once the user agreed.
//
// selectCertificate() has the user pick a certificate in the extension's own
// window and resolves with that one alone: its DER in base64 ("certificate"),
// the "certificateSN" that sign() takes and the token's "tokenSN".
// verificationKey() turns a certificate into a Web Crypto key for checking
// the signatures made with it:
//
//   const picked = await Vantrel.selectCertificate({ forceLogon: false });
//   const text = "I agree.";
//   const { signature } = await Vantrel.sign({ certificateSN: picked.certificateSN, payload: text, pinPrompt: true });
//   const { key, algorithm } = await Vantrel.verificationKey(picked.certificate);
//   const valid = await crypto.subtle.verify(algorithm, key, Vantrel.fromBase64(signature), new TextEncoder().encode(text));
//
// Failures that are not the host's reply reject with a ConnectionError; when
// the extension refused the request, its `reason` says why: "plain-http",
// "local-origin" (a page served from this computer, which the user has not
// let ask), "sub-frame", "not-allowed", "not-now" (the user closed the
// question about the site), "denied" (the user did not allow the site),
// "refused" (the user refused the action or the signature), "unconfirmed"
// (the signature could not be shown, so it was not made), "busy" (too many
// requests wait for the user), "cancelled" (the user cancelled the PIN
// window), "cancelled-choice" (the user cancelled the certificate choice),
// "certificates-private" (the administrator lets pages learn only the
// certificate the user picks), "not-chosen" (a signature with a certificate
// the user did not pick for the site), "pin-locked" (the token's PIN is
// locked), "pin-from-page" (the administrator does not let pages send PINs),
// "no-token" (the token whose PIN was to be asked for is not there) or
// "timeout" (the token did not answer in time). Vantrel.describeError(text)
// gives words for a person.

const FROM_PAGE = "vantrel-page";
const FROM_EXTENSION = "vantrel-extension";
const origin = window.location.origin;

// Loaded in a page of the extension itself (its token console), this module
// talks to the extension's background directly, on the port the background
// keeps for that page, with the content script's messages; elsewhere through
// the content script.
const CONSOLE_PORT = "vantrel-console";
const extensionApi = globalThis.browser?.runtime?.id ? globalThis.browser : globalThis.chrome;
const inExtensionPage =
  Boolean(extensionApi?.runtime?.id) && origin === extensionApi.runtime.getURL("").replace(/\/$/, "");
let consolePort = null;

// Replies are matched to requests by id; a prefix of its own keeps this copy
// of the module apart from any other one on the page.
const idPrefix = Math.random().toString(36).slice(2, 10);
let nextId = 1;
const waiting = new Map();
let extensionFound = null;
let announceReady = null;

/** A reply of the host that carries "error". */
export class HostError extends Error {
  /** @param {{action: string, error: string}} reply */
  constructor(reply) {
    super(reply.error);
    this.name = "HostError";
    this.action = reply.action;
    this.reply = reply;
  }
}

/**
 * A failure between the page and the host: no extension, no host, the host
 * gone, or a refusal of the extension, named by `reason`.
 */
export class ConnectionError extends Error {
  /**
   * @param {string} message
   * @param {string | null} [reason]
   */
  constructor(message, reason = null) {
    super(message);
    this.name = "ConnectionError";
    this.reason = reason;
  }
}

window.addEventListener("message", (event) => {
  if (event.source !== window || event.origin !== origin) {
    return;
  }
  const message = event.data;
  if (!message || message.source !== FROM_EXTENSION) {
    return;
  }
  received(message);
});

function received(message) {
  if (message.type === "ready") {
    if (announceReady) {
      announceReady(true);
    }
    return;
  }
  const entry = waiting.get(message.id);
  if (!entry) {
    return;
  }
  waiting.delete(message.id);
  if (message.type === "reply") {
    entry.resolve(message.reply);
  } else {
    entry.reject(new ConnectionError(message.error, typeof message.reason === "string" ? message.reason : null));
  }
}

function backgroundPort() {
  if (!consolePort) {
    consolePort = extensionApi.runtime.connect({ name: CONSOLE_PORT });
    consolePort.onMessage.addListener(received);
    consolePort.onDisconnect.addListener(() => {
      consolePort = null;
      for (const [id, entry] of waiting) {
        waiting.delete(id);
        entry.reject(new ConnectionError("The Vantrel extension was stopped or reloaded."));
      }
    });
  }
  return consolePort;
}

function post(message) {
  if (inExtensionPage) {
    backgroundPort().postMessage({ id: message.id, request: message.request });
  } else {
    window.postMessage({ source: FROM_PAGE, ...message }, origin);
  }
}

/** How long findExtension() waits for the extension's answer unless told otherwise, in milliseconds. */
export const EXTENSION_WAIT_MS = 3000;

/**
 * Resolves with true once the extension answered, false when it did not within the time.
 * @param {number} [timeoutMs]
 * @returns {Promise<boolean>}
 */
export function findExtension(timeoutMs = EXTENSION_WAIT_MS) {
  if (inExtensionPage) {
    return Promise.resolve(true);
  }
  if (!extensionFound) {
    extensionFound = new Promise((resolve) => {
      announceReady = resolve;
      window.postMessage({ source: FROM_PAGE, type: "hello" }, origin);
      setTimeout(() => resolve(false), timeoutMs);
    });
    // Looked for again next time if it was not there (installed meanwhile).
    extensionFound.then((found) => {
      if (!found) {
        extensionFound = null;
      }
    });
  }
  return extensionFound;
}

/**
 * Sends one request as it is; resolves with the host's reply, "error" or not.
 * @param {object} message
 * @returns {Promise<object>}
 */
export async function request(message) {
  if (!(await findExtension())) {
    throw new ConnectionError("The Vantrel extension is not installed, or not enabled for this page.");
  }
  const id = `${idPrefix}-${nextId++}`;
  return new Promise((resolve, reject) => {
    waiting.set(id, { resolve, reject });
    try {
      post({ type: "request", id, request: message });
    } catch (error) {
      waiting.delete(id);
      reject(new ConnectionError("The Vantrel extension cannot be reached: " + error.message));
    }
  });
}

/**
 * Like request(), but a reply with "error" rejects with a HostError.
 * @param {object} message
 * @returns {Promise<object>}
 */
export async function call(message) {
  const reply = await request(message);
  if (reply.error) {
    throw new HostError(reply);
  }
  return reply;
}

/**
 * A request names a certificate by its whole DER INTEGER (tag 02, the length
 * byte, the value) while listCertificates gives only the value.
 * @param {string} serialNumber the serialNumber of a listed certificate
 * @returns {string}
 */
export function certificateSN(serialNumber) {
  const length = serialNumber.length / 2;
  if (!/^([0-9a-fA-F]{2})+$/.test(serialNumber) || length > 127) {
    throw new Error("Not a certificate serial number: " + serialNumber);
  }
  return "02" + length.toString(16).padStart(2, "0") + serialNumber;
}

// ---- The actions --------------------------------------------------------------
//
// A member the host cannot read (a number where it wants text, a keyType it
// does not know) makes it stop without a reply, ending the site's login. So
// each function checks its members first and throws a TypeError instead,
// sending nothing.

const TEXT = { test: (v) => typeof v === "string", wants: "a string" };
const FLAG = { test: (v) => typeof v === "boolean", wants: "true or false" };
const KEY_TYPE = { test: (v) => v === "private" || v === "public", wants: '"private" or "public"' };
const RESULT = { test: (v) => v === "csr" || v === "publicKey", wants: '"csr" or "publicKey"' };
const ALGORITHM = {
  test: (v) => v === "RSA-2048" || v === "EC-P256" || v === "EC-P384",
  wants: '"RSA-2048", "EC-P256" or "EC-P384"',
};
const MODE = { test: (v) => v === "read" || v === "write", wants: '"read" or "write"' };
const PAYLOAD = {
  test: (v) => typeof v === "string" || (v !== null && typeof v === "object" && !Array.isArray(v)),
  wants: "a string or a plain object",
};

// Marks a member that holds a PIN: left out when the extension asks for it.
const PIN = "pin";
// The extension asks the user for the PINs; the host never sees this member.
const PIN_PROMPT = ["pinPrompt", FLAG, true];

// Per action: its members, each [name, kind, optional, PIN].
const MEMBERS = {
  info: [],
  listTokens: [],
  login: [["tokenSN", TEXT], ["pin", TEXT, false, PIN], ["mode", MODE, true], PIN_PROMPT],
  selectCertificate: [["forceLogon", FLAG]],
  listCertificates: [["tokenSN", TEXT, true]],
  getCertificate: [["certificateSN", TEXT]],
  sign: [["certificateSN", TEXT], ["payload", PAYLOAD], ["pin", TEXT, true, PIN], PIN_PROMPT],
  changePIN: [["tokenSN", TEXT], ["oldPIN", TEXT, false, PIN], ["newPIN", TEXT, false, PIN], PIN_PROMPT],
  formatToken: [["tokenSN", TEXT], ["tokenPIN", TEXT, false, PIN], ["adminPIN", TEXT, true, PIN], PIN_PROMPT],
  deleteCertificate: [["certificateSN", TEXT]],
  getOrphanKeys: [["tokenSN", TEXT], ["keyType", KEY_TYPE]],
  deleteOrphanKeys: [["tokenSN", TEXT], ["keyType", KEY_TYPE]],
  generateKeys: [["tokenSN", TEXT], ["result", RESULT, true], ["algorithm", ALGORITHM, true]],
  importCertificate: [["certificate", TEXT]],
};
// Every action may carry "port", which comes back in the reply.
const PORT = ["port", TEXT, true];
const DEFAULTS = { generateKeys: { result: "csr" } };

function requestFor(action, options) {
  if (options !== undefined && (options === null || typeof options !== "object")) {
    throw new TypeError(`Vantrel.${action}: the argument must be an object of request members`);
  }
  const given = { ...DEFAULTS[action], ...options };
  const prompted = given.pinPrompt === true;
  const message = { action };
  for (const [name, kind, optional, holds] of [...MEMBERS[action], PORT]) {
    const value = given[name];
    if (holds === PIN && prompted) {
      if (value !== undefined) {
        throw new TypeError(`Vantrel.${action}: leave ${name} out when pinPrompt is true: the extension asks for it`);
      }
      continue;
    }
    if (value === undefined && optional) {
      continue;
    }
    if (!kind.test(value)) {
      throw new TypeError(`Vantrel.${action}: ${name} must be ${kind.wants}`);
    }
    message[name] = value;
  }
  return message;
}

function action(name) {
  return (options) => {
    // Thrown before anything is sent, but as a rejection like every other failure.
    let message;
    try {
      message = requestFor(name, options);
    } catch (error) {
      return Promise.reject(error);
    }
    return call(message);
  };
}

// The types of the action functions are those of vantrel.d.ts.

/** @type {typeof import("./vantrel.js").info} */
export function info(options) {
  try {
    return request(requestFor("info", options));
  } catch (error) {
    return Promise.reject(error);
  }
}
/** @type {typeof import("./vantrel.js").listTokens} */
export const listTokens = action("listTokens");
/** @type {typeof import("./vantrel.js").login} */
export const login = action("login");
/** @type {typeof import("./vantrel.js").selectCertificate} */
export const selectCertificate = action("selectCertificate");
/** @type {typeof import("./vantrel.js").listCertificates} */
export const listCertificates = action("listCertificates");
/** @type {typeof import("./vantrel.js").getCertificate} */
export const getCertificate = action("getCertificate");
/** @type {typeof import("./vantrel.js").sign} */
export const sign = action("sign");
/** @type {typeof import("./vantrel.js").changePIN} */
export const changePIN = action("changePIN");
/** @type {typeof import("./vantrel.js").formatToken} */
export const formatToken = action("formatToken");
/** @type {typeof import("./vantrel.js").deleteCertificate} */
export const deleteCertificate = action("deleteCertificate");
/** @type {typeof import("./vantrel.js").getOrphanKeys} */
export const getOrphanKeys = action("getOrphanKeys");
/** @type {typeof import("./vantrel.js").deleteOrphanKeys} */
export const deleteOrphanKeys = action("deleteOrphanKeys");
/** @type {typeof import("./vantrel.js").generateKeys} */
export const generateKeys = action("generateKeys");
/** @type {typeof import("./vantrel.js").importCertificate} */
export const importCertificate = action("importCertificate");

/** The names of the host's actions, each the name of its function here. */
export const ACTIONS = Object.freeze(Object.keys(MEMBERS));

// ---- Checking signatures with Web Crypto ---------------------------------------

/**
 * The bytes of base64 text (a certificate, a signature).
 * @param {string} text
 * @returns {Uint8Array}
 */
export function fromBase64(text) {
  return Uint8Array.from(atob(String(text).replace(/\s+/g, "")), (c) => c.charCodeAt(0));
}

// The contents' hex of the OIDs the helper knows.
const RSA_ENCRYPTION = "2a864886f70d010101";
const EC_PUBLIC_KEY = "2a8648ce3d0201";
const CURVES = { "2a8648ce3d030107": "P-256", "2b81040022": "P-384", "2b81040023": "P-521" };

class NotReadable extends Error {}

// One DER element at `at`: its tag, where its contents start and where it ends.
function derElement(bytes, at, limit) {
  if (at + 2 > limit || (bytes[at] & 0x1f) === 0x1f) {
    throw new NotReadable();
  }
  let length = bytes[at + 1];
  let start = at + 2;
  if (length & 0x80) {
    const count = length & 0x7f;
    if (count === 0 || count > 4 || start + count > limit) {
      throw new NotReadable();
    }
    length = [...bytes.subarray(start, start + count)].reduce((value, byte) => value * 256 + byte, 0);
    start += count;
  }
  if (start + length > limit) {
    throw new NotReadable();
  }
  return { tag: bytes[at], at, start, end: start + length };
}

function derChildren(bytes, parent) {
  const children = [];
  for (let at = parent.start; at < parent.end; ) {
    const child = derElement(bytes, at, parent.end);
    children.push(child);
    at = child.end;
  }
  return children;
}

function hexOf(bytes, element) {
  return [...bytes.subarray(element.start, element.end)].map((b) => b.toString(16).padStart(2, "0")).join("");
}

// The certificate's SubjectPublicKeyInfo (its whole DER) and how Web Crypto takes its key.
function publicKeyOf(bytes) {
  const certificate = derElement(bytes, 0, bytes.length);
  const fields = derChildren(bytes, derChildren(bytes, certificate)[0]);
  // After the version ([0], absent only from the oldest certificates): serial, signature, issuer, validity, subject, the key.
  const info = fields[fields[0].tag === 0xa0 ? 6 : 5];
  const [algorithm] = derChildren(bytes, info);
  const [oid, parameters] = derChildren(bytes, algorithm);
  const spki = bytes.slice(info.at, info.end);
  if (hexOf(bytes, oid) === RSA_ENCRYPTION) {
    return { spki, importAs: { name: "RSASSA-PKCS1-v1_5", hash: "SHA-256" }, verifyWith: { name: "RSASSA-PKCS1-v1_5" } };
  }
  const curve = hexOf(bytes, oid) === EC_PUBLIC_KEY && parameters && parameters.tag === 0x06 ? CURVES[hexOf(bytes, parameters)] : undefined;
  if (curve) {
    return { spki, importAs: { name: "ECDSA", namedCurve: curve }, verifyWith: { name: "ECDSA", hash: "SHA-256" } };
  }
  throw new NotReadable("its key is neither RSA nor EC on P-256, P-384 or P-521");
}

/**
 * The public key of a certificate (its DER, or base64 of it, as
 * selectCertificate and getCertificate give it) as a Web Crypto key for
 * checking the signatures the token made with its private key, and the
 * algorithm to pass to crypto.subtle.verify with it: RSASSA-PKCS1-v1_5 for
 * an RSA key, ECDSA with SHA-256 for an EC key (on P-256, P-384 or P-521).
 * The host signs SHA-256 of the text's UTF-8 bytes, EC signatures as the raw
 * r‖s that Web Crypto takes.
 * @param {string | Uint8Array | ArrayBuffer} certificate
 * @returns {Promise<{key: CryptoKey, algorithm: AlgorithmIdentifier | EcdsaParams}>}
 */
export async function verificationKey(certificate) {
  let bytes;
  try {
    bytes = typeof certificate === "string" ? fromBase64(certificate) : new Uint8Array(certificate);
  } catch {
    throw new TypeError("Vantrel.verificationKey: the certificate must be its DER (bytes) or base64 of it");
  }
  let key;
  try {
    key = publicKeyOf(bytes);
  } catch (error) {
    if (error instanceof NotReadable || error instanceof TypeError) {
      throw new TypeError(`Vantrel.verificationKey: this is not a certificate it can read${error.message ? `: ${error.message}` : ""}`);
    }
    throw error;
  }
  return { key: await crypto.subtle.importKey("spki", key.spki, key.importAs, false, ["verify"]), algorithm: key.verifyWith };
}

// ---- Errors in words for a person ---------------------------------------------

// PKCS#11 return codes the host folds into its messages as " (rc=N)".
const RETURN_CODES = {
  5: ["The token reported a general error", "Unplug the token, plug it in again and retry."],
  48: ["The token reported a device error", "Unplug the token, plug it in again and retry."],
  50: ["The token was removed", "Plug the token in again and log in."],
  80: ["The PIN entry on the reader was cancelled", "Enter the PIN on the reader's keypad when it asks for it."],
  160: ["Incorrect PIN", "Check the PIN and try again. Most tokens lock after a few wrong tries."],
  161: ["The PIN contains characters this token does not accept", "Use only the characters the token allows."],
  162: ["The PIN is too short or too long for this token", "Check the PIN length the token list shows."],
  163: ["The PIN has expired", "Change the PIN before using the token."],
  164: ["The PIN is locked", "Too many wrong tries: the token's administrator has to unlock it."],
  179: ["The token session ended", "The token may have been unplugged. Log in again."],
  182: ["The token is in use", "Close the other programs that use the token and retry."],
  224: ["The token is not plugged in", "Plug the token in and list the tokens again."],
  225: ["The token is not recognised", "It may be blank: it has to be initialised first."],
  226: ["The token is write-protected", "This token cannot be changed."],
  256: ["You are already logged in", ""],
  257: ["Please log in first", "Enter the token's PIN and log in."],
};

// Messages without a return code, by their beginning.
const MESSAGES = [
  ["Must login in write mode", "Please log in with write access first", "Log in again with write access."],
  ["Must login to the token in write mode", "Please log in with write access first", "Log in again with write access."],
  ["Need to be logged in in rw mode", "Please log in with write access first", "Log in again with write access."],
  ["Must login", "Please log in first", "Enter the token's PIN and log in."],
  ["There is no active token", "No token is logged in", "Log in to a token first."],
  ["No token with serial number", "That token is not connected", "List the tokens again and pick one."],
  ["Unable to find cerificate with sn", "That certificate is not on the logged-in token", "List the certificates again and pick one."],
  ["Logged in to diferent token", "You are logged in to another token", "Log in to the token that holds the certificate."],
  ["Cannot use extractable private key", "This key is not allowed to sign", "Its private key could be copied off the token."],
  ["Error unable to find certificate key", "The certificate's key is not on the token", "The key pair may have been deleted; enrol a new certificate."],
  ["Can't find certificate public key on the token", "This certificate is not for a key on this token", "Import it on the token whose key it certifies (the one that made the certification request)."],
  ["Failed to parse certificate", "That is not a certificate the host can read", "Import the certificate file the authority issued (PEM or DER)."],
  ["DER ", "That is not a certificate the host can read", "Import the certificate file the authority issued (PEM or DER)."],
  ["Invalid hex", "That certificate serial number is not valid", "List the certificates again and pick one."],
  ["Not Implemented", "The host does not offer this", ""],
  ["The key needs its PIN for every signature", "This key asks for its PIN for every signature", "Sign with pinPrompt, and the Vantrel extension asks for it (or give the key's PIN with the request)."],
  ["The token offers no", "This token cannot sign with this key", "The token does not offer a signing method the host can use for this kind of key."],
  ["Unsupported key type for signing", "This token cannot sign with this key", "Only RSA and EC keys can sign."],
  ["The token cannot generate RSA-2048 key pairs", "This token cannot make the keys", "Enrol on a token that can generate RSA-2048 key pairs."],
  ["The token cannot generate EC P-256 key pairs", "This token cannot make EC P-256 keys", "Choose another key type, or enrol on a token that can generate EC P-256 key pairs."],
  ["The token cannot generate EC P-384 key pairs", "This token cannot make EC P-384 keys", "Choose another key type, or enrol on a token that can generate EC P-384 key pairs."],
  ["Several tokens have the serial number", "Two tokens have the same serial number", "The host cannot tell them apart: unplug or remove all but the one you want, or use another token."],
  ["Failed to initalise PKCS11 API", "The token driver is not loaded", "Check the host's pkcs11Library setting."],
  ["Error loading", "The token driver could not be loaded", "Check the host's pkcs11Library setting."],
  // The browsers' own words: Chromium's, then Firefox's, which are the same
  // for a host that is not registered and for an extension it does not list,
  // none at all for a host that stopped (the extension then says so), and
  // only the general one for a host program that cannot be run.
  ["Specified native messaging host not found", "The Vantrel host is not installed", "Register it with vantrel-register and reload the page."],
  ["Access to the specified native messaging host is forbidden", "The Vantrel host does not accept this extension", "Register the host with this extension's ID (vantrel-register --origin)."],
  ["Native host has exited", "The Vantrel host stopped", "It stops when it gets a request it cannot read. The next request starts it again."],
  ["Error when communicating with the native messaging host", "The Vantrel host stopped", "The next request starts it again."],
  ["No such native application", "The Vantrel host is not installed", "Register it with vantrel-register, with this extension's ID if it is not the sample one (--firefox-id), and reload the page."],
  ["The Vantrel host closed the connection", "The Vantrel host stopped", "It stops when it gets a request it cannot read. The next request starts it again."],
  ["An unexpected error occurred", "The Vantrel host could not be started", "Check that the program its registration names is there and may be run (vantrel-register writes the registration), then reload the page."],
  ["The Vantrel extension", "The Vantrel extension is not available", "Install or enable the Vantrel extension for this page."],
  ["The page was left before the Vantrel extension answered", "The request was given up", "The page was left while it waited; try again."],
  ["Vantrel serves only HTTPS pages", "This page is not secure enough to use your tokens", "Open it over HTTPS."],
  [
    "Pages served from this computer may not use security tokens",
    "Pages served from this computer may not use your tokens",
    "For development, turn on “pages served from this computer” in the Vantrel extension's options, then reload the page and answer its question.",
  ],
  ["Vantrel serves only the top page", "Tokens cannot be used inside a frame", "Open the page on its own in a tab."],
  ["This site is not allowed to use security tokens", "This site may not use your security tokens", "Reload the page and answer the extension's question, or ask your administrator to allow the site."],
  ["The user did not allow this site", "You did not allow this site to use your security tokens", "To change that, remove the site in the Vantrel extension's options and reload the page."],
  [
    "The user closed the question whether this site may use security tokens",
    "You closed the question about this site",
    "It is asked again after the browser restarts, or at once after “Ask again” in the Vantrel extension's options.",
  ],
  ["The user refused to let this site sign", "You refused the signature", "Nothing was signed."],
  ["The user refused to let this site", "You cancelled this action", "Nothing was changed on the token."],
  ["This signature could not be shown to the user", "The signature could not be shown to you, so it was not made", "Check that the certificate is on the token you are logged in to, then try again."],
  ["Too many requests are waiting for the user", "Too many requests are waiting for you", "Answer or close the Vantrel windows that are open, then try again."],
  ["The security token did not answer within", "The token did not answer in time", "Check the token and its reader, then log in again."],
  ["The user cancelled the PIN entry", "You cancelled the PIN entry", "Nothing more was sent to the token."],
  ["The user cancelled the certificate choice", "You cancelled the choice of a certificate", "The site got no certificate."],
  [
    "This browser's administrator does not let pages list or read the certificates",
    "This page may not list your certificates",
    "Pick the certificate to use in the Vantrel extension's window: the page has to ask for it that way (selectCertificate).",
  ],
  [
    "The user did not choose this certificate for this site",
    "You did not pick this certificate for this site",
    "Nothing was signed. The site may sign only with the certificate you pick for it.",
  ],
  ["The PIN of the token with serial number", "The token's PIN is locked", "Too many wrong tries: the token's administrator has to unlock it."],
  ["Missing mandatory JSON object", "The request lacks one of its members", "This is a fault of the page: it has to send every member the action needs."],
  [
    "This browser's administrator does not let pages send PINs",
    "This page may not send PINs",
    "Your administrator lets only the Vantrel extension's own window ask for PINs: the page has to ask for them that way (pinPrompt).",
  ],
];

/**
 * Words for a person about an error text of the host, the browser or the extension.
 * @param {string} text
 * @returns {{title: string, advice: string, raw: string, rc: number | null}}
 */
export function describeError(text) {
  const raw = String(text);
  const code = /\(rc=(\d+)\)\s*$/.exec(raw);
  if (code && RETURN_CODES[code[1]]) {
    const [title, advice] = RETURN_CODES[code[1]];
    return { title, advice, raw, rc: Number(code[1]) };
  }
  for (const [start, title, advice] of MESSAGES) {
    if (raw.startsWith(start)) {
      return { title, advice, raw, rc: code ? Number(code[1]) : null };
    }
  }
  return { title: raw.replace(/\s*\(rc=\d+\)\s*$/, "").trim() || "Something went wrong", advice: "", raw, rc: code ? Number(code[1]) : null };
}

export const Vantrel = Object.freeze({
  request,
  call,
  findExtension,
  EXTENSION_WAIT_MS,
  describeError,
  certificateSN,
  verificationKey,
  fromBase64,
  info,
  listTokens,
  login,
  selectCertificate,
  listCertificates,
  getCertificate,
  sign,
  changePIN,
  formatToken,
  deleteCertificate,
  getOrphanKeys,
  deleteOrphanKeys,
  generateKeys,
  importCertificate,
  ACTIONS,
  HostError,
  ConnectionError,
});
export default Vantrel;
