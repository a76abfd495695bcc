#!/bin/sh
# The installed tree: what `cmake --install` puts under a prefix, a launcher that validates, and
# the installed program answering and starting on a book.
# Usage: install_tree.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/pagelark share/applications/org.pagelark.Pagelark.desktop \
    share/metainfo/org.pagelark.Pagelark.metainfo.xml share/man/man1/pagelark.1.gz \
    share/icons/hicolor/scalable/apps/pagelark.svg share/pagelark/help/index.html; do
    if [ ! -f "$prefix/$file" ]; then
        echo "not installed: $file"
        exit 1
    fi
done
desktop-file-validate "$prefix/share/applications/org.pagelark.Pagelark.desktop"

answer=$("$prefix/bin/pagelark" --version)
if [ "$answer" != "Pagelark $version" ]; then
    echo "installed program says: $answer"
    exit 1
fi

# Started on a book, the installed program opens it and keeps running until stopped.
printf 'The first line\nThe second line\n' >"$prefix/book.txt"
status=0
XDG_CONFIG_HOME="$prefix/config" QT_QPA_PLATFORM=offscreen \
    timeout 3 "$prefix/bin/pagelark" "$prefix/book.txt" || status=$?
if [ "$status" -ne 124 ]; then
    echo "installed program ended on its own with status $status"
    exit 1
fi
echo "installed tree: complete"
