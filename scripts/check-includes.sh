#!/usr/bin/env bash
# Fails when a source folder includes a header of a layer above it or beside it, so that the
# layers keep pointing one way: app/ and cli/ over pages/ and report/, those over image/, link/
# and lang/, and those over core/.
# Usage: scripts/check-includes.sh [source-root]   (default: the checkout holding this script)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A forbidden=(
    [core]="image link lang pages report app cli"
    [image]="pages report app lang link cli"
    [link]="pages report app lang image cli"
    [lang]="pages report app image link cli"
    [pages]="app cli"
    [report]="pages app cli"
    [cli]="app pages"
)
# Includes allowed to cross a layer while they are being moved out: "file:included header".
allowed=()

status=0
for folder in "${!forbidden[@]}"; do
    [[ -d $folder ]] || continue
    above=$(tr ' ' '|' <<<"${forbidden[$folder]}")
    while IFS=: read -r file line text; do
        header=$(sed -E 's/.*["<]([^">]*)[">].*/\1/' <<<"$text")
        if [[ " ${allowed[*]} " == *" $file:$header "* ]]; then
            continue
        fi
        echo "$file:$line: $folder/ must not include $header" >&2
        status=1
    done < <(grep -rnE --include='*.cpp' --include='*.h' \
        "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($above)/" "$folder" || true)
done
exit $status
