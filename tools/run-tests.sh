#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build (unit, integration,
# end-to-end and soak tests), the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzz target, the
# installed package, the Windows program under Wine and the web version in a
# headless browser.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-2}

"$root/tools/install-deps.sh" game test

run_suite() { # build-dir, ctest arguments...
  local dir=$1; shift
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure --timeout 600 "$@")
}

echo "== Build and test =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
run_suite build

echo "== Sanitizers (AddressSanitizer, UndefinedBehaviorSanitizer) =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELLORIN_SANITIZE=ON -DVELLORIN_BENCH=OFF >/dev/null
run_suite build-asan -LE "no-sanitizer"

echo "== Fuzzing =="
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVELLORIN_FUZZ=ON -DVELLORIN_TESTS=OFF -DVELLORIN_DESKTOP=OFF -DVELLORIN_BENCH=OFF >/dev/null
run_suite build-fuzz -L fuzz

echo "== The installed game and library =="
"$root/tools/test-package.sh"

echo "== Windows program under Wine =="; "$root/tools/test-windows.sh"

echo "== Web version in a browser =="; "$root/tools/test-web.sh"

echo "All test suites passed."
