#!/bin/sh
# Regenerates every generated game file from the sources under tools/.
# Usage: tools/make-data.sh [OUT_DIR]   (default: the repo's data/ folder)
# Output is byte-for-byte reproducible: fixed seeds, no timestamps.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$tools/../data"}
mkdir -p "$out"
python3 "$tools/gfx/make_images.py" "$out"
