// Driving a page by its elements, in the few operations the browser tests
// need. PlaywrightPage works through Playwright (Chromium); MarionettePage in
// firefox.mjs offers the same methods over Firefox's Marionette. A page here
// is a tab, an extension's window, or a frame inside one of them.
//
// Functions handed to evaluate() and waitForFunction() run in the page: they
// travel as their source text, so they may use only their argument.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { ARTIFACTS } from "./environment.mjs";

export const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");

// How long a page operation waits for its element, or a wait for its condition.
export const WAIT_MS = 20000;

// How long a test waits for a window of the extension to open: the extension
// may first ask the site's host about the token, starting one if none runs.
export const WINDOW_WAIT_MS = 30000;

// The extension's windows: the page of each kind, and the size the
// extension opens it at (the page gets that much room in the tests).
export const WINDOW_PAGES = Object.freeze({
  question: "windows/question.html",
  pin: "windows/pin.html",
  sign: "windows/sign.html",
  choice: "windows/choose.html",
});
export const WINDOW_SIZES = Object.freeze({
  question: { width: 560, height: 520 },
  pin: { width: 580, height: 560 },
  sign: { width: 640, height: 640 },
  choice: { width: 640, height: 620 },
});

/** Where a screenshot or a log called `name` goes. */
export function artifactPath(name) {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  return path.join(ARTIFACTS, name);
}

/** axe-core's violations in the document of the page it runs in. */
export async function axeViolations() {
  const results = await window.axe.run(document, { resultTypes: ["violations"] });
  return results.violations.map((v) => ({ id: v.id, impact: v.impact, help: v.help, targets: v.nodes.map((n) => n.target.join(" ")) }));
}

/**
 * axe-core's findings for each state of a page or window a test checks, kept
 * in the artifacts folder as <name>-accessibility.json by write(). A strict
 * record (the extension's windows) takes no violation of any impact.
 */
export class AccessibilityRecord {
  constructor(name, { strict = false } = {}) {
    this.name = name;
    this.strict = strict;
    this.states = []; // { state, violations }
  }

  /**
   * Checks `target` (a page or window) as it is now: no serious or critical
   * violation, and with `strict` none at all.
   */
  async check(target, state) {
    const violations = await target.accessibilityViolations();
    this.states.push({ state, violations });
    const counted = this.strict ? violations : violations.filter((v) => v.impact === "serious" || v.impact === "critical");
    assert.deepEqual(counted, [], `accessibility of ${state}`);
  }

  write() {
    fs.writeFileSync(artifactPath(`${this.name}-accessibility.json`), JSON.stringify(this.states, null, 2) + "\n");
  }
}

/** What a browser session does the same way in every browser, on top of its openTab(). */
export class BrowserSession {
  constructor(extensionUrl) {
    this.extensionUrl = extensionUrl;
  }

  /** A new tab, at `url` when one is given. */
  async newPage(url) {
    const page = await this.openTab();
    if (url) {
      await page.goto(url);
    }
    return page;
  }

  /** The extension's options page, in a new tab. */
  openOptions() {
    return this.newPage(`${this.extensionUrl}windows/options.html`);
  }
}

export class PlaywrightPage {
  /** @param page a Playwright Page, or a Frame for a page inside a frame */
  constructor(page) {
    this.page = page;
  }

  goto(url) {
    return this.page.goto(url);
  }

  click(selector) {
    return this.page.click(selector);
  }

  fill(selector, value) {
    return this.page.fill(selector, value);
  }

  check(selector) {
    return this.page.check(selector);
  }

  /** Presses a key in whatever has the focus. */
  press(key) {
    return this.page.keyboard.press(key);
  }

  /** Presses `key` in an extension's window once its buttons take input (see firefox.mjs). */
  async pressWhenReady(key) {
    await this.waitFor('body[data-guard="open"]');
    await this.press(key);
  }

  /** Types text into whatever has the focus, key by key. */
  type(text) {
    return this.page.keyboard.type(text);
  }

  focus(selector) {
    return this.page.focus(selector);
  }

  text(selector) {
    return this.page.textContent(selector);
  }

  value(selector) {
    return this.page.inputValue(selector);
  }

  attribute(selector, name) {
    return this.page.getAttribute(selector, name);
  }

  count(selector) {
    return this.page.locator(selector).count();
  }

  isChecked(selector) {
    return this.page.isChecked(selector);
  }

  isVisible(selector) {
    return this.page.isVisible(selector);
  }

  title() {
    return this.page.title();
  }

  async url() {
    return this.page.url();
  }

  /** Waits until `selector` matches a visible element. */
  waitFor(selector, timeout = WAIT_MS) {
    return this.page.locator(selector).first().waitFor({ state: "visible", timeout });
  }

  /** Waits until nothing matches `selector`. */
  waitForGone(selector) {
    return this.page.locator(selector).first().waitFor({ state: "detached", timeout: WAIT_MS });
  }

  /** Waits until the element has the focus. */
  waitForFocus(selector) {
    return this.waitForFunction((s) => document.activeElement === document.querySelector(s), selector);
  }

  /** Waits until `condition(arg)`, run in the page, is true. */
  waitForFunction(condition, arg, timeout = WAIT_MS) {
    return this.page.waitForFunction(condition, arg, { timeout });
  }

  /** Runs `work(arg)` in the page and resolves with what it resolves with. */
  evaluate(work, arg) {
    return this.page.evaluate(work, arg);
  }

  /** The page inside the frame element `selector`, once that frame has loaded a document from `origin`. */
  async frame(selector, origin) {
    const element = await this.page.waitForSelector(selector);
    const frame = await element.contentFrame();
    await frame.waitForURL((url) => url.origin === origin);
    return new PlaywrightPage(frame);
  }

  /** Chooses a file to upload in a file input. */
  setFile(selector, name, contents) {
    return this.page.setInputFiles(selector, { name, mimeType: "application/octet-stream", buffer: Buffer.from(contents) });
  }

  /** Clicks `selector` and resolves with the file the page offered for download: { name, text }. */
  async download(selector) {
    const [file] = await Promise.all([this.page.waitForEvent("download"), this.page.click(selector)]);
    const text = fs.readFileSync(await file.path(), "utf8");
    return { name: file.suggestedFilename(), text };
  }

  setViewport(width, height) {
    return this.page.setViewportSize({ width, height });
  }

  /** Of the whole page, or of the element `selector`. */
  async screenshot(name, selector) {
    const target = selector ? this.page.locator(selector) : this.page;
    await target.screenshot({ path: artifactPath(name), ...(selector ? {} : { fullPage: true }) });
  }

  close() {
    return this.page.close();
  }

  async isClosed() {
    return this.page.isClosed();
  }

  /** axe-core's violations in the page as it is now. */
  async accessibilityViolations() {
    if (!(await this.page.evaluate(() => "axe" in window))) {
      // Evaluated rather than added as a script element, which the
      // extension's own pages would refuse.
      await this.page.evaluate(axeSource);
    }
    return this.page.evaluate(axeViolations);
  }
}
