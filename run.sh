#!/usr/bin/env bash
# Installs what is missing, builds the game (Release) and starts it in build/run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELLARIS_TESTS=OFF -DQUELLARIS_BENCH=OFF
cmake --build build --parallel
cd build/run
exec ./quellaris "$@"
