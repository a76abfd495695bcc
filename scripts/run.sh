#!/usr/bin/env bash
# Installs what is missing, builds Pagelark and starts the reader, optionally with a book.
# Usage: scripts/run.sh [BOOK]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to show the reader window."
    echo "Run it on a virtual display instead:  xvfb-run -a build/src/pagelark $*"
    exit 1
fi
exec build/src/pagelark "$@"
