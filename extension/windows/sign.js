// The window in which the user sees a signature before it is made: the
// site, the token, the certificate and the exact text the token signs, every
// character of it shown for what it is. Sign or Cancel; a PIN field only
// where the token checks a PIN (the token's, to log in first; the key's own),
// or, for a token in a reader with a keypad, a word to enter it there and a
// sign that the token waits for it.
import { fromWindow } from "../shared/messages.js";
import { lengthInWords, showMarked, showShortened } from "./render.js";
import { $, connectWindow, pinInputs, showSiteLine } from "./window-page.js";

// How much of a token label and of a certificate subject shows at once.
export const LABEL_SHOWN = 48;
export const SUBJECT_SHOWN = 96;

let view = null;
let waiting = false;

function pinInput() {
  return $("fields").querySelector("input");
}

function show(shown) {
  const first = view === null;
  view = shown;
  showSiteLine(view);
  const token = view.token;
  showShortened($("token"), token.label || token.model || "a token", LABEL_SHOWN, {
    after: ` (serial number ${token.serial})`,
    what: "label",
  });
  showShortened($("certificate"), view.certificate.subject, SUBJECT_SHOWN, {
    after: ` (serial number ${view.certificate.serial})`,
    what: "subject",
  });
  $("text-length").textContent = `The whole text: ${lengthInWords(view.text)}.`;
  $("object-note").hidden = !view.fromObject;
  showMarked($("text"), view.text);
  const keypad = Boolean(view.pin && view.pin.keypad);
  const warning = (view.pin && view.pin.warning) || "";
  $("pin-state").textContent = warning;
  $("pin-state").hidden = warning === "";
  $("keypad").hidden = !keypad;
  $("keypad-instruction").textContent = keypad ? view.pin.keypad : "";
  $("fields").replaceChildren(...(view.pin && !keypad ? pinInputs([view.pin]) : []));
  $("enter-hint").hidden = !view.pin || keypad;
  $("submit").textContent = view.submit;
  setWaiting(view.waiting === true);
  $("problem").textContent = "";
  $("dialog").hidden = false;
  if (first || !view.pin || keypad) {
    $("cancel").focus();
  } else {
    // The next step asks for the key's PIN: the user is there already.
    pinInput().focus();
  }
}

function setWaiting(now) {
  waiting = now;
  const keypad = Boolean(view && view.pin && view.pin.keypad);
  for (const control of [$("submit"), $("cancel"), ...$("fields").querySelectorAll("input")]) {
    control.disabled = now;
  }
  // On a keypad the only thing to do is to try again, once an entry failed.
  $("submit").hidden = keypad && now;
  $("keypad-progress").hidden = !(keypad && now);
  $("status").textContent = now ? (keypad ? "Waiting for the PIN to be entered on the reader…" : "Waiting for the token…") : "";
}

function submit() {
  if (waiting || !view || !page.guard.open) {
    return;
  }
  const pins = {};
  const input = pinInput();
  if (input) {
    if (input.value === "") {
      $("problem").textContent = `Enter the ${view.pin.label.charAt(0).toLowerCase() + view.pin.label.slice(1)}.`;
      input.focus();
      return;
    }
    pins[view.pin.name] = input.value;
    input.value = "";
    delete input.dataset.typed;
  }
  $("problem").textContent = "";
  setWaiting(true);
  page.send(fromWindow.submit(pins));
}

function cancel() {
  if (waiting) {
    return;
  }
  page.send(fromWindow.cancel());
  window.close();
}

function again(problemText) {
  setWaiting(false);
  $("problem").textContent = problemText;
  (pinInput() || $("submit")).focus();
}

const page = connectWindow({ show, again, cancel });
page.guarded($("cancel"), cancel);
page.guarded($("submit"), submit);
$("sign-form").addEventListener("submit", (event) => {
  event.preventDefault();
  submit();
});
