#!/usr/bin/env bash
# Builds and runs the idle-CPU check of the tool runner in an optimised build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_GUI=OFF >/dev/null
cmake --build build/bench --target idle_cpu
cd build/bench && ./tests/idle_cpu
