#!/bin/sh
# The installed manual page renders without a single warning from groff.
# Usage: manpage.sh BUILD_DIR
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$1" --prefix "$prefix" >/dev/null
warnings=$(gzip -dc "$prefix/share/man/man1/pagelark.1.gz" | groff -ww -man -Tutf8 -z 2>&1)
if [ -n "$warnings" ]; then
    echo "$warnings"
    exit 1
fi
echo "manual page: renders cleanly"
