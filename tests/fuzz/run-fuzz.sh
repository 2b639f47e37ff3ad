#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# One bounded libFuzzer run, as a CTest test:
#
#   tests/fuzz/run-fuzz.sh FUZZER SEEDS WORK SECONDS
#
# The fuzzer runs on a copy of its seed corpus (the repository's folders stay
# untouched) inside the scratch folder WORK, so whatever libFuzzer writes lands
# there. TALLYVANE_FUZZ_SECONDS, when set, overrides SECONDS. Fails on a missing
# program or corpus, a non-zero exit, any artifact (crash, leak, time-out, out of
# memory) and a run that executed nothing. Prints one summary line, also kept in
# WORK/summary.
set -u

die() { printf 'run-fuzz: %s\n' "$*" >&2; exit 1; }

[ $# -eq 4 ] || die "usage: $0 FUZZER SEEDS WORK SECONDS"
fuzzer=$1
seeds=$2
run=$3
seconds=${TALLYVANE_FUZZ_SECONDS:-$4}
name=$(basename "$fuzzer")
here=$(cd "$(dirname "$0")" && pwd)
case "$seconds" in ''|*[!0-9]*) die "not a number of seconds: $seconds" ;; esac

[ -f "$fuzzer" ] && [ -x "$fuzzer" ] || die "$name: no fuzz program was built"
[ -d "$seeds" ] && [ -n "$(ls -A "$seeds")" ] || die "$name: no seed corpus in $seeds"

rm -rf "$run"
mkdir -p "$run/corpus" "$run/artifacts" || die "cannot create $run"
cp -R "$seeds/." "$run/corpus/"

status=0
(cd "$run" && QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1" \
  LSAN_OPTIONS="suppressions=$here/../sanitizers/lsan.supp:print_suppressions=0" \
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1) || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
summary=$(printf '%-22s %5ss, exit %s, %12s executions, corpus %s -> %s' "$name" "$seconds" "$status" \
  "${executions:-?}" "$(ls "$seeds" | wc -l)" "$(ls "$run/corpus" | wc -l)")
printf '%s\n' "$summary" | tee "$run/summary"

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$run/artifacts")" ] || [ -z "$executions" ]; then
  tail -n 60 "$run/log"
  for artifact in "$run/artifacts"/*; do
    [ -f "$artifact" ] || continue
    echo "artifact $(basename "$artifact"), first bytes in hex:"
    od -An -tx1 "$artifact" | head -n 16
  done
  die "$name failed; log in $run/log"
fi
