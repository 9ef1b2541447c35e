// The names of the extension's ports and the shapes of the messages on them,
// for the background and every window. (The content script, which cannot
// import a module, spells out the page port's name; a test holds it to this
// one.)
//
// A window of the extension (a question, a PIN entry, a signature, the choice
// of a certificate) is opened
// by the background with its number in its address (?window=N). It connects
// on the window port, says hello with that number, and gets what to show.
// It then sends the user's answer (an answer to a question, the PINs typed or
// a plain "go ahead", or a cancel) and keeps saying that it is still open, so
// that the browser does not stop the background under a window that waits for
// a person. The background may show something new in the same window (the
// next step), ask for a PIN again with the token's refusal, or end it.

export const PORTS = Object.freeze({
  /** The content script's port, one per page. */
  page: "vantrel-page",
  /** The token console's port: the extension's own page, with the same messages as the page port. */
  console: "vantrel-console",
  /** Every window's port to the background. */
  window: "vantrel-window",
});

/** The token console, under the extension's root (web/, linked into the extension). */
export const CONSOLE_PAGE = "console/index.html";

/** The page of each kind of window, under the extension's root. */
export const WINDOW_PAGES = Object.freeze({
  question: "windows/question.html",
  pin: "windows/pin.html",
  sign: "windows/sign.html",
  choice: "windows/choose.html",
});

/** How often an open window tells the background it is still there. */
export const KEEP_ALIVE_MS = 5000;

/** How long a window ignores its buttons after it appears or gets the focus back. */
export const INPUT_GUARD_MS = 1000;

/** Messages from the background to a window. */
export const toWindow = Object.freeze({
  /** What to show: the whole view of the window's kind. */
  show: (view) => ({ type: "show", view }),
  /** The token refused what was typed: its words, and the fields to type again. */
  again: (problem) => ({ type: "again", problem }),
  /** The exchange is over: the window closes itself. */
  done: () => ({ type: "done" }),
});

/** Messages from a window to the background. */
export const fromWindow = Object.freeze({
  hello: (windowNumber) => ({ type: "hello", window: windowNumber }),
  /** A question's answer: "yes" or "no". */
  answer: (answer) => ({ type: "answer", answer }),
  /** The user went ahead, with the PINs typed (by field name; none where the window asked for none). */
  submit: (pins = {}) => ({ type: "submit", pins }),
  /** The user picked the certificate the view listed under `id`. */
  choose: (id) => ({ type: "choose", id }),
  cancel: () => ({ type: "cancel" }),
  stillOpen: () => ({ type: "still-open" }),
});
