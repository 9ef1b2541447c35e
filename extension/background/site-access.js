// Which pages may use the tokens: an HTTPS site the administrator lists or
// the user allowed; a page served from this computer (http://localhost,
// http://127.0.0.1, http://[::1], any port) only while the development
// setting is on, and then only once the user allowed it for this browser
// session. Every other site is asked about, unless the user closed its
// question this session. Plain HTTP elsewhere is never served. The
// extension's own token console is the extension itself: it is served, and
// never asked about.
import { ownOrigin } from "../shared/api.js";
import { refuse } from "./refusals.js";
import { localOrigins, settings } from "../shared/settings.js";
import { isLocalOrigin, isPutOff, userAnswer } from "../shared/site-answers.js";

// The refusal for a page that cannot be served whatever the user answers,
// or null when its origin is one the extension may serve or ask about.
export async function unservable(origin) {
  if (origin === ownOrigin()) {
    return null;
  }
  if (isLocalOrigin(origin)) {
    return (await localOrigins()).on ? null : refuse.localOrigin();
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

// "serve", "ask" (nobody decided yet), or throws the refusal.
export async function accessOf(origin) {
  const refusal = await unservable(origin);
  if (refusal) {
    throw refusal;
  }
  if (origin === ownOrigin() || (!isLocalOrigin(origin) && (await settings()).allowedOrigins.includes(origin))) {
    return "serve";
  }
  const answer = await userAnswer(origin);
  if (answer) {
    if (!answer.allowed) {
      throw refuse.denied();
    }
    return "serve";
  }
  if (await isPutOff(origin)) {
    throw refuse.notNow();
  }
  return "ask";
}
