#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the formatting check
# first (it takes seconds), then the suite, clang-tidy, the tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, and the
# install and package checks (the package is installed and removed again).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

echo "== formatting"
bash tools/check-format.sh

echo "== build and test"
bash tools/build.sh
ctest --test-dir build --output-on-failure --parallel 2

echo "== clang-tidy"
bash tools/check-tidy.sh --build build

echo "== sanitizers (address, undefined)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTIRPEX_WERROR=ON \
    -DSTIRPEX_SANITIZERS="address;undefined" -DSTIRPEX_BUILD_BENCH=OFF -DSTIRPEX_BUILD_UI=OFF
cmake --build build-asan --parallel 2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --parallel 2 -L core

echo "== fuzz the reader"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTIRPEX_FUZZ=ON \
    -DSTIRPEX_BUILD_TESTS=OFF -DSTIRPEX_BUILD_BENCH=OFF -DSTIRPEX_BUILD_UI=OFF
cmake --build build-fuzz --parallel 2 --target stirpex_reader_fuzz
bash tests/fuzz/run_fuzz.sh build-fuzz/tests/fuzz/stirpex_reader_fuzz "${STIRPEX_FUZZ_SECONDS:-60}"

echo "== install and package"
bash tools/check-install.sh build
