// Background of the extension (a service worker in Chromium, an event page in
// Firefox). Pages reach it through the content script's port; the page's
// origin is the one the browser reports for that port, never one the page
// writes. Each origin's requests are queued (attention.js) and served by a
// host process, and so a login, of the origin's own (origin-host.js), once
// the site may use the tokens (site-access.js, questions.js). Signatures are
// shown to the user before they are made (signing.js), PINs may be typed in
// the extension's own window (pin-entry.js), destructive actions are
// confirmed (confirmations.js), and the user picks the certificate a site
// gets (certificate-choice.js); every window goes through the window broker.
//
// What must outlive a background that the browser stopped (the user's
// answers, the sites put off) is in storage; what is here lives only as long
// as a page, a window or a host keeps the background running.
import { api, isOwnPage, ownOrigin } from "../shared/api.js";
import { CONSOLE_PAGE, PORTS } from "../shared/messages.js";
import { isLocalOriginsChange, localOrigins, onSettingsChanged, settings } from "../shared/settings.js";
import { forgetLocalAnswers, isAnswerChange } from "../shared/site-answers.js";
import { Attention } from "./attention.js";
import { forgetChoice, requireChosen, serveSelectCertificate } from "./certificate-choice.js";
import { confirm, needsConfirmation } from "./confirmations.js";
import { OriginHost } from "./origin-host.js";
import { asksForPins, carriesPins, exchangeWithPinWindow, isForKeypad, withoutPinPrompt } from "./pin-entry.js";
import { askAboutSite } from "./questions.js";
import { refuse } from "./refusals.js";
import { serveSign } from "./signing.js";
import { accessOf, unservable } from "./site-access.js";
import { WindowBroker } from "./window-broker.js";

// origin -> OriginHost
const hosts = new Map();
// The origins whose requests were let through since the background started.
const admitted = new Set();

const attention = new Attention();
const broker = new WindowBroker(attention, {
  opened: (origin) => hostFor(origin).windowOpened(),
  closed: (origin) => hosts.get(origin)?.windowClosed(),
});

function hostFor(origin) {
  let host = hosts.get(origin);
  if (!host) {
    host = new OriginHost(origin, (ended) => {
      if (hosts.get(origin) === ended && !attention.busy(origin)) {
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

async function admit(origin, signal) {
  if ((await accessOf(origin)) === "ask") {
    await askAboutSite(broker, origin, signal);
  }
  admitted.add(origin);
}

// What pages may not ask for while the administrator keeps the certificates
// from them: they get the one the user picks (selectCertificate).
const READS_CERTIFICATES = new Set(["listCertificates", "getCertificate"]);

// Serves one request of the origin, in its turn.
async function serveRequest(origin, request, signal) {
  const refusal = await unservable(origin);
  if (refusal) {
    throw refusal;
  }
  const { pinFromPage, pagesListCertificates } = await settings();
  if (carriesPins(request) && !pinFromPage) {
    throw refuse.pinFromPage();
  }
  if (!pagesListCertificates && READS_CERTIFICATES.has(request.action)) {
    throw refuse.certificatesPrivate();
  }
  await admit(origin, signal);
  const host = hostFor(origin);
  const context = {
    origin,
    broker,
    signal,
    exchange: (asked) => host.exchange(asked),
    startAfresh: () => host.startAfreshUnlessLoggedIn(),
  };
  if (request.action === "selectCertificate") {
    return serveSelectCertificate(context, request);
  }
  if (request.action === "sign") {
    if (!pagesListCertificates && typeof request.certificateSN === "string") {
      context.tokenSN = await requireChosen(context, request.certificateSN);
    }
    return serveSign(context, request);
  }
  // The PIN window names the site and the token and warns before a format:
  // it is the question that formatting otherwise gets. A token whose reader
  // has a keypad takes its PINs there, whatever the page sent.
  if (asksForPins(request) || (await isForKeypad(request, context.exchange))) {
    return exchangeWithPinWindow(context, request);
  }
  const sent = withoutPinPrompt(request);
  if (needsConfirmation(sent)) {
    await confirm(context, sent);
  }
  return context.exchange(sent);
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
  if (page.sender.frameId !== 0) {
    sendError(page, message.id, refuse.subFrame());
    return;
  }
  const request = message.request;
  const giveUp = new AbortController();
  page.requests.add(giveUp);
  try {
    const reply = await attention.enqueue(origin, (signal) => serveRequest(origin, request, signal), giveUp.signal);
    if (request.port === undefined) {
      delete reply.port;
    } else {
      reply.port = request.port;
    }
    send(page, { type: "reply", id: message.id, reply });
  } catch (error) {
    if (!page.gone) {
      sendError(page, message.id, error);
    }
  } finally {
    page.requests.delete(giveUp);
  }
}

function servePage(port, origin = originOf(port.sender)) {
  port.requests = new Set();
  port.onMessage.addListener((message) => relayRequest(port, origin, message));
  port.onDisconnect.addListener(() => {
    port.gone = true;
    // Its requests are given up: their windows close, and what waits is dropped.
    for (const request of port.requests) {
      request.abort(new Error("The page went away."));
    }
  });
}

api.runtime.onConnect.addListener((port) => {
  if (port.name === PORTS.window) {
    broker.serve(port);
  } else if (port.name === PORTS.page && port.sender && port.sender.tab) {
    servePage(port);
  } else if (port.name === PORTS.console && port.sender?.id === api.runtime.id && isOwnPage(port.sender, CONSOLE_PAGE)) {
    servePage(port, ownOrigin());
  }
});

// The toolbar button opens the token console.
function openConsole() {
  api.tabs.create({ url: api.runtime.getURL(CONSOLE_PAGE) });
}
api.action.onClicked.addListener(openConsole);

// A site that may no longer use the tokens is stopped at once: its windows
// close, its requests fail with the refusal, and its host ends, and its login.
function revoke(origin, refusal) {
  admitted.delete(origin);
  forgetChoice(origin);
  attention.revoke(origin, refusal);
  const host = hosts.get(origin);
  if (host) {
    hosts.delete(origin);
    host.retire(refusal);
  }
}

async function reviewAccess() {
  if (!(await localOrigins()).on) {
    await forgetLocalAnswers();
  }
  const origins = new Set([...hosts.keys(), ...admitted, ...attention.lines.keys()]);
  for (const origin of origins) {
    let access;
    try {
      access = await accessOf(origin);
    } catch (refusal) {
      revoke(origin, refusal);
      continue;
    }
    // A site being asked about is left to its question.
    if (access === "ask" && admitted.has(origin)) {
      revoke(origin, refuse.notAllowed());
    }
  }
}

onSettingsChanged(() => {
  for (const host of hosts.values()) {
    host.restartIdleClock();
  }
  reviewAccess();
});
api.storage.onChanged.addListener((changes, area) => {
  if (isAnswerChange(changes, area) || isLocalOriginsChange(changes, area)) {
    reviewAccess();
  }
});
