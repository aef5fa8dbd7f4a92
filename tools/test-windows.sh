#!/usr/bin/env bash
# Builds the Windows program and its tests (tools/build-windows.sh), then runs
# them under Wine: the unit tests through CTest, and the game itself on a
# private X server driven with xdotool. Wine runs in a prefix of its own under
# build-windows/, with one wineserver kept up for all of it; every Wine call
# is bounded in time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-windows

"$root/tools/build-windows.sh" --tests >/dev/null

export WINEPREFIX=$out/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LUM_WINE_RUN=$root/tools/windows/wine-run.sh
display=":$((100 + RANDOM % 800))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
  timeout 20 wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

# One server for all the tests of a display, so no test waits for a server to
# start or stop. Wine's desktop process belongs to the X server it was started
# on: each end-to-end run, on a display of its own, gets a new server.
fresh_server() {
  timeout 20 wineserver -k 2>/dev/null || true
  timeout 10 wineserver -p
}
mkdir -p "$WINEPREFIX"
fresh_server
# The first boot of a fresh prefix takes several seconds; later ones are quick.
timeout 120 wineboot --init >/dev/null 2>&1

echo "== Windows tests under Wine =="
(cd "$out" && ctest --output-on-failure --timeout 300 -j2)

echo "== The Windows program under Wine, end to end =="
run=$(mktemp -d "$out/e2e-run.XXXXXX")
cp -r "$out/game-run"/. "$run/"
cp "$root/tools/windows/vellorin-launcher.sh" "$run/vellorin"
status=0
fresh_server
timeout 300 python3 "$root/tests/e2e/test_game.py" two-player "$run" || status=$?
fresh_server
timeout 120 python3 "$root/tests/win32/test_windows_program.py" "$run" || status=$?
fresh_server
timeout 120 python3 "$root/tests/win32/test_window_sizes.py" "$run" || status=$?
fresh_server
timeout 300 python3 "$root/tests/win32/test_installer.py" "$out/Vellorin-setup.exe" || status=$?
rm -rf "$run"
exit "$status"
