#!/usr/bin/env bash
# Builds Quelvane for 64-bit Windows on Debian: the portable zip and the installer, in
# build/windows/. Qt for Windows is built from Debian's sources the first time (about half an
# hour) and kept in a cache outside the clone.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
qt=$(./scripts/windows_qt.sh)
build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build"

version=$(sed -n 's/^project(Quelvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=Quelvane-$version-windows-x64
folder=$build/$name
rm -rf "$folder"
cmake --install "$build" --prefix "$folder" >/dev/null
find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

rm -f "$build/$name.zip"
(cd "$build" && cmake -E tar cf "$name.zip" --format=zip "$name")
makensis -V2 -DVERSION="$version" -DFOLDER="$PWD/$folder" -DICON="$PWD/artwork/quelvane.ico" \
  -DOUTFILE="$PWD/$build/$name-setup.exe" packaging/windows/quelvane.nsi
echo "Portable folder: $folder ($(du -sh "$folder" | cut -f1))"
ls -l "$build/$name.zip" "$build/$name-setup.exe"
