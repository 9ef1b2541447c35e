// The extension API under the name with which both browsers answer in
// promises: `browser` in Firefox, `chrome` in Chromium.
export const api = globalThis.browser ?? globalThis.chrome;

/**
 * The extension's own origin: its pages', and so the token console's. (Its
 * root address without the slash: URL parsers that do not know the scheme
 * give "null" as its origin.)
 */
export function ownOrigin() {
  return api.runtime.getURL("").replace(/\/$/, "");
}

/** Whether a port's `sender` is the extension's own page `name` ("windows/pin.html"). */
export function isOwnPage(sender, name) {
  return typeof sender.url === "string" && sender.url.startsWith(api.runtime.getURL(name));
}
