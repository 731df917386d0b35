#!/usr/bin/env bash
# Runs every benchmark executable of the build folder given (default: build), then
# measures what the whole GUI process costs idle, connected and streaming (under Xvfb).
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
done
if [ -x "$build/bench/gui_cost_host" ]; then
    echo "== GUI process: CPU and wake-ups from /proc"
    bash "$(dirname "$0")/../bench/gui-cost.sh" "$build/bench/gui_cost_host"
fi
