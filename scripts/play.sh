#!/bin/sh
# Sets up a fresh Debian 12 machine for playing (only what building and playing need), builds
# the game alone in build-play/, sets up the music and starts the game in data/.
# Usage: scripts/play.sh [full] [MAP]: "full" plays full screen; MAP, a map of your own, is
# found from the folder you start the script in.
set -e
position=0
for argument do
    shift
    position=$((position + 1))
    if [ "$position" -gt 1 ] || [ "$argument" != full ]; then
        case $argument in
        /*) ;;
        *) argument="$PWD/$argument" ;;
        esac
    fi
    set -- "$@" "$argument"
done
cd "$(dirname "$0")/.."
scripts/setup.sh play
cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALLE_TESTS=OFF \
    -DORVALLE_BENCHMARKS=OFF > /dev/null
cmake --build build-play -j "$(nproc)" --target orvalle
# Without freepats the game still runs, silently; setup-sound.sh says so.
tools/setup-sound.sh || true
cd data
exec ../build-play/orvalle "$@"
