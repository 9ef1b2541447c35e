// Enrolment: a key pair made on the token with its certification request, and
// the certificate the authority issued for it, imported beside the keys.
import { readCertificate, readCertificationRequest } from "../lib/certificate.js";
import { certificateDer, fromBase64, toBase64, toPem } from "../lib/pem.js";
import { $, PageError, confirmAction, download, host, notify, step } from "./ui.js";
import { loggedInToken, state, tokenName } from "./state.js";
import { listCertificates } from "./certificates.js";

async function generateKeys() {
  const token = loggedInToken();
  const reply = await host("generateKeys", { tokenSN: token.tokenSN, algorithm: $("key-algorithm").value });
  const der = fromBase64(reply.csr);
  const request = readCertificationRequest(der);
  const pem = toPem(der, "CERTIFICATE REQUEST");
  $("csr-summary").textContent =
    `A new key pair (${request.publicKey.description}) is on ${tokenName(token)}, with this certification request for ` +
    `“${request.subject}”. Until its certificate is imported, the two keys are listed as orphan keys.`;
  $("csr-pem").value = pem;
  $("csr-box").hidden = false;
  $("download-csr").onclick = () => download("certification-request.pem", pem);
  notify("Key pair generated; send the certification request to your certification authority.");
  return $("download-csr");
}

async function givenCertificate() {
  const file = $("certificate-file").files[0];
  const text = $("certificate-text").value;
  if (file && text.trim() !== "") {
    throw new PageError("Give the certificate once", "Choose a file or paste the certificate, not both.");
  }
  try {
    return certificateDer(file ? new Uint8Array(await file.arrayBuffer()) : text);
  } catch (error) {
    throw new PageError(error.message, "Give the certificate file your certification authority issued, in PEM or DER form.");
  }
}

async function importCertificate() {
  const token = loggedInToken();
  const der = await givenCertificate();
  let certificate;
  try {
    certificate = readCertificate(der);
  } catch (error) {
    throw new PageError(error.message, "Give the certificate file your certification authority issued, in PEM or DER form.");
  }
  // The host stores a second copy of a certificate it already holds.
  const listed = await listCertificates();
  const twin = listed.find((c) => c.serialNumber === certificate.serialNumber);
  if (twin) {
    const again = await confirmAction({
      title: `${tokenName(token)} already holds a certificate with serial number ${certificate.serialNumber}`,
      details: `It is “${twin.subjectDN}”, issued by “${twin.issuerDN}”. Importing this one stores another copy beside it.`,
      yes: "Import another copy",
    });
    if (!again) {
      notify("Nothing was imported.");
      return $("import-certificate");
    }
  }
  await host("importCertificate", { certificate: toBase64(der) });
  // A certificate read before under the same serial number may not be this one.
  state.read.clear();
  $("certificate-file").value = "";
  $("certificate-text").value = "";
  await listCertificates(certificate.serialNumber);
  notify(`Imported the certificate for “${certificate.subject}” (serial number ${certificate.serialNumber}).`);
  const row = [...$("certificates").querySelectorAll("tbody tr")].find((r) => r.dataset.serialNumber === certificate.serialNumber);
  return row ? row.querySelector('input[name="certificate"]') : $("list-certificates");
}

export function setupEnrolment() {
  $("generate-keys").addEventListener("click", step($("generate-keys"), generateKeys));
  $("import-form").addEventListener("submit", step($("import-certificate"), importCertificate));
}
