#!/usr/bin/env bash
# Runs every benchmark executable of the build folder given (default: build), then
# measures what the whole GUI process costs idle, connected and streaming, and on the
# Indicator tab with live data, and its start-up against a plain Qt window (under Xvfb).
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
if [ -x "$build/bench/gui_indicator_host" ]; then bash "$(dirname "$0")/../bench/gui_indicator_cpu.sh" "$build/bench/gui_indicator_host"; fi
if [ -x "$build/bench/startup_map_timer" ]; then bash "$(dirname "$0")/../bench/gui-startup.sh" "$build"; fi
