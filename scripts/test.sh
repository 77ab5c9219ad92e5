#!/usr/bin/env bash
# Installs what the tests need, builds everything from nothing with the sanitizers on, and runs
# every test, those with real FFmpeg once per FFmpeg release. The Qt-free core and its tests are
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

# Windows: one Wine session for all its tests, ended with everything it ran, also on failure.
win=$build/win64
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Debug -DQUELVANE_GUI=OFF
cmake --build "$win"
trap 'WINEPREFIX="$PWD/$win/wine" wineserver -k 2>/dev/null || true' EXIT
ctest --test-dir "$win" --output-on-failure -j2

# Last, so that its summary closes the run.
ctest --test-dir "$build" --output-on-failure -j2
