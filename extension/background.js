// Service worker of the sample extension: one native messaging port to the
// Vantrel host, shared by every page, started on the first request and again
// on the first request after it closed. The host answers each request with one
// reply carrying the request's "port" member, so that member carries our own
// identifier and the page's value is put back into the reply.
"use strict";

const HOST_NAME = "org.vantrel.host";

let host = null;
let nextWireId = 1;
// wire id -> { host, page, pageId, pagePort }
const pending = new Map();

function connectHost() {
  const port = chrome.runtime.connectNative(HOST_NAME);
  port.onMessage.addListener((reply) => deliverReply(reply));
  port.onDisconnect.addListener(() => {
    // Chromium gives the reason in lastError (read here, or it reports it as
    // unchecked), Firefox in port.error.
    const lastError = chrome.runtime.lastError || port.error;
    const reason = (lastError && lastError.message) || "The Vantrel host closed the connection.";
    if (host === port) {
      host = null;
    }
    for (const [wireId, entry] of pending) {
      if (entry.host === port) {
        pending.delete(wireId);
        send(entry.page, { type: "error", id: entry.pageId, error: reason });
      }
    }
  });
  return port;
}

function deliverReply(reply) {
  const wireId = reply && typeof reply === "object" ? reply.port : undefined;
  const entry = pending.get(wireId);
  if (!entry) {
    console.warn("Vantrel: a reply that no request is waiting for", reply);
    return;
  }
  pending.delete(wireId);
  if (entry.pagePort === undefined) {
    delete reply.port;
  } else {
    reply.port = entry.pagePort;
  }
  send(entry.page, { type: "reply", id: entry.pageId, reply });
}

function send(page, message) {
  try {
    page.postMessage(message);
  } catch (error) {
    // The tab went away while its request was with the host.
  }
}

function isPlainObject(value) {
  return value !== null && typeof value === "object" && !Array.isArray(value);
}

function relayRequest(page, message) {
  if (!isPlainObject(message) || !isPlainObject(message.request)) {
    send(page, { type: "error", id: message && message.id, error: "A request must be a JSON object." });
    return;
  }
  const wireId = "vantrel-" + nextWireId++;
  const request = Object.assign({}, message.request, { port: wireId });
  if (!host) {
    host = connectHost();
  }
  pending.set(wireId, { host, page, pageId: message.id, pagePort: message.request.port });
  try {
    host.postMessage(request);
  } catch (error) {
    pending.delete(wireId);
    send(page, { type: "error", id: message.id, error: String(error.message || error) });
  }
}

chrome.runtime.onConnect.addListener((page) => {
  if (page.name !== "vantrel-page") {
    return;
  }
  page.onMessage.addListener((message) => relayRequest(page, message));
  page.onDisconnect.addListener(() => {
    for (const [wireId, entry] of pending) {
      if (entry.page === page) {
        pending.delete(wireId);
      }
    }
  });
});
