#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
./scripts/install-deps.sh
export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLARIS_SANITIZE=ON
cmake --build build-test --parallel "$jobs"
cd build-test
ctest --output-on-failure --parallel "$jobs" "$@"
