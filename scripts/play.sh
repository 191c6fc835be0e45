#!/bin/sh
# Sets up a fresh Debian 12 machine for playing (only what building and playing need), builds
# the game alone in build-play/, sets up the music and starts the game in data/ through the
# same launcher that the package installs.
# Usage: scripts/play.sh [full] [MAP]: "full" plays full screen; MAP, a map of your own, is
# found from the folder you start the script in.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
(
    cd "$root"
    scripts/setup.sh play
    cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALLE_TESTS=OFF \
        -DORVALLE_BENCHMARKS=OFF > /dev/null
    cmake --build build-play -j "$(nproc)" --target orvalle
    # Without freepats the game still runs, silently; setup-sound.sh says so.
    tools/setup-sound.sh || true
)
ORVALLE_DATA="$root/data" ORVALLE_PROGRAM="$root/build-play/orvalle" \
    exec sh "$root/packaging/orvalle.in" "$@"
