// How the extension's requests wait (background/attention.js), in Node: one
// origin's requests one after the other, at most three windows open across
// origins, at most twenty requests waiting for the user and "busy" beyond,
// and requests given up (the page gone, the site revoked).
import { test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";

const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "extension");
const { Attention, MAX_WAITING, MAX_WINDOWS } = await import(path.join(EXTENSION, "background", "attention.js"));

const BUSY = { name: "Refusal", reason: "busy", message: "Too many requests are waiting for the user; try again later." };
const tick = () => new Promise((resolve) => setTimeout(resolve, 0));

/** A request's work that waits until the test lets it go, and records what happened to it. */
function held(log, name) {
  let release;
  const done = new Promise((resolve) => (release = resolve));
  const work = async (signal) => {
    log.push(`start ${name}`);
    signal.addEventListener("abort", () => log.push(`abort ${name}`));
    await done;
    log.push(`end ${name}`);
    return name;
  };
  return { work, release };
}

/** Work that opens a window (takes a turn) and keeps it until `close()` is called. */
function windowWork(attention, origin, log, name) {
  let close;
  const closed = new Promise((resolve) => (close = resolve));
  const work = async () => {
    const giveBack = await attention.turnForWindow(origin);
    log.push(`window ${name}`);
    await closed;
    giveBack();
    return name;
  };
  return { work, close };
}

function outcome(promise) {
  return promise.then(
    (value) => ({ value }),
    (error) => ({ error: { name: error.name, reason: error.reason, message: error.message } }),
  );
}

test("an origin's requests run one at a time, in the order they came; other origins' do not wait for them", async () => {
  const attention = new Attention();
  const log = [];
  const first = held(log, "a1");
  const second = held(log, "a2");
  const other = held(log, "b1");
  const results = [
    attention.enqueue("https://a.example", first.work),
    attention.enqueue("https://a.example", second.work),
    attention.enqueue("https://b.example", other.work),
  ];
  await tick();
  assert.deepEqual(log, ["start a1", "start b1"]);
  assert.equal(attention.busy("https://a.example"), true);
  second.release();
  other.release();
  await tick();
  assert.deepEqual(log, ["start a1", "start b1", "end b1"], "a2 waits for a1, done or not");
  first.release();
  assert.deepEqual(await Promise.all(results), ["a1", "a2", "b1"]);
  assert.deepEqual(log.slice(3), ["end a1", "start a2", "end a2"]);
  assert.equal(attention.busy("https://a.example"), false);
});

test(`at most ${MAX_WINDOWS} windows are open at once; the others get their turn in order as windows close`, async () => {
  const attention = new Attention();
  const log = [];
  const windows = ["a", "b", "c", "d", "e"].map((name) => windowWork(attention, `https://${name}.example`, log, name));
  const results = windows.map((w, i) => attention.enqueue(`https://${"abcde"[i]}.example`, w.work));
  await tick();
  assert.deepEqual(log, ["window a", "window b", "window c"]);
  assert.equal(attention.waiting(), 5, "every request with a window or waiting for one waits for the user");
  windows[1].close();
  await tick();
  assert.deepEqual(log.slice(3), ["window d"]);
  windows[0].close();
  await tick();
  assert.deepEqual(log.slice(4), ["window e"]);
  for (const w of windows) {
    w.close();
  }
  assert.deepEqual(await Promise.all(results), ["a", "b", "c", "d", "e"]);
  assert.equal(attention.waiting(), 0);
});

test(`at most ${MAX_WAITING} requests wait for the user: behind an open window the next one is busy, elsewhere nothing is`, async () => {
  const attention = new Attention();
  const log = [];
  const window = windowWork(attention, "https://a.example", log, "a");
  const results = [attention.enqueue("https://a.example", window.work)];
  await tick();
  for (let i = 1; i < MAX_WAITING; i++) {
    results.push(attention.enqueue("https://a.example", async () => `a${i}`));
  }
  assert.equal(attention.waiting(), MAX_WAITING);
  assert.deepEqual(await outcome(attention.enqueue("https://a.example", async () => "one too many")), { error: BUSY });
  // Another origin's requests that need no window do not wait for the user.
  assert.deepEqual(await outcome(attention.enqueue("https://b.example", async () => "b")), { value: "b" });
  // Nor may another origin open a window now.
  const blocked = windowWork(attention, "https://c.example", log, "c");
  assert.deepEqual(await outcome(attention.enqueue("https://c.example", blocked.work)), { error: BUSY });
  window.close();
  const values = await Promise.all(results);
  assert.equal(values.length, MAX_WAITING);
  assert.equal(attention.waiting(), 0);
});

test("requests queued before a window opened count once it opens: the latest beyond the limit are busy", async () => {
  const attention = new Attention({ maxWaiting: 4 });
  const log = [];
  const window = windowWork(attention, "https://a.example", log, "a");
  const results = [attention.enqueue("https://a.example", window.work)];
  for (let i = 1; i <= 5; i++) {
    results.push(outcome(attention.enqueue("https://a.example", async () => `a${i}`)));
  }
  await tick();
  assert.deepEqual(log, ["window a"]);
  assert.equal(attention.waiting(), 4);
  window.close();
  assert.equal(await results[0], "a");
  assert.deepEqual(await Promise.all(results.slice(1)), [
    { value: "a1" },
    { value: "a2" },
    { value: "a3" },
    { error: BUSY },
    { error: BUSY },
  ]);
});

test("a revoked origin's requests fail with the refusal at once, running or queued, and its next request starts afresh", async () => {
  const attention = new Attention();
  const log = [];
  const running = held(log, "a1");
  const first = outcome(attention.enqueue("https://a.example", running.work));
  const queued = outcome(attention.enqueue("https://a.example", async () => "a2"));
  const other = held(log, "b1");
  const unaffected = attention.enqueue("https://b.example", other.work);
  await tick();
  const refusal = Object.assign(new Error("This site is not allowed to use security tokens."), { name: "Refusal", reason: "not-allowed" });
  attention.revoke("https://a.example", refusal);
  const expected = { error: { name: "Refusal", reason: "not-allowed", message: refusal.message } };
  assert.deepEqual(await first, expected, "the running request, whose work has not ended");
  assert.deepEqual(await queued, expected);
  assert.ok(log.includes("abort a1"), "the running work was told");
  running.release();
  other.release();
  assert.equal(await unaffected, "b1");
  await tick();
  assert.equal(await attention.enqueue("https://a.example", async () => "again"), "again");
});

test("a request given up while it waits for its turn at a window leaves the turn to the next one", async () => {
  const attention = new Attention({ maxWindows: 1 });
  const log = [];
  const open = windowWork(attention, "https://a.example", log, "a");
  const opening = attention.enqueue("https://a.example", open.work);
  const pageGone = new AbortController();
  const waiting = windowWork(attention, "https://b.example", log, "b");
  const givenUp = outcome(attention.enqueue("https://b.example", waiting.work, pageGone.signal));
  const next = windowWork(attention, "https://c.example", log, "c");
  const served = attention.enqueue("https://c.example", next.work);
  await tick();
  pageGone.abort(new Error("The page went away."));
  assert.deepEqual(await givenUp, { error: { name: "Error", reason: undefined, message: "The page went away." } });
  open.close();
  await tick();
  assert.deepEqual(log, ["window a", "window c"]);
  next.close();
  assert.deepEqual(await Promise.all([opening, served]), ["a", "c"]);
  assert.equal(attention.windowsOpen, 0);
});
