#!/usr/bin/env bash
# Installs what is needed, builds, and shows the bundled sample family.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
sample=samples/harrow_family.ged
./build/src/stirpex-cli stats "$sample"
./build/src/stirpex-cli dump "$sample"
