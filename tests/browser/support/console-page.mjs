// The token console, served on a port of its own and open in the first tab of
// a browser on the workspace's host, for the tests that drive it. The tests
// make the workspace's token and install its host first.
import http from "node:http";
import { closeServers, serveWeb } from "./environment.mjs";

/**
 * Registers the workspace's host with `browser`, serves web/ and opens the
 * console: resolves with { site, session, page, close(screenshot) }, where
 * close() photographs the page as the tests left it into `screenshot`, then
 * ends the browser and the server.
 */
export async function openConsole(browser, space) {
  browser.register(space);
  const { server, port } = await serveWeb(http.createServer);
  const site = `http://127.0.0.1:${port}`;
  let session;
  try {
    session = await browser.launch(space);
    const page = await session.firstPage();
    await page.goto(`${site}/index.html`);
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
