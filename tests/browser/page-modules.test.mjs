// The console page's modules that need no browser, run in Node (which has Web
// Crypto): reading certificates and the forms they are handed in, and
// checking signatures. Keys, certificates and signatures come from openssl.
import { after, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

const WEB = path.resolve(import.meta.dirname, "..", "..", "web");
const { readCertificate, readCertificationRequest } = await import(path.join(WEB, "lib", "certificate.js"));
const { verifyTextSignature } = await import(path.join(WEB, "lib", "signature.js"));
const { certificateDer, fromBase64, toBase64, toPem } = await import(path.join(WEB, "lib", "pem.js"));
const asn1js = await import(path.join(WEB, "vendor", "asn1js", "build", "index.js"));

const work = fs.mkdtempSync(path.join(os.tmpdir(), "vantrel-page-modules-"));
after(() => fs.rmSync(work, { recursive: true, force: true }));

function openssl(...args) {
  return execFileSync("openssl", args, { cwd: work, stdio: ["pipe", "pipe", "pipe"] });
}

const KEYS = {
  rsa: ["-newkey", "rsa:2048"],
  p256: ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256"],
  p384: ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-384"],
  ed25519: ["-newkey", "ed25519"],
};

// A self-signed certificate with a key of the given kind, and its key file.
function makeCertificate(file, kind, serial) {
  openssl("req", "-x509", ...KEYS[kind], "-nodes", "-keyout", `${file}.key`, "-out", `${file}.pem`, "-days", "2",
    "-subj", `/CN=Page test ${kind}/O=Vantrel/OU=Console`, "-set_serial", serial);
  return {
    key: path.join(work, `${file}.key`),
    pem: fs.readFileSync(path.join(work, `${file}.pem`), "utf8"),
    der: new Uint8Array(openssl("x509", "-in", `${file}.pem`, "-outform", "DER")),
  };
}

const made = Object.fromEntries(Object.keys(KEYS).map((kind) => [kind, makeCertificate(kind, kind, "0x10")]));
// A second certificate of each signing kind, with a key of its own.
const other = Object.fromEntries(["rsa", "p256", "p384"].map((kind) => [kind, makeCertificate(`other-${kind}`, kind, "0x11")]));

// ECDSA signatures from openssl are DER SEQUENCEs of r and s; the host answers
// with r and s side by side, each as long as the curve's order.
function rawEcdsa(der, size) {
  const sequence = asn1js.fromBER(der).result;
  return Buffer.concat(sequence.valueBlock.value.map((integer) => {
    const bytes = Buffer.from(integer.valueBlock.valueHexView);
    const trimmed = bytes[0] === 0 ? bytes.subarray(1) : bytes;
    return Buffer.concat([Buffer.alloc(size - trimmed.length), trimmed]);
  }));
}

const EC_SIZES = { p256: 32, p384: 48 };

// A base64 signature over the text's UTF-8 bytes, as the host would answer it.
function sign(keyFile, kind, text) {
  fs.writeFileSync(path.join(work, "text.txt"), text);
  const signature = openssl("dgst", "-sha256", "-sign", keyFile, "text.txt");
  return (kind in EC_SIZES ? rawEcdsa(signature, EC_SIZES[kind]) : signature).toString("base64");
}

const TEXT = "Grüße aus dem Browser — 10 € \"quoted\"\nsecond line";

test("a certificate's names, serial number, validity and key, as a person reads them", () => {
  const cases = [
    ["rsa", "RSA, 2048 bits"],
    ["p256", "EC, curve P-256"],
    ["p384", "EC, curve P-384"],
    ["ed25519", "a key of type 1.3.101.112"],
  ];
  for (const [name, key] of cases) {
    const read = readCertificate(made[name].der);
    assert.equal(read.subject, `CN=Page test ${name}, O=Vantrel, OU=Console`, name);
    assert.equal(read.issuer, read.subject, name);
    assert.equal(read.publicKey.description, key, name);
    const days = (read.notAfter - read.notBefore) / 86400000;
    assert.equal(days, 2, name);
  }
});

test("serial numbers read as the host lists them: the INTEGER's value bytes, a leading 00 kept", () => {
  const cases = [
    ["0xc0ffee5a17", "00c0ffee5a17"],
    ["0x010001", "010001"],
    ["0x7f", "7f"],
  ];
  for (const [serial, listed] of cases) {
    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout", "s.key",
      "-out", "s.pem", "-subj", "/CN=serial", "-days", "1", "-set_serial", serial);
    const der = new Uint8Array(openssl("x509", "-in", "s.pem", "-outform", "DER"));
    assert.equal(readCertificate(der).serialNumber, listed, serial);
  }
});

test("a certification request's subject and key", () => {
  openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", "csr.key", "-out", "csr.der", "-outform", "DER",
    "-subj", "/C=ZZ/O=JUX/CN=Pre-enrolled QARN User");
  const read = readCertificationRequest(new Uint8Array(fs.readFileSync(path.join(work, "csr.der"))));
  assert.equal(read.subject, "C=ZZ, O=JUX, CN=Pre-enrolled QARN User");
  assert.equal(read.publicKey.description, "RSA, 2048 bits");
});

test("what is not a certificate is refused in words, not with a parser's exception", () => {
  for (const bytes of [new Uint8Array([0x30, 0x03, 0x02, 0x01, 0x01]), new Uint8Array([0x30, 0x82, 0x01])]) {
    assert.throws(() => readCertificate(bytes), { message: "This is not a certificate the page can read." });
  }
  assert.throws(() => readCertificationRequest(made.rsa.der), { message: "This is not a certification request the page can read." });
});

test("signatures over a text verify with the certificate's key, and fail for a changed text or another key", async () => {
  const algorithms = { rsa: "RSA PKCS#1 v1.5 with SHA-256", p256: "ECDSA with SHA-256", p384: "ECDSA with SHA-256" };
  for (const [kind, algorithm] of Object.entries(algorithms)) {
    const certificate = readCertificate(other[kind].der);
    const signature = sign(other[kind].key, kind, TEXT);
    assert.deepEqual(await verifyTextSignature(certificate, TEXT, signature), { checked: true, valid: true, algorithm }, kind);
    const changed = await verifyTextSignature(certificate, TEXT.replace("10 €", "100 €"), signature);
    assert.deepEqual(changed, { checked: true, valid: false, algorithm }, `${kind}, changed text`);
    const wrongKey = await verifyTextSignature(readCertificate(made[kind].der), TEXT, signature);
    assert.equal(wrongKey.valid, false, `${kind}, another key`);
  }
});

test("an empty text is signed and checked like any other", async () => {
  for (const kind of ["rsa", "p256"]) {
    const certificate = readCertificate(other[kind].der);
    assert.equal((await verifyTextSignature(certificate, "", sign(other[kind].key, kind, ""))).valid, true, kind);
  }
});

test("a signature that is not base64, cut short or in DER form is not valid", async () => {
  const certificate = readCertificate(other.p256.der);
  const raw = sign(other.p256.key, "p256", TEXT);
  fs.writeFileSync(path.join(work, "text.txt"), TEXT);
  const der = openssl("dgst", "-sha256", "-sign", other.p256.key, "text.txt").toString("base64");
  const rsa = readCertificate(other.rsa.der);
  const rsaSignature = Buffer.from(sign(other.rsa.key, "rsa", TEXT), "base64");
  const cases = [
    [certificate, "not base64 at all!"],
    [certificate, Buffer.from(raw, "base64").subarray(0, 63).toString("base64")],
    [certificate, der],
    [rsa, rsaSignature.subarray(1).toString("base64")],
  ];
  for (const [cert, signature] of cases) {
    const result = await verifyTextSignature(cert, TEXT, signature);
    assert.equal(result.valid, false, signature);
    assert.equal(result.checked, true, signature);
  }
});

test("a key the page cannot check is said so, not reported as a bad signature", async () => {
  const certificate = readCertificate(made.ed25519.der);
  fs.writeFileSync(path.join(work, "text.txt"), TEXT);
  const signature = openssl("pkeyutl", "-sign", "-inkey", made.ed25519.key, "-rawin", "-in", "text.txt").toString("base64");
  assert.deepEqual(await verifyTextSignature(certificate, TEXT, signature), {
    checked: false,
    valid: false,
    algorithm: "a key of type 1.3.101.112",
  });
});

test("a certificate is taken as a DER or PEM file, or as pasted PEM or base64 text", () => {
  const der = made.rsa.der;
  const base64 = toBase64(der);
  const chain = made.rsa.pem + made.p256.pem;
  const cases = [
    ["DER file", der],
    ["PEM file", new TextEncoder().encode(made.rsa.pem)],
    ["PEM file with text before it and a chain after", new TextEncoder().encode("Issued for you:\n" + chain)],
    ["pasted PEM", made.rsa.pem],
    ["pasted base64 with line breaks", base64.replace(/(.{64})/g, "$1\n")],
    ["pasted base64 with blanks around", `  ${base64}  `],
  ];
  for (const [name, given] of cases) {
    assert.deepEqual(certificateDer(given), der, name);
  }
});

test("what is not a certificate is explained", () => {
  const request = fs.readFileSync(path.join(work, "csr.der"));
  const cases = [
    ["", "No certificate was given."],
    ["   \n", "No certificate was given."],
    ["hello", "This is neither a PEM certificate nor base64 of one."],
    [toPem(request, "CERTIFICATE REQUEST"), "This PEM text holds a certificate request, not a certificate."],
    ["-----BEGIN CERTIFICATE-----\n!!!\n-----END CERTIFICATE-----", "This is neither a PEM certificate nor base64 of one."],
    [toBase64(new TextEncoder().encode("plain words")), "This is neither a PEM certificate nor base64 of one."],
    [new Uint8Array([0xff, 0xfe, 0x00]), "This is neither a PEM certificate nor base64 of one."],
  ];
  for (const [given, message] of cases) {
    assert.throws(() => certificateDer(given), { message }, JSON.stringify(given));
  }
});

test("PEM text the page writes is what openssl reads, and base64 goes both ways", () => {
  fs.writeFileSync(path.join(work, "written.pem"), toPem(made.p384.der, "CERTIFICATE"));
  const back = openssl("x509", "-in", "written.pem", "-outform", "DER");
  assert.deepEqual(new Uint8Array(back), made.p384.der);
  assert.match(toPem(made.p384.der, "CERTIFICATE"), /^-----BEGIN CERTIFICATE-----\n(.{64}\n)+.{1,64}\n-----END CERTIFICATE-----\n$/);
  for (const length of [0, 1, 2, 3, 70000]) {
    const bytes = Uint8Array.from({ length }, (_, i) => (i * 7) & 0xff);
    assert.deepEqual(fromBase64(toBase64(bytes)), bytes, `${length} bytes`);
  }
  assert.throws(() => fromBase64("abc=d"), SyntaxError);
});
