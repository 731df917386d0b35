#!/usr/bin/env bash
# Runs every benchmark executable of the build folder given (default: build).
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
done
if [ -x "$build/bench/gui_indicator_host" ]; then bash "$(dirname "$0")/../bench/gui_indicator_cpu.sh" "$build/bench/gui_indicator_host"; fi
