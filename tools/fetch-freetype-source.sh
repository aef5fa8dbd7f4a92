#!/usr/bin/env bash
# Unpacks Debian's own FreeType source package into the folder given (once) and
# prints the path of the unpacked tree. The cross builds (Windows, web) build
# FreeType from it. Source lines are added beside the machine's own package
# sources when it has none.
#   tools/fetch-freetype-source.sh build-windows/freetype-src
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
dest=${1:?usage: fetch-freetype-source.sh <folder>}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)

unpacked() { find "$dest" -maxdepth 1 -type d -name 'freetype-[0-9]*' | sort | tail -n 1; }
if [ -n "$(unpacked)" ] && [ -f "$(unpacked)/CMakeLists.txt" ]; then
  unpacked
  exit 0
fi

"$tools/install-deps.sh" freetype-source >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

has_sources() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! has_sources; then
  # Mirror every binary source as a source-package source.
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    sed -n 's/^Types: deb$/Types: deb-src/; p' "$file" |
      $sudo tee "/etc/apt/sources.list.d/src-$(basename "$file")" >/dev/null
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      $sudo tee /etc/apt/sources.list.d/src-sources.list >/dev/null
  fi
fi
$sudo apt-get update -qq >&2

(cd "$dest" && apt-get source -qq freetype >&2)
tree=$(unpacked)
[ -n "$tree" ] && [ -f "$tree/CMakeLists.txt" ] || { echo "fetch-freetype-source: no FreeType tree in $dest" >&2; exit 1; }
echo "$tree"
