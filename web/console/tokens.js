// Tokens: listing them, logging in, changing the PIN and formatting. The
// PINs are typed in the Vantrel extension's own window, which this page
// cannot read; for development a switch has them typed in the page instead.
import { $, PageError, chosen, confirmAction, element, fillTable, host, notify, recordRow, step } from "./ui.js";
import { checkNewPin, chosenToken, state, tokenName } from "./state.js";

const PINS_IN_PAGE_KEY = "vantrel-console:pins-in-page";

function pinsInPage() {
  return $("pin-in-page").checked;
}

function showPinSource() {
  const inPage = pinsInPage();
  for (const group of document.querySelectorAll(".page-pins")) {
    group.hidden = !inPage;
    for (const input of group.querySelectorAll("input")) {
      input.disabled = !inPage;
      input.value = "";
    }
  }
  $("pin-source-hint").textContent = inPage
    ? "The PINs pass through this page's script: use this for development only."
    : "The Vantrel extension asks for the PINs in a window of its own, which names this site; this page never sees them.";
}

function rememberPinSource() {
  try {
    if (pinsInPage()) {
      localStorage.setItem(PINS_IN_PAGE_KEY, "true");
    } else {
      localStorage.removeItem(PINS_IN_PAGE_KEY);
    }
  } catch {
    // Storage may be switched off; the switch then holds for this visit only.
  }
  showPinSource();
}

function setupPinSource() {
  try {
    $("pin-in-page").checked = localStorage.getItem(PINS_IN_PAGE_KEY) === "true";
  } catch {
    $("pin-in-page").checked = false;
  }
  $("pin-in-page").addEventListener("change", rememberPinSource);
  showPinSource();
}

/** The value of the page's PIN field `id`, which is emptied. */
function takePin(id) {
  const value = $(id).value;
  $(id).value = "";
  return value;
}

// Where a person goes to log in next.
function loginControl() {
  return pinsInPage() ? $("pin") : $("login");
}

// What the token reports of wrong PINs, and of a keypad on its reader.
const PIN_STATES = { countLow: "a wrong PIN was entered recently", finalTry: "last PIN try", locked: "PIN locked" };

function tokenState(token) {
  if (token.tokenSN === "") {
    return "Blank";
  }
  const notes = [
    ...(token.pinPad ? ["PIN entered on the reader's keypad"] : []),
    ...(PIN_STATES[token.userPinState] ? [PIN_STATES[token.userPinState]] : []),
  ];
  const login = state.login && state.login.tokenSN === token.tokenSN;
  const main = login ? (state.login.mode === "write" ? "Logged in, read and write" : "Logged in, read only") : "Initialised";
  return [main, ...notes].join("; ");
}

function renderTokens(preferred) {
  const previous = preferred ?? chosen("token");
  const rows = state.tokens.map((token) => {
    const radio = element("input", undefined, {
      type: "radio",
      name: "token",
      value: token.tokenSN,
      "aria-label": token.tokenSN === "" ? `Choose the blank ${token.tokenModel} token` : `Choose ${token.tokenLabel || token.tokenSN}`,
    });
    radio.checked = token.tokenSN === previous;
    return recordRow($("tokens"), [
      radio,
      token.tokenSN === "" ? "(blank token, not initialised)" : token.tokenLabel,
      token.tokenSN,
      token.tokenModel,
      `${token.pmin}–${token.pmax}`,
      tokenState(token),
    ], { "data-token-sn": token.tokenSN });
  });
  fillTable($("tokens"), rows);
  if (chosen("token") === null) {
    const first = $("tokens").querySelector('tbody tr:not([data-token-sn=""]) input') || $("tokens").querySelector("tbody input");
    if (first) {
      first.checked = true;
    }
  }
}

export async function listTokens(preferred) {
  const reply = await host("listTokens");
  state.tokens = reply.tokens;
  renderTokens(preferred);
  return reply.tokens;
}

function showLogin() {
  const login = state.login;
  const token = login && state.tokens.find((t) => t.tokenSN === login.tokenSN);
  $("login-state").textContent = login
    ? `Logged in to “${token ? token.tokenLabel : login.tokenSN}” (${login.tokenSN}), ${login.mode === "write" ? "read and write" : "read only"}.`
    : "Not logged in.";
  if (state.tokens.length > 0) {
    renderTokens();
  }
}

function loginEnded() {
  state.login = null;
  showLogin();
}

/** Takes the login as the host reports it (null: none); called after every step. */
export function loginReported(tokenSN) {
  const known = state.login ? state.login.tokenSN : null;
  if (known !== tokenSN) {
    // Ended by the host (it stopped, or its time ran out), or made by another tab of this site.
    state.login = tokenSN === null ? null : { tokenSN, mode: "read" };
    showLogin();
  }
}

async function login() {
  const token = chosenToken();
  if (token.tokenSN === "") {
    throw new PageError("A blank token has no PIN yet", "Format it first, then log in with the PIN you gave it.");
  }
  const mode = chosen("mode") || "read";
  const pins = pinsInPage() ? { pin: takePin("pin") } : { pinPrompt: true };
  // A login attempt ends the host's current login, whatever its outcome.
  loginEnded();
  await host("login", { tokenSN: token.tokenSN, mode, ...pins });
  state.login = { tokenSN: token.tokenSN, mode };
  showLogin();
  notify(`Logged in to ${tokenName(token)}.`);
  return state.certificatesPrivate ? $("choose-certificate") : $("list-certificates");
}

// The PINs typed in the page, checked; the extension's window checks its own.
function pagePinsToChange(token) {
  checkNewPin(token, $("new-pin").value, $("new-pin-again").value);
  takePin("new-pin-again");
  return { oldPIN: takePin("old-pin"), newPIN: takePin("new-pin") };
}

async function changePin() {
  const token = chosenToken();
  const pins = pinsInPage() ? pagePinsToChange(token) : { pinPrompt: true };
  try {
    await host("changePIN", { tokenSN: token.tokenSN, ...pins });
  } finally {
    // The host ends its login before it tries, whatever comes of it.
    loginEnded();
  }
  notify(`The PIN of ${tokenName(token)} was changed. Log in again with the new PIN.`);
  return loginControl();
}

function checkPagePinsToFormat(token) {
  if ($("admin-pin").value === "") {
    throw new PageError("Enter the security officer PIN", "Without it nobody could format the token again.");
  }
  checkNewPin(token, $("token-pin").value, $("token-pin-again").value);
}

async function format() {
  const token = chosenToken();
  if (pinsInPage()) {
    checkPagePinsToFormat(token);
  }
  const agreed = await confirmAction({
    title: `Format ${tokenName(token)}?`,
    details: "Every key and certificate on it is erased, and it gets the new user PIN. This cannot be undone.",
    yes: "Format the token",
  });
  if (!agreed) {
    notify("Nothing was formatted.");
    return $("format");
  }
  let pins = { pinPrompt: true };
  if (pinsInPage()) {
    takePin("token-pin-again");
    pins = { tokenPIN: takePin("token-pin"), adminPIN: takePin("admin-pin") };
  }
  const before = new Set(state.tokens.map((t) => t.tokenSN));
  await host("formatToken", { tokenSN: token.tokenSN, ...pins });
  state.read.clear();
  // A blank token gets its serial number now: it is the one not listed before.
  const tokens = await listTokens(token.tokenSN);
  const formatted = token.tokenSN === "" ? tokens.find((t) => !before.has(t.tokenSN)) : tokens.find((t) => t.tokenSN === token.tokenSN);
  if (formatted) {
    renderTokens(formatted.tokenSN);
  }
  notify(formatted ? `Formatted: it is now ${tokenName(formatted)}. Log in with its new PIN.` : "The token was formatted.");
  return loginControl();
}

// Formatting fails with "in use" while this page's own login holds the token open.
function explainFormat(error) {
  if (/\(rc=182\)$/.test(error.message)) {
    return {
      title: "The token is in use",
      advice: "If this page is logged in to it, log in to another token or change its PIN (either ends the login), then format it.",
    };
  }
  return {};
}

export function setupTokens() {
  setupPinSource();
  $("list-tokens").addEventListener("click", step($("list-tokens"), async () => {
    await listTokens();
    notify(`${state.tokens.length} ${state.tokens.length === 1 ? "token" : "tokens"} listed.`);
    return $("tokens").querySelector('input[name="token"]:checked');
  }));
  $("login-form").addEventListener("submit", step($("login"), login));
  $("change-pin-form").addEventListener("submit", step($("change-pin"), changePin));
  $("format-form").addEventListener("submit", step($("format"), format, explainFormat));
}
