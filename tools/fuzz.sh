#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz/ (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and fuzzes each:
#
#     bash tools/fuzz.sh [SECONDS] [AREA...]
#
# SECONDS per target (default 60); AREA any of reader, parts, page, trees,
# names, story (default all). Seeds are our own files (tests/data, samples; the small
# ones also in UTF-16 and as GEDZIP archives) and the public ones in
# tests/data/corpus, which libFuzzer reads recursively. What a
# run learns stays in build-fuzz/fuzz-corpus/AREA/ for the next run; what it
# finds (crash-*, timeout-*, oom-*, leak-*: each input a GEDCOM file that
# replays the run) goes to build-fuzz/findings/AREA/, beside the fuzzer's log.
# Targets run side by side, one a core (STIRPEX_FUZZ_JOBS sets how many).
# Exits 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
areas=("$@")
[ ${#areas[@]} -gt 0 ] || areas=(reader parts page trees names story)

source tools/compiler-cache.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTIRPEX_FUZZ=ON -DSTIRPEX_WERROR=ON \
    -DSTIRPEX_BUILD_TESTS=OFF -DSTIRPEX_BUILD_BENCH=OFF -DSTIRPEX_BUILD_UI=OFF "${CACHE_LAUNCHER[@]}" >/dev/null
targets=()
for area in "${areas[@]}"; do
    targets+=("stirpex_${area}_fuzz")
done
cmake --build build-fuzz --parallel 2 --target "${targets[@]}"

seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
cp tests/data/*.ged samples/*.ged "$seeds/"
# Our small files also as UTF-16 either way round and packed as GEDZIP archives.
for file in tests/data/*.ged; do
    name=$(basename "$file" .ged)
    # -c: a file split inside its characters (joined only when read) has no UTF-16 form; a seed needs none.
    iconv -c -f UTF-8 -t UTF-16LE "$file" >"$seeds/$name-utf16le.ged" || true
    { printf '\xfe\xff'; iconv -c -f UTF-8 -t UTF-16BE "$file" || true; } >"$seeds/$name-utf16be.ged"
    mkdir -p "$seeds/$name.stage/media"
    cp "$file" "$seeds/$name.stage/gedcom.ged"
    printf 'the bytes of a photograph' >"$seeds/$name.stage/media/photo.jpg"
    (cd "$seeds/$name.stage" && cmake -E tar cf "../$name.gdz" --format=zip gedcom.ged media)
    rm -r "$seeds/$name.stage"
done
jobs=${STIRPEX_FUZZ_JOBS:-$(nproc)}
fuzz_area() {
    local area=$1 corpus=build-fuzz/fuzz-corpus/$1 findings=build-fuzz/findings/$1
    mkdir -p "$corpus" "$findings"
    "build-fuzz/tests/fuzz/stirpex_${area}_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
        -rss_limit_mb=2048 -dict=tests/fuzz/gedcom.dict -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$seeds" tests/data/corpus >"$findings/fuzz.log" 2>&1
}
pids=()
for area in "${areas[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    echo "== fuzz $area for $seconds s"
    fuzz_area "$area" &
    pids+=($!)
done
found=()
for i in "${!areas[@]}"; do
    area=${areas[$i]}
    findings=build-fuzz/findings/$area
    if ! wait "${pids[$i]}"; then
        found+=("$area")
        echo "-- $area found a fault; the end of its log:"
        tail -n 60 "$findings/fuzz.log"
    fi
    echo "-- $area:"
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' "$findings/fuzz.log" || true
done
if [ ${#found[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${found[*]} (inputs and logs in build-fuzz/findings/)" >&2
    exit 1
fi
echo "fuzzing found nothing"
