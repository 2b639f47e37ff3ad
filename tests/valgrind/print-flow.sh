#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Memory check of the printing flow: valgrind's memcheck over the
# command-line companion printing a schedule to PDF and to text and, when the
# CUPS capture queue is up (TALLYVANE_CAPTURE_DIR, see
# tests/e2e/cups/cups-capture.sh), over one end-to-end print from the main
# window to the queue.
#
#   tests/valgrind/print-flow.sh BUILD_DIR
#
# Fails (exit 1) on any memory error or "definitely lost" block that the
# suppressions (tests/valgrind/qt.supp: library internals only) do not cover,
# and when a checked program fails. Logs stay in $TALLYVANE_VALGRIND_LOGS
# (default: a fresh folder under /tmp), named in the output.
set -u

die() { printf 'print-flow: %s\n' "$*" >&2; exit 2; }

[ $# -eq 1 ] || die "usage: $0 BUILD_DIR"
BUILD_DIR=$(cd "$1" 2>/dev/null && pwd) || die "no build folder: $1"
HERE=$(cd "$(dirname "$0")" && pwd)
SUPPRESSIONS=$HERE/qt.supp
CLI=$BUILD_DIR/cli/tallyvane-schedule
E2E=$BUILD_DIR/tests/test_print_e2e

command -v valgrind >/dev/null 2>&1 || die "valgrind not found (apt-get install -y valgrind)"
[ -x "$CLI" ] || die "not built: $CLI"
[ -f "$SUPPRESSIONS" ] || die "suppressions missing: $SUPPRESSIONS"

LOGS=${TALLYVANE_VALGRIND_LOGS:-$(mktemp -d /tmp/tallyvane-valgrind.XXXXXX)}
mkdir -p "$LOGS" || die "cannot create $LOGS"

export QT_QPA_PLATFORM=offscreen
export LC_ALL=en_US.UTF-8
# Qt compiles regular expressions to machine code that valgrind cannot follow;
# it reports the generated code's reads as uninitialised.
export QT_ENABLE_REGEXP_JIT=0

# Memcheck's own failure code, told apart from the checked program's.
VG_ERROR=97
failed=0

# run NAME COMMAND...: one program under memcheck; prints its summary.
run() {
  name=$1
  shift
  log=$LOGS/$name.log
  started=$(date +%s)
  valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,possible \
    --errors-for-leak-kinds=definite --error-exitcode=$VG_ERROR --num-callers=40 \
    --suppressions="$SUPPRESSIONS" --log-file="$log" "$@" >"$LOGS/$name.out" 2>&1
  rc=$?
  seconds=$(( $(date +%s) - started ))
  definite=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 bytes in \2 blocks/p' "$log" | tail -n 1)
  indirect=$(sed -n 's/.*indirectly lost: \([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 bytes in \2 blocks/p' "$log" | tail -n 1)
  possible=$(sed -n 's/.*possibly lost: \([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 bytes in \2 blocks/p' "$log" | tail -n 1)
  errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log" | tail -n 1)
  printf '%s: %ss, definitely lost %s, indirectly lost %s, possibly lost %s, errors %s, exit %s\n' \
    "$name" "$seconds" "${definite:-0 bytes in 0 blocks}" "${indirect:-0 bytes in 0 blocks}" \
    "${possible:-0 bytes in 0 blocks}" "${errors:-?}" "$rc"
  # No leak summary means the program was not checked to the end.
  if [ -z "$errors" ]; then
    printf '%s: valgrind gave no summary; see %s\n' "$name" "$log" >&2
    failed=1
  elif [ "$rc" -eq $VG_ERROR ] || [ "$errors" != 0 ] ||
       { [ -n "$definite" ] && [ "${definite%% *}" != 0 ]; }; then
    printf '%s: memory errors or definitely lost blocks; see %s\n' "$name" "$log" >&2
    grep -E '^==[0-9]+== (Invalid|Conditional|Use of|Mismatched|Syscall|Source and|Argument|[0-9,]+ bytes in [0-9,]+ blocks are definitely)' \
      "$log" | head -n 20 >&2
    failed=1
  elif [ "$rc" -ne 0 ]; then
    printf '%s: the program failed (exit %s); see %s\n' "$name" "$rc" "$LOGS/$name.out" >&2
    tail -n 20 "$LOGS/$name.out" >&2
    failed=1
  fi
}

all_started=$(date +%s)

run schedule-pdf-text "$CLI" --start 01/15/2025 --pdf "$LOGS/schedule.pdf" --text "$LOGS/schedule.txt" 10000 6 120
if [ -s "$LOGS/schedule.pdf" ] && [ -s "$LOGS/schedule.txt" ]; then :; else
  printf 'schedule-pdf-text: the PDF or the text file was not written\n' >&2
  failed=1
fi

if [ -n "${TALLYVANE_CAPTURE_DIR:-}" ]; then
  [ -x "$E2E" ] || die "not built: $E2E"
  # The capture queue lives on the capture script's own scheduler.
  CUPS_SERVER=${TALLYVANE_CAPTURE_SERVER:-/run/tallyvane-capture/cupsd.sock}
  export CUPS_SERVER
  run print-e2e "$E2E" --gtest_filter='PrintEndToEnd.TwoPageWeeklyLoanPrintsWhatTheGridShows'
  if ! grep -q '^\[  PASSED  \] 1 test' "$LOGS/print-e2e.out"; then
    printf 'print-e2e: the end-to-end print did not run and pass; see %s\n' "$LOGS/print-e2e.out" >&2
    failed=1
  fi
else
  printf 'print-e2e: skipped (TALLYVANE_CAPTURE_DIR is not set; start tests/e2e/cups/cups-capture.sh)\n'
fi

printf 'print-flow: %ss in all; logs in %s\n' "$(( $(date +%s) - all_started ))" "$LOGS"
if [ "$failed" -ne 0 ]; then
  printf 'print-flow: FAILED\n' >&2
  exit 1
fi
printf 'print-flow: passed\n'
