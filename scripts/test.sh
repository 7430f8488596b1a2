#!/usr/bin/env bash
# Checks that includes point down the layers, installs what is missing, builds and runs every
# test:
#   1. the normal build (gcc, RelWithDebInfo with line tables only, warnings as errors), all test
#      labels (the ui tests start an Xvfb of their own and drive the window on the xcb platform);
#   2. an address+undefined sanitizer build with clang (a fifth faster to compile than gcc's)
#      without the benchmarks, optimised as the sanitizers advise (-O1) and with line tables only,
#      which is what their reports use: the unit, gui and ui labels (the ui tests open boxes inside
#      focus and key handlers, where a freed object shows first) and the libFuzzer targets of the
#      pure layers, built in the same build, for short smoke runs. The e2e label waits on the
#      wire's pauses and runs in the normal build only; the link engine it drives is tested
#      under the sanitizers by the unit and gui labels.
# A build with only the pure layers and their fuzz targets, for long fuzz runs: -DQ7X_FUZZ=ON
# with clang (HACKING.md).
set -euo pipefail
cd "$(dirname "$0")/.."
# Each stage's heading says how long the command has run so far.
stage() { echo "== $1 ($((SECONDS / 60)) min $((SECONDS % 60)) s)"; }
stage "include directions"
bash scripts/check-includes.sh
bash scripts/install-deps.sh

jobs=$(nproc)
# The device tests mostly wait on the wire's pauses, so one test more than there are processors
# runs beside them.
test_jobs=$((jobs + 1))
export QT_QPA_PLATFORM=offscreen

stage "normal build"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$test_jobs"

stage "sanitizer build (address, undefined)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_SANITIZE=ON -DQ7X_WERROR=ON \
  -DQ7X_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$test_jobs" -L '^(unit|gui|ui)$'

stage "fuzz smoke (libFuzzer, in the sanitizer build)"
if ctest --test-dir build/sanitize -N -L fuzz | grep -q 'Total Tests: [1-9]'; then
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -L fuzz
fi
stage "Windows compile check (mingw-w64)"
bash scripts/windows-check.sh
stage "all tests passed"
