// What the browser tests set up around the browser: a SoftHSM2 token of their
// own, a copy of the built host with its configuration, the web servers for
// the page, a test CA, and watching the host processes. The host's
// registration is the browser's driver's.
//
// Environment: VANTREL_SOURCE_DIR (the checkout), VANTREL_BUILD_DIR (holds
// vantrel and vantrel-client), VANTREL_ARTIFACTS_DIR (screenshots go there),
// VANTREL_SCRATCH_DIR (where the temporary folders go), VANTREL_BROWSER (the
// browser the end-to-end tests drive, see browser.mjs; its screenshots go into
// a folder of its own in the artifacts folder).
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import os from "node:os";
import path from "node:path";
import readline from "node:readline";

export const SOURCE = path.resolve(process.env.VANTREL_SOURCE_DIR || path.join(import.meta.dirname, "..", "..", ".."));
export const BUILD = path.resolve(process.env.VANTREL_BUILD_DIR || path.join(SOURCE, "build"));
export const BROWSER = process.env.VANTREL_BROWSER || "chromium";
export const ARTIFACTS = path.join(path.resolve(process.env.VANTREL_ARTIFACTS_DIR || path.join(BUILD, "artifacts")), BROWSER);
export const SOFTHSM = process.env.VANTREL_SOFTHSM_MODULE || "/usr/lib/softhsm/libsofthsm2.so";

/** The names of the host's actions, from its request factory. */
export function hostActions() {
  const factory = fs.readFileSync(path.join(SOURCE, "src", "request", "request_factory.cpp"), "utf8");
  return [...factory.matchAll(/\{"(\w+)", make</g)].map((m) => m[1]);
}

export function run(command, args, options = {}) {
  return execFileSync(command, args, { encoding: "utf8", stdio: ["pipe", "pipe", "pipe"], ...options });
}

/** A temporary folder with the places a test's token, host and browser profile live in. */
export function makeWorkspace(name) {
  const work = fs.mkdtempSync(path.join(process.env.VANTREL_SCRATCH_DIR || os.tmpdir(), `vantrel-${name}-`));
  return {
    work,
    hostDir: path.join(work, "host"),
    hostPath: path.join(work, "host", "vantrel"),
    softhsmConf: path.join(work, "softhsm2.conf"),
    logDir: path.join(work, "logs"),
    profile: path.join(work, "profile"),
    home: path.join(work, "home"),
    file: (...names) => path.join(work, ...names),
  };
}

/** The environment of everything a test starts: only its own token is reachable. */
export function testEnvironment(space, extra = {}) {
  const environment = { ...process.env, HOME: space.home, SOFTHSM2_CONF: space.softhsmConf, ...extra };
  delete environment.XDG_CONFIG_HOME;
  delete environment.CHROME_CONFIG_HOME;
  for (const [name, value] of Object.entries(extra)) {
    if (value === undefined) {
      delete environment[name];
    }
  }
  return environment;
}

/** A SoftHSM2 token directory with one initialised token (and SoftHSM2's blank slot). */
export function makeToken(space, { label, soPin, userPin }) {
  fs.mkdirSync(path.join(space.work, "tokens"));
  fs.writeFileSync(space.softhsmConf, `directories.tokendir = ${space.work}/tokens\nobjectstore.backend = file\nlog.level = ERROR\n`);
  fs.mkdirSync(space.home, { recursive: true });
  run("softhsm2-util", ["--init-token", "--free", "--label", label, "--so-pin", soPin, "--pin", userPin], {
    env: testEnvironment(space),
  });
}

/** A copy of the built host with a configuration that loads `module` and keeps its log files. */
export function installHost(space, module) {
  fs.mkdirSync(space.hostDir);
  fs.mkdirSync(space.logDir);
  fs.copyFileSync(path.join(BUILD, "vantrel"), space.hostPath);
  fs.chmodSync(space.hostPath, 0o755);
  fs.writeFileSync(path.join(space.hostDir, "vantrel.cfg"), `pkcs11Library=${module}\nlogDir=${space.logDir}\nmaxLogFiles=400\n`);
}

/**
 * Starts the host through vantrel-client; `work` gets send(request), which
 * resolves with the parsed reply, or with null when the host stopped without one.
 */
export async function withClient(space, work, environment = testEnvironment(space)) {
  const client = spawn(path.join(BUILD, "vantrel-client"), ["--host", space.hostPath], {
    env: environment,
    stdio: ["pipe", "pipe", "pipe"],
  });
  client.stderr.resume();
  const lines = readline.createInterface({ input: client.stdout })[Symbol.asyncIterator]();
  const send = async (request) => {
    client.stdin.write(JSON.stringify(request) + "\n");
    const { value, done } = await lines.next();
    return done ? null : JSON.parse(value);
  };
  try {
    return await work(send);
  } finally {
    client.stdin.end();
    if (client.exitCode === null) {
      await new Promise((resolve) => client.on("close", resolve));
    }
  }
}

/**
 * A certification authority in `folder` that issues certificates for the
 * host's certification requests, each with the serial number and subject
 * asked for, valid from `notBefore` to `notAfter` (YYYYMMDDhhmmssZ).
 */
export function makeCa(folder, name = "Vantrel Test CA") {
  fs.mkdirSync(folder, { recursive: true });
  const file = (n) => path.join(folder, n);
  run("openssl", ["req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", file("ca.key"), "-out", file("ca.pem"),
    "-subj", `/CN=${name}/O=Vantrel`, "-days", "2"]);
  fs.writeFileSync(file("index.txt"), "");
  fs.writeFileSync(file("ca.cnf"), [
    "[ca]", "default_ca = test", "[test]", `database = ${file("index.txt")}`, `new_certs_dir = ${folder}`,
    `serial = ${file("serial")}`, `certificate = ${file("ca.pem")}`, `private_key = ${file("ca.key")}`,
    "default_md = sha256", "policy = names", "unique_subject = no", "email_in_dn = no",
    "[names]", "commonName = supplied", "organizationName = optional", "organizationalUnitName = optional", "",
  ].join("\n"));
  return {
    pem: file("ca.pem"),
    /** @returns {{pem: string, der: Buffer}} the issued certificate */
    issue(csrBase64, { serial, subject, notBefore = "20250101000000Z", notAfter = "20350101000000Z" }) {
      fs.writeFileSync(file("request.der"), Buffer.from(csrBase64, "base64"));
      run("openssl", ["req", "-in", file("request.der"), "-inform", "DER", "-out", file("request.pem")]);
      fs.writeFileSync(file("serial"), serial + "\n");
      run("openssl", ["ca", "-config", file("ca.cnf"), "-batch", "-notext", "-utf8", "-in", file("request.pem"), "-out", file("issued.pem"),
        "-startdate", notBefore, "-enddate", notAfter, "-subj", subject]);
      return issuedFile(file("issued.pem"));
    },
    /**
     * A certificate for a public key (PEM) made without a certification
     * request, valid for two days from now.
     * @returns {{pem: string, der: Buffer}}
     */
    certify(publicKeyPem, { serial, subject }) {
      run("openssl", ["x509", "-new", "-subj", subject, "-force_pubkey", publicKeyPem, "-CA", file("ca.pem"), "-CAkey", file("ca.key"),
        "-set_serial", `0x${serial}`, "-days", "2", "-sha256", "-out", file("certified.pem")]);
      return issuedFile(file("certified.pem"));
    },
  };
}

function issuedFile(pemFile) {
  const pem = fs.readFileSync(pemFile, "utf8");
  const der = run("openssl", ["x509", "-in", pemFile, "-outform", "DER"], { encoding: "buffer" });
  return { pem, der };
}

/**
 * A key pair the host makes on the token it is logged in to (with write
 * access), and a certificate for it from `ca`, which the host imports:
 * resolves with the issued certificate ({ pem, der }). `send` is
 * withClient's.
 */
export async function enrolled(send, ca, { serial, subject }) {
  const keys = await send({ action: "generateKeys", tokenSN: (await send({ action: "info" })).token, result: "csr" });
  assert.ok(keys.csr, JSON.stringify(keys));
  const issued = ca.issue(keys.csr, { serial, subject });
  const imported = await send({ action: "importCertificate", certificate: issued.der.toString("base64") });
  assert.equal(imported.error, undefined, JSON.stringify(imported));
  return issued;
}

/**
 * A certificate for the HTTPS test sites `names` (each mapped to 127.0.0.1 by
 * the browser's driver) from a web CA of its own, made in `folder`:
 * { key, cert, ca } where `ca` is the CA's PEM file, which the browser is
 * told to trust.
 */
export function makeWebCertificate(folder, names) {
  fs.mkdirSync(folder, { recursive: true });
  const file = (name) => path.join(folder, name);
  run("openssl", ["req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
    "-keyout", file("ca.key"), "-out", file("ca.pem"), "-subj", "/CN=Vantrel Browser Test Web CA", "-days", "2",
    "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign"]);
  run("openssl", ["req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
    "-keyout", file("server.key"), "-out", file("server.csr"), "-subj", `/CN=${names[0]}`]);
  fs.writeFileSync(file("server.ext"),
    `subjectAltName=${names.map((name) => `DNS:${name}`).join(",")}\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n`);
  run("openssl", ["x509", "-req", "-in", file("server.csr"), "-CA", file("ca.pem"), "-CAkey", file("ca.key"),
    "-CAcreateserial", "-days", "2", "-extfile", file("server.ext"), "-out", file("server.pem")]);
  return { key: fs.readFileSync(file("server.key")), cert: fs.readFileSync(file("server.pem")), ca: file("ca.pem") };
}

const CONTENT_TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css", ".txt": "text/plain" };

/** Serves web/ with `create` (http.createServer or an HTTPS one); resolves with the server and its port. */
export function serveWeb(create) {
  const root = path.join(SOURCE, "web");
  const server = create((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://any").pathname);
    const file = path.join(root, name === "/" ? "index.html" : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": CONTENT_TYPES[path.extname(file)] || "application/octet-stream" });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(0, "127.0.0.1", () => resolve({ server, port: server.address().port }));
  });
}

export function closeServers(servers) {
  for (const server of servers) {
    server.closeAllConnections();
    server.close();
  }
}

/** The processes running the copy of the host at `hostPath`, with their environment and arguments. */
export function hostProcesses(hostPath) {
  const found = [];
  for (const entry of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) {
      continue;
    }
    try {
      if (fs.readlinkSync(`/proc/${entry}/exe`) !== hostPath) {
        continue;
      }
      const environ = fs.readFileSync(`/proc/${entry}/environ`, "utf8").split("\0");
      const args = fs.readFileSync(`/proc/${entry}/cmdline`, "utf8").split("\0").filter(Boolean);
      found.push({ pid: Number(entry), environ, args });
    } catch {
      // gone meanwhile
    }
  }
  return found;
}

/** Runs a command as root: directly when this is root, else through password-less sudo. */
export function asRoot(command, args, input) {
  const [program, ...rest] = process.getuid() === 0 ? [command, ...args] : ["sudo", "-n", command, ...args];
  return run(program, rest, { input });
}

export async function waitFor(check, what, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) {
      return value;
    }
    assert.ok(Date.now() < deadline, `timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// A test process that changes what every browser of a kind on the machine
// reads (policy files, system-wide host manifests) holds that browser's
// machine lock for its whole life, and so does every test process that drives
// the browser: a test run of another checkout would otherwise see this run's
// policy in its browser (the extension IDs are the same), and its policy in
// this one. Each test file is a process of its own, so runs take turns file by
// file. The lock is an abstract Unix socket, as for the tests on real modules:
// the kernel lets go of it when the process ends, however it ends.
const LOCK_WAIT_MS = 15 * 60 * 1000;
const machineLocks = new Map();

async function takeMachineLock(name) {
  const deadline = Date.now() + LOCK_WAIT_MS;
  for (;;) {
    const server = net.createServer();
    try {
      await new Promise((resolve, reject) => {
        server.once("error", reject);
        server.listen({ path: `\0vantrel-test-lock-${name}` }, resolve);
      });
      server.unref();
      return server;
    } catch (error) {
      if (error.code !== "EADDRINUSE" || Date.now() > deadline) {
        throw new Error(`cannot take the machine's ${name} test lock: ${error.message}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 500));
    }
  }
}

/** Resolves once this process holds the machine's lock `name` ("chromium", "firefox"), kept for its life. */
export function holdMachineLock(name) {
  if (!machineLocks.has(name)) {
    machineLocks.set(name, takeMachineLock(name));
  }
  return machineLocks.get(name);
}
