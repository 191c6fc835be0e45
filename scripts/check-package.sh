#!/bin/sh
# Checks the Debian package as a player gets it: builds it, lints it, installs it with dpkg,
# checks its desktop entry and manual pages, starts the installed launcher from an unrelated
# folder in a real Xvfb window (tests/e2e/run_e2e.py: installed, installed-music), runs the
# installed orvalle-sim on the installed map, checks that the installed files were not written,
# then purges the package and checks that nothing of it is left.
# Needs root, as dpkg does; an orvalle package installed before is replaced, then purged.
# Usage: scripts/check-package.sh [BUILD_DIR]   (the source tree's build, for its e2e tools)
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
installed=no
# A failed check does not leave the package installed.
trap '[ "$installed" = no ] || dpkg --purge orvalle > /dev/null 2>&1; rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

deb=$(scripts/package.sh | tail -n 1)
lintian --fail-on error "$deb" || fail "lintian reports errors on $deb"
echo "check-package: lintian: no error on $deb"

dpkg -i "$deb" > "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
installed=yes
dpkg -L orvalle > "$work/files"
dpkg -V orvalle || fail "the installed files differ from the package"
desktop-file-validate /usr/share/applications/orvalle.desktop || fail "invalid desktop entry"

# /usr/games is on a player's PATH (from /etc/profile), not on root's.
launcher=$(cd "$work" && su nobody -s /bin/sh -l -c 'command -v orvalle' 2> /dev/null)
[ "$launcher" = /usr/games/orvalle ] || fail "orvalle is not on a player's PATH: '$launcher'"
for page in orvalle orvalle-sim; do
    man "$page" 2> /dev/null | grep -q "EXIT STATUS" || fail "man $page shows no manual page"
done

python3 tests/e2e/run_e2e.py --game "$build/orvalle" \
    --render-text "$build/tests/e2e/e2e-render-text" --data data --launcher "$launcher" \
    installed installed-music || fail "the installed game failed its checks"

(cd "$work" && /usr/games/orvalle-sim /usr/share/games/orvalle/orvalle.map --passes 300 \
    --every 100 > census.csv) || fail "the installed orvalle-sim failed"
[ "$(wc -l < "$work/census.csv")" -eq 4 ] ||
    fail "orvalle-sim printed no census: $(cat "$work/census.csv")"
echo "check-package: orvalle-sim ran the installed map: $(tail -n 1 "$work/census.csv")"

# Playing wrote nothing into the installed data: no new file, none changed.
find /usr/share/games/orvalle | sort > "$work/after"
grep '^/usr/share/games/orvalle' "$work/files" | sort > "$work/shipped"
cmp -s "$work/shipped" "$work/after" ||
    fail "files appeared in the data folder: $(comm -13 "$work/shipped" "$work/after")"
dpkg -V orvalle || fail "the installed files were changed while playing"

dpkg --purge orvalle > "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "purge failed"; }
installed=no
dpkg-query -W -f='${Status}' orvalle 2> /dev/null | grep -q "installed" &&
    fail "orvalle is still known to dpkg after the purge"
# A folder may stay only if another package owns it or something else lives in it.
left=""
while IFS= read -r path; do
    if [ -d "$path" ]; then
        dpkg -S "$path" > /dev/null 2>&1 || [ -n "$(ls -A "$path")" ] || left="$left $path"
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left="$left $path"
    fi
done < "$work/files"
[ -z "$left" ] || fail "left behind after the purge:$left"
echo "check-package: purged, nothing of the package is left ($(wc -l < "$work/files") paths checked)"
