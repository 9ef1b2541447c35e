// The window in which the user answers one question of the extension. The
// question comes from the background; the page shows it as text only.
import { api } from "./api.js";

const QUESTION_PORT = "vantrel-question";
const KEEP_ALIVE_MS = 5000;
// A key pressed for the page that opened this window must not answer it.
const ENABLE_AFTER_MS = 400;

const $ = (id) => document.getElementById(id);
const questionId = new URLSearchParams(location.search).get("question");
const port = api.runtime.connect({ name: QUESTION_PORT });
let answered = false;

function answer(choice) {
  if (answered) {
    return;
  }
  answered = true;
  $("yes").disabled = true;
  $("no").disabled = true;
  port.postMessage({ type: "answer", answer: choice });
}

function show(question) {
  document.title = "Vantrel: " + question.title;
  $("question").textContent = question.title;
  $("details").replaceChildren(
    ...question.details.map((text) => {
      const paragraph = document.createElement("p");
      paragraph.textContent = text;
      return paragraph;
    }),
  );
  $("yes").textContent = question.yes;
  $("yes").classList.toggle("danger", Boolean(question.danger));
  $("no").textContent = question.no;
  $("escape-means").textContent = question.no.toLowerCase();
  $("dialog").hidden = false;
  $("dialog").focus();
  // An irreversible action is never one Enter away: there the refusal has the focus.
  setTimeout(() => {
    $("yes").disabled = answered;
    $(question.danger ? "no" : "yes").focus();
  }, ENABLE_AFTER_MS);
}

port.onMessage.addListener((message) => {
  if (message.type === "question") {
    show(message.question);
  } else if (message.type === "done") {
    window.close();
  }
});
// Without the background the question has nobody to answer to.
port.onDisconnect.addListener(() => window.close());
port.postMessage({ type: "show", question: questionId });
setInterval(() => port.postMessage({ type: "still-open" }), KEEP_ALIVE_MS);

$("yes").addEventListener("click", () => answer("yes"));
$("no").addEventListener("click", () => answer("no"));
document.addEventListener("keydown", (event) => {
  if (event.key === "Escape") {
    event.preventDefault();
    answer("no");
  }
});
