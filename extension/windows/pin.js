// The window in which the user types the PINs of one request of a site
// (a login, a change of PIN, a format). What to show comes from the
// background as text; the PINs go back to it the moment the form is sent,
// and the fields are emptied then. For a token in a reader with a keypad the
// window has no PIN field: it says to enter the PIN on the reader and shows
// that the token waits for it, and after an entry that did not go through,
// offers to try again.
import { fromWindow } from "../shared/messages.js";
import { showMarked } from "./render.js";
import { $, connectWindow, pinInputs, showSiteLine } from "./window-page.js";

let prompt = null;
let waiting = false;

function lowerFirst(text) {
  return text.charAt(0).toLowerCase() + text.slice(1);
}

function inputs() {
  return [...$("fields").querySelectorAll("input")];
}

function show(shown) {
  prompt = shown;
  showSiteLine(prompt);
  $("facts").replaceChildren(
    ...prompt.facts.flatMap(([term, text]) => {
      const dt = document.createElement("dt");
      dt.textContent = term;
      const dd = document.createElement("dd");
      showMarked(dd, text);
      return [dt, dd];
    }),
  );
  $("warning").textContent = prompt.warning;
  $("warning").hidden = prompt.warning === "";
  $("pin-state").textContent = prompt.pinState || "";
  $("pin-state").hidden = !prompt.pinState;
  const keypad = Boolean(prompt.keypad);
  $("keypad").hidden = !keypad;
  $("keypad-instruction").textContent = prompt.keypad || "";
  $("keypad-hint").hidden = !keypad;
  $("typed-hint").hidden = keypad;
  $("fields").replaceChildren(...pinInputs(prompt.fields));
  $("submit").textContent = prompt.submit;
  $("submit").classList.toggle("danger", prompt.danger);
  $("dialog").hidden = false;
  // The background sends a keypad's request as soon as the window shows it.
  setWaiting(keypad);
  $("cancel").focus();
}

function lengthProblem(field, value) {
  const { min, max } = prompt.lengths;
  if (value.length >= min && (max === null || value.length <= max)) {
    return null;
  }
  const bounds = max === null ? `at least ${min}` : `${min} to ${max}`;
  return `The ${lowerFirst(field.label)} must have ${bounds} characters.`;
}

// The first thing to fix before the PINs can go, with its field, or null.
function problem() {
  const values = new Map();
  for (const [index, field] of prompt.fields.entries()) {
    const input = inputs()[index];
    const value = input.value;
    let found = null;
    if (value === "") {
      found = `Enter the ${lowerFirst(field.label)}.`;
    } else if (field.again && value !== values.get(field.name)) {
      found = `The ${lowerFirst(prompt.fields.find((f) => f.name === field.name).label)} was not typed the same twice.`;
    } else if (field.checked) {
      found = lengthProblem(field, value);
    }
    if (found) {
      return { text: found, input };
    }
    if (!field.again) {
      values.set(field.name, value);
    }
  }
  return null;
}

function setWaiting(now) {
  waiting = now;
  const keypad = Boolean(prompt && prompt.keypad);
  for (const control of [...inputs(), $("submit"), $("cancel")]) {
    control.disabled = now;
  }
  // On a keypad the only thing to do is to try again, once an entry failed.
  $("submit").hidden = keypad && now;
  $("keypad-progress").hidden = !now;
  $("status").textContent = now ? (keypad ? "Waiting for the PIN to be entered on the reader…" : "Waiting for the token…") : "";
}

function submit() {
  if (waiting || !prompt || !page.guard.open) {
    return;
  }
  if (prompt.keypad) {
    $("problem").textContent = "";
    setWaiting(true);
    page.send(fromWindow.submit({}));
    return;
  }
  const found = problem();
  if (found) {
    $("problem").textContent = found.text;
    found.input.focus();
    return;
  }
  const pins = {};
  prompt.fields.forEach((field, index) => {
    if (!field.again) {
      pins[field.name] = inputs()[index].value;
    }
  });
  for (const input of inputs()) {
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

// The token refused the PIN: its words, and the fields to type it again.
function again(problemText) {
  setWaiting(false);
  $("problem").textContent = problemText;
  // On a keypad: the button that tries again.
  (inputs()[0] || $("submit")).focus();
}

const page = connectWindow({ show, again, cancel });
page.guarded($("cancel"), cancel);
page.guarded($("submit"), submit);
$("pin-form").addEventListener("submit", (event) => {
  event.preventDefault();
  submit();
});
