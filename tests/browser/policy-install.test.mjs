// The Debian package as an administrator installs it, on this machine: its
// policy has a browser with a new profile (and no extension given on its
// command line) install the packaged extension from the package's files; the
// token console opens as a page of that extension, lists the tokens, signs
// and checks the signature, through the host the package registered (which
// reaches the test's SoftHSM2 token through p11-kit's proxy module, as the
// package configures it). Removing the package takes the extension away.
//
// The package is installed for real (dpkg -i, as root) and purged again on
// every way out of this file. It writes policies and host manifests that every
// browser on the machine reads: this file holds both browsers' machine locks
// while it runs. It is skipped where it may not run: without root, or where a
// Vantrel package is installed already (never touched).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import {
  BUILD,
  SOFTHSM,
  asRoot,
  enrolled,
  holdMachineLock,
  installHost,
  makeCa,
  makeToken,
  makeWorkspace,
  run,
  withClient,
} from "./support/environment.mjs";
import { answer, browserDriver, clickWhenReady } from "./support/browser.mjs";

const TOKEN_LABEL = "Vantrel package test";
const USER_PIN = "pin-8642";
const SERIAL = "00bada55e1";
const SUBJECT = "/CN=Package User";
const STEP = { timeout: 240000 };
// Names the test process that installed the package, so that a later run can
// purge a package that a killed run left installed (and no other).
const INSTALLED_BY_TEST = "/run/vantrel-policy-install-test.pid";

const browser = await browserDriver();
const space = makeWorkspace("policy-install");
const packaged = JSON.parse(fs.readFileSync(path.join(BUILD, "extension-packages", "extension.json"), "utf8"));

function isInstalled() {
  try {
    return /^install ok installed$/m.test(run("dpkg-query", ["-W", "-f", "${Status}\n", "vantrel"]));
  } catch {
    return false;
  }
}

function purge() {
  if (fs.existsSync(INSTALLED_BY_TEST)) {
    asRoot("dpkg", ["-P", "vantrel"]);
    asRoot("rm", ["-f", INSTALLED_BY_TEST]);
  }
}

function purgeOnSignal(signal) {
  process.on(signal, () => {
    purge();
    process.exit(1);
  });
}

/** Why this test cannot run here, or false; purges what a killed run of it left. */
function unavailable() {
  try {
    asRoot("true", []);
  } catch {
    return "installing the package needs root or password-less sudo";
  }
  if (fs.existsSync(INSTALLED_BY_TEST) && !fs.existsSync(`/proc/${fs.readFileSync(INSTALLED_BY_TEST, "utf8").trim()}`)) {
    purge();
  }
  return isInstalled() ? "a Vantrel package is installed on this machine: the test leaves it alone" : false;
}

let skip;
let session;
let tokenSN;

before(async () => {
  await holdMachineLock("chromium");
  await holdMachineLock("firefox");
  skip = unavailable();
  if (skip) {
    return;
  }
  // The token holds a certificate with its key before the browser sees it.
  makeToken(space, { label: TOKEN_LABEL, soPin: "so-pin-7531", userPin: USER_PIN });
  installHost(space, SOFTHSM);
  const ca = makeCa(space.file("ca"), "Vantrel Package Test CA");
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((token) => token.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    await enrolled(send, ca, { serial: SERIAL, subject: SUBJECT });
  });
  run("cpack", ["-G", "DEB", "-B", space.file("package")], { cwd: BUILD });
  const debFile = fs.readdirSync(space.file("package")).find((name) => /^vantrel_.*\.deb$/.test(name));
  for (const signal of ["SIGINT", "SIGTERM", "SIGHUP"]) {
    purgeOnSignal(signal);
  }
  asRoot("tee", [INSTALLED_BY_TEST], String(process.pid));
  asRoot("dpkg", ["-i", path.join(space.file("package"), debFile)]);
}, { timeout: 600000 });

after(async () => {
  await session?.close().catch(() => {});
  purge();
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 120000 });

test("the package's policy installs the extension for a new profile; its console lists the tokens, signs and checks the signature", STEP, async (t) => {
  if (skip) {
    t.skip(skip);
    return;
  }
  session = await browser.launchWithMachinePolicy(space, packaged);
  t.after(async () => {
    await session?.close();
    session = null;
  });
  const page = await session.newPage(`${session.extensionUrl}console/index.html`);
  await page.waitFor("#status.good");
  assert.match(await page.text("#status"), /^Extension found; Vantrel host 1\.4, token driver p11-kit-proxy\.so\.$/);
  await page.click("#list-tokens");
  const token = `#tokens tr[data-token-sn="${tokenSN}"]`;
  await page.waitFor(token);
  await page.check(`${token} input`);
  await page.check("#pin-in-page");
  await page.fill("#pin", USER_PIN);
  await page.click("#login");
  await page.waitFor("body:not([data-busy])");
  assert.match(await page.text("#login-state"), new RegExp(`^Logged in to “${TOKEN_LABEL}”`));
  await page.click("#list-certificates");
  const certificate = `#certificates tr[data-serial-number="${SERIAL}"]`;
  await page.waitFor(certificate);
  await page.check(`${certificate} input`);
  const text = "Installed by the administrator's policy.";
  await page.fill("#payload", text);
  const { window } = await session.signWindowRaisedBy(() => page.click("#sign"));
  assert.equal(await window.text("#text"), text);
  await answer(window, () => clickWhenReady(window, "#submit"));
  await page.waitFor("#verification[data-state]");
  assert.equal(await page.attribute("#verification", "data-state"), "valid");
  await page.screenshot("policy-installed-console.png");
});

test("removing the package takes the extension out of the browser", STEP, async (t) => {
  if (skip) {
    t.skip(skip);
    return;
  }
  asRoot("dpkg", ["-r", "vantrel"]);
  session = await browser.launchWithMachinePolicy(space, packaged, { installed: false });
  const gone = async () => !(await session.extensionIds()).includes(browser.packagedId(packaged));
  let removed = false;
  for (const deadline = Date.now() + 60000; !removed && Date.now() < deadline; ) {
    removed = await gone();
    await new Promise((resolve) => setTimeout(resolve, 500));
  }
  assert.ok(removed, "the extension is still installed after the package was removed");
});
