#!/usr/bin/env bash
# Installs the Debian packages of the named groups that are missing (through
# sudo when not root). Each group is a list in tools/deps/<group>.txt; with no
# group named, the game's own packages are installed.
#   tools/install-deps.sh game test
set -euo pipefail
deps="$(dirname "$0")/deps"
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(game)

packages=()
for group in "${groups[@]}"; do
  list="$deps/${group#--}.txt"
  if [ ! -f "$list" ]; then
    echo "install-deps: no package group '$group' ($list)" >&2
    exit 2
  fi
  while read -r package _; do
    [ -n "$package" ] && [ "${package:0:1}" != "#" ] && packages+=("$package")
  done < "$list"
done

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
