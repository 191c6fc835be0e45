#!/bin/sh
# Builds Orvalle in Release in build-release/ and runs the benchmarks, reporting the mean, median,
# spread and variation of several repetitions (REPETITIONS, default 5), then the resident size of
# the runner after loading the shipped map and the dense random_map.py maps of 1024 and 2048 cells
# a side (RESIDENT=0 leaves it out). Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=Simulate.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh play test
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORVALLE_TESTS=OFF -DORVALLE_BENCHMARKS=ON > /dev/null
cmake --build build-release -j "$(nproc)" --target orvalle_bench orvalle-sim
build-release/bench/orvalle_bench --benchmark_repetitions="${REPETITIONS:-5}" \
    --benchmark_report_aggregates_only=true "$@"
[ "${RESIDENT:-1}" = 0 ] && exit 0

# The peak resident size of one run of the runner that loads the map and runs one pass, measured
# by a process of its own so that nothing else counts.
resident() {
    python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024, "MiB")' \
        build-release/orvalle-sim --passes 1 "$1"
}
maps=$(mktemp -d)
trap 'rm -rf "$maps"' EXIT
echo "Resident size after loading (orvalle-sim, one pass):"
printf '  shipped map: %s\n' "$(resident data/orvalle.map)"
for side in 1024 2048; do
    python3 tools/map/random_map.py "$side" "$side" 1 > "$maps/dense$side.map"
    printf '  dense %s x %s: %s\n' "$side" "$side" "$(resident "$maps/dense$side.map")"
done
