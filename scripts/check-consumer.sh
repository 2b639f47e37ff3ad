#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Installs a build's development files into a scratch prefix, builds
# examples/consumer against the installed CMake package, runs it offscreen and
# checks the text file and the PDF it writes ("Page X of Y" on every page of
# both) and the form it loads through the installed Designer plugin.
#   scripts/check-consumer.sh BUILD_DIR [WORK_DIR]
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=${2:-$build/consumer-check}
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" --component dev >/dev/null
# Only the public headers are installed, never an internal one.
for internal in PagePrntInternal.h PagePrntOutput.h QtPrinter.h CupsSubmission.h; do
  if [ -e "$prefix/include/tallyvane/$internal" ]; then echo "internal header installed: $internal"; exit 1; fi
done
cmake -S "$src/examples/consumer" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$work/build"
libdir=$(dirname "$(find "$prefix" -name 'libtallyvane-pageprinter.so.*' | head -n 1)")
QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$libdir" CUPS_SERVER="$work/no-server.sock" \
  "$work/build/consumer-report" "$work/report.txt" "$work/report.pdf" > "$work/consumer.out"
cat "$work/consumer.out"
for text in "Quarterly figures" "Sales by region" "Region" "North" "36,000.00" "South" "28,500.00" "Branch 60"; do
  grep -q -- "$text" "$work/report.txt" || { echo "report.txt lacks '$text':"; cat "$work/report.txt"; exit 1; }
done
head -c 5 "$work/report.pdf" | grep -q '%PDF-' || { echo "report.pdf is not a PDF"; exit 1; }
pdftotext -layout "$work/report.pdf" "$work/report-pdf.txt"
# The footers in page order: "Page 1 of N" ... "Page N of N", N > 1 the
# preview's page count.
pages=$(sed -n 's/^pages in the preview: //p' "$work/consumer.out")
[ "${pages:-0}" -gt 1 ] || { echo "the report should have several pages, has '$pages'"; exit 1; }
expected=$(seq 1 "$pages" | sed "s/.*/Page & of $pages/")
for output in report.txt report-pdf.txt; do
  found=$(grep -o 'Page [0-9]* of [0-9]*' "$work/$output")
  [ "$found" = "$expected" ] || { echo "$output: footers are"; echo "$found"; echo "expected"; echo "$expected"; exit 1; }
done
# The form with both components, made by the installed Designer plugin (in
# builds that have the plugin).
[ -z "$(find "$prefix" -name libtallyvane_designer.so)" ] || grep -qx 'designer form: TQVXFlashLabel "Calculate", TPagePrinter "Page {\$PAGE} of {\$PAGECOUNT}"' "$work/consumer.out" \
  || { echo "the consumer did not load the form through the Designer plugin"; exit 1; }
echo "consumer built against $prefix and wrote its report"
