#!/usr/bin/env bash
# Start-up of the GUI against a plain Qt window with ten empty tabs: process start to the
# first window mapped, and the resident set 2 s after that, on one Xvfb display, the two
# programs run in turn, medians of RUNS runs each (after one unmeasured run of each).
#   bench/gui-startup.sh [build]
# RUNS (11) comes from the environment.
set -euo pipefail
build=${1:-build}
runs=${RUNS:-11}
timer=$build/bench/startup_map_timer
reference=$build/bench/startup_reference
gui=$build/app/orvane-gui
for program in "$timer" "$reference" "$gui"; do
    [ -x "$program" ] || { echo "gui-startup: no $program (build the benchmarks target)" >&2; exit 1; }
done
work=$(mktemp -d)
name=gui-startup
source "$(dirname "$0")/gui-bench-lib.sh"

# One run of program $1 in a clean session (settings of its own, no desktop bus):
# prints "<ms to map> <KiB resident>".
measure() {
    local config
    config=$(mktemp -d "$work/config.XXXX")
    env -i PATH="$PATH" HOME="$work" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work" \
        DISPLAY=":$display" QT_QPA_PLATFORM=xcb ${EXTRA_ENV:-} \
        "$timer" 2 "$1" | awk '{print $2, $4}'
}

measure "$reference" > /dev/null
measure "$gui" > /dev/null
: > "$work/reference"
: > "$work/gui"
for _ in $(seq "$runs"); do
    measure "$reference" >> "$work/reference"
    measure "$gui" >> "$work/gui"
done
column_median() { awk -v c="$1" '{print $c}' "$2" | median; }
ref_ms=$(column_median 1 "$work/reference")
gui_ms=$(column_median 1 "$work/gui")
ref_kib=$(column_median 2 "$work/reference")
gui_kib=$(column_median 2 "$work/gui")
echo "== Start-up to the first window mapped (median of $runs alternating runs)"
awk -v rm="$ref_ms" -v gm="$gui_ms" -v rk="$ref_kib" -v gk="$gui_kib" 'BEGIN {
    printf "%-22s %10s %14s\n", "program", "ms to map", "MiB resident"
    printf "%-22s %10.1f %14.1f\n", "plain window, 10 tabs", rm, rk / 1024
    printf "%-22s %10.1f %14.1f\n", "orvane-gui", gm, gk / 1024
    printf "%-22s %10.2f %14.2f\n", "ratio", gm / rm, gk / rk }'
printf 'runs ms: plain %s| gui %s\n' "$(awk '{printf "%s ", $1}' "$work/reference")" \
    "$(awk '{printf "%s ", $1}' "$work/gui")"
