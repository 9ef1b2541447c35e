// The window in which the user types the PINs of one request of a site. What
// to show comes from the background as text; the PINs go back to it the
// moment the form is sent, and the fields are emptied then.
import { api } from "./api.js";

const PIN_PORT = "vantrel-pin";
const KEEP_ALIVE_MS = 5000;

const $ = (id) => document.getElementById(id);
const entryId = new URLSearchParams(location.search).get("entry");
const port = api.runtime.connect({ name: PIN_PORT });
let prompt = null;
let waiting = false;

function lowerFirst(text) {
  return text.charAt(0).toLowerCase() + text.slice(1);
}

function inputs() {
  return [...$("fields").querySelectorAll("input")];
}

function fieldId(field) {
  return field.again ? `${field.name}-again` : field.name;
}

function showFields(fields) {
  $("fields").replaceChildren(
    ...fields.flatMap((field) => {
      const label = document.createElement("label");
      label.htmlFor = fieldId(field);
      label.textContent = field.label;
      const input = document.createElement("input");
      Object.assign(input, { id: fieldId(field), type: "password", autocomplete: "off", spellcheck: false });
      input.setAttribute("aria-describedby", "problem");
      return [label, input];
    }),
  );
}

function show(shown) {
  prompt = shown;
  document.title = "Vantrel: " + prompt.title;
  $("title").textContent = prompt.title;
  $("facts").replaceChildren(
    ...prompt.facts.flatMap(([term, text]) => {
      const dt = document.createElement("dt");
      dt.textContent = term;
      const dd = document.createElement("dd");
      dd.textContent = text;
      return [dt, dd];
    }),
  );
  $("warning").textContent = prompt.warning;
  $("warning").hidden = prompt.warning === "";
  showFields(prompt.fields);
  $("submit").textContent = prompt.submit;
  $("submit").classList.toggle("danger", prompt.danger);
  $("dialog").hidden = false;
  inputs()[0].focus();
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
  for (const control of [...inputs(), $("submit"), $("cancel")]) {
    control.disabled = now;
  }
  $("status").textContent = now ? "Waiting for the token…" : "";
}

function send() {
  if (waiting || !prompt) {
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
  }
  $("problem").textContent = "";
  setWaiting(true);
  port.postMessage({ type: "submit", pins });
}

function cancel() {
  if (waiting) {
    return;
  }
  port.postMessage({ type: "cancel" });
  window.close();
}

// The token refused the PIN: its words, and the fields to type it again.
function again(error) {
  setWaiting(false);
  $("problem").textContent = `The token refused the PIN: ${error}. Check it and try again; a token locks after a few wrong tries.`;
  inputs()[0].focus();
}

port.onMessage.addListener((message) => {
  if (message.type === "prompt") {
    show(message.prompt);
  } else if (message.type === "again") {
    again(message.error);
  } else if (message.type === "done") {
    window.close();
  }
});
// Without the background the request has nobody to go to.
port.onDisconnect.addListener(() => window.close());
port.postMessage({ type: "show", entry: entryId });
setInterval(() => port.postMessage({ type: "still-open" }), KEEP_ALIVE_MS);

$("pin-form").addEventListener("submit", (event) => {
  event.preventDefault();
  send();
});
$("cancel").addEventListener("click", cancel);
document.addEventListener("keydown", (event) => {
  if (event.key === "Escape") {
    event.preventDefault();
    cancel();
  }
});
