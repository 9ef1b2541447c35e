// Driving a page by its elements, in the few operations the console test
// needs. This one works through Playwright; another browser's driver offers
// the same methods.
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { ARTIFACTS } from "./environment.mjs";

const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");

export class PlaywrightPage {
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

  /** Waits until `selector` matches a visible element. */
  waitFor(selector, timeout = 20000) {
    return this.page.locator(selector).first().waitFor({ state: "visible", timeout });
  }

  /** Waits until the element has the focus. */
  waitForFocus(selector) {
    return this.page.waitForFunction((s) => document.activeElement === document.querySelector(s), selector);
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

  async screenshot(name) {
    fs.mkdirSync(ARTIFACTS, { recursive: true });
    await this.page.screenshot({ path: path.join(ARTIFACTS, name), fullPage: true });
  }

  /** axe-core's violations in the page as it is now. */
  async accessibilityViolations() {
    if (!(await this.page.evaluate(() => "axe" in window))) {
      await this.page.addScriptTag({ content: axeSource });
    }
    return this.page.evaluate(async () => {
      const results = await window.axe.run(document, { resultTypes: ["violations"] });
      return results.violations.map((v) => ({ id: v.id, impact: v.impact, help: v.help, targets: v.nodes.map((n) => n.target.join(" ")) }));
    });
  }
}
