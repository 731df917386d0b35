#!/usr/bin/env bash
# What the GUI costs while it waits: CPU share of one core and wake-ups a second of the
# whole process (all threads), read from /proc, median of RUNS runs per state.
#   bench/gui-cost.sh [host] [states...]
# host: the gui_cost_host executable (default build/bench/gui_cost_host); states: any of
# reference reference-tick idle connected stream hangup trend trend-day (default all). RUNS (5),
# SETTLE (3) and SECONDS_MEASURED (20) come from the environment; VERBOSE=1 shows each run
# per thread.
set -euo pipefail
host=${1:-build/bench/gui_cost_host}
shift || true
states=("$@")
[ ${#states[@]} -gt 0 ] || states=(reference reference-tick idle connected stream hangup trend trend-day)
runs=${RUNS:-5}
settle=${SETTLE:-3}
seconds=${SECONDS_MEASURED:-20}

[ -x "$host" ] || { echo "gui-cost: no $host (build the benchmarks target)" >&2; exit 1; }
work=$(mktemp -d)
name=gui-cost
source "$(dirname "$0")/gui-bench-lib.sh"

# One line per thread of process $1: "<tid> <name> <ns on CPU> <context switches>".
snapshot() {
    local task run rest
    for task in /proc/"$1"/task/*; do
        read -r run rest < "$task/schedstat" || continue
        printf '%s %s %s %s\n' "${task##*/}" "$(tr -d ' ' < "$task/comm")" "$run" \
            "$(awk '/ctxt_switches/ {s += $2} END {print s + 0}' "$task/status")"
    done
}

# From two snapshots and the wall time between them in ns: "<cpu %> <wake-ups/s> <per thread>",
# threads that ran through both counted.
compare() {
    awk -v wall="$3" 'NR == FNR {ns[$1] = $3; sw[$1] = $4; next}
        ($1 in ns) {d = $4 - sw[$1]; c = $3 - ns[$1]; cpu += c; wakes += d
                    if (d > 0) who = who sprintf("%s=%.1f/s,%.3f%% ", $2, d * 1e9 / wall, c * 100 / wall)}
        END {printf "%.4f %.2f %s\n", cpu * 100 / wall, wakes * 1e9 / wall, who}' "$1" "$2"
}

printf '%-10s %14s %16s   (median of %d runs of %d s)\n' state "cpu % of core" "wake-ups / s" \
    "$runs" "$seconds"
for state in "${states[@]}"; do
    cpu=()
    wakes=()
    for run in $(seq "$runs"); do
        start_host "$state" "$work/out-$state-$run"
        sleep "$settle"
        snapshot "$pid" > "$work/before"
        t0=$(date +%s%N)
        sleep "$seconds"
        snapshot "$pid" > "$work/after"
        t1=$(date +%s%N)
        stop_host
        read -r c w who < <(compare "$work/before" "$work/after" "$((t1 - t0))")
        [ -n "${VERBOSE:-}" ] && echo "  $state run $run: $c% $w/s  $who"
        cpu+=("$c")
        wakes+=("$w")
    done
    printf '%-10s %14s %16s   runs: %s | %s\n' "$state" \
        "$(printf '%s\n' "${cpu[@]}" | median)" "$(printf '%s\n' "${wakes[@]}" | median)" \
        "${cpu[*]}" "${wakes[*]}"
done
