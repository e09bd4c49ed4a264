#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over the C++ sources of src/
# (or the files named), using the compile commands of a configured build folder.
#
#   tools/check-tidy.sh [--build DIR] [--analyzer] [FILE...]
#
# CI leaves out the path-sensitive static analyzer (clang-analyzer-*), which
# doubles the time; run with --analyzer before a large change lands.
#
# A source that passed before with the same text after the preprocessor (its
# headers included), the same checks and the same clang-tidy is not looked at
# again (tools/tidy_cache.py; the record is kept in STIRPEX_TIDY_CACHE,
# ~/.cache/stirpex/tidy by default; STIRPEX_TIDY_CACHE=off looks at all).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
analyzer=0
files=()
while (($#)); do
    case "$1" in
    --build) build=$2; shift 2 ;;
    --analyzer) analyzer=1; shift ;;
    *) files+=("$1"); shift ;;
    esac
done
if [ ! -f "$build/compile_commands.json" ]; then
    echo "check-tidy: no $build/compile_commands.json; configure the build first (tools/build.sh)" >&2
    exit 2
fi
if ((${#files[@]} == 0)); then
    mapfile -t files < <(git ls-files -- 'src/*.cpp')
fi
checks=()
if ((analyzer == 0)); then
    checks=(-checks=-clang-analyzer-*)
fi
cache=${STIRPEX_TIDY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/stirpex/tidy}
keys=$(mktemp)
changed=$(mktemp)
trap 'rm -f "$keys" "$changed"' EXIT
if [ "$cache" != off ]; then
    total=${#files[@]}
    python3 tools/tidy_cache.py --build "$build" --cache "$cache" --checks="${checks[*]}" --keys-out "$keys" \
        "${files[@]}" >"$changed"
    mapfile -t files <"$changed"
    echo "check-tidy: ${#files[@]} of $total sources changed since they last passed"
    ((${#files[@]} > 0)) || exit 0
fi
# run-clang-tidy takes regular expressions: anchor each path.
patterns=()
for file in "${files[@]}"; do
    patterns+=("$(realpath "$file" | sed 's/[.+]/\\&/g')\$")
done
run-clang-tidy -p "$build" -quiet -j "$(nproc)" "${checks[@]}" "${patterns[@]}"
if [ "$cache" != off ]; then
    python3 tools/tidy_cache.py --build "$build" --cache "$cache" --keys-out "$keys" --remember
fi
