// The sample extension and the demo page in a real, headless Chromium, talking
// to the built host, which works on a SoftHSM2 token of this test's own through
// a module that can be made to hang (hang_module.c). The page is served over
// HTTP on 127.0.0.1 and localhost, and over HTTPS, with a certificate from a
// test CA, as test.example and admin.example (both mapped to 127.0.0.1).
//
// Environment: VANTREL_SOURCE_DIR (the checkout), VANTREL_BUILD_DIR (holds
// vantrel and vantrel-client), VANTREL_HANG_MODULE (the built hang module),
// VANTREL_ARTIFACTS_DIR (screenshots go there), VANTREL_SCRATCH_DIR (where the
// temporary folder goes).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import https from "node:https";
import os from "node:os";
import path from "node:path";
import readline from "node:readline";
import { isDeepStrictEqual } from "node:util";
import { chromium } from "playwright-core";

const SOURCE = path.resolve(process.env.VANTREL_SOURCE_DIR || path.join(import.meta.dirname, "..", ".."));
const BUILD = path.resolve(process.env.VANTREL_BUILD_DIR || path.join(SOURCE, "build"));
const ARTIFACTS = path.resolve(process.env.VANTREL_ARTIFACTS_DIR || path.join(BUILD, "artifacts"));
const HANG_MODULE = path.resolve(process.env.VANTREL_HANG_MODULE || path.join(BUILD, "browser-test", "libvantrel_hang.so"));
const CHROMIUM = process.env.VANTREL_CHROMIUM || "/usr/bin/chromium";
const SOFTHSM = process.env.VANTREL_SOFTHSM_MODULE || "/usr/lib/softhsm/libsofthsm2.so";

const EXTENSION_ID = "dimbhkphloanhhcpkcakgkgdcooempmh";
const EXTENSION_URL = `chrome-extension://${EXTENSION_ID}/`;
const TOKEN_LABEL = "Vantrel browser test";
const USER_PIN = "pin-4815";
const WRONG_PIN = "wrong-pin-2342";
const CERTIFICATE_SERIAL = "00c0ffee5a17"; // the leading 00 keeps the INTEGER positive
// The module call that never returns in the browser's hosts (key generation).
const HANGING_FUNCTION = "C_GenerateKeyPair";

// A relay that never answers must fail the test, not hang it.
const STEP = { timeout: 45000 };

const work = fs.mkdtempSync(path.join(process.env.VANTREL_SCRATCH_DIR || os.tmpdir(), "vantrel-browser-"));
const hostDir = path.join(work, "host");
const hostPath = path.join(hostDir, "vantrel");
const softhsmConf = path.join(work, "softhsm2.conf");
const logDir = path.join(work, "logs");
const profile = path.join(work, "profile");
const home = path.join(work, "home");

const POLICY_DIR = "/etc/chromium/policies/managed";
const policyFile = path.join(POLICY_DIR, `vantrel-browser-test-${process.pid}.json`);
// The folders this test made for its policy file, deepest first.
const policyFoldersMade = [];

let tokenSN;
let certificatePem;
const servers = [];
let context;
let page;
// The page's addresses: two development origins, one plain HTTP origin that
// is not a development one, and two HTTPS origins.
const site = {};

function run(command, args, options = {}) {
  return execFileSync(command, args, { encoding: "utf8", stdio: ["pipe", "pipe", "pipe"], ...options });
}

// The environment of everything this test starts: only our own token is reachable.
function testEnvironment() {
  const environment = { ...process.env, HOME: home, SOFTHSM2_CONF: softhsmConf, VANTREL_HANG_TARGET: SOFTHSM };
  delete environment.XDG_CONFIG_HOME;
  delete environment.CHROME_CONFIG_HOME;
  delete environment.VANTREL_HANG_FUNCTION;
  return environment;
}

function makeToken() {
  fs.mkdirSync(path.join(work, "tokens"));
  fs.writeFileSync(softhsmConf, `directories.tokendir = ${work}/tokens\nobjectstore.backend = file\nlog.level = ERROR\n`);
  run("softhsm2-util", ["--init-token", "--free", "--label", TOKEN_LABEL, "--so-pin", "12345678", "--pin", USER_PIN], {
    env: testEnvironment(),
  });
}

function installHost() {
  fs.mkdirSync(hostDir);
  fs.mkdirSync(logDir);
  fs.copyFileSync(path.join(BUILD, "vantrel"), hostPath);
  fs.chmodSync(hostPath, 0o755);
  fs.writeFileSync(path.join(hostDir, "vantrel.cfg"), `pkcs11Library=${HANG_MODULE}\nlogDir=${logDir}\nmaxLogFiles=400\n`);
}
// Talks to the host through vantrel-client, one request per line, one reply per line.
async function withClient(work) {
  const client = spawn(path.join(BUILD, "vantrel-client"), ["--host", hostPath], {
    env: testEnvironment(),
    stdio: ["pipe", "pipe", "inherit"],
  });
  const lines = readline.createInterface({ input: client.stdout })[Symbol.asyncIterator]();
  const send = async (request) => {
    client.stdin.write(JSON.stringify(request) + "\n");
    const { value, done } = await lines.next();
    assert.ok(!done, `the host stopped on ${request.action}`);
    return JSON.parse(value);
  };
  try {
    return await work(send);
  } finally {
    client.stdin.end();
    await new Promise((resolve) => client.on("close", resolve));
  }
}

// An RSA key pair made on the token by the host, and a certificate for it from a test CA.
async function enrol() {
  const ca = path.join(work, "ca");
  fs.mkdirSync(ca);
  await withClient(async (send) => {
    const tokens = (await send({ action: "listTokens" })).tokens;
    const token = tokens.find((t) => t.tokenLabel === TOKEN_LABEL);
    assert.ok(token, `no token labelled ${TOKEN_LABEL}: ${JSON.stringify(tokens)}`);
    tokenSN = token.tokenSN;
    const login = await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" });
    assert.equal(login.error, undefined, JSON.stringify(login));
    const keys = await send({ action: "generateKeys", tokenSN, result: "csr" });
    assert.ok(keys.csr, JSON.stringify(keys));
    fs.writeFileSync(path.join(ca, "request.der"), Buffer.from(keys.csr, "base64"));
    run("openssl", ["req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path.join(ca, "ca.key"),
      "-out", path.join(ca, "ca.pem"), "-subj", "/CN=Vantrel Browser Test CA", "-days", "2"]);
    run("openssl", ["req", "-in", path.join(ca, "request.der"), "-inform", "DER", "-out", path.join(ca, "request.pem")]);
    run("openssl", ["x509", "-req", "-in", path.join(ca, "request.pem"), "-CA", path.join(ca, "ca.pem"),
      "-CAkey", path.join(ca, "ca.key"), "-set_serial", "0x" + CERTIFICATE_SERIAL, "-days", "2",
      "-out", path.join(ca, "user.pem")]);
    certificatePem = path.join(ca, "user.pem");
    const der = run("openssl", ["x509", "-in", certificatePem, "-outform", "DER"], { encoding: "buffer" });
    const imported = await send({ action: "importCertificate", certificate: der.toString("base64") });
    assert.equal(imported.error, undefined, JSON.stringify(imported));
  });
}

function register() {
  fs.mkdirSync(profile);
  fs.mkdirSync(home);
  run("python3", [path.join(SOURCE, "tools", "vantrel-register"), "--host", hostPath, "--user-data-dir", profile], {
    env: testEnvironment(),
  });
}


// A certificate for test.example and admin.example from a CA of the test's
// own, which the browser trusts through the NSS database in its HOME.
function makeWebCertificate() {
  const tls = path.join(work, "tls");
  fs.mkdirSync(tls);
  const file = (name) => path.join(tls, name);
  run("openssl", ["req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
    "-keyout", file("ca.key"), "-out", file("ca.pem"), "-subj", "/CN=Vantrel Browser Test Web CA", "-days", "2",
    "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign"]);
  run("openssl", ["req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
    "-keyout", file("server.key"), "-out", file("server.csr"), "-subj", "/CN=test.example"]);
  fs.writeFileSync(file("server.ext"),
    "subjectAltName=DNS:test.example,DNS:admin.example\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n");
  run("openssl", ["x509", "-req", "-in", file("server.csr"), "-CA", file("ca.pem"), "-CAkey", file("ca.key"),
    "-CAcreateserial", "-days", "2", "-extfile", file("server.ext"), "-out", file("server.pem")]);
  const nssdb = path.join(home, ".pki", "nssdb");
  fs.mkdirSync(nssdb, { recursive: true });
  run("certutil", ["-N", "-d", `sql:${nssdb}`, "--empty-password"]);
  run("certutil", ["-A", "-d", `sql:${nssdb}`, "-n", "Vantrel Browser Test Web CA", "-t", "C,,", "-i", file("ca.pem")]);
  return { key: fs.readFileSync(file("server.key")), cert: fs.readFileSync(file("server.pem")) };
}

const CONTENT_TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css" };

// Serves the demo page's folder; resolves with the port once listening.
function serveWeb(create) {
  const root = path.join(SOURCE, "web");
  const server = create((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://any").pathname);
    const file = path.join(root, name === "/" ? "index.html" : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": CONTENT_TYPES[path.extname(file)] || "application/octet-stream" });
    response.end(fs.readFileSync(file));
  });
  servers.push(server);
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(0, "127.0.0.1", () => resolve(server.address().port));
  });
}

async function serveSites() {
  const tls = makeWebCertificate();
  const [first, second, secure] = await Promise.all([
    serveWeb(http.createServer),
    serveWeb(http.createServer),
    serveWeb((handler) => https.createServer(tls, handler)),
  ]);
  Object.assign(site, {
    first: `http://127.0.0.1:${first}`,
    second: `http://localhost:${second}`,
    plainHttp: `http://test.example:${first}`,
    secure: `https://test.example:${secure}`,
    admin: `https://admin.example:${secure}`,
  });
}

// The processes running our copy of the host, with their environment and arguments.
function hostProcesses() {
  const found = [];
  for (const entry of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) {
      continue;
    }
    try {
      if (fs.readlinkSync(`/proc/${entry}/exe`) !== hostPath) {
        continue;
      }
      const environ = fs.readFileSync(`/proc/${entry}/environ`, "utf8").split("\0");
      const args = fs.readFileSync(`/proc/${entry}/cmdline`, "utf8").split("\0").filter(Boolean);
      found.push({ pid: Number(entry), environ, args });
    } catch {
      // gone meanwhile
    }
  }
  return found;
}

function hostPids() {
  return new Set(hostProcesses().map((p) => p.pid));
}

function isRunning(pid) {
  return hostPids().has(pid);
}

async function waitFor(check, what, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) {
      return value;
    }
    assert.ok(Date.now() < deadline, `timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// The one host process that started while `work` ran.
async function hostStartedBy(work) {
  const before = hostPids();
  await work();
  const started = [...hostPids()].filter((pid) => !before.has(pid));
  assert.equal(started.length, 1, `host processes started: ${started.join(", ")}`);
  return started[0];
}

// Of a page (all of it) or of one element.
async function screenshot(target, name) {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  await target.screenshot({ path: path.join(ARTIFACTS, name), ...("goto" in target ? { fullPage: true } : {}) });
}

async function openPage(url) {
  const opened = await context.newPage();
  await opened.goto(url);
  return opened;
}

// The outcome of one request from a page or frame: { reply } or { error }.
function ask(target, request) {
  return target.evaluate(async (message) => {
    try {
      return { reply: await Vantrel.request(message) };
    } catch (error) {
      return { error: { name: error.name, message: error.message, reason: error.reason } };
    }
  }, request);
}

async function login(target, mode) {
  const outcome = await ask(target, { action: "login", tokenSN, pin: USER_PIN, mode });
  assert.equal(outcome.reply && outcome.reply.error, undefined, JSON.stringify(outcome));
}

async function signs(target) {
  const outcome = await ask(target, { action: "sign", certificateSN: `0206${CERTIFICATE_SERIAL}`, payload: "I owe you 1000 EUR" });
  assert.ok(outcome.reply, JSON.stringify(outcome));
  return outcome.reply;
}

function isQuestionWindow(candidate) {
  return candidate.url().startsWith(`${EXTENSION_URL}ask.html`);
}

// Starts `trigger` and resolves with the window of the question it raised
// (the next page to open) and what `trigger` resolves with.
async function questionRaisedBy(trigger) {
  const opened = context.waitForEvent("page", { timeout: 15000 });
  const outcome = trigger();
  const window = await opened;
  await window.waitForURL(/\/ask\.html\?/, { timeout: 5000 });
  await window.locator("#dialog:not([hidden])").waitFor();
  await window.setViewportSize({ width: 520, height: 360 });
  return { window, outcome };
}

// Once the window accepts input, `choice` has the focus: the primary choice,
// or the refusal where the action cannot be undone.
async function focusedOn(window, choice = "#yes") {
  await window.waitForFunction((selector) => document.activeElement === document.querySelector(selector), choice);
}

async function answer(window, how) {
  try {
    await how();
  } catch (error) {
    if (!window.isClosed()) {
      throw error;
    }
  }
  await waitFor(() => window.isClosed(), "the question window to close");
}

function openQuestionWindows() {
  return context.pages().filter(isQuestionWindow);
}

async function openOptions() {
  return openPage(`${EXTENSION_URL}options.html`);
}

// ---- Administrator's policy ------------------------------------------------

function asRoot(command, args, input) {
  const [program, ...rest] = process.getuid() === 0 ? [command, ...args] : ["sudo", "-n", command, ...args];
  return run(program, rest, { input });
}

function policyUnavailable() {
  try {
    asRoot("true", []);
    return false;
  } catch {
    return "writing Chromium's policy folder needs root or password-less sudo";
  }
}

async function reloadPolicies() {
  const policies = await openPage("chrome://policy");
  await policies.locator("#reload-policies").click();
  await policies.close();
}

function managedSettings() {
  return context.serviceWorkers()[0].evaluate(() => chrome.storage.managed.get());
}

async function setPolicy(values) {
  for (let folder = POLICY_DIR; !fs.existsSync(folder); folder = path.dirname(folder)) {
    policyFoldersMade.push(folder);
  }
  asRoot("mkdir", ["-p", POLICY_DIR]);
  const policy = { "3rdparty": { extensions: { [EXTENSION_ID]: values } } };
  asRoot("tee", [policyFile], JSON.stringify(policy));
  asRoot("chmod", ["0644", policyFile]);
  await reloadPolicies();
  await waitFor(async () => isDeepStrictEqual(await managedSettings(), values), "the policy to reach the extension");
}

function removePolicyFiles() {
  asRoot("rm", ["-f", policyFile]);
  for (const folder of policyFoldersMade.splice(0)) {
    asRoot("rmdir", ["--ignore-fail-on-non-empty", folder]);
  }
}

async function clearPolicy() {
  removePolicyFiles();
  await reloadPolicies();
  await waitFor(async () => Object.keys(await managedSettings()).length === 0, "the policy to be gone");
}

before(async () => {
  makeToken();
  installHost();
  await enrol();
  register();
  await serveSites();
  const extension = path.join(SOURCE, "extension");
  context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    env: { ...testEnvironment(), VANTREL_HANG_FUNCTION: HANGING_FUNCTION },
    args: [
      `--disable-extensions-except=${extension}`,
      `--load-extension=${extension}`,
      "--host-resolver-rules=MAP test.example 127.0.0.1, MAP admin.example 127.0.0.1, MAP * ~NOTFOUND, EXCLUDE 127.0.0.1, EXCLUDE localhost",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--no-first-run",
    ],
    viewport: { width: 1100, height: 900 },
  });
  // The page looks for the extension once it loads: have the extension up first.
  if (context.serviceWorkers().length === 0) {
    await context.waitForEvent("serviceworker");
  }
  page = context.pages()[0] || (await context.newPage());
  await page.goto(`${site.first}/index.html`);
}, { timeout: 180000 });

after(async () => {
  if (policyFoldersMade.length > 0 || fs.existsSync(policyFile)) {
    removePolicyFiles();
  }
  if (context) {
    if (page) {
      await screenshot(page, "browser-e2e-last.png").catch(() => {});
    }
    await context.close();
  }
  for (const server of servers) {
    server.closeAllConnections();
    server.close();
  }
  fs.rmSync(work, { recursive: true, force: true });
}, { timeout: 60000 });

test("the extension loads with its fixed ID and the page finds the host", STEP, async () => {
  const worker = context.serviceWorkers()[0] || (await context.waitForEvent("serviceworker"));
  assert.equal(new URL(worker.url()).host, EXTENSION_ID);
  await page.waitForSelector("#status.good");
  const status = await page.textContent("#status");
  assert.match(status, /Vantrel host 1\.4, token driver libvantrel_hang\.so/);
});

test("the host started by Chromium inherits SOFTHSM2_CONF and gets the extension's origin", STEP, async () => {
  const [host] = await waitFor(() => hostProcesses().length === 1 && hostProcesses(), "one host process");
  assert.ok(host.environ.includes(`SOFTHSM2_CONF=${softhsmConf}`), host.environ.join("\n"));
  assert.deepEqual(host.args.slice(1), [`chrome-extension://${EXTENSION_ID}/`]);
});

test("the page lists the test token", STEP, async () => {
  await page.click("#list-tokens");
  const row = page.locator(`#tokens tr[data-token-sn="${tokenSN}"]`);
  await row.waitFor();
  assert.match(await row.textContent(), new RegExp(TOKEN_LABEL));
  assert.equal(await row.locator('input[type="radio"]').isChecked(), true);
});

test("a wrong PIN shows a friendly message with the host's own words at hand", STEP, async () => {
  await page.fill("#pin", WRONG_PIN);
  await page.click("#login");
  await page.waitForSelector("#message:not([hidden])");
  assert.equal(await page.textContent("#message-title"), "Incorrect PIN");
  assert.match(await page.textContent("#message-advice"), /try again/);
  assert.equal(await page.textContent("#message-raw"), "Incorrect PIN  (rc=160)");
  assert.equal(await page.textContent("#login-state"), "Not logged in.");
  await page.click("#message summary");
  await screenshot(page, "browser-e2e-wrong-pin.png");
});

test("the page logs in, lists the certificate and signs; openssl verifies the signature", STEP, async () => {
  await page.fill("#pin", USER_PIN);
  await page.click("#login");
  await page.waitForFunction(() => document.querySelector("#login-state").textContent.startsWith("Logged in"));
  assert.equal(await page.isHidden("#message"), true);

  await page.click("#list-certificates");
  const row = page.locator(`#certificates tr[data-serial-number="${CERTIFICATE_SERIAL}"]`);
  await row.waitFor();
  assert.match(await row.textContent(), /Vantrel Browser Test CA/);

  // Text beyond ASCII travels as UTF-8 from the page through Chromium to the host.
  const payload = "Grüße aus dem Browser — 10 € \"quoted\"";
  await page.fill("#payload", payload);
  await page.click("#sign");
  await page.waitForSelector("#signature-box:not([hidden])");
  const signature = Buffer.from((await page.textContent("#signature")).trim(), "base64");
  assert.equal(signature.length, 256);

  const publicKey = path.join(work, "user-public.pem");
  fs.writeFileSync(publicKey, run("openssl", ["x509", "-in", certificatePem, "-pubkey", "-noout"]));
  fs.writeFileSync(path.join(work, "signature.bin"), signature);
  fs.writeFileSync(path.join(work, "payload.txt"), payload);
  const verify = (file) =>
    run("openssl", ["dgst", "-sha256", "-verify", publicKey, "-signature", path.join(work, "signature.bin"), file]);
  assert.match(verify(path.join(work, "payload.txt")), /Verified OK/);
  fs.writeFileSync(path.join(work, "other.txt"), payload + ".");
  assert.throws(() => verify(path.join(work, "other.txt")));
  await screenshot(page, "browser-e2e.png");
});

test("the page's own port value comes back with the reply", STEP, async () => {
  const replies = await page.evaluate(async () => [
    await Vantrel.request({ action: "info", port: "page-7" }),
    await Vantrel.request({ action: "info" }),
  ]);
  assert.equal(replies[0].port, "page-7");
  assert.equal(replies[0].token, tokenSN);
  assert.equal("port" in replies[1], false);
});

const HOST_GONE = /^(Native host has exited\.|Error when communicating with the native messaging host\.)$/;

test("a malformed request stops the host, rejects what is pending, and the next request goes to a new host", STEP, async () => {
  const [first] = hostProcesses();
  assert.ok(first, "a host process is running");
  const settled = await page.evaluate(async () => {
    const results = await Promise.allSettled([
      Vantrel.request({ action: "noSuchAction" }),
      Vantrel.request({ action: "info" }),
    ]);
    return results.map((r) => (r.status === "fulfilled" ? { value: r.value } : { name: r.reason.name, message: r.reason.message }));
  });
  // Chromium says which side noticed first: the host's exit, or its write of
  // the second request into a pipe the host had already closed.
  assert.equal(settled[0].name, "ConnectionError");
  assert.match(settled[0].message, HOST_GONE);
  // An origin's requests reach its host one at a time: the one sent right
  // behind goes to a new host, without the old one's login.
  assert.equal(settled[1].value.error, "There is no active token");
  await waitFor(() => !hostProcesses().some((p) => p.pid === first.pid), "the first host to exit");

  const described = await page.evaluate(() => Vantrel.describeError("Native host has exited."));
  assert.equal(described.title, "The Vantrel host stopped");

  // The new host process answers, and the login of the old one is gone.
  const reply = await page.evaluate(() => Vantrel.request({ action: "info" }));
  assert.equal(reply.error, "There is no active token");
  const [second] = hostProcesses();
  assert.ok(second && second.pid !== first.pid);

  // The page goes on working as before.
  await page.click("#list-tokens");
  await page.locator(`#tokens tr[data-token-sn="${tokenSN}"]`).waitFor();
  assert.equal(await page.isHidden("#message"), true);
});

test("without a registered host the page explains what is missing", STEP, async () => {
  // Stop the running host first: Chromium reads the manifest when it starts one.
  await page.evaluate(() => Vantrel.request({ action: "stop" }).catch(() => {}));
  await waitFor(() => hostProcesses().length === 0, "the host to exit");
  const manifest = path.join(profile, "NativeMessagingHosts", "org.vantrel.host.json");
  const kept = manifest + ".away";
  fs.renameSync(manifest, kept);
  try {
    await page.click("#list-tokens");
    await page.waitForSelector("#message:not([hidden])");
    assert.equal(await page.textContent("#message-title"), "The Vantrel host is not installed");
    assert.equal(await page.textContent("#message-raw"), "Specified native messaging host not found.");
  } finally {
    fs.renameSync(kept, manifest);
  }
  const reply = await page.evaluate(() => Vantrel.request({ action: "listTokens" }));
  assert.ok(reply.tokens.some((t) => t.tokenSN === tokenSN));
});

// ---- One host and one login per page origin ----------------------------------

let secondPage; // the demo page on the second development origin
const hostOf = {}; // origin name -> pid of its host process

test("each origin logs in on a host of its own, and cannot sign with another origin's login", STEP, async () => {
  await login(page);
  assert.ok((await signs(page)).signature);
  [hostOf.first] = await waitFor(() => hostPids().size === 1 && [...hostPids()], "the first origin's host alone");

  hostOf.second = await hostStartedBy(async () => {
    secondPage = await openPage(`${site.second}/index.html`);
    await secondPage.waitForSelector("#status.good");
  });
  assert.equal((await signs(secondPage)).error, "Must login before being able to sign");
  assert.equal((await ask(secondPage, { action: "info" })).reply.error, "There is no active token");

  await login(secondPage);
  assert.ok((await signs(secondPage)).signature);
  const first = (await ask(page, { action: "info" })).reply;
  assert.equal(first.token, tokenSN);
  assert.equal(first.error, undefined);
  assert.deepEqual([isRunning(hostOf.first), isRunning(hostOf.second)], [true, true]);
});

test("a malformed request ends its own origin's host only; the other origin's login goes on", STEP, async () => {
  const outcome = await ask(secondPage, { action: "noSuchAction" });
  assert.equal(outcome.error.name, "ConnectionError");
  assert.match(outcome.error.message, HOST_GONE);
  await waitFor(() => !isRunning(hostOf.second), "the second origin's host to exit");

  assert.ok(isRunning(hostOf.first));
  assert.ok((await signs(page)).signature);
  hostOf.second = await hostStartedBy(async () => {
    assert.equal((await ask(secondPage, { action: "info" })).reply.error, "There is no active token");
  });
});

// ---- Pages that are refused ---------------------------------------------------

test("requests from frames are refused, whichever origin the frame has", STEP, async () => {
  const before = hostPids();
  for (const [name, origin] of [["same origin", site.first], ["other development origin", site.second]]) {
    await page.evaluate((url) => {
      const frame = document.createElement("iframe");
      frame.src = url;
      frame.id = "framed";
      frame.style.cssText = "width: 100%; height: 320px";
      document.body.prepend(frame);
    }, `${origin}/index.html`);
    const frame = await waitFor(() => page.frames().find((f) => f !== page.mainFrame() && f.url().startsWith(origin)), `the ${name} frame`);
    await frame.waitForSelector("#status.bad");
    assert.equal(await frame.textContent("#status"), "Extension found, but it does not serve this page.", name);
    assert.equal(await frame.textContent("#message-title"), "Tokens cannot be used inside a frame", name);
    const outcome = await ask(frame, { action: "listTokens" });
    assert.deepEqual(outcome.error, {
      name: "ConnectionError",
      reason: "sub-frame",
      message: "Vantrel serves only the top page of a tab, not a frame inside it.",
    }, name);
    if (origin === site.second) {
      await screenshot(page.locator("#framed"), "browser-e2e-frame.png");
    }
    await page.evaluate(() => document.getElementById("framed").remove());
  }
  assert.deepEqual(hostPids(), before);
});

test("a plain HTTP page that is not a development one is refused", STEP, async () => {
  const before = hostPids();
  const plain = await openPage(`${site.plainHttp}/index.html`);
  await plain.waitForSelector("#status.bad");
  assert.equal(await plain.textContent("#message-title"), "This page is not secure enough to use your tokens");
  const outcome = await ask(plain, { action: "listTokens" });
  assert.deepEqual(outcome.error, {
    name: "ConnectionError",
    reason: "plain-http",
    message: "Vantrel serves only HTTPS pages, and http://localhost or http://127.0.0.1 for development.",
  });
  await screenshot(plain, "browser-e2e-plain-http.png");
  await plain.close();
  assert.deepEqual(hostPids(), before);
  assert.deepEqual(openQuestionWindows(), []);
});

// ---- HTTPS sites the user allows ----------------------------------------------

let securePage;

const DENIED = {
  name: "ConnectionError",
  reason: "denied",
  message: "The user did not allow this site to use security tokens.",
};

async function optionsRow(options, origin) {
  const row = options.locator(`#answers tr[data-origin="${origin}"]`);
  await row.waitFor();
  return row;
}

test("an HTTPS site is asked about; the user denies, the answer is kept, then removed in the options", STEP, async () => {
  const secure = (securePage = await context.newPage());
  const { window } = await questionRaisedBy(() => secure.goto(`${site.secure}/index.html`));
  const question = `Allow ${site.secure} to use your security tokens?`;
  assert.equal(await window.textContent("#question"), question);
  assert.equal(await window.title(), `Vantrel: ${question}`);
  assert.equal(await window.getAttribute("#dialog", "role"), "alertdialog");
  assert.deepEqual([await window.textContent("#yes"), await window.textContent("#no")], ["Allow", "Deny"]);
  await focusedOn(window);
  await screenshot(window, "browser-e2e-ask-site.png");
  await answer(window, () => window.click("#no"));

  await secure.waitForSelector("#status.bad");
  assert.equal(await secure.textContent("#message-title"), "You did not allow this site to use your security tokens");
  await screenshot(secure, "browser-e2e-site-denied.png");
  // Kept: the next request is refused without asking again.
  assert.deepEqual((await ask(secure, { action: "info" })).error, DENIED);
  assert.deepEqual(openQuestionWindows(), []);

  const options = await openOptions();
  const row = await optionsRow(options, site.secure);
  assert.match(await row.textContent(), /Denied/);
  await screenshot(options, "browser-e2e-options.png");
  await row.getByRole("button", { name: `Remove ${site.secure}` }).click();
  await row.waitFor({ state: "detached" });
  await options.close();
});

test("the HTTPS site is asked again and allowed by keyboard; the answer is kept, revoking it ends its host, and closing the window answers nothing", STEP, async () => {
  const secure = securePage;
  const { window, outcome } = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await focusedOn(window);
  const pid = await hostStartedBy(async () => {
    await answer(window, () => window.keyboard.press("Enter"));
    assert.equal((await outcome).reply.error, "There is no active token");
  });
  await login(secure);
  assert.ok((await signs(secure)).signature);
  assert.deepEqual(openQuestionWindows(), []);

  const options = await openOptions();
  const row = await optionsRow(options, site.secure);
  assert.match(await row.textContent(), /Allowed/);
  await row.getByRole("button", { name: `Remove ${site.secure}` }).click();
  await waitFor(() => !isRunning(pid), "the revoked site's host to end");
  await options.close();

  // Asked again. A window closed without an answer refuses this request only.
  const dismissed = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await dismissed.window.close();
  assert.deepEqual((await dismissed.outcome).error, {
    name: "ConnectionError",
    reason: "not-allowed",
    message: "This site is not allowed to use security tokens.",
  });
  // Asked again; Escape answers no.
  const again = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await answer(again.window, () => again.window.keyboard.press("Escape"));
  assert.deepEqual((await again.outcome).error, DENIED);
  await secure.close();
});

// ---- What an administrator sets ------------------------------------------------

const POLICY_STEP = { ...STEP, skip: policyUnavailable() };
const REQUEST_TIMEOUT_SECONDS = 4;
let adminPage;

test("an administrator's allowlist lets an HTTPS site in without asking", POLICY_STEP, async () => {
  await setPolicy({ allowedOrigins: [site.admin], requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS });
  hostOf.admin = await hostStartedBy(async () => {
    adminPage = await openPage(`${site.admin}/index.html`);
    await adminPage.waitForSelector("#status.good");
  });
  await login(adminPage);
  assert.ok((await signs(adminPage)).signature);
  assert.deepEqual(openQuestionWindows(), []);

  const options = await openOptions();
  await options.locator("#managed-origins li", { hasText: site.admin }).waitFor();
  assert.equal(await options.locator("#answers tr[data-origin]").count(), 1, "only the site the user answered for");
  assert.match(await options.textContent("#limits"), /within 4 seconds .* after 15 minutes/);
  await options.close();
});

test("a module call that never returns ends in the timeout message, and ends that origin's host only", POLICY_STEP, async () => {
  await login(page, "write");
  const started = Date.now();
  const stuck = ask(page, { action: "generateKeys", tokenSN, result: "csr" });
  // Meanwhile another origin's host answers as usual.
  await new Promise((resolve) => setTimeout(resolve, 1000));
  assert.ok((await signs(adminPage)).signature);
  assert.ok(Date.now() - started < REQUEST_TIMEOUT_SECONDS * 1000, "signed while the other origin's request was stuck");
  const outcome = await stuck;
  const elapsed = Date.now() - started;
  assert.deepEqual(outcome.error, {
    name: "ConnectionError",
    reason: "timeout",
    message: "The security token did not answer within 4 seconds; the connection to it was closed and its login ended.",
  });
  assert.ok(elapsed >= REQUEST_TIMEOUT_SECONDS * 1000 && elapsed < 20000, `gave up after ${elapsed} ms`);
  assert.equal(await page.evaluate((text) => Vantrel.describeError(text).title, outcome.error.message), "The token did not answer in time");

  assert.ok((await signs(adminPage)).signature, "the other origin's login is intact");
  await waitFor(() => !isRunning(hostOf.first), "the stuck host to end");
  assert.ok(isRunning(hostOf.admin));
  hostOf.first = await hostStartedBy(async () => {
    assert.equal((await ask(page, { action: "info" })).reply.error, "There is no active token");
  });
});

// Each destructive action asks every time, naming the site and the token.
const ORPHAN_KEYS = {
  request: () => ({ action: "deleteOrphanKeys", tokenSN, keyType: "private" }),
  question: () => `Let ${site.first} delete keys from the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`,
  details: () => "Every private key on the token that no certificate belongs to is deleted. This cannot be undone.",
  yes: "Delete the keys",
};
const CONFIRMATIONS = [
  {
    request: () => ({ action: "deleteCertificate", certificateSN: `0206${CERTIFICATE_SERIAL}` }),
    question: () => `Let ${site.first} delete a certificate from the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`,
    details: (subject) =>
      `The certificate “${subject}” (serial number ${CERTIFICATE_SERIAL}) and its keys are deleted from the token. This cannot be undone.`,
    yes: "Delete the certificate",
    answer: (window) => window.keyboard.press("Enter"),
    refusal: "The user refused to let this site delete the certificate.",
  },
  {
    request: () => ({ action: "formatToken", tokenSN, tokenPIN: "new-pin-1", adminPIN: "new-so-pin" }),
    question: () => `Let ${site.first} format the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`,
    details: () => "Formatting erases every key and certificate on the token and sets a new PIN. This cannot be undone.",
    yes: "Format the token",
    answer: (window) => window.keyboard.press("Escape"),
    refusal: "The user refused to let this site format the token.",
    screenshot: "browser-e2e-confirm-format.png",
  },
  {
    ...ORPHAN_KEYS,
    // The window stays open longer than a request may take: the time limit
    // starts when the request reaches the host.
    answer: async (window) => {
      await new Promise((resolve) => setTimeout(resolve, (REQUEST_TIMEOUT_SECONDS + 1) * 1000));
      await window.click("#yes");
    },
    reply: () => ({ action: "deleteOrphanKeys", deletedPK: 0, deletedSK: 0, tokenSN }),
  },
  // Asked again: an answer to a destructive action is never remembered.
  { ...ORPHAN_KEYS, answer: (window) => window.click("#no"), refusal: "The user refused to let this site delete the orphan keys." },
];

async function tokenState() {
  const tokens = (await ask(page, { action: "listTokens" })).reply.tokens;
  const certificates = (await ask(page, { action: "listCertificates", tokenSN })).reply.certificates;
  return { tokens, certificates };
}

test("formatting, deleting a certificate and deleting orphan keys are put to the user every time", { ...POLICY_STEP, timeout: 90000 }, async () => {
  await login(page, "write");
  const unchanged = await tokenState();
  const subject = unchanged.certificates.find((c) => c.serialNumber === CERTIFICATE_SERIAL).subjectDN;
  for (const confirmation of CONFIRMATIONS) {
    const what = confirmation.request().action;
    const { window, outcome } = await questionRaisedBy(() => ask(page, confirmation.request()));
    assert.equal(await window.textContent("#question"), confirmation.question(), what);
    assert.equal(await window.textContent("#details"), confirmation.details(subject), what);
    assert.equal(await window.textContent("#yes"), confirmation.yes, what);
    await focusedOn(window, "#no");
    if (confirmation.screenshot) {
      await screenshot(window, confirmation.screenshot);
    }
    await answer(window, () => confirmation.answer(window));
    const { reply, error } = await outcome;
    if (confirmation.refusal) {
      assert.deepEqual(error, { name: "ConnectionError", reason: "refused", message: confirmation.refusal }, what);
    } else {
      assert.deepEqual(reply, confirmation.reply(), what);
    }
  }
  assert.deepEqual(await tokenState(), unchanged);
});

const LOGIN_IDLE_MINUTES = 0.1;

test("a site taken off the administrator's list loses its host and is asked about like any other", POLICY_STEP, async () => {
  assert.ok(isRunning(hostOf.admin));
  await setPolicy({ requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS });
  await waitFor(() => !isRunning(hostOf.admin), "the administrator's site's host to end");
  const { window, outcome } = await questionRaisedBy(() => ask(adminPage, { action: "info" }));
  assert.equal(await window.textContent("#question"), `Allow ${site.admin} to use your security tokens?`);
  await answer(window, () => window.keyboard.press("Escape"));
  assert.deepEqual((await outcome).error, DENIED);
  await adminPage.close();
});

test("a login ends after the administrator's idle time without requests from its origin", POLICY_STEP, async () => {
  const idleMs = LOGIN_IDLE_MINUTES * 60000;
  // A shorter idle time applies to the logins already waiting: the second
  // origin's last request was longer ago than that.
  assert.ok(isRunning(hostOf.second));
  await setPolicy({ requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS, loginIdleMinutes: LOGIN_IDLE_MINUTES });
  await waitFor(() => !isRunning(hostOf.second), "the second origin's earlier host to idle out");
  const pid = await hostStartedBy(() => login(secondPage));
  await new Promise((resolve) => setTimeout(resolve, idleMs / 2));
  const lastRequest = Date.now();
  assert.equal((await ask(secondPage, { action: "info" })).reply.token, tokenSN, "still logged in half-way");
  await waitFor(() => !isRunning(pid), "the idle host to end", idleMs + 10000);
  const idled = Date.now() - lastRequest;
  assert.ok(idled >= idleMs, `ended ${idled} ms after the last request`);
  assert.equal((await ask(secondPage, { action: "info" })).reply.error, "There is no active token");
});

test("without a policy the defaults hold again", POLICY_STEP, async () => {
  await clearPolicy();
  const options = await openOptions();
  await options.locator("#no-managed-origins:not([hidden])").waitFor();
  assert.match(await options.textContent("#limits"), /within 120 seconds .* after 15 minutes/);
  await options.close();
});

test("the host's log files hold the exchanges but no PIN", STEP, () => {
  const logs = fs.readdirSync(logDir).map((name) => fs.readFileSync(path.join(logDir, name), "utf8")).join("\n");
  assert.match(logs, /"action":"sign"/);
  assert.match(logs, /"action":"login"/);
  assert.equal(logs.includes(USER_PIN), false);
  assert.equal(logs.includes(WRONG_PIN), false);
});
