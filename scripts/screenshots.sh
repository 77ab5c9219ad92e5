#!/usr/bin/env bash
# Writes pictures of the main window, the progress dialog under way and the About dialog into
# docs/, drawn on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
build=build/screens
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target screenshots
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" env QT_QPA_PLATFORM=xcb "$build/tests/screenshots" docs
ls -l docs/*.png
