// The extension API under the name with which both browsers answer in
// promises: `browser` in Firefox, `chrome` in Chromium.
export const api = globalThis.browser ?? globalThis.chrome;

/** Whether a port's `sender` is the extension's own page `name` ("windows/pin.html"). */
export function isOwnPage(sender, name) {
  return typeof sender.url === "string" && sender.url.startsWith(api.runtime.getURL(name));
}
