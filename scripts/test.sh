#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Tallyvane and runs every test stage. Each
# stage is a CMake preset (CMakePresets.json) and its CTest labels:
#   licence   `reuse lint`: every file carries its licence and copyright;
#   format    every C++ file as .clang-format says (checked by scripts/check-format.sh;
#             scripts/check-format.sh --fix formats them);
#   tests     the suite, built with -Werror (preset default: labels unit, widgets,
#             e2e; the end-to-end tests print through a CUPS capture queue);
#   tidy      clang-tidy's checks (.clang-tidy) over the production code, on
#             the default build's compile commands (scripts/check-tidy.sh);
#   valgrind  valgrind memcheck over the print flow (test preset valgrind);
#   asan      the suite again under the address and undefined-behaviour
#             sanitizers (preset asan);
#   fuzz      every fuzz target for a bounded time from a copy of its seed
#             corpus (preset fuzz, clang and libFuzzer);
#   docs      the API reference of the installed headers (doxygen, target docs
#             of preset default); any doxygen warning fails it;
#   package   the Debian packages (scripts/package.sh), validated, installed,
#             both installed programs run, removed (scripts/package-check.sh).
# The tests stage also builds examples/consumer against the installed CMake
# package (CTest label consumer), drives the window through AT-SPI on X11 and
# as a native Wayland client under Weston (labels a11y, wayland) and takes the
# dark-scheme screenshot (label screenshot, scripts/screenshot-dark.sh).
# Any failure, sanitizer report (also from a child process), fuzz crash, leak
# or time-out, or definitely lost block fails the run.
#
#   scripts/test.sh [STAGE...]     the named stages only (default: all, in this order)
#
# TALLYVANE_STAGES names the stages too, when no argument does;
# TALLYVANE_FUZZ_SECONDS sets the time per fuzz target (default 30).
set -eu
cd "$(dirname "$0")/.."
all_stages="licence format tests tidy valgrind asan fuzz docs package"
stages=${*:-${TALLYVANE_STAGES:-$all_stages}}
for stage in $stages; do
  case " $all_stages " in *" $stage "*) ;; *) echo "unknown stage '$stage' (stages: $all_stages)" >&2; exit 2 ;; esac
done
wanted() { case " $stages " in *" $1 "*) return 0 ;; esac; return 1; }

scripts/deps.sh test
jobs=$(nproc)
fuzz_seconds=${TALLYVANE_FUZZ_SECONDS:-30}
capture_started=""
capture_dir=""

stop_capture() {
  [ -n "$capture_started" ] || return 0
  capture_started=""
  tests/e2e/cups/cups-capture.sh stop || true
  rm -rf "$capture_dir"
}
trap stop_capture EXIT
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

# build PRESET [CMAKE OPTION...]: configure and build one preset; warnings fail it.
build() {
  preset=$1
  shift
  step "$preset build"
  cmake --preset "$preset" -DTALLYVANE_WERROR=ON "$@" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
}

# The end-to-end tests, their sanitized run and the valgrind check print to the
# capture queue; it stays up until the last of them has run.
start_capture() {
  [ -z "$capture_started" ] || return 0
  step "CUPS capture queue"
  capture_dir=$(mktemp -d /tmp/tallyvane-capture.XXXXXX)
  capture_started=yes
  tests/e2e/cups/cups-capture.sh start "$capture_dir"
  export TALLYVANE_CAPTURE_DIR="$capture_dir"
}

if wanted licence; then
  step "licence (reuse lint)"
  reuse lint
fi
if wanted format; then
  step "format"
  scripts/check-format.sh
fi

if wanted tests || wanted valgrind || wanted tidy; then
  build default
fi
if wanted tests || wanted valgrind; then
  start_capture
fi
if wanted tests; then
  step "tests"
  ctest --preset default -j "$jobs"
fi
if wanted tidy; then
  step "clang-tidy"
  scripts/check-tidy.sh build/test
fi
if wanted valgrind; then
  step "valgrind memcheck over the print flow"
  ctest --preset valgrind -V
fi
if wanted asan; then
  build asan
  start_capture
  step "sanitizer tests"
  rm -rf build/asan/sanitizer-reports
  ctest --preset asan -j "$jobs"
fi
stop_capture

if wanted fuzz; then
  build fuzz -DTALLYVANE_FUZZ_SECONDS="$fuzz_seconds"
  step "fuzz targets (${fuzz_seconds}s each)"
  fuzz_status=0
  TALLYVANE_FUZZ_SECONDS=$fuzz_seconds ctest --preset fuzz -j "$jobs" || fuzz_status=$?
  printf 'executions per target:\n'
  cat build/fuzz/tests/fuzz-runs/*/summary 2>/dev/null || true
  [ "$fuzz_status" -eq 0 ] || { echo "fuzzing failed"; exit 1; }
fi

if wanted docs; then
  step "API reference (doxygen)"
  cmake --preset default >/dev/null
  cmake --build --preset default --target docs
fi

if wanted package; then
  step "Debian packages"
  scripts/package-check.sh
fi

finish_stage
stage_name=""
step "all passed"
printf 'stage times:\n%s' "$timings"
