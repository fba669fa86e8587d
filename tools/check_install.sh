#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` make of the build in
# build/: installs it into a temporary prefix, validates the desktop entry,
# the AppStream metadata and both manual pages, checks that the installed
# `tov` keeps TOV.cfg in the user's data folder rather than beside itself,
# then builds the Debian package and shows its control fields. Exits non-zero
# at the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

echo "== cmake --install build --prefix $prefix"
cmake --install build --prefix "$prefix" > "$work/install.log"

echo "== desktop-file-validate"
for entry in "$prefix"/share/applications/*.desktop; do
    desktop-file-validate "$entry"
    echo "$(basename "$entry"): valid"
done

echo "== appstreamcli validate --no-net"
for metainfo in "$prefix"/share/metainfo/*.metainfo.xml; do
    appstreamcli validate --no-net "$metainfo"
done

echo "== man -l"
for page in "$prefix"/share/man/man6/tov.6 "$prefix"/share/man/man6/tov-headless.6; do
    warnings=$(man --warnings -l "$page" 2>&1 > /dev/null)
    if [ -n "$warnings" ]; then
        echo "$warnings"
        echo "$(basename "$page"): man reported problems"
        exit 1
    fi
    echo "$(basename "$page"): renders without warnings"
done

echo "== the installed tov keeps its files in the data folder"
status=0
env -u TOV_HOME XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    timeout -s TERM 3 "$prefix/bin/tov" > "$work/tov.log" 2>&1 || status=$?
if [ $status -ne 0 ] && [ $status -ne 124 ]; then
    cat "$work/tov.log"
    echo "the installed tov failed with status $status"
    exit 1
fi
if [ ! -f "$work/data/tov/TOV.cfg" ] || [ -e "$prefix/bin/TOV.cfg" ]; then
    ls -la "$prefix/bin" "$work/data/tov" || true
    echo "the installed tov did not write TOV.cfg to \$XDG_DATA_HOME/tov alone"
    exit 1
fi
echo "TOV.cfg written to \$XDG_DATA_HOME/tov, nothing beside the executable"

echo "== cpack -G DEB"
rm -f build/tov_*.deb
(cd build && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
package=$(ls build/tov_*.deb)
echo "built $package"

echo "== dpkg-deb --info $package"
dpkg-deb --info "$package"
if [ -z "$(dpkg-deb --field "$package" Depends)" ]; then
    echo "$package declares no dependencies"
    exit 1
fi
