// The window in which the user picks the certificate a site gets, or is
// asked to insert the token that holds one. Each certificate shows whose it
// is, who issued it, until when it is valid and on which token, every text
// marked for what it is; one that is not valid now is marked and cannot be
// picked; the whole record is a click away.
import { fromWindow } from "../shared/messages.js";
import { marked, showMarked } from "./render.js";
import { $, connectWindow, showSiteLine } from "./window-page.js";

let view = null;
let sent = false;

function purposeOf(shown) {
  const parts = ["The site learns only the certificate you pick."];
  if (shown.signing) {
    parts.unshift(`The site asked to sign with the certificate with serial number ${shown.signing}, which you have not picked for it; it may sign only with the one you pick.`);
  }
  if (shown.forceLogon) {
    parts.push("You then log in to its token.");
  }
  return parts.join(" ");
}

function term(list, name, value) {
  const dt = document.createElement("dt");
  dt.textContent = name;
  const dd = document.createElement("dd");
  showMarked(dd, value);
  list.append(dt, dd);
}

function certificateItem(certificate, index) {
  const item = document.createElement("li");
  item.className = "certificate";
  item.dataset.id = certificate.id;
  item.dataset.validity = certificate.validity;
  const radio = document.createElement("input");
  Object.assign(radio, { type: "radio", name: "certificate", id: `certificate-${index}`, value: certificate.id, disabled: !certificate.pickable });
  const label = document.createElement("label");
  label.htmlFor = radio.id;
  const who = document.createElement("span");
  who.className = "who";
  who.append(marked(certificate.subject));
  const detail = document.createElement("span");
  detail.className = "detail";
  detail.append("Issued by ", marked(certificate.issuer), ` · valid until ${certificate.validUntil} · on the token `, marked(certificate.token));
  label.append(who, detail);
  if (certificate.note) {
    const note = document.createElement("span");
    note.className = "note warning";
    note.textContent = certificate.note;
    label.append(note);
  }
  const record = document.createElement("details");
  const summary = document.createElement("summary");
  summary.textContent = "The whole record";
  const list = document.createElement("dl");
  list.className = "facts";
  for (const [name, value] of certificate.record) {
    term(list, name, value);
  }
  record.append(summary, list);
  item.append(radio, label, record);
  return item;
}

function show(shown) {
  const switched = view === null || view.state !== shown.state;
  view = shown;
  showSiteLine(view);
  $("purpose").textContent = purposeOf(view);
  const inserting = view.state === "insert";
  $("insert").hidden = !inserting;
  $("choices").hidden = inserting;
  $("choose").hidden = inserting;
  $("looks").textContent =
    view.looks === 0 ? "Looking for your token…" : `Looked ${view.looks} ${view.looks === 1 ? "time" : "times"} so far; looking again every few seconds.`;
  if (!inserting) {
    const picked = document.querySelector('input[name="certificate"]:checked');
    $("certificates").replaceChildren(...view.certificates.map(certificateItem));
    if (picked) {
      const again = [...document.querySelectorAll('input[name="certificate"]')].find((radio) => radio.value === picked.value && !radio.disabled);
      if (again) {
        again.checked = true;
      }
    }
  }
  $("dialog").hidden = false;
  if (switched) {
    $("cancel").focus();
  }
  return switched;
}

function choose() {
  if (sent || !view || view.state !== "choose") {
    return;
  }
  const picked = document.querySelector('input[name="certificate"]:checked');
  if (!picked) {
    $("problem").textContent = "Pick a certificate first.";
    return;
  }
  sent = true;
  $("problem").textContent = "";
  $("choose").disabled = true;
  $("cancel").disabled = true;
  page.send(fromWindow.choose(picked.value));
}

function cancel() {
  if (sent) {
    return;
  }
  page.send(fromWindow.cancel());
  window.close();
}

const page = connectWindow({ show, again() {}, cancel });
page.guarded($("cancel"), cancel);
page.guarded($("choose"), choose);
