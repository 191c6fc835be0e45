#!/bin/sh
# Runs the shipped map headless for many passes and prints, at every report of orvalle-sim, its
# census with the resident (VmRSS) and peak resident (VmHWM) memory in kB. Fails when the peak
# grows by more than ALLOWED_KB after the first report: the only thing the world may keep adding
# is the list of removed creatures, which the creatures on the map bound.
# Usage: scripts/soak.sh [PASSES] [EVERY] [SIM] [MAP]
set -e
cd "$(dirname "$0")/.."
passes=${1:-1000000}
every=${2:-100000}
sim=${3:-build/orvalle-sim}
map=${4:-data/orvalle.map}
allowed_kb=${ALLOWED_KB:-1024}

[ -x "$sim" ] || scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/census"
# Line-buffered, so that each report arrives while the simulation still runs. It is asked for
# far more reports than are read, so that however fast it runs it is still alive while they are
# read: once the pipe is full it waits there. It is ended once they are read.
stdbuf -oL "$sim" "$map" --passes $((1000 * passes + every)) --every "$every" > "$work/census" 2> /dev/null &
pid=$!

status_kb() {
    awk -v field="$1:" '$1 == field { print $2 }' "/proc/$pid/status"
}

first_peak=""
last_peak=""
while IFS= read -r line; do
    case "$line" in
    pass,*)
        echo "$line,vm_rss_kb,vm_hwm_kb"
        ;;
    *)
        peak=$(status_kb VmHWM)
        echo "$line,$(status_kb VmRSS),$peak"
        first_peak=${first_peak:-$peak}
        last_peak=$peak
        [ "${line%%,*}" -ge "$passes" ] && break
        ;;
    esac
done < "$work/census"
kill "$pid" 2> /dev/null || true
wait "$pid" || true

if [ -z "$first_peak" ]; then
    echo "soak: no report from $sim" >&2
    exit 1
fi
growth=$((last_peak - first_peak))
echo "soak: $passes passes, peak resident memory ${first_peak} kB after the first report," \
    "${last_peak} kB at the end (growth ${growth} kB, allowed ${allowed_kb} kB)"
[ "$growth" -le "$allowed_kb" ]
