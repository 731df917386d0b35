#!/usr/bin/env bash
# What the GUI costs while it waits: CPU share of one core and wake-ups a second of the
# whole process (all threads), read from /proc, median of RUNS runs per state.
#   bench/gui-cost.sh [host] [states...]
# host: the gui_cost_host executable (default build/bench/gui_cost_host); states: any of
# reference idle connected stream (default all). RUNS (5), SETTLE (3) and
# SECONDS_MEASURED (20) come from the environment; VERBOSE=1 shows each run per thread.
set -euo pipefail
host=${1:-build/bench/gui_cost_host}
shift || true
states=("$@")
[ ${#states[@]} -gt 0 ] || states=(reference idle connected stream)
runs=${RUNS:-5}
settle=${SETTLE:-3}
seconds=${SECONDS_MEASURED:-20}

[ -x "$host" ] || { echo "gui-cost: no $host (build the benchmarks target)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "gui-cost: Xvfb is not installed" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own; Xvfb writes the number it took once it accepts clients.
exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    display=$(head -n1 "$work/displayfd" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "${display:-}" ] || { echo "gui-cost: Xvfb did not start" >&2; exit 1; }

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

median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

printf '%-10s %14s %16s   (median of %d runs of %d s)\n' state "cpu % of core" "wake-ups / s" \
    "$runs" "$seconds"
for state in "${states[@]}"; do
    cpu=()
    wakes=()
    for run in $(seq "$runs"); do
        mkdir -p "$work/config-$run"
        out="$work/out-$state-$run"
        # A clean session: no desktop bus, settings of its own, no input method.
        env -i PATH="$PATH" HOME="$work" ${EXTRA_ENV:-} XDG_CONFIG_HOME="$work/config-$run" \
            XDG_RUNTIME_DIR="$work" DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
            "$host" "$state" > "$out" 2>"$out.err" &
        pid=$!
        for _ in $(seq 200); do
            grep -q ready "$out" 2>/dev/null && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        grep -q ready "$out" || { echo "gui-cost: $state did not start:" >&2; cat "$out.err" >&2; exit 1; }
        sleep "$settle"
        snapshot "$pid" > "$work/before"
        t0=$(date +%s%N)
        sleep "$seconds"
        snapshot "$pid" > "$work/after"
        t1=$(date +%s%N)
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        read -r c w who < <(compare "$work/before" "$work/after" "$((t1 - t0))")
        [ -n "${VERBOSE:-}" ] && echo "  $state run $run: $c% $w/s  $who"
        cpu+=("$c")
        wakes+=("$w")
    done
    printf '%-10s %14s %16s   runs: %s | %s\n' "$state" \
        "$(printf '%s\n' "${cpu[@]}" | median)" "$(printf '%s\n' "${wakes[@]}" | median)" \
        "${cpu[*]}" "${wakes[*]}"
done
