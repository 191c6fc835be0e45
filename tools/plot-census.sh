#!/bin/sh
# Draws a census of orvalle-sim as a PNG picture with gnuplot: the living creatures of each wild
# kind the census counts (left axis; every <kind>s_alive column but the avatar's) and the trees
# with food (right axis) over the passes.
# Usage: tools/plot-census.sh CENSUS.csv OUT.png
# OUT.png is written whole or not at all; any failure gives a message and exit status 1.
set -u

fail() {
    echo "plot-census: $*" >&2
    exit 1
}

if [ $# -ne 2 ]; then
    echo "Usage: $0 CENSUS.csv OUT.png" >&2
    exit 2
fi
census=$1
out=$2
command -v gnuplot > /dev/null || fail "gnuplot is missing (scripts/setup.sh tools installs it)"
header=$(head -n 1 "$census") || fail "cannot read $census"
case "$header" in
pass,*_alive,*,trees_with_food,*) ;;
*) fail "$census is not a census of orvalle-sim: its first line is not the CSV header" ;;
esac
[ "$(wc -l < "$census")" -gt 1 ] || fail "$census holds no census row"
# The plural names of the wild kinds, as the header's columns give them: "cyclopes spiders".
wild=$(echo "$header" | tr ',' '\n' | sed -n 's/_alive$//p' | grep -vx avatars | tr '\n' ' ')

work=$(mktemp -d) || fail "cannot make a scratch folder"
trap 'rm -rf "$work"' EXIT
gnuplot -c /dev/stdin "$census" "$work/plot.png" "$wild" << 'EOF' || fail "gnuplot cannot plot $census"
set terminal pngcairo size 900,480 font "sans,10"
set output ARG2
set datafile separator comma
set xlabel "pass"
set ylabel "living creatures"
set y2label "trees with food"
set ytics nomirror
set y2tics
set yrange [0:*]
set y2range [0:*]
set key outside top center horizontal
set grid
plot for [kind in ARG3] ARG1 using "pass":kind."_alive" with steps lw 2 title kind, \
     ARG1 using "pass":"trees_with_food" axes x1y2 with steps lw 2 title "trees with food"
EOF
[ -s "$work/plot.png" ] || fail "gnuplot wrote no picture of $census"

if [ -e "$out" ] && [ ! -f "$out" ]; then
    # A device or a pipe: written straight.
    cat "$work/plot.png" > "$out" || fail "cannot write $out"
else
    # A file is replaced only by a complete picture.
    part="$out.part.$$"
    if ! { cat "$work/plot.png" > "$part" && mv -f "$part" "$out"; }; then
        rm -f "$part"
        fail "cannot write $out"
    fi
fi
