#!/usr/bin/env bash
# Installs what the program needs, builds it, puts Debian's FFmpeg at the helper tool's place
# and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_TESTS=OFF
cmake --build build/release

tool_dir=$(sed -n 's/^QUELVANE_SYSTEM_DIR:PATH=//p' build/release/CMakeCache.txt)/quelvanesvc
if [ "$(readlink -f "$tool_dir/client" 2>/dev/null)" != "$(readlink -f /usr/bin/ffmpeg)" ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" mkdir -p "$tool_dir"
  "${as_root[@]}" ln -sfn /usr/bin/ffmpeg "$tool_dir/client"
fi

exec build/release/startup/quelvane
