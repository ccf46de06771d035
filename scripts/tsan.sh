#!/usr/bin/env bash
# Builds the game tests with ThreadSanitizer (in build-tsan) and runs the ones that run the
# loader thread: start-up and loading, the game deleted while loading, and what loading leaves.
# Exits non-zero when a test fails or ThreadSanitizer reports a race.
#
#   scripts/tsan.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null

build=build-tsan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLARIS_TSAN=ON -DQUELLARIS_BENCH=OFF >/dev/null
cmake --build "$build" --target test_game --parallel "${QUELLARIS_BUILD_JOBS:-$(nproc)}"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" -R '^(StartupGL|AfterLoadGL|LifeCycleGL)\.' "$@"
