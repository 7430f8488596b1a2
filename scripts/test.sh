#!/usr/bin/env bash
# Checks that includes point down the layers, installs what is missing, builds and runs every
# test:
#   1. the normal build (RelWithDebInfo, warnings as errors), all test labels (the ui tests start
#      an Xvfb of their own and drive the window on the xcb platform);
#   2. an address+undefined sanitizer build without the benchmarks, unit, gui, ui and e2e labels
#      (the ui tests open boxes inside focus and key handlers, where a freed object shows first),
#      optimised as the sanitizers advise (-O1) and with line tables only, which is what their
#      reports use and compiles a third faster;
#   3. a clang libFuzzer build of the pure layers, short fuzz smoke runs.
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
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$test_jobs"

stage "sanitizer build (address, undefined)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_SANITIZE=ON -DQ7X_WERROR=ON \
  -DQ7X_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$test_jobs" -L '^(unit|gui|ui|e2e)$'

stage "fuzz smoke (libFuzzer)"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$jobs"
if ctest --test-dir build/fuzz -N -L fuzz | grep -q 'Total Tests: [1-9]'; then
  ctest --test-dir build/fuzz --output-on-failure -j "$jobs" -L fuzz
fi
stage "Windows compile check (mingw-w64)"
bash scripts/windows-check.sh
stage "all tests passed"
