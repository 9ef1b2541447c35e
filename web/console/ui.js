// What every section of the console shares: finding and making elements (text
// from a token always goes in as text, never as markup), the message box, the
// notice line, the log of exchanges, questions before irreversible steps,
// downloads, and running a step of the page.
import { Vantrel } from "../vantrel.js";

const PIN_MEMBERS = ["pin", "oldPIN", "newPIN", "tokenPIN", "adminPIN"];

export const $ = (id) => document.getElementById(id);

export function element(tag, text, attributes = {}) {
  const node = document.createElement(tag);
  if (text !== undefined) {
    node.textContent = text;
  }
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, value);
  }
  return node;
}

/** A table row whose cells carry their column's name, shown beside them on narrow screens. */
export function recordRow(table, cells, attributes = {}) {
  const headings = [...table.querySelectorAll("thead th")].map((th) => th.textContent);
  const row = element("tr", undefined, attributes);
  cells.forEach((cell, index) => {
    const td = cell instanceof Node ? element("td") : element("td", cell);
    if (cell instanceof Node) {
      td.append(cell);
    }
    td.dataset.label = headings[index] || "";
    row.append(td);
  });
  return row;
}

export function fillTable(table, rows, emptyNote) {
  table.querySelector("tbody").replaceChildren(...rows);
  table.hidden = rows.length === 0;
  if (emptyNote) {
    emptyNote.hidden = rows.length > 0;
  }
}

export function chosen(name) {
  const input = document.querySelector(`input[name="${name}"]:checked`);
  return input ? input.value : null;
}

// ---- Messages ------------------------------------------------------------------

/** An error for a person that did not come from the host (a form filled wrongly). */
export class PageError extends Error {
  constructor(title, advice = "") {
    super(title);
    this.name = "PageError";
    this.advice = advice;
  }
}

export function showError(error, explain) {
  const description =
    error instanceof PageError
      ? { title: error.message, advice: error.advice, raw: "", rc: null }
      : { ...Vantrel.describeError(error.message), ...(explain ? explain(error) : {}) };
  $("message-title").textContent = description.title;
  $("message-advice").textContent = description.advice;
  $("message-raw").textContent = description.raw;
  $("message").querySelector("details").hidden = description.raw === "";
  $("message").dataset.rc = description.rc === null || description.rc === undefined ? "" : String(description.rc);
  $("message").hidden = false;
}

export function clearError() {
  $("message").hidden = true;
}

export function notify(text) {
  $("notice").textContent = text;
}

// ---- The log of exchanges --------------------------------------------------------

function shorten(value) {
  return typeof value === "string" && value.length > 80 ? value.slice(0, 60) + "…(" + value.length + " characters)" : value;
}

function logLine(direction, message) {
  const shown = {};
  for (const [name, value] of Object.entries(message)) {
    shown[name] = PIN_MEMBERS.includes(name) ? "********" : shorten(value);
  }
  const line = element("li", direction + " " + JSON.stringify(shown), { class: direction === "→" ? "sent" : "received" });
  $("log").append(line);
  $("log").scrollTop = $("log").scrollHeight;
}

/**
 * Runs one action of the host through the client library, logging the
 * request (PINs masked) and what came back.
 */
export async function host(action, members = {}) {
  logLine("→", { action, ...members });
  try {
    const reply = await Vantrel[action](members);
    logLine("←", reply);
    return reply;
  } catch (error) {
    logLine("←", error.reply || { failure: error.message });
    throw error;
  }
}

// ---- Questions, downloads, steps ---------------------------------------------------

/**
 * Asks before an irreversible step. Resolves with true for yes. The refusal has
 * the focus, so a stray Enter never confirms; Escape refuses.
 */
export function confirmAction({ title, details, yes }) {
  const dialog = $("confirm");
  $("confirm-title").textContent = title;
  $("confirm-details").textContent = details;
  $("confirm-yes").textContent = yes;
  dialog.returnValue = "";
  return new Promise((resolve) => {
    dialog.addEventListener("close", () => resolve(dialog.returnValue === "yes"), { once: true });
    dialog.showModal();
    $("confirm-no").focus();
  });
}

export function download(fileName, text, type = "application/x-pem-file") {
  const url = URL.createObjectURL(new Blob([text], { type }));
  const link = element("a", undefined, { href: url, download: fileName });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

const afterSteps = [];
let busySteps = 0;

/** Work to do after every step, whatever its outcome (the host info line). */
export function afterEachStep(work) {
  afterSteps.push(work);
}

/**
 * Makes a handler for one step of the page: the button is disabled while it
 * runs; a failure shows in the message box, which then has the focus; on
 * success the element `work` resolves with gets the focus. `explain` may put a
 * failure in words that fit this step better than the general ones.
 */
export function step(button, work, explain) {
  return async (event) => {
    if (event) {
      event.preventDefault();
    }
    clearError();
    notify("");
    // Steps overlap when a person is quick; the page counts as busy until the last one is done.
    busySteps += 1;
    document.body.dataset.busy = "true";
    button.disabled = true;
    button.setAttribute("aria-busy", "true");
    let focus = null;
    try {
      focus = await work();
    } catch (error) {
      showError(error, explain);
      focus = $("message");
    } finally {
      button.disabled = false;
      button.removeAttribute("aria-busy");
    }
    for (const after of afterSteps) {
      await after();
    }
    if (focus) {
      focus.focus();
    }
    busySteps -= 1;
    if (busySteps === 0) {
      delete document.body.dataset.busy;
    }
  };
}
