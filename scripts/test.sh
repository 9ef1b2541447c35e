#!/usr/bin/env bash
# Builds Vantrel and runs every test: the format and layer checks, the unit and
# process tests in a normal build and in an AddressSanitizer +
# UndefinedBehaviorSanitizer build, the browser test in headless Chromium, the
# Windows builds' tests under Wine, and each fuzz target for a minute. Installs
# what it needs on a Debian 12 machine.
#
# Every stage runs, whatever became of the ones before it; the command ends
# with one line per stage and fails when any stage failed. Only the 32-bit
# Windows tests may be skipped, on a machine that cannot run them (see
# scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

report=$(mktemp "${TMPDIR:-/tmp}/vantrel-stages.XXXXXX")
trap 'rm -f "$report"' EXIT

# Runs one stage as a script of its own (so that its own `set -e` holds) and
# records its outcome and duration.
stage() {
    local name=$1 started=$SECONDS outcome=passed
    shift
    echo "=== $name"
    "$@" || outcome=failed
    printf '%s\t%s\t%s\n' "$name" "$outcome" "$((SECONDS - started)) s" >>"$report"
}

stage "format" bash scripts/check-format.sh
stage "layers" bash scripts/check-layers.sh
stage "normal build" bash scripts/test-build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "sanitizer build" env ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    bash scripts/test-build.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON
stage "browser" bash scripts/test-browser.sh build

# The Windows stage reports its two builds itself; without those lines (the
# script stopped before them) both count as failed.
windows_started=$SECONDS
windows_report=$(mktemp "${TMPDIR:-/tmp}/vantrel-windows.XXXXXX")
echo "=== Windows"
VANTREL_STAGE_REPORT=$windows_report bash scripts/test-windows.sh || true
for build in "Windows x86_64" "Windows i686"; do
    if ! grep -q "^$build	" "$windows_report"; then
        printf '%s\tfailed\t%s\n' "$build" "the Windows stage stopped early" >>"$windows_report"
    fi
done
windows_time="$((SECONDS - windows_started)) s for both"
while IFS=$'\t' read -r build outcome reason; do
    printf '%s\t%s\t%s\n' "$build" "$outcome" "${reason:+$reason, }$windows_time" >>"$report"
done <"$windows_report"
rm -f "$windows_report"

stage "fuzz" bash scripts/fuzz.sh "${VANTREL_FUZZ_SECONDS:-60}"

echo
echo "=== Summary"
status=0
while IFS=$'\t' read -r name outcome detail; do
    printf '%-16s %-8s %s\n' "$name" "$outcome" "$detail"
    [ "$outcome" != failed ] || status=1
done <"$report"
if [ $status -eq 0 ]; then
    echo "All stages passed (or were skipped for the reason given)."
else
    echo "Some stages failed."
fi
exit $status
