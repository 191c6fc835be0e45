#!/bin/sh
# Fuzzes the map reader, small worlds, save files and the BMP check with libFuzzer, one target at a time
# with one worker, then merges what was found into the committed corpus
# tests/fuzz/corpus/<target>/.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#        (targets: read-map run-world resume-save bitmap-check)
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-"read-map run-world resume-save bitmap-check"}

scripts/setup.sh play test
CXX=clang++ cmake -S tests/fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz -j "$(nproc)"

fuzzer_of() {
    case "$1" in
    read-map) echo ReadMapFuzzer ;;
    run-world) echo RunWorldFuzzer ;;
    resume-save) echo ResumeSaveFuzzer ;;
    bitmap-check) echo BitmapCheckFuzzer ;;
    *) echo "Unknown fuzz target: $1" >&2; exit 2 ;;
    esac
}

for target in $targets; do
    fuzzer="$root/build-fuzz/$(fuzzer_of "$target")"
    committed="$root/tests/fuzz/corpus/$target"
    work="$root/build-fuzz/corpus/$target"
    artifacts="$root/build-fuzz/artifacts/$target"
    mkdir -p "$committed" "$work" "$artifacts"
    if [ "$target" = bitmap-check ]; then
        cp "$root"/data/images/*0.bmp "$root"/tests/fuzz/bmp-seeds/* "$work"/
        dictionary=""
        timeout=5
    elif [ "$target" = resume-save ]; then
        # The committed corpus holds saves of the test maps; it seeds itself.
        dictionary=""
        timeout=20
    else
        cp "$root"/data/orvalle.map "$root"/tests/maps/*.map "$root"/tests/fuzz/seeds/* "$work"/
        dictionary="-dict=$root/tests/fuzz/map.dict"
        timeout=20
    fi
    "$fuzzer" -max_total_time="$seconds" -timeout=$timeout -rss_limit_mb=1024 -max_len=32768 \
        ${dictionary:+"$dictionary"} -artifact_prefix="$artifacts/" -print_final_stats=1 \
        "$work" "$committed"
    merged=$(mktemp -d)
    "$fuzzer" -merge=1 "$merged" "$committed" "$work"
    rm -f "$committed"/*
    cp "$merged"/* "$committed"/
    rm -rf "$merged"
    echo "$target: $(find "$committed" -type f | wc -l) inputs in $committed"
done
