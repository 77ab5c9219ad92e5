#!/usr/bin/env bash
# Builds and runs the idle-CPU check of the tool runner in an optimised build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build/idle -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_GUI=OFF >/dev/null
cmake --build build/idle --target idle_cpu
cd build/idle && ./tests/idle_cpu
