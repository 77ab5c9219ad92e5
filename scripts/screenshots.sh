#!/usr/bin/env bash
# Writes pictures of the main window, the progress dialog under way and the About dialog into
# docs/, drawn on a virtual X display. With --windows: the main window of the Windows build as
# Qt's windows platform draws it under Wine, into docs/main-window-windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
if [ "${1:-}" = --windows ]; then
  qt=$(./scripts/windows_qt.sh)
  build=build/screens-win
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$build" --target quelvane screenshots
  # Drawn from the program's folder as a user gets it, with its DLLs and plugins.
  folder=$build/folder
  rm -rf "$folder" "$build/pictures"
  cmake --install "$build" --prefix "$folder" >/dev/null
  cp "$build/screenshots.exe" "$folder/"
  mkdir -p "$build/pictures"
  export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  # Wine's own fonts go into the prefix's Fonts folder: without them the fallback font is wrong.
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" sh -c '
    wineboot --init >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wine "$1/screenshots.exe" "$2"; status=$?
    wineserver -k
    exit $status' sh "$folder" "$build/pictures"
  cp "$build/pictures/main-window.png" docs/main-window-windows.png
  ls -l docs/main-window-windows.png
  exit 0
fi
build=build/screens
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target screenshots
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" env QT_QPA_PLATFORM=xcb "$build/tests/screenshots" docs
ls -l docs/*.png
