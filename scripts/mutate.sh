#!/bin/bash
# Mutation check: puts one small, plausible mistake (a mutant) at a time into a scratch copy of
# the checkout, rebuilds the unit tests, runs them, and says whether they noticed (killed) or not
# (survived). A survivor is a fault the tests would let ship.
#
#   scripts/mutate.sh              every mutant, then the score (a few minutes)
#   scripts/mutate.sh ID...        only these mutants
#   scripts/mutate.sh --check      only checks that every fragment still occurs exactly once
#   scripts/mutate.sh --sample N [--seed S] [ID...]
#                                  N mechanical mutants, drawn with seed S (1 by default), or
#                                  only those of them named
#
# The copy and its build (tests on, benchmarks off) live in $MUTATE_DIR, /tmp/orvalle-mutate by
# default, and are kept between runs, so that a later run rebuilds only what changed; it builds
# with $MUTATE_JOBS jobs, 1 by default, through ccache when it is installed, so that the file put
# back after a mutant comes from the cache instead of being compiled again. The unit tests run in
# three rounds, each stopping at its first failure: the suites of the test files that include the
# mutated file's header, then the other quick ones, then the slow ones (those that took more than
# a second on the unmutated code). Code that the unit tests' program does not hold (the game's
# entry, the runner's), and code of what the game shows and plays (src/view, src/game) that the
# unit tests let live, is then checked by the end-to-end or command-line checks of its program:
# some of what a window shows, only a real window shows. Each mutant's line ends with the seconds
# its build and tests took, and a sample ends with their median. Exit status 0 when at least 90%
# of the mutants are killed, none is stale or broken and every survivor is explained.
#
# Mechanical mutants: scripts/mutants.py lists every mutant that a fixed set of operators makes in
# the C++ of src/ and tools/sim/ and the Python of tools/map/, as the code is at the start of the
# run, and orders them by a shuffle of the seed. --sample takes them in that order. A C++ mutant is
# built (the unit tests, or the program that holds it) and the unit tests run; a Python one runs the
# checks that tools/DataTests.cmake adds, those of the map tools and their data, and then the unit
# tests (some of which run the tools). A mutant that does not build (or does not parse) counts for
# nothing and the next one is drawn in its place; one on the ignore list,
# scripts/mutants-ignore.txt, is equivalent and skipped. Each survivor is printed with its id, file,
# line and diff, and the tests' output on each mutant is kept as logs/ID.log in $MUTATE_DIR; the
# last line is `killed K of N`, over the N mutants that ran. For a survivor, write the test that
# kills it; only if no player and no rule can tell it from the code, add it to the ignore list
# (`scripts/mutants.py show ID` prints its entry) with the reason.
#
# Adding a mutant: add a line `mutant ID SUBSYSTEM 'FRAGMENT' 'REPLACEMENT'` to the list below.
# FRAGMENT must occur exactly once in all of src/ (one line at most): keep it short, an operator
# and its operands, so that it survives changes to the code around it. The mutant replaces it
# with REPLACEMENT. A fragment found zero or several times makes the mutant STALE: update it.
# Try the new mutant with `scripts/mutate.sh ID`. If it survives, write the test that kills it;
# only if no behaviour a player or the design cares about changes (an equivalent mutant), add a
# fifth argument saying why.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=${MUTATE_DIR:-/tmp/orvalle-mutate}
tree=$work/tree
build=$work/build

ids=() subsystems=() fragments=() replacements=() reasons=()
mutant() {
    ids+=("$1") subsystems+=("$2") fragments+=("$3") replacements+=("$4") reasons+=("${5:-}")
}

mutant calendar-second-carry calendar 'if (++secound <= lastSecound)' 'if (++secound < lastSecound)'
mutant calendar-first-day calendar 'day = 1;' 'day = 0;'
mutant calendar-hour-clamp calendar 'hour = std::clamp(v, 0, lastHour)' \
    'hour = std::clamp(v, 0, lastHour - 1)'
mutant calendar-value-of-hour calendar '3600u *' '360u *'
mutant conversion-radix conversions 'magnitude = magnitude * 10 +' 'magnitude = magnitude * 8 +'
mutant conversion-saturate-low conversions 'magnitude >= limit ? INT_MIN' 'magnitude >= limit ? INT_MAX'
mutant conversion-cut conversions 'bufferSize = 255' 'bufferSize = 256'
mutant conversion-unsigned conversions '"%d", value' '"%u", value'
mutant map-width-then-height map-reader '(width == 0 ? width : height) = value' \
    '(height == 0 ? height : width) = value'
mutant map-exact-count map-reader 'elementCodes.size() == cells' 'elementCodes.size() >= cells'
mutant map-both-sizes map-reader 'width <= 0 || height <= 0' 'width <= 0 && height <= 0'
mutant map-land-tag map-reader 'buffer == "land"' 'buffer == "Land"'
mutant map-first-avatar map-reader 'std::exchange(avatarSeen, true)' 'avatarSeen'
mutant map-land-timers map-reader 'const int shortest = 10;' 'const int shortest = 9;'
mutant pass-take-off-grid pass 'keeper.takeOff(layer, column, row);' ''
mutant pass-erase-when pass 'if (element->isToErase())' 'if (!element->isAlive())'
mutant pass-calendar pass 'calendar->inc();' ''
mutant view-centre-axis view 'avatar->getX() - getScreenWidth() / 2' \
    'avatar->getX() - getScreenHeight() / 2'
mutant view-clamp-max view 'max = size - screenSize;' 'max = size - screenSize - 1;'
mutant view-start-on-avatar view 'wildCreatures = std::move(residents.wildCreatures);' \
    'wildCreatures = std::move(residents.wildCreatures); return;'
mutant selection-view-origin selection 'getX() + input.pointerX / cellSize' \
    'input.pointerX / cellSize'
mutant selection-empty-cell selection 'if (clicked != nullptr)' 'if (true)'
mutant selection-button selection '(mouse_b & 1) != 0' '(mouse_b & 2) != 0'
mutant drawing-half-step drawing 'px -= halfCell * dx;' 'px += halfCell * dx;'
mutant drawing-view-at-edge drawing '0 < y && y < scene.getHeight() - Frame::screenRows' \
    '0 <= y && y < scene.getHeight() - Frame::screenRows'
mutant drawing-status-place drawing 'const int statusY = 10;' 'const int statusY = 20;'
mutant drawing-clear-uncovered drawing 'if (!coversCell(' 'if (coversCell('
mutant drawing-opaque-copy drawing 'opaque = !hasMaskPixel(kept);' 'opaque = hasMaskPixel(kept);'
mutant drawing-step-frame drawing '(*s.looks->frames)[s.direction + (stepping ? 1 : 0)]' \
    '(*s.looks->frames)[s.direction]'
mutant movement-walkable-limit movement "{\"rocks\", ROCKS, land, 'r', false, true, true," \
    "{\"rocks\", ROCKS, land, 'r', false, true, false,"
mutant movement-leave-cell movement 'put(Habitat::elementLayer, e->getX(), e->getY(), nullptr);' ''
mutant movement-restart-timer movement '    resetTime();' ''
mutant movement-direction-range movement 'highestFacing = 7' 'highestFacing = 8'
mutant movement-bottom-edge movement '(dy != 1 || ey < height - 1)' '(dy != 1 || ey < height)' \
    'equivalent: the grid read after it refuses the same row outside the grid'
mutant vision-depth vision 'd = 1; d <= from.range' 'd = 1; d < from.range'
mutant vision-width vision 'int k = -d;' 'int k = -d + 1;'
mutant vision-left-cone vision 'case 6: cone = {-1, 0, 0, 1};' 'case 6: cone = {1, 0, 0, 1};'
mutant vision-land-layer vision 'land.columns[cx].cells[cy], Habitat::landLayer' \
    'elements.columns[cx].cells[cy], Habitat::landLayer'
mutant vision-refill vision 's.vision->clear();' ''
mutant counters-attack-cool-down counters 'maxCounterAttack = 20' 'maxCounterAttack = 21'
mutant counters-under-attack counters 'counterUnderAttack < maxCounterUnderAttack' \
    'counterUnderAttack <= maxCounterUnderAttack'
mutant counters-health-decay counters 'counterHelth < maxCounterHelth' \
    'counterHelth <= maxCounterHelth'
mutant counters-eat-cool-down counters 'change().counterEat = 0;' ''
mutant fights-equal-sums fights 's.strong + s.helth >= hitter' \
    's.strong + s.helth > hitter'
mutant fights-things-unhurt fights 'if (!now().creature) {' 'if (false) {'
mutant fights-blow-on-kin fights 'front->isCreature() && front->getType() != getType()' 'front->isCreature()'
mutant death-last-point death 'if (now().helth > 0) {' 'if (now().helth > 1) {'
mutant death-rot-time death '++s.counterDead >= maxCounterDead' '++s.counterDead > maxCounterDead'
mutant death-meat-first death 'if (now().alive || now().food != 0)' 'if (now().alive)'
mutant death-remains-image death 's.food > 0 ? (*s.looks->meat)' \
    's.food >= 0 ? (*s.looks->meat)'
mutant regrowth-up-to-full regrowth 's.food < maxFood && s.counterFood' 's.food < maxFood - 1 && s.counterFood'
mutant eating-trees-only eating '(s.bearsFruit && s.food > 0)' '(s.food > 0)'
mutant eating-bite-size eating 'biteSize = 10' 'biteSize = 5'
mutant eating-full-health eating 'helth >= maxHelth' 'helth > maxHelth'
mutant avatar-keys-while-walking avatar 'if (isWalking() || !isAlive()) {' 'if (!isAlive()) {'
mutant avatar-hit-key avatar 'isHeld(Action::hit)' 'isHeld(Action::eat)'
mutant avatar-eat-in-front avatar 'eat(front);' 'attack(front);'
mutant cyclope-prey cyclope 'hunt(AVATAR)' 'hunt(SPIDER)'
mutant cyclope-wander-axes cyclope 'move((std::rand() % 4) * 2)' 'move(std::rand() % 4)'
mutant spider-prey spider 'hunt(CYCLOPE)' 'hunt(AVATAR)'
mutant spider-turn-after-left spider 'case LEFT: setDirection(DOWN)' 'case LEFT: setDirection(UP)'
mutant hunting-hunger hunting 'helth <= hungerThreshold' 'helth < hungerThreshold'
mutant hunting-step-axis hunting 'target->getX() < x' 'target->getX() <= x'
mutant hunting-own-attacker hunting 'e == now().attacker' 'e == this'
mutant images-fallback-chain image-fallback '4, 5, 4, 5}' '4, 5, 4, 4}'
mutant images-frame-zero image-fallback 'from < 0 ?' 'from <= 0 ?'
# The idle clock: elements that only animate leave the sweep and follow one clock.
mutant clock-tree-in-fruit idle-clock '(!s.bearsFruit || s.food >= maxFood)' '(true)' \
    'equivalent: the clock is asked after run(), whose regrowth resets a full counterFood whenever food is below 100, so a full counter already means full fruit'
mutant clock-cycle idle-clock 'static_cast<long>(now().maxTime) + 1;' 'static_cast<long>(now().maxTime);'
mutant clock-leave-time idle-clock '    s.time = clockedTime();' ''
# The rules hold by structure: one write path off the clock, only Element's own run() on it,
# reads in the middle of the sweep, and the world's ownership of its grid.
mutant guard-write-path idle-clock '            if (owner.clocked) {' '            if (false) {'
mutant guard-own-run idle-clock 'isPlainElement()) {' 'true) {'
mutant guard-class-check idle-clock 'typeid(*this) == typeid(Element)' 'true'
mutant guard-wake-cell idle-clock '    habitat->books().wake(this);' ''
mutant guard-ahead-of-sweep idle-clock 'clock.tickedThisSweep && habitat->books().isAheadOfSweep(*this)' \
    'false'
mutant guard-same-cell-land idle-clock 'return position.layer == Habitat::elementLayer &&' \
    'return position.layer == Habitat::landLayer &&'
mutant guard-update-due idle-clock 'updateDue ? clock.previousSecound : clock.secound' 'clock.secound'
mutant guard-hand-back ownership '        handBack(left);' '        removed.push_back(left);'
mutant guard-delete-once ownership '++e->cellsHeld();' ''
mutant guard-keep-swept ownership 'removed.push_back(left);' 'static_cast<void>(left);'
mutant guard-forget-ended ownership '        habitat->books().forget(*this);' ''
# A look waits only while nothing can change what it will list.
mutant look-fill-before-write vision '        settleLooksOver(layer, column, row);' ''
mutant look-leaving-viewer vision 's->from.x == column && s->from.y == row' 'false'
mutant look-cone-cell vision 'Cone::holds(s->from, column, row)' 'false'
mutant look-reach vision 'from.range <= waitingReach' 'true'
# What only a caller does: put an element into the grid, take one out, move the calendar in the
# middle of the sweep.
mutant guard-caller-placed idle-clock 'restless = true;' ''
mutant guard-leaving-frame idle-clock '        leaving->wakeUp();' ''
mutant guard-calendar-mid-sweep idle-clock '            wakeAhead();' ''
mutant land-taken-closed movement \
    'cells.setOpen(row, e != nullptr && ElementKind::isWalkable(e->getType()));' \
    'if (e != nullptr) cells.setOpen(row, ElementKind::isWalkable(e->getType()));'
mutant guard-walkable-threshold movement 'find(land, type);' 'find(type);'
mutant selection-left-wins selection '} else if (input.rightButton) {' '} if (input.rightButton) {'
mutant panel-clock-order panel 'day, hour, minute, secound);' 'day, minute, hour, secound);'
mutant overview-view-height overview 'toPixels(scene.getY() + World::screenRows)' \
    'toPixels(scene.getY() + World::screenColumns)'
mutant panel-caller-creatures panel '        wildCreatures.push_back(e);' ''
# Input latching (short key presses and clicks kept until the next pass), death and restart.
mutant latch-once input-latch 'latched = pending[k].exchange(0);' 'latched = pending[k];'
mutant latch-release input-latch '(scancode & releaseBit) != 0' 'false'
mutant latch-repeats input-latch 'hookDown[k].exchange(1) == 0 && latchedKeys[k]' 'latchedKeys[k]'
mutant latch-pressed-once input-latch 'latched > 0 || (held && !heldBefore[k])' 'latched > 0 || held'
mutant latch-left-button input-latch '(flags & MOUSE_FLAG_LEFT_DOWN) != 0' \
    '(flags & MOUSE_FLAG_RIGHT_DOWN) != 0'
mutant latch-counted-held input-latch 'heldBefore[k] = input.down[k];' 'heldBefore[k] = held;'
mutant latch-escape input-latch 'Key{KEY_ESC, Action::quit}' 'Key{KEY_TILDE, Action::quit}'
mutant restart-only-after-death restart 'world.isAvatarDead() && controls.isHeld(Action::playAgain)' \
    'controls.isHeld(Action::playAgain)'

# Copies the checkout's files (tracked, and new ones not ignored) whose content differs from the
# copy, so that only those get a new time stamp and are rebuilt; and takes out of the copy the
# files the checkout no longer has, which would otherwise be drawn as mutants.
sync_tree() {
    (cd "$root" && git ls-files -z --cached --others --exclude-standard) |
        while IFS= read -r -d '' file; do
            if [ -f "$root/$file" ] && ! cmp -s "$root/$file" "$tree/$file"; then
                mkdir -p "$(dirname "$tree/$file")" && cp "$root/$file" "$tree/$file"
            fi
        done
    comm -13 <(cd "$root" && git ls-files --cached --others --exclude-standard | sort) \
        <(cd "$tree" && find . -type f | sed 's|^\./||' | sort) |
        while IFS= read -r gone; do
            rm -f "$tree/$gone"
        done
}

build_tests() {
    cmake --build "$build" -j"${MUTATE_JOBS:-1}" --target orvalle_tests > "$work/build.log" 2>&1
}

# One round of the unit tests: those that the gtest filter $1 names.
run_round() {
    # Grouped, so that a crash goes to the log, not to the shell's "Segmentation fault" line.
    { timeout "$(round_limit "$1")" "$build/tests/orvalle_tests" --gtest_brief=1 \
        --gtest_fail_fast --gtest_filter="$1"; } >> "$work/tests.log" 2>&1
}

# The milliseconds each suite took on the unmutated code, from the log $1 of a whole run, by
# the suite's name without the prefix of a parameterised instance.
declare -A suite_ms=()
note_suite_times() {
    local ms suite
    while read -r ms suite; do
        suite=${suite#*/}
        suite_ms[$suite]=$(( ${suite_ms[$suite]:-0} + ms ))
    done < <(sed -n 's/^\[----------\] [0-9]* tests\? from \([^ ]*\) (\([0-9]*\) ms total)$/\2 \1/p' "$1")
}

# The suites that a part of a gtest filter ("A.*:*/B.*:Prefix/C.*") names, without the prefix of
# a parameterised instance, one per line; every suite for an empty part.
suites_named() {
    if [ -z "$1" ]; then
        printf '%s\n' "${!suite_ms[@]}"
        return
    fi
    local entries entry
    IFS=: read -ra entries <<< "$1"
    for entry in "${entries[@]}"; do
        entry=${entry##*/}
        echo "${entry%.\*}"
    done
}

# The seconds a round with the gtest filter $1 may take: five times what its suites took on the
# unmutated code, and ten more, so that a mutant that makes a test hang costs little more than
# its round would.
round_limit() {
    local positive=${1%%-*} negative='' suite ms=0
    [[ $1 == *-* ]] && negative=${1#*-}
    while read -r suite; do
        ms=$(( ms + ${suite_ms[$suite]:-0} ))
    done < <(comm -23 <(suites_named "$positive" | sort -u) \
        <(if [ -n "$negative" ]; then suites_named "$negative" | sort -u; fi))
    echo $(( ms * 5 / 1000 + 10 ))
}

# Every unit test, those that see the mutated file $1 (if any) first and the slow ones last.
run_tests() {
    : > "$work/tests.log"
    local covering
    covering=$(covering_suites "${1:-}")
    if [ -n "$covering" ]; then
        run_round "$covering${slow_suites:+-$slow_suites}" || return
    fi
    run_round "-$covering:$slow_suites" || return
    [ -z "$slow_suites" ] || run_round "$slow_suites"
}

# The gtest filter of the suites whose test files include the header of the file $1 (a source's
# own header is its first include), or nothing.
covering_suites() {
    local file=$1 header
    case $file in
    src/*.h) header=${file#src/} ;;
    src/*.cpp) header=$(sed -n 's/^#include "\(.*\)"$/\1/p' "$tree/$file" | head -n 1) ;;
    *) return ;;
    esac
    [ -n "$header" ] || return
    grep -lF "#include \"$header\"" "$tree"/tests/*.cpp 2> /dev/null |
        xargs -r sed -n 's/^TEST\(_F\|_P\)\?(\([A-Za-z0-9_]*\),.*/\2/p' | sort -u |
        sed 's/.*/&.*:*\/&.*/' | paste -sd: -
}

# The gtest filter of the suites that took more than a second in the log of a whole run.
find_slow_suites() {
    sed -n 's/^\[----------\] [0-9]* tests\? from \([^ ]*\) (\([0-9]*\) ms total)$/\2 \1/p' "$1" |
        awk '$1 > 1000 { print $2 ".*" }' | paste -sd: -
}

# The one file of src/ that holds the fragment, relative to the checkout; fails unless the
# fragment occurs exactly once.
holder() {
    local count
    count=$(grep -rFo -- "$1" "$root/src" | wc -l)
    [ "$count" -eq 1 ] || { echo "$count"; return 1; }
    grep -rlF -- "$1" "$root/src" | sed "s|^$root/||"
}

selected() {
    [ ${#wanted[@]} -eq 0 ] && return 0
    local id
    for id in "${wanted[@]}"; do [ "$id" = "$1" ] && return 0; done
    return 1
}

# The names of the ctest entries that tools/DataTests.cmake adds, the checks of the map tools and
# of the data they make, as a pattern for ctest -R.
find_python_checks() {
    ctest --test-dir "$build" --show-only=json-v1 | python3 -c '
import json, re, sys
listing = json.load(sys.stdin)
graph = listing["backtraceGraph"]
def source(test):
    return graph["files"][graph["nodes"][test["backtrace"]]["file"]] if "backtrace" in test else ""
names = [test["name"] for test in listing["tests"]
         if source(test).endswith("tools/DataTests.cmake")]
print("^(" + "|".join(re.escape(name) for name in names) + ")$")'
}

run_python_checks() {
    { PYTHONDONTWRITEBYTECODE=1 timeout "$python_limit" ctest --test-dir "$build" \
        -R "$python_checks" --no-tests=error; } > "$work/tests.log" 2>&1
}

# Puts one mechanical mutant in, builds what it changes and runs the tests that see it. Status 0
# when the tests pass (it survived), 1 when they fail (killed), 2 when it does not build.
try_mutant() {
    local id=$1 file=$2
    python3 "$tree/scripts/mutants.py" --root "$tree" apply "$id" || return 2
    case $file in
    *.py)
        python3 -c 'import ast, sys; ast.parse(open(sys.argv[1]).read())' "$tree/$file" \
            2> /dev/null || return 2
        if [ -z "$python_limit" ]; then
            python_limit=600
            cp "$tree/$file" "$work/mutated" && cp "$work/unmutated" "$tree/$file"
            local start
            start=$(date +%s)
            run_python_checks ||
                { echo "the unmutated map tools' checks fail: $work/tests.log"; exit 2; }
            python_limit=$(( ($(date +%s) - start) * 5 + 30 ))
            cp "$work/mutated" "$tree/$file"
        fi
        run_python_checks && run_tests && return 0
        [ $? -ne 124 ] || timed_out=true
        return 1
        ;;
    esac
    # Code that the unit tests' program does not hold is still built, to tell whether it builds.
    build_tests || return 2
    if ! held_by_unit_tests "$file"; then
        outside_tests=true
        cmake --build "$build" -j"${MUTATE_JOBS:-1}" > "$work/build.log" 2>&1 || return 2
    fi
    run_tests "$file" || { [ $? -ne 124 ] || timed_out=true; return 1; }
    if shown_in_a_window "$file" && ! $outside_tests; then
        cmake --build "$build" -j"${MUTATE_JOBS:-1}" > "$work/build.log" 2>&1 || return 2
    fi
    run_program_checks "$file" || return 1
    return 0
}

shown_in_a_window() {
    case $1 in
    src/view/* | src/game/*) return 0 ;;
    *) return 1 ;;
    esac
}

# Whether the unit tests' program holds the code of the file $1: a header, or a source compiled
# for the game's library, the runner's parts or the tests, not only for a program's entry.
held_by_unit_tests() {
    case $1 in
    *.h) return 0 ;;
    esac
    grep -F -- "-c $tree/$1\"" "$build/compile_commands.json" |
        grep -qE 'CMakeFiles/(orvalle_[a-z]+|orvalle_sim_parts|orvalle_tests)\.dir/'
}

# Code that only a program holds (the game's entry, the runner's), and what the game shows and
# plays, is checked by the checks that run that program: the end-to-end checks of the game, the
# runner's command-line checks.
run_program_checks() {
    local which
    case $1 in
    src/app/* | src/view/* | src/game/*) which=(-L e2e) ;;
    tools/sim/*) which=(-R '^sim\.') ;;
    *) return 0 ;;
    esac
    ctest --test-dir "$build" "${which[@]}" --stop-on-failure --timeout 120 \
        >> "$work/tests.log" 2>&1
}

# Draws mechanical mutants in the seed's order until $sample of them have run.
run_sample() {
    local candidates=$work/candidates ran=0 killed=0 unbuilt=0 equivalent=0
    local id file line operator status started outcome seconds
    : > "$work/seconds"
    python3 "$tree/scripts/mutants.py" --root "$tree" sample "$seed" > "$candidates" || exit 2
    mkdir -p "$work/logs"
    echo "$sample of $(wc -l < "$candidates") mechanical mutants, seed $seed"
    python_limit=
    python_checks=$(find_python_checks) || exit 2
    while [ "$ran" -lt "$sample" ] && IFS=$'\t' read -r -u 3 id file line operator status; do
        selected "$id" || continue
        local label="$file:$line ($operator, $id)"
        if [ "$status" != - ]; then
            echo "equivalent $label: ${status#equivalent: }"
            equivalent=$((equivalent + 1))
            continue
        fi
        cp "$tree/$file" "$work/unmutated"
        outside_tests=false timed_out=false
        started=$(date +%s)
        try_mutant "$id" "$file"
        outcome=$?
        if [ $outcome -le 1 ]; then
            seconds=$(($(date +%s) - started))
            label="$label, $seconds s"
            echo "$seconds" >> "$work/seconds"
        fi
        case $outcome in
        0)
            ran=$((ran + 1))
            echo "SURVIVED  $label"
            $outside_tests && echo "          (only its program's own checks ran this code)"
            diff -u --label "a/$file" --label "b/$file" "$work/unmutated" "$tree/$file" |
                sed 's/^/          /'
            ;;
        1)
            ran=$((ran + 1))
            killed=$((killed + 1))
            if $timed_out; then
                echo "killed    $label: the tests ran out of time"
            else
                echo "killed    $label"
            fi
            ;;
        *)
            echo "no build  $label: did not build, another is drawn"
            unbuilt=$((unbuilt + 1))
            ;;
        esac
        cp "$work/unmutated" "$tree/$file"
        cp "$work/tests.log" "$work/logs/$id.log" 2> /dev/null
    done 3< "$candidates"
    [ "$ran" -gt 0 ] || { echo "no mutant ran"; exit 2; }
    echo "$((100 * killed / ran))% killed; $unbuilt did not build, $equivalent equivalent skipped"
    echo "a mutant's build and tests took $(sort -n "$work/seconds" |
        awk '{ s[NR] = $1 } END { print s[int((NR + 1) / 2)] }') s (median)"
    echo "killed $killed of $ran"
    [ $((10 * killed)) -ge $((9 * ran)) ]
}

check_only=false
sample=
seed=1
wanted=()
while [ $# -gt 0 ]; do
    case $1 in
    --check) check_only=true ;;
    --sample) sample=${2:-}; shift ;;
    --seed) seed=${2:-}; shift ;;
    *) wanted+=("$1") ;;
    esac
    shift
done
if [ -n "$sample" ] && ! [ "$sample" -gt 0 ] 2> /dev/null; then
    echo "--sample takes a count of mutants"
    exit 2
fi

if ! $check_only; then
    mkdir -p "$tree" "$build"
    sync_tree
    if [ ! -f "$build/CMakeCache.txt" ]; then
        launcher=
        command -v ccache > /dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
        cmake -S "$tree" -B "$build" -DORVALLE_TESTS=ON -DORVALLE_BENCHMARKS=OFF $launcher \
            > "$work/configure.log" 2>&1 ||
            { echo "cannot configure: $work/configure.log"; exit 2; }
    fi
    if [ -n "$sample" ]; then
        cmake --build "$build" -j"${MUTATE_JOBS:-1}" > "$work/build.log" 2>&1
    else
        build_tests
    fi || { echo "the unmutated code does not build: $work/build.log"; exit 2; }
    start=$(date +%s)
    limit=600
    { timeout "$limit" "$build/tests/orvalle_tests"; } > "$work/tests.log" 2>&1 ||
        { echo "the unmutated tests fail: $work/tests.log"; exit 2; }
    slow_suites=$(find_slow_suites "$work/tests.log")
    note_suite_times "$work/tests.log"
    # A mutant that makes the tests hang is killed by this limit; a round of the unit tests has
    # its own (round_limit).
    limit=$(( ($(date +%s) - start) * 5 + 30 ))
    if [ -n "$sample" ]; then
        run_sample
        exit
    fi
fi

total=0 killed=0 stale=0 broken=0 unexplained=0
for i in "${!ids[@]}"; do
    id=${ids[$i]} fragment=${fragments[$i]} reason=${reasons[$i]}
    selected "$id" || continue
    total=$((total + 1))
    label="$id (${subsystems[$i]})"
    if ! file=$(holder "$fragment"); then
        echo "STALE     $label: '$fragment' occurs $file times in src/"
        stale=$((stale + 1))
        continue
    fi
    $check_only && { echo "ok        $label in $file"; continue; }
    # Put back from the copy's own unmutated file, not the checkout, which may be edited meanwhile.
    cp "$tree/$file" "$work/unmutated"
    FRAGMENT=$fragment REPLACEMENT=${replacements[$i]} \
        perl -0pi -e 's/\Q$ENV{FRAGMENT}\E/$ENV{REPLACEMENT}/' "$tree/$file"
    if ! build_tests; then
        echo "BROKEN    $label: does not build ($work/build.log)"
        broken=$((broken + 1))
    elif run_tests "$file"; then
        if [ -n "$reason" ]; then
            echo "survived  $label: $reason"
        else
            echo "SURVIVED  $label: no test noticed '${replacements[$i]}' in $file"
            unexplained=$((unexplained + 1))
        fi
    else
        echo "killed    $label"
        killed=$((killed + 1))
    fi
    cp "$work/unmutated" "$tree/$file"
done

$check_only && { [ "$stale" -eq 0 ]; exit; }
[ "$total" -gt 0 ] || { echo "no such mutant"; exit 2; }
score=$((100 * killed / total))
echo "score: $killed of $total mutants killed ($score%);" \
    "$stale stale, $broken broken, $unexplained unexplained survivors"
[ "$score" -ge 90 ] && [ $((stale + broken + unexplained)) -eq 0 ]
