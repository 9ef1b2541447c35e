// Signing a text or a JSON object; a text's signature is checked here, with
// Web Crypto and the certificate's public key.
import { Vantrel } from "../vantrel.js";
import { verifyTextSignature } from "../lib/signature.js";
import { $, PageError, chosen, host, notify, step } from "./ui.js";
import { onChosenCertificate, readFromToken, requireChosenCertificate } from "./certificates.js";

// What the last signature was made with and over.
let last = null;

function payloadKind() {
  return chosen("payload-kind") || "text";
}

function showPayloadKind() {
  const kind = payloadKind();
  $("text-payload").hidden = kind !== "text";
  $("object-payload").hidden = kind !== "object";
}

function objectPayload() {
  let value;
  try {
    value = JSON.parse($("payload-object").value);
  } catch (error) {
    throw new PageError("That is not JSON", `The object to sign must be written in JSON: ${error.message}`);
  }
  if (value === null || typeof value !== "object" || Array.isArray(value)) {
    throw new PageError("The JSON must be an object", "Write it between { and }: the host signs objects and texts only.");
  }
  return value;
}

async function check(text) {
  const verdict = $("verification");
  let result;
  try {
    const certificate = await readFromToken(last.certificate);
    result = await verifyTextSignature(certificate, text, last.signature);
  } catch (error) {
    verdict.dataset.state = "unchecked";
    verdict.textContent = `Not checked: the certificate could not be read (${Vantrel.describeError(error.message).title}).`;
    return verdict;
  }
  const subject = `“${last.certificate.subjectDN}”`;
  if (!result.checked) {
    verdict.dataset.state = "unchecked";
    verdict.textContent = `Not checked: this page cannot check signatures of ${result.algorithm}.`;
  } else if (result.valid) {
    verdict.dataset.state = "valid";
    verdict.textContent = `Valid: the signature was made over exactly this text with the key of ${subject} (${result.algorithm}).`;
  } else {
    verdict.dataset.state = "invalid";
    verdict.textContent = `Not valid: the signature was not made over this text with the key of ${subject}.`;
  }
  return verdict;
}

async function sign() {
  const certificate = await requireChosenCertificate();
  const kind = payloadKind();
  const payload = kind === "text" ? $("payload").value : objectPayload();
  $("signature-box").hidden = true;
  const reply = await host("sign", { certificateSN: Vantrel.certificateSN(certificate.serialNumber), payload });
  last = { certificate, signature: reply.signature, kind };
  $("signature").textContent = reply.signature;
  $("signature-box").hidden = false;
  $("object-note").hidden = kind !== "object";
  $("check-form").hidden = kind !== "text";
  $("verification").hidden = kind !== "text";
  if (kind === "object") {
    notify("Signed. The page does not check signatures of objects.");
    return $("object-note");
  }
  $("check-text").value = payload;
  const verdict = await check(payload);
  notify("Signed on the token, and checked in this page.");
  return verdict;
}

function showSigner(certificate) {
  $("signing-with").textContent = certificate
    ? `Signing with “${certificate.subjectDN}” (serial number ${certificate.serialNumber}).`
    : "Choose a certificate in the certificates section.";
}

export function setupSigning() {
  for (const radio of document.querySelectorAll('input[name="payload-kind"]')) {
    radio.addEventListener("change", showPayloadKind);
  }
  showPayloadKind();
  onChosenCertificate(showSigner);
  $("sign-form").addEventListener("submit", step($("sign"), sign));
  $("check-form").addEventListener("submit", step($("check"), () => check($("check-text").value)));
}
