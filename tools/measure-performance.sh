#!/usr/bin/env bash
# Builds the game in build-game/ (installing what is missing) and measures it under
# a virtual display while the computer plays matches: frames per second, the
# 99th percentile of the frame interval and the processor share of the game.
# Usage: tools/measure-performance.sh [seconds, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/tools/install-deps.sh" test >/dev/null
"$root/tools/build-game.sh" >/dev/null

exec python3 "$root/tools/measure_performance.py" "$root/build-game/game-run" "${1:-20}"
