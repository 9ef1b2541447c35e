#!/usr/bin/env bash
# Builds Vantrel and runs every test: the format check, the unit and process
# tests in a normal build and in an AddressSanitizer + UndefinedBehaviorSanitizer
# build, the browser test in headless Chromium, the Windows builds' tests
# under Wine, and each fuzz target for a minute. Installs what it needs on a
# Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

bash scripts/check-format.sh
bash scripts/check-layers.sh

jobs=$(nproc)
run_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

run_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON
bash scripts/test-browser.sh build
bash scripts/test-windows.sh
bash scripts/fuzz.sh "${VANTREL_FUZZ_SECONDS:-60}"
echo "All tests passed."
