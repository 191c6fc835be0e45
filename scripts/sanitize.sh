#!/bin/sh
# Builds the game and its tests with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer in build-asan/ and runs the tests there; any finding fails the run.
# The end-to-end tests drive the real window and sound stack and run in the normal build only.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALLE_SANITIZE=ON \
    -DORVALLE_BENCHMARKS=OFF > /dev/null
cmake --build build-asan -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_init_order=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -LE e2e
