#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, so that nothing of the
# user's home is used: wine-run.sh PREFIX PROGRAM [ARGS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"
