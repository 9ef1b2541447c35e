// The actions that destroy what is on a token are put to the user every time,
// in a window naming the site and the token. The token is named by what the
// site's own host reports about it, asked just before the question.
import { refuse } from "./refusals.js";
import { ask } from "./questions.js";

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

function describeToken(serial, tokens) {
  const token = tokens.find((t) => t.tokenSN === serial);
  return token && token.tokenLabel ? `the token “${token.tokenLabel}” (serial number ${serial})` : `the token with serial number ${serial}`;
}

async function listTokens(exchange) {
  const reply = await exchange({ action: "listTokens" });
  return Array.isArray(reply.tokens) ? reply.tokens : [];
}

async function tokenOfRequest(request, exchange) {
  if (typeof request.tokenSN !== "string") {
    return { token: "a token" };
  }
  return { token: describeToken(request.tokenSN, await listTokens(exchange)) };
}

// The value of a certificate's serial number INTEGER as listCertificates shows
// it, from the whole DER INTEGER that a request names the certificate by.
function serialValue(certificateSN) {
  const integer = /^02([0-9a-fA-F]{2})((?:[0-9a-fA-F]{2})*)$/.exec(String(certificateSN));
  return integer && parseInt(integer[1], 16) * 2 === integer[2].length ? integer[2].toLowerCase() : String(certificateSN);
}

async function tokenOfLogin(request, exchange) {
  const serial = serialValue(request.certificateSN);
  const info = await exchange({ action: "info" });
  if (typeof info.token !== "string") {
    return { token: "the logged-in token (none at the moment)", certificate: `with serial number ${serial}` };
  }
  const listed = await exchange({ action: "listCertificates", tokenSN: info.token });
  const certificates = Array.isArray(listed.certificates) ? listed.certificates : [];
  const certificate = certificates.find((c) => c.serialNumber === serial);
  return {
    token: describeToken(info.token, await listTokens(exchange)),
    certificate: certificate ? `“${certificate.subjectDN}” (serial number ${serial})` : `with serial number ${serial}`,
  };
}

// Resolves when the user agreed; throws the refusal otherwise.
export async function confirm(origin, request, exchange) {
  const action = ACTIONS[request.action];
  const found = await action.token(request, exchange);
  const answer = await ask({
    title: action.title(origin, found.token),
    details: action.details(request, found),
    yes: action.yes,
    no: "Cancel",
    danger: true,
  });
  if (answer !== "yes") {
    throw refuse.action(action.verb);
  }
}
