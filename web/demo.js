// The demo page: list tokens, log in, list certificates, sign. Everything that
// came from a token is put into the page as text, never as markup.
"use strict";

const PIN_MEMBERS = ["pin", "oldPIN", "newPIN", "tokenPIN", "adminPIN"];
// Why the extension may refuse this page as a whole (Vantrel.ConnectionError's reason).
const PAGE_REFUSALS = ["plain-http", "sub-frame", "not-allowed", "denied"];
let tokens = [];
let loggedInToken = null;

const $ = (id) => document.getElementById(id);

function element(tag, text, attributes = {}) {
  const node = document.createElement(tag);
  if (text !== undefined) {
    node.textContent = text;
  }
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, value);
  }
  return node;
}

function shorten(value) {
  return typeof value === "string" && value.length > 80 ? value.slice(0, 60) + "…(" + value.length + " characters)" : value;
}

function logLine(direction, message) {
  const shown = {};
  for (const [name, value] of Object.entries(message)) {
    shown[name] = PIN_MEMBERS.includes(name) ? "********" : shorten(value);
  }
  const line = element("li", direction + " " + JSON.stringify(shown), { class: direction === "→" ? "sent" : "received" });
  $("log").append(line);
  line.scrollIntoView({ block: "nearest" });
}

async function exchange(request) {
  logLine("→", request);
  try {
    const reply = await Vantrel.call(request);
    logLine("←", reply);
    return reply;
  } catch (error) {
    logLine("←", error.reply || { failure: error.message });
    throw error;
  }
}

function showError(error) {
  const description = Vantrel.describeError(error.message);
  $("message-title").textContent = description.title;
  $("message-advice").textContent = description.advice;
  $("message-raw").textContent = description.raw;
  $("message").dataset.rc = description.rc === null ? "" : String(description.rc);
  $("message").hidden = false;
}

function clearError() {
  $("message").hidden = true;
}

// Runs one step of the page; a failure shows up in the message box.
function step(button, work) {
  return async (event) => {
    if (event) {
      event.preventDefault();
    }
    clearError();
    button.disabled = true;
    try {
      await work();
    } catch (error) {
      showError(error);
    } finally {
      button.disabled = false;
    }
  };
}

function chosen(name) {
  const input = document.querySelector(`input[name="${name}"]:checked`);
  return input ? input.value : null;
}

function fillTable(table, rows) {
  const body = table.querySelector("tbody");
  body.replaceChildren(...rows);
  table.hidden = false;
}

async function listTokens() {
  const reply = await exchange({ action: "listTokens" });
  tokens = reply.tokens;
  const previous = chosen("token");
  const rows = tokens.map((token) => {
    const blank = token.tokenSN === "";
    const radio = element("input", undefined, { type: "radio", name: "token", value: token.tokenSN, "aria-label": token.tokenLabel || "blank token" });
    radio.disabled = blank;
    const row = element("tr", undefined, { "data-token-sn": token.tokenSN });
    const cell = element("td");
    cell.append(radio);
    row.append(
      cell,
      element("td", blank ? "(blank token, not initialised)" : token.tokenLabel),
      element("td", token.tokenSN),
      element("td", token.tokenModel),
      element("td", `${token.pmin}–${token.pmax}`),
    );
    radio.checked = !blank && token.tokenSN === previous;
    return row;
  });
  fillTable($("tokens"), rows);
  const first = $("tokens").querySelector('input[name="token"]:not([disabled])');
  if (first && chosen("token") === null) {
    first.checked = true;
  }
}

async function login() {
  const tokenSN = chosen("token");
  if (tokenSN === null) {
    throw new Error("Choose a token first: list the tokens and pick one.");
  }
  const pin = $("pin").value;
  $("pin").value = "";
  loggedInToken = null;
  $("login-state").textContent = "Not logged in.";
  await exchange({ action: "login", tokenSN, pin });
  const token = tokens.find((t) => t.tokenSN === tokenSN);
  loggedInToken = tokenSN;
  $("login-state").textContent = `Logged in to “${token ? token.tokenLabel : tokenSN}” (${tokenSN}).`;
}

function validity(certificate) {
  return `${certificate.validFrom} to ${certificate.validUntil}`;
}

async function listCertificates() {
  const tokenSN = loggedInToken || chosen("token");
  const request = tokenSN === null ? { action: "listCertificates" } : { action: "listCertificates", tokenSN };
  const reply = await exchange(request);
  const rows = reply.certificates.map((certificate) => {
    const radio = element("input", undefined, { type: "radio", name: "certificate", value: certificate.serialNumber, "aria-label": certificate.subjectDN });
    const cell = element("td");
    cell.append(radio);
    const row = element("tr", undefined, { "data-serial-number": certificate.serialNumber });
    row.append(
      cell,
      element("td", certificate.subjectDN),
      element("td", certificate.issuerDN),
      element("td", certificate.serialNumber),
      element("td", validity(certificate)),
    );
    return row;
  });
  fillTable($("certificates"), rows);
  const first = $("certificates").querySelector('input[name="certificate"]');
  if (first) {
    first.checked = true;
  }
}

async function sign() {
  const serialNumber = chosen("certificate");
  if (serialNumber === null) {
    throw new Error("Choose a certificate first: list the certificates and pick one.");
  }
  $("signature-box").hidden = true;
  const reply = await exchange({ action: "sign", certificateSN: Vantrel.certificateSN(serialNumber), payload: $("payload").value });
  $("signature").textContent = reply.signature;
  $("signature-box").hidden = false;
}

async function start() {
  if (!(await Vantrel.findExtension())) {
    $("status").textContent = "The Vantrel extension is not installed, or not enabled for this page.";
    $("status").classList.add("bad");
    return;
  }
  try {
    const info = await Vantrel.request({ action: "info" });
    $("status").textContent = `Extension found; Vantrel host ${info.host}, token driver ${info.driver}.`;
    $("status").classList.add("good");
  } catch (error) {
    $("status").textContent = PAGE_REFUSALS.includes(error.reason)
      ? "Extension found, but it does not serve this page."
      : "Extension found, but the host could not be started.";
    $("status").classList.add("bad");
    showError(error);
  }
}

$("list-tokens").addEventListener("click", step($("list-tokens"), listTokens));
$("login-form").addEventListener("submit", step($("login"), login));
$("list-certificates").addEventListener("click", step($("list-certificates"), listCertificates));
$("sign-form").addEventListener("submit", step($("sign"), sign));
start();
