#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Fails when a tracked C++ file is not formatted as .clang-format says, and
# names the files. `scripts/check-format.sh --fix` formats them in place.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  echo "$files" | xargs clang-format -i
  exit 0
fi
bad=""
for f in $files; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad="$bad $f"
done
if [ -n "$bad" ]; then
  echo "not formatted (scripts/check-format.sh --fix formats them):"
  for f in $bad; do echo "  $f"; done
  exit 1
fi
echo "every C++ file is formatted"
