#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Runs clang-tidy with the checks of .clang-tidy over the production code (the
# program, the companion, the components, the platform layer, the Designer
# plugin), against the compile commands of a configured build. Any finding fails.
# clang counts sign changes as conversions, which g++ keeps apart: the build
# leaves them out with clang, and so does this check.
#
#   scripts/check-tidy.sh [BUILD_DIR]    (default build/test)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/test}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: configure the build first"; exit 2; }
files=$(git ls-files 'app/*.cpp' 'cli/*.cpp' 'controls/*.cpp' 'pageprinter/*.cpp' 'platform/*.cpp' 'designer/*.cpp' |
  grep -v '^designer/tests/')
jobs=$(nproc)
# One clang-tidy per file, as many at a time as there are cores; the output of
# each file stays together.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "$files" | xargs -P "$jobs" -I{} sh -c \
  'clang-tidy -p "$1" --quiet --extra-arg=-Wno-sign-conversion "$2" >"$3/$(echo "$2" | tr / _).log" 2>&1 || echo "$2" >>"$3/failed"' \
  sh "$build" {} "$out"
if [ -s "$out/failed" ]; then
  for f in $(cat "$out/failed"); do
    grep -E '(warning|error):' "$out/$(echo "$f" | tr / _).log" | grep -v 'warnings generated' || true
  done
  echo "clang-tidy found problems in $(wc -l <"$out/failed") file(s)"
  exit 1
fi
echo "clang-tidy: $(echo "$files" | wc -l) files clean"
