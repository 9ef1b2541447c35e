// Base64, PEM and the forms a person may hand the page a certificate in.

/** @param {Uint8Array} bytes */
export function toBase64(bytes) {
  let text = "";
  for (let i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(text);
}

/** Base64 (white space allowed between characters) to bytes; throws on anything else. */
export function fromBase64(text) {
  const compact = String(text).replace(/\s+/g, "");
  if (!/^[A-Za-z0-9+/]*={0,2}$/.test(compact) || compact.length % 4 === 1) {
    throw new SyntaxError("not base64");
  }
  return Uint8Array.from(atob(compact), (c) => c.charCodeAt(0));
}

/**
 * @param {Uint8Array} der
 * @param {string} label "CERTIFICATE", "CERTIFICATE REQUEST", …
 */
export function toPem(der, label) {
  const lines = toBase64(der).match(/.{1,64}/g) || [];
  return `-----BEGIN ${label}-----\n${lines.join("\n")}\n-----END ${label}-----\n`;
}

const PEM_BLOCK = /-----BEGIN ([A-Z0-9 ]+)-----([\s\S]*?)-----END \1-----/g;
const CERTIFICATE_LABELS = ["CERTIFICATE", "X509 CERTIFICATE", "TRUSTED CERTIFICATE"];

/**
 * The DER bytes of the first certificate in what a person gave: the bytes of
 * a DER or PEM file, or pasted text (PEM, or the bare base64 of the DER).
 * Throws an Error whose message says what was wrong.
 * @param {Uint8Array | string} given
 * @returns {Uint8Array}
 */
export function certificateDer(given) {
  if (given instanceof Uint8Array && given[0] === 0x30) {
    return given;
  }
  const text = typeof given === "string" ? given : new TextDecoder().decode(given);
  if (text.trim() === "") {
    throw new Error("No certificate was given.");
  }
  const blocks = [...text.matchAll(PEM_BLOCK)];
  if (blocks.length > 0) {
    const block = blocks.find((b) => CERTIFICATE_LABELS.includes(b[1]));
    if (!block) {
      throw new Error(`This PEM text holds a ${blocks[0][1].toLowerCase()}, not a certificate.`);
    }
    return decodeOrExplain(block[2]);
  }
  return decodeOrExplain(text);
}

function decodeOrExplain(text) {
  let der;
  try {
    der = fromBase64(text);
  } catch {
    throw new Error("This is neither a PEM certificate nor base64 of one.");
  }
  if (der[0] !== 0x30) {
    throw new Error("This is neither a PEM certificate nor base64 of one.");
  }
  return der;
}
