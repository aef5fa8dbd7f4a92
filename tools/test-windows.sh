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

source "$root/tools/windows/wine-session.sh"
display=":$((100 + RANDOM % 800))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
  wine_stop_server
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
wine_fresh_server
wine_boot

echo "== Windows tests under Wine =="
(cd "$out" && ctest --output-on-failure --timeout 300 -j2)

echo "== The Windows program under Wine, end to end =="
run=$(mktemp -d "$out/e2e-run.XXXXXX")
cp -r "$out/game-run"/. "$run/"
cp "$root/tools/windows/vellorin-launcher.sh" "$run/vellorin"
status=0
wine_fresh_server
timeout 300 python3 "$root/tests/e2e/test_game.py" two-player "$run" || status=$?
wine_fresh_server
timeout 120 python3 "$root/tests/win32/test_windows_program.py" "$run" || status=$?
wine_fresh_server
timeout 120 python3 "$root/tests/win32/test_window_sizes.py" "$run" || status=$?
wine_fresh_server
timeout 300 python3 "$root/tests/win32/test_installer.py" "$out/Vellorin-setup.exe" || status=$?
rm -rf "$run"
exit "$status"
