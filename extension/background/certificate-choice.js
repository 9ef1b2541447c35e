// The user picks the certificate a site gets. For "selectCertificate" the
// extension lists the tokens and their certificates through the site's own
// host and shows them in its window, each as a person recognises it (whose
// it is, who issued it, until when it is valid, on which token), the whole
// record on request; a certificate that is not valid now is marked and
// cannot be picked. When no token holding a certificate is there, the window
// asks for the token and looks again every few seconds, starting the site's
// host afresh each time while it holds no login (a module may see a token
// that another program added only once it is initialised again), and goes on
// as soon as one is there.
//
// The page gets the certificate picked, and nothing of the others; with
// "forceLogon" the user logs in to its token first. The choice is kept for
// the site until the browser restarts (session storage), so that with the
// administrator's pagesListCertificates set to false a site may sign only
// with a certificate the user chose for it.
import { api } from "../shared/api.js";
import { base64Bytes, certificateFields } from "../shared/certificate-fields.js";
import { isLocalOrigin } from "../shared/site-answers.js";
import { exchangeWithPinWindow, hasPinPad, isPinLocked } from "./pin-entry.js";
import { refuse } from "./refusals.js";
import { certificateSNOf, describeToken, serialValue } from "./token-names.js";
import { WindowUnavailable } from "./window-broker.js";

/** How often the window looks again for a token, in milliseconds. */
export const LOOK_AGAIN_MS = 2000;

const CHOICE_PREFIX = "choice:";

/** The certificate the user chose for the origin this browser session: { tokenSN, serialNumber, certificateSN }, or null. */
export async function chosenFor(origin) {
  const key = CHOICE_PREFIX + origin;
  return (await api.storage.session.get(key))[key] || null;
}

function remember(origin, picked) {
  const { tokenSN, serialNumber, certificateSN } = picked;
  return api.storage.session.set({ [CHOICE_PREFIX + origin]: { tokenSN, serialNumber, certificateSN, since: new Date().toISOString() } });
}

export function forgetChoice(origin) {
  return api.storage.session.remove(CHOICE_PREFIX + origin);
}

/** Whether `certificateSN` of a request names the certificate `chosen`. */
export function isChosen(chosen, certificateSN) {
  return Boolean(chosen) && typeof certificateSN === "string" && serialValue(certificateSN) === String(chosen.serialNumber).toLowerCase();
}

/** "valid", "expired" or "not-yet-valid" at `now`; "unknown" when the dates could not be read. */
export function validityAt(fields, now) {
  if (!fields) {
    return "unknown";
  }
  if (now < fields.notBefore.getTime()) {
    return "not-yet-valid";
  }
  return now > fields.notAfter.getTime() ? "expired" : "valid";
}

function day(date) {
  return date.toISOString().slice(0, 10);
}

function moment(date) {
  return date.toISOString().replace("T", " ").replace(/\.\d+Z$/, " UTC");
}

/**
 * The certificates on the tokens the host lists, each as the window shows it:
 * { id, tokenSN, serialNumber, certificateSN, certificate (base64 DER),
 * subject, issuer, validUntil, token, validity, pickable, note, record }.
 */
export function candidatesOf(tokens, certificates, { now = Date.now(), forceLogon = false } = {}) {
  const candidates = [];
  for (const listed of certificates) {
    const token = tokens.find((t) => t.tokenSN === listed.tokenSN && t.tokenSN !== "");
    if (!token || typeof listed.certificate !== "string") {
      continue;
    }
    const fields = certificateFields(base64Bytes(listed.certificate) || []);
    const validity = validityAt(fields, now);
    const locked = forceLogon && isPinLocked(token);
    const note =
      validity === "expired"
        ? `Expired on ${day(fields.notAfter)}: it cannot be used.`
        : validity === "not-yet-valid"
          ? `Not valid before ${day(fields.notBefore)}: it cannot be used yet.`
          : locked
            ? "The PIN of its token is locked: you could not log in to it."
            : "";
    candidates.push({
      id: `${token.tokenSN}/${listed.serialNumber}`,
      tokenSN: token.tokenSN,
      serialNumber: listed.serialNumber,
      certificateSN: certificateSNOf(listed.serialNumber),
      certificate: listed.certificate,
      subject: (fields && fields.subjectCN) || listed.subjectDN || "(no name)",
      issuer: (fields && fields.issuerCN) || listed.issuerDN || "(no name)",
      validUntil: fields ? day(fields.notAfter) : listed.validUntil,
      token: token.tokenLabel || `serial number ${token.tokenSN}`,
      validity,
      pickable: (validity === "valid" || validity === "unknown") && !locked,
      note,
      record: [
        ["Subject", listed.subjectDN],
        ["Alternative names", listed.subjectAN || "none"],
        ["Issuer", listed.issuerDN],
        ["Serial number", listed.serialNumber],
        ["Valid from", fields ? moment(fields.notBefore) : listed.validFrom],
        ["Valid until", fields ? moment(fields.notAfter) : listed.validUntil],
        ["Token", describeToken(token.tokenSN, tokens)],
        ["Token model", token.tokenModel || ""],
        ["Reader", hasPinPad(token) ? "with its own keypad" : "without a keypad"],
      ],
    });
  }
  return candidates;
}

/** What the choice window shows. */
function viewOf(origin, candidates, { forceLogon, signing, looks }) {
  return {
    title: `${origin} wants to know which certificate to use`,
    site: origin,
    local: isLocalOrigin(origin),
    state: candidates.length > 0 ? "choose" : "insert",
    certificates: candidates.map(({ certificate, ...shown }) => shown),
    forceLogon,
    signing,
    looks,
  };
}

/** The site's host could not list the tokens or the certificates: its error text. */
class ListingFailed extends Error {}

// The reply of `request`; its error, which no waiting would mend (a module
// that cannot be loaded), ends the choice.
async function listed(exchange, request, member) {
  const reply = await exchange(request);
  if (typeof reply.error === "string") {
    throw new ListingFailed(reply.error);
  }
  return Array.isArray(reply[member]) ? reply[member] : [];
}

// The tokens and their certificates, as the site's host lists them now.
async function look(exchange, forceLogon) {
  const tokens = await listed(exchange, { action: "listTokens" }, "tokens");
  const certificates = tokens.some((t) => t.tokenSN !== "")
    ? await listed(exchange, { action: "listCertificates", includeCertificate: true }, "certificates")
    : [];
  return candidatesOf(tokens, certificates, { forceLogon });
}

/**
 * Opens the choice window for the site whose context is { origin, broker,
 * signal, exchange, startAfresh, lookAgainMs (optional) } and resolves with the candidate the user
 * picked; rejects with the cancelled-choice refusal when the user cancels or
 * closes it. `signing`: the serial number of the certificate a sign asked
 * for, when the choice is made for it.
 */
export async function chooseCertificate(context, { forceLogon = false, signing = null } = {}) {
  let candidates = await look(context.exchange, forceLogon);
  let looks = 0;
  let stopped = false;
  let wake = () => {};
  let looking = Promise.resolve();

  // Looks again for a token while the window waits for one, until one is there or the window is done.
  const lookAgain = async (exchange) => {
    while (!stopped && candidates.length === 0) {
      await new Promise((resolve) => {
        wake = resolve;
        setTimeout(resolve, context.lookAgainMs ?? LOOK_AGAIN_MS);
      });
      if (stopped) {
        return;
      }
      try {
        await context.startAfresh();
        candidates = await look(context.exchange, forceLogon);
      } catch (error) {
        exchange.fail(error);
        return;
      }
      looks += 1;
      exchange.show(viewOf(context.origin, candidates, { forceLogon, signing, looks }));
    }
  };

  try {
    return await context.broker.show({
      kind: "choice",
      origin: context.origin,
      view: viewOf(context.origin, candidates, { forceLogon, signing, looks }),
      signal: context.signal,
      onOpen(exchange) {
        looking = lookAgain(exchange);
      },
      onMessage(message, exchange) {
        if (message.type === "cancel") {
          exchange.fail(refuse.cancelledChoice());
        } else if (message.type === "choose") {
          const picked = candidates.find((c) => c.id === message.id && c.pickable);
          if (picked) {
            exchange.finish(picked);
          }
        }
      },
      onClose: (exchange) => exchange.fail(refuse.cancelledChoice()),
    });
  } catch (error) {
    throw error instanceof WindowUnavailable ? refuse.cancelledChoice() : error;
  } finally {
    // Nothing of the looking goes on once the request is done.
    stopped = true;
    wake();
    await looking;
  }
}

/** The reply of "selectCertificate" for the site: the certificate the user picks, and with forceLogon the login to its token. */
export async function serveSelectCertificate(context, request) {
  if (typeof request.forceLogon !== "boolean") {
    // What the host would have said before stopping.
    return { action: "selectCertificate", error: "Missing mandatory JSON object boolean property forceLogon" };
  }
  let picked;
  try {
    picked = await chooseCertificate(context, { forceLogon: request.forceLogon });
  } catch (error) {
    if (error instanceof ListingFailed) {
      return { action: "selectCertificate", error: error.message };
    }
    throw error;
  }
  await remember(context.origin, picked);
  if (request.forceLogon) {
    const login = await exchangeWithPinWindow(context, { action: "login", tokenSN: picked.tokenSN, mode: "read", pinPrompt: true });
    if (login.error) {
      return { action: "selectCertificate", error: login.error };
    }
  }
  return { action: "selectCertificate", certificate: picked.certificate, certificateSN: picked.certificateSN, tokenSN: picked.tokenSN };
}

/**
 * For a sign while sites may not list the certificates: resolves with the
 * token of the certificate the user chose for the site, asking the user
 * first when the site has no choice for it; throws the not-chosen refusal
 * when the user picked another.
 */
export async function requireChosen(context, certificateSN) {
  const chosen = await chosenFor(context.origin);
  if (isChosen(chosen, certificateSN)) {
    return chosen.tokenSN;
  }
  const picked = await chooseCertificate(context, { signing: serialValue(certificateSN) });
  await remember(context.origin, picked);
  if (!isChosen(picked, certificateSN)) {
    throw refuse.notChosen();
  }
  return picked.tokenSN;
}
