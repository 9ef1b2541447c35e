// Headless Chromium with the sample extension, through Playwright: what the
// browser tests need of a browser (see browser.mjs) done the Chromium way.
import fs from "node:fs";
import path from "node:path";
import { isDeepStrictEqual } from "node:util";
import { chromium } from "playwright-core";
import { SOURCE, asRoot, holdMachineLock, run, testEnvironment, waitFor } from "./environment.mjs";
import { BrowserSession, PlaywrightPage, WAIT_MS, WINDOW_PAGES, WINDOW_SIZES, WINDOW_WAIT_MS } from "./page-driver.mjs";

export const CHROMIUM = process.env.VANTREL_CHROMIUM || "/usr/bin/chromium";
const EXTENSION_ID = "dimbhkphloanhhcpkcakgkgdcooempmh";
const EXTENSION_URL = `chrome-extension://${EXTENSION_ID}/`;

// Chromium reads an extension's managed storage from the machine's policy
// folder: writing there needs root, and a file there applies to every
// Chromium on the machine while it is there.
const POLICY_DIR = "/etc/chromium/policies/managed";

// Every Chromium on the machine reads the policy folder and the system-wide
// host manifests: runs of other checkouts take turns (see holdMachineLock).
await holdMachineLock("chromium");

/** Chromium trusts the CA for HTTPS through the NSS database in its HOME. */
function trustCa(space, caPem) {
  const nssdb = path.join(space.home, ".pki", "nssdb");
  fs.mkdirSync(nssdb, { recursive: true });
  run("certutil", ["-N", "-d", `sql:${nssdb}`, "--empty-password"]);
  run("certutil", ["-A", "-d", `sql:${nssdb}`, "-n", "Vantrel Browser Test Web CA", "-t", "C,,", "-i", caPem]);
}

const POLICY_FILE_PREFIX = "vantrel-browser-test-";

/**
 * Removes the policy files of earlier runs that were stopped before they could
 * clean up (their process is gone): Chromium merges every file of the folder,
 * so one left behind would change every later run's policy.
 */
function removeLeftoverPolicyFiles() {
  const leftovers = (fs.existsSync(POLICY_DIR) ? fs.readdirSync(POLICY_DIR) : []).filter((name) => {
    const owner = name.match(new RegExp(`^${POLICY_FILE_PREFIX}(\\d+)\\.json$`));
    return owner && !fs.existsSync(`/proc/${owner[1]}`);
  });
  if (leftovers.length > 0) {
    asRoot("rm", ["-f", ...leftovers.map((name) => path.join(POLICY_DIR, name))]);
  }
}

class ChromiumSession extends BrowserSession {
  constructor(context, extensionUrl = EXTENSION_URL) {
    super(extensionUrl);
    this.context = context;
    this.policyFile = path.join(POLICY_DIR, `${POLICY_FILE_PREFIX}${process.pid}.json`);
    // The folders made for the policy file, deepest first.
    this.policyFoldersMade = [];
  }

  /** The ID the browser gave the extension. */
  async extensionId() {
    const worker = this.context.serviceWorkers()[0] || (await this.context.waitForEvent("serviceworker"));
    return new URL(worker.url()).host;
  }

  /** The IDs of the extensions that are installed and enabled, as chrome://extensions-internals lists them. */
  async extensionIds() {
    const internals = await this.context.newPage();
    try {
      await internals.goto("chrome://extensions-internals");
      const listed = JSON.parse(await internals.locator("body").innerText());
      return listed.filter((extension) => extension.disable_reasons.length === 0 && extension.location !== "COMPONENT").map((extension) => extension.id);
    } finally {
      await internals.close();
    }
  }

  /** The tab the browser opened with. */
  async firstPage() {
    return new PlaywrightPage(this.context.pages()[0] || (await this.context.newPage()));
  }

  async openTab() {
    return new PlaywrightPage(await this.context.newPage());
  }

  /**
   * Starts `trigger` and resolves with the window of the extension's question it
   * raised (the next page to open) and what `trigger` resolves with.
   */
  questionRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "question");
  }

  /** Like questionRaisedBy, for the extension's PIN window. */
  pinWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "pin");
  }

  /** Like questionRaisedBy, for the extension's sign window. */
  signWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "sign");
  }

  /** Like questionRaisedBy, for the extension's certificate choice. */
  choiceWindowRaisedBy(trigger) {
    return this.windowRaisedBy(trigger, "choice");
  }

  async windowRaisedBy(trigger, kind) {
    const opened = this.context.waitForEvent("page", { timeout: WINDOW_WAIT_MS });
    const outcome = trigger();
    const window = await opened;
    await window.waitForURL((url) => url.href.startsWith(`${this.extensionUrl}${WINDOW_PAGES[kind]}?`), { timeout: WAIT_MS });
    await window.locator("#dialog:not([hidden])").waitFor();
    await window.setViewportSize(WINDOW_SIZES[kind]);
    return { window: new PlaywrightPage(window), outcome };
  }

  /** The addresses of the extension's windows of `kind` ("question", "pin", "sign") that are open. */
  async windowsOf(kind) {
    return this.context.pages().map((p) => p.url()).filter((url) => url.startsWith(`${this.extensionUrl}${WINDOW_PAGES[kind]}`));
  }

  questionWindows() {
    return this.windowsOf("question");
  }

  /** The extension's windows that are open, each driven as a page. */
  async openWindows() {
    const pages = Object.values(WINDOW_PAGES).map((page) => `${EXTENSION_URL}${page}?`);
    return this.context
      .pages()
      .filter((p) => pages.some((page) => p.url().startsWith(page)))
      .map((p) => new PlaywrightPage(p));
  }

  pinWindows() {
    return this.windowsOf("pin");
  }

  /** Sets the administrator's policy and waits until the extension sees it. */
  async setPolicy(values) {
    this.writePolicyFile({ "3rdparty": { extensions: { [EXTENSION_ID]: values } } });
    await this.reloadPoliciesUntil(async () => isDeepStrictEqual(await this.managedSettings(), values), "the policy to reach the extension");
  }

  /** Writes this test's policy file, which every Chromium on the machine reads. */
  writePolicyFile(policy) {
    for (let folder = POLICY_DIR; !fs.existsSync(folder); folder = path.dirname(folder)) {
      this.policyFoldersMade.push(folder);
    }
    asRoot("mkdir", ["-p", POLICY_DIR]);
    asRoot("tee", [this.policyFile], JSON.stringify(policy));
    asRoot("chmod", ["0644", this.policyFile]);
  }

  async clearPolicy() {
    this.removePolicyFiles();
    await this.reloadPoliciesUntil(async () => Object.keys(await this.managedSettings()).length === 0, "the policy to be gone");
  }

  // Chromium puts off loading a policy folder changed in the last few seconds
  // (it waits for the files to settle) and then only reloads on its own
  // schedule: the folder's times are set back so that it counts as settled,
  // and the reload is asked for again while waiting, for a busy machine.
  async reloadPoliciesUntil(check, what) {
    const settled = `@${Math.floor(Date.now() / 1000) - 60}`;
    asRoot("touch", ["-c", "-d", settled, POLICY_DIR, this.policyFile]);
    const policies = await this.context.newPage();
    await policies.goto("chrome://policy");
    let lastReload = 0;
    try {
      await waitFor(
        async () => {
          if (Date.now() - lastReload > 3000) {
            lastReload = Date.now();
            await policies.locator("#reload-policies").click();
          }
          return check();
        },
        what,
        30000,
      );
    } catch (error) {
      const files = fs.existsSync(POLICY_DIR) ? fs.readdirSync(POLICY_DIR).join(", ") || "none" : "none";
      error.message += ` (the extension sees ${JSON.stringify(await this.managedSettings())}; policy files: ${files})`;
      throw error;
    }
    await policies.close();
  }

  managedSettings() {
    return this.context.serviceWorkers()[0].evaluate(() => chrome.storage.managed.get());
  }

  removePolicyFiles() {
    asRoot("rm", ["-f", this.policyFile]);
    for (const folder of this.policyFoldersMade.splice(0)) {
      asRoot("rmdir", ["--ignore-fail-on-non-empty", folder]);
    }
  }

  async close() {
    if (this.policyFoldersMade.length > 0 || fs.existsSync(this.policyFile)) {
      this.removePolicyFiles();
    }
    await this.context.close();
  }
}

const HOST_GONE = /^(Native host has exited\.|Error when communicating with the native messaging host\.)$/;

export const driver = {
  name: "Chromium",
  extensionId: EXTENSION_ID,
  // What the page hears from Chromium when the host is not registered, when
  // its registration does not list the extension, when its program may not be
  // run (Chromium takes that for a host that stopped), and when it stopped:
  // Chromium says which side noticed first, the host's exit or a write into
  // the pipe the host had already closed.
  hostMissing: "Specified native messaging host not found.",
  hostNotListing: "Access to the specified native messaging host is forbidden.",
  hostNotRunnable: HOST_GONE,
  hostGone: HOST_GONE,
  // A policy file written while Chromium runs applies to the running extension.
  policyAppliesLive: true,
  // Chromium stops an extension's service worker 30 s after its last event,
  // but not while Playwright is attached to it, as it is here.
  backgroundIdleMs: null,

  /** Registers the host for the workspace's profile; returns the manifest's path. */
  register(space) {
    fs.mkdirSync(space.profile, { recursive: true });
    fs.mkdirSync(space.home, { recursive: true });
    run("python3", [path.join(SOURCE, "tools", "vantrel-register"), "--host", space.hostPath, "--user-data-dir", space.profile], {
      env: testEnvironment(space),
    });
    return path.join(space.profile, "NativeMessagingHosts", "org.vantrel.host.json");
  },

  /** What a host started by this browser finds after its own path on its command line. */
  hostArguments() {
    return [EXTENSION_URL];
  },

  /** Why an administrator's policy cannot be set here, or false. */
  policyUnavailable() {
    try {
      asRoot("true", []);
      return false;
    } catch {
      return "writing Chromium's policy folder needs root or password-less sudo";
    }
  },

  /**
   * Chromium on the workspace's profile (a new one, or the one of an earlier
   * launch) with no extension of its own: the machine's policy installs the
   * packaged extension (`packaged`, its extension.json). Resolves once that
   * is installed, or at once when `installed` is false.
   */
  /** The packaged extension's ID here, from its extension.json. */
  packagedId: (packaged) => packaged.chromium.id,

  async launchWithMachinePolicy(space, packaged, { installed = true } = {}) {
    removeLeftoverPolicyFiles();
    const session = new ChromiumSession(null, `chrome-extension://${driver.packagedId(packaged)}/`);
    // Chromium keeps DevTools, and so Playwright, away from the pages of
    // extensions installed by policy, unless a policy allows it: this one does,
    // beside the machine's.
    session.writePolicyFile({ DeveloperToolsAvailability: 1 });
    try {
      session.context = await chromium.launchPersistentContext(space.profile, {
        executablePath: CHROMIUM,
        headless: true,
        env: testEnvironment(space),
        // Playwright's defaults turn extensions off, and with them the policy's.
        ignoreDefaultArgs: ["--disable-extensions", "--disable-background-networking"],
        args: ["--no-sandbox", "--disable-gpu", "--disable-component-update", "--disable-sync", "--no-first-run"],
        viewport: { width: 1100, height: 900 },
      });
      if (installed) {
        await waitFor(async () => (await session.extensionIds()).includes(driver.packagedId(packaged)), "the policy to install the extension", 60000);
      }
    } catch (error) {
      session.removePolicyFiles();
      await session.context?.close();
      throw error;
    }
    return session;
  },

  /**
   * Chromium on the workspace's profile, the extension loaded and its service
   * worker up. `siteNames` are resolved to 127.0.0.1 and every other name to
   * nothing; `trustedCa` is the PEM file of a CA trusted for HTTPS.
   */
  async launch(space, { environment = {}, siteNames = [], trustedCa } = {}) {
    if (trustedCa) {
      trustCa(space, trustedCa);
    }
    if (!driver.policyUnavailable()) {
      removeLeftoverPolicyFiles();
    }
    const extension = path.join(SOURCE, "extension");
    const resolving = siteNames.map((name) => `MAP ${name} 127.0.0.1`);
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
        ...(siteNames.length > 0
          ? [`--host-resolver-rules=${[...resolving, "MAP * ~NOTFOUND", "EXCLUDE 127.0.0.1", "EXCLUDE localhost"].join(", ")}`]
          : []),
      ],
      viewport: { width: 1100, height: 900 },
    });
    // A page looks for the extension once it loads: have the extension up first.
    if (context.serviceWorkers().length === 0) {
      await context.waitForEvent("serviceworker");
    }
    return new ChromiumSession(context);
  },
};
