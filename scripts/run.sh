#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts the configurator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target q7xconf q7xsim
exec build/release/app/q7xconf "$@"
