#!/usr/bin/env bash
# The page's side, tested: web/vendor/ checked against the pinned npm packages;
# in Node, the extension's site rules, its PIN and sign windows' rules, how its
# requests wait, the marks its windows show, its parts, the text it makes of an
# object payload (against the built host's), the client library
# (web/vantrel.js), the page's certificate and signature modules,
# docs/protocol.md, whose every example is sent to the built host, and the
# tests' Marionette client; then, end to end with the sample extension, the
# extension's boundary (through a module that can be made to hang, the
# fault-injecting module of tests/faults), the token console, PINs typed in
# the extension's own window, the sites the user lets in and takes back, and
# the signatures shown before they are made, the certificate the user picks
# (with the wait for a token), and readers with a keypad and PIN tries
# (through the fault-injecting module), each on a SoftHSM2 token of its own,
# and the Debian package installed for real, whose policy installs the
# extension and its console (cpack builds the whole tree first),
# first in headless Chromium (driven by Playwright), then in headless Firefox
# ESR (driven over Marionette), with the time each browser took. Screenshots go to <build>/artifacts/<browser>/. Writes an extension
# policy into /etc/chromium/policies/managed/ for part of the Chromium run
# (root or password-less sudo); since that applies to every Chromium on the
# machine, a Chromium test file waits while one of another checkout runs.
# Usage: scripts/test-browser.sh [BUILD_DIR] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath -m "${1:-build}")

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
missing=()
[ -x /usr/bin/chromium ] || missing+=(chromium)
[ -x /usr/bin/firefox-esr ] || missing+=(firefox-esr)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
command -v certutil >/dev/null || missing+=(libnss3-tools)
command -v pkcs11-tool >/dev/null || missing+=(opensc)
if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

node_major=$(node -p 'process.versions.node.split(".")[0]')
if [ "$node_major" -lt 20 ]; then
    echo "test-browser.sh: playwright-core needs Node.js 20 or newer; this is $(node --version)" >&2
    exit 1
fi

if [ ! -x "$build/vantrel" ] || [ ! -x "$build/vantrel-client" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_BUILD_TESTS=ON
fi
cmake --build "$build" -j "$(nproc)" --target vantrel vantrel-client vantrel_pkcs11_fault extension-packages
fault_module="$build/tests/faults/module/libvantrel_pkcs11_fault.so"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cd tests/browser
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    echo "== Installing playwright-core and axe-core"
    PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm_config_cache="$scratch/npm-cache" \
        npm ci --no-audit --no-fund --loglevel=error
fi

echo "== The vendored libraries of the page"
bash "$root/scripts/web-vendor/vendor.sh" --check

run_tests() {
    HOME="$scratch" VANTREL_SCRATCH_DIR="$scratch" VANTREL_SOURCE_DIR="$root" VANTREL_BUILD_DIR="$build" \
        VANTREL_ARTIFACTS_DIR="$build/artifacts" VANTREL_FAULT_MODULE="$fault_module" \
        node --test --test-concurrency=1 "$@"
}

failed=()
echo "== The extension's rules, page modules, client library, protocol reference, the tests' Marionette client"
run_tests site-rules.test.mjs pin-entry.test.mjs signing.test.mjs attention.test.mjs window-text.test.mjs \
    extension-parts.test.mjs signed-text.test.mjs certificate-choice.test.mjs client-library.test.mjs page-modules.test.mjs protocol-doc.test.mjs \
    marionette-client.test.mjs || failed+=("Node")

# One file at a time, one browser at a time: the boundary test's policy file
# applies to every Chromium on the machine while it is there. Both browsers
# run whatever failed before.
timings=()
for browser in chromium firefox; do
    name=$([ "$browser" = chromium ] && echo "Chromium" || echo "Firefox ESR")
    echo "== Browser end-to-end tests in $name"
    started=$SECONDS
    if VANTREL_BROWSER=$browser run_tests e2e.test.mjs console.test.mjs pin-window.test.mjs site-consent.test.mjs \
        signatures.test.mjs certificate-picker.test.mjs keypad-reader.test.mjs policy-install.test.mjs; then
        verdict="passed"
    else
        verdict="FAILED"
        failed+=("$name")
    fi
    timings+=("$(printf '   %-12s %s in %d s' "$name" "$verdict" $((SECONDS - started)))")
done
echo "== Browser end-to-end tests, by browser"
printf '%s\n' "${timings[@]}"
echo "   screenshots in $build/artifacts/chromium/ and $build/artifacts/firefox/"
if [ ${#failed[@]} -gt 0 ]; then
    echo "test-browser.sh: tests failed in: ${failed[*]}" >&2
    exit 1
fi
