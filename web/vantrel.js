// The page's side of the Vantrel sample extension: window.Vantrel.
//
//   await Vantrel.request({ action: "listTokens" })   // the host's reply object
//   await Vantrel.call({ action: "login", ... })      // the same, but throws
//                                                     // Vantrel.HostError when the
//                                                     // reply carries "error"
//   Vantrel.describeError(text)                       // words for a person
//
// Failures that are not the host's reply reject with Vantrel.ConnectionError;
// when the extension refused the request, its `reason` says why: "plain-http",
// "sub-frame", "not-allowed", "denied" (the user did not allow the site),
// "refused" (the user refused the action) or "timeout" (the token did not
// answer in time).
//   Vantrel.certificateSN(listedSerialNumber)         // for sign and friends
"use strict";

(() => {
  const FROM_PAGE = "vantrel-page";
  const FROM_EXTENSION = "vantrel-extension";
  const origin = window.location.origin;

  let nextId = 1;
  const waiting = new Map();
  let extensionFound = null;
  let announceReady = null;

  class HostError extends Error {
    constructor(reply) {
      super(reply.error);
      this.name = "HostError";
      this.reply = reply;
    }
  }

  // A failure between the page and the host (no extension, no host, host gone,
  // or a refusal of the extension, named by `reason`).
  class ConnectionError extends Error {
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
  });

  function findExtension(timeoutMs = 3000) {
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

  async function request(message) {
    if (!(await findExtension())) {
      throw new ConnectionError("The Vantrel extension is not installed, or not enabled for this page.");
    }
    const id = nextId++;
    return new Promise((resolve, reject) => {
      waiting.set(id, { resolve, reject });
      window.postMessage({ source: FROM_PAGE, type: "request", id, request: message }, origin);
    });
  }

  async function call(message) {
    const reply = await request(message);
    if (reply.error) {
      throw new HostError(reply);
    }
    return reply;
  }

  // A request names a certificate by its whole DER INTEGER (tag 02, the length
  // byte, the value) while listCertificates gives only the value.
  function certificateSN(serialNumber) {
    const length = serialNumber.length / 2;
    if (!/^([0-9a-fA-F]{2})+$/.test(serialNumber) || length > 127) {
      throw new Error("Not a certificate serial number: " + serialNumber);
    }
    return "02" + length.toString(16).padStart(2, "0") + serialNumber;
  }

  // PKCS#11 return codes the host folds into its messages as " (rc=N)".
  const RETURN_CODES = {
    5: ["The token reported a general error", "Unplug the token, plug it in again and retry."],
    48: ["The token reported a device error", "Unplug the token, plug it in again and retry."],
    50: ["The token was removed", "Plug the token in again and log in."],
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

  // Messages the host writes without a return code, by their beginning.
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
    ["Error loading", "The token driver could not be loaded", "Check the host's pkcs11Library setting."],
    ["Specified native messaging host not found", "The Vantrel host is not installed", "Register it with vantrel-register and reload the page."],
    ["Access to the specified native messaging host is forbidden", "The Vantrel host does not accept this extension", "Register the host with this extension's ID (vantrel-register --origin)."],
    ["Native host has exited", "The Vantrel host stopped", "It stops when it gets a request it cannot read. The next request starts it again."],
    ["Error when communicating with the native messaging host", "The Vantrel host stopped", "The next request starts it again."],
    ["The Vantrel extension", "The Vantrel extension is not available", "Install or enable the Vantrel extension for this page."],
    ["Vantrel serves only HTTPS pages", "This page is not secure enough to use your tokens", "Open it over HTTPS."],
    ["Vantrel serves only the top page", "Tokens cannot be used inside a frame", "Open the page on its own in a tab."],
    ["This site is not allowed to use security tokens", "This site may not use your security tokens", "Reload the page and answer the extension's question, or ask your administrator to allow the site."],
    ["The user did not allow this site", "You did not allow this site to use your security tokens", "To change that, remove the site in the Vantrel extension's options and reload the page."],
    ["The user refused to let this site", "You cancelled this action", "Nothing was changed on the token."],
    ["The security token did not answer within", "The token did not answer in time", "Check the token and its reader, then log in again."],
  ];

  function describeError(text) {
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

  window.Vantrel = Object.freeze({ request, call, findExtension, describeError, certificateSN, HostError, ConnectionError });
})();
