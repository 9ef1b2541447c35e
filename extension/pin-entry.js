// PINs the page never sees. A page may leave the PINs out of login,
// changePIN, formatToken and sign and send "pinPrompt": true instead; the
// extension then asks for them in its own window (pin-window.js), naming the
// site, the action and the token, and completes the request itself. A sign
// whose key needs its PIN for every signature is asked for the same way. The
// "pinPrompt" member is the extension's own and never reaches the host.
import { enterPins } from "./pin-window.js";
import { refuse } from "./refusals.js";
import { certificateOfLogin, describeToken, listTokens } from "./token-names.js";

// The members of each action that hold a PIN.
export const PIN_MEMBERS = Object.freeze({
  login: ["pin"],
  changePIN: ["oldPIN", "newPIN"],
  formatToken: ["tokenPIN", "adminPIN"],
  sign: ["pin"],
});

export const NEEDS_PIN_TO_SIGN = "The key needs its PIN for every signature";

// How much of the text to be signed the window shows.
const TEXT_SHOWN = 160;

function pinMembersOf(request) {
  return Object.hasOwn(PIN_MEMBERS, request.action) ? PIN_MEMBERS[request.action] : [];
}

/** Whether the page put a PIN into the request itself (whatever its value). */
export function carriesPins(request) {
  return pinMembersOf(request).some((name) => Object.hasOwn(request, name));
}

/** Whether the page asked the extension to ask for the PINs. */
export function asksForPins(request) {
  return request.pinPrompt === true && pinMembersOf(request).length > 0;
}

/** The request as the host gets it: without the extension's own member. */
export function withoutPinPrompt(request) {
  const { pinPrompt, ...sent } = request;
  return sent;
}

function withoutPins(request) {
  const sent = { ...request };
  for (const name of pinMembersOf(request)) {
    delete sent[name];
  }
  return sent;
}

export function needsPinToSign(request, reply) {
  return request.action === "sign" && Boolean(reply) && reply.error === NEEDS_PIN_TO_SIGN;
}

function textToSign(payload) {
  const text = typeof payload === "string" ? payload : "a JSON object: " + JSON.stringify(payload);
  return text.length > TEXT_SHOWN ? text.slice(0, TEXT_SHOWN) + "…" : text;
}

const PROMPTS = {
  login: {
    title: (origin) => `${origin} asks you to log in to a token`,
    action: (request) => (request.mode === "write" ? "Log in, to read and write" : "Log in, to read only"),
    fields: [{ name: "pin", label: "PIN of the token" }],
    submit: "Log in",
  },
  changePIN: {
    title: (origin) => `${origin} asks you to change a token's PIN`,
    action: () => "Change the user PIN",
    fields: [
      { name: "oldPIN", label: "Current PIN" },
      { name: "newPIN", label: "New PIN", checked: true },
      { name: "newPIN", label: "New PIN again", again: true },
    ],
    submit: "Change the PIN",
  },
  formatToken: {
    title: (origin) => `${origin} asks you to format a token`,
    action: () => "Format the token",
    warning: "Formatting erases every key and certificate on the token and sets a new user PIN. This cannot be undone.",
    fields: [
      { name: "adminPIN", label: "Security officer PIN" },
      { name: "tokenPIN", label: "New user PIN", checked: true },
      { name: "tokenPIN", label: "New user PIN again", again: true },
    ],
    submit: "Format the token",
    danger: true,
  },
  sign: {
    title: (origin) => `${origin} asks you to sign`,
    action: () => "Sign the text below with the certificate's key",
    fields: [{ name: "pin", label: "PIN of the key" }],
    submit: "Sign",
  },
};

function promptOf(origin, request, token, extraFacts = []) {
  const shape = PROMPTS[request.action];
  return {
    title: shape.title(origin),
    facts: [["Site", origin], ["Action", shape.action(request)], ["Token", token.name], ...extraFacts],
    warning: shape.warning || "",
    fields: shape.fields,
    lengths: token.lengths,
    submit: shape.submit,
    danger: Boolean(shape.danger),
  };
}

function lengthsOf(record) {
  const min = record && Number.isFinite(record.pmin) ? record.pmin : 0;
  const max = record && Number.isFinite(record.pmax) && record.pmax >= 0 ? record.pmax : null;
  return { min, max };
}

// The token a login, changePIN or formatToken names, as its host lists it.
async function namedToken(request, exchange) {
  const tokens = await listTokens(exchange);
  const record = tokens.find((t) => t.tokenSN === request.tokenSN);
  if (typeof request.tokenSN !== "string" || !record) {
    throw refuse.noToken(String(request.tokenSN));
  }
  return { name: describeToken(request.tokenSN, tokens), lengths: lengthsOf(record) };
}

// What the window shows for a request, or null when there is nothing to ask
// for: a signature with a certificate that is not on the logged-in token,
// which the host then refuses as it is.
async function promptFor(origin, request, exchange) {
  if (request.action !== "sign") {
    return promptOf(origin, request, await namedToken(request, exchange));
  }
  const found = await certificateOfLogin(request.certificateSN, exchange);
  if (!found.certificate) {
    return null;
  }
  const certificate = `“${found.certificate.subjectDN}” (serial number ${found.serial})`;
  // A key's own PIN need not follow the token's rules for the user PIN.
  const token = { name: found.token, lengths: { min: 0, max: null } };
  return promptOf(origin, request, token, [["Certificate", certificate], ["Text to sign", textToSign(request.payload)]]);
}

/**
 * Asks for the PINs of `request` in the extension's window and resolves with
 * the host's reply to the request completed with them. PINs the page put in
 * the request are not used.
 */
export async function exchangeWithPinWindow(origin, request, exchange) {
  const asked = withoutPins(withoutPinPrompt(request));
  const prompt = await promptFor(origin, asked, exchange);
  if (prompt === null) {
    return exchange(asked);
  }
  // exchange() copies the request before it returns; nothing here holds the PINs after that.
  return enterPins(prompt, (pins) => exchange({ ...asked, ...pins }));
}
