// Certificates: the list, one certificate in full with its PEM text, and
// deleting one. Where the browser's administrator keeps the certificates from
// pages (the extension then refuses a listing with "certificates-private"),
// the page has the one the user chooses in the extension's window
// (selectCertificate) instead, and reads it from that answer.
import { Vantrel } from "../vantrel.js";
import { readCertificate } from "../lib/certificate.js";
import { fromBase64, toPem } from "../lib/pem.js";
import { $, PageError, chosen, confirmAction, download, element, fillTable, host, notify, recordRow, step } from "./ui.js";
import { state, tokenBySN, tokenName } from "./state.js";

const listeners = [];

/** Called with the chosen certificate's record (or null) whenever the choice changes. */
export function onChosenCertificate(listener) {
  listeners.push(listener);
}

export function chosenCertificate() {
  const serialNumber = chosen("certificate");
  return state.certificates.find((c) => c.serialNumber === serialNumber) || null;
}

function announceChoice() {
  const certificate = chosenCertificate();
  for (const listener of listeners) {
    listener(certificate);
  }
}

function describe(certificate) {
  return `“${certificate.subjectDN}” (serial number ${certificate.serialNumber})`;
}

function actionButton(text, label, handler) {
  const button = element("button", text, { type: "button", "aria-label": label });
  button.addEventListener("click", step(button, handler));
  return button;
}

function renderCertificates(preferred) {
  const previous = preferred ?? chosen("certificate");
  const table = $("certificates");
  const rows = state.certificates.map((certificate) => {
    const radio = element("input", undefined, {
      type: "radio",
      name: "certificate",
      value: certificate.serialNumber,
      "aria-label": `Choose ${certificate.subjectDN} (serial number ${certificate.serialNumber})`,
    });
    radio.checked = certificate.serialNumber === previous;
    radio.addEventListener("change", announceChoice);
    const actions = element("div", undefined, { class: "row-actions" });
    actions.append(
      actionButton("View", `View ${describe(certificate)}`, () => view(certificate)),
      actionButton("Delete…", `Delete ${describe(certificate)}`, () => remove(certificate)),
    );
    const subject = certificate.subjectAN ? `${certificate.subjectDN} (${certificate.subjectAN})` : certificate.subjectDN;
    return recordRow(table, [
      radio,
      subject,
      certificate.issuerDN,
      certificate.serialNumber,
      `${certificate.validFrom} to ${certificate.validUntil}`,
      certificate.activationCode || "none",
      actions,
    ], { "data-serial-number": certificate.serialNumber });
  });
  fillTable(table, rows, $("no-certificates"));
  if (chosen("certificate") === null && rows.length > 0) {
    table.querySelector('input[name="certificate"]').checked = true;
  }
  announceChoice();
}

function showPrivacy() {
  $("certificates-private").hidden = !state.certificatesPrivate;
  $("list-certificates").hidden = state.certificatesPrivate;
}

/** Lists the certificates of the logged-in token, or of the chosen one. */
export async function listCertificates(preferred) {
  if (state.certificatesPrivate) {
    renderCertificates(preferred);
    return state.certificates;
  }
  const tokenSN = state.login ? state.login.tokenSN : chosen("token");
  let reply;
  try {
    reply = await host("listCertificates", tokenSN === null ? {} : { tokenSN });
  } catch (error) {
    if (error.reason === "certificates-private") {
      state.certificatesPrivate = true;
      state.certificates = [];
      showPrivacy();
      renderCertificates();
    }
    throw error;
  }
  state.certificates = reply.certificates;
  renderCertificates(preferred);
  return reply.certificates;
}

function dayOf(date) {
  const two = (n) => String(n).padStart(2, "0");
  return `${two(date.getUTCDate())}/${two(date.getUTCMonth() + 1)}/${date.getUTCFullYear()}`;
}

/** Has the user choose a certificate in the extension's window: it becomes the page's chosen one. */
export async function chooseCertificate() {
  const reply = await host("selectCertificate", { forceLogon: false });
  const certificate = readCertificate(fromBase64(reply.certificate));
  // The record as the host would list it, read from the certificate itself.
  const record = {
    subjectDN: certificate.subject,
    subjectAN: "",
    issuerDN: certificate.issuer,
    serialNumber: certificate.serialNumber,
    validFrom: dayOf(certificate.notBefore),
    validUntil: dayOf(certificate.notAfter),
    tokenSN: reply.tokenSN,
    activationCode: "",
  };
  state.read.set(`${reply.tokenSN}/${reply.certificateSN}`, certificate);
  state.certificates = [record, ...state.certificates.filter((c) => c.serialNumber !== record.serialNumber || c.tokenSN !== record.tokenSN)];
  renderCertificates(record.serialNumber);
  notify(`You chose ${describe(record)}.`);
  return record;
}

/** The certificate read from the token in full (getCertificate needs a login), or as it was chosen. */
export async function readFromToken(record) {
  const certificateSN = Vantrel.certificateSN(record.serialNumber);
  const key = `${record.tokenSN}/${certificateSN}`;
  if (!state.read.has(key)) {
    const reply = await host("getCertificate", { certificateSN });
    state.read.set(key, readCertificate(fromBase64(reply.certificate)));
  }
  return state.read.get(key);
}

function detail(list, term, value) {
  const row = element("div");
  row.append(element("dt", term), element("dd", value));
  list.append(row);
}

async function view(record) {
  const certificate = await readFromToken(record);
  const list = $("certificate-details");
  list.replaceChildren();
  detail(list, "Subject", certificate.subject);
  detail(list, "Issuer", certificate.issuer);
  detail(list, "Serial number", certificate.serialNumber);
  detail(list, "Valid from", certificate.notBefore.toISOString());
  detail(list, "Valid until", certificate.notAfter.toISOString());
  detail(list, "Public key", certificate.publicKey.description);
  const token = tokenBySN(record.tokenSN);
  detail(list, "On", token ? tokenName(token) : record.tokenSN);
  const pem = toPem(certificate.der, "CERTIFICATE");
  $("certificate-pem").value = pem;
  $("certificate-view-heading").textContent = `Certificate ${record.subjectDN}`;
  $("certificate-view").dataset.serialNumber = record.serialNumber;
  $("certificate-view").hidden = false;
  $("download-certificate").onclick = () => download(`certificate-${record.serialNumber}.pem`, pem);
  return $("certificate-view-heading");
}

async function remove(record) {
  const token = tokenBySN(record.tokenSN);
  const agreed = await confirmAction({
    title: `Delete the certificate ${describe(record)}?`,
    details: `It is deleted from ${token ? tokenName(token) : "the token"} with its key pair. This cannot be undone.`,
    yes: "Delete the certificate",
  });
  if (!agreed) {
    notify("Nothing was deleted.");
    return null;
  }
  await host("deleteCertificate", { certificateSN: Vantrel.certificateSN(record.serialNumber) });
  state.read.clear();
  if ($("certificate-view").dataset.serialNumber === record.serialNumber) {
    $("certificate-view").hidden = true;
  }
  await listCertificates();
  notify(`The certificate ${describe(record)} was deleted.`);
  return $("list-certificates");
}

/** The certificate chosen on the page; where pages see only the user's choice, the extension asks for one first. */
export async function requireChosenCertificate() {
  const certificate = chosenCertificate();
  if (certificate) {
    return certificate;
  }
  if (state.certificatesPrivate) {
    return chooseCertificate();
  }
  throw new PageError("Choose a certificate first", "List the certificates and pick one, or choose one in the extension's window.");
}

export function setupCertificates() {
  $("choose-certificate").addEventListener("click", step($("choose-certificate"), async () => {
    await chooseCertificate();
    return $("certificates").querySelector('input[name="certificate"]:checked') || $("choose-certificate");
  }));
  $("list-certificates").addEventListener("click", step($("list-certificates"), async () => {
    const certificates = await listCertificates();
    notify(`${certificates.length} ${certificates.length === 1 ? "certificate" : "certificates"} listed.`);
    return $("certificates").querySelector('input[name="certificate"]:checked') || $("list-certificates");
  }));
}
