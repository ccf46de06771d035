#!/usr/bin/env bash
# Builds the game tests with ThreadSanitizer (in build-tsan) and runs the ones that run the
# loader thread: start-up and loading, the game deleted while loading, and what loading leaves.
# Exits 0 only when every one of them ran and passed and ThreadSanitizer reported nothing;
# non-zero when a test fails, none is found, or ThreadSanitizer reports a race (or stops on an
# error of its own), even in a test that passed. Races inside the sound library and the GL
# driver are left out (tests/support/sanitizer_setup.cpp says why); ours are not.
#
#   scripts/tsan.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./scripts/install-deps.sh
export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null

build=build-tsan
tests='^(StartupGL|AfterLoadGL|LifeCycleGL)\.'
jobs=${QUELLARIS_BUILD_JOBS:-$(nproc)}
echo "tsan.sh: building test_game with ThreadSanitizer in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLARIS_TSAN=ON -DQUELLARIS_SANITIZE=OFF \
    -DQUELLARIS_BENCH=OFF >/dev/null
cmake --build "$build" --target test_game --parallel "$jobs"
cd "$build"
echo "tsan.sh: running the tests matching $tests under ThreadSanitizer"
status=0
ctest --output-on-failure --no-tests=error --parallel "$jobs" -R "$tests" "$@" || status=$?

# A report fails its test by the process's exit status; a report in a process whose status
# nobody checks would not, so the whole log is read as well.
log=Testing/Temporary/LastTest.log
if grep -q 'ThreadSanitizer' "$log"; then
    echo "tsan.sh: ThreadSanitizer reported in these tests (whole output in $build/$log):" >&2
    awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 }
         /ThreadSanitizer/ && !/^WARNING: ThreadSanitizer|ThreadSanitizer: reported/ { print "  " test ": " $0 }' "$log" |
        sort | uniq -c >&2
    ((status != 0)) || status=1
fi
if ((status != 0)); then
    echo "tsan.sh: FAILED (status $status)" >&2
    exit "$status"
fi
echo "tsan.sh: passed: every test ran clean under ThreadSanitizer"
