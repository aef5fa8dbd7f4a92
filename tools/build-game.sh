#!/usr/bin/env bash
# Installs the Debian packages the game needs that are missing and builds the
# game alone (no tests, no benchmarks) into build-game/game-run/, next to its
# pictures and music.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh game
cmake -S . -B build-game -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIN_TESTS=OFF -DVELLORIN_BENCH=OFF >/dev/null
cmake --build build-game -j"${JOBS:-2}" --target vellorin
