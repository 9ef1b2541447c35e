// One native host process per page origin, and with it one login. The
// origin's requests reach it one at a time (attention.js queues them).
//
// The host answers each request with one reply carrying the request's "port"
// member: that member carries our own identifier, and the page's value is put
// back into the reply by the caller.
//
// The login's idle time is counted from the host's last reply, and it keeps
// running while a window of the extension waits for the user: a login that
// idles out then ends as soon as the window closes, or before anything more
// is sent to the host, whichever comes first.
import { api } from "../shared/api.js";
import { refuse } from "./refusals.js";
import { settings } from "../shared/settings.js";

const HOST_NAME = "org.vantrel.host";
const LONGEST_TIMER_MS = 2 ** 31 - 1;

let nextWireId = 1;

export class OriginHost {
  constructor(origin, onEnded = () => {}) {
    this.origin = origin;
    this.onEnded = onEnded;
    this.port = null;
    // wire id -> { resolve, reject, timer }
    this.waiting = new Map();
    this.idleTimer = null;
    this.lastReply = Date.now();
    this.windowsOpen = 0;
    this.idledOut = false;
    // The error every later exchange fails with, once the site was revoked.
    this.retired = null;
  }

  get running() {
    return this.port !== null;
  }

  // Sends one request to the origin's host (starting one if none runs) and
  // resolves with its reply. A reply that does not come within the time limit
  // ends the host, and the login with it.
  // The request is copied before anything is awaited, and the copy dropped
  // once it is sent: a caller may let go of a request that holds PINs as soon
  // as this returns.
  async exchange(request) {
    const wireId = "vantrel-" + nextWireId++;
    let message = { ...request, port: wireId };
    const { requestTimeoutSeconds } = await settings();
    if (this.retired) {
      throw this.retired;
    }
    if (this.idledOut) {
      this.end(new Error("The login idled out."));
    }
    const port = this.connect();
    this.stopIdleClock();
    return new Promise((resolve, reject) => {
      const timer = setTimeout(
        () => this.end(refuse.timeout(requestTimeoutSeconds)),
        Math.min(requestTimeoutSeconds * 1000, LONGEST_TIMER_MS),
      );
      this.waiting.set(wireId, { resolve, reject, timer });
      try {
        port.postMessage(message);
      } catch (error) {
        this.settle(wireId, (entry) => entry.reject(new Error(String(error.message || error))));
      }
      message = null;
    });
  }

  // Stops the host: what is waiting fails with `error`.
  end(error) {
    this.idledOut = false;
    this.stopIdleClock();
    if (this.port) {
      const port = this.port;
      this.port = null;
      port.disconnect();
    }
    this.failWaiting(error);
    this.onEnded(this);
  }

  /**
   * Ends the host unless it holds a login, so that the next request starts a
   * new one: a module may see a token that another program added (a token
   * just made, a card just inserted) only once it is initialised again.
   * Resolves with whether the host was ended (or none was running).
   */
  async startAfreshUnlessLoggedIn() {
    if (this.running) {
      const info = await this.exchange({ action: "info" });
      if (typeof info.token === "string") {
        return false;
      }
      this.end(new Error("The Vantrel host was started afresh to look for tokens."));
    }
    return true;
  }

  /** The site may no longer use the tokens: the host ends, and nothing more is sent through this object. */
  retire(error) {
    this.retired = error;
    this.end(error);
  }

  connect() {
    if (this.port) {
      return this.port;
    }
    const port = api.runtime.connectNative(HOST_NAME);
    port.onMessage.addListener((reply) => this.deliver(reply));
    port.onDisconnect.addListener(() => {
      // Chromium gives the reason in lastError (read here, or it reports it as
      // unchecked), Firefox in port.error.
      const lastError = api.runtime.lastError || port.error;
      const reason = (lastError && lastError.message) || "The Vantrel host closed the connection.";
      if (this.port === port) {
        this.port = null;
        this.stopIdleClock();
        this.failWaiting(new Error(reason));
        this.onEnded(this);
      }
    });
    this.port = port;
    return port;
  }

  deliver(reply) {
    const wireId = reply && typeof reply === "object" ? reply.port : undefined;
    if (!this.settle(wireId, (entry) => entry.resolve(reply))) {
      console.warn("Vantrel: a reply that no request is waiting for", reply);
    }
  }

  settle(wireId, how) {
    const entry = this.waiting.get(wireId);
    if (!entry) {
      return false;
    }
    this.waiting.delete(wireId);
    clearTimeout(entry.timer);
    how(entry);
    if (this.waiting.size === 0) {
      this.lastReply = Date.now();
      this.startIdleClock();
    }
    return true;
  }

  failWaiting(error) {
    for (const wireId of [...this.waiting.keys()]) {
      this.settle(wireId, (entry) => entry.reject(error));
    }
  }

  async startIdleClock() {
    const { loginIdleMinutes } = await settings();
    if (!this.running || this.waiting.size > 0 || this.idleTimer !== null || this.idledOut) {
      return;
    }
    const left = loginIdleMinutes * 60000 - (Date.now() - this.lastReply);
    this.idleTimer = setTimeout(() => {
      this.idleTimer = null;
      if (this.windowsOpen > 0) {
        this.idledOut = true;
      } else {
        this.end(new Error("The login idled out."));
      }
    }, Math.min(Math.max(left, 0), LONGEST_TIMER_MS));
  }

  // After the idle time was changed: counted again from the last reply.
  restartIdleClock() {
    if (this.idleTimer !== null) {
      this.stopIdleClock();
      this.startIdleClock();
    }
  }

  stopIdleClock() {
    if (this.idleTimer !== null) {
      clearTimeout(this.idleTimer);
      this.idleTimer = null;
    }
  }

  windowOpened() {
    this.windowsOpen++;
  }

  windowClosed() {
    this.windowsOpen = Math.max(0, this.windowsOpen - 1);
    if (this.idledOut && this.windowsOpen === 0) {
      this.end(new Error("The login idled out."));
    }
  }
}
