#!/usr/bin/env bash
# Records the golden games again: the three Linux games with the desktop build
# (build/game-run), each in a window of a private X server; with --windows, the
# Windows game with the Windows build (tools/build-windows.sh) under Wine. A
# change that alters the game on purpose runs this and commits the new files
# with it.
#   tests/replays/make-games.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

if [ "${1:-}" = --windows ]; then
  tools/build-windows.sh >/dev/null
  source tools/windows/wine-session.sh
  # A whole match, computer against computer, runs longer than a test program.
  export LUM_WINE_TIMEOUT=900
  run=$(mktemp -d build-windows/record-run.XXXXXX)
  cleanup() {
    wine_stop_server
    rm -rf "$run"
  }
  trap cleanup EXIT
  cp -r build-windows/game-run/. "$run/"
  cp tools/windows/vellorin-launcher.sh "$run/vellorin"
  wine_boot
  # Wine's desktop process then starts on the recording's own X server.
  wine_fresh_server
  timeout 900 python3 tests/replays/record.py two-player "$run" tests/replays/windows-two-player.rec
  exit 0
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vellorin >/dev/null
for game in two-player pause-and-mode one-player; do
  timeout 900 python3 tests/replays/record.py "$game" build/game-run "tests/replays/linux-$game.rec"
done
