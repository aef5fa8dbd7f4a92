#!/usr/bin/env bash
# Installs the Debian packages that are missing, builds the game in build-game/ and
# starts it from build-game/game-run, where the build puts the program next to its
# pictures and music.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/tools/build-game.sh"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  echo "Built build-game/game-run/vellorin, but there is no display to open its window on:" >&2
  echo "start it from a desktop session (DISPLAY or WAYLAND_DISPLAY set)." >&2
  exit 1
fi

cd build-game/game-run
exec ./vellorin
