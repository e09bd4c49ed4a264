#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/compiler-cache.sh
cmake -S . -B build -G Ninja -DSTIRPEX_WERROR=ON -DSTIRPEX_BUILD_UI=ON "${CACHE_LAUNCHER[@]}" "$@"
cmake --build build --parallel 2
