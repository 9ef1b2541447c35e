// A client of Firefox's Marionette remote protocol, as much of it as the
// browser tests use. Over TCP each message is its length in bytes (decimal),
// a colon and a JSON text. The server speaks first, with a greeting object;
// then a command is [0, id, name, parameters] and its reply [1, id, error, result].
import net from "node:net";

export class MarionetteError extends Error {
  constructor(command, error) {
    super(`${command}: ${error.error}: ${error.message}`);
    this.name = "MarionetteError";
    this.error = error.error;
  }
}

export class Marionette {
  /** Connects to the server on 127.0.0.1:`port` and resolves once it has greeted. */
  static connect(port) {
    return new Promise((resolve, reject) => {
      const socket = net.connect(port, "127.0.0.1");
      const client = new Marionette(socket, (greeting) => {
        socket.off("error", reject);
        client.greeting = greeting;
        resolve(client);
      });
      socket.once("error", reject);
    });
  }

  constructor(socket, onGreeting) {
    this.socket = socket;
    this.received = Buffer.alloc(0);
    this.nextId = 1;
    this.pending = new Map(); // id -> { resolve, reject, name }
    this.onGreeting = onGreeting;
    socket.on("data", (chunk) => this.receive(chunk));
    socket.on("close", () => this.failPending("the connection to Firefox closed"));
    socket.on("error", (error) => this.failPending(error.message));
  }

  /** Sends a command; resolves with its result (the value itself where the server wraps it as { value }). */
  command(name, parameters = {}) {
    const id = this.nextId++;
    const text = JSON.stringify([0, id, name, parameters]);
    return new Promise((resolve, reject) => {
      if (this.socket.destroyed) {
        reject(new MarionetteError(name, { error: "disconnected", message: "the connection to Firefox is closed" }));
        return;
      }
      this.pending.set(id, { resolve, reject, name });
      this.socket.write(`${Buffer.byteLength(text)}:${text}`);
    });
  }

  close() {
    this.socket.destroy();
  }

  receive(chunk) {
    this.received = Buffer.concat([this.received, chunk]);
    for (;;) {
      const colon = this.received.indexOf(":");
      if (colon < 0) {
        return;
      }
      const length = Number(this.received.subarray(0, colon).toString("latin1"));
      if (!Number.isInteger(length) || this.received.length < colon + 1 + length) {
        return;
      }
      const message = JSON.parse(this.received.subarray(colon + 1, colon + 1 + length).toString("utf8"));
      this.received = this.received.subarray(colon + 1 + length);
      this.dispatch(message);
    }
  }

  dispatch(message) {
    if (!Array.isArray(message)) {
      this.onGreeting(message);
      return;
    }
    const [, id, error, result] = message;
    const waiting = this.pending.get(id);
    if (!waiting) {
      return;
    }
    this.pending.delete(id);
    if (error) {
      waiting.reject(new MarionetteError(waiting.name, error));
    } else {
      waiting.resolve(result !== null && typeof result === "object" && "value" in result ? result.value : result);
    }
  }

  failPending(why) {
    for (const [id, waiting] of this.pending) {
      this.pending.delete(id);
      waiting.reject(new MarionetteError(waiting.name, { error: "disconnected", message: why }));
    }
  }
}
