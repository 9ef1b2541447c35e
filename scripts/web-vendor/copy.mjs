// Copies the ES modules the console page imports, and the modules they import
// in turn, from an installed node_modules folder into web/vendor/, each under
// its package's name. Imports of other packages ("asn1js", "@noble/hashes/sha2.js")
// become relative paths, so that a browser and Node load the copies without an
// import map or a bundler. Each package's licence goes beside its files.
//
// Usage: node copy.mjs NODE_MODULES OUTPUT_DIR ENTRY_PACKAGE...
import fs from "node:fs";
import path from "node:path";

const [nodeModules, output, ...entries] = process.argv.slice(2);
if (!nodeModules || !output || entries.length === 0) {
  console.error("usage: node copy.mjs NODE_MODULES OUTPUT_DIR ENTRY_PACKAGE...");
  process.exit(2);
}

// "@scope/name/sub/path" -> ["@scope/name", "./sub/path"]
function splitSpecifier(specifier) {
  const parts = specifier.split("/");
  const length = specifier.startsWith("@") ? 2 : 1;
  const rest = parts.slice(length).join("/");
  return [parts.slice(0, length).join("/"), rest ? "./" + rest : "."];
}

function exportTarget(entry) {
  if (typeof entry === "string") {
    return entry;
  }
  for (const condition of ["browser", "import", "module", "default"]) {
    if (entry && entry[condition] !== undefined) {
      return exportTarget(entry[condition]);
    }
  }
  return null;
}

// The file a bare specifier names, by the package's "exports" (or "module", "main").
function resolvePackageFile(specifier) {
  const [name, subpath] = splitSpecifier(specifier);
  const root = path.join(nodeModules, name);
  const manifest = JSON.parse(fs.readFileSync(path.join(root, "package.json"), "utf8"));
  let target = null;
  if (manifest.exports !== undefined) {
    const exported = typeof manifest.exports === "string" || !Object.keys(manifest.exports)[0].startsWith(".")
      ? { ".": manifest.exports }
      : manifest.exports;
    target = exportTarget(exported[subpath]);
  } else if (subpath === ".") {
    target = manifest.module || manifest.main;
  } else {
    target = subpath;
  }
  if (!target) {
    throw new Error(`${specifier}: no ES module export`);
  }
  return { name, root, file: path.join(root, target), version: manifest.version, license: manifest.license };
}

const IMPORT = /(\b(?:import|export)\s[^;]*?\bfrom\s*|\bimport\s*\(?\s*)(["'])([^"']+)\2/g;

const packages = new Map(); // name -> { root, version, license }
const copied = new Set();

function outputPath(file) {
  const relative = path.relative(nodeModules, file);
  return path.join(output, relative);
}

function copyModule(file) {
  if (copied.has(file)) {
    return;
  }
  copied.add(file);
  const source = fs.readFileSync(file, "utf8");
  const destination = outputPath(file);
  const rewritten = source.replace(IMPORT, (match, prefix, quote, specifier) => {
    if (specifier.startsWith(".") || specifier.startsWith("/")) {
      copyModule(path.resolve(path.dirname(file), specifier));
      return match;
    }
    const resolved = resolvePackageFile(specifier);
    packages.set(resolved.name, resolved);
    copyModule(resolved.file);
    let relative = path.relative(path.dirname(destination), outputPath(resolved.file)).split(path.sep).join("/");
    if (!relative.startsWith(".")) {
      relative = "./" + relative;
    }
    return prefix + quote + relative + quote;
  });
  fs.mkdirSync(path.dirname(destination), { recursive: true });
  fs.writeFileSync(destination, rewritten);
}

fs.rmSync(output, { recursive: true, force: true });
for (const entry of entries) {
  const resolved = resolvePackageFile(entry);
  packages.set(resolved.name, resolved);
  copyModule(resolved.file);
}

const lines = ["Copied from the npm registry by scripts/web-vendor/vendor.sh; do not edit.", ""];
for (const [name, info] of [...packages].sort(([a], [b]) => a.localeCompare(b))) {
  const licence = fs.readdirSync(info.root).find((f) => /^(licen[cs]e|copying)(\.|$)/i.test(f));
  if (!licence) {
    throw new Error(`${name}: no licence file`);
  }
  fs.copyFileSync(path.join(info.root, licence), path.join(output, name, licence));
  lines.push(`${name} ${info.version} (${info.license})`);
}
fs.writeFileSync(path.join(output, "VERSIONS.txt"), lines.join("\n") + "\n");
