#!/bin/sh
# The installed AppStream data validates with its launcher beside it, its newest release is the
# program's version, and it provides the MIME types the launcher opens.
# Usage: metainfo.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
appstreamcli validate-tree --no-net --strict "$prefix"

metainfo="$prefix/share/metainfo/org.pagelark.Pagelark.metainfo.xml"
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
if [ "$newest" != "$version" ]; then
    echo "newest release in the AppStream data is $newest, the program is $version"
    exit 1
fi

provided=$(sed -n 's/.*<mediatype>\(.*\)<\/mediatype>.*/\1/p' "$metainfo" | sort)
opened=$(sed -n 's/^MimeType=//p' "$prefix/share/applications/org.pagelark.Pagelark.desktop" \
    | tr ';' '\n' | sed '/^$/d' | sort)
if [ "$provided" != "$opened" ]; then
    printf 'AppStream data provides:\n%s\nthe launcher opens:\n%s\n' "$provided" "$opened"
    exit 1
fi
echo "AppStream data: valid"
