#!/usr/bin/env bash
# Runs every fuzz target for as long as asked, in one build of its own:
#
#   tools/fuzz.sh [seconds per target, default 600]
#
# The targets run side by side (JOBS at once, default 2), each from the
# corpus it gathered in earlier runs plus the seeds in fuzz/. At the end the
# executions of every target are listed; a crash fails the run and leaves its
# input (crash-*) in the target's folder of the build.
#
# FUZZ_SANITIZE=OFF builds without AddressSanitizer and
# UndefinedBehaviorSanitizer: many times the executions (the font loader
# gains most), though only crashes and failed checks are then caught.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
jobs=${JOBS:-2}
sanitize=${FUZZ_SANITIZE:-ON}
build=build-fuzz-deep
[[ $sanitize == ON ]] || build=build-fuzz-deep-plain

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVELLORIN_FUZZ=ON -DVELLORIN_FUZZ_SANITIZE="$sanitize" -DVELLORIN_FUZZ_SECONDS="$seconds" \
  -DVELLORIN_TESTS=OFF -DVELLORIN_DESKTOP=OFF -DVELLORIN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"

log=$build/fuzz.log
status=0
(cd "$build" && ctest -L fuzz -V -j"$jobs") >"$log" 2>&1 || status=$?
# ctest prefixes each line with the test's number: name the numbers, then
# report each target's executions.
sed -nE 's/^([0-9]+): Test command: [^ ]*\/(fuzz_[a-z_]+).*/\1 name \2/p
         s/^([0-9]+): stat::number_of_executed_units: ([0-9]+).*/\1 runs \2/p' "$log" |
  awk '$2 == "name" { name[$1] = $3 } $2 == "runs" { runs[$1] = $3 }
       END { for (n in runs) printf "%-22s %12d executions\n", name[n], runs[n] }' | sort
grep -E "tests passed|tests failed|\*\*\*Failed" "$log" || true
exit "$status"
