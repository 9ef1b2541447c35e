// The sample extension and the console page in a real headless browser
// (Chromium or Firefox, as support/browser.mjs says), talking to the built
// host, which works on a SoftHSM2 token of this test's own through the
// fault-injecting module (tests/faults), which makes one call hang. The page is
// served over HTTPS, with a certificate from a test CA, as one.example,
// two.example, test.example and admin.example (all mapped to 127.0.0.1), and
// over plain HTTP as test.example. This test is about the extension's
// boundary; console.test.mjs drives the console itself, site-consent.test.mjs
// pages served from this computer. Pages are driven through the browser's
// page driver (support/page-driver.mjs).
//
// Environment: as support/environment.mjs says, and VANTREL_FAULT_MODULE (the
// built fault-injecting module).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import https from "node:https";
import path from "node:path";
import {
  BUILD,
  SOFTHSM,
  closeServers,
  hostProcesses as hostProcessesOf,
  installHost,
  makeCa,
  makeToken,
  makeWebCertificate,
  makeWorkspace,
  run,
  serveWeb,
  testEnvironment,
  waitFor,
  withClient,
} from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, focusedOn, ready } from "./support/browser.mjs";
import { AccessibilityRecord } from "./support/page-driver.mjs";

const FAULT_MODULE = path.resolve(
  process.env.VANTREL_FAULT_MODULE || path.join(BUILD, "tests", "faults", "module", "libvantrel_pkcs11_fault.so"),
);

const TOKEN_LABEL = "Vantrel browser test";
const USER_PIN = "pin-4815";
const WRONG_PIN = "wrong-pin-2342";
const CERTIFICATE_SERIAL = "00c0ffee5a17"; // the leading 00 keeps the INTEGER positive
// The module call that never returns in the browser's hosts (key generation).
const HANGING_FUNCTION = "C_GenerateKeyPair";

// A relay that never answers must fail the test, not hang it.
const STEP = { timeout: 45000 };

const browser = await browserDriver();
const space = makeWorkspace("browser");
const accessibility = new AccessibilityRecord("browser-e2e", { strict: true });
const { work, hostPath, softhsmConf, logDir } = space;
// Everything this test starts reaches the token through the fault module, which
// forwards to SoftHSM2; the browser's hosts follow its rules, vantrel-client's none.
const faultRules = path.join(work, "fault-rules");
const environment = () =>
  testEnvironment(space, { VANTREL_FAULT_TARGET: SOFTHSM, VANTREL_FAULT_RULES: undefined, VANTREL_FAULT_STATE: undefined });

let tokenSN;
let certificatePem;
const servers = [];
let manifest; // the host's registration
let session;
let page;
// The page's addresses: the two HTTPS origins the user allows at first, one
// plain HTTP origin, and two HTTPS origins for the questions and the policy.
const site = {};

// An RSA key pair made on the token by the host, and a certificate for it from a test CA.
async function enrol() {
  const ca = makeCa(path.join(work, "ca"), "Vantrel Browser Test CA");
  await withClient(space, async (send) => {
    const tokens = (await send({ action: "listTokens" })).tokens;
    const token = tokens.find((t) => t.tokenLabel === TOKEN_LABEL);
    assert.ok(token, `no token labelled ${TOKEN_LABEL}: ${JSON.stringify(tokens)}`);
    tokenSN = token.tokenSN;
    const login = await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" });
    assert.equal(login.error, undefined, JSON.stringify(login));
    const keys = await send({ action: "generateKeys", tokenSN, result: "csr" });
    assert.ok(keys.csr, JSON.stringify(keys));
    const issued = ca.issue(keys.csr, { serial: CERTIFICATE_SERIAL, subject: "/CN=Vantrel Browser Test User" });
    certificatePem = path.join(work, "user.pem");
    fs.writeFileSync(certificatePem, issued.pem);
    const imported = await send({ action: "importCertificate", certificate: issued.der.toString("base64") });
    assert.equal(imported.error, undefined, JSON.stringify(imported));
  }, environment());
}

const SITE_NAMES = ["one.example", "two.example", "test.example", "admin.example"];

// Resolves with the PEM file of the CA that the HTTPS sites' certificate is from.
async function serveSites() {
  const tls = makeWebCertificate(path.join(work, "tls"), SITE_NAMES);
  const served = await Promise.all([serveWeb(http.createServer), serveWeb((handler) => https.createServer(tls, handler))]);
  servers.push(...served.map((s) => s.server));
  const [plain, secure] = served.map((s) => s.port);
  Object.assign(site, {
    first: `https://one.example:${secure}`,
    second: `https://two.example:${secure}`,
    plainHttp: `http://test.example:${plain}`,
    secure: `https://test.example:${secure}`,
    admin: `https://admin.example:${secure}`,
  });
  return tls.ca;
}

function hostProcesses() {
  return hostProcessesOf(hostPath);
}

function hostPids() {
  return new Set(hostProcesses().map((p) => p.pid));
}

function isRunning(pid) {
  return hostPids().has(pid);
}

async function hostsStartedBy(work) {
  const before = hostPids();
  await work();
  return [...hostPids()].filter((pid) => !before.has(pid));
}

// The one host process that started while `work` ran.
async function hostStartedBy(work) {
  const started = await hostsStartedBy(work);
  assert.equal(started.length, 1, `host processes started: ${started.join(", ")}`);
  return started[0];
}

// After `work`, the host of the origin `name` (see hostOf): the one `work`
// started, or else the one it had, still running.
async function hostOfOriginAfter(name, work) {
  const started = await hostsStartedBy(work);
  assert.ok(started.length <= 1, `host processes started: ${started.join(", ")}`);
  hostOf[name] = started[0] ?? hostOf[name];
  assert.ok(isRunning(hostOf[name]), `the ${name} origin's host runs`);
}

function openPage(url) {
  return session.newPage(url);
}

async function login(target, mode) {
  const outcome = await ask(target, { action: "login", tokenSN, pin: USER_PIN, mode });
  assert.equal(outcome.reply && outcome.reply.error, undefined, JSON.stringify(outcome));
}

const SIGNED = { action: "sign", certificateSN: `0206${CERTIFICATE_SERIAL}`, payload: "I owe you 1000 EUR" };

// A signature of the page's, which the user confirms in the extension's window.
async function signs(target) {
  const { window, outcome } = await session.signWindowRaisedBy(() => ask(target, SIGNED));
  await answer(window, () => clickWhenReady(window, "#submit"));
  const { reply } = await outcome;
  assert.ok(reply, JSON.stringify(await outcome));
  return reply;
}

// Opens the page `url` in `target`, whose site the user then allows.
async function openAllowed(target, url) {
  const { window } = await questionRaisedBy(() => target.goto(url));
  await answer(window, () => clickWhenReady(window, "#yes"));
  await target.waitFor("#status.good");
}

// Clicks `selector` in the console and waits until the step it starts has its answer logged.
async function stepAnswered(target, selector) {
  const answered = await target.count("#log li.received");
  await target.click(selector);
  await target.waitForFunction((before) => document.querySelectorAll("#log li.received").length > before, answered);
  await target.waitFor("body:not([data-busy])");
}

function questionRaisedBy(trigger) {
  return session.questionRaisedBy(trigger);
}

function openQuestionWindows() {
  return session.questionWindows();
}

function openOptions() {
  return session.openOptions();
}

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: "12345678", userPin: USER_PIN });
  installHost(space, FAULT_MODULE);
  fs.writeFileSync(faultRules, `hang ${HANGING_FUNCTION}\n`);
  await enrol();
  manifest = browser.register(space);
  const webCa = await serveSites();
  session = await browser.launch(space, {
    environment: { VANTREL_FAULT_TARGET: SOFTHSM, VANTREL_FAULT_RULES: faultRules, VANTREL_FAULT_STATE: undefined },
    siteNames: SITE_NAMES,
    trustedCa: webCa,
  });
  page = await session.firstPage();
  await openAllowed(page, `${site.first}/index.html`);
  // The console's PINs are typed in the page here (its switch for development).
  await page.check("#pin-in-page");
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  if (session) {
    if (page) {
      await page.screenshot("browser-e2e-last.png").catch(() => {});
    }
    await session.close();
  }
  closeServers(servers);
  fs.rmSync(work, { recursive: true, force: true });
}, { timeout: 60000 });

test("the extension loads with its fixed ID and the page finds the host", STEP, async () => {
  assert.equal(await session.extensionId(), browser.extensionId);
  await page.waitFor("#status.good");
  const status = await page.text("#status");
  assert.match(status, /Vantrel host 1\.4, token driver libvantrel_pkcs11_fault\.so/);
});

test("the host started by the browser inherits SOFTHSM2_CONF and is told which extension started it", STEP, async () => {
  const [host] = await waitFor(() => hostProcesses().length === 1 && hostProcesses(), "one host process");
  assert.ok(host.environ.includes(`SOFTHSM2_CONF=${softhsmConf}`), host.environ.join("\n"));
  assert.deepEqual(host.args.slice(1), browser.hostArguments(space));
});

test("the page lists the test token", STEP, async () => {
  await page.click("#list-tokens");
  const row = `#tokens tr[data-token-sn="${tokenSN}"]`;
  await page.waitFor(row);
  assert.match(await page.text(row), new RegExp(TOKEN_LABEL));
  assert.equal(await page.isChecked(`${row} input[type="radio"]`), true);
});

test("a wrong PIN shows a friendly message with the host's own words at hand", STEP, async () => {
  await page.fill("#pin", WRONG_PIN);
  await page.click("#login");
  await page.waitFor("#message:not([hidden])");
  assert.equal(await page.text("#message-title"), "Incorrect PIN");
  assert.match(await page.text("#message-advice"), /try again/);
  assert.equal(await page.text("#message-raw"), "Incorrect PIN  (rc=160)");
  assert.equal(await page.text("#login-state"), "Not logged in.");
  await page.click("#message summary");
  await page.screenshot("browser-e2e-wrong-pin.png");
});

test("the page logs in, lists the certificate and signs; openssl verifies the signature", STEP, async () => {
  await page.fill("#pin", USER_PIN);
  await page.click("#login");
  await page.waitForFunction(() => document.querySelector("#login-state").textContent.startsWith("Logged in"));
  assert.equal(await page.isVisible("#message"), false);

  await page.click("#list-certificates");
  const row = `#certificates tr[data-serial-number="${CERTIFICATE_SERIAL}"]`;
  await page.waitFor(row);
  assert.match(await page.text(row), /Vantrel Browser Test CA/);

  // Text beyond ASCII travels as UTF-8 from the page through the browser to the host.
  const payload = "Grüße aus dem Browser — 10 € \"quoted\"";
  await page.fill("#payload", payload);
  const { window } = await session.signWindowRaisedBy(() => page.click("#sign"));
  assert.equal(await window.text("#text"), payload);
  await answer(window, () => clickWhenReady(window, "#submit"));
  await page.waitFor("#signature-box:not([hidden])");
  const signature = Buffer.from((await page.text("#signature")).trim(), "base64");
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
  await page.screenshot("browser-e2e.png");
});

test("the page's own port value comes back with the reply", STEP, async () => {
  const replies = await page.evaluate(async () => {
    const { Vantrel } = await import("/vantrel.js");
    return [
      await Vantrel.request({ action: "info", port: "page-7" }),
      await Vantrel.request({ action: "info" }),
    ];
  });
  assert.equal(replies[0].port, "page-7");
  assert.equal(replies[0].token, tokenSN);
  assert.equal("port" in replies[1], false);
});

test("a malformed request stops the host, rejects what is pending, and the next request goes to a new host", STEP, async () => {
  const [first] = hostProcesses();
  assert.ok(first, "a host process is running");
  const settled = await page.evaluate(async () => {
    const { Vantrel } = await import("/vantrel.js");
    const results = await Promise.allSettled([
      Vantrel.request({ action: "noSuchAction" }),
      Vantrel.request({ action: "info" }),
    ]);
    return results.map((r) => (r.status === "fulfilled" ? { value: r.value } : { name: r.reason.name, message: r.reason.message }));
  });
  assert.equal(settled[0].name, "ConnectionError");
  assert.match(settled[0].message, browser.hostGone);
  // An origin's requests reach its host one at a time: the one sent right
  // behind goes to a new host, without the old one's login.
  assert.equal(settled[1].value.error, "There is no active token");
  await waitFor(() => !hostProcesses().some((p) => p.pid === first.pid), "the first host to exit");

  const described = await page.evaluate(async (text) => (await import("/vantrel.js")).Vantrel.describeError(text), settled[0].message);
  assert.equal(described.title, "The Vantrel host stopped");

  // The new host process answers, and the login of the old one is gone.
  const reply = await page.evaluate(async () => (await import("/vantrel.js")).Vantrel.request({ action: "info" }));
  assert.equal(reply.error, "There is no active token");
  const [second] = hostProcesses();
  assert.ok(second && second.pid !== first.pid);

  // The page goes on working as before.
  await page.click("#list-tokens");
  await page.waitFor(`#tokens tr[data-token-sn="${tokenSN}"]`);
  assert.equal(await page.isVisible("#message"), false);
});

// What the page makes of the browsers' words for a host they cannot start.
const UNREGISTERED_TITLES = {
  "Specified native messaging host not found.": "The Vantrel host is not installed",
  "Access to the specified native messaging host is forbidden.": "The Vantrel host does not accept this extension",
  "Native host has exited.": "The Vantrel host stopped",
  "Error when communicating with the native messaging host.": "The Vantrel host stopped",
  // Firefox's: one text for a missing registration and one that does not
  // list the extension, its general one for a program that may not be run.
  "No such native application org.vantrel.host": "The Vantrel host is not installed",
  "An unexpected error occurred": "The Vantrel host could not be started",
};

// Installations that do not let this extension start the host, each written
// over the real registration (`registration`), which is kept aside meanwhile.
const BAD_REGISTRATIONS = [
  { what: "no manifest", said: browser.hostMissing, write: () => {} },
  {
    what: "a host program that may not be run",
    said: browser.hostNotRunnable,
    write: (registration) => {
      fs.writeFileSync(manifest, JSON.stringify(registration));
      fs.chmodSync(hostPath, 0o644);
    },
  },
  {
    what: "a manifest for other extensions",
    said: browser.hostNotListing,
    write: (registration) => {
      const others = { ...registration };
      if ("allowed_origins" in others) {
        others.allowed_origins = ["chrome-extension://aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/"];
      }
      if ("allowed_extensions" in others) {
        others.allowed_extensions = ["someone-else@example.org"];
      }
      fs.writeFileSync(manifest, JSON.stringify(others));
    },
  },
];

test("without a host this extension may start the page explains what is missing", STEP, async () => {
  // The page asks the host for its info after each step: let it finish first.
  await page.waitFor("body:not([data-busy])");
  // Stop the running host first: the browser reads the manifest when it starts one.
  await page.evaluate(async () => (await import("/vantrel.js")).Vantrel.request({ action: "stop" }).catch(() => {}));
  await waitFor(() => hostProcesses().length === 0, "the host to exit");
  const registration = JSON.parse(fs.readFileSync(manifest, "utf8"));
  const kept = manifest + ".away";
  fs.renameSync(manifest, kept);
  try {
    for (const { what, said, write } of BAD_REGISTRATIONS) {
      write(registration);
      await stepAnswered(page, "#list-tokens");
      const raw = await page.text("#message-raw");
      // Chromium's words for a host that may not be run vary as those for one that stopped.
      if (said instanceof RegExp) {
        assert.match(raw, said, what);
      } else {
        assert.equal(raw, said, what);
      }
      assert.equal(await page.text("#message-title"), UNREGISTERED_TITLES[raw], what);
      fs.rmSync(manifest, { force: true });
      fs.chmodSync(hostPath, 0o755);
    }
  } finally {
    fs.chmodSync(hostPath, 0o755);
    fs.renameSync(kept, manifest);
  }
  const reply = await page.evaluate(async () => (await import("/vantrel.js")).Vantrel.request({ action: "listTokens" }));
  assert.ok(reply.tokens.some((t) => t.tokenSN === tokenSN));
});

// ---- One host and one login per page origin ----------------------------------

let secondPage; // the console on the second allowed origin
const hostOf = {}; // origin name -> pid of its host process

test("each origin logs in on a host of its own, and cannot sign with another origin's login", STEP, async () => {
  await login(page);
  assert.ok((await signs(page)).signature);
  [hostOf.first] = await waitFor(() => hostPids().size === 1 && [...hostPids()], "the first origin's host alone");

  hostOf.second = await hostStartedBy(async () => {
    secondPage = await openPage();
    await openAllowed(secondPage, `${site.second}/index.html`);
  });
  // Without a login nothing can be signed: no window, the host's own refusal.
  assert.equal((await ask(secondPage, SIGNED)).reply.error, "Must login before being able to sign");
  assert.deepEqual(await session.windowsOf("sign"), []);
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
  assert.match(outcome.error.message, browser.hostGone);
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
  for (const [name, origin] of [["same origin", site.first], ["another allowed origin", site.second]]) {
    await page.evaluate((url) => {
      const frame = document.createElement("iframe");
      frame.src = url;
      frame.id = "framed";
      frame.style.cssText = "width: 100%; height: 320px";
      document.body.prepend(frame);
    }, `${origin}/index.html`);
    const frame = await page.frame("#framed", origin);
    await frame.waitFor("#status.bad");
    assert.equal(await frame.text("#status"), "Extension found, but it does not serve this page.", name);
    assert.equal(await frame.text("#message-title"), "Tokens cannot be used inside a frame", name);
    const outcome = await ask(frame, { action: "listTokens" });
    assert.deepEqual(outcome.error, {
      name: "ConnectionError",
      reason: "sub-frame",
      message: "Vantrel serves only the top page of a tab, not a frame inside it.",
    }, name);
    if (origin === site.second) {
      await page.screenshot("browser-e2e-frame.png", "#framed");
    }
    await page.evaluate(() => document.getElementById("framed").remove());
  }
  assert.deepEqual(hostPids(), before);
});

test("a plain HTTP page that is not served from this computer is refused", STEP, async () => {
  const before = hostPids();
  const plain = await openPage(`${site.plainHttp}/index.html`);
  await plain.waitFor("#status.bad");
  assert.equal(await plain.text("#message-title"), "This page is not secure enough to use your tokens");
  const outcome = await ask(plain, { action: "listTokens" });
  assert.deepEqual(outcome.error, {
    name: "ConnectionError",
    reason: "plain-http",
    message: "Vantrel serves only HTTPS pages.",
  });
  await plain.screenshot("browser-e2e-plain-http.png");
  await plain.close();
  assert.deepEqual(hostPids(), before);
  assert.deepEqual(await openQuestionWindows(), []);
});

// ---- HTTPS sites the user allows ----------------------------------------------

let securePage;

const DENIED = {
  name: "ConnectionError",
  reason: "denied",
  message: "The user did not allow this site to use security tokens.",
};

// The row of the options page for the site `origin`, once it is shown.
async function optionsRow(options, origin) {
  const row = `#answers tr[data-origin="${origin}"]`;
  await options.waitFor(row);
  return row;
}

async function removeInOptions(options, origin) {
  const row = await optionsRow(options, origin);
  await options.click(`${row} button[aria-label="Remove ${origin}"]`);
  await options.waitForGone(row);
}

test("an HTTPS site is asked about; the user denies, the answer is kept, then removed in the options", STEP, async () => {
  const secure = (securePage = await session.newPage());
  const { window } = await questionRaisedBy(() => secure.goto(`${site.secure}/index.html`));
  const question = `Allow ${site.secure} to use your security tokens?`;
  assert.equal(await window.text("#title"), question);
  assert.equal(await window.title(), `Vantrel: ${question}`);
  assert.equal(await window.attribute("#dialog", "role"), "alertdialog");
  assert.deepEqual([await window.text("#yes"), await window.text("#no")], ["Allow", "Deny"]);
  // Its words say what the site can do, and that the site never sees a PIN typed in the extension's window.
  assert.deepEqual(await window.evaluate(() => [...document.querySelectorAll("#details p")].map((p) => p.textContent)), [
    "The site will be able to list your security tokens and the certificates on them.",
    "It can have you log in to a token, either in a window of this extension (the site never sees the PIN) or with a PIN typed into its own page.",
    "Each signature is shown to you in a window of this extension, and made only once you agree.",
    "You can take this back at any time in the Vantrel extension's options.",
  ]);
  assert.equal(await window.isVisible("#local"), false);
  await focusedOn(window);
  await accessibility.check(window, "the question about an HTTPS site");
  await window.screenshot("browser-e2e-ask-site.png");
  await answer(window, () => clickWhenReady(window, "#no"));

  await secure.waitFor("#status.bad");
  assert.equal(await secure.text("#message-title"), "You did not allow this site to use your security tokens");
  await secure.screenshot("browser-e2e-site-denied.png");
  // Kept: the next request is refused without asking again.
  assert.deepEqual((await ask(secure, { action: "info" })).error, DENIED);
  assert.deepEqual(await openQuestionWindows(), []);

  const options = await openOptions();
  assert.match(await options.text(await optionsRow(options, site.secure)), /Denied/);
  await options.screenshot("browser-e2e-options.png");
  await removeInOptions(options, site.secure);
  await options.close();
});

test("the HTTPS site is asked again and allowed by keyboard; the answer is kept, revoking it ends its host, and closing the window puts the site off until the options page asks again", STEP, async () => {
  const secure = securePage;
  const { window, outcome } = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await focusedOn(window);
  // Enter answers nothing (the refusal has the focus, and Enter goes ahead only from a PIN field); Tab and Space allow.
  await window.press("Enter");
  await ready(window);
  await window.press("Tab");
  await focusedOn(window, "#yes");
  const pid = await hostStartedBy(async () => {
    await answer(window, () => window.pressWhenReady("Space"));
    assert.equal((await outcome).reply.error, "There is no active token");
  });
  await login(secure);
  assert.ok((await signs(secure)).signature);
  assert.deepEqual(await openQuestionWindows(), []);

  const options = await openOptions();
  assert.match(await options.text(await optionsRow(options, site.secure)), /Allowed/);
  await removeInOptions(options, site.secure);
  await waitFor(() => !isRunning(pid), "the revoked site's host to end");
  await options.close();

  // Asked again. A window closed without an answer puts the site off: not
  // asked again until the browser restarts.
  const dismissed = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await dismissed.window.close();
  const NOT_NOW = {
    name: "ConnectionError",
    reason: "not-now",
    message: "The user closed the question whether this site may use security tokens; it is not asked again until the browser restarts.",
  };
  assert.deepEqual((await dismissed.outcome).error, NOT_NOW);
  assert.deepEqual((await ask(secure, { action: "info" })).error, NOT_NOW);
  assert.deepEqual(await openQuestionWindows(), []);
  await secure.goto(`${site.secure}/index.html`);
  await secure.waitFor("#status.bad");
  assert.equal(await secure.text("#message-title"), "You closed the question about this site");
  // The options page lists it and asks again.
  const putOff = await openOptions();
  const row = `#put-off tr[data-origin="${site.secure}"]`;
  await putOff.waitFor(row);
  await accessibility.check(putOff, "the options page with a site put off");
  await putOff.screenshot("browser-e2e-options-put-off.png");
  await putOff.click(`${row} button[aria-label="Ask again about ${site.secure}"]`);
  await putOff.waitForGone(row);
  await putOff.close();
  // Asked again; Escape answers no.
  const again = await questionRaisedBy(() => ask(secure, { action: "info" }));
  await answer(again.window, () => again.window.press("Escape"));
  assert.deepEqual((await again.outcome).error, DENIED);
  await secure.close();
});

// ---- What an administrator sets ------------------------------------------------

const POLICY_STEP = { ...STEP, skip: browser.policyUnavailable() };
const REQUEST_TIMEOUT_SECONDS = 4;
let adminPage;

test("an administrator's allowlist lets an HTTPS site in without asking", POLICY_STEP, async () => {
  await session.setPolicy({ allowedOrigins: [site.admin], requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS });
  hostOf.admin = await hostStartedBy(async () => {
    adminPage = await openPage(`${site.admin}/index.html`);
    await adminPage.waitFor("#status.good");
  });
  await login(adminPage);
  assert.ok((await signs(adminPage)).signature);
  assert.deepEqual(await openQuestionWindows(), []);
  assert.deepEqual(await openQuestionWindows(), []);

  const options = await openOptions();
  await options.waitForFunction(
    (origin) => [...document.querySelectorAll("#managed-origins li")].some((item) => item.textContent.includes(origin)),
    site.admin,
  );
  await optionsRow(options, site.secure);
  assert.deepEqual(
    await options.evaluate(() => [...document.querySelectorAll("#answers tr[data-origin]")].map((row) => row.dataset.origin)),
    [site.first, site.secure, site.second],
    "only the sites the user answered for",
  );
  assert.match(await options.text("#limits"), /within 4 seconds .* after 15 minutes/);
  await options.close();
});

test("a module call that never returns ends in the timeout message, and ends that origin's host only", POLICY_STEP, async () => {
  await hostOfOriginAfter("first", () => login(page, "write"));
  const started = Date.now();
  const stuck = ask(page, { action: "generateKeys", tokenSN, result: "csr" });
  // Meanwhile another origin's host answers as usual.
  await new Promise((resolve) => setTimeout(resolve, 1000));
  assert.equal((await ask(adminPage, { action: "info" })).reply.token, tokenSN);
  assert.ok(Date.now() - started < REQUEST_TIMEOUT_SECONDS * 1000, "answered while the other origin's request was stuck");
  const outcome = await stuck;
  const elapsed = Date.now() - started;
  assert.deepEqual(outcome.error, {
    name: "ConnectionError",
    reason: "timeout",
    message: "The security token did not answer within 4 seconds; the connection to it was closed and its login ended.",
  });
  assert.ok(elapsed >= REQUEST_TIMEOUT_SECONDS * 1000 && elapsed < 20000, `gave up after ${elapsed} ms`);
  const described = await page.evaluate(async (text) => (await import("/vantrel.js")).Vantrel.describeError(text), outcome.error.message);
  assert.equal(described.title, "The token did not answer in time");

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
    answer: (window) => clickWhenReady(window, "#no"),
    refusal: "The user refused to let this site delete the certificate.",
  },
  {
    request: () => ({ action: "formatToken", tokenSN, tokenPIN: "new-pin-1", adminPIN: "new-so-pin" }),
    question: () => `Let ${site.first} format the token “${TOKEN_LABEL}” (serial number ${tokenSN})?`,
    details: () => "Formatting erases every key and certificate on the token and sets a new PIN. This cannot be undone.",
    yes: "Format the token",
    answer: (window) => window.press("Escape"),
    refusal: "The user refused to let this site format the token.",
    screenshot: "browser-e2e-confirm-format.png",
  },
  {
    ...ORPHAN_KEYS,
    // The window stays open longer than a request may take: the time limit
    // starts when the request reaches the host.
    answer: async (window) => {
      await new Promise((resolve) => setTimeout(resolve, (REQUEST_TIMEOUT_SECONDS + 1) * 1000));
      await clickWhenReady(window, "#yes");
    },
    reply: () => ({ action: "deleteOrphanKeys", deletedPK: 0, deletedSK: 0, tokenSN }),
  },
  // Asked again: an answer to a destructive action is never remembered.
  { ...ORPHAN_KEYS, answer: (window) => clickWhenReady(window, "#no"), refusal: "The user refused to let this site delete the orphan keys." },
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
    assert.equal(await window.text("#title"), confirmation.question(), what);
    assert.equal(await window.text("#details"), confirmation.details(subject), what);
    assert.equal(await window.text("#yes"), confirmation.yes, what);
    await focusedOn(window, "#no");
    if (confirmation.screenshot) {
      await window.screenshot(confirmation.screenshot);
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
  // (In Firefox the reload of the add-on that brings the new policy ends every host.)
  await session.setPolicy({ requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS });
  await waitFor(() => !isRunning(hostOf.admin), "the administrator's site's host to end");
  const { window, outcome } = await questionRaisedBy(() => ask(adminPage, { action: "info" }));
  assert.equal(await window.text("#title"), `Allow ${site.admin} to use your security tokens?`);
  await answer(window, () => window.press("Escape"));
  assert.deepEqual((await outcome).error, DENIED);
  await adminPage.close();
});

test("a login ends after the administrator's idle time without requests from its origin", POLICY_STEP, async () => {
  const idleMs = LOGIN_IDLE_MINUTES * 60000;
  // Where a policy reaches the running extension, a shorter idle time applies
  // to the logins already waiting: the second origin's last request was longer
  // ago than that. (Firefox reads the policy when the add-on starts, and the
  // restart that brings it ends every host.)
  const waiting = hostOf.second;
  if (browser.policyAppliesLive) {
    assert.ok(isRunning(waiting));
  }
  await session.setPolicy({ requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS, loginIdleMinutes: LOGIN_IDLE_MINUTES });
  await waitFor(() => !isRunning(waiting), "the second origin's earlier host to end");
  const pid = await hostStartedBy(() => login(secondPage));
  await new Promise((resolve) => setTimeout(resolve, idleMs / 2));
  const lastRequest = Date.now();
  assert.equal((await ask(secondPage, { action: "info" })).reply.token, tokenSN, "still logged in half-way");
  await waitFor(() => !isRunning(pid), "the idle host to end", idleMs + 10000);
  const idled = Date.now() - lastRequest;
  assert.ok(idled >= idleMs, `ended ${idled} ms after the last request`);
  assert.equal((await ask(secondPage, { action: "info" })).reply.error, "There is no active token");
});

test("the idle clock runs while a window waits for the user: a login that idled out meanwhile ends when the window closes", POLICY_STEP, async () => {
  const idleMs = LOGIN_IDLE_MINUTES * 60000;
  for (const [how, end] of [
    ["cancelled", (window) => window.press("Escape")],
    ["confirmed", (window) => clickWhenReady(window, "#submit")],
  ]) {
    // A host of its own for this round: the one there is, if any, is stopped first.
    await ask(secondPage, { action: "noSuchAction" });
    const pid = await hostStartedBy(() => login(secondPage));
    const { window, outcome } = await session.signWindowRaisedBy(() => ask(secondPage, SIGNED));
    await new Promise((resolve) => setTimeout(resolve, idleMs + 2000));
    assert.ok(isRunning(pid), `${how}: the host waits for the window`);
    await answer(window, () => end(window));
    const { reply, error } = await outcome;
    if (how === "cancelled") {
      assert.equal(error.reason, "refused");
    } else {
      // The login had idled out: nothing is signed with it.
      assert.equal(reply.error, "Must login before being able to sign");
    }
    await waitFor(() => !isRunning(pid), `${how}: the idled-out host to end`);
    assert.equal((await ask(secondPage, { action: "info" })).reply.error, "There is no active token", how);
  }
});

test("with confirmEachSignature false a signature needs no window; allowLocalOrigins false locks the setting for local pages off", POLICY_STEP, async () => {
  await session.setPolicy({ requestTimeoutSeconds: REQUEST_TIMEOUT_SECONDS, confirmEachSignature: false, allowLocalOrigins: false });
  await login(page);
  const { reply } = await ask(page, SIGNED);
  assert.equal(Buffer.from(reply.signature, "base64").length, 256);
  assert.deepEqual(await session.windowsOf("sign"), []);
  const options = await openOptions();
  await options.waitFor("#local-fixed:not([hidden])");
  assert.equal(await options.isChecked("#local-origins"), false);
  assert.equal(await options.attribute("#local-origins", "disabled"), "");
  assert.equal(await options.text("#confirmation"),
    "Your administrator turned off the confirmation of each signature: only signatures that need a PIN are shown to you.");
  await options.close();
});

test("without a policy the defaults hold again", POLICY_STEP, async () => {
  await session.clearPolicy();
  const options = await openOptions();
  await options.waitFor("#no-managed-origins:not([hidden])");
  assert.match(await options.text("#limits"), /within 120 seconds .* after 15 minutes/);
  assert.equal(await options.text("#confirmation"), "Each signature is shown to you before it is made.");
  await options.waitForFunction(() => !document.querySelector("#local-origins").disabled && document.querySelector("#local-fixed").hidden);
  await options.close();
});

// ---- The extension's background ---------------------------------------------

const IDLE_STEP = {
  timeout: (browser.backgroundIdleMs ?? 0) + 60000,
  skip: browser.backgroundIdleMs === null && `the ${browser.name} driver keeps the extension's background alive`,
};

// Ends the host of every origin: an open connection to a host keeps the background alive.
async function endEveryHost() {
  for (const open of [page, secondPage]) {
    await ask(open, { action: "noSuchAction" });
  }
  await waitFor(() => hostProcesses().length === 0, "every host to exit");
}

test("a page that stayed open while the background stopped for want of events is served when it asks again", IDLE_STEP, async () => {
  await endEveryHost();
  await waitFor(async () => (await session.backgroundState()) === "stopped", "the background to stop", browser.backgroundIdleMs + 10000);
  await hostStartedBy(() => stepAnswered(page, "#list-tokens"));
  assert.equal(await session.backgroundState(), "running");
  assert.equal(await page.isVisible("#message"), false);
  assert.ok(await page.isVisible(`#tokens tr[data-token-sn="${tokenSN}"]`));
});

test("a question the user takes longer to answer than the background's idle time is still answered", IDLE_STEP, async () => {
  await endEveryHost();
  const options = await openOptions();
  await removeInOptions(options, site.secure);
  await options.close();

  const secure = await session.newPage();
  const { window } = await questionRaisedBy(() => secure.goto(`${site.secure}/index.html`));
  await focusedOn(window);
  // The background would be stopped meanwhile, and the question with it, but
  // for the window's messages to it while it waits.
  await new Promise((resolve) => setTimeout(resolve, browser.backgroundIdleMs + 3000));
  assert.equal(await session.backgroundState(), "running");
  assert.equal(await window.isClosed(), false, "the question window is still open");
  await answer(window, () => clickWhenReady(window, "#yes"));
  await secure.waitFor("#status.good");
  assert.equal((await ask(secure, { action: "info" })).reply.error, "There is no active token");
  await secure.close();
});

test("the host's log files hold the exchanges but no PIN", STEP, () => {
  const logs = fs.readdirSync(logDir).map((name) => fs.readFileSync(path.join(logDir, name), "utf8")).join("\n");
  assert.match(logs, /"action":"sign"/);
  assert.match(logs, /"action":"login"/);
  assert.equal(logs.includes(USER_PIN), false);
  assert.equal(logs.includes(WRONG_PIN), false);
});
