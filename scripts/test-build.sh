#!/usr/bin/env bash
# Configures, builds and tests one build tree: scripts/test-build.sh DIR [CMAKE_ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=$1
shift
jobs=$(nproc)
cmake -S . -B "$dir" "$@"
cmake --build "$dir" -j "$jobs"
(cd "$dir" && ctest --output-on-failure -j "$jobs")
