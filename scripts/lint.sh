#!/bin/sh
# Lints the sources and fails on any finding. It runs clang-tidy, with the checks of
# .clang-tidy and the flags of BUILD/compile_commands.json, over every C++ source of the game,
# the runner, the tests and the benchmarks; clang-format --dry-run, with the layout of
# .clang-format, over every C and C++ file; and shellcheck over every shell script of scripts/,
# tools/, .ci/ and packaging/.
# A build folder without compile_commands.json is configured first.
# Usage: scripts/lint.sh [BUILD_DIR]   (default: build)
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" > /dev/null
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0

found() {
    echo "lint: $1 reports findings" >&2
    status=1
}

# Two files at a time. The fuzz targets' entry files are built only by scripts/fuzz.sh:
# clang-tidy takes their flags from their neighbours in tests/fuzz.
tidy=clean
find src tools/sim tests bench -name '*.cpp' | sort |
    xargs -n 1 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' > "$log" 2>&1 ||
    tidy=failed
# Without the counts of the diagnostics in library headers, which are not shown anyway.
grep -v 'warnings\? generated\.$' "$log" || true
[ $tidy = clean ] || found clang-tidy

find src tools tests bench \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) | sort |
    xargs clang-format --dry-run --Werror || found clang-format

find scripts tools .ci packaging -type f | sort | while read -r file; do
    if head -n 1 "$file" | grep -Eq '^#!.*[/ ](sh|bash)$'; then
        echo "$file"
    fi
done | xargs shellcheck || found shellcheck

[ $status -ne 0 ] || echo "lint: clean"
exit $status
