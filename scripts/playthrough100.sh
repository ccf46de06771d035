#!/usr/bin/env bash
# Plays the whole game through once per seed (the chasers' names and places and the pick-ups
# follow it) and counts the passes. Usage: scripts/playthrough100.sh [build folder] [runs]
# The build folder defaults to build-test, the runs to 100; the test executable of that
# build must be built. A failing seed's output is kept in <build>/playthrough/seed-N.log.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build-test}
runs=${2:-100}
binary=${QUELLARIS_TEST_GAME:-$build/tests/test_game}
if [[ ! -x "$binary" ]]; then
    echo "no test executable at $binary: build the test_game target first" >&2
    exit 2
fi
export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null
binary="$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")"
mkdir -p "$build/playthrough" "$build/tests/game"
logs="$(cd "$build/playthrough" && pwd)"
passed=0
for seed in $(seq 1 "$runs"); do
    log="$logs/seed-$seed.log"
    if (cd "$build/tests/game" && QUELLARIS_PLAYTHROUGH_SEED=$seed "$binary" \
            --gtest_filter='PlaythroughGL.*' >"$log" 2>&1); then
        passed=$((passed + 1))
        rm -f "$log"
    else
        echo "seed $seed failed: see $log"
    fi
done
echo "$passed of $runs playthroughs passed"
[[ $passed -eq $runs ]]
