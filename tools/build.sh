#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DSTIRPEX_WERROR=ON -DSTIRPEX_BUILD_UI=ON "$@"
cmake --build build --parallel 2
