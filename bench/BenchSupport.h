#pragma once
// What every benchmark program shares: the process's peak memory as a
// counter, and a main that sets up Qt as the program runs it (offscreen, the
// layouts' fonts, en_US regional settings) before the benchmarks run.
#include <sys/resource.h>

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

#include "Conversions.h"
#include "Graphics.h"

// Peak resident set size of this process so far, in MB.
inline double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The body of each benchmark program's main.
inline int RunBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
