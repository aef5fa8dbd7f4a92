#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need, only those
# that are missing (through sudo when not root).
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fontconfig fonts-liberation
  libsdl2-dev libsdl2-mixer-dev
  imagemagick python3 python3-pil xvfb xdotool x11-utils xauth
)
if [ "${1:-}" = "--assets" ]; then
  packages+=(sox libsox-fmt-mp3 lame)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
