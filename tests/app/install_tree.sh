#!/bin/sh
# The installed tree: what `cmake --install` puts under a prefix, a launcher that validates, and
# the installed program answering, starting on a book and closing on SIGTERM as File > Exit does.
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

# Once it is up (its config folder exists), SIGTERM must end it with status 0 and the settings
# written, also while it shows a message about a book it could not open. The KILL after 60 s only
# turns a program that never ends into a failure.
printf 'The first line\nThe second line\n' >"$prefix/book.txt"
for book in "$prefix/book.txt" "$prefix/missing.txt"; do
    config="$prefix/config-$(basename "$book")"
    XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen \
        timeout --foreground -s KILL 60 "$prefix/bin/pagelark" "$book" &
    pid=$!
    tries=0
    while [ ! -d "$config/Pagelark" ] && [ $tries -lt 300 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -TERM "$pid"
    status=0
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ] || [ ! -s "$config/Pagelark/config.ini" ]; then
        echo "on $book, SIGTERM ended the program with status $status, settings not written"
        exit 1
    fi
done
echo "installed tree: complete"
