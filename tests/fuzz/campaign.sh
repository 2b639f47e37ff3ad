#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# A long fuzzing campaign, run by hand (the test stage runs each target for a
# bounded time only):
#
#   tests/fuzz/campaign.sh FUZZ_BUILD WORK [RUNS] [TARGET...]
#
# Runs each fuzz target of FUZZ_BUILD for RUNS executions (default 1,000,000)
# on a copy of its seed corpus in WORK/TARGET, in batches of TALLYVANE_FUZZ_JOBS
# targets (default 2). Then merges into tests/fuzz/corpus/TARGET those inputs of
# the run that raise the coverage of the seeds, and prints one line per target:
# executions, findings (crash, time-out, out of memory; kept in
# WORK/TARGET/artifacts) and the seeds before and after.
#
# FUZZ_BUILD is the fuzz preset's build folder, or for speed one configured
# with -DTALLYVANE_SANITIZERS=undefined: the address sanitizer's allocator
# slows the targets that build whole documents by 6 to 15 times. With it, fast
# stack unwinding and no leak check; the test stage's bounded runs keep
# checking for leaks.
set -u
die() { printf 'campaign: %s\n' "$*" >&2; exit 1; }
[ $# -ge 2 ] || die "usage: $0 FUZZ_BUILD WORK [RUNS] [TARGET...]"
build=$(cd "$1" && pwd) || die "no build folder $1"
work=$2
runs=${3:-1000000}
shift 2
[ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
targets=${*:-$(ls "$here/corpus")}
jobs=${TALLYVANE_FUZZ_JOBS:-2}
mkdir -p "$work" || die "cannot create $work"

one() {
  name=$1
  run="$work/$name"
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts"
  cp -R "$here/corpus/$name/." "$run/corpus/"
  status=0
  (cd "$run" && QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="detect_leaks=0:fast_unwind_on_malloc=1:malloc_context_size=5" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/tests/$name" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1) || status=$?
  before=$(ls "$here/corpus/$name" | wc -l)
  (cd "$run" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="detect_leaks=0" \
    "$build/tests/$name" -merge=1 "$here/corpus/$name" "$run/corpus" >"$run/merge.log" 2>&1)
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
  printf '%-20s exit %s, %9s executions, %s findings, seeds %s -> %s\n' "$name" "$status" "${executions:-?}" \
    "$(ls "$run/artifacts" | wc -l)" "$before" "$(ls "$here/corpus/$name" | wc -l)" | tee "$run/summary"
}

running=0
for name in $targets; do
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
  one "$name" &
  running=$((running + 1))
done
wait
