// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// How live the progress dialog stays while a long document goes to the PDF
// printer: the longest time between two rounds of window-message processing
// (the target is at most 100 ms), with the dialog and its Cancel button up.
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "Application.h"
#include "BenchSupport.h"
#include "PagePrnt.h"
#include "PagePrntJob.h"
#include "Printer.h"

namespace {

constexpr int kPages = 500;

QString PdfPath() { return QDir::temp().filePath(QStringLiteral("tallyvane-bench-responsive.pdf")); }

void BuildDocument(TPagePrinter& pp) {
  SetUpScheduleLayout(pp);
  pp.SetTableGrid(true);
  pp.BeginDoc();
  WriteScheduleRows(pp, kPages);
  pp.EndDoc();
}

void BM_LongestGapWhilePrintingToPdf(benchmark::State& state) {
  {
    TPagePrinter pp(MakePdfPrinter(PdfPath(), 600));
    BuildDocument(pp);
    using Clock = std::chrono::steady_clock;
    Clock::duration longest{0};
    long pumps = 0;
    for (auto _ : state) {
      TPrintJob job(pp);
      Clock::time_point last = Clock::now();
      job.SetMessagePump([&] {
        const Clock::time_point now = Clock::now();
        longest = std::max(longest, now - last);
        Application::ProcessMessages();
        last = Clock::now();
        ++pumps;
      });
      benchmark::DoNotOptimize(job.Run());
      longest = std::max(longest, Clock::now() - last);
    }
    state.counters["pages"] = kPages;
    state.counters["longest_gap_ms"] = std::chrono::duration<double, std::milli>(longest).count();
    state.counters["message_rounds"] = double(pumps) / double(state.iterations());
  }
  QFile::remove(PdfPath());
}
BENCHMARK(BM_LongestGapWhilePrintingToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
