#!/usr/bin/env bash
# Cross-builds Vantrel for 32-bit and 64-bit Windows with MinGW-w64, with the
# installer of each (wixl), and runs the tests of both builds under Wine, each
# tree in a Wine prefix of its own and without a display. Installs the Debian
# packages it needs when they are missing (with sudo when not run as root).
#
# The 32-bit tests need two things of the machine: a kernel that runs 32-bit
# x86 programs, and an i386 package source offering wine32. Where either is
# missing, the 32-bit tree is still built, its vantrel.exe checked to be a
# 32-bit console program and its installer's tables and files checked with
# msitools; its tests are reported as skipped with the reason. The 64-bit
# tests always run through Wine's 64-bit loader.
#
#   VANTREL_NO_32BIT=1        answer "cannot run 32-bit programs" on any machine
#   VANTREL_STAGE_REPORT=FILE append one line per build to FILE:
#                             <stage> TAB passed|failed|skipped TAB <reason>
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

wine64_loader=/usr/lib/wine/wine64
wine32_loader=/usr/lib/wine/wine

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

install_missing() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        $sudo apt-get update
        $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# A 32-bit x86 ELF program of 93 bytes that exits with status 42: the kernel
# either runs it or refuses it with "Exec format error".
runs_32bit_programs() {
    local probe status=0
    probe=$(mktemp "${TMPDIR:-/tmp}/vantrel-ia32.XXXXXX")
    python3 - "$probe" <<'EOF'
import struct, sys
code = bytes([0x31, 0xDB, 0xB3, 42, 0x31, 0xC0, 0x40, 0xCD, 0x80])  # exit(42)
base, start = 0x08048000, 52 + 32
header = b"\x7fELF\x01\x01\x01" + bytes(9) + struct.pack(
    "<HHIIIIIHHHHHH", 2, 3, 1, base + start, 52, 0, 0, 52, 32, 1, 0, 0, 0)
segment = struct.pack("<IIIIIIII", 1, 0, base, base, start + len(code),
                      start + len(code), 5, 0x1000)
open(sys.argv[1], "wb").write(header + segment + code)
EOF
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

# wine32 comes from the i386 architecture; an architecture added here without
# any source serving it is removed again, so that later package index updates
# do not fail on it.
install_wine32() {
    installed wine32:i386 && return 0
    local added=no
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        added=yes
    fi
    $sudo apt-get update || true
    local candidate
    candidate=$(apt-cache policy wine32:i386 2>/dev/null | awk '/Candidate:/ { print $2 }')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
        if [ "$added" = yes ]; then
            $sudo dpkg --remove-architecture i386 || true
        fi
        return 1
    fi
    $sudo apt-get install -y --no-install-recommends wine32:i386
}

report() {
    echo "== $1: $2${3:+ ($3)}"
    if [ -n "${VANTREL_STAGE_REPORT:-}" ]; then
        printf '%s\t%s\t%s\n' "$1" "$2" "${3:-}" >>"$VANTREL_STAGE_REPORT"
    fi
}

install_missing cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
    binutils-mingw-w64-i686 googletest libp11-kit-dev nlohmann-json3-dev wine wine64 \
    wixl msitools

skip_32bit=""
if [ "${VANTREL_NO_32BIT:-}" = 1 ]; then
    skip_32bit="VANTREL_NO_32BIT=1 says this machine runs no 32-bit x86 programs"
elif ! runs_32bit_programs; then
    skip_32bit="this machine's kernel runs no 32-bit x86 programs"
elif ! install_wine32; then
    skip_32bit="this machine has no i386 package source offering wine32"
fi

# Each tree runs its tests in a Wine prefix of its own, against one Wine
# server that ctest starts before the first test and stops after the last
# (tests/windows/wine/wine-tree.sh.in). Should this script be stopped half
# way, the servers are stopped here too.
stop_wine_servers() {
    local tree
    for tree in build-win64 build-win32; do
        if [ -x "$tree/wine-tree" ]; then
            "$tree/wine-tree" stop || true
        fi
    done
}
trap stop_wine_servers EXIT

jobs=$(nproc)
build_windows_tree() {
    local dir=$1 toolchain=$2 loader=$3
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_WINE="$loader" &&
        cmake --build "$dir" -j "$jobs"
}

test_windows_tree() {
    (cd "$1" && ctest --output-on-failure -j "$jobs" --timeout 300)
}

is_32bit_console_program() {
    local headers
    headers=$(i686-w64-mingw32-objdump -f -p "$1") || return 1
    grep -q "file format pei-i386" <<<"$headers" &&
        grep -Eq "^Subsystem[[:space:]]+00000003" <<<"$headers"
}

# The tables and files of each installer of the tree, read with msitools.
installers_hold_their_files() {
    local contents
    for contents in "$1"/installer-contents*.txt; do
        python3 tests/windows/installer/installer_contents_test.py "$contents" || return 1
    done
}

status=0
if build_windows_tree build-win64 mingw-x86_64.cmake "$wine64_loader" &&
    test_windows_tree build-win64; then
    report "Windows x86_64" passed
else
    report "Windows x86_64" failed
    status=1
fi

if [ -n "$skip_32bit" ]; then
    if build_windows_tree build-win32 mingw-i686.cmake "" &&
        is_32bit_console_program build-win32/vantrel.exe &&
        installers_hold_their_files build-win32; then
        echo "build-win32/vantrel.exe is a 32-bit Windows console program, and its installers hold it"
        report "Windows i686" skipped "built and checked, installer contents too; tests not run: $skip_32bit"
    else
        report "Windows i686" failed "the 32-bit build or its check failed"
        status=1
    fi
elif build_windows_tree build-win32 mingw-i686.cmake "$wine32_loader" &&
    is_32bit_console_program build-win32/vantrel.exe && test_windows_tree build-win32; then
    report "Windows i686" passed
else
    report "Windows i686" failed
    status=1
fi
exit $status
