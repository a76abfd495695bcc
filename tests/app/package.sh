#!/bin/sh
# `cpack -G DEB` makes pagelark_<version>_<arch>.deb holding the installed tree, with the Qt 6
# libraries among its dependencies.
# Usage: package.sh BUILD_DIR VERSION CPACK
set -eu
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$3" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb="$out/pagelark_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
    echo "no package $deb; made: $(ls "$out")"
    exit 1
fi

contents=$(dpkg-deb --contents "$deb")
for file in bin/pagelark share/applications/org.pagelark.Pagelark.desktop \
    share/metainfo/org.pagelark.Pagelark.metainfo.xml share/man/man1/pagelark.1.gz \
    share/icons/hicolor/scalable/apps/pagelark.svg share/pagelark/help/index.html; do
    if ! echo "$contents" | grep -q " \./usr/$file\$"; then
        echo "not in the package: /usr/$file"
        exit 1
    fi
done

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
    case ", $depends," in
    *", $library "* | *", $library,"*) ;;
    *)
        echo "Depends lacks $library: $depends"
        exit 1
        ;;
    esac
done
echo "package: $(basename "$deb")"
