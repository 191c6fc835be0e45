#!/bin/sh
# Regenerates every generated game file from the sources in the repo.
# Usage: tools/make-data.sh [OUT_ROOT]
#   OUT_ROOT defaults to the repo itself; files land in OUT_ROOT/data,
#   OUT_ROOT/tests/maps and OUT_ROOT/packaging (the desktop icon).  Output is byte-for-byte reproducible: fixed
#   seeds, no timestamps.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$tools")
out=${1:-"$repo"}
export PYTHONDONTWRITEBYTECODE=1
mkdir -p "$out/data" "$out/tests/maps"
python3 "$tools/gfx/make_images.py" "$out/data"
python3 "$tools/gfx/make_icon.py" "$out/packaging"
python3 "$tools/music/score2mid.py" "$tools/music/score.txt" "$out/data/clkcwhrv.mid"
python3 "$tools/sound/make_effects.py" "$out/data/sounds"
python3 "$tools/map/make_map.py" "$tools/map/orvalle.txt" "$out/data/orvalle.map"
for source in "$repo"/tests/maps/*.txt; do
    name=$(basename "$source" .txt)
    python3 "$tools/map/make_map.py" "$source" "$out/tests/maps/$name.map"
done
