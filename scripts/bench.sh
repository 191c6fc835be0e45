#!/bin/sh
# Builds Orvalle in Release in build-release/ and runs the benchmarks, reporting the mean, median,
# spread and variation of several repetitions (REPETITIONS, default 5). Extra arguments go to the
# benchmark program, e.g. --benchmark_filter=Simulate.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh play test
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORVALLE_TESTS=OFF -DORVALLE_BENCHMARKS=ON > /dev/null
cmake --build build-release -j "$(nproc)" --target orvalle_bench
exec build-release/bench/orvalle_bench --benchmark_repetitions="${REPETITIONS:-5}" \
    --benchmark_report_aggregates_only=true "$@"
