// docs/protocol.md against the built host: every example exchange in it is
// sent to the host, in order, on a SoftHSM2 token set up as the reference
// says, and each reply is compared with the one written there; every action
// of the host has its section and its examples; every error text the
// reference quotes is one the host's source holds. So the reference cannot
// drift from the host.
//
// How the examples are written and compared (the reference says the same
// under "About the examples"):
// - A block of exchanges is a fenced block marked "exchange": lines "→ "
//   and a request, "← " and its reply, or "← (no reply: the host stops)".
// - All blocks run in one host, in order; after a stop the next request
//   starts a new host, as a browser would.
// - Members that differ from one run to the next (RUN_DEPENDENT) are compared
//   by their form: the same length and kind of text, or for a value shortened
//   with "…" the same beginning and end. A whole value the reference shows and
//   the value of this run are then remembered as the same thing, so a later
//   request or reply that shows it again gets this run's value.
// - A certificate shortened with "…" in an importCertificate request stands
//   for the one the example CA issued for the latest certification request;
//   the same shortened text later stands for that certificate too.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import readline from "node:readline";
import { BUILD, SOFTHSM, SOURCE, hostActions, installHost, makeCa, makeToken, makeWorkspace, testEnvironment } from "./support/environment.mjs";

const REFERENCE = path.join(SOURCE, "docs", "protocol.md");
const RUN_DEPENDENT = new Set(["tokenSN", "token", "id", "csr", "signature", "certificate", "activationCode"]);

// What the reference says the examples were made with.
const EXAMPLE = {
  label: "Vantrel example",
  userPin: "123456",
  soPin: "87654321",
  ca: "Vantrel Example CA",
  subject: "/CN=Vantrel Example User/O=Vantrel",
  serial: "00c0ffee5a17",
};

const reference = fs.readFileSync(REFERENCE, "utf8");
const space = makeWorkspace("protocol");
let ca;

before(() => {
  makeToken(space, { label: EXAMPLE.label, soPin: EXAMPLE.soPin, userPin: EXAMPLE.userPin });
  installHost(space, SOFTHSM);
  ca = makeCa(space.file("ca"), EXAMPLE.ca);
});

after(() => fs.rmSync(space.work, { recursive: true, force: true }));

/** The exchange blocks of the reference: lists of { request, reply | null, line }. */
function exchanges(text) {
  const blocks = [];
  const lines = text.split("\n");
  let block = null;
  lines.forEach((line, index) => {
    if (block === null && line.trim() === "```exchange") {
      block = [];
    } else if (block !== null && line.trim() === "```") {
      blocks.push(block);
      block = null;
    } else if (block !== null && line.startsWith("→ ")) {
      block.push({ request: JSON.parse(line.slice(2)), line: index + 1 });
    } else if (block !== null && line.startsWith("← ")) {
      const exchange = block.at(-1);
      assert.ok(exchange && !("reply" in exchange), `docs/protocol.md:${index + 1}: a reply without its request`);
      const reply = line.slice(2);
      exchange.reply = reply === "(no reply: the host stops)" ? null : JSON.parse(reply);
    } else if (block !== null && line.trim() !== "") {
      assert.fail(`docs/protocol.md:${index + 1}: an exchange line starts with "→ " or "← "`);
    }
  });
  for (const exchange of blocks.flat()) {
    assert.ok("reply" in exchange, `docs/protocol.md:${exchange.line}: a request without its reply`);
  }
  return blocks;
}

// The host, through vantrel-client: one request per line, one reply per line.
class Host {
  start() {
    this.client = spawn(path.join(BUILD, "vantrel-client"), ["--host", space.hostPath], {
      env: testEnvironment(space),
      stdio: ["pipe", "pipe", "ignore"],
    });
    this.lines = readline.createInterface({ input: this.client.stdout })[Symbol.asyncIterator]();
  }

  async send(request) {
    if (!this.client) {
      this.start();
    }
    this.client.stdin.write(JSON.stringify(request) + "\n");
    const { value, done } = await this.lines.next();
    if (done) {
      await this.stop();
      return null;
    }
    return JSON.parse(value);
  }

  async stop() {
    if (this.client) {
      const client = this.client;
      this.client = null;
      client.stdin.end();
      if (client.exitCode === null) {
        await new Promise((resolve) => client.on("close", resolve));
      }
    }
  }
}

const SHORTENED = "…";
const HEX = /^[0-9a-f]*$/;
const BASE64 = /^[A-Za-z0-9+/]*={0,2}$/;

// Documented value -> this run's value, for run-dependent ones.
const sameAs = new Map();
let latestCsr = null;

function checkForm(documented, actual, where) {
  assert.equal(typeof actual, "string", where);
  if (documented.includes(SHORTENED)) {
    const [start, end] = documented.split(SHORTENED);
    assert.ok(actual.startsWith(start) && actual.endsWith(end), `${where}: ${actual} is not ${documented}`);
    return;
  }
  assert.equal(actual.length, documented.length, `${where}: ${actual} has not the length of ${documented}`);
  const kind = HEX.test(documented) ? HEX : BASE64;
  assert.match(actual, kind, where);
}

function compare(documented, actual, where, name = null) {
  if (name !== null && RUN_DEPENDENT.has(name) && typeof documented === "string") {
    if (sameAs.has(documented)) {
      assert.equal(actual, sameAs.get(documented), `${where}: ${name}`);
      return;
    }
    checkForm(documented, actual, `${where}: ${name}`);
    // Shortened values of the same form look alike: only a whole one names one thing.
    if (!documented.includes(SHORTENED)) {
      sameAs.set(documented, actual);
    }
    return;
  }
  if (Array.isArray(documented)) {
    assert.ok(Array.isArray(actual) && actual.length === documented.length, `${where}: ${JSON.stringify(actual)}`);
    documented.forEach((item, index) => compare(item, actual[index], `${where}[${index}]`, name));
    return;
  }
  if (documented !== null && typeof documented === "object") {
    assert.deepEqual(Object.keys(actual).sort(), Object.keys(documented).sort(), `${where}: ${JSON.stringify(actual)}`);
    for (const [member, value] of Object.entries(documented)) {
      compare(value, actual[member], `${where}.${member}`, member);
    }
    return;
  }
  assert.deepEqual(actual, documented, where);
}

// The request to send for a documented one: this run's values in place of the documented ones.
function thisRun(request) {
  const substituted = JSON.parse(JSON.stringify(request), (member, value) =>
    typeof value === "string" && sameAs.has(value) ? sameAs.get(value) : value);
  if (request.action === "importCertificate" && String(request.certificate).includes(SHORTENED)) {
    assert.ok(latestCsr, "an import of an issued certificate before any certification request");
    const issued = ca.issue(latestCsr, { serial: EXAMPLE.serial, subject: EXAMPLE.subject }).der.toString("base64");
    sameAs.set(request.certificate, issued);
    substituted.certificate = issued;
  }
  return substituted;
}

test("every example exchange of the reference is what the host answers", { timeout: 120000 }, async () => {
  const blocks = exchanges(reference);
  assert.ok(blocks.length >= 14, `only ${blocks.length} blocks of examples`);
  const host = new Host();
  try {
    for (const exchange of blocks.flat()) {
      const where = `docs/protocol.md:${exchange.line}`;
      const reply = await host.send(thisRun(exchange.request));
      if (exchange.reply === null) {
        assert.equal(reply, null, `${where}: the host answered ${JSON.stringify(reply)}`);
        continue;
      }
      assert.ok(reply, `${where}: the host stopped without a reply`);
      compare(exchange.reply, reply, where);
      if (reply.csr) {
        latestCsr = reply.csr;
      }
    }
  } finally {
    await host.stop();
  }
});

test("every action of the host has its section in the reference, with examples of it", () => {
  const actions = hostActions();
  assert.equal(actions.length, 14);
  const sent = new Set(exchanges(reference).flat().map((e) => e.request.action));
  for (const action of actions) {
    assert.match(reference, new RegExp(`^### \`${action}\`$`, "m"), `a section for ${action}`);
    assert.ok(sent.has(action), `an example of ${action}`);
  }
  const sections = [...reference.matchAll(/^### `(\w+)`$/gm)].map((m) => m[1]);
  assert.deepEqual(sections.filter((s) => !actions.includes(s)), [], "sections for actions the host does not have");
});

// Every text in the host's sources, joined, for looking error texts up.
function hostTexts() {
  const files = [];
  const walk = (folder) => {
    for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
      const file = path.join(folder, entry.name);
      if (entry.isDirectory()) {
        walk(file);
      } else if (/\.(cpp|h)$/.test(entry.name)) {
        files.push(fs.readFileSync(file, "utf8"));
      }
    }
  };
  walk(path.join(SOURCE, "src"));
  return files.join("\n");
}

test("every error text the reference quotes is one of the host's", () => {
  const sources = hostTexts();
  // Error tables quote texts as `"…"`; a part in <angle brackets> is filled in by the host.
  const quoted = [...reference.matchAll(/^\| `"([^`]+)"`/gm)].map((m) => m[1]);
  assert.ok(quoted.length >= 40, `only ${quoted.length} error texts quoted`);
  for (const text of quoted) {
    // The host appends " (rc=<code>)" to the text it has in its sources.
    const own = text.replace(/ \(rc=(\d+|<code>)\)$/, "");
    for (const fixed of own.split(/<[^>]+>/).filter((part) => part.length > 3)) {
      assert.ok(sources.includes(fixed), `"${fixed}" (from "${text}") is not in the host's sources`);
    }
  }
});

// The module the examples were made with is the one the test loads.
test("the reference names the module and token the examples come from", () => {
  assert.ok(reference.includes(path.basename(SOFTHSM)));
  for (const value of [EXAMPLE.label, EXAMPLE.userPin, EXAMPLE.soPin, EXAMPLE.ca]) {
    assert.ok(reference.includes(value), value);
  }
});
