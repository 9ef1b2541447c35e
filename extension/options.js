// The options page: the sites the user allowed or denied, each removable, and
// what the administrator set.
import { api } from "./api.js";
import { settings, onSettingsChanged } from "./settings.js";
import { forgetAnswer, isAnswerChange, userAnswers } from "./site-access.js";

const $ = (id) => document.getElementById(id);

// A table cell or list item holding `content`: text (never markup) or a node.
function holding(tag, content) {
  const node = document.createElement(tag);
  node.append(content);
  return node;
}

function answerRow({ origin, allowed, since }) {
  const remove = holding("button", "Remove");
  remove.type = "button";
  remove.className = "secondary";
  remove.setAttribute("aria-label", `Remove ${origin}`);
  remove.addEventListener("click", () => forgetAnswer(origin));
  const row = document.createElement("tr");
  row.dataset.origin = origin;
  row.append(
    holding("td", origin),
    holding("td", allowed ? "Allowed" : "Denied"),
    holding("td", since ? new Date(since).toLocaleString() : ""),
    holding("td", remove),
  );
  return row;
}

async function showAnswers() {
  const answers = await userAnswers();
  $("answers").querySelector("tbody").replaceChildren(...answers.map(answerRow));
  $("answers").hidden = answers.length === 0;
  $("no-answers").hidden = answers.length !== 0;
}

function minutes(value) {
  return `${value} ${value === 1 ? "minute" : "minutes"}`;
}

function seconds(value) {
  return `${value} ${value === 1 ? "second" : "seconds"}`;
}

async function showSettings() {
  const current = await settings();
  $("managed-origins").replaceChildren(...current.allowedOrigins.map((origin) => holding("li", origin)));
  $("no-managed-origins").hidden = current.allowedOrigins.length !== 0;
  $("limits").textContent =
    `A request the token has not answered within ${seconds(current.requestTimeoutSeconds)} is given up, ` +
    `and a site's login ends after ${minutes(current.loginIdleMinutes)} without requests.`;
}

api.storage.onChanged.addListener((changes, area) => {
  if (isAnswerChange(changes, area)) {
    showAnswers();
  }
});
onSettingsChanged(showSettings);
showAnswers();
showSettings();
