#!/usr/bin/env bash
# orvane-cli.exe under Wine against the Linux orvane-sim, through a COM port of the test
# prefix linked to the simulator's pseudo-terminal:
#   cli-under-wine.sh CASE PREFIX ORVANE_CLI_EXE ORVANE_SIM
# Exit 77 means skipped; the reason is printed.
set -euo pipefail
case_name=$1 prefix=$2 cli=$3 sim=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "$(dirname "$prefix")/cli-$case_name.XXXXXX")
tick=100 # ms; the simulator's clock runs as many times faster
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_sim N [OPTIONS]: a simulator whose terminal is COMN of the prefix.
start_sim() {
    local com=$1
    shift
    "$sim" --unpaced --time-scale $((1000 / tick)) "$@" >"sim$com.out" 2>&1 </dev/null &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "sim$com.out" ] && break
        sleep 0.05
    done
    local pty
    pty=$(head -n 1 "sim$com.out")
    [ -c "$pty" ] || fail "the simulator gave no terminal: $(cat "sim$com.out")"
    ln -sfn "$pty" "$prefix/dosdevices/com$com"
}

# cli ARGS...: runs the tool; its status in $status, its output in out.txt and err.txt.
cli() {
    status=0
    bash "$here/wine-run.sh" "$prefix" "$cli" "$@" --tick-ms "$tick" >out.txt 2>err.txt ||
        status=$?
    echo "orvane-cli.exe $* -> exit $status" >&2
    sed 's/^/  | /' out.txt err.txt >&2
}

expect_status() {
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

# The registers and checksum of a configuration file, one line.
registers() {
    python3 -c '
import sys
text = open(sys.argv[1], "rb").read().decode("utf-16-le").lstrip("\ufeff")
start = text.index("<") + 2
print(text[start:start + 1604])' "$1"
}

case $case_name in
read-write-verify)
    start_sim 5
    cli read --port COM5 -o read.txt
    expect_status 0
    [ "$(stat -c %s read.txt)" -eq 3234 ] || fail "read.txt is not a configuration file"
    # Fan 2's ramp rate and the configuration's issue changed, the checksum made anew.
    python3 - read.txt edited.txt <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
bom = raw.startswith(b"\xff\xfe")
text = raw.decode("utf-16-le").lstrip("\ufeff")
start = text.index("<") + 2
regs = [text[start + 4 * i:start + 4 * i + 4] for i in range(400)]
regs[186], regs[211] = "0019", "0002"
check = 4
for r in regs:
    check ^= int(r, 16)
text = text[:start] + "".join(regs) + "%04X" % check + text[start + 1604:]
open(sys.argv[2], "wb").write((b"\xff\xfe" if bom else b"") + text.encode("utf-16-le"))
PY
    [ "$(registers edited.txt)" != "$(registers read.txt)" ] || fail "the edit changed nothing"
    mkdir backups
    cli write --port COM5 edited.txt --backup backups --verify
    expect_status 0
    grep -q "^Verified" out.txt err.txt || fail "no verification reported"
    backup=$(ls backups/*.txt)
    [ "$(registers "$backup")" = "$(registers read.txt)" ] || fail "the backup is not what was read"
    cli read --port COM5 -o again.txt
    expect_status 0
    [ "$(registers again.txt)" = "$(registers edited.txt)" ] || fail "read back differs"
    ;;
info)
    start_sim 6
    cli info --port COM6 --json
    expect_status 0
    python3 -c 'import json; d = json.load(open("out.txt")); assert "Firmware Version" in d["identification"], d' ||
        fail "info printed no identification with the firmware version"
    ;;
log-csv)
    start_sim 7
    cli log --port COM7 -o live.csv --csv --seconds 3
    expect_status 0
    python3 - live.csv <<'PY' || fail "live.csv is not three records with a header"
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="", encoding="utf-8")))
assert len(rows) == 4, rows
assert all(len(row) == len(rows[0]) for row in rows), rows
PY
    ;;
absent-port)
    rm -f "$prefix/dosdevices/com9"
    cli read --port COM9 -o none.txt
    expect_status 4
    grep -q "COM9.*is not present" err.txt || fail "the message does not name the port and why"
    [ ! -e none.txt ] || fail "a file was written"
    ;;
in-use)
    start_sim 8
    bash "$here/wine-run.sh" "$prefix" "$cli" log --port COM8 -o held.txt --seconds 40 \
        --tick-ms "$tick" >held.out 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s held.txt ] && break
        sleep 0.1
    done
    [ -s held.txt ] || fail "the first tool did not start logging: $(cat held.out)"
    cli info --port COM8
    if ! grep -q "cannot open" err.txt; then
        echo "SKIPPED: Wine lets a second program open a COM port that one holds" \
            "(Windows refuses it with access denied); the second tool ended with" \
            "exit $status: $(cat err.txt)"
        exit 77
    fi
    expect_status 4
    grep -q "COM8" err.txt || fail "the message does not name the port"
    ;;
*)
    fail "no such case: $case_name"
    ;;
esac
echo "passed: $case_name"
