#!/usr/bin/env bash
# What the Indicator tab costs while it shows live data: CPU share of one core of the GUI
# process (all threads) and of the X server, and the GUI's memory, read from /proc over a
# measured period, median of RUNS runs per scenario.
#   bench/gui_indicator_cpu.sh [host] [scenarios...]
# host: the gui_indicator_host executable (default build/bench/gui_indicator_host);
# scenarios: running failed-fan comms-tab (default all; comms-tab is the same connection
# on the Comms tab, for comparison). RUNS (3), SETTLE (5) and SECONDS_MEASURED
# (60) come from the environment.
set -euo pipefail
host=${1:-build/bench/gui_indicator_host}
shift || true
scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] || scenarios=(running failed-fan comms-tab)
runs=${RUNS:-3}
settle=${SETTLE:-5}
seconds=${SECONDS_MEASURED:-60}

[ -x "$host" ] || { echo "gui_indicator_cpu: no $host (build the benchmarks target)" >&2; exit 1; }
work=$(mktemp -d)
name=gui_indicator_cpu
source "$(dirname "$0")/gui-bench-lib.sh"

now_ns() { date +%s%N; }
kib() { awk -v key="$2:" '$1 == key {print $2}' /proc/"$1"/status; }

printf '%-11s %10s %10s %12s %12s   (median of %d runs of %d s)\n' scenario "gui cpu %" \
    "X cpu %" "rss MiB" "peak MiB" "$runs" "$seconds"
for scenario in "${scenarios[@]}"; do
    gui=() x=() rss=() peak=()
    for run in $(seq "$runs"); do
        start_host "$scenario" "$work/out-$scenario-$run"
        sleep "$settle"
        g0=$(cpu_ns "$pid") x0=$(cpu_ns "$xvfb") t0=$(now_ns)
        sleep "$seconds"
        g1=$(cpu_ns "$pid") x1=$(cpu_ns "$xvfb") t1=$(now_ns)
        kill -0 "$pid" 2>/dev/null || { echo "gui_indicator_cpu: $scenario ended early" >&2; exit 1; }
        gui+=("$(awk -v c=$((g1 - g0)) -v w=$((t1 - t0)) 'BEGIN {printf "%.3f", c * 100 / w}')")
        x+=("$(awk -v c=$((x1 - x0)) -v w=$((t1 - t0)) 'BEGIN {printf "%.3f", c * 100 / w}')")
        rss+=("$(awk -v k="$(kib "$pid" VmRSS)" 'BEGIN {printf "%.1f", k / 1024}')")
        peak+=("$(awk -v k="$(kib "$pid" VmHWM)" 'BEGIN {printf "%.1f", k / 1024}')")
        stop_host
    done
    printf '%-11s %10s %10s %12s %12s   runs: gui %s\n' "$scenario" \
        "$(printf '%s\n' "${gui[@]}" | median)" "$(printf '%s\n' "${x[@]}" | median)" \
        "$(printf '%s\n' "${rss[@]}" | median)" "$(printf '%s\n' "${peak[@]}" | median)" \
        "${gui[*]}"
done
