// Every window of the extension goes through here: it waits for its turn
// (attention.js: one window per origin at a time, a few across origins),
// opens as a small popup of the extension's own, which a page can neither
// draw into nor click, gets its port from the window's page, and closes when
// its exchange ends, when the request behind it is given up (the page went
// away, the site was revoked) or when the user closes it. When a window
// opens and closes, the site's host hears of it, so that a login that idled
// out while the user was deciding ends when the window closes.
//
// A kind of window is its page (shared/messages.js) and a size; what the
// window shows (its view) and what its messages mean are the caller's.
import { api, isOwnPage } from "../shared/api.js";
import { PORTS, WINDOW_PAGES, fromWindow, toWindow } from "../shared/messages.js";

const SIZES = {
  question: { width: 560, height: 520 },
  pin: { width: 580, height: 560 },
  sign: { width: 640, height: 640 },
  choice: { width: 640, height: 620 },
};

/** The window could not be opened. */
export class WindowUnavailable extends Error {
  constructor(cause) {
    super(`Vantrel: cannot open a window: ${cause && cause.message}`);
    this.name = "WindowUnavailable";
  }
}

export class WindowBroker {
  /**
   * @param attention  whose turnForWindow a window waits for
   * @param watchers   { opened(origin), closed(origin) }, told of each window of an origin
   */
  constructor(attention, watchers = {}) {
    this.attention = attention;
    this.watchers = { opened() {}, closed() {}, ...watchers };
    this.nextNumber = 1;
    this.open = new Map(); // window number -> entry
    api.windows.onRemoved.addListener((windowId) => this.windowRemoved(windowId));
  }

  /**
   * Opens a window of `kind` for the origin's running request, showing
   * `view`, and resolves or rejects as the exchange settles it:
   *
   * - `onMessage(message, exchange)` gets each answer of the window
   *   (fromWindow's answer, submit and cancel);
   * - `onClose(exchange)` is called when the user closed the window before
   *   the exchange settled it;
   * - `onShown(exchange)`, when given, is called once the window's page has
   *   connected and got its first view (what it shows is then before the
   *   user's eyes);
   * - `onOpen(exchange)`, when given, is called as soon as the window is
   *   being opened, for work that goes on while it is open;
   * - `exchange` has show(view), again(problem), finish(value), fail(error)
   *   and `closed` (the user closed the window).
   *
   * Rejects with WindowUnavailable when the browser opened no window, with
   * the busy refusal when too many requests wait for the user, and with the
   * abort reason of `signal`.
   */
  async show({ kind, origin, view, signal, onMessage, onClose, onShown = () => {}, onOpen = () => {} }) {
    const giveBack = await this.attention.turnForWindow(origin);
    this.watchers.opened(origin);
    const number = this.nextNumber++;
    let entry;
    const settled = new Promise((resolve, reject) => {
      entry = new Exchange({ number, kind, origin, view, onMessage, onClose, onShown, resolve, reject });
    });
    this.open.set(number, entry);
    const stop = () => entry.fail(signal.reason);
    signal.addEventListener("abort", stop, { once: true });
    this.create(entry);
    onOpen(entry);
    try {
      return await settled;
    } finally {
      signal.removeEventListener("abort", stop);
      this.open.delete(number);
      entry.close();
      giveBack();
      this.watchers.closed(origin);
    }
  }

  async create(entry) {
    const page = WINDOW_PAGES[entry.kind];
    try {
      const created = await api.windows.create({
        url: api.runtime.getURL(`${page}?window=${entry.number}`),
        type: "popup",
        ...SIZES[entry.kind],
      });
      entry.windowId = created.id;
      if (entry.settled) {
        entry.close();
      }
    } catch (error) {
      entry.fail(new WindowUnavailable(error));
    }
  }

  /** A window's page connected on the window port. */
  serve(port) {
    let entry = null;
    port.onMessage.addListener((message) => {
      if (!message || typeof message !== "object") {
        return;
      }
      if (message.type === "hello" && entry === null) {
        const found = this.open.get(Number(message.window));
        if (!found || found.port || !isOwnPage(port.sender, WINDOW_PAGES[found.kind])) {
          port.postMessage(toWindow.done());
          return;
        }
        entry = found;
        entry.attach(port);
      } else if (entry && message.type !== fromWindow.stillOpen().type) {
        entry.heard(message);
      }
    });
    port.onDisconnect.addListener(() => {
      if (entry) {
        entry.userClosed();
      }
    });
  }

  // A window whose page never loaded has no port to report its closing.
  windowRemoved(windowId) {
    for (const entry of this.open.values()) {
      if (entry.windowId === windowId) {
        entry.userClosed();
      }
    }
  }
}

/** One window and its exchange. */
class Exchange {
  constructor({ number, kind, origin, view, onMessage, onClose, onShown, resolve, reject }) {
    Object.assign(this, { number, kind, origin, view, onMessage, onClose, onShown, resolve, reject });
    this.port = null;
    this.windowId = null;
    this.settled = false;
    this.closed = false;
  }

  attach(port) {
    this.port = port;
    this.post(toWindow.show(this.view));
    if (!this.settled) {
      this.onShown(this);
    }
  }

  post(message) {
    if (this.port && !this.closed) {
      try {
        this.port.postMessage(message);
      } catch {
        // The window went away meanwhile; its disconnect says so.
      }
    }
  }

  show(view) {
    this.view = view;
    this.post(toWindow.show(view));
  }

  again(problem) {
    this.post(toWindow.again(problem));
  }

  heard(message) {
    if (!this.settled) {
      this.onMessage(message, this);
    }
  }

  userClosed() {
    if (this.closed) {
      return;
    }
    this.closed = true;
    if (!this.settled) {
      this.onClose(this);
    }
  }

  finish(value) {
    if (!this.settled) {
      this.settled = true;
      this.resolve(value);
    }
  }

  fail(error) {
    if (!this.settled) {
      this.settled = true;
      this.reject(error);
    }
  }

  // The window asks its page to close; one whose page never connected is removed.
  close() {
    if (this.port && !this.closed) {
      this.post(toWindow.done());
    } else if (this.windowId !== null && !this.closed) {
      api.windows.remove(this.windowId).catch(() => {});
    }
  }
}
