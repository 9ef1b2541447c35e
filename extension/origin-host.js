// One native host process per page origin, and with it one login. What an
// origin asks for goes to its host one request at a time, in order of
// arrival, so each request has the whole time limit to itself and a question
// to the user comes up in the order the page asked.
//
// The host answers each request with one reply carrying the request's "port"
// member: that member carries our own identifier, and the page's value is put
// back into the reply by the caller.
import { api } from "./api.js";
import { refuse } from "./refusals.js";
import { settings } from "./settings.js";

const HOST_NAME = "org.vantrel.host";
const LONGEST_TIMER_MS = 2 ** 31 - 1;

let nextWireId = 1;

export class OriginHost {
  constructor(origin, onUnused) {
    this.origin = origin;
    this.onUnused = onUnused;
    this.port = null;
    // wire id -> { resolve, reject, timer }
    this.waiting = new Map();
    this.tail = Promise.resolve();
    this.busy = 0;
    this.idleTimer = null;
    this.idleSince = Date.now();
  }

  get running() {
    return this.port !== null;
  }

  // Runs `work` after everything queued before it and resolves with its result.
  // The login's idle time is counted from when the last queued work ends.
  queue(work) {
    this.busy++;
    this.stopIdleClock();
    const result = this.tail.then(() => work());
    this.tail = result
      .catch(() => {})
      .then(() => {
        this.busy--;
        if (this.busy === 0) {
          this.idleSince = Date.now();
          this.whenIdle();
        }
      });
    return result;
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
    const port = this.connect();
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
    if (this.port) {
      const port = this.port;
      this.port = null;
      port.disconnect();
    }
    this.stopIdleClock();
    this.failWaiting(error);
    if (this.busy === 0) {
      this.onUnused(this);
    }
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
        this.failWaiting(new Error(reason));
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
    return true;
  }

  failWaiting(error) {
    for (const wireId of [...this.waiting.keys()]) {
      this.settle(wireId, (entry) => entry.reject(error));
    }
  }

  async whenIdle() {
    if (!this.running) {
      this.onUnused(this);
      return;
    }
    const { loginIdleMinutes } = await settings();
    if (this.busy === 0 && this.running && this.idleTimer === null) {
      const left = loginIdleMinutes * 60000 - (Date.now() - this.idleSince);
      this.idleTimer = setTimeout(() => {
        this.idleTimer = null;
        if (this.busy === 0) {
          this.end(new Error("The login idled out."));
        }
      }, Math.min(Math.max(left, 0), LONGEST_TIMER_MS));
    }
  }

  // After the idle time was changed: counted again from the last request.
  restartIdleClock() {
    if (this.idleTimer !== null) {
      this.stopIdleClock();
      this.whenIdle();
    }
  }

  stopIdleClock() {
    if (this.idleTimer !== null) {
      clearTimeout(this.idleTimer);
      this.idleTimer = null;
    }
  }
}
