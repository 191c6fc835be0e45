#!/bin/sh
# Fails when a committed generated file differs from what its source makes:
# regenerates everything into a temporary folder and compares byte for byte.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$tools")
export PYTHONDONTWRITEBYTECODE=1
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT

"$tools/make-data.sh" "$fresh"
status=0
for made in $(cd "$fresh" && find data tests/maps packaging -type f | sort); do
    if [ ! -f "$repo/$made" ]; then
        echo "check-data: $made is generated but not committed (run tools/make-data.sh)"
        status=1
    elif ! cmp -s "$fresh/$made" "$repo/$made"; then
        echo "check-data: $made differs from its source (run tools/make-data.sh)"
        status=1
    fi
done
python3 "$tools/gfx/check_images.py" "$repo/data/images" || status=1
count=$(cd "$fresh" && find data tests/maps packaging -type f | wc -l)
if [ "$status" -eq 0 ]; then
    echo "check-data: all $count generated files match their sources"
fi
exit "$status"
