#!/usr/bin/env bash
# End-to-end test in a real browser: headless Chromium with the sample extension
# and the demo page, driven by Playwright, talking to the built host, which
# works on a SoftHSM2 token of the test's own through a module that can be made
# to hang (tests/browser/hang_module.c). Screenshots go to <build>/artifacts/.
# Writes an extension policy into /etc/chromium/policies/managed/ for part of
# the run (root or password-less sudo). Usage: scripts/test-browser.sh [BUILD_DIR]
# (default: build)
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
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
command -v certutil >/dev/null || missing+=(libnss3-tools)
command -v cc >/dev/null || missing+=(gcc libc6-dev)
pkg-config --exists p11-kit-1 2>/dev/null || missing+=(pkg-config libp11-kit-dev)
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
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)" --target vantrel vantrel-client
mkdir -p "$build/browser-test"
hang_module="$build/browser-test/libvantrel_hang.so"
cc -shared -fPIC -O2 -Wall -Wextra -Werror -std=c11 -D_DEFAULT_SOURCE $(pkg-config --cflags p11-kit-1) \
    -o "$hang_module" tests/browser/hang_module.c -ldl

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cd tests/browser
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    echo "== Installing playwright-core"
    PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm_config_cache="$scratch/npm-cache" \
        npm ci --no-audit --no-fund --loglevel=error
fi

echo "== Browser end-to-end test"
HOME="$scratch" VANTREL_SCRATCH_DIR="$scratch" VANTREL_SOURCE_DIR="$root" VANTREL_BUILD_DIR="$build" VANTREL_ARTIFACTS_DIR="$build/artifacts" \
    VANTREL_HANG_MODULE="$hang_module" node --test site-rules.test.mjs e2e.test.mjs
echo "   screenshots in $build/artifacts/"
