#!/usr/bin/env bash
# Takes a picture of every page of the window in a real X server (Xvfb), for each tool mode.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
out=${2:-shots}
cmake --build "$build" --target q7xshots
for mode in demo-q72 demo-q71 online; do
  xvfb-run -a -s "-screen 0 1024x768x24" "$build/tools/shots/q7xshots" "$out" "$mode"
done
ls "$out"
