// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Building a 2,000-page document with the page printer and printing it to a
// PDF file through the PDF printer (the same paint path as a real printer).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "Conversions.h"
#include "Graphics.h"
#include "PagePrnt.h"
#include "Printer.h"

namespace {

constexpr int kPages = 2000;

QString PdfPath() { return QDir::temp().filePath(QStringLiteral("tallyvane-bench-print.pdf")); }

// A schedule-like document: header, footer, heading on every page, table rows.
void BuildDocument(TPagePrinter& pp) {
  SetUpScheduleLayout(pp);
  pp.SetMarginTop(0.5);
  pp.SetMarginBottom(0.5);
  pp.SetMarginLeft(0.5);
  pp.SetMarginRight(0.5);
  pp.SetShowProgress(false);
  pp.SetOnNewPage(
      [&pp](QObject*) { pp.WriteTableLine(QStringLiteral("Payment #|Payment|Principal|Interest|Balance")); });
  pp.BeginDoc();
  WriteScheduleRows(pp, kPages);
  pp.EndDoc();
}

// The PDF file goes when the benchmark ends.
struct PdfFileScope {
  ~PdfFileScope() { QFile::remove(PdfPath()); }
};

void BM_Build2000Pages(benchmark::State& state) {
  PdfFileScope file;
  for (auto _ : state) {
    TPagePrinter pp(MakePdfPrinter(PdfPath(), 600));
    BuildDocument(pp);
    benchmark::DoNotOptimize(pp.PageCount());
  }
  state.counters["pages"] = kPages;
}

void BM_Print2000PagesToPdf(benchmark::State& state) {
  PdfFileScope file;
  TPagePrinter pp(MakePdfPrinter(PdfPath(), 600));
  BuildDocument(pp);
  for (auto _ : state) {
    const bool printed = pp.Print();
    benchmark::DoNotOptimize(printed);
  }
  state.counters["pages"] = kPages;
  state.counters["pdf_bytes"] = double(QFile(PdfPath()).size());
}

void BM_BuildAndPrint2000PagesToPdf(benchmark::State& state) {
  PdfFileScope file;
  for (auto _ : state) {
    TPagePrinter pp(MakePdfPrinter(PdfPath(), 600));
    BuildDocument(pp);
    benchmark::DoNotOptimize(pp.Print());
  }
  state.counters["pages"] = kPages;
}

}  // namespace

BENCHMARK(BM_Build2000Pages)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Print2000PagesToPdf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildAndPrint2000PagesToPdf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
