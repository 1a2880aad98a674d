#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in
# build-fuzz and runs each one from its seed corpus for a bounded time, failing on any finding.
#   run-fuzz.sh [SECONDS PER TARGET, default 20]
# What a target finds is left in build-fuzz/findings/TARGET/ (reproduce it with
# build-fuzz/fuzz/fuzz-TARGET FILE); inputs that add coverage go to a scratch folder, so the
# committed corpus changes only by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
max_runs=5000000

bash scripts/install-deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIDEPAD_WERROR=ON \
  -DGLIDEPAD_FUZZ=ON -DGLIDEPAD_TESTS=OFF >/dev/null
ninja -C build-fuzz -j"$(nproc)" fuzz-settings fuzz-touches fuzz-script

scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0

# run TARGET CORPUS...
run() {
  local target=$1
  shift
  local findings=build-fuzz/findings/$target log=$scratch/$target.log
  rm -rf "$findings"
  mkdir -p "$scratch/$target" "$findings"
  echo "== fuzz-$target: up to $seconds s or $max_runs runs"
  if ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/fuzz/fuzz-$target" -max_total_time="$seconds" -runs="$max_runs" \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$scratch/$target" "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    tail -n 80 "$log"
    echo "fuzz-$target: FINDING, kept in $findings/"
  fi
  local runs peak
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  echo "fuzz-$target: ${runs:-?} runs, peak RSS ${peak:-?} MB, corpus $(find "$@" -type f | wc -l) seeds"
}

run settings fuzz/corpus/settings tests/scenarios/data
run touches fuzz/corpus/touches
run script fuzz/corpus/script tests/scenarios

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
