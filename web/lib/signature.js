// Checking a signature the token made over a text, with the public key of the
// certificate it was made for. The host signs the text's UTF-8 bytes with
// SHA-256: RSA keys give a PKCS#1 v1.5 signature, EC keys the raw r‖s of an
// ECDSA signature (the form Web Crypto takes as it is).
import { verificationKey } from "./certificate.js";
import { fromBase64 } from "./pem.js";

const ALGORITHMS = {
  RSA: { name: "RSASSA-PKCS1-v1_5" },
  EC: { name: "ECDSA", hash: "SHA-256" },
};

const NAMES = {
  RSA: "RSA PKCS#1 v1.5 with SHA-256",
  EC: "ECDSA with SHA-256",
};

/**
 * @param {ReturnType<typeof import("./certificate.js").readCertificate>} certificate
 * @param {string} text what was signed
 * @param {string} signature base64, as the host answered it
 * @returns {Promise<{checked: boolean, valid: boolean, algorithm: string}>}
 *   checked is false when the page cannot check this kind of key (valid is then false too)
 */
export async function verifyTextSignature(certificate, text, signature) {
  const kind = certificate.publicKey.kind;
  const key = await verificationKey(certificate);
  if (!key || !ALGORITHMS[kind]) {
    return { checked: false, valid: false, algorithm: certificate.publicKey.description };
  }
  let bytes;
  try {
    bytes = fromBase64(signature);
  } catch {
    return { checked: true, valid: false, algorithm: NAMES[kind] };
  }
  const valid = await crypto.subtle.verify(ALGORITHMS[kind], key, bytes, new TextEncoder().encode(text));
  return { checked: true, valid, algorithm: NAMES[kind] };
}
