// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What every benchmark program shares: the process's peak memory as a
// counter, and a main that sets up Qt as the program runs it (offscreen, the
// layouts' fonts, en_US regional settings) before the benchmarks run.
#include <sys/resource.h>

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

#include "HeapTuning.h"
#include "Conversions.h"
#include "Graphics.h"
#include "PagePrnt.h"

// Peak resident set size of this process so far, in MB.
inline double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A schedule-like document's set-up: title, dated header, page footer, five
// right-aligned columns.
inline void SetUpScheduleLayout(TPagePrinter& pp) {
  pp.SetTitle(QStringLiteral("Amortization Schedule"));
  pp.SetHeader(QStringLiteral("{$TITLE}|{$DATE}"));
  pp.SetHeaderFormat(QStringLiteral("^4|>2"));
  pp.SetFooter(QStringLiteral("Page - {$PAGE}"));
  pp.SetFooterFormat(QStringLiteral(">5"));
  pp.SetTableFormat(QStringLiteral(">1.5|>1.5|>1.5|>1.5|>1.5"));
}

// Schedule-like table rows until the document has the given number of pages.
inline void WriteScheduleRows(TPagePrinter& pp, int pages) {
  for (int row = 1; pp.PageCount() < pages; ++row)
    pp.WriteTableLine(QStringLiteral("%1|1,234.56|1,000.00|234.56|%2.00").arg(row).arg(250000 - row));
}

// The body of each benchmark program's main.
inline int RunBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  KeepHeapTopForPrinting();  // as the program and the companion run
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
