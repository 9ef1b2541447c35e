// When a window's buttons take input: a second after the window appeared or
// got the focus back, so that a click or a key aimed at a page does not land
// on a button that has just appeared under it.
import { INPUT_GUARD_MS } from "../shared/messages.js";

/** When buttons may take input again: a second after the window appeared or got the focus back. */
export class InputGuard {
  constructor(now = () => Date.now(), delay = INPUT_GUARD_MS) {
    this.now = now;
    this.delay = delay;
    this.until = now() + delay;
  }

  restart() {
    this.until = this.now() + this.delay;
  }

  get open() {
    return this.now() >= this.until;
  }

  get remainingMs() {
    return Math.max(0, this.until - this.now());
  }
}
