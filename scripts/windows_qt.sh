#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64) from Debian's own qt6-base source package, the same
# version as the host Qt whose moc, rcc and uic it uses, with only what the program needs. Built
# once per machine into a cache outside the clone; later runs reuse it. Prints the Qt folder on
# its last line (progress goes to stderr).
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "Qt for Windows: $*" >&2; }
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
# Raised whenever the configuration below changes, so that an older build is not reused.
recipe=1
cache=${QUELVANE_CACHE:-/var/cache/quelvane}/qt6-mingw
prefix=$cache/$version-$recipe
"${as_root[@]}" mkdir -p "$cache"
"${as_root[@]}" chown "$(id -u):$(id -g)" "$cache"

# Another run on this machine may be building it right now: wait for that one.
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  say "reusing the build of $version in $prefix"
  echo "$prefix"
  exit 0
fi
say "building $version into $prefix (once per machine; about 30 minutes on 2 cores)"
start=$(date +%s)

# Debian's source package, from the archive apt already uses for the binary one.
work=$cache/work
rm -rf "$work" "$cache"/*-"$recipe".partial
mkdir -p "$work"
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
  read -r uri suite < <(apt-cache policy qt6-base-dev |
    awk '$1 ~ /^[0-9]+$/ && $2 ~ /^https?:/ {split($3, s, "/"); print $2, s[1]; exit}')
  say "adding a deb-src entry for $uri $suite"
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
    "$uri" "$suite" /usr/share/keyrings/debian-archive-keyring.gpg |
    "${as_root[@]}" tee /etc/apt/sources.list.d/quelvane-deb-src.sources >/dev/null
  "${as_root[@]}" apt-get update -qq
fi
say "fetching the source package"
(cd "$work" && apt-get source -qq "qt6-base=$version" >source.log 2>&1) ||
  { cat "$work/source.log" >&2; exit 1; }
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')

# The project's toolchain file, kept with the build: Qt's generated toolchain loads it.
cp cmake/mingw-w64.cmake "$cache/mingw-w64.cmake"

partial=$prefix.partial
say "configuring"
# direct2d stays on: without it 6.4 leaves out the DirectWrite font database that the windows
# plugin still uses. Debian's sources lack the Windows tablet header: no tablet events.
# FreeType is for the offscreen plugin, which the window tests use.
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_STAGING_PREFIX="$partial" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
  -DINPUT_opengl=no -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_zstd=OFF \
  -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF -DFEATURE_tabletevent=OFF \
  >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }

say "compiling (log: $work/build.log)"
# One line of progress every hundred steps, not one per file.
cmake --build "$work/build" 2>&1 | tee "$work/build.log" |
  awk -F'[][/]' '/^\[[0-9]+\/[0-9]+\]/ && $2 % 100 == 0 {
    print "Qt for Windows: step " $2 " of " $3 > "/dev/stderr"; fflush() }'
[ "${PIPESTATUS[0]}" -eq 0 ] || { grep -B2 -A20 -m1 'FAILED' "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log"

touch "$partial/.complete"
rm -rf "$prefix"
mv "$partial" "$prefix"
rm -rf "$work"
say "built in $(( ($(date +%s) - start) / 60 )) minutes, $(du -sh "$prefix" | cut -f1) installed"
echo "$prefix"
