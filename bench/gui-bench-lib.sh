# Shared by the whole-process GUI benchmarks (sourced): a display of their own, starting a
# host program on it, and reading CPU time from /proc.
#   Needs $work (a scratch folder) and $name (for messages) set by the caller; sets $xvfb,
#   $display and $pid, and cleans up whatever is still running on exit.

command -v Xvfb >/dev/null || { echo "$name: Xvfb is not installed" >&2; exit 1; }

xvfb=
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes the display number it took once it accepts clients.
exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    display=$(head -n1 "$work/displayfd" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "${display:-}" ] || { echo "$name: Xvfb did not start" >&2; exit 1; }

# Starts "$host $1" in a clean session (no desktop bus, settings of its own, no input
# method) with its output in $2, and waits until it prints "ready"; sets $pid.
start_host() {
    local config="$2.config"
    mkdir -p "$config"
    env -i PATH="$PATH" HOME="$work" ${EXTRA_ENV:-} XDG_CONFIG_HOME="$config" \
        XDG_RUNTIME_DIR="$work" DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
        "$host" "$1" > "$2" 2> "$2.err" &
    pid=$!
    for _ in $(seq 400); do
        grep -q ready "$2" 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    grep -q ready "$2" || { echo "$name: $1 did not start:" >&2; cat "$2.err" >&2; exit 1; }
}

stop_host() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    pid=
}

# Nanoseconds on CPU of every thread of process $1.
cpu_ns() {
    local total=0 run rest task
    for task in /proc/"$1"/task/*; do
        read -r run rest < "$task/schedstat" 2>/dev/null || continue
        total=$((total + run))
    done
    echo "$total"
}

median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
