#!/bin/sh
# Memcheck over a short headless run of the shipped map, over the tests that load images and
# music through Allegro, and over the real game's start and Escape in a virtual X screen.
# No invalid access and nothing definitely or indirectly lost is allowed; Allegro's own
# still-reachable memory is. tests/valgrind.supp lists the library-internal findings ignored.
# Usage: scripts/valgrind.sh [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
logs=$(mktemp -d)

memcheck() {
    valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
        --suppressions="$root/tests/valgrind.supp" "$@"
}

verdict() {
    if [ "$2" -eq 0 ]; then
        echo "valgrind: $1: no error, nothing lost"
        return 0
    fi
    cat "$logs/$1.log" >&2
    echo "valgrind: $1: failed with status $2 (log above)" >&2
    exit 1
}

status=0
memcheck --log-file="$logs/simulation.log" "$build/orvalle-sim" data/orvalle.map --passes 300 \
    --every 100 > /dev/null 2>&1 || status=$?
verdict simulation "$status"

memcheck --log-file="$logs/media-tests.log" "$build/tests/orvalle_tests" \
    --gtest_filter='HostileMedia.*:ImageCache.*' > /dev/null || status=$?
verdict media-tests "$status"

# The game in data/ with its images and music, in a window of its own: it is left with Escape,
# held down for a second at a time (long enough for a pass to see it) until it has ended.
cat > "$logs/game.sh" <<'GAME'
cd "$1/data"
valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    --suppressions="$1/tests/valgrind.supp" --log-file="$2/game.log" "$1/$3/orvalle" \
    2> "$2/game.stderr" &
game=$!
window=$(timeout 120 xdotool search --sync --onlyvisible --name . 2> /dev/null | head -n 1)
[ -n "$window" ] && xdotool windowfocus --sync "$window" 2> /dev/null
for attempt in $(seq 90); do
    kill -0 "$game" 2> /dev/null || break
    xdotool keydown Escape
    sleep 1
    xdotool keyup Escape
    sleep 1
done
kill -0 "$game" 2> /dev/null && echo "the game did not end on Escape" >> "$2/game.log" && kill "$game"
wait "$game"
GAME
status=0
xvfb-run -a -s "-screen 0 800x600x16" sh "$logs/game.sh" "$root" "$logs" "$build" || status=$?
verdict game "$status"
grep -E "definitely lost|indirectly lost|still reachable|ERROR SUMMARY" "$logs/game.log"
rm -rf "$logs"
