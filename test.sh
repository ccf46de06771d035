#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test; then builds Release without sanitizers and runs each test executable
# whole, in one process and in shuffled order.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
./scripts/install-deps.sh
export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLARIS_SANITIZE=ON
cmake --build build-test --parallel "$jobs"
(cd build-test && ctest --output-on-failure --parallel "$jobs" "$@")

# Tests that pass one per process can still depend on each other, and the sanitizers' memory
# handling can hide a fault (freed memory is not handed out again at once).
cmake -S . -B build-whole -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELLARIS_SANITIZE=OFF \
    -DQUELLARIS_BENCH=OFF -DQUELLARIS_WHOLE_TESTS=ON
cmake --build build-whole --parallel "$jobs"
cd build-whole
ctest --output-on-failure --parallel "$jobs" "$@"
