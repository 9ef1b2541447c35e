#!/usr/bin/env bash
# Fails when a source under src/ includes a header of a folder above its own
# (the layers are in cmake/layers.cmake), naming the file, the line and the
# include. The build runs the same check.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -P cmake/check_layers.cmake
