#!/usr/bin/env bash
# A short fuzz run of the reader, seeded with our own and the public sample files
# kept in the repository (libFuzzer reads the seed folders, writes only to the first).
set -euo pipefail
fuzzer=$1
seconds=${2:-60}
root="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
cp "$root"/tests/data/*.ged "$root"/samples/*.ged "$work/corpus/"
"$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/" "$work/corpus" "$root/tests/data/corpus"
