// Which pages may use the tokens. Development pages on http://localhost and
// http://127.0.0.1 (any port) always may; an HTTPS site may when the
// administrator lists it or the user allowed it. The user's answers, both
// ways, are kept in local storage, one key per site, so that the options page
// and the background never overwrite each other's changes.
import { api } from "./api.js";
import { refuse } from "./refusals.js";
import { settings } from "./settings.js";

const ANSWER_PREFIX = "site:";
const DEVELOPMENT_HOSTS = new Set(["localhost", "127.0.0.1"]);

export function isDevelopmentOrigin(origin) {
  try {
    const url = new URL(origin);
    return url.protocol === "http:" && url.origin === origin && DEVELOPMENT_HOSTS.has(url.hostname);
  } catch {
    return false;
  }
}

// The refusal for a page that can never be served whatever anyone answers,
// or null when its origin is one the extension may serve.
export function unservable(origin) {
  if (isDevelopmentOrigin(origin)) {
    return null;
  }
  let url;
  try {
    url = new URL(origin);
  } catch {
    return refuse.notAllowed(); // an opaque origin ("null"): a sandboxed frame, a data: page
  }
  if (url.protocol === "http:") {
    return refuse.plainHttp();
  }
  return url.protocol === "https:" && url.origin === origin ? null : refuse.notAllowed();
}

export async function userAnswer(origin) {
  const key = ANSWER_PREFIX + origin;
  const stored = await api.storage.local.get(key);
  return stored[key];
}

export function rememberAnswer(origin, allowed) {
  return api.storage.local.set({ [ANSWER_PREFIX + origin]: { allowed, since: new Date().toISOString() } });
}

export function forgetAnswer(origin) {
  return api.storage.local.remove(ANSWER_PREFIX + origin);
}

// Every site the user answered for: [{ origin, allowed, since }], by origin.
export async function userAnswers() {
  const stored = await api.storage.local.get(null);
  return Object.entries(stored)
    .filter(([key]) => key.startsWith(ANSWER_PREFIX))
    .map(([key, answer]) => ({ origin: key.slice(ANSWER_PREFIX.length), ...answer }))
    .sort((a, b) => a.origin.localeCompare(b.origin));
}

export function isAnswerChange(changes, area) {
  return area === "local" && Object.keys(changes).some((key) => key.startsWith(ANSWER_PREFIX));
}

// "serve", "ask" (nobody decided yet), or throws the refusal.
export async function accessOf(origin) {
  const refusal = unservable(origin);
  if (refusal) {
    throw refusal;
  }
  if (isDevelopmentOrigin(origin) || (await settings()).allowedOrigins.includes(origin)) {
    return "serve";
  }
  const answer = await userAnswer(origin);
  if (!answer) {
    return "ask";
  }
  if (!answer.allowed) {
    throw refuse.denied();
  }
  return "serve";
}
