#!/bin/sh
# Installs what is missing, builds Tallyvane and runs every test:
#   1. the whole suite (unit, widget, end-to-end printing through a CUPS capture queue);
#   2. the whole suite again, built with the address and undefined-behaviour sanitizers;
#   3. every fuzz target for a bounded time from a copy of its seed corpus (clang, libFuzzer);
#   4. valgrind memcheck over the end-to-end print flow.
# Any failure, sanitizer report, fuzz crash, leak or time-out, or definitely lost
# block fails the run.
#
# TALLYVANE_FUZZ_SECONDS sets the time per fuzz target (default 30).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh test
jobs=$(nproc)
fuzz_seconds=${TALLYVANE_FUZZ_SECONDS:-30}
work=$(mktemp -d /tmp/tallyvane-test.XXXXXX)
capture_started=""

cleanup() {
  [ -z "$capture_started" ] || tests/e2e/cups/cups-capture.sh stop || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

stage_name=""
stage_start=0
timings=""
finish_stage() {
  [ -n "$stage_name" ] || return 0
  timings="$timings$(printf '  %-40s %5ss' "$stage_name" "$(($(date +%s) - stage_start))")
"
}
step() {
  finish_stage
  stage_name=$1
  stage_start=$(date +%s)
  printf '\n==== %s (%s)\n' "$1" "$(date +%T)"
}

step "build"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$jobs"

step "CUPS capture queue"
capture_dir=$(mktemp -d /tmp/tallyvane-capture.XXXXXX)
capture_started=yes
tests/e2e/cups/cups-capture.sh start "$capture_dir"
export TALLYVANE_CAPTURE_DIR="$capture_dir"

step "tests"
ctest --test-dir build/test --output-on-failure -j "$jobs"

# The sanitizers write their reports into files as well as failing the test, so
# a report from a child process (the command-line companion) or one that a test
# swallowed still fails the run.
step "sanitizer build"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYVANE_SANITIZE=ON -DTALLYVANE_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"

step "sanitizer tests"
reports="$work/sanitizer-reports"
mkdir -p "$reports"
asan_options="detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=1:strict_init_order=1"
asan_options="$asan_options:check_initialization_order=1:log_path=$reports/asan"
ubsan_options="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
lsan_options="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
sanitized_ctest_status=0
ASAN_OPTIONS=$asan_options UBSAN_OPTIONS=$ubsan_options LSAN_OPTIONS=$lsan_options \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE nosan || sanitized_ctest_status=$?
if [ -n "$(ls -A "$reports")" ]; then
  for report in "$reports"/*; do
    printf '\n---- %s\n' "$(basename "$report")"
    cat "$report"
  done
  echo "the sanitizers reported the errors above"
  exit 1
fi
[ "$sanitized_ctest_status" -eq 0 ] || { echo "the sanitizer build failed tests"; exit 1; }
echo "no sanitizer report"

step "fuzz build"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYVANE_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"

# Each target runs on a copy of its seed corpus (the repository's folders stay
# untouched) inside a scratch folder, so whatever libFuzzer writes lands there.
step "fuzz targets (${fuzz_seconds}s each)"
fuzz_failed=""
fuzz_summary=""
for source in tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  fuzzer="$root/build/fuzz/tests/$name"
  seeds="tests/fuzz/corpus/$name"
  run="$work/fuzz/$name"
  mkdir -p "$run/corpus" "$run/artifacts"
  if [ ! -f "$fuzzer" ] || [ ! -x "$fuzzer" ]; then
    echo "-- $name: no fuzz program was built"
    fuzz_failed="$fuzz_failed $name"
    continue
  fi
  if [ ! -d "$seeds" ] || [ -z "$(ls -A "$seeds")" ]; then
    echo "-- $name: no seed corpus in $seeds"
    fuzz_failed="$fuzz_failed $name"
    continue
  fi
  cp -R "$seeds/." "$run/corpus/"
  status=0
  (cd "$run" && QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="detect_leaks=1" LSAN_OPTIONS="$lsan_options" UBSAN_OPTIONS="print_stacktrace=1" \
    "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1) || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
  corpus_size=$(ls "$run/corpus" | wc -l)
  echo "-- $name: exit $status, ${executions:-?} executions, corpus $(ls "$seeds" | wc -l) -> $corpus_size"
  fuzz_summary="$fuzz_summary$(printf '  %-22s %12s executions' "$name" "${executions:-?}")
"
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$run/artifacts")" ] || [ -z "$executions" ]; then
    tail -n 60 "$run/log"
    for artifact in "$run/artifacts"/*; do
      [ -f "$artifact" ] || continue
      echo "artifact $(basename "$artifact"), first bytes in hex:"
      od -An -tx1 "$artifact" | head -n 16
    done
    fuzz_failed="$fuzz_failed $name"
  fi
done
printf 'executions per target:\n%s' "$fuzz_summary"
[ -z "$fuzz_failed" ] || { echo "fuzzing failed:$fuzz_failed"; exit 1; }

step "valgrind memcheck over the print flow"
tests/valgrind/print-flow.sh build/test

finish_stage
stage_name=""
step "all passed"
printf 'stage times:\n%s' "$timings"
