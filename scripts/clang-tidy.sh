#!/usr/bin/env bash
# clang-tidy (.clang-tidy at the root) over every source file the build compiles, the
# generated ones left out; any finding fails. Version 16: 14 cannot parse libstdc++ 12's ranges.
#   scripts/clang-tidy.sh [builddir]   (default build; built, so its generated headers exist)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/compile_commands.json" ] || { echo "clang-tidy: no $build/compile_commands.json" >&2; exit 1; }
root=$(pwd)
mapfile -t files < <(git ls-files '*.cpp' | sed "s|^|$root/|" |
    grep -F -x -f <(python3 -c 'import json,sys; print("\n".join(e["file"] for e in json.load(open(sys.argv[1]))))' \
        "$build/compile_commands.json"))
echo "clang-tidy: ${#files[@]} files"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! run-clang-tidy-16 -clang-tidy-binary clang-tidy-16 -quiet -p "$build" -j "$(nproc)" "${files[@]}" > "$log" 2>&1 ||
    grep -q -E '(warning|error): ' "$log"; then
    grep -E -A3 '(warning|error): ' "$log" | sed 's/\x1b\[[0-9;]*m//g'
    echo "clang-tidy: findings above" >&2
    exit 1
fi
echo "clang-tidy: clean"
