#!/usr/bin/env bash
# Builds the web version with emscripten (installing what is missing):
# FreeType from Debian's own source package, static, then the game as
# WebAssembly. Leaves build-web/site/: index.html, vellorin.js, vellorin.wasm
# and vellorin.data (pictures, music and font), servable by any static server.
#   tools/build-web.sh [--tests]   (--tests also builds the platform demo's page
#                                   in build-web/site-test/ for the browser test)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-web
jobs=${JOBS:-2}

"$root/tools/install-deps.sh" web freetype-source

# emscripten's tools are Node.js programs that load the modules Debian
# installs there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

prefix=$out/freetype-install
if [ ! -f "$prefix/lib/libfreetype.a" ]; then
  source=$("$root/tools/fetch-freetype-source.sh" "$out/freetype-src")
  # Only the TrueType path is used: none of the optional compression, PNG or
  # shaping libraries.
  emcmake cmake -S "$source" -B "$out/freetype-build" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null
  cmake --build "$out/freetype-build" -j"$jobs" >/dev/null
  cmake --install "$out/freetype-build" >/dev/null
fi

emcmake cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DVELLORIN_TESTS=OFF -DVELLORIN_BENCH=OFF -DVELLORIN_INSTALL_LUM=OFF >/dev/null
cmake --build "$out" -j"$jobs" --target vellorin
[ "${1:-}" = --tests ] && cmake --build "$out" -j"$jobs" --target platform_demo_web
echo "$out/site"
