#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64 (installing what is missing):
# FreeType from Debian's own source package, static, then vellorin.exe, also
# static. Leaves build-windows/game-run/ (the program with its assets) and
# build-windows/Vellorin-windows-x64.zip, what a Windows player unpacks, and
# build-windows/Vellorin-setup.exe, the per-user installer of the same files.
#   tools/build-windows.sh [--tests]   (--tests also builds the tests run under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-windows
jobs=${JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake

"$root/tools/install-deps.sh" windows freetype-source

prefix=$out/freetype-install
if [ ! -f "$prefix/lib/libfreetype.a" ]; then
  source=$("$root/tools/fetch-freetype-source.sh" "$out/freetype-src")
  # Only the TrueType path is used: none of the optional compression, PNG or
  # shaping libraries.
  cmake -S "$source" -B "$out/freetype-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON >/dev/null
  cmake --build "$out/freetype-build" -j"$jobs" >/dev/null
  cmake --install "$out/freetype-build" >/dev/null
fi

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DVELLORIN_CROSS_PREFIX="$prefix" -DVELLORIN_BENCH=OFF -DVELLORIN_TESTS=ON -DVELLORIN_INSTALL_LUM=OFF \
  >/dev/null
cmake --build "$out" -j"$jobs" --target vellorin
[ "${1:-}" = --tests ] && cmake --build "$out" -j"$jobs"

run=$out/game-run
cp "$root/tools/windows/README.txt" "$run/README.txt"
rm -f "$run/README.md" "$run/log.txt"
# Only the DLLs Windows itself ships may be imported.
imports=$(x86_64-w64-mingw32-objdump -p "$run/vellorin.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $imports; do
  case $dll in
    kernel32.dll|user32.dll|gdi32.dll|opengl32.dll|winmm.dll|msvcrt.dll|advapi32.dll|shell32.dll|ole32.dll) ;;
    *) echo "build-windows: vellorin.exe needs $dll, which Windows does not ship" >&2; exit 1 ;;
  esac
done

zipfile=$out/Vellorin-windows-x64.zip
stage=$out/package
rm -rf "$stage" "$zipfile"
mkdir -p "$stage/Vellorin"
cp -r "$run"/. "$stage/Vellorin/"
rm -f "$stage/Vellorin/log.txt"
(cd "$stage" && zip -qr "$zipfile" Vellorin)
rm -rf "$stage"
echo "$zipfile"

setup=$out/Vellorin-setup.exe
version=$(sed -n 's/^project(vellorin VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
makensis -V2 -DSOURCE="$run" -DICON="$root/assets/icons/vellorin.ico" -DVERSION="$version" -DOUTFILE="$setup" \
  "$root/tools/windows/vellorin.nsi" >/dev/null
echo "$setup"
