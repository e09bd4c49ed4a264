#!/usr/bin/env bash
# Installs what is needed, builds, and opens the viewer on the bundled sample family.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
sample=samples/harrow_family.ged
./build/src/stirpex-cli stats "$sample"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/src/stirpex "$sample"
fi
# No desktop to show the window on: run it on a virtual one, where it waits
# until it is closed or interrupted (Ctrl+C).
echo "No display found (DISPLAY is not set): starting the viewer on a virtual display; press Ctrl+C to end it."
exec xvfb-run -a ./build/src/stirpex "$sample"
