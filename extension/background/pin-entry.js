// PINs the page never sees. A page may leave the PINs out of login,
// changePIN, formatToken and sign and send "pinPrompt": true instead; the
// extension then asks for them in its own window, naming the site, the action
// and the token, and completes the request itself (signatures: signing.js).
// The PINs typed go into the request sent to the site's host and nowhere
// else. A PIN the token refused is shown in the window, which asks again; any
// other outcome ends the exchange and closes the window. The "pinPrompt"
// member is the extension's own and never reaches the host.
//
// A token in a reader with its own keypad ("pinPad" in its record) takes its
// PIN there: a login or PIN change for it always goes through the window,
// whatever the page sent, which names the site, says to enter the PIN on the
// reader and shows that the token is waiting for it; the request reaches the
// host with empty PINs, which the host leaves to the keypad. The window says
// what a token that counts wrong PINs reported ("userPinState") before
// anything is typed, and a token whose PIN is locked is not offered at all.
import { refuse } from "./refusals.js";
import { WindowUnavailable } from "./window-broker.js";
import { describeToken, listTokens } from "./token-names.js";
import { isLocalOrigin } from "../shared/site-answers.js";

// The members of each action that hold a PIN.
export const PIN_MEMBERS = Object.freeze({
  login: ["pin"],
  changePIN: ["oldPIN", "newPIN"],
  formatToken: ["tokenPIN", "adminPIN"],
  sign: ["pin"],
});

export const NEEDS_PIN_TO_SIGN = "The key needs its PIN for every signature";

// A PIN the user can correct by typing it again: a wrong one (160), one with
// characters the token does not take (161), one of a length it does not take (162).
const PIN_REFUSED = /\(rc=16[012]\)\s*$/;

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

export function withoutPins(request) {
  const sent = { ...request };
  for (const name of pinMembersOf(request)) {
    delete sent[name];
  }
  return sent;
}

export function needsPinToSign(reply) {
  return Boolean(reply) && reply.error === NEEDS_PIN_TO_SIGN;
}

export function isPinRefusal(reply) {
  return Boolean(reply) && typeof reply.error === "string" && PIN_REFUSED.test(reply.error);
}

/** What the window says about a PIN the token refused. */
export function refusalProblem(reply) {
  return `The token refused the PIN: ${reply.error}. Check it and try again; a token locks after a few wrong tries.`;
}

const KEYPAD_CANCELLED = /\(rc=80\)\s*$/;
// A keypad entry that gave the token no PIN at all, whatever the reader's reason (its time ran out).
const KEYPAD_GAVE_NOTHING = /^(Login failed|Failed to set token PIN) \(rc=\d+\)\s*$/;

/**
 * What the window says about an entry on the reader's keypad that did not
 * go through and may be tried again, or null when the reply ends the exchange.
 */
export function keypadProblem(reply) {
  const error = reply && typeof reply.error === "string" ? reply.error : null;
  if (error === null) {
    return null;
  }
  if (PIN_REFUSED.test(error)) {
    return `The token refused the PIN entered on the reader: ${error}. Try again, or cancel; a token locks after a few wrong tries.`;
  }
  if (KEYPAD_CANCELLED.test(error)) {
    return `The PIN entry was cancelled on the reader (${error}). Try again, or cancel.`;
  }
  if (KEYPAD_GAVE_NOTHING.test(error)) {
    return `The reader gave no PIN: its time may have run out before the PIN was entered (${error}). Try again, or cancel.`;
  }
  return null;
}

/** What the window says before the user types, from the token's own report of wrong PINs; "" when it reports none. */
export function pinStateWarning(record) {
  switch (record && record.userPinState) {
    case "finalTry":
      return "This is the last try: one more wrong PIN locks the token.";
    case "countLow":
      return "A wrong PIN was entered recently: only a few more wrong tries lock the token.";
    default:
      return "";
  }
}

export function isPinLocked(record) {
  return Boolean(record) && record.userPinState === "locked";
}

export function hasPinPad(record) {
  return Boolean(record) && record.pinPad === true;
}

/**
 * Only the members of `fields` (each once), each a text, taken out of the
 * window's message so that the message holds no PIN afterwards; null when
 * one is missing or not a text.
 */
export function pinsOf(message, fields) {
  const given = message.pins;
  delete message.pins;
  if (given === null || typeof given !== "object") {
    return null;
  }
  const pins = {};
  for (const { name, again } of fields) {
    if (!again) {
      if (typeof given[name] !== "string") {
        return null;
      }
      pins[name] = given[name];
    }
  }
  return pins;
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
};

export function lengthsOf(record) {
  const min = record && Number.isFinite(record.pmin) ? record.pmin : 0;
  const max = record && Number.isFinite(record.pmax) && record.pmax >= 0 ? record.pmax : null;
  return { min, max };
}

// What each action asks of the person at a reader with a keypad.
const ON_KEYPAD = {
  login: { instruction: "Enter the token's PIN on the reader's keypad.", pins: { pin: "" } },
  changePIN: {
    instruction: "Enter the current PIN on the reader's keypad, then the new PIN as the reader asks for it.",
    pins: { oldPIN: "", newPIN: "" },
  },
};

// The token a login, changePIN or formatToken names, as its host lists it.
async function namedToken(request, exchange) {
  const tokens = await listTokens(exchange);
  const record = tokens.find((t) => t.tokenSN === request.tokenSN);
  if (typeof request.tokenSN !== "string" || !record) {
    throw refuse.noToken(String(request.tokenSN));
  }
  return { name: describeToken(request.tokenSN, tokens), lengths: lengthsOf(record), record };
}

/** Whether `request` is a login or PIN change for a token on a reader with a keypad (its host is asked). */
export async function isForKeypad(request, exchange) {
  if (!Object.hasOwn(ON_KEYPAD, request.action) || typeof request.tokenSN !== "string") {
    return false;
  }
  return hasPinPad((await listTokens(exchange)).find((t) => t.tokenSN === request.tokenSN));
}

/** What the PIN window shows for a login, changePIN or formatToken. */
export function promptOf(origin, request, token) {
  const shape = PROMPTS[request.action];
  const keypad = hasPinPad(token.record) && Object.hasOwn(ON_KEYPAD, request.action);
  return {
    title: shape.title(origin),
    site: origin,
    local: isLocalOrigin(origin),
    facts: [["Action", shape.action(request)], ["Token", token.name]],
    warning: shape.warning || "",
    pinState: request.action === "formatToken" ? "" : pinStateWarning(token.record),
    keypad: keypad ? ON_KEYPAD[request.action].instruction : "",
    fields: keypad ? [] : shape.fields,
    lengths: token.lengths,
    submit: keypad ? "Try again" : shape.submit,
    danger: Boolean(shape.danger),
  };
}

/**
 * Opens a PIN window showing `prompt` and resolves with the host's final
 * reply. `send(pins)` sends the request completed with the PINs typed and
 * resolves with the host's reply. Rejects with the "cancelled" refusal when
 * the user cancels or closes the window before anything was sent, or with
 * whatever `send` rejects with.
 */
export function enterPins({ origin, broker, signal }, prompt, send) {
  let sending = false;
  const abandon = (exchange) => {
    if (!sending) {
      exchange.fail(refuse.cancelled());
    }
  };
  return broker
    .show({
      kind: "pin",
      origin,
      view: prompt,
      signal,
      onMessage(message, exchange) {
        if (message.type === "cancel") {
          abandon(exchange);
          return;
        }
        if (message.type !== "submit" || sending) {
          return;
        }
        const pins = pinsOf(message, prompt.fields);
        if (pins === null) {
          return;
        }
        sending = true;
        // The PINs go into `send` and nowhere else: nothing here keeps them.
        send(pins).then(
          (reply) => {
            sending = false;
            if (isPinRefusal(reply) && !exchange.closed) {
              exchange.again(refusalProblem(reply));
            } else {
              exchange.finish(reply);
            }
          },
          (error) => exchange.fail(error),
        );
      },
      // Once the request is at the host, its reply is the outcome.
      onClose: abandon,
    })
    .catch((error) => {
      throw error instanceof WindowUnavailable ? refuse.cancelled() : error;
    });
}

/**
 * Opens a PIN window for a reader's keypad, showing `prompt`, and has
 * `send()` send the request as soon as the window names the site (the reader
 * then asks for the PIN). An entry that did not go through is shown and may
 * be tried again; any other reply ends the exchange. Rejects with the
 * "cancelled" refusal when the user cancels or closes the window while
 * nothing is on its way to the token.
 */
export function enterOnKeypad({ origin, broker, signal }, prompt, send) {
  let sending = false;
  const attempt = (exchange) => {
    if (sending) {
      return;
    }
    sending = true;
    send().then(
      (reply) => {
        sending = false;
        const problem = keypadProblem(reply);
        if (problem !== null && !exchange.closed) {
          exchange.again(problem);
        } else {
          exchange.finish(reply);
        }
      },
      (error) => exchange.fail(error),
    );
  };
  const abandon = (exchange) => {
    if (!sending) {
      exchange.fail(refuse.cancelled());
    }
  };
  return broker
    .show({
      kind: "pin",
      origin,
      view: prompt,
      signal,
      onShown: attempt,
      onMessage(message, exchange) {
        if (message.type === "cancel") {
          abandon(exchange);
        } else if (message.type === "submit") {
          attempt(exchange);
        }
      },
      onClose: abandon,
    })
    .catch((error) => {
      throw error instanceof WindowUnavailable ? refuse.cancelled() : error;
    });
}

/**
 * Asks for the PINs of a login, changePIN or formatToken in the extension's
 * window (or on the reader's keypad, the window saying so) and resolves with
 * the host's reply to the request completed with them. PINs the page put in
 * the request are not used.
 */
export async function exchangeWithPinWindow(context, request) {
  const asked = withoutPins(withoutPinPrompt(request));
  const token = await namedToken(asked, context.exchange);
  if (isPinLocked(token.record) && asked.action !== "formatToken") {
    throw refuse.pinLocked(asked.tokenSN);
  }
  const prompt = promptOf(context.origin, asked, token);
  if (prompt.keypad !== "") {
    return enterOnKeypad(context, prompt, () => context.exchange({ ...asked, ...ON_KEYPAD[asked.action].pins }));
  }
  // exchange() copies the request before it returns; nothing here holds the PINs after that.
  return enterPins(context, prompt, (pins) => context.exchange({ ...asked, ...pins }));
}
