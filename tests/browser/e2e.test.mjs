// The sample extension and the demo page in a real, headless Chromium, talking
// to the built host, which works on a SoftHSM2 token of this test's own.
//
// Environment: VANTREL_SOURCE_DIR (the checkout), VANTREL_BUILD_DIR (holds
// vantrel and vantrel-client), VANTREL_ARTIFACTS_DIR (screenshots go there),
// VANTREL_SCRATCH_DIR (where the temporary folder goes).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import os from "node:os";
import path from "node:path";
import readline from "node:readline";
import { chromium } from "playwright-core";

const SOURCE = path.resolve(process.env.VANTREL_SOURCE_DIR || path.join(import.meta.dirname, "..", ".."));
const BUILD = path.resolve(process.env.VANTREL_BUILD_DIR || path.join(SOURCE, "build"));
const ARTIFACTS = path.resolve(process.env.VANTREL_ARTIFACTS_DIR || path.join(BUILD, "artifacts"));
const CHROMIUM = process.env.VANTREL_CHROMIUM || "/usr/bin/chromium";
const SOFTHSM = process.env.VANTREL_SOFTHSM_MODULE || "/usr/lib/softhsm/libsofthsm2.so";

const EXTENSION_ID = "dimbhkphloanhhcpkcakgkgdcooempmh";
const TOKEN_LABEL = "Vantrel browser test";
const USER_PIN = "pin-4815";
const WRONG_PIN = "wrong-pin-2342";
const CERTIFICATE_SERIAL = "00c0ffee5a17"; // the leading 00 keeps the INTEGER positive

// A relay that never answers must fail the test, not hang it.
const STEP = { timeout: 45000 };

const work = fs.mkdtempSync(path.join(process.env.VANTREL_SCRATCH_DIR || os.tmpdir(), "vantrel-browser-"));
const hostDir = path.join(work, "host");
const hostPath = path.join(hostDir, "vantrel");
const softhsmConf = path.join(work, "softhsm2.conf");
const logDir = path.join(work, "logs");
const profile = path.join(work, "profile");
const home = path.join(work, "home");

let tokenSN;
let certificatePem;
let server;
let context;
let page;

function run(command, args, options = {}) {
  return execFileSync(command, args, { encoding: "utf8", stdio: ["pipe", "pipe", "pipe"], ...options });
}

// The environment of everything this test starts: only our own token is reachable.
function testEnvironment() {
  const environment = { ...process.env, HOME: home, SOFTHSM2_CONF: softhsmConf };
  delete environment.XDG_CONFIG_HOME;
  delete environment.CHROME_CONFIG_HOME;
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
  fs.writeFileSync(path.join(hostDir, "vantrel.cfg"), `pkcs11Library=${SOFTHSM}\nlogDir=${logDir}\nmaxLogFiles=200\n`);
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

async function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once("error", reject);
    probe.listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function serveDemoPage() {
  const port = await freePort();
  server = spawn("python3", ["-m", "http.server", String(port), "--bind", "127.0.0.1", "--directory", path.join(SOURCE, "web")], {
    stdio: "ignore",
  });
  const deadline = Date.now() + 15000;
  for (;;) {
    try {
      const response = await fetch(`http://127.0.0.1:${port}/index.html`);
      if (response.ok) {
        return `http://127.0.0.1:${port}/index.html`;
      }
    } catch {
      // not listening yet
    }
    assert.ok(Date.now() < deadline, "the demo page server did not start");
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
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

async function waitFor(check, what, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = check();
    if (value) {
      return value;
    }
    assert.ok(Date.now() < deadline, `timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

async function screenshot(name) {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  await page.screenshot({ path: path.join(ARTIFACTS, name), fullPage: true });
}

before(async () => {
  makeToken();
  installHost();
  await enrol();
  register();
  const url = await serveDemoPage();
  const extension = path.join(SOURCE, "extension");
  context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    env: testEnvironment(),
    args: [
      `--disable-extensions-except=${extension}`,
      `--load-extension=${extension}`,
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
  await page.goto(url);
}, { timeout: 180000 });

after(async () => {
  if (context) {
    if (page) {
      await screenshot("browser-e2e-last.png").catch(() => {});
    }
    await context.close();
  }
  if (server) {
    server.kill();
  }
  fs.rmSync(work, { recursive: true, force: true });
}, { timeout: 60000 });

test("the extension loads with its fixed ID and the page finds the host", STEP, async () => {
  const worker = context.serviceWorkers()[0] || (await context.waitForEvent("serviceworker"));
  assert.equal(new URL(worker.url()).host, EXTENSION_ID);
  await page.waitForSelector("#status.good");
  const status = await page.textContent("#status");
  assert.match(status, /Vantrel host 1\.4, token driver libsofthsm2\.so/);
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
  await screenshot("browser-e2e-wrong-pin.png");
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
  await screenshot("browser-e2e.png");
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

test("a malformed request stops the host, rejects what is pending, and the next request starts a new host", STEP, async () => {
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
  // The request sent right behind it races with the host's exit: it is lost
  // with the old host or answered by a new one, but it never hangs.
  if ("value" in settled[1]) {
    assert.equal(settled[1].value.error, "There is no active token");
  } else {
    assert.equal(settled[1].name, "ConnectionError");
    assert.match(settled[1].message, new RegExp(`${HOST_GONE.source}|disconnected port`));
  }
  await waitFor(() => !hostProcesses().some((p) => p.pid === first.pid), "the first host to exit");

  const described = await page.evaluate(() => Vantrel.describeError("Native host has exited."));
  assert.equal(described.title, "The Vantrel host stopped");

  // A new host process: it answers, and the login of the old one is gone.
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

test("the host's log files hold the exchanges but no PIN", STEP, () => {
  const logs = fs.readdirSync(logDir).map((name) => fs.readFileSync(path.join(logDir, name), "utf8")).join("\n");
  assert.match(logs, /"action":"sign"/);
  assert.match(logs, /"action":"login"/);
  assert.equal(logs.includes(USER_PIN), false);
  assert.equal(logs.includes(WRONG_PIN), false);
});
