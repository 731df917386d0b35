#!/usr/bin/env bash
# Starts the GUI built in <builddir>; without a display says so instead of crashing.
set -euo pipefail
build=${1:-build}
exe="$build/app/orvane-gui"

if [ ! -x "$exe" ]; then
    echo "orvane-gui has not been built (looked for $exe); run 'make build' first." >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    cat >&2 <<'MSG'
Orvane - GUI needs a graphical display, and none was found
(neither DISPLAY nor WAYLAND_DISPLAY is set).
Run 'make run' from a desktop session, or over ssh with X forwarding (ssh -X),
or under a virtual display:   xvfb-run make run
The rendered tabs can also be produced without a display:   make screenshots
MSG
    exit 2
fi
exec "$exe"
