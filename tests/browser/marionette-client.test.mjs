// The tests' Marionette client (support/marionette.mjs) against a stand-in
// server: the framing both ways, replies matched to commands, errors, and a
// connection that closes.
import { test } from "node:test";
import assert from "node:assert/strict";
import net from "node:net";
import { Marionette, MarionetteError } from "./support/marionette.mjs";

function frame(message) {
  const text = JSON.stringify(message);
  return Buffer.from(`${Buffer.byteLength(text)}:${text}`);
}

// A server on a free port that greets and then hands each command it reads to
// `serve(command, socket)`; resolves with { port, received, close }.
async function standIn(serve, greeting = [frame({ applicationType: "gecko", marionetteProtocol: 3 })]) {
  const received = [];
  const sockets = new Set();
  const server = net.createServer((socket) => {
    sockets.add(socket);
    for (const chunk of greeting) {
      socket.write(chunk);
    }
    let buffered = Buffer.alloc(0);
    socket.on("data", (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      for (;;) {
        const colon = buffered.indexOf(":");
        const length = Number(buffered.subarray(0, colon).toString());
        if (colon < 0 || buffered.length < colon + 1 + length) {
          return;
        }
        const command = JSON.parse(buffered.subarray(colon + 1, colon + 1 + length).toString("utf8"));
        buffered = buffered.subarray(colon + 1 + length);
        received.push(command);
        serve(command, socket);
      }
    });
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return {
    port: server.address().port,
    received,
    close: () => {
      for (const socket of sockets) {
        socket.destroy();
      }
      server.close();
    },
  };
}

function splitAt(bytes, at) {
  return [bytes.subarray(0, at), bytes.subarray(at)];
}

/** Writes `bytes` one at a time, each in a packet of its own. */
async function trickle(socket, bytes) {
  for (const byte of bytes) {
    socket.write(Buffer.from([byte]));
    await new Promise((resolve) => setImmediate(resolve));
  }
}

test("replies find their commands in any order, however the bytes arrive; lengths count bytes, not characters", async () => {
  const held = [];
  const server = await standIn(
    (command, socket) => {
      held.push(command);
      if (held.length === 2) {
        // The second command is answered first, and both in single bytes.
        const [[, first], [, second]] = held;
        trickle(socket, Buffer.concat([frame([1, second, null, { sessionId: "s-1", capabilities: {} }]), frame([1, first, null, { value: held[0][3].text }])]));
      }
    },
    // The greeting too comes in two pieces, split inside its JSON.
    splitAt(frame({ applicationType: "gecko", marionetteProtocol: 3 }), 12),
  );
  try {
    const client = await Marionette.connect(server.port);
    assert.deepEqual(client.greeting, { applicationType: "gecko", marionetteProtocol: 3 });
    const text = "Grüße — 10 € \"quoted\"";
    const [echoed, session] = await Promise.all([
      client.command("WebDriver:ElementSendKeys", { text }),
      client.command("WebDriver:NewSession", {}),
    ]);
    // A result of the form { value } is unwrapped; any other is given whole.
    assert.equal(echoed, text);
    assert.deepEqual(session, { sessionId: "s-1", capabilities: {} });
    assert.deepEqual(server.received.map(([kind, , name]) => [kind, name]), [[0, "WebDriver:ElementSendKeys"], [0, "WebDriver:NewSession"]]);
    assert.notEqual(server.received[0][1], server.received[1][1], "each command has an id of its own");
    client.close();
  } finally {
    server.close();
  }
});

test("an error reply rejects its command; a connection that closes rejects what waits and what comes after", async () => {
  const server = await standIn((command, socket) => {
    const [, id, name] = command;
    if (name === "WebDriver:FindElement") {
      socket.write(frame([1, id, { error: "no such element", message: "Unable to locate element: #gone", stacktrace: "" }, null]));
    } else {
      // Never answered: the browser goes away instead.
      socket.destroy();
    }
  });
  try {
    const client = await Marionette.connect(server.port);
    const missing = await client.command("WebDriver:FindElement", { using: "css selector", value: "#gone" }).catch((e) => e);
    assert.ok(missing instanceof MarionetteError);
    assert.equal(missing.error, "no such element");
    assert.equal(missing.message, "WebDriver:FindElement: no such element: Unable to locate element: #gone");

    const waiting = await client.command("WebDriver:Navigate", { url: "about:blank" }).catch((e) => e);
    assert.ok(waiting instanceof MarionetteError);
    assert.equal(waiting.error, "disconnected");
    const after = await client.command("WebDriver:GetTitle").catch((e) => e);
    assert.equal(after.error, "disconnected");
  } finally {
    server.close();
  }
});
