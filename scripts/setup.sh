#!/usr/bin/env bash
# Installs the Debian packages Pagelark needs that are missing, then configures and builds it.
# Usage: scripts/setup.sh [BUILD_DIR [extra cmake arguments...]]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
          libuchardet-dev libicu-dev libarchive-dev zstd
          libgl-dev libbenchmark-dev clang clang-format libclang-rt-14-dev xvfb xauth
          desktop-file-utils fonts-dejavu-core poppler-utils libqt6svg6
          appstream dpkg-dev groff-base)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="${1:-build}"
shift || true
cmake -S . -B "$build" -G Ninja "$@" > /dev/null
cmake --build "$build"
