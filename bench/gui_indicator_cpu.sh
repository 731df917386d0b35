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
command -v Xvfb >/dev/null || { echo "gui_indicator_cpu: Xvfb is not installed" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    display=$(head -n1 "$work/displayfd" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "${display:-}" ] || { echo "gui_indicator_cpu: Xvfb did not start" >&2; exit 1; }

# Nanoseconds on CPU of every thread of process $1.
cpu_ns() {
    local total=0 run rest task
    for task in /proc/"$1"/task/*; do
        read -r run rest < "$task/schedstat" 2>/dev/null || continue
        total=$((total + run))
    done
    echo "$total"
}
now_ns() { date +%s%N; }
kib() { awk -v key="$2:" '$1 == key {print $2}' /proc/"$1"/status; }
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

printf '%-11s %10s %10s %12s %12s   (median of %d runs of %d s)\n' scenario "gui cpu %" \
    "X cpu %" "rss MiB" "peak MiB" "$runs" "$seconds"
for scenario in "${scenarios[@]}"; do
    gui=() x=() rss=() peak=()
    for run in $(seq "$runs"); do
        mkdir -p "$work/config-$run"
        out="$work/out-$scenario-$run"
        env -i PATH="$PATH" HOME="$work" XDG_CONFIG_HOME="$work/config-$run" \
            XDG_RUNTIME_DIR="$work" DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
            "$host" "$scenario" > "$out" 2> "$out.err" &
        pid=$!
        for _ in $(seq 400); do
            grep -q ready "$out" 2>/dev/null && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        grep -q ready "$out" || { echo "gui_indicator_cpu: $scenario did not start:" >&2; cat "$out.err" >&2; exit 1; }
        sleep "$settle"
        g0=$(cpu_ns "$pid") x0=$(cpu_ns "$xvfb") t0=$(now_ns)
        sleep "$seconds"
        g1=$(cpu_ns "$pid") x1=$(cpu_ns "$xvfb") t1=$(now_ns)
        kill -0 "$pid" 2>/dev/null || { echo "gui_indicator_cpu: $scenario ended early" >&2; exit 1; }
        gui+=("$(awk -v c=$((g1 - g0)) -v w=$((t1 - t0)) 'BEGIN {printf "%.3f", c * 100 / w}')")
        x+=("$(awk -v c=$((x1 - x0)) -v w=$((t1 - t0)) 'BEGIN {printf "%.3f", c * 100 / w}')")
        rss+=("$(awk -v k="$(kib "$pid" VmRSS)" 'BEGIN {printf "%.1f", k / 1024}')")
        peak+=("$(awk -v k="$(kib "$pid" VmHWM)" 'BEGIN {printf "%.1f", k / 1024}')")
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null || true
        pid=
    done
    printf '%-11s %10s %10s %12s %12s   runs: gui %s\n' "$scenario" \
        "$(printf '%s\n' "${gui[@]}" | median)" "$(printf '%s\n' "${x[@]}" | median)" \
        "$(printf '%s\n' "${rss[@]}" | median)" "$(printf '%s\n' "${peak[@]}" | median)" \
        "${gui[*]}"
done
