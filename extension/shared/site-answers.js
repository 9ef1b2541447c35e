// The user's answers about sites, one storage key per site, so that the
// options page and the background never overwrite each other's changes. An
// HTTPS site's answer, either way, is kept in local storage until the user
// removes it. What holds for this browser session only is kept in session
// storage, which the browser empties when it restarts (and which outlives a
// background that the browser stopped meanwhile): the answers for pages
// served from this computer, and the sites whose question the user closed
// without answering ("not now").
import { api } from "./api.js";

const ANSWER_PREFIX = "site:";
const NOT_NOW_PREFIX = "not-now:";
const LOCAL_HOSTS = new Set(["localhost", "127.0.0.1", "[::1]"]);

/** Whether `origin` is a page served from this computer over plain HTTP, on any port. */
export function isLocalOrigin(origin) {
  try {
    const url = new URL(origin);
    return url.protocol === "http:" && url.origin === origin && LOCAL_HOSTS.has(url.hostname);
  } catch {
    return false;
  }
}

function answerArea(origin) {
  return isLocalOrigin(origin) ? api.storage.session : api.storage.local;
}

export async function userAnswer(origin) {
  const key = ANSWER_PREFIX + origin;
  const stored = await answerArea(origin).get(key);
  return stored[key];
}

export function rememberAnswer(origin, allowed) {
  return answerArea(origin).set({ [ANSWER_PREFIX + origin]: { allowed, since: new Date().toISOString() } });
}

export function forgetAnswer(origin) {
  return answerArea(origin).remove(ANSWER_PREFIX + origin);
}

async function withPrefix(area, prefix) {
  const stored = await area.get(null);
  return Object.entries(stored)
    .filter(([key]) => key.startsWith(prefix))
    .map(([key, value]) => [key.slice(prefix.length), value]);
}

/**
 * Every site the user answered for: [{ origin, allowed, since, session }], by
 * origin; `session` marks the answers that last for this browser session only.
 */
export async function userAnswers() {
  const kept = (await withPrefix(api.storage.local, ANSWER_PREFIX)).map(([origin, answer]) => ({ origin, ...answer, session: false }));
  const session = (await withPrefix(api.storage.session, ANSWER_PREFIX)).map(([origin, answer]) => ({ origin, ...answer, session: true }));
  return [...kept, ...session].sort((a, b) => a.origin.localeCompare(b.origin));
}

/** Forgets the answers for pages served from this computer. */
export async function forgetLocalAnswers() {
  const keys = (await withPrefix(api.storage.session, ANSWER_PREFIX)).map(([origin]) => ANSWER_PREFIX + origin);
  if (keys.length > 0) {
    await api.storage.session.remove(keys);
  }
}

/** The user closed the site's question unanswered: not asked again this browser session. */
export function putOff(origin) {
  return api.storage.session.set({ [NOT_NOW_PREFIX + origin]: { since: new Date().toISOString() } });
}

export async function isPutOff(origin) {
  const key = NOT_NOW_PREFIX + origin;
  return Object.hasOwn(await api.storage.session.get(key), key);
}

/** The sites put off: [{ origin, since }], by origin. */
export async function putOffSites() {
  return (await withPrefix(api.storage.session, NOT_NOW_PREFIX))
    .map(([origin, { since }]) => ({ origin, since }))
    .sort((a, b) => a.origin.localeCompare(b.origin));
}

export function askAgain(origin) {
  return api.storage.session.remove(NOT_NOW_PREFIX + origin);
}

/** Whether a storage change touches an answer or a site put off. */
export function isAnswerChange(changes, area) {
  return (
    (area === "local" || area === "session") &&
    Object.keys(changes).some((key) => key.startsWith(ANSWER_PREFIX) || key.startsWith(NOT_NOW_PREFIX))
  );
}
