#!/usr/bin/env bash
# Installs what the tests need, builds everything from nothing with the sanitizers on, and runs
# every test. The helper tool's place is inside the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
build=build/test
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELVANE_SANITIZE=ON \
  -DQUELVANE_SYSTEM_DIR="$PWD/$build/system"
cmake --build "$build"

# The Debian package, built as the README's install command builds it (its own Release build,
# kept between runs), and what it holds.
./scripts/package.sh
tests/check_package.sh build/package/quelvane_*.deb

# Last, so that its summary closes the run.
ctest --test-dir "$build" --output-on-failure -j2
