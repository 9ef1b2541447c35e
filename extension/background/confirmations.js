// The actions that destroy what is on a token are put to the user every time,
// in a window naming the site and the token (token-names.js).
import { refuse } from "./refusals.js";
import { ask } from "./questions.js";
import { WindowUnavailable } from "./window-broker.js";
import { isLocalOrigin } from "../shared/site-answers.js";
import { certificateOfLogin, describeToken, listTokens } from "./token-names.js";

const ACTIONS = {
  formatToken: {
    verb: "format the token",
    title: (origin, token) => `Let ${origin} format ${token}?`,
    details: () => ["Formatting erases every key and certificate on the token and sets a new PIN. This cannot be undone."],
    yes: "Format the token",
    token: tokenOfRequest,
  },
  deleteCertificate: {
    verb: "delete the certificate",
    title: (origin, token) => `Let ${origin} delete a certificate from ${token}?`,
    details: (request, found) => [
      `The certificate ${found.certificate} and its keys are deleted from the token. This cannot be undone.`,
    ],
    yes: "Delete the certificate",
    token: tokenOfLogin,
  },
  deleteOrphanKeys: {
    verb: "delete the orphan keys",
    title: (origin, token) => `Let ${origin} delete keys from ${token}?`,
    details: (request) => [
      `Every ${request.keyType === "public" ? "public" : "private"} key on the token that no certificate belongs to is deleted. ` +
        "This cannot be undone.",
    ],
    yes: "Delete the keys",
    token: tokenOfRequest,
  },
};

export function needsConfirmation(request) {
  return Object.hasOwn(ACTIONS, request.action);
}

async function tokenOfRequest(request, exchange) {
  if (typeof request.tokenSN !== "string") {
    return { token: "a token" };
  }
  return { token: describeToken(request.tokenSN, await listTokens(exchange)) };
}

async function tokenOfLogin(request, exchange) {
  const { token, serial, certificate } = await certificateOfLogin(request.certificateSN, exchange);
  return { token, certificate: certificate ? `“${certificate.subjectDN}” (serial number ${serial})` : `with serial number ${serial}` };
}

// Resolves when the user agreed; throws the refusal otherwise. `request`
// goes through the site's context: { origin, exchange, broker, signal }.
export async function confirm({ origin, exchange, broker, signal }, request) {
  const action = ACTIONS[request.action];
  const found = await action.token(request, exchange);
  const question = {
    title: action.title(origin, found.token),
    site: origin,
    local: isLocalOrigin(origin),
    details: action.details(request, found),
    yes: action.yes,
    no: "Cancel",
    danger: true,
  };
  const answer = await ask(broker, origin, question, signal).catch((error) => {
    throw error instanceof WindowUnavailable ? refuse.action(action.verb) : error;
  });
  if (answer !== "yes") {
    throw refuse.action(action.verb);
  }
}
