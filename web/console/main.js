// The token console: finds the extension and the host, then wires up each section.
import { Vantrel } from "../vantrel.js";
import { $, afterEachStep, showError } from "./ui.js";
import { loginReported, setupTokens } from "./tokens.js";
import { setupCertificates } from "./certificates.js";
import { setupSigning } from "./signing.js";
import { setupEnrolment } from "./enrolment.js";
import { setupOrphanKeys } from "./orphan-keys.js";

// Why the extension may refuse this page as a whole (ConnectionError's reason).
const PAGE_REFUSALS = ["plain-http", "local-origin", "sub-frame", "not-allowed", "not-now", "denied"];

function showInfo(info) {
  $("info-host").textContent = info.host;
  $("info-driver").textContent = info.driver;
  $("info-login").textContent = info.token
    ? `Token ${info.token} (${info.model}, PIN of ${info.pmin} to ${info.pmax} characters)`
    : "Not logged in.";
  loginReported(info.token || null);
}

// The host line stays true after every step; its own failure shows there, not as the step's error.
async function refreshInfo() {
  try {
    showInfo(await Vantrel.info());
  } catch {
    $("info-host").textContent = "not reachable";
    $("info-driver").textContent = "unknown";
    $("info-login").textContent = "Not logged in.";
    loginReported(null);
  }
}

async function start() {
  if (!(await Vantrel.findExtension())) {
    $("status").textContent = "The Vantrel extension is not installed, or not enabled for this page.";
    $("status").classList.add("bad");
    return;
  }
  afterEachStep(refreshInfo);
  try {
    const info = await Vantrel.info();
    $("status").textContent = `Extension found; Vantrel host ${info.host}, token driver ${info.driver}.`;
    $("status").classList.add("good");
    showInfo(info);
  } catch (error) {
    $("status").textContent = PAGE_REFUSALS.includes(error.reason)
      ? "Extension found, but it does not serve this page."
      : "Extension found, but the host could not be started.";
    $("status").classList.add("bad");
    showError(error);
  }
}

setupTokens();
setupCertificates();
setupSigning();
setupEnrolment();
setupOrphanKeys();
start();
