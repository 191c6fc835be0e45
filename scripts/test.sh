#!/bin/sh
# Sets up a fresh Debian 12 machine, builds Orvalle and runs every test.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
