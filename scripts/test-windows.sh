#!/usr/bin/env bash
# Cross-builds Vantrel for 32-bit and 64-bit Windows with MinGW-w64 and runs
# the tests of both builds under Wine, in a temporary Wine prefix and without
# a display. Installs the Debian packages it needs when they are missing (with
# sudo when not run as root).
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# wine32 runs the 32-bit build; it comes from the i386 architecture.
packages=(
    cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64
    googletest libp11-kit-dev nlohmann-json3-dev
    wine wine64 wine32:i386
)
missing=()
for package in "${packages[@]}"; do
    if ! installed "$package"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine without a display, with its own prefix, quiet, and without the offer to
# download Mono and Gecko, which nothing here needs.
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-wine.XXXXXX")
export WINEPREFIX
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wineboot --init
wineserver -w
# One server for every test program, instead of one started per program.
wineserver -p
# The first program starts Wine's own services, which inherit its standard
# streams and outlive it: started on /dev/null here, they hold no test's
# output pipe open.
wine cmd /c exit </dev/null >/dev/null 2>&1

jobs=$(nproc)
run_windows_build() {
    local dir=$1 toolchain=$2
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 300)
}

run_windows_build build-win64 mingw-x86_64.cmake
run_windows_build build-win32 mingw-i686.cmake
echo "Windows tests passed in the 32-bit and the 64-bit build."
