#!/usr/bin/env bash
# Core layers include only their own and lower layers, and the core nothing of the
# other folders: image < comms < rules < reports < chain.
set -euo pipefail
root=${1:-$(dirname "$0")/../..}
cd "$root/core"
order=(image comms rules reports chain)
status=0
for i in "${!order[@]}"; do
    layer=${order[$i]}
    allowed=$(printf '%s|' "${order[@]:0:$((i + 1))}")
    allowed=${allowed%|}
    while IFS= read -r hit; do
        echo "core/$layer may not include: $hit"
        status=1
    done < <(grep -nE '#include "' "$layer"/*.h "$layer"/*.cpp |
        grep -vE "#include \"core/($allowed)/" || true)
done
exit $status
