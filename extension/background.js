// Background of the sample extension (a service worker in Chromium, an event
// page in Firefox). Pages reach it through the content script's port. The
// page's origin is the one the browser reports for that port, never one the
// page writes: each origin gets a host process, and so a login, of its own
// (origin-host.js), and only pages allowed to use the tokens reach one
// (site-access.js). PINs may be asked for in the extension's own window
// instead of coming from the page (pin-entry.js).
import { api } from "./api.js";
import { confirm, needsConfirmation } from "./confirmations.js";
import { OriginHost } from "./origin-host.js";
import { asksForPins, carriesPins, exchangeWithPinWindow, needsPinToSign, withoutPinPrompt } from "./pin-entry.js";
import { PIN_PORT, servePinWindow } from "./pin-window.js";
import { QUESTION_PORT, ask, serveQuestionWindow } from "./questions.js";
import { refuse } from "./refusals.js";
import { onSettingsChanged, settings } from "./settings.js";
import { accessOf, isAnswerChange, rememberAnswer, unservable } from "./site-access.js";

const PAGE_PORT = "vantrel-page";

// origin -> OriginHost
const hosts = new Map();

function hostFor(origin) {
  let host = hosts.get(origin);
  if (!host) {
    host = new OriginHost(origin, (unused) => {
      if (hosts.get(origin) === unused) {
        hosts.delete(origin);
      }
    });
    hosts.set(origin, host);
  }
  return host;
}

function originOf(sender) {
  if (typeof sender.origin === "string") {
    return sender.origin;
  }
  try {
    return new URL(sender.url).origin;
  } catch {
    return "null";
  }
}

async function askAboutSite(origin) {
  const answer = await ask({
    title: `Allow ${origin} to use your security tokens?`,
    details: [
      "The site will be able to list your tokens and their certificates, log in to a token with a PIN you give it, and sign with your keys.",
      "You can take this back at any time in the Vantrel extension's options.",
    ],
    yes: "Allow",
    no: "Deny",
    danger: false,
  });
  if (answer === "dismissed") {
    throw refuse.notAllowed();
  }
  await rememberAnswer(origin, answer === "yes");
  if (answer !== "yes") {
    throw refuse.denied();
  }
}

async function admit(origin) {
  if ((await accessOf(origin)) === "ask") {
    await askAboutSite(origin);
  }
}

// Serves one request of an admitted site through `exchange`, its host's.
async function serve(origin, request, exchange) {
  if (carriesPins(request) && !(await settings()).pinFromPage) {
    throw refuse.pinFromPage();
  }
  // The PIN window names the site and the token and warns before a format:
  // it is the question that formatting otherwise gets.
  if (asksForPins(request)) {
    return exchangeWithPinWindow(origin, request, exchange);
  }
  const sent = withoutPinPrompt(request);
  if (needsConfirmation(sent)) {
    await confirm(origin, sent, exchange);
  }
  const reply = await exchange(sent);
  return needsPinToSign(sent, reply) ? exchangeWithPinWindow(origin, sent, exchange) : reply;
}

function isPlainObject(value) {
  return value !== null && typeof value === "object" && !Array.isArray(value);
}

function send(page, message) {
  try {
    page.postMessage(message);
  } catch {
    // The tab went away while its request was being served.
  }
}

function sendError(page, id, error) {
  const message = { type: "error", id, error: String(error.message || error) };
  if (error.reason) {
    message.reason = error.reason;
  }
  send(page, message);
}

async function relayRequest(page, origin, message) {
  if (!isPlainObject(message) || !isPlainObject(message.request)) {
    sendError(page, message && message.id, "A request must be a JSON object.");
    return;
  }
  const refusal = page.sender.frameId !== 0 ? refuse.subFrame() : unservable(origin);
  if (refusal) {
    sendError(page, message.id, refusal);
    return;
  }
  const request = message.request;
  const host = hostFor(origin);
  try {
    const reply = await host.queue(async () => {
      if (page.gone) {
        return null;
      }
      await admit(origin);
      return serve(origin, request, (asked) => host.exchange(asked));
    });
    if (reply === null) {
      return;
    }
    if (request.port === undefined) {
      delete reply.port;
    } else {
      reply.port = request.port;
    }
    send(page, { type: "reply", id: message.id, reply });
  } catch (error) {
    sendError(page, message.id, error);
  }
}

api.runtime.onConnect.addListener((port) => {
  if (port.name === QUESTION_PORT) {
    serveQuestionWindow(port);
    return;
  }
  if (port.name === PIN_PORT) {
    servePinWindow(port);
    return;
  }
  if (port.name !== PAGE_PORT || !port.sender || !port.sender.tab) {
    return;
  }
  const origin = originOf(port.sender);
  port.onMessage.addListener((message) => relayRequest(port, origin, message));
  port.onDisconnect.addListener(() => {
    port.gone = true;
  });
});

// A site that may no longer use the tokens loses its host, and its login, at once.
async function endRevokedHosts() {
  for (const host of [...hosts.values()]) {
    if (!host.running) {
      continue;
    }
    const access = await accessOf(host.origin).catch(() => "refused");
    if (access !== "serve") {
      host.end(refuse.notAllowed());
    }
  }
}

onSettingsChanged(() => {
  for (const host of hosts.values()) {
    host.restartIdleClock();
  }
  endRevokedHosts();
});
api.storage.onChanged.addListener((changes, area) => {
  if (isAnswerChange(changes, area)) {
    endRevokedHosts();
  }
});
