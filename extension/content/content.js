// Runs in every HTTP and HTTPS page and frame, so that each one gets a clear
// answer; which of them are served is the background's decision, made on the
// origin and frame the browser reports for this script's port. Takes the
// page's requests from window.postMessage, hands them to the background and
// posts the replies back. Only messages the page posts to itself are taken:
// another frame or window cannot use the page's access to the tokens.
// (A content script cannot import a module: the port's name is spelled out
// here as shared/messages.js names it.)
"use strict";

(() => {
  const FROM_PAGE = "vantrel-page";
  const FROM_EXTENSION = "vantrel-extension";
  const PAGE_PORT = "vantrel-page";
  const origin = window.location.origin;

  let extension = null;
  const waiting = new Set();

  function toPage(message) {
    window.postMessage(Object.assign({ source: FROM_EXTENSION }, message), origin);
  }

  function extensionPort() {
    if (extension) {
      return extension;
    }
    extension = chrome.runtime.connect({ name: PAGE_PORT });
    extension.onMessage.addListener((message) => {
      waiting.delete(message.id);
      toPage(message);
    });
    extension.onDisconnect.addListener(() => {
      void chrome.runtime.lastError;
      extension = null;
      giveUpWaiting("The Vantrel extension was stopped or reloaded.");
    });
    return extension;
  }

  function giveUpWaiting(error) {
    for (const id of waiting) {
      toPage({ type: "error", id, error });
    }
    waiting.clear();
  }

  // A page that is left gives up what it asked for: its windows close and its
  // site's later requests do not wait behind it. A page kept for going back
  // (Firefox keeps its port open meanwhile) hears so if it comes back, and
  // connects again when it asks again.
  window.addEventListener("pagehide", () => {
    if (extension) {
      const port = extension;
      extension = null;
      port.disconnect();
      giveUpWaiting("The page was left before the Vantrel extension answered.");
    }
  });

  window.addEventListener("message", (event) => {
    if (event.source !== window || event.origin !== origin) {
      return;
    }
    const message = event.data;
    if (!message || message.source !== FROM_PAGE) {
      return;
    }
    if (message.type === "hello") {
      toPage({ type: "ready", version: chrome.runtime.getManifest().version });
    } else if (message.type === "request") {
      waiting.add(message.id);
      try {
        extensionPort().postMessage({ id: message.id, request: message.request });
      } catch (error) {
        waiting.delete(message.id);
        toPage({ type: "error", id: message.id, error: "The Vantrel extension cannot be reached: " + error.message });
      }
    }
  });
})();
