#!/usr/bin/env bash
# Builds the game in build-game/ (installing what is missing) and measures it under
# a virtual display while the computer plays matches: frames per second, the
# 99th percentile of the frame interval, the processor share of the game, and
# the time each frame spent waiting, updating, rendering and presenting.
# Usage: tools/measure-performance.sh [seconds, default 20] [--picture file.png] [--scale K | --record]
# (--scale K: the same match again in a window K times the picture's size)
# (--record: the match by turns without and with the game recording itself)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/tools/install-deps.sh" test >/dev/null
"$root/tools/build-game.sh" >/dev/null

seconds=20
if [ $# -gt 0 ] && [[ "$1" != --* ]]; then seconds=$1; shift; fi
# Debian's interpreter, which sees the packages installed above (matplotlib).
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
exec "$python" "$root/tools/measure_performance.py" "$root/build-game/game-run" "$seconds" "$@"
