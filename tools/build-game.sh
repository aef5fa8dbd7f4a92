#!/usr/bin/env bash
# Installs the Debian packages that are missing and builds the game into
# build/game-run/, next to its pictures and music (build/ is also the tests').
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh game test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target vellorin
