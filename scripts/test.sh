#!/usr/bin/env bash
# Installs what the tests need, builds everything from nothing with the sanitizers on, and runs
# every test, those with real FFmpeg once per FFmpeg release. The program and its tests are
# also cross-built for Windows with MinGW-w64 and run under Wine, in a prefix of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh

# Other FFmpeg releases than the host's, each in a Debian root cached outside the clone: the
# real-tool tests run once per release.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
releases=$("${as_root[@]}" ./scripts/ffmpeg_releases.sh | awk '{ sub(/-.*/, "", $2); print $2 "=" $3 }' |
  paste -sd';')

build=build/test
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELVANE_SANITIZE=ON \
  -DQUELVANE_FFMPEG_RELEASES="$releases"
cmake --build "$build"

# The Debian package, built as the README's install command builds it (its own Release build,
# kept between runs), and what it holds.
./scripts/package.sh
tests/check_package.sh build/package/quelvane_*.deb

# Windows: the whole program against Qt for MinGW (built once per machine from Debian's
# sources, then reused), and one Wine session for all its tests, ended with everything it ran,
# also on failure.
qt_windows=$(./scripts/windows_qt.sh)
win=$build/win64
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt_windows/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$win"
trap 'WINEPREFIX="$PWD/$win/wine" wineserver -k 2>/dev/null || true' EXIT
ctest --test-dir "$win" --output-on-failure -j2

# The Windows zip and installer, built as the README's command builds them (their own Release
# build, kept between runs), and the installer at work under Wine.
./scripts/windows.sh
tests/check_windows_installer.sh build/windows/Quelvane-*-setup.exe "$win/fake_tool.exe" \
  "$win/wine-installer"

# Last, so that its summary closes the run.
ctest --test-dir "$build" --output-on-failure -j2
