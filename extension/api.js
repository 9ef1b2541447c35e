// The extension API under the name with which both browsers answer in
// promises: `browser` in Firefox, `chrome` in Chromium.
export const api = globalThis.browser ?? globalThis.chrome;
