#!/usr/bin/env bash
# Builds Pagelark for release, makes its Debian package and installs it with apt-get, which also
# brings in the libraries the package depends on.
# Usage: scripts/package.sh [--no-install]   (--no-install only makes the package)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-deb
scripts/setup.sh "$build" -DCMAKE_BUILD_TYPE=Release -DPAGELARK_TESTS=OFF -DPAGELARK_BENCH=OFF
rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
deb=$(echo "$PWD/$build"/package/pagelark_*.deb)
echo "Package: $deb"
[ "${1:-}" = "--no-install" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$deb"
