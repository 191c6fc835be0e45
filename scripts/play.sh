#!/bin/sh
# Sets up a fresh Debian 12 machine, builds Orvalle and starts it in data/.
# Pass "full" to play full screen.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
[ -x tools/setup-sound.sh ] && tools/setup-sound.sh
cd data
exec ../build/orvalle "$@"
