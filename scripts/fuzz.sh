#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz and runs each one for a bounded
# time from its kept corpus in fuzz/corpus/<target>/.
#
#   scripts/fuzz.sh [seconds per target] [target...]
#
# The default is 60 seconds for every target. Inputs found worth keeping land
# in build-fuzz/corpus/<target>/, never in the repository; a finding stops the
# run with its input saved as build-fuzz/findings/<target>/crash-* (or leak-,
# timeout-, oom-) and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(pipeline der encoding framing)
fi

CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
    work=build-fuzz/corpus/$target
    findings=build-fuzz/findings/$target
    mkdir -p "$work" "$findings"
    dict=()
    if [ -f "fuzz/$target.dict" ]; then
        dict=(-dict="fuzz/$target.dict")
    fi
    echo "== $target: ${seconds}s"
    # -close_fd_mask=2 hides the host's own error lines; libFuzzer keeps its
    # reports on a copy of standard error.
    if ! "build-fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=20 \
        -rss_limit_mb=2048 -max_len=65536 -close_fd_mask=2 -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" \
        2>"build-fuzz/$target.log"; then
        echo "FINDING in $target: see build-fuzz/$target.log and $findings/"
        tail -n 60 "build-fuzz/$target.log"
        status=1
    else
        grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|Done )" "build-fuzz/$target.log" || true
    fi
done
exit $status
