#!/usr/bin/env bash
# Builds the game's Debian package, build-deb/vellorin_<version>_<arch>.deb,
# installing the build tools that are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh game package
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIN_TESTS=OFF -DVELLORIN_BENCH=OFF \
  -DVELLORIN_INSTALL_LUM=OFF >/dev/null
cmake --build build-deb -j"${JOBS:-2}"
(cd build-deb && cpack --config tools/package/CPackConfig.cmake -B "$PWD" >/dev/null)
ls build-deb/vellorin_*.deb
