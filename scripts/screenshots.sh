#!/usr/bin/env bash
# Renders every tab of the main window offscreen into <builddir>/screenshots/*.png.
set -euo pipefail
build=${1:-build}
exe="$build/app/orvane-gui"
out="$build/screenshots"

if [ ! -x "$exe" ]; then
    echo "orvane-gui has not been built (looked for $exe); run 'make build' first." >&2
    exit 1
fi
# A throw-away settings folder, so the shots do not depend on (or change) the user's.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$out"
rm -f "$out"/*.png
XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$config" QT_QPA_PLATFORM=offscreen \
    "$exe" --screenshots "$out" --tick-ms 10
echo "Screenshots written to $out:"
ls -1 "$out"
