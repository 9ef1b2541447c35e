#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Vantrel need.
# Does nothing when they are all present; uses sudo when not run as root.
# The daemons some of them bring (pcscd, openCryptoki's pkcsslotd) may start
# with their packages: the tests that need them stop them meanwhile and
# start them again (tests/interop).
set -euo pipefail

# `file` is what CPack's Debian generator finds the host's library
# dependencies with; a minimal Debian 12 lacks it.
packages=(
    build-essential cmake pkg-config git python3 file
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libp11-kit-dev softhsm2 opensc libssl-dev openssl nlohmann-json3-dev libnss3-tools
    clang-format
    pcscd vsmartcard-vpcd libcacard-dev libnss3-tools libnss3 opensc-pkcs11
    opencryptoki p11-kit p11-kit-modules ca-certificates
    swtpm swtpm-tools tpm2-tools tpm2-abrmd libtss2-tcti-tabrmd0 libtpm2-pkcs11-1
    libtpm2-pkcs11-tools dbus
    chromium firefox-esr fonts-liberation
    clang libclang-rt-14-dev
)
# Node.js and npm drive the browser test; they may come from outside Debian.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
