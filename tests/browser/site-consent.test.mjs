// Which sites the user lets in, and taking it back, in a real headless
// browser (Chromium or Firefox, as support/browser.mjs says) with the built
// host on a SoftHSM2 token of this test's own: pages served from this
// computer (refused by default, asked about once the options page lets them
// ask, the answer kept for the browser session only and forgotten when the
// setting goes off), one question window per site whatever it asks for, and
// a site removed in the options page while one of its windows is open (a
// PIN window, a signature, a deletion): the window closes, what the site
// asked for fails with the refusal, and its host ends with its login. Each
// new window state is checked with axe-core and photographed.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import https from "node:https";
import {
  SOFTHSM,
  closeServers,
  enrolled,
  hostProcesses,
  installHost,
  makeCa,
  makeToken,
  makeWebCertificate,
  makeWorkspace,
  serveWeb,
  waitFor,
  withClient,
} from "./support/environment.mjs";
import { answer, ask, browserDriver, clickWhenReady, focusedOn } from "./support/browser.mjs";
import { AccessibilityRecord, WINDOW_WAIT_MS } from "./support/page-driver.mjs";

const TOKEN_LABEL = "Vantrel consent test";
const USER_PIN = "pin-3141";
const SERIAL = "00c0ffee3141";
const SITE_NAMES = ["one.example", "two.example", "three.example", "four.example", "five.example"];
const STEP = { timeout: 90000 };

const LOCAL_ORIGIN = {
  name: "ConnectionError",
  reason: "local-origin",
  message: "Pages served from this computer may not use security tokens. Turn this on in the Vantrel extension's options (for development).",
};
const NOT_ALLOWED = { name: "ConnectionError", reason: "not-allowed", message: "This site is not allowed to use security tokens." };

const browser = await browserDriver();
const space = makeWorkspace("consent");
const accessibility = new AccessibilityRecord("site-consent", { strict: true });
const servers = [];
const site = {};
let session;
let tokenSN;

before(async () => {
  makeToken(space, { label: TOKEN_LABEL, soPin: "12345678", userPin: USER_PIN });
  installHost(space, SOFTHSM);
  const ca = makeCa(space.file("ca"), "Vantrel Consent Test CA");
  await withClient(space, async (send) => {
    tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenLabel === TOKEN_LABEL).tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    await enrolled(send, ca, { serial: SERIAL, subject: "/CN=Vantrel Consent Test" });
  });
  browser.register(space);
  const tls = makeWebCertificate(space.file("tls"), SITE_NAMES);
  const served = await Promise.all([serveWeb(http.createServer), serveWeb((handler) => https.createServer(tls, handler))]);
  servers.push(...served.map((s) => s.server));
  const [plain, secure] = served.map((s) => s.port);
  Object.assign(site, {
    local: `http://127.0.0.1:${plain}`,
    localhost: `http://localhost:${plain}`,
    one: `https://one.example:${secure}`,
    two: `https://two.example:${secure}`,
    hops: ["three", "four", "five"].map((name) => `https://${name}.example:${secure}`),
  });
  session = await browser.launch(space, { siteNames: SITE_NAMES, trustedCa: tls.ca });
}, { timeout: 180000 });

after(async () => {
  accessibility.write();
  await session?.close();
  closeServers(servers);
  fs.rmSync(space.work, { recursive: true, force: true });
}, { timeout: 60000 });

function hostPids() {
  return new Set(hostProcesses(space.hostPath).map((p) => p.pid));
}

function isRunning(pid) {
  return hostPids().has(pid);
}

async function hostStartedBy(work) {
  const before = hostPids();
  await work();
  const started = [...hostPids()].filter((pid) => !before.has(pid));
  assert.equal(started.length, 1, `host processes started: ${started.join(", ")}`);
  return started[0];
}

/** The options page with its setting for pages served from this computer turned `on`, waiting until it took. */
async function setLocalPages(on) {
  const options = await session.openOptions();
  await options.waitFor("#local-origins");
  if ((await options.isChecked("#local-origins")) !== on) {
    await options.click("#local-origins");
  }
  await options.waitForFunction((wanted) => document.querySelector("#local-origins").checked === wanted, on);
  return options;
}

/** What the extension keeps in its storage areas, read in one of its own pages. */
function stored(extensionPage) {
  return extensionPage.evaluate(async () => {
    const api = globalThis.browser ?? globalThis.chrome;
    return { local: Object.keys(await api.storage.local.get(null)), session: Object.keys(await api.storage.session.get(null)) };
  });
}

async function removeSite(origin) {
  const options = await session.openOptions();
  const row = `#answers tr[data-origin="${origin}"]`;
  await options.waitFor(row);
  await options.click(`${row} button[aria-label="Remove ${origin}"]`);
  await options.waitForGone(row);
  return options;
}

/** Opens `url` in a new tab and allows its site in the question it raises. */
async function allowedPage(url) {
  const page = await session.newPage();
  const { window } = await session.questionRaisedBy(() => page.goto(url));
  await answer(window, () => clickWhenReady(window, "#yes"));
  await page.waitFor("#status.good");
  return page;
}

test("a page served from this computer is refused by default, with no question and no host", STEP, async () => {
  const before = hostPids();
  for (const origin of [site.local, site.localhost]) {
    const page = await session.newPage(`${origin}/index.html`);
    await page.waitFor("#status.bad");
    assert.equal(await page.text("#message-title"), "Pages served from this computer may not use your tokens", origin);
    assert.deepEqual((await ask(page, { action: "listTokens" })).error, LOCAL_ORIGIN, origin);
    if (origin === site.local) {
      await page.screenshot("site-consent-local-refused.png");
    }
    await page.close();
  }
  assert.deepEqual(hostPids(), before);
  assert.deepEqual(await session.windowsOf("question"), []);
});

let localPage;

test("with the setting on, a local page is asked about like any site, saying it is served from this computer without encryption, and served once allowed; the answer lasts for the session only", STEP, async () => {
  const options = await setLocalPages(true);
  await accessibility.check(options, "the options page, pages served from this computer allowed to ask");
  await options.screenshot("site-consent-options-local-on.png");
  localPage = await session.newPage();
  const { window } = await session.questionRaisedBy(() => localPage.goto(`${site.local}/index.html`));
  assert.equal(await window.text("#title"), `Allow ${site.local} to use your security tokens?`);
  assert.equal(await window.isVisible("#local"), true);
  assert.equal(await window.text("#local"), "This page is served from this computer without encryption.");
  await focusedOn(window);
  await accessibility.check(window, "the question about a page served from this computer");
  await window.screenshot("site-consent-ask-local.png");
  await hostStartedBy(async () => {
    await answer(window, () => clickWhenReady(window, "#yes"));
    await localPage.waitFor("#status.good");
  });
  assert.equal((await ask(localPage, { action: "info" })).reply.error, "There is no active token");

  const row = `#answers tr[data-origin="${site.local}"]`;
  await options.waitFor(row);
  assert.match(await options.text(row), /Allowed, until the browser restarts/);
  const keys = await stored(options);
  assert.ok(keys.session.includes(`site:${site.local}`), JSON.stringify(keys));
  assert.ok(!keys.local.includes(`site:${site.local}`), JSON.stringify(keys));
  await options.close();
});

test("turning the setting off forgets the answers for local pages, ends their hosts and refuses them again", STEP, async () => {
  const [pid] = hostProcesses(space.hostPath).map((p) => p.pid);
  assert.ok(pid);
  const options = await setLocalPages(false);
  await waitFor(() => !isRunning(pid), "the local page's host to end");
  await waitFor(async () => !(await stored(options)).session.includes(`site:${site.local}`), "the answer to be forgotten");
  assert.deepEqual((await ask(localPage, { action: "info" })).error, LOCAL_ORIGIN);
  await options.close();
  await localPage.close();
});

let onePage;

test("one question window per site: the site's later requests, from any of its tabs, wait for its answer", STEP, async () => {
  onePage = await session.newPage();
  const { window } = await session.questionRaisedBy(() => onePage.goto(`${site.one}/index.html`));
  // More requests of the same site while its question is open, from this tab and from another one of the site.
  const waiting = [ask(onePage, { action: "listTokens" }), ask(onePage, { action: "info" })];
  const secondTab = await session.newPage(`${site.one}/index.html`);
  await answer(window, () => clickWhenReady(window, "#yes"));
  // Each was served without a window of its own to answer.
  await onePage.waitFor("#status.good");
  for (const later of await Promise.all(waiting)) {
    assert.ok(later.reply, JSON.stringify(later));
  }
  await secondTab.waitFor("#status.good");
  assert.deepEqual(await session.windowsOf("question"), []);
  await secondTab.close();
});

test("a tab that hops from site to site leaves one question open, its current site's: a page that went away takes its question with it", STEP, async () => {
  const tab = await session.newPage();
  for (const origin of site.hops) {
    const { window } = await session.questionRaisedBy(() => tab.goto(`${origin}/index.html`));
    assert.equal(await window.text("#title"), `Allow ${origin} to use your security tokens?`);
  }
  await waitFor(async () => (await session.windowsOf("question")).length === 1, "the questions of the pages left to close");
  const [open] = await session.windowsOf("question");
  assert.ok(open, "the last site's question is open");
  await tab.close();
  await waitFor(async () => (await session.windowsOf("question")).length === 0, "the last question to close with its page");
  // Pages that went away answered nothing: their sites are still to be asked.
  const options = await session.openOptions();
  await options.waitFor("#no-put-off:not([hidden])");
  const answered = await options.evaluate(() => [...document.querySelectorAll("#answers tr[data-origin]")].map((row) => row.dataset.origin));
  assert.deepEqual(answered.filter((origin) => site.hops.includes(origin)), []);
  await options.close();
});

// The windows a site can have open when it is removed, each with the request that opens it.
const OPEN_WINDOWS = [
  {
    kind: "pin",
    what: "a PIN window",
    request: () => ({ action: "login", tokenSN, pinPrompt: true }),
  },
  {
    kind: "sign",
    what: "a signature's window",
    loggedIn: true,
    request: () => ({ action: "sign", certificateSN: `0206${SERIAL}`, payload: "Revoked before it was signed." }),
  },
  {
    kind: "question",
    what: "a deletion's question",
    loggedIn: true,
    request: () => ({ action: "deleteCertificate", certificateSN: `0206${SERIAL}` }),
  },
];

test("removing a site while one of its windows is open closes the window, fails its requests with the refusal, and ends its host", { timeout: 180000 }, async () => {
  for (const { kind, what, loggedIn, request } of OPEN_WINDOWS) {
    onePage ??= await allowedPage(`${site.one}/index.html`);
    if (loggedIn) {
      assert.equal((await ask(onePage, { action: "login", tokenSN, pin: USER_PIN, mode: "write" })).reply.error, undefined);
    } else {
      await ask(onePage, { action: "info" });
    }
    // The site's host is the only one running.
    const [pid] = await waitFor(() => hostPids().size === 1 && [...hostPids()], "the site's host alone");
    const raised = await session.windowRaisedBy(() => ask(onePage, request()), kind);
    const queued = ask(onePage, { action: "info" });
    const options = await removeSite(site.one);
    await waitFor(() => raised.window.isClosed(), `${what} to close`, WINDOW_WAIT_MS);
    assert.deepEqual((await raised.outcome).error, NOT_ALLOWED, what);
    assert.deepEqual((await queued).error, NOT_ALLOWED, `${what}: the request queued behind it`);
    await waitFor(() => !isRunning(pid), `${what}: the site's host to end`);
    await options.close();
    await onePage.close();
    onePage = null;
  }
  // Nothing was deleted or signed: the certificate is still there, and the host logged no signature of it.
  const listed = await withClient(space, (send) => send({ action: "listCertificates", tokenSN }));
  assert.deepEqual(listed.certificates.map((c) => c.serialNumber), [SERIAL]);
  const logs = fs.readdirSync(space.logDir).map((name) => fs.readFileSync(`${space.logDir}/${name}`, "utf8")).join("\n");
  assert.equal(logs.includes("Revoked before it was signed."), false);
});
