// The window in which the user answers one question of the extension: may a
// site use the tokens, may it do something that cannot be undone. The
// question comes from the background and is shown as text only.
import { fromWindow } from "../shared/messages.js";
import { showMarked } from "./render.js";
import { $, connectWindow, showSiteLine } from "./window-page.js";

let answered = false;

function answer(choice) {
  if (answered) {
    return;
  }
  answered = true;
  $("yes").disabled = true;
  $("no").disabled = true;
  page.send(fromWindow.answer(choice));
}

function show(question) {
  showSiteLine(question);
  $("details").replaceChildren(
    ...question.details.map((text) => {
      const paragraph = document.createElement("p");
      showMarked(paragraph, text);
      return paragraph;
    }),
  );
  $("yes").textContent = question.yes;
  $("yes").classList.toggle("danger", Boolean(question.danger));
  $("no").textContent = question.no;
  $("escape-means").textContent = `answers “${question.no}”`;
  $("dialog").hidden = false;
  $("no").focus();
}

const page = connectWindow({
  show,
  again() {},
  cancel: () => answer("no"),
});
page.guarded($("yes"), () => answer("yes"));
page.guarded($("no"), () => answer("no"));
