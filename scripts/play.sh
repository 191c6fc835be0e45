#!/bin/sh
# Sets up a fresh Debian 12 machine for playing (only what building and playing need), builds
# the game alone in build-play/, sets up the music and starts the game in data/.
# Pass "full" to play full screen.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh play
cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALLE_TESTS=OFF \
    -DORVALLE_BENCHMARKS=OFF > /dev/null
cmake --build build-play -j "$(nproc)" --target orvalle
# Without freepats the game still runs, silently; setup-sound.sh says so.
tools/setup-sound.sh || true
cd data
exec ../build-play/orvalle "$@"
