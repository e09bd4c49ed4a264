#!/usr/bin/env bash
# From the process start to the first page painted: starts the desktop viewer
# on a file (offscreen, with a home and settings of its own, so that no
# remembered state weighs in) and reads the clock it prints on its first
# paint, beside `wc -l` and `cat` of the same file in the same run.
#   bench/first_page.sh [build/src/stirpex] [file] [runs]
set -euo pipefail
program=${1:-build/src/stirpex}
file=${2:-/work/gen500-utf8.ged}
runs=${3:-3}
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l | xargs printf '%.3f'; }

cat "$file" >/dev/null # the file cached, as for every run below
mb=$(( $(stat -c %s "$file") / 1000000 ))
echo "file: $file ($mb MB)"
for run in $(seq 1 "$runs"); do
    start=$(now); wc -l "$file" >/dev/null; wc=$(elapsed "$start" "$(now)")
    start=$(now); cat "$file" >/dev/null; catTime=$(elapsed "$start" "$(now)")
    start=$(now)
    line=$(env HOME="$sandbox" XDG_CONFIG_HOME="$sandbox/config" XDG_DATA_HOME="$sandbox/data" \
               XDG_RUNTIME_DIR="$sandbox" QT_QPA_PLATFORM=offscreen STIRPEX_FIRST_PAINT_CLOCK=1 \
               "$program" "$file" | grep '^first-paint ')
    page=$(elapsed "$start" "${line#first-paint }")
    echo "run $run: first page ${page} s, wc -l ${wc} s, cat ${catTime} s"
done
