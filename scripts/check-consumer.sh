#!/bin/sh
# Installs a build's development files into a scratch prefix, builds
# examples/consumer against the installed CMake package, runs it offscreen and
# checks the text file and the PDF it writes.
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
  "$work/build/consumer-report" "$work/report.txt" "$work/report.pdf"
for text in "Quarterly figures" "Sales by region" "Region" "North" "36,000.00" "South" "28,500.00" "Page 1"; do
  grep -q -- "$text" "$work/report.txt" || { echo "report.txt lacks '$text':"; cat "$work/report.txt"; exit 1; }
done
head -c 5 "$work/report.pdf" | grep -q '%PDF-' || { echo "report.pdf is not a PDF"; exit 1; }
echo "consumer built against $prefix and wrote its report"
