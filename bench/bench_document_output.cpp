// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The schedule's documents on the real fonts: text measurement of table cells
// through a device context, and the companion's 148,000-row schedule laid out
// with the page printer and written as its text file or as a PDF.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "Device.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "ScheduleDocument.h"

namespace {

// The companion's "150000 0 148000" schedule starting on 01/15/2025.
ScheduleDocument LongSchedule(Schedule& schedule) {
  LoanInputTexts texts;
  texts.amount = QStringLiteral("150000");
  texts.interest = QStringLiteral("0");
  texts.payments = QStringLiteral("148000");
  LoanState state;
  ReadInputsAndComputePayment(texts, state, FormatSettings::Current());
  schedule = BuildSchedule(state);
  return ScheduleDocumentFor(schedule, state.LoanAmount, texts.interest, texts.frequency, QDate(2025, 1, 15),
                             FormatSettings::Current());
}

void BM_MeasureTableCells(benchmark::State& state) {
  TFont font;
  font.SetName(QStringLiteral("Courier New"));
  font.SetHeight(-50);
  QStringList cells;
  for (int i = 0; i < 10000; ++i) cells << FormatMoney(Money::FromCount(int64_t(i) * 7919 * 10001));
  for (auto _ : state) {
    int64_t sum = 0;
    for (const QString& cell : cells) sum += ScreenDC()->TextWidth(font, cell);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * cells.size());
}

// One run of the companion's printing path; text file or PDF.
void RunDocument(benchmark::State& state, bool pdf) {
  Schedule schedule;
  const ScheduleDocument document = LongSchedule(schedule);
  const QString pdfName = QDir::temp().filePath(QStringLiteral("tallyvane-bench-output.pdf"));
  const QString textName = QDir::temp().filePath(QStringLiteral("tallyvane-bench-output.txt"));
  for (auto _ : state) {
    TPagePrinter printer(MakePdfPrinter(pdfName));
    ApplySchedulePrinterSettings(printer);
    printer.SetShowProgress(false);
    printer.SetPrintToFile(!pdf);
    if (!pdf) printer.SetFileName(textName);
    BuildScheduleDocument(printer, document);
    if (pdf) printer.Print();
  }
  state.counters["peak_rss_mb"] = PeakRssMb();
  QFile::remove(pdfName);
  QFile::remove(textName);
}

void BM_ScheduleTextFile148000Rows(benchmark::State& state) { RunDocument(state, false); }
void BM_SchedulePdf148000Rows(benchmark::State& state) { RunDocument(state, true); }

}  // namespace

BENCHMARK(BM_MeasureTableCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScheduleTextFile148000Rows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_SchedulePdf148000Rows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
