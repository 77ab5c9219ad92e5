#!/usr/bin/env bash
# Builds an optimised build with Debian's FFmpeg at the helper tool's place inside it, and runs
# the benchmark of the program's own cost next to bare FFmpeg; it prints a table. Arguments go
# to the benchmark (--rounds N).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_SYSTEM_DIR="$PWD/$build/system" \
  >/dev/null
cmake --build "$build" --target quelvane_benchmark
mkdir -p "$build/system/quelvanesvc"
ln -sfn /usr/bin/ffmpeg "$build/system/quelvanesvc/client"
cd "$build" && exec ./bench/quelvane_benchmark "$@"
