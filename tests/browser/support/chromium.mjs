// Headless Chromium with the sample extension, through Playwright, and the
// extension's question windows. The console test reaches pages only through
// page-driver.mjs, so that another browser's driver can stand in.
import fs from "node:fs";
import path from "node:path";
import { chromium } from "playwright-core";
import { ARTIFACTS, SOURCE, testEnvironment, waitFor } from "./environment.mjs";

export const CHROMIUM = process.env.VANTREL_CHROMIUM || "/usr/bin/chromium";
export const EXTENSION_ID = "dimbhkphloanhhcpkcakgkgdcooempmh";
export const EXTENSION_URL = `chrome-extension://${EXTENSION_ID}/`;

/** Chromium on the workspace's profile, the extension loaded and its service worker up. */
export async function launchChromium(space, { args = [], environment = {} } = {}) {
  const extension = path.join(SOURCE, "extension");
  const context = await chromium.launchPersistentContext(space.profile, {
    executablePath: CHROMIUM,
    headless: true,
    env: testEnvironment(space, environment),
    acceptDownloads: true,
    args: [
      `--disable-extensions-except=${extension}`,
      `--load-extension=${extension}`,
      "--no-sandbox",
      "--disable-gpu",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--no-first-run",
      ...args,
    ],
    viewport: { width: 1100, height: 900 },
  });
  // A page looks for the extension once it loads: have the extension up first.
  if (context.serviceWorkers().length === 0) {
    await context.waitForEvent("serviceworker");
  }
  return context;
}

/** Of a page (all of it) or of one element. */
export async function screenshot(target, name) {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  await target.screenshot({ path: path.join(ARTIFACTS, name), ...("goto" in target ? { fullPage: true } : {}) });
}

/** The outcome of one request from a page or frame through its client library: { reply } or { error }. */
export function ask(target, request) {
  return target.evaluate(async (message) => {
    const { Vantrel } = await import("/vantrel.js");
    try {
      return { reply: await Vantrel.request(message) };
    } catch (error) {
      return { error: { name: error.name, message: error.message, reason: error.reason } };
    }
  }, request);
}

export function isQuestionWindow(candidate) {
  return candidate.url().startsWith(`${EXTENSION_URL}ask.html`);
}

/**
 * Starts `trigger` and resolves with the window of the extension's question it
 * raised (the next page to open) and what `trigger` resolves with.
 */
export async function questionRaisedBy(context, trigger) {
  const opened = context.waitForEvent("page", { timeout: 15000 });
  const outcome = trigger();
  const window = await opened;
  await window.waitForURL(/\/ask\.html\?/, { timeout: 5000 });
  await window.locator("#dialog:not([hidden])").waitFor();
  await window.setViewportSize({ width: 520, height: 360 });
  return { window, outcome };
}

/**
 * Once the window accepts input, `choice` has the focus: the primary choice,
 * or the refusal where the action cannot be undone.
 */
export async function focusedOn(window, choice = "#yes") {
  await window.waitForFunction((selector) => document.activeElement === document.querySelector(selector), choice);
}

/** Answers a question window with `how` and waits for it to close. */
export async function answer(window, how) {
  try {
    await how();
  } catch (error) {
    if (!window.isClosed()) {
      throw error;
    }
  }
  await waitFor(() => window.isClosed(), "the question window to close");
}
