#!/usr/bin/env bash
# Checks that includes point down the layers, installs what is missing, builds and runs every
# test:
#   1. the normal build (gcc, RelWithDebInfo with line tables only, warnings as errors) of the
#      programs, the benchmarks and the tests that need an optimised build: the e2e label (the
#      programs over pseudo-terminals, waiting on the wire's pauses), the package label, and the
#      seeded sweeps at their full size (label seeded);
#   2. an address+undefined sanitizer build with clang (a fifth faster to compile than gcc's)
#      without the benchmarks, optimised as the sanitizers advise (-O1) and with line tables only,
#      which is what their reports use: the unit, gui and ui labels (the ui tests start an Xvfb of
#      their own and open boxes inside focus and key handlers, where a freed object shows first;
#      the seeded sweeps run smaller here) and the libFuzzer targets of the pure layers, built in
#      the same build, for short smoke runs.
# Each test program runs once in one of the two builds (the seeded sweeps in both).
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
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DQ7X_TEST_LABELS="e2e;package;seeded"
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$test_jobs"

stage "sanitizer build (address, undefined)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ7X_SANITIZE=ON -DQ7X_WERROR=ON \
  -DQ7X_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DQ7X_TEST_LABELS="unit;gui;ui"
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$test_jobs" -L '^(unit|gui|ui)$'

stage "fuzz smoke (libFuzzer, in the sanitizer build)"
if ctest --test-dir build/sanitize -N -L fuzz | grep -q 'Total Tests: [1-9]'; then
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -L fuzz
fi
stage "Windows compile check (mingw-w64)"
bash scripts/windows-check.sh
stage "all tests passed"
