#!/bin/sh
# Sets up a fresh Debian 12 machine, builds Orvalle and runs every test; with "unit", the unit
# tests alone (headless, about a minute).
set -e
cd "$(dirname "$0")/.."
if [ "${1:-}" = unit ]; then
    scripts/setup.sh play test
    scripts/build.sh
    exec ctest --test-dir build --output-on-failure -j "$(nproc)" -L unit
fi
scripts/setup.sh play package tools test
scripts/build.sh
# clang-tidy, clang-format and shellcheck: any finding fails.
scripts/lint.sh build
ctest --test-dir build --output-on-failure -j "$(nproc)"
# The Debian package: built, linted, installed, played from elsewhere, purged.
scripts/check-package.sh build
# Memory must stay flat over a long headless run (scripts/soak.sh runs 1,000,000 passes).
scripts/soak.sh 20000 2000
scripts/valgrind.sh build
scripts/sanitize.sh
