// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Print against Save as PDF: the same 2,000-page document sent to the print
// server's default queue (CUPS_SERVER, for example the capture queue of the
// end-to-end tests) and written to a PDF file. Real time counts here, since
// the hand-over to the server is part of what the user waits for.
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "Errors.h"
#include "PagePrnt.h"
#include "Printer.h"

namespace {

constexpr int kPages = 2000;

void BuildDocument(TPagePrinter& pp) {
  SetUpScheduleLayout(pp);
  pp.SetShowProgress(false);
  pp.SetOnNewPage(
      [&pp](QObject*) { pp.WriteTableLine(QStringLiteral("Payment #|Payment|Principal|Interest|Balance")); });
  pp.BeginDoc();
  WriteScheduleRows(pp, kPages);
  pp.EndDoc();
}

void PrintEach(benchmark::State& state, TPagePrinter& pp) {
  for (auto _ : state) benchmark::DoNotOptimize(pp.Print());
  state.counters["pages"] = double(pp.PageCount());
}

void BM_Print2000PagesToFile(benchmark::State& state) {
  const QString path = QDir::temp().filePath(QStringLiteral("tallyvane-bench-queue.pdf"));
  {
    TPagePrinter pp(MakePdfPrinter(path, 600));
    BuildDocument(pp);
    PrintEach(state, pp);
  }
  QFile::remove(path);
}

void BM_Print2000PagesToQueue(benchmark::State& state) {
  if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
    state.SkipWithError("set CUPS_SERVER to a print server with a default queue");
    return;
  }
  try {
    TPagePrinter pp(MakeSystemPrinter());
    BuildDocument(pp);
    PrintEach(state, pp);
  } catch (const Exception& e) {
    state.SkipWithError(e.what());
  }
}

}  // namespace

BENCHMARK(BM_Print2000PagesToFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_Print2000PagesToQueue)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
