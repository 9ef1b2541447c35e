// Headless Chromium with the sample extension, through Playwright: what the
// browser tests need of a browser (see browser.mjs) done the Chromium way.
import fs from "node:fs";
import path from "node:path";
import { isDeepStrictEqual } from "node:util";
import { chromium } from "playwright-core";
import { SOURCE, run, testEnvironment, waitFor } from "./environment.mjs";
import { BrowserSession, PlaywrightPage } from "./page-driver.mjs";

export const CHROMIUM = process.env.VANTREL_CHROMIUM || "/usr/bin/chromium";
const EXTENSION_ID = "dimbhkphloanhhcpkcakgkgdcooempmh";
const EXTENSION_URL = `chrome-extension://${EXTENSION_ID}/`;

// Chromium reads an extension's managed storage from the machine's policy
// folder: writing there needs root, and a file there applies to every
// Chromium on the machine while it is there.
const POLICY_DIR = "/etc/chromium/policies/managed";

function asRoot(command, args, input) {
  const [program, ...rest] = process.getuid() === 0 ? [command, ...args] : ["sudo", "-n", command, ...args];
  return run(program, rest, { input });
}

/** Chromium trusts the CA for HTTPS through the NSS database in its HOME. */
function trustCa(space, caPem) {
  const nssdb = path.join(space.home, ".pki", "nssdb");
  fs.mkdirSync(nssdb, { recursive: true });
  run("certutil", ["-N", "-d", `sql:${nssdb}`, "--empty-password"]);
  run("certutil", ["-A", "-d", `sql:${nssdb}`, "-n", "Vantrel Browser Test Web CA", "-t", "C,,", "-i", caPem]);
}

class ChromiumSession extends BrowserSession {
  constructor(context) {
    super(EXTENSION_URL);
    this.context = context;
    this.policyFile = path.join(POLICY_DIR, `vantrel-browser-test-${process.pid}.json`);
    // The folders made for the policy file, deepest first.
    this.policyFoldersMade = [];
  }

  /** The ID the browser gave the extension. */
  async extensionId() {
    const worker = this.context.serviceWorkers()[0] || (await this.context.waitForEvent("serviceworker"));
    return new URL(worker.url()).host;
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
  async questionRaisedBy(trigger) {
    const opened = this.context.waitForEvent("page", { timeout: 15000 });
    const outcome = trigger();
    const window = await opened;
    await window.waitForURL(/\/ask\.html\?/, { timeout: 5000 });
    await window.locator("#dialog:not([hidden])").waitFor();
    await window.setViewportSize({ width: 520, height: 360 });
    return { window: new PlaywrightPage(window), outcome };
  }

  /** The addresses of the extension's question windows that are open. */
  async questionWindows() {
    return this.context.pages().map((page) => page.url()).filter((url) => url.startsWith(`${EXTENSION_URL}ask.html`));
  }

  /** Sets the administrator's policy and waits until the extension sees it. */
  async setPolicy(values) {
    for (let folder = POLICY_DIR; !fs.existsSync(folder); folder = path.dirname(folder)) {
      this.policyFoldersMade.push(folder);
    }
    asRoot("mkdir", ["-p", POLICY_DIR]);
    const policy = { "3rdparty": { extensions: { [EXTENSION_ID]: values } } };
    asRoot("tee", [this.policyFile], JSON.stringify(policy));
    asRoot("chmod", ["0644", this.policyFile]);
    await this.reloadPoliciesUntil(async () => isDeepStrictEqual(await this.managedSettings(), values), "the policy to reach the extension");
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
   * Chromium on the workspace's profile, the extension loaded and its service
   * worker up. `siteNames` are resolved to 127.0.0.1 and every other name to
   * nothing; `trustedCa` is the PEM file of a CA trusted for HTTPS.
   */
  async launch(space, { environment = {}, siteNames = [], trustedCa } = {}) {
    if (trustedCa) {
      trustCa(space, trustedCa);
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
