#!/usr/bin/env bash
# Tests the game and the framework as they are installed: builds the Debian
# package, validates its desktop entry and metainfo, installs it with apt-get,
# plays the installed game under a private X server, removes it again, checks
# that an installed lum offers its public headers only, and builds the example
# program against it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
work=$(mktemp -d)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@" >/dev/null 2>&1; }

# A failed run still stops its X server and takes the package off again.
installed=""
cleanup() {
  if [ -n "${server:-}" ]; then kill "$server" 2>/dev/null || true; fi
  if [ -n "$installed" ]; then apt remove vellorin || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-package: $*" >&2; exit 1; }

"$root/tools/build-deb.sh" >/dev/null 2>&1 || "$root/tools/build-deb.sh"
deb=$(ls "$root"/build-deb/vellorin_*.deb)

echo "== The package's desktop entry and metainfo =="
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
desktop-file-validate "$work/unpacked/usr/share/applications/vellorin.desktop"
appstreamcli validate --no-net "$work"/unpacked/usr/share/metainfo/*.metainfo.xml >/dev/null
dpkg-deb -f "$deb" Depends | grep -q "fonts-liberation" || fail "the package does not depend on fonts-liberation"
dpkg-deb -f "$deb" Depends | grep -q "libsdl2-2.0-0" || fail "the package's library dependencies are missing"

# Starts the installed launcher with HOME=$1 and XDG_STATE_HOME=$2 under a
# private X server, waits for the window, presses Escape and expects exit 0.
play_installed() {
  local home=$1 state=$2 display window status
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
  server=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=:$(head -n1 "$work/display")
  [ "$display" != ":" ] || fail "Xvfb did not start"
  DISPLAY=$display HOME=$home XDG_STATE_HOME=$state SDL_AUDIODRIVER=dummy \
    timeout 60 /usr/games/vellorin >"$work/out.txt" 2>&1 &
  local game=$!
  window=$(DISPLAY=$display timeout 30 xdotool search --sync --name "Vellorin" | head -n1) ||
    fail "no game window appeared: $(cat "$work/out.txt")"
  DISPLAY=$display timeout 10 xdotool windowfocus --sync "$window"
  sleep 0.5
  DISPLAY=$display timeout 10 xdotool key Escape
  status=0
  wait "$game" || status=$?
  kill "$server"; wait "$server" 2>/dev/null || true; server=""
  [ "$status" -eq 0 ] || fail "the installed game ended with status $status: $(cat "$work/out.txt")"
}

# The log in the per-user folder is complete and the assets are linked there.
expect_run_folder() {
  local folder=$1
  [ -f "$folder/log.txt" ] || fail "no log.txt in $folder"
  tail -n1 "$folder/log.txt" | grep -q "^-- Logging ended at " || fail "the log in $folder has no end marker"
  [ "$(readlink "$folder/mainMenu.bmp")" = /usr/share/vellorin/mainMenu.bmp ] || fail "the assets are not linked into $folder"
}

echo "== The installed game =="
installed=yes
apt install "$deb"
[ -x /usr/games/vellorin ] || fail "apt-get did not install /usr/games/vellorin"
mkdir -p "$work/home" "$work/state"
play_installed "$work/home" ""
expect_run_folder "$work/home/.local/state/vellorin"
play_installed "$work/home" "$work/state"
expect_run_folder "$work/state/vellorin"
apt remove vellorin
installed=""
[ ! -e /usr/games/vellorin ] && [ ! -e /usr/share/vellorin ] && [ ! -e /usr/lib/vellorin ] ||
  fail "removing the package left files behind"
echo "== The example program on an installed lum =="
# The tests' build (tools/run-tests.sh builds it first) supplies the libraries.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target lum lum_headless lum_sdl lum_sound vellorin >/dev/null
cmake --install build --prefix "$work/prefix" >/dev/null
# Only the public headers, each complete on its own.
tools/package/lum/check_installed_headers.py "$work/prefix" || fail "the installed headers are not lum's public ones"
for platform in headless sdl; do
  cmake -S examples/bouncing-sprite -B "$work/example-$platform" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DLUM_PLATFORM=$platform -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build "$work/example-$platform" -j"${JOBS:-2}" >/dev/null
done
[ "$(nm "$work/example-sdl/bouncing_sprite" | grep -c " U SDL_CreateWindow")" -eq 1 ] || fail "the SDL example has no SDL platform"
mkdir "$work/run"
ran=$(cd "$work/run" && timeout 30 "$work/example-headless/bouncing_sprite" 100) || fail "the headless example failed"
# 100 frames of the (3, 2) step from (40, 30), turned back at the 320 × 240 edges.
[ "$ran" = "100 frames, sprite at 232,186" ] || fail "the headless example ran: $ran"
tail -n1 "$work/run/log.txt" | grep -q "^-- Logging ended at " || fail "the example's log has no end marker"
# Recorded and replayed with no code of its own, through the environment.
(cd "$work/run" && LUM_RECORD=bounce.rec timeout 30 "$work/example-headless/bouncing_sprite" 100 >/dev/null) ||
  fail "the example did not run recorded"
verdict=$(cd "$work/run" && LUM_REPLAY_VERIFY=bounce.rec timeout 30 "$work/example-headless/bouncing_sprite" 100 2>&1 >/dev/null) ||
  fail "the example's replay failed: $verdict"
[ "$verdict" = "Replay of bounce.rec: every one of its 100 frames matches (100 steps)." ] ||
  fail "the example's replay said: $verdict"
# The same program through pkg-config alone.
PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" bash -c 'g++ -std=c++17 -o "$1/by-pkg-config" examples/bouncing-sprite/*.cpp \
  $(pkg-config --cflags --libs lum-headless)' _ "$work"
ran=$(cd "$work/run" && timeout 30 "$work/by-pkg-config" 100)
[ "$ran" = "100 frames, sprite at 232,186" ] || fail "the pkg-config build ran: $ran"
PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" pkg-config --exists lum lum-headless lum-sdl lum-sound ||
  fail "the pkg-config files do not all resolve"
echo "Installed package tests passed."
