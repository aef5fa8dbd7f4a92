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

export WINEPREFIX=$out/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LUM_WINE_RUN=$root/tools/windows/wine-run.sh
export LUM_WINE_TIMEOUT=$(( seconds + 60 ))
trap 'timeout 20 wineserver -k 2>/dev/null || true' EXIT
# A new server, so that Wine's desktop process starts on the measuring display.
mkdir -p "$WINEPREFIX"
timeout 20 wineserver -k 2>/dev/null || true
timeout 10 wineserver -p

run=$(mktemp -d "$out/measure-run.XXXXXX")
cp -r "$out/game-run"/. "$run/"
cp "$root/tools/windows/vellorin-launcher.sh" "$run/vellorin"
status=0
python3 "$root/tools/windows/measure_wine.py" "$run" "$seconds" --scale "$scale" || status=$?
rm -rf "$run"
exit "$status"
