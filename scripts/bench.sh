#!/usr/bin/env bash
# Builds Vantrel with its benchmarks in build-bench/, runs every benchmark
# against its baseline and writes the table to BENCHMARKS.md. Takes several
# minutes; run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_BUILD_TESTS=OFF \
    -DVANTREL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j "$(nproc)" >/dev/null
python3 bench/run_benchmarks.py --build build-bench --output BENCHMARKS.md "$@"
