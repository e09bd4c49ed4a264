#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the formatting check
# first (it takes seconds), then the suite, clang-tidy, the tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, and the
# install and package checks (the package is installed and removed again).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

echo "== formatting (${SECONDS} s in)"
bash tools/check-format.sh

echo "== build and test (${SECONDS} s in)"
bash tools/build.sh
ctest --test-dir build --output-on-failure --parallel 2

echo "== clang-tidy (${SECONDS} s in)"
bash tools/check-tidy.sh --build build

echo "== sanitizers (address, undefined): the core and window tests (${SECONDS} s in)"
source tools/compiler-cache.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTIRPEX_WERROR=ON \
    -DSTIRPEX_SANITIZERS="address;undefined" -DSTIRPEX_BUILD_BENCH=OFF -DSTIRPEX_BUILD_UI=ON "${CACHE_LAUNCHER[@]}"
cmake --build build-asan --parallel 2
ctest --test-dir build-asan --output-on-failure --parallel 2 -L "core|ui"

echo "== fuzz every area briefly (${SECONDS} s in)"
bash tools/fuzz.sh "${STIRPEX_FUZZ_SECONDS:-20}"

echo "== install and package (${SECONDS} s in)"
bash tools/check-install.sh build

echo "== every stage passed (${SECONDS} s in all)"
