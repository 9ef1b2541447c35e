// What an administrator set through managed storage, with the defaults for
// whatever is not set or not usable, and the one setting of the user's own:
// whether pages served from this computer may be asked about at all (for
// development), which an administrator's allowLocalOrigins fixes either way.
// Read at first use and again after every change.
import { api } from "./api.js";

export const DEFAULTS = Object.freeze({
  allowedOrigins: Object.freeze([]),
  requestTimeoutSeconds: 120,
  loginIdleMinutes: 15,
  pinFromPage: true,
  confirmEachSignature: true,
  pagesListCertificates: true,
  // null: the user decides, on the options page.
  allowLocalOrigins: null,
});

const LOCAL_ORIGINS_OPTION = "option:local-origins";

let current = null;
const changeListeners = new Set();

// The origin an HTTPS address stands for, or null when the text is not the
// address of one whole HTTPS site (a path, a query or a user name in it, or a
// wildcard, which no page's origin would ever match).
export function httpsOrigin(text) {
  let url;
  try {
    url = new URL(text);
  } catch {
    return null;
  }
  const whole = url.pathname === "/" && !url.search && !url.hash && !url.username && !url.password;
  return url.protocol === "https:" && whole && !url.hostname.includes("*") ? url.origin : null;
}

function positive(value, fallback) {
  return typeof value === "number" && Number.isFinite(value) && value > 0 ? value : fallback;
}

function flag(value, fallback) {
  return typeof value === "boolean" ? value : fallback;
}

export function fromManaged(managed) {
  const listed = Array.isArray(managed.allowedOrigins) ? managed.allowedOrigins : [];
  return Object.freeze({
    allowedOrigins: Object.freeze([...new Set(listed.map(httpsOrigin).filter(Boolean))]),
    requestTimeoutSeconds: positive(managed.requestTimeoutSeconds, DEFAULTS.requestTimeoutSeconds),
    loginIdleMinutes: positive(managed.loginIdleMinutes, DEFAULTS.loginIdleMinutes),
    pinFromPage: flag(managed.pinFromPage, DEFAULTS.pinFromPage),
    confirmEachSignature: flag(managed.confirmEachSignature, DEFAULTS.confirmEachSignature),
    pagesListCertificates: flag(managed.pagesListCertificates, DEFAULTS.pagesListCertificates),
    allowLocalOrigins: flag(managed.allowLocalOrigins, DEFAULTS.allowLocalOrigins),
  });
}

async function readManaged() {
  try {
    return fromManaged((await api.storage.managed.get()) || {});
  } catch {
    // Firefox answers "Managed storage manifest not found" when nobody set anything.
    return fromManaged({});
  }
}

export function settings() {
  if (!current) {
    current = readManaged();
  }
  return current;
}

/**
 * Whether pages served from this computer may be asked about:
 * { on, fixed } where `fixed` tells that the administrator decided.
 */
export async function localOrigins() {
  const { allowLocalOrigins } = await settings();
  if (allowLocalOrigins !== null) {
    return { on: allowLocalOrigins, fixed: true };
  }
  const stored = await api.storage.local.get(LOCAL_ORIGINS_OPTION);
  return { on: stored[LOCAL_ORIGINS_OPTION] === true, fixed: false };
}

export function setLocalOrigins(on) {
  return on ? api.storage.local.set({ [LOCAL_ORIGINS_OPTION]: true }) : api.storage.local.remove(LOCAL_ORIGINS_OPTION);
}

export function isLocalOriginsChange(changes, area) {
  return area === "local" && Object.hasOwn(changes, LOCAL_ORIGINS_OPTION);
}

export function onSettingsChanged(listener) {
  changeListeners.add(listener);
}

api.storage.onChanged.addListener((changes, area) => {
  if (area === "managed") {
    current = null;
    for (const listener of changeListeners) {
      listener();
    }
  }
});
