// The browser the end-to-end tests drive, chosen by VANTREL_BROWSER:
// "chromium" (the default, through Playwright) or "firefox" (Firefox ESR,
// through Marionette). Each driver module exports `driver`, with:
//
//   name, extensionId        the browser's name; the ID it gives the extension
//   hostMissing,             what the page hears when the host is not
//   hostNotListing,          registered, when its registration does not list
//   hostNotRunnable,         the extension, when its program may not be run,
//   hostGone                 and when it stopped (a text or a pattern)
//   policyAppliesLive        whether a policy changed while the browser runs
//                            reaches the running extension
//   backgroundIdleMs         how long the extension's background lives
//                            without an event (null where the driver keeps
//                            it alive)
//   register(space)          registers the workspace's host; the manifest's path
//   hostArguments(space)     what the host finds on its command line after its path
//   policyUnavailable()      why a policy cannot be set here, or false
//   packagedId(packaged)     the packaged extension's ID in this browser, from
//                            its extension.json
//   launchWithMachinePolicy(space, packaged, { installed }) resolves with a
//                            session of a browser given no extension: the
//                            machine's policy installs it (waited for unless
//                            installed is false); extensionIds() lists the
//                            extensions installed and enabled
//   launch(space, { environment, siteNames, trustedCa }) resolves with a session:
//     extensionId(), firstPage(), newPage(url), openOptions(),
//     questionRaisedBy(trigger), questionWindows(), pinWindowRaisedBy(trigger),
//     pinWindows(), openWindows() (every window of the extension open now, as
//     pages), setPolicy(values),
//     clearPolicy(), close(), and where backgroundIdleMs is not null,
//     backgroundState() ("running" or "stopped")
//
// Pages are driven through the methods of page-driver.mjs.
import { BROWSER, waitFor } from "./environment.mjs";
import { WINDOW_WAIT_MS } from "./page-driver.mjs";

const DRIVERS = {
  chromium: () => import("./chromium.mjs"),
  firefox: () => import("./firefox.mjs"),
};

export async function browserDriver() {
  if (!Object.hasOwn(DRIVERS, BROWSER)) {
    throw new Error(`VANTREL_BROWSER must be one of ${Object.keys(DRIVERS).join(", ")}, not ${BROWSER}`);
  }
  return (await DRIVERS[BROWSER]()).driver;
}

/** The outcome of one request from a page through its client library: { reply } or { error }. */
export function ask(page, request) {
  return page.evaluate(async (message) => {
    const { Vantrel } = await import("/vantrel.js");
    try {
      return { reply: await Vantrel.request(message) };
    } catch (error) {
      return { error: { name: error.name, message: error.message, reason: error.reason } };
    }
  }, request);
}

/** The refusal has the focus when a window appears: "#no" in a question window, "#cancel" in the others. */
export function focusedOn(window, choice = "#no") {
  return window.waitForFocus(choice);
}

/**
 * Resolves once the window's buttons take input: they ignore it for a
 * moment after the window appeared or got the focus back.
 */
export function ready(window) {
  return window.waitFor('body[data-guard="open"]');
}

/** Clicks `selector` in the window once its buttons take input. */
export async function clickWhenReady(window, selector) {
  await ready(window);
  await window.click(selector);
}

/**
 * Answers a question window with `how` and waits for it to close; a PIN
 * window closes only once the host has answered the request it completed.
 */
export async function answer(window, how) {
  try {
    await how();
  } catch (error) {
    // The answer may close the window before the browser has reported the click done.
    if (!(await window.isClosed())) {
      throw error;
    }
  }
  await waitFor(() => window.isClosed(), "the window to close", WINDOW_WAIT_MS);
}

/**
 * Closes every window of the extension still open, photographed first into
 * `<name>-<n>.png`: a test that failed while a window waited for the person
 * would otherwise keep the site's later requests waiting behind it (a site's
 * requests are served one at a time), and every later test would time out.
 */
export async function closeLeftWindows(session, name) {
  const windows = await session.openWindows();
  for (const [index, window] of windows.entries()) {
    await window.screenshot(`${name}-${index + 1}.png`).catch(() => {});
    await window.close().catch(() => {});
  }
}
