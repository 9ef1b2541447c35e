// The token console, served over HTTPS as https://console.example (mapped to
// this machine, with a certificate from a web CA of the test's own that the
// browser trusts) and open in the first tab of a browser on the workspace's
// host, for the tests that drive it. The extension asks whether the site may
// use the tokens; the user allows it. The tests make the workspace's token
// and install its host first.
import https from "node:https";
import { closeServers, makeWebCertificate, serveWeb } from "./environment.mjs";
import { answer, clickWhenReady } from "./browser.mjs";

export const CONSOLE_NAME = "console.example";

/**
 * Registers the workspace's host with `browser`, serves web/ and opens the
 * console, allowed to use the tokens: resolves with { site, session, page,
 * close(screenshot) }, where close() photographs the page as the tests left
 * it into `screenshot`, then ends the browser and the server. `environment`
 * is added to the browser's, and so to its hosts'.
 */
export async function openConsole(browser, space, { environment = {} } = {}) {
  browser.register(space);
  const tls = makeWebCertificate(space.file("tls"), [CONSOLE_NAME]);
  const { server, port } = await serveWeb((handler) => https.createServer(tls, handler));
  const site = `https://${CONSOLE_NAME}:${port}`;
  let session;
  try {
    session = await browser.launch(space, { siteNames: [CONSOLE_NAME], trustedCa: tls.ca, environment });
    const page = await session.firstPage();
    const { window } = await session.questionRaisedBy(() => page.goto(`${site}/index.html`));
    await answer(window, () => clickWhenReady(window, "#yes"));
    await page.waitFor("#status.good");
    return {
      site,
      session,
      page,
      async close(screenshot) {
        await page.screenshot(screenshot).catch(() => {});
        await session.close();
        closeServers([server]);
      },
    };
  } catch (error) {
    await session?.close().catch(() => {});
    closeServers([server]);
    throw error;
  }
}
