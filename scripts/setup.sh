#!/bin/sh
# Installs on Debian 12 (as root, or through sudo) what Orvalle needs for the purposes named:
#   play     build and play the game
#   package  build its Debian package (scripts/package.sh)
#   tools    paint maps in Tiled and convert them, plot censuses (tools/map, tools/plot-census.sh)
#   test     test-only: the tests, the benchmarks, fuzzing and the memory checks
# This is the one list of the packages every script installs.
# Usage: scripts/setup.sh [PURPOSE...]   (default: play)
set -e

packages_for() {
    case "$1" in
    # Compiler, CMake, pkg-config, Allegro 4 for building; freepats for the music.
    play) echo "build-essential cmake pkg-config liballegro4-dev freepats" ;;
    # CPack reads the binaries' library dependencies with dpkg-shlibdeps and finds them with file.
    package) echo "dpkg-dev file" ;;
    # Python runs the map converters, Tiled (with its renderer tmxrasterizer) paints the maps,
    # gnuplot (without X) draws the censuses.
    tools) echo "python3 tiled gnuplot-nox" ;;
    # Python for the data checks and the end-to-end harness, Hypothesis for the map converters'
    # check on broken files; GoogleTest and Google Benchmark; Xvfb, xauth, xdotool and xwd
    # (x11-apps) for the real-window checks; valgrind; clang and its sanitizer and fuzzer runtime
    # for fuzzing; lintian, desktop-file-validate and man for the package check; clang-tidy,
    # clang-format and shellcheck for the lint (scripts/lint.sh).
    test) echo "python3 python3-hypothesis libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-apps valgrind clang" \
        "libclang-rt-14-dev lintian desktop-file-utils man-db clang-tidy clang-format shellcheck" ;;
    *) echo "setup: unknown purpose '$1' (play, package, tools or test)" >&2; exit 2 ;;
    esac
}

[ $# -gt 0 ] || set -- play
wanted=""
for purpose in "$@"; do
    wanted="$wanted $(packages_for "$purpose")"
done

# The packages still missing become the arguments.
set --
for package in $wanted; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || set -- "$@" "$package"
done
[ $# -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
echo "Installing: $*"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "$@"
