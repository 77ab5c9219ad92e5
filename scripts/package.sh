#!/usr/bin/env bash
# Builds the Debian package in build/package and prints its path; with --install also installs
# it (sudo when not root), pulling in FFmpeg and the Qt libraries from the archive.
set -euo pipefail
cd "$(dirname "$0")/.."

install=no
case "${1-}" in
  --install) install=yes ;;
  '') ;;
  *) echo "usage: $0 [--install]" >&2; exit 2 ;;
esac

./scripts/deps.sh
build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELVANE_TESTS=OFF \
  -DQUELVANE_SYSTEM_DIR=/usr/lib >/dev/null
cmake --build "$build"
rm -f "$build"/quelvane_*.deb
if ! log=$(cd "$build" && cpack -G DEB 2>&1); then
  echo "$log" >&2
  exit 1
fi
deb=$(ls "$build"/quelvane_*.deb)

if [ "$install" = yes ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  # --reinstall: a rebuilt package of the same version replaces the installed one.
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "./$deb"
fi
echo "$deb"
