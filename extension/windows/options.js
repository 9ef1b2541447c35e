// The options page: the sites the user allowed or denied, each removable;
// the sites put off until the browser restarts, each to be asked about
// again; the setting for pages served from this computer; and what the
// administrator set.
import { api } from "../shared/api.js";
import { isLocalOriginsChange, localOrigins, onSettingsChanged, setLocalOrigins, settings } from "../shared/settings.js";
import { askAgain, forgetAnswer, forgetLocalAnswers, isAnswerChange, putOffSites, userAnswers } from "../shared/site-answers.js";

const $ = (id) => document.getElementById(id);

// A table cell or list item holding `content`: text (never markup) or a node.
function holding(tag, content) {
  const node = document.createElement(tag);
  node.append(content);
  return node;
}

function button(text, label, action) {
  const node = holding("button", text);
  node.type = "button";
  node.className = "secondary";
  node.setAttribute("aria-label", label);
  node.addEventListener("click", action);
  return node;
}

function since(value) {
  return value ? new Date(value).toLocaleString() : "";
}

function answerRow({ origin, allowed, since: when, session }) {
  const row = document.createElement("tr");
  row.dataset.origin = origin;
  const answer = `${allowed ? "Allowed" : "Denied"}${session ? ", until the browser restarts" : ""}`;
  row.append(
    holding("td", origin),
    holding("td", answer),
    holding("td", since(when)),
    holding("td", button("Remove", `Remove ${origin}`, () => forgetAnswer(origin))),
  );
  return row;
}

function putOffRow({ origin, since: when }) {
  const row = document.createElement("tr");
  row.dataset.origin = origin;
  row.append(holding("td", origin), holding("td", since(when)), holding("td", button("Ask again", `Ask again about ${origin}`, () => askAgain(origin))));
  return row;
}

function fill(table, empty, rows) {
  table.querySelector("tbody").replaceChildren(...rows);
  table.hidden = rows.length === 0;
  empty.hidden = rows.length !== 0;
}

async function showAnswers() {
  fill($("answers"), $("no-answers"), (await userAnswers()).map(answerRow));
  fill($("put-off"), $("no-put-off"), (await putOffSites()).map(putOffRow));
}

function minutes(value) {
  return `${value} ${value === 1 ? "minute" : "minutes"}`;
}

function seconds(value) {
  return `${value} ${value === 1 ? "second" : "seconds"}`;
}

async function showLocalOrigins() {
  const { on, fixed } = await localOrigins();
  $("local-origins").checked = on;
  $("local-origins").disabled = fixed;
  $("local-fixed").hidden = !fixed;
}

async function showSettings() {
  const current = await settings();
  $("managed-origins").replaceChildren(...current.allowedOrigins.map((origin) => holding("li", origin)));
  $("no-managed-origins").hidden = current.allowedOrigins.length !== 0;
  $("limits").textContent =
    `A request the token has not answered within ${seconds(current.requestTimeoutSeconds)} is given up, ` +
    `and a site's login ends after ${minutes(current.loginIdleMinutes)} without requests.`;
  $("confirmation").textContent = current.confirmEachSignature
    ? "Each signature is shown to you before it is made."
    : "Your administrator turned off the confirmation of each signature: only signatures that need a PIN are shown to you.";
  await showLocalOrigins();
}

$("local-origins").addEventListener("change", async () => {
  const on = $("local-origins").checked;
  await setLocalOrigins(on);
  if (!on) {
    await forgetLocalAnswers();
  }
});
api.storage.onChanged.addListener((changes, area) => {
  if (isAnswerChange(changes, area)) {
    showAnswers();
  }
  if (isLocalOriginsChange(changes, area)) {
    showLocalOrigins();
  }
});
onSettingsChanged(showSettings);
showAnswers();
showSettings();
