#!/bin/sh
# Configures and builds the game, the tests and the benchmarks in build/, with compiler warnings
# treated as errors.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALLE_WERROR=ON > /dev/null
cmake --build build -j "$(nproc)"
