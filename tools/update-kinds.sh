#!/bin/sh
# Writes tools/map/kinds.tsv, the kinds table that the map tools read, as `orvalle-sim --kinds`
# prints the game's own table (src/elements/ElementKind.cpp). Run it after changing that table:
# the test kinds.file-up-to-date fails until the file is written afresh.
# Usage: tools/update-kinds.sh [BUILD_DIR]   (default: the folder build at the top of the tree)
# It builds orvalle-sim in BUILD_DIR first, so the table is the one of the sources at hand.
# kinds.tsv is replaced whole or not at all.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
kinds=$repo/tools/map/kinds.tsv

fail() {
    echo "update-kinds: $*" >&2
    exit 1
}

[ -f "$build/CMakeCache.txt" ] ||
    fail "$build is not a build folder (cmake -S $repo -B $build configures one)"
cmake --build "$build" --target orvalle-sim > /dev/null || fail "cannot build orvalle-sim in $build"
part=$(mktemp "$kinds.XXXXXX")
trap 'rm -f "$part"' EXIT
"$build/orvalle-sim" --kinds > "$part" || fail "$build/orvalle-sim --kinds failed"
chmod a+r "$part"
mv "$part" "$kinds"
echo "update-kinds: wrote $kinds"
