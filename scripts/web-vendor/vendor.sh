#!/usr/bin/env bash
# Copies the npm libraries the console page uses (versions pinned in
# scripts/web-vendor/package-lock.json) into web/vendor/. With --check, copies
# them into a temporary folder instead and fails when web/vendor/ differs, so a
# hand edit or a forgotten run shows up.
# Usage: scripts/web-vendor/vendor.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

check=false
if [ "${1:-}" = "--check" ]; then
    check=true
elif [ $# -gt 0 ]; then
    echo "usage: scripts/web-vendor/vendor.sh [--check]" >&2
    exit 2
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp scripts/web-vendor/package.json scripts/web-vendor/package-lock.json "$scratch/"
(cd "$scratch" && npm_config_cache="$scratch/npm-cache" npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)

target="$root/web/vendor"
if $check; then
    target="$scratch/vendor"
fi
node scripts/web-vendor/copy.mjs "$scratch/node_modules" "$target" pkijs asn1js

if $check; then
    if ! diff -r "$target" "$root/web/vendor"; then
        echo "web/vendor/ is not what scripts/web-vendor/vendor.sh makes of the pinned packages: run it and commit the result" >&2
        exit 1
    fi
    echo "web/vendor/ matches the pinned packages"
fi
