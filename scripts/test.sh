#!/bin/sh
# Installs what is missing, builds Tallyvane and runs every test:
#   1. the whole suite (unit, widget, end-to-end printing through a CUPS capture queue);
#   2. the whole suite again, built with the address and undefined-behaviour sanitizers;
#   3. every fuzz target for a bounded time from its seed corpus (clang, libFuzzer);
#   4. valgrind memcheck over the end-to-end print flow.
# Any failure, sanitizer report, fuzz crash or definitely lost block fails the run.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh test
jobs=$(nproc)
fuzz_seconds=${TALLYVANE_FUZZ_SECONDS:-30}

step() { printf '\n==== %s (%s)\n' "$1" "$(date +%T)"; }

step "build"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$jobs"

step "CUPS capture queue"
capture_dir=$(mktemp -d /tmp/tallyvane-capture.XXXXXX)
tests/e2e/cups/cups-capture.sh start "$capture_dir"
trap 'tests/e2e/cups/cups-capture.sh stop || true' EXIT INT TERM
export TALLYVANE_CAPTURE_DIR="$capture_dir"

step "tests"
ctest --test-dir build/test --output-on-failure -j "$jobs"

step "sanitizer build and tests"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYVANE_SANITIZE=ON -DTALLYVANE_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE nosan

step "fuzz targets (${fuzz_seconds}s each)"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYVANE_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"
for fuzzer in build/fuzz/tests/fuzz_*; do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
  echo "-- $name"
  QT_QPA_PLATFORM=offscreen "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
  [ "$(ls crash-* leak-* timeout-* oom-* 2>/dev/null | wc -l)" -eq 0 ] || { echo "$name found a failure"; exit 1; }
  rm -rf "$corpus"
done

step "valgrind memcheck over the print flow"
tests/valgrind/print-flow.sh build/test

step "all passed"
