// Stand-ins for what the extension's background modules see of the browser,
// for the tests that run those modules in Node: the extension's addresses,
// its windows (each window's page is played by a WindowPort), its storage
// areas, and a stand-in host. Import this before any module of the
// extension: they read the API when they load.
import assert from "node:assert/strict";
import path from "node:path";

export const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "..", "extension");
export const BASE = "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/";

export const tick = () => new Promise((resolve) => setTimeout(resolve, 0));

/** A storage area: get(null | key | keys), set, remove, and its contents in `data`. */
function storageArea(name, listeners) {
  const area = {
    data: {},
    async get(keys) {
      if (keys === null || keys === undefined) {
        return structuredClone(area.data);
      }
      const wanted = Array.isArray(keys) ? keys : [keys];
      return Object.fromEntries(wanted.filter((k) => Object.hasOwn(area.data, k)).map((k) => [k, structuredClone(area.data[k])]));
    },
    async set(values) {
      Object.assign(area.data, structuredClone(values));
      changed(Object.keys(values));
    },
    async remove(keys) {
      const gone = (Array.isArray(keys) ? keys : [keys]).filter((k) => Object.hasOwn(area.data, k));
      for (const key of gone) {
        delete area.data[key];
      }
      changed(gone);
    },
  };
  const changed = (keys) => {
    if (keys.length > 0) {
      const changes = Object.fromEntries(keys.map((k) => [k, {}]));
      for (const listener of listeners) {
        listener(changes, name);
      }
    }
  };
  return area;
}

const storageListeners = [];
const windowRemovedListeners = [];

export const browser = {
  created: [], // the options of every window opened, in order
  removed: [], // the ids of windows the extension removed
  failToOpen: false,
};

globalThis.chrome = {
  runtime: { getURL: (name) => BASE + name },
  storage: {
    onChanged: { addListener: (listener) => storageListeners.push(listener) },
    managed: { data: {}, get: async () => structuredClone(globalThis.chrome.storage.managed.data) },
    local: storageArea("local", storageListeners),
    session: storageArea("session", storageListeners),
  },
  windows: {
    create: async (options) => {
      if (browser.failToOpen) {
        throw new Error("no windows here");
      }
      browser.created.push(options);
      return { id: browser.created.length };
    },
    remove: async (id) => {
      browser.removed.push(id);
    },
    onRemoved: { addListener: (listener) => windowRemovedListeners.push(listener) },
  },
};

/** The administrator's policy becomes `data`, as a policy change reaches the extension. */
export async function setManaged(data) {
  globalThis.chrome.storage.managed.data = structuredClone(data);
  for (const listener of storageListeners) {
    listener({}, "managed");
  }
  await tick();
}

/** The browser reports that the user closed window `id`. */
export async function closeWindow(id) {
  for (const listener of windowRemovedListeners) {
    listener(id);
  }
  await tick();
}

/** The window page's end of its port, as the extension's windows use it. */
export class WindowPort {
  constructor(url) {
    this.sender = { url };
    this.received = [];
    this.listeners = [];
    this.disconnectListeners = [];
    this.disconnected = false;
  }
  postMessage(message) {
    this.received.push(structuredClone(message));
  }
  onMessage = { addListener: (listener) => this.listeners.push(listener) };
  onDisconnect = { addListener: (listener) => this.disconnectListeners.push(listener) };
  disconnect() {
    this.disconnected = true;
  }
  async say(message) {
    for (const listener of this.listeners) {
      listener(message);
    }
    await tick();
    await tick();
  }
  async close() {
    for (const listener of this.disconnectListeners) {
      listener();
    }
    await tick();
  }
  last() {
    return this.received.at(-1);
  }
  /** The view last shown. */
  view() {
    return this.received.filter((m) => m.type === "show").at(-1).view;
  }
}

/**
 * Waits for the next window the extension opens, connects its page to the
 * broker as the page would, and resolves with { port, view, windowId }.
 */
export async function nextWindow(broker, page) {
  const before = browser.created.length;
  let options;
  for (let i = 0; i < 200 && !options; i++) {
    await tick();
    options = browser.created[before];
  }
  assert.ok(options, "a window opened");
  const [address, query] = options.url.split("?");
  assert.equal(address, BASE + page);
  const port = new WindowPort(options.url);
  broker.serve(port);
  await port.say({ type: "hello", window: new URLSearchParams(query).get("window") });
  // (A window whose request goes out as soon as it shows may have heard more since.)
  assert.equal(port.received[0].type, "show");
  return { port, view: port.view(), windowId: before + 1 };
}

/**
 * A stand-in host: `answers` by action (a reply, or a function of the
 * request giving one), and every request it got in `sent`.
 */
export function standInHost(answers = {}) {
  const host = {
    sent: [],
    answers,
    exchange(request) {
      host.sent.push(structuredClone(request));
      const answer = host.answers[request.action];
      return Promise.resolve(typeof answer === "function" ? answer(request) : answer);
    },
    /** What was sent other than the requests that only look things up. */
    changes() {
      return host.sent.filter((r) => !["listTokens", "info", "listCertificates"].includes(r.action));
    },
  };
  return host;
}
