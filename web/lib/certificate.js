// Reading certificates and certification requests: the names, serial number,
// validity and public key a person wants to see, and the key as Web Crypto
// takes it for checking signatures.
import * as asn1js from "../vendor/asn1js/build/index.js";
import { Certificate, CertificationRequest } from "../vendor/pkijs/build/index.js";

const ATTRIBUTE_NAMES = {
  "2.5.4.3": "CN",
  "2.5.4.4": "SN",
  "2.5.4.5": "serialNumber",
  "2.5.4.6": "C",
  "2.5.4.7": "L",
  "2.5.4.8": "ST",
  "2.5.4.9": "street",
  "2.5.4.10": "O",
  "2.5.4.11": "OU",
  "2.5.4.12": "title",
  "2.5.4.42": "GN",
  "1.2.840.113549.1.9.1": "E",
  "0.9.2342.19200300.100.1.1": "UID",
  "0.9.2342.19200300.100.1.25": "DC",
};

const RSA_ENCRYPTION = "1.2.840.113549.1.1.1";
const EC_PUBLIC_KEY = "1.2.840.10045.2.1";
const CURVES = {
  "1.2.840.10045.3.1.7": "P-256",
  "1.3.132.0.34": "P-384",
  "1.3.132.0.35": "P-521",
};

/** A distinguished name as text, its attributes in the order the certificate has them. */
function nameText(name) {
  return name.typesAndValues
    .map(({ type, value }) => `${ATTRIBUTE_NAMES[type] || type}=${value.valueBlock.value}`)
    .join(", ");
}

function hex(bytes) {
  return Array.from(bytes, (b) => b.toString(16).padStart(2, "0")).join("");
}

/**
 * The key of a SubjectPublicKeyInfo: its kind in words, and how Web Crypto imports it.
 * @returns {{kind: "RSA" | "EC" | "other", description: string, spki: Uint8Array, importAlgorithm: object | null}}
 */
function describeKey(info) {
  const spki = new Uint8Array(info.toSchema().toBER(false));
  const algorithm = info.algorithm.algorithmId;
  if (algorithm === RSA_ENCRYPTION) {
    const modulus = info.parsedKey.modulus.valueBlock.valueHexView;
    const bits = (modulus.length - (modulus[0] === 0 ? 1 : 0)) * 8;
    return {
      kind: "RSA",
      description: `RSA, ${bits} bits`,
      spki,
      importAlgorithm: { name: "RSASSA-PKCS1-v1_5", hash: "SHA-256" },
    };
  }
  if (algorithm === EC_PUBLIC_KEY) {
    const params = info.algorithm.algorithmParams;
    const curve = params instanceof asn1js.ObjectIdentifier ? CURVES[params.valueBlock.toString()] : undefined;
    return curve
      ? { kind: "EC", description: `EC, curve ${curve}`, spki, importAlgorithm: { name: "ECDSA", namedCurve: curve } }
      : { kind: "other", description: "EC on a curve this page does not know", spki, importAlgorithm: null };
  }
  return { kind: "other", description: `a key of type ${algorithm}`, spki, importAlgorithm: null };
}

function parse(Type, der, what) {
  try {
    return Type.fromBER(der);
  } catch {
    throw new Error(`This is not a ${what} the page can read.`);
  }
}

/**
 * @param {Uint8Array} der
 * @returns {{der: Uint8Array, subject: string, issuer: string, serialNumber: string,
 *   notBefore: Date, notAfter: Date, publicKey: ReturnType<typeof describeKey>}}
 */
export function readCertificate(der) {
  const certificate = parse(Certificate, der, "certificate");
  return {
    der,
    subject: nameText(certificate.subject),
    issuer: nameText(certificate.issuer),
    // The INTEGER's value bytes, as the host lists them (a leading 00 included).
    serialNumber: hex(certificate.serialNumber.valueBlock.valueHexView),
    notBefore: certificate.notBefore.value,
    notAfter: certificate.notAfter.value,
    publicKey: describeKey(certificate.subjectPublicKeyInfo),
  };
}

/**
 * @param {Uint8Array} der
 * @returns {{der: Uint8Array, subject: string, publicKey: ReturnType<typeof describeKey>}}
 */
export function readCertificationRequest(der) {
  const request = parse(CertificationRequest, der, "certification request");
  return { der, subject: nameText(request.subject), publicKey: describeKey(request.subjectPublicKeyInfo) };
}

/**
 * The certificate's public key for crypto.subtle.verify, or null when the page cannot check its signatures.
 * @param {ReturnType<typeof readCertificate>} certificate
 * @returns {Promise<CryptoKey | null>}
 */
export async function verificationKey(certificate) {
  const { importAlgorithm, spki } = certificate.publicKey;
  if (!importAlgorithm) {
    return null;
  }
  return crypto.subtle.importKey("spki", spki, importAlgorithm, false, ["verify"]);
}
