// Questions for the user, each in a small window of the extension's own
// (ask.html), which a page can neither draw into nor click. The window
// fetches its question through a port and sends the answer back the same way;
// it keeps sending while it is open, since Firefox would otherwise suspend
// the background page under a window that waits for a person.
import { api, isOwnPage } from "./api.js";

export const QUESTION_PORT = "vantrel-question";

const WINDOW_SIZE = { width: 520, height: 360 };

let nextQuestionId = 1;
// question id -> { question, settle, windowId }
const open = new Map();

// Resolves with "yes", "no", or "dismissed" when the window was closed
// without an answer. `question` is { title, details: [text], yes, no, danger }.
export function ask(question) {
  const id = nextQuestionId++;
  return new Promise((resolve) => {
    const entry = {
      question,
      windowId: null,
      settle(answer) {
        if (open.get(id) === entry) {
          open.delete(id);
          resolve(answer);
        }
      },
    };
    open.set(id, entry);
    api.windows
      .create({ url: api.runtime.getURL(`ask.html?question=${id}`), type: "popup", ...WINDOW_SIZE })
      .then((created) => {
        entry.windowId = created.id;
      })
      .catch((error) => {
        console.warn("Vantrel: cannot open a window to ask the user", error);
        entry.settle("dismissed");
      });
  });
}

export function serveQuestionWindow(port) {
  if (!isOwnPage(port.sender, "ask.html")) {
    port.disconnect();
    return;
  }
  let entry = null;
  port.onMessage.addListener((message) => {
    if (message.type === "show") {
      entry = open.get(Number(message.question)) || null;
      port.postMessage(entry ? { type: "question", question: entry.question } : { type: "done" });
    } else if (message.type === "answer" && entry) {
      entry.settle(message.answer === "yes" ? "yes" : "no");
      port.postMessage({ type: "done" });
    }
  });
  port.onDisconnect.addListener(() => {
    if (entry) {
      entry.settle("dismissed");
    }
  });
}

// A window that never loaded its page has no port to report its closing.
api.windows.onRemoved.addListener((windowId) => {
  for (const entry of open.values()) {
    if (entry.windowId === windowId) {
      entry.settle("dismissed");
    }
  }
});
