// What you see is what you sign. A signature is shown to the user in the
// extension's window before the host is asked for it: the site, the token,
// the certificate and the exact text the token will sign (for an object
// payload, the text the host would make of it, which is then sent instead of
// the object, so that the host signs exactly what was shown). The user signs
// or cancels there. The window asks for a PIN only where a PIN is checked:
// the token's, when the site asked for the PIN window (pinPrompt) and is not
// logged in to the certificate's token, so that the extension logs in and
// signs in one go; the key's own, when the key turns out to need it for every
// signature.
//
// With the administrator's confirmEachSignature set to false, only
// signatures that need a PIN open the window.
//
// On a token in a reader with a keypad both PINs are entered there: the
// window has no PIN field, says to enter the PIN on the reader when the
// token waits for it, and the host gets empty PINs, which it leaves to the
// keypad; a PIN the page sent for such a token is never used.
import { refuse } from "./refusals.js";
import {
  hasPinPad,
  isPinLocked,
  isPinRefusal,
  keypadProblem,
  lengthsOf,
  needsPinToSign,
  pinStateWarning,
  pinsOf,
  refusalProblem,
  withoutPinPrompt,
  withoutPins,
} from "./pin-entry.js";
import { WindowUnavailable } from "./window-broker.js";
import { listCertificates, listTokens, loggedInToken, serialValue } from "./token-names.js";
import { settings } from "../shared/settings.js";
import { signedText } from "../shared/signed-text.js";
import { isLocalOrigin } from "../shared/site-answers.js";

const TOKEN_PIN = { name: "pin", label: "PIN of the token", purpose: "login" };
const KEY_PIN = { name: "pin", label: "PIN of the key", purpose: "key" };
const ON_KEYPAD = {
  login: "Sign, then enter the token's PIN on the reader's keypad.",
  key: "Enter the key's PIN on the reader's keypad.",
};

// The PIN the window asks for (on a reader's keypad when the token has one),
// with what the token reported of wrong PINs.
function pinFor(shape, token) {
  const warning = pinStateWarning(token);
  const pin = warning === "" ? shape : { ...shape, warning };
  return hasPinPad(token) ? { ...pin, keypad: ON_KEYPAD[shape.purpose] } : pin;
}

/** Whether the host could decode the request as a sign at all (else it gets it as it is, and stops). */
function isReadable(request) {
  const payload = request.payload;
  const payloadReadable = typeof payload === "string" || (payload !== null && typeof payload === "object" && !Array.isArray(payload));
  return typeof request.certificateSN === "string" && payloadReadable;
}

/**
 * Serves a sign request of the site whose context is { origin, exchange,
 * broker, signal }, and resolves with the host's reply.
 */
export async function serveSign(context, request) {
  const prompted = request.pinPrompt === true;
  // With pinPrompt, PINs of the page are not used.
  const asked = prompted ? withoutPins(withoutPinPrompt(request)) : withoutPinPrompt(request);
  if (!isReadable(asked)) {
    return context.exchange(asked);
  }
  const { confirmEachSignature } = await settings();
  if (!confirmEachSignature && !prompted) {
    // A PIN the page sent for a token with a keypad is not sent: the window asks there.
    const sent = "pin" in asked && (await signsOnKeypad(context.exchange)) ? withoutPins(asked) : asked;
    const reply = await context.exchange(sent);
    if (!needsPinToSign(reply)) {
      return reply;
    }
    return signInWindow(context, sent, { keyPinFirst: true });
  }
  return signInWindow(context, asked, { prompted });
}

// Whether the token the origin is logged in to is in a reader with a keypad.
async function signsOnKeypad(exchange) {
  const current = await loggedInToken(exchange);
  return current !== null && hasPinPad((await listTokens(exchange)).find((t) => t.tokenSN === current));
}

/**
 * Where the certificate is and what it takes to sign with it:
 * { token, certificate, login } where `login` tells that the window must
 * log in to `token` first; null when the origin has no login and none is to
 * be made here (the host then refuses the request by itself).
 */
async function locate(exchange, certificateSN, prompted, onToken) {
  const serial = serialValue(certificateSN);
  const current = await loggedInToken(exchange);
  const tokens = await listTokens(exchange);
  // A certificate the user chose for the site is the one on the token it was chosen on.
  const find = (certificates) => certificates.filter((c) => c.serialNumber === serial && (onToken === undefined || c.tokenSN === onToken));
  if (current !== null) {
    const [certificate] = find(await listCertificates(exchange, current));
    const token = tokens.find((t) => t.tokenSN === current);
    if (certificate && token) {
      return { token, certificate, login: false };
    }
  }
  if (!prompted) {
    if (current === null) {
      return null;
    }
    throw refuse.unconfirmed();
  }
  const holders = find(await listCertificates(exchange));
  const token = holders.length === 1 ? tokens.find((t) => t.tokenSN === holders[0].tokenSN) : undefined;
  if (!token) {
    throw refuse.unconfirmed();
  }
  return { token, certificate: holders[0], login: true };
}

/** What the sign window shows. */
function viewOf(origin, where, text, payload, pin) {
  return {
    title: `${origin} asks you to sign`,
    site: origin,
    local: isLocalOrigin(origin),
    token: { label: where.token.tokenLabel || "", serial: where.token.tokenSN, model: where.token.tokenModel || "" },
    certificate: { subject: where.certificate.subjectDN || "", serial: where.certificate.serialNumber },
    text,
    fromObject: typeof payload !== "string",
    pin,
    submit: pin && pin.purpose === "login" ? "Log in and sign" : "Sign",
  };
}

async function signInWindow(context, asked, { prompted = false, keyPinFirst = false }) {
  const { origin, exchange } = context;
  let text;
  try {
    text = signedText(asked.payload);
  } catch {
    throw refuse.unconfirmed();
  }
  const where = await locate(exchange, asked.certificateSN, prompted || keyPinFirst, context.tokenSN);
  if (where === null) {
    return exchange(asked);
  }
  if (where.login && isPinLocked(where.token)) {
    throw refuse.pinLocked(where.token.tokenSN);
  }
  const keypad = hasPinPad(where.token);
  const signing = { ...(keypad ? withoutPins(asked) : asked), payload: text };
  const firstPin = where.login
    ? pinFor({ ...TOKEN_PIN, lengths: lengthsOf(where.token) }, where.token)
    : keyPinFirst
      ? pinFor(KEY_PIN, where.token)
      : null;
  const keyPin = pinFor(KEY_PIN, where.token);
  const view = viewOf(origin, where, text, asked.payload, firstPin);
  return confirmInWindow(context, view, {
    // Each step resolves with { reply } (the host's reply, which ends the
    // exchange unless the window goes on), and { again } (a problem: the PIN
    // was refused, to be typed again) or { next } (the PIN the window asks for next).
    async login(pins) {
      const login = await exchange({ action: "login", tokenSN: where.token.tokenSN, mode: "read", ...pins });
      const reply = { action: "sign", error: login.error };
      const problem = keypad ? keypadProblem(login) : isPinRefusal(login) ? refusalProblem(login) : null;
      if (problem !== null) {
        return { reply, again: problem };
      }
      return login.error ? { reply } : this.sign({});
    },
    async sign(pins) {
      const reply = await exchange({ ...signing, ...pins });
      if (needsPinToSign(reply) && !("pin" in pins)) {
        return { reply, next: keyPin };
      }
      if (!("pin" in pins)) {
        return { reply };
      }
      const problem = keypad ? keypadProblem(reply) : isPinRefusal(reply) ? refusalProblem(reply) : null;
      return problem !== null ? { reply, again: problem } : { reply };
    },
  });
}

/**
 * Opens the sign window and resolves with the host's final reply. Before
 * anything was sent, Cancel, Escape or closing the window refuse the
 * signature; once a request is at the host, its reply is the outcome.
 */
function confirmInWindow({ origin, broker, signal }, firstView, steps) {
  let view = firstView;
  let sending = false;
  const refuseIfIdle = (exchange) => {
    if (!sending) {
      exchange.fail(refuse.signature());
    }
  };
  const go = async (pins, exchange) => {
    const outcome = await (view.pin && view.pin.purpose === "login" ? steps.login(pins) : steps.sign(pins));
    if (outcome.again !== undefined && !exchange.closed) {
      exchange.again(outcome.again);
    } else if (outcome.next !== undefined && !exchange.closed) {
      // A keypad asks at once: the user is there already, having clicked Sign.
      const keypad = Boolean(outcome.next.keypad);
      view = { ...view, pin: outcome.next, submit: keypad ? "Try again" : "Sign", waiting: keypad };
      exchange.show(view);
      if (keypad) {
        await go({ pin: "" }, exchange);
      }
    } else {
      exchange.finish(outcome.reply);
    }
  };
  return broker
    .show({
      kind: "sign",
      origin,
      view,
      signal,
      onMessage(message, exchange) {
        if (message.type === "cancel") {
          refuseIfIdle(exchange);
          return;
        }
        if (message.type !== "submit" || sending) {
          return;
        }
        const pins = !view.pin ? {} : view.pin.keypad ? { pin: "" } : pinsOf(message, [view.pin]);
        if (pins === null) {
          return;
        }
        sending = true;
        go(pins, exchange).then(
          () => (sending = false),
          (error) => exchange.fail(error),
        );
      },
      onClose: refuseIfIdle,
    })
    .catch((error) => {
      throw error instanceof WindowUnavailable ? refuse.unconfirmed() : error;
    });
}
