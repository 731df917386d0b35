#!/usr/bin/env bash
# A fresh Wine prefix for the tests: wine-prefix.sh PREFIX. No Mono or Gecko: the
# programs under test need neither.
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine" wineboot -i >/dev/null 2>&1
test -d "$prefix/dosdevices" || { echo "wineboot made no prefix in $prefix" >&2; exit 1; }
echo "fresh Wine prefix in $prefix"
