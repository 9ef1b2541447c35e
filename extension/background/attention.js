// How requests wait: each origin's requests one after the other, in order of
// arrival (so each has its host's whole time limit to itself, and an origin
// has at most one window at a time: its later requests wait for the answer),
// and the user's attention shared among all origins: at most `maxWindows`
// windows open at once, and at most `maxWaiting` requests waiting for the
// user. A request waits for the user while it has a window open or waits for
// one to open, and so does every request queued behind it. Beyond the limit
// a request is refused as busy, the latest first.
//
// Nothing here knows the browser: the windows are opened by whoever asks for
// a turn (turnForWindow), and the work of a request is a function of its
// AbortSignal, which is aborted when the request is given up (its page went
// away, its site was revoked).
import { refuse } from "./refusals.js";

export const MAX_WINDOWS = 3;
export const MAX_WAITING = 20;

/** A request of one origin: its work, how it settles, and its own abort controller. */
class Entry {
  constructor(work, signal) {
    this.work = work;
    this.controller = new AbortController();
    this.settled = false;
    this.result = new Promise((resolve, reject) => {
      this.resolve = resolve;
      this.reject = reject;
    });
    if (signal) {
      if (signal.aborted) {
        this.controller.abort(signal.reason);
      } else {
        signal.addEventListener("abort", () => this.controller.abort(signal.reason), { once: true });
      }
    }
    // A given-up request settles at once, whatever its work still does.
    this.controller.signal.addEventListener("abort", () => this.fail(this.controller.signal.reason), { once: true });
  }

  succeed(value) {
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
}

/** One origin's requests, one at a time. */
class Line {
  constructor() {
    this.queued = [];
    this.running = null;
    this.waitingForUser = false;
  }

  get idle() {
    return this.running === null && this.queued.length === 0;
  }
}

export class Attention {
  constructor({ maxWindows = MAX_WINDOWS, maxWaiting = MAX_WAITING } = {}) {
    this.maxWindows = maxWindows;
    this.maxWaiting = maxWaiting;
    this.lines = new Map(); // origin -> Line
    this.windowsOpen = 0;
    this.turns = []; // { grant, entry } waiting for a window, first come first served
  }

  /** How many requests wait for the user now. */
  waiting() {
    let count = 0;
    for (const line of this.lines.values()) {
      if (line.waitingForUser) {
        count += 1 + line.queued.length;
      }
    }
    return count;
  }

  /** Whether the origin has a request running or queued. */
  busy(origin) {
    const line = this.lines.get(origin);
    return Boolean(line && !line.idle);
  }

  /**
   * Queues `work(signal)` behind the origin's earlier requests and resolves
   * or rejects as it does; rejects with the busy refusal when it would wait
   * for the user beyond the limit, or with the reason `signal` (or a revoke)
   * aborts with.
   */
  enqueue(origin, work, signal) {
    let line = this.lines.get(origin);
    if (!line) {
      line = new Line();
      this.lines.set(origin, line);
    }
    if (line.waitingForUser && this.waiting() >= this.maxWaiting) {
      return Promise.reject(refuse.busy());
    }
    const entry = new Entry(work, signal);
    line.queued.push(entry);
    entry.controller.signal.addEventListener(
      "abort",
      () => {
        const at = line.queued.indexOf(entry);
        if (at >= 0) {
          line.queued.splice(at, 1);
        }
      },
      { once: true },
    );
    this.next(origin, line);
    return entry.result;
  }

  next(origin, line) {
    if (line.running) {
      return;
    }
    const entry = line.queued.shift();
    if (!entry) {
      this.lines.delete(origin);
      return;
    }
    line.running = entry;
    const signal = entry.controller.signal;
    Promise.resolve()
      .then(() => (signal.aborted ? undefined : entry.work(signal)))
      .then(
        (value) => entry.succeed(value),
        (error) => entry.fail(error),
      )
      .finally(() => {
        line.running = null;
        line.waitingForUser = false;
        this.next(origin, line);
      });
  }

  /**
   * Waits until the origin's running request may open a window, and resolves
   * with the function that gives the turn back once its window has closed.
   * Rejects with the busy refusal when that would make too many requests
   * wait for the user, or with the abort reason of the request.
   */
  async turnForWindow(origin) {
    const line = this.lines.get(origin);
    const entry = line && line.running;
    if (!entry) {
      throw new Error("only a running request can ask for a window");
    }
    if (this.waiting() + 1 > this.maxWaiting) {
      throw refuse.busy();
    }
    line.waitingForUser = true;
    // The requests queued behind it now wait for the user too: the latest go first.
    while (this.waiting() > this.maxWaiting) {
      line.queued.pop().fail(refuse.busy());
    }
    const signal = entry.controller.signal;
    if (signal.aborted) {
      line.waitingForUser = false;
      throw signal.reason;
    }
    if (this.windowsOpen < this.maxWindows) {
      this.windowsOpen++;
    } else {
      // giveTurn counts the window as open when it grants the turn.
      await new Promise((grant, reject) => {
        const turn = { grant, entry };
        this.turns.push(turn);
        signal.addEventListener(
          "abort",
          () => {
            this.turns = this.turns.filter((t) => t !== turn);
            reject(signal.reason);
          },
          { once: true },
        );
      });
    }
    let given = false;
    const giveBack = () => {
      if (given) {
        return;
      }
      given = true;
      line.waitingForUser = false;
      this.windowsOpen--;
      this.giveTurn();
    };
    if (signal.aborted) {
      giveBack();
      throw signal.reason;
    }
    return giveBack;
  }

  giveTurn() {
    while (this.windowsOpen < this.maxWindows && this.turns.length > 0) {
      const turn = this.turns.shift();
      if (!turn.entry.controller.signal.aborted) {
        this.windowsOpen++;
        turn.grant();
      }
    }
  }

  /** Gives up every request of the origin, running or queued, with `error`. */
  revoke(origin, error) {
    const line = this.lines.get(origin);
    if (!line) {
      return;
    }
    for (const entry of line.queued.splice(0)) {
      entry.fail(error);
    }
    if (line.running) {
      line.running.controller.abort(error);
    }
  }
}
