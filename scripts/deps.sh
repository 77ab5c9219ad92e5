#!/usr/bin/env bash
# Installs the Debian packages the project needs (with sudo when not root); a no-op when present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libgtest-dev
  ffmpeg debootstrap
  dpkg-dev desktop-file-utils appstream file
  xvfb xauth fonts-dejavu-core
  g++-mingw-w64-x86-64-posix googletest wine64 wine fonts-wine nsis
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
