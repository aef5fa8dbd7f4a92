#!/usr/bin/env bash
# Builds the Windows program (tools/build-windows.sh) and measures it under
# Wine on a private X server while the computer plays: frames per second, the
# frame interval's 99th percentile, and the processor share of the game and of
# the Wine server. --scale N makes the window N times its size each way first
# (2: each pixel of the picture a 2 × 2 block).
# Usage: tools/measure-performance-windows.sh [seconds, default 20] [--scale N]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-windows
seconds=20
scale=1
while [ $# -gt 0 ]; do
  case $1 in
    --scale) scale=${2:?--scale needs a factor}; shift 2 ;;
    *) seconds=$1; shift ;;
  esac
done

"$root/tools/build-windows.sh" >/dev/null

source "$root/tools/windows/wine-session.sh"
export LUM_WINE_TIMEOUT=$(( seconds + 60 ))
trap wine_stop_server EXIT
# A new server, so that Wine's desktop process starts on the measuring display.
wine_fresh_server

run=$(mktemp -d "$out/measure-run.XXXXXX")
cp -r "$out/game-run"/. "$run/"
cp "$root/tools/windows/vellorin-launcher.sh" "$run/vellorin"
status=0
python3 "$root/tools/windows/measure_wine.py" "$run" "$seconds" --scale "$scale" || status=$?
rm -rf "$run"
exit "$status"
