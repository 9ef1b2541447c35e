// The window in which the user types a PIN for a site's request (pin.html), so
// that the page never holds it. The window fetches what to show through a
// port and sends the PINs back the same way; the background completes the
// request with them and sends it to the site's host at once, keeping no copy.
// A PIN the token refused is shown in the window, which then asks again; any
// other outcome ends the exchange and closes the window. Like the question
// windows, it keeps messaging the background while it is open, since Firefox
// would otherwise suspend the background page under a window that waits for a
// person.
import { api, isOwnPage } from "./api.js";
import { refuse } from "./refusals.js";

export const PIN_PORT = "vantrel-pin";

const WINDOW_WIDTH = 560;
const WINDOW_BASE_HEIGHT = 420;
const FIELD_HEIGHT = 70;

// A PIN the user can correct by typing it again: a wrong one (160), one with
// characters the token does not take (161), one of a length it does not take (162).
const PIN_REFUSED = /\(rc=16[012]\)\s*$/;

let nextEntryId = 1;
// entry id -> entry (see enterPins)
const open = new Map();

export function isPinRefusal(reply) {
  return Boolean(reply) && typeof reply.error === "string" && PIN_REFUSED.test(reply.error);
}

/**
 * Opens the PIN window for `prompt` and resolves with the host's final reply.
 * `send(pins)` sends the request completed with the PINs typed and resolves
 * with the host's reply. Rejects with the "cancelled" refusal when the user
 * cancels or closes the window before anything was sent, or with whatever
 * `send` rejects with.
 *
 * `prompt`: { title, facts: [[term, text]], warning, fields: [{ name, label,
 * checked, again }], lengths: { min, max }, submit, danger }. A field with
 * `again` repeats the field of that name; `checked` fields must have a length
 * within `lengths`.
 */
export function enterPins(prompt, send) {
  const id = nextEntryId++;
  return new Promise((resolve, reject) => {
    const entry = {
      prompt,
      send,
      windowId: null,
      port: null,
      sending: false,
      closed: false,
      finish(outcome) {
        if (open.get(id) !== entry) {
          return;
        }
        open.delete(id);
        if (entry.port && !entry.closed) {
          entry.port.postMessage({ type: "done" });
        }
        if ("error" in outcome) {
          reject(outcome.error);
        } else {
          resolve(outcome.reply);
        }
      },
    };
    open.set(id, entry);
    const height = WINDOW_BASE_HEIGHT + FIELD_HEIGHT * prompt.fields.length + 24 * prompt.facts.length;
    api.windows
      .create({ url: api.runtime.getURL(`pin.html?entry=${id}`), type: "popup", width: WINDOW_WIDTH, height })
      .then((created) => {
        entry.windowId = created.id;
      })
      .catch((error) => {
        console.warn("Vantrel: cannot open a window to ask for the PIN", error);
        entry.finish({ error: refuse.cancelled() });
      });
  });
}

// The user went away: before anything was sent that cancels the request;
// once the request is at the host, its reply is the outcome.
function abandon(entry) {
  entry.closed = true;
  if (!entry.sending) {
    entry.finish({ error: refuse.cancelled() });
  }
}

// Only the members the window was asked for, each a text.
function pinsOf(message, fields) {
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

// The PINs go into `send` and nowhere else: nothing here keeps them once it
// has been called.
function submit(entry, message) {
  const pins = pinsOf(message, entry.prompt.fields);
  if (pins === null || entry.sending || entry.closed) {
    return;
  }
  entry.sending = true;
  settleAfter(entry, entry.send(pins));
}

async function settleAfter(entry, sent) {
  let reply;
  try {
    reply = await sent;
  } catch (error) {
    entry.finish({ error });
    return;
  } finally {
    entry.sending = false;
  }
  if (isPinRefusal(reply) && !entry.closed) {
    entry.port.postMessage({ type: "again", error: reply.error });
  } else {
    entry.finish({ reply });
  }
}

export function servePinWindow(port) {
  if (!isOwnPage(port.sender, "pin.html")) {
    port.disconnect();
    return;
  }
  let entry = null;
  port.onMessage.addListener((message) => {
    if (message.type === "show") {
      entry = open.get(Number(message.entry)) || null;
      if (entry) {
        entry.port = port;
      }
      port.postMessage(entry ? { type: "prompt", prompt: entry.prompt } : { type: "done" });
    } else if (message.type === "submit" && entry) {
      submit(entry, message);
    } else if (message.type === "cancel" && entry && !entry.sending) {
      abandon(entry);
    }
  });
  port.onDisconnect.addListener(() => {
    if (entry) {
      abandon(entry);
    }
  });
}

// A window that never loaded its page has no port to report its closing.
api.windows.onRemoved.addListener((windowId) => {
  for (const entry of open.values()) {
    if (entry.windowId === windowId) {
      abandon(entry);
    }
  }
});
