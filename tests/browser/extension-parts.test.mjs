// The extension's parts fit together: the manifest names the background, the
// content script and the options page where they are; every kind of window
// the background opens has its page, which runs on the windows' shared code;
// and the one name the content script cannot import, its port's, is the
// shared module's.
import { test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { EXTENSION } from "./support/extension-stand-ins.mjs";
import { WINDOW_PAGES as DRIVEN_PAGES } from "./support/page-driver.mjs";

const { PORTS, WINDOW_PAGES } = await import(path.join(EXTENSION, "shared", "messages.js"));
const read = (name) => fs.readFileSync(path.join(EXTENSION, name), "utf8");

test("the manifest names the background, the content script and the options page in their folders", () => {
  const manifest = JSON.parse(read("manifest.json"));
  const named = [
    manifest.background.service_worker,
    ...manifest.background.scripts,
    ...manifest.content_scripts.flatMap((script) => script.js),
    manifest.options_ui.page,
    manifest.storage.managed_schema,
  ];
  assert.deepEqual(named, [
    "background/background.js",
    "background/background.js",
    "content/content.js",
    "windows/options.html",
    "managed-schema.json",
  ]);
  for (const file of named) {
    assert.ok(fs.existsSync(path.join(EXTENSION, file)), file);
  }
});

test("every kind of window has its page, whose script connects through the windows' shared code; the tests drive the same pages", () => {
  assert.deepEqual(DRIVEN_PAGES, WINDOW_PAGES);
  for (const [kind, page] of Object.entries(WINDOW_PAGES)) {
    const html = read(page);
    const script = /<script type="module" src="([^"]+)"><\/script>/.exec(html);
    assert.ok(script, `${kind}: a module script`);
    assert.match(read(path.join(path.dirname(page), script[1])), /connectWindow\(/, `${kind}: connects through window-page.js`);
    for (const id of ["dialog", "title", "local"]) {
      assert.match(html, new RegExp(`id="${id}"`), `${kind}: #${id}`);
    }
  }
});

test("the content script's port has the shared name, and nothing else spells the port names out", () => {
  assert.match(read("content/content.js"), new RegExp(`const PAGE_PORT = "${PORTS.page}";`));
  const spelled = [];
  const walk = (folder) => {
    for (const entry of fs.readdirSync(path.join(EXTENSION, folder), { withFileTypes: true })) {
      const name = path.join(folder, entry.name);
      if (entry.isDirectory()) {
        walk(name);
      } else if (name.endsWith(".js") && name !== path.join("shared", "messages.js") && name !== path.join("content", "content.js")) {
        if (Object.values(PORTS).some((port) => read(name).includes(`"${port}"`))) {
          spelled.push(name);
        }
      }
    }
  };
  walk(".");
  assert.deepEqual(spelled, []);
});
