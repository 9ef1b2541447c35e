// What every window of the extension does the same way: it fetches what to
// show from the background through the window port and answers the same way
// (shared/messages.js), keeps the background from being stopped while it
// waits for a person, closes when the background is done with it or gone,
// and guards its buttons against a page that times a click or a key press:
//
// - the buttons ignore input for a second after the window appears and
//   whenever it gets the focus back (a click aimed at the page must not land
//   on a button that has just appeared under the pointer);
// - the refusal has the focus at first, so a key meant for the page does
//   nothing that cannot be undone;
// - Enter goes ahead only from a PIN field the user typed into, and does
//   nothing anywhere else; Escape cancels.
import { api } from "../shared/api.js";
import { KEEP_ALIVE_MS, PORTS, fromWindow } from "../shared/messages.js";
import { InputGuard } from "./input-guard.js";

export const $ = (id) => document.getElementById(id);

/**
 * Connects the window to the background. `handlers`: show(view) (which
 * returns false when the view only updated what was shown, so that the
 * buttons are not guarded again), again(problem) and cancel() (Escape, or
 * the Cancel button). Resolves with { send, guard,
 * guarded(button, action) } for the window's own code.
 */
export function connectWindow(handlers) {
  const number = new URLSearchParams(location.search).get("window");
  const port = api.runtime.connect({ name: PORTS.window });
  const guard = new InputGuard();
  const buttons = new Set();
  let timer = null;

  // The guarded buttons say they are not ready yet (aria-disabled, shown
  // greyed) while the guard holds, so that a person sees why a click did nothing.
  const refresh = () => {
    clearTimeout(timer);
    for (const button of buttons) {
      button.setAttribute("aria-disabled", String(!guard.open));
    }
    document.body.dataset.guard = guard.open ? "open" : "closed";
    if (!guard.open) {
      timer = setTimeout(refresh, guard.remainingMs + 10);
    }
  };
  const restartGuard = () => {
    guard.restart();
    refresh();
  };
  window.addEventListener("focus", restartGuard);
  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "visible") {
      restartGuard();
    }
  });

  const send = (message) => {
    try {
      port.postMessage(message);
    } catch {
      window.close();
    }
  };

  port.onMessage.addListener((message) => {
    if (message.type === "show") {
      // A view that only updates what is shown (a count of tries) puts nothing new under the pointer.
      if (handlers.show(message.view) !== false) {
        restartGuard();
      }
    } else if (message.type === "again") {
      handlers.again(message.problem);
    } else if (message.type === "done") {
      window.close();
    }
  });
  // Without the background the request has nobody to go to.
  port.onDisconnect.addListener(() => window.close());
  send(fromWindow.hello(number));
  setInterval(() => send(fromWindow.stillOpen()), KEEP_ALIVE_MS);

  document.addEventListener("keydown", (event) => {
    if (event.key === "Escape") {
      event.preventDefault();
      handlers.cancel();
    } else if (event.key === "Enter" && !isTypedPinField(event.target)) {
      event.preventDefault();
    }
  });
  document.addEventListener("input", (event) => {
    if (event.target instanceof HTMLInputElement && event.target.type === "password") {
      event.target.dataset.typed = "true";
    }
  });

  return {
    send,
    guard,
    /** Makes `button` run `action` on a click, unless the guard holds. */
    guarded(button, action) {
      buttons.add(button);
      refresh();
      button.addEventListener("click", (event) => {
        event.preventDefault();
        if (guard.open) {
          action();
        }
      });
    },
  };
}

function isTypedPinField(target) {
  return target instanceof HTMLInputElement && target.type === "password" && target.dataset.typed === "true";
}

/** A window's fields for PINs: each a masked input with its label, the first one marked for the site line. */
export function pinInputs(fields) {
  return fields.flatMap((field) => {
    const id = field.again ? `${field.name}-again` : field.name;
    const label = document.createElement("label");
    label.htmlFor = id;
    label.textContent = field.label;
    const input = document.createElement("input");
    Object.assign(input, { id, type: "password", autocomplete: "off", spellcheck: false });
    input.setAttribute("aria-describedby", "problem");
    return [label, input];
  });
}

/** Shows the site line: the title, and whether the page is served from this computer. */
export function showSiteLine(view) {
  document.title = "Vantrel: " + view.title;
  $("title").textContent = view.title;
  $("local").hidden = !view.local;
}
