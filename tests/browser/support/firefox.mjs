// Headless Firefox ESR with the sample extension as a temporary add-on, driven
// through Marionette (marionette.mjs): what the browser tests need of a
// browser (see browser.mjs) done the Firefox way.
//
// Marionette works on one browsing context at a time, the "current" one, and
// answers commands concurrently. So every page operation here switches to its
// page and runs its commands with nothing else in between, and nothing waits
// inside the browser: a page's script is started, then its outcome is fetched
// until it is there, so that other pages (an extension's window that the
// script waits for) can be driven meanwhile.
import { spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import path from "node:path";
import { SOURCE, holdMachineLock, run, testEnvironment, waitFor } from "./environment.mjs";
import { Marionette, MarionetteError } from "./marionette.mjs";
import { BrowserSession, WAIT_MS, WINDOW_PAGES, WINDOW_WAIT_MS, axeSource, axeViolations, artifactPath } from "./page-driver.mjs";

export const FIREFOX = process.env.VANTREL_FIREFOX || "/usr/bin/firefox-esr";
const EXTENSION_ID = "vantrel-sample@vantrel.org";
// Preset, so that the extension's pages have a known address.
const EXTENSION_UUID = "5e1c7a2b-8d40-4f6e-9a3b-2c7d0e9f4a61";
const EXTENSION_URL = `moz-extension://${EXTENSION_UUID}/`;
// The test profile shortens the event page's idle time (30 s by default), so
// that the extension's background is stopped and started again often in a run.
const BACKGROUND_IDLE_MS = 10000;
const ELEMENT = "element-6066-11e4-a52e-4f735466cecf";
const POLL_MS = 50;
// WebDriver's codes of the keys the tests press by name.
const KEYS = {
  Enter: "\uE007",
  Escape: "\uE00C",
  Space: "\uE00D",
  Tab: "\uE004",
  Backspace: "\uE003",
  ArrowLeft: "\uE012",
  ArrowUp: "\uE013",
  ArrowRight: "\uE014",
  ArrowDown: "\uE015",
};

// Every Firefox on the machine reads the system-wide host manifests and
// policies: runs of other checkouts take turns (see holdMachineLock).
await holdMachineLock("firefox");

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

/** Waits for `promise`, but no longer than `ms`. */
async function atMost(ms, promise) {
  let timer;
  await Promise.race([promise, new Promise((resolve) => (timer = setTimeout(resolve, ms)))]);
  clearTimeout(timer);
}

function managedStoragePath(space) {
  return path.join(space.home, ".mozilla", "managed-storage", `${EXTENSION_ID}.json`);
}

function logPath(space) {
  return path.join(space.work, "firefox.log");
}

/** Keeps the browser's log with the screenshots: the workspace goes when the test ends. */
function keepLog(space) {
  const name = path.basename(space.work).replace(/-[^-]*$/, "");
  fs.copyFileSync(logPath(space), artifactPath(`${name}-firefox.log`));
}

function manifestPath(space) {
  return path.join(space.home, ".mozilla", "native-messaging-hosts", "org.vantrel.host.json");
}

/** A local port nothing listens on. */
function closedPort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once("error", reject);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

function preferences({ siteNames, downloads, closedPort, unsignedAddons = false }) {
  const local = ["localhost", "127.0.0.1", ...siteNames].join(",");
  return {
    // Firefox ESR installs unsigned add-ons (the package's, installed by policy) only when told so.
    ...(unsignedAddons ? { "xpinstall.signatures.required": false } : {}),
    "marionette.port": 0,
    "extensions.webextensions.uuids": JSON.stringify({ [EXTENSION_ID]: EXTENSION_UUID }),
    "extensions.background.idle.timeout": BACKGROUND_IDLE_MS,
    // The sites' names lead to this machine; every other address to a port
    // where nothing answers, so that the browser never reaches the network.
    "network.dns.localDomains": siteNames.join(","),
    "network.proxy.type": 1,
    "network.proxy.http": "127.0.0.1",
    "network.proxy.http_port": closedPort,
    "network.proxy.ssl": "127.0.0.1",
    "network.proxy.ssl_port": closedPort,
    "network.proxy.no_proxies_on": local,
    "network.proxy.allow_hijacking_localhost": false,
    "network.captive-portal-service.enabled": false,
    "network.connectivity-service.enabled": false,
    // A plain HTTP page stays one: the test is about what the extension makes of it.
    "dom.security.https_first": false,
    "dom.security.https_first_schemeless": false,
    "browser.download.folderList": 2,
    "browser.download.dir": downloads,
    "browser.download.useDownloadDir": true,
    "browser.download.always_ask_before_handling_new_types": false,
    "browser.download.alwaysOpenPanel": false,
    "browser.shell.checkDefaultBrowser": false,
    "browser.startup.page": 0,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.aboutwelcome.enabled": false,
    "browser.tabs.warnOnClose": false,
    "browser.sessionstore.resume_from_crash": false,
    "datareporting.policy.dataSubmissionEnabled": false,
    "toolkit.telemetry.reportingpolicy.firstRun": false,
    "app.normandy.enabled": false,
    "extensions.update.enabled": false,
    // The extension's and the pages' console messages go to the browser's log.
    "devtools.console.stdout.chrome": true,
    "devtools.console.stdout.content": true,
  };
}

function writeProfile(space, options) {
  fs.mkdirSync(space.profile, { recursive: true });
  const lines = Object.entries(preferences(options)).map(([name, value]) => `user_pref(${JSON.stringify(name)}, ${JSON.stringify(value)});`);
  fs.writeFileSync(path.join(space.profile, "user.js"), lines.join("\n") + "\n");
  if (options.trustedCa) {
    run("certutil", ["-N", "-d", `sql:${space.profile}`, "--empty-password"]);
    run("certutil", ["-A", "-d", `sql:${space.profile}`, "-n", "Vantrel Browser Test Web CA", "-t", "C,,", "-i", options.trustedCa]);
  }
}

/**
 * Firefox in a process group of its own: it outlives the process that
 * started it, so the group is ended when the test ends, however it ends.
 */
function startFirefox(space, environment) {
  const log = fs.openSync(logPath(space), "w");
  const env = testEnvironment(space, { DISPLAY: undefined, WAYLAND_DISPLAY: undefined, MOZ_CRASHREPORTER_DISABLE: "1", ...environment });
  const child = spawn(FIREFOX, ["--headless", "--marionette", "--no-remote", "--remote-allow-system-access", "--profile", space.profile], {
    detached: true,
    env,
    stdio: ["ignore", log, log],
  });
  fs.closeSync(log);
  const endGroup = () => {
    try {
      process.kill(-child.pid, "SIGKILL");
    } catch {
      // already gone
    }
  };
  const onSignal = (signal) => {
    endGroup();
    process.exit(128 + (signal === "SIGINT" ? 2 : 15));
  };
  process.on("exit", endGroup);
  process.on("SIGINT", onSignal);
  process.on("SIGTERM", onSignal);
  child.exited = new Promise((resolve) => child.once("exit", resolve));
  child.endGroup = () => {
    endGroup();
    process.off("exit", endGroup);
    process.off("SIGINT", onSignal);
    process.off("SIGTERM", onSignal);
  };
  return child;
}

async function marionettePort(space, child) {
  const file = path.join(space.profile, "MarionetteActivePort");
  let exited = false;
  child.exited.then(() => (exited = true));
  return waitFor(() => {
    if (exited) {
      throw new Error("Firefox exited while starting; its log is kept with the screenshots");
    }
    const text = fs.existsSync(file) ? fs.readFileSync(file, "utf8").trim() : "";
    return /^\d+$/.test(text) && Number(text);
  }, "Firefox's Marionette port", 90000);
}

class FirefoxSession extends BrowserSession {
  constructor(space, child, marionette) {
    super(EXTENSION_URL);
    this.space = space;
    this.child = child;
    this.marionette = marionette;
    this.queue = Promise.resolve();
    this.current = null; // the key of the page whose browsing context is current
    this.pages = new Set(); // the tabs opened here and not closed
    this.downloads = space.file("downloads");
    this.uploads = space.file("uploads");
  }

  command(name, parameters) {
    return this.marionette.command(name, parameters);
  }

  handles() {
    return this.command("WebDriver:GetWindowHandles");
  }

  /** Runs `work` with `page` current and no other page's command in between. */
  inContext(page, work) {
    const done = this.queue.then(() => this.runIn(page, work));
    this.queue = done.catch(() => {});
    return done;
  }

  async runIn(page, work) {
    for (let attempt = 1; ; attempt++) {
      try {
        await this.switchTo(page);
        return await work();
      } catch (error) {
        // A window whose document moved to another process (an extension's
        // window once its page has loaded) is found again by its handle.
        const lost = error instanceof MarionetteError && error.error === "no such window";
        if (!lost || attempt === 20 || !(await this.handles()).includes(page.handle)) {
          throw error;
        }
        this.current = null;
        await sleep(POLL_MS);
      }
    }
  }

  async switchTo(page) {
    if (this.current === page.key) {
      return;
    }
    this.current = null;
    await this.command("WebDriver:SwitchToWindow", { handle: page.handle, focus: page.focusOnSwitch });
    if (page.frameSelector) {
      const element = await this.command("WebDriver:FindElement", { using: "css selector", value: page.frameSelector });
      await this.command("WebDriver:SwitchToFrame", { id: element });
    }
    this.current = page.key;
  }

  async extensionId() {
    return this.addonId;
  }

  /** Firefox's own word for the state of the extension's background ("running", "stopped", …). */
  backgroundState() {
    return this.inChromeContext("return String(WebExtensionPolicy.getByID(arguments[0]).extension.backgroundState);", [EXTENSION_ID]);
  }

  /** The IDs of the extensions that are installed and enabled. */
  async extensionIds() {
    return this.inChromeContext("return WebExtensionPolicy.getActiveExtensions().map((policy) => policy.id);");
  }

  async inChromeContext(script, args = []) {
    return this.inContext(await this.firstPage(), async () => {
      this.current = null;
      await this.command("Marionette:SetContext", { value: "chrome" });
      try {
        return await this.command("WebDriver:ExecuteScript", { script, args });
      } finally {
        await this.command("Marionette:SetContext", { value: "content" });
      }
    });
  }

  async installExtension() {
    this.addonId = await this.command("Addon:Install", { path: path.join(SOURCE, "extension"), temporary: true });
  }

  async firstPage() {
    if (!this.first) {
      this.first = new MarionettePage(this, await this.command("WebDriver:GetWindowHandle"));
      this.pages.add(this.first);
    }
    return this.first;
  }

  async openTab() {
    const opened = await this.inContext(await this.firstPage(), () => this.command("WebDriver:NewWindow", { type: "tab" }));
    const page = new MarionettePage(this, opened.handle);
    this.pages.add(page);
    return page;
  }

  questionRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "question");
  }

  pinWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "pin");
  }

  signWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "sign");
  }

  /** Like questionRaisedBy, for the extension's certificate choice. */
  choiceWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "choice");
  }

  async windowRaisedBy(trigger, kind) {
    const page = WINDOW_PAGES[kind];
    const before = new Set(await this.handles());
    const outcome = trigger();
    const window = await waitFor(async () => {
      const opened = (await this.handles()).filter((handle) => !before.has(handle));
      return (await this.windowsIn(opened, page))[0];
    }, `a window showing ${page}`, WINDOW_WAIT_MS);
    await window.waitFor("#dialog:not([hidden])");
    return { window, outcome };
  }

  async windowsOf(kind) {
    return Promise.all((await this.windowsIn(await this.handles(), WINDOW_PAGES[kind])).map((window) => window.url()));
  }

  questionWindows() {
    return this.windowsOf("question");
  }

  pinWindows() {
    return this.windowsOf("pin");
  }

  /** The extension's windows that are open, each driven as a page. */
  async openWindows() {
    const handles = await this.handles();
    const windows = [];
    for (const page of Object.values(WINDOW_PAGES)) {
      windows.push(...(await this.windowsIn(handles, page)));
    }
    return windows;
  }

  /** The windows of `handles` that show the extension's page `page`. */
  async windowsIn(handles, page) {
    const found = [];
    for (const handle of handles) {
      // The extension's windows are driven without taking the focus to them
      // each time: they guard their buttons for a moment whenever they get it.
      const window = new MarionettePage(this, handle, null, { focusOnSwitch: false });
      // A new window shows about:blank until its page has loaded; a closing one may be gone.
      const url = await window.url().catch(() => "");
      if (url.startsWith(`${EXTENSION_URL}${page}?`)) {
        found.push(window);
      }
    }
    return found;
  }

  // Firefox reads an add-on's managed storage once in the add-on's life: a
  // new policy reaches the extension when it starts again.
  async setPolicy(values) {
    const file = managedStoragePath(this.space);
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, JSON.stringify({ name: EXTENSION_ID, description: "Vantrel browser test", type: "storage", data: values }));
    await this.restartExtension();
  }

  async clearPolicy() {
    fs.rmSync(managedStoragePath(this.space), { force: true });
    await this.restartExtension();
  }

  /**
   * Installs the extension again (its storage stays) and waits until every
   * open page has its content script. The extension's own pages close with it.
   */
  async restartExtension() {
    await this.inContext(await this.firstPage(), () => this.installExtension());
    for (const page of [...this.pages]) {
      let url;
      try {
        url = await page.url();
      } catch (error) {
        if (!(await page.isClosed())) {
          throw error;
        }
        this.pages.delete(page);
        continue;
      }
      if (/^https?:/.test(url)) {
        await waitFor(() => page.evaluate(extensionAnswers), `the extension's content script in ${url}`);
      }
    }
  }

  async close() {
    await atMost(10000, this.command("Marionette:Quit", { flags: ["eForceQuit"] }).catch(() => {}));
    this.marionette.close();
    await atMost(10000, this.child.exited);
    this.child.endGroup();
    keepLog(this.space);
  }
}

// A tab, an extension's window, or a frame in one of them.
class MarionettePage {
  constructor(session, handle, frameSelector = null, { focusOnSwitch = true } = {}) {
    this.session = session;
    this.handle = handle;
    this.frameSelector = frameSelector;
    this.focusOnSwitch = focusOnSwitch;
    this.key = `${handle} ${frameSelector || ""}`;
  }

  run(work) {
    return this.session.inContext(this, work);
  }

  command(name, parameters) {
    return this.run(() => this.session.command(name, parameters));
  }

  script(source, args = []) {
    return this.command("WebDriver:ExecuteScript", { script: source, args });
  }

  /** Runs `read(element, arg)` on the element once it is there. */
  async read(selector, read, arg) {
    const found = await this.poll(
      `const element = document.querySelector(arguments[0]); return element ? [(${read})(element, arguments[1])] : null;`,
      [selector, arg],
      `${selector} to be there`,
    );
    return found[0];
  }

  /** Runs `source` in the page until it returns something other than null or false. */
  async poll(source, args, what, timeout = WAIT_MS) {
    const deadline = Date.now() + timeout;
    for (;;) {
      const value = await this.script(source, args);
      if (value !== null && value !== false) {
        return value;
      }
      if (Date.now() > deadline) {
        throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
      }
      await sleep(POLL_MS);
    }
  }

  /** Finds the element once it is visible and enabled, and runs `work` with its reference. */
  async withElement(selector, work) {
    await this.waitForFunction(isActionable, selector);
    return this.run(async () => work(await this.session.command("WebDriver:FindElement", { using: "css selector", value: selector })));
  }

  goto(url) {
    return this.command("WebDriver:Navigate", { url });
  }

  click(selector) {
    return this.withElement(selector, (element) => this.session.command("WebDriver:ElementClick", { id: element[ELEMENT] }));
  }

  fill(selector, value) {
    return this.withElement(selector, async (element) => {
      await this.session.command("WebDriver:ElementClear", { id: element[ELEMENT] });
      if (value !== "") {
        await this.session.command("WebDriver:ElementSendKeys", { id: element[ELEMENT], text: value });
      }
    });
  }

  check(selector) {
    return this.withElement(selector, async (element) => {
      if (!(await this.session.command("WebDriver:IsElementSelected", { id: element[ELEMENT] }))) {
        await this.session.command("WebDriver:ElementClick", { id: element[ELEMENT] });
      }
    });
  }

  // Presses `values` one after the other in the current browsing context (inside a run).
  async pressKeys(values) {
    const actions = values.flatMap((value) => [{ type: "keyDown", value }, { type: "keyUp", value }]);
    await this.session.command("WebDriver:PerformActions", { actions: [{ type: "key", id: "keyboard", actions }] });
    await this.session.command("WebDriver:ReleaseActions");
  }

  keys(values) {
    return this.run(() => this.pressKeys(values));
  }

  press(key) {
    return this.keys([KEYS[key] ?? key]);
  }

  /**
   * Presses `key` in this window once its buttons take input. A key that
   * activates a button (Space) needs the window to have the focus, which
   * the window answers by guarding its buttons for a moment: so the focus is
   * taken, the guard waited for and the key pressed with no other page's
   * command in between.
   */
  pressWhenReady(key) {
    const value = KEYS[key] ?? key;
    return this.run(async () => {
      await this.session.command("WebDriver:SwitchToWindow", { handle: this.handle, focus: true });
      const deadline = Date.now() + WAIT_MS;
      const open = () => this.session.command("WebDriver:ExecuteScript", { script: 'return document.body.dataset.guard === "open";', args: [] });
      while (!(await open())) {
        if (Date.now() > deadline) {
          throw new Error(`timed out after ${WAIT_MS} ms waiting for the buttons of ${this.key} to take input`);
        }
        await sleep(POLL_MS);
      }
      await this.pressKeys([value]);
    });
  }

  type(text) {
    return this.keys([...text]);
  }

  async focus(selector) {
    await this.read(selector, (element) => element.focus());
  }

  text(selector) {
    return this.read(selector, (element) => element.textContent);
  }

  value(selector) {
    return this.read(selector, (element) => element.value);
  }

  attribute(selector, name) {
    return this.read(selector, (element, attribute) => element.getAttribute(attribute), name);
  }

  count(selector) {
    return this.script("return document.querySelectorAll(arguments[0]).length;", [selector]);
  }

  isChecked(selector) {
    return this.read(selector, (element) => element.checked);
  }

  isVisible(selector) {
    return this.script(`return (${isVisible})(arguments[0]);`, [selector]);
  }

  title() {
    return this.command("WebDriver:GetTitle");
  }

  url() {
    return this.command("WebDriver:GetCurrentURL");
  }

  waitFor(selector, timeout = WAIT_MS) {
    return this.waitForFunction(isVisible, selector, timeout);
  }

  waitForGone(selector) {
    return this.waitForFunction((s) => document.querySelector(s) === null, selector);
  }

  waitForFocus(selector) {
    return this.waitForFunction((s) => document.activeElement === document.querySelector(s), selector);
  }

  async waitForFunction(condition, arg, timeout = WAIT_MS) {
    const what = `${condition.name || "a condition"}(${JSON.stringify(arg) ?? ""}) in ${this.key}`;
    await this.poll(`return Boolean((${condition})(arguments[0]));`, [arg], what, timeout);
  }

  async evaluate(work, arg) {
    const id = `${Date.now()}-${Math.random()}`;
    await this.script(
      `const [arg, id] = arguments;
       const outcomes = (window.vantrelTestOutcomes ??= new Map());
       Promise.resolve().then(() => (${work})(arg)).then(
         (value) => outcomes.set(id, { value }),
         (error) => outcomes.set(id, { error: String((error && error.stack) || error) }));`,
      [arg, id],
    );
    for (;;) {
      const outcome = await this.script(
        "const outcome = window.vantrelTestOutcomes.get(arguments[0]); window.vantrelTestOutcomes.delete(arguments[0]); return outcome ?? null;",
        [id],
      );
      if (outcome) {
        if ("error" in outcome) {
          throw new Error(outcome.error);
        }
        return outcome.value;
      }
      await sleep(POLL_MS);
    }
  }

  async frame(selector, origin) {
    await this.waitFor(selector);
    const frame = new MarionettePage(this.session, this.handle, selector);
    await frame.waitForFunction((o) => location.origin === o, origin);
    return frame;
  }

  async setFile(selector, name, contents) {
    fs.mkdirSync(this.session.uploads, { recursive: true });
    const file = path.join(this.session.uploads, name);
    fs.writeFileSync(file, contents);
    await this.run(async () => {
      const element = await this.session.command("WebDriver:FindElement", { using: "css selector", value: selector });
      await this.session.command("WebDriver:ElementSendKeys", { id: element[ELEMENT], text: file });
    });
  }

  async download(selector) {
    const folder = this.session.downloads;
    fs.rmSync(folder, { recursive: true, force: true });
    fs.mkdirSync(folder, { recursive: true });
    await this.click(selector);
    // Firefox writes into NAME.part beside an empty NAME, then moves it onto NAME.
    const name = await waitFor(() => {
      const names = fs.readdirSync(folder);
      const done = names.length === 1 && !names[0].endsWith(".part") && fs.statSync(path.join(folder, names[0])).size > 0;
      return done && names[0];
    }, "the download");
    return { name, text: fs.readFileSync(path.join(folder, name), "utf8") };
  }

  // The window is sized so that the page gets `width` × `height`.
  async setViewport(width, height) {
    await this.run(async () => {
      let size = { width, height };
      for (let round = 0; round < 2; round++) {
        await this.session.command("WebDriver:SetWindowRect", size);
        const [innerWidth, innerHeight] = await this.session.command("WebDriver:ExecuteScript", { script: "return [innerWidth, innerHeight];", args: [] });
        size = { width: size.width + width - innerWidth, height: size.height + height - innerHeight };
      }
    });
  }

  async screenshot(name, selector) {
    const png = await this.run(async () => {
      if (!selector) {
        return this.session.command("WebDriver:TakeScreenshot", { full: true });
      }
      const element = await this.session.command("WebDriver:FindElement", { using: "css selector", value: selector });
      return this.session.command("WebDriver:TakeScreenshot", { id: element[ELEMENT], full: false });
    });
    fs.writeFileSync(artifactPath(name), Buffer.from(png, "base64"));
  }

  async close() {
    await this.run(() => this.session.command("WebDriver:CloseWindow"));
    this.session.current = null;
    this.session.pages.delete(this);
  }

  async isClosed() {
    return !(await this.session.handles()).includes(this.handle);
  }

  async accessibilityViolations() {
    if (!(await this.script('return "axe" in window;'))) {
      await this.script(axeSource);
    }
    return this.evaluate(axeViolations);
  }
}

function isVisible(selector) {
  const element = document.querySelector(selector);
  if (!element) {
    return false;
  }
  const box = element.getBoundingClientRect();
  return box.width > 0 && box.height > 0 && getComputedStyle(element).visibility !== "hidden";
}

function isActionable(selector) {
  const element = document.querySelector(selector);
  if (!element || element.disabled) {
    return false;
  }
  const box = element.getBoundingClientRect();
  return box.width > 0 && box.height > 0 && getComputedStyle(element).visibility !== "hidden";
}

// Resolves with whether the extension's content script answered the page's greeting.
function extensionAnswers() {
  return new Promise((resolve) => {
    const heard = (event) => {
      if (event.source === window && event.data && event.data.source === "vantrel-extension" && event.data.type === "ready") {
        resolve(true);
      }
    };
    window.addEventListener("message", heard);
    window.postMessage({ source: "vantrel-page", type: "hello" }, location.origin);
    setTimeout(() => {
      window.removeEventListener("message", heard);
      resolve(false);
    }, 500);
  });
}

export const driver = {
  name: "Firefox",
  extensionId: EXTENSION_ID,
  // Firefox says the same when the host is not registered as when this
  // add-on is not among its allowed extensions, only its general words when
  // the host's program may not be run; a host that stops gives no text, and
  // the extension says it in its own words.
  hostMissing: "No such native application org.vantrel.host",
  hostNotListing: "No such native application org.vantrel.host",
  hostNotRunnable: "An unexpected error occurred",
  hostGone: /^The Vantrel host closed the connection\.$/,
  policyAppliesLive: false,
  backgroundIdleMs: BACKGROUND_IDLE_MS,

  /** Registers the host for the workspace's HOME; returns the manifest's path. */
  register(space) {
    fs.mkdirSync(space.home, { recursive: true });
    run("python3", [path.join(SOURCE, "tools", "vantrel-register"), "--host", space.hostPath, "--browser", "firefox"], {
      env: testEnvironment(space),
    });
    return manifestPath(space);
  },

  hostArguments(space) {
    return [manifestPath(space), EXTENSION_ID];
  },

  policyUnavailable() {
    return false;
  },

  async launch(space, { environment = {}, siteNames = [], trustedCa } = {}) {
    return startSession(space, { environment, siteNames, trustedCa }, (session) => session.installExtension());
  },

  /**
   * Firefox on the workspace's profile (a new one, or the one of an earlier
   * launch) with no add-on of its own: the machine's policy installs the
   * packaged extension (`packaged`, its extension.json). Resolves once that
   * is installed, or at once when `installed` is false.
   */
  /** The packaged extension's ID here, from its extension.json. */
  packagedId: (packaged) => packaged.firefox.id,

  async launchWithMachinePolicy(space, packaged, { installed = true } = {}) {
    return startSession(space, { unsignedAddons: true }, async (session) => {
      session.addonId = driver.packagedId(packaged);
      if (installed) {
        await waitFor(async () => (await session.extensionIds()).includes(session.addonId), "the policy to install the add-on", 60000);
      }
    });
  },
};

async function startSession(space, { environment = {}, siteNames = [], trustedCa, unsignedAddons }, prepare) {
  writeProfile(space, { siteNames, trustedCa, unsignedAddons, downloads: space.file("downloads"), closedPort: await closedPort() });
  const child = startFirefox(space, environment);
  let session;
  try {
    const marionette = await Marionette.connect(await marionettePort(space, child));
    session = new FirefoxSession(space, child, marionette);
    await session.command("WebDriver:NewSession", {});
    await session.command("WebDriver:SetTimeouts", { implicit: 0, pageLoad: 60000, script: 60000 });
    await prepare(session);
    const page = await session.firstPage();
    await page.setViewport(1100, 900);
  } catch (error) {
    child.endGroup();
    keepLog(space);
    throw error;
  }
  return session;
}
