#!/usr/bin/env bash
# Records the golden games again: the three Linux games with the desktop build
# (build/game-run), each in a window of a private X server. A change that
# alters the game on purpose runs this and commits the new files with it.
#   tests/replays/make-games.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vellorin >/dev/null
for game in two-player pause-and-mode one-player; do
  timeout 900 python3 tests/replays/record.py "$game" build/game-run "tests/replays/linux-$game.rec"
done
