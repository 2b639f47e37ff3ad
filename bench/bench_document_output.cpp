// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The schedule's documents on the real fonts: text measurement of table cells
// through a device context, and the companion's 148,000-row schedule laid out
// with the page printer and written as its text file or as a PDF, in en_US
// and in ja_JP (A4, amounts with the full-width yen of a fallback face).
#include <malloc.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "Device.h"
#include "LocalePaper.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "ScheduleDocument.h"

namespace {

// The companion's "150000 0 148000" schedule starting on 01/15/2025.
ScheduleDocument LongSchedule(Schedule& schedule, const FormatSettings& settings) {
  LoanInputTexts texts;
  texts.amount = QStringLiteral("150000");
  texts.interest = QStringLiteral("0");
  texts.payments = QStringLiteral("148000");
  LoanState state;
  ReadInputsAndComputePayment(texts, state, settings);
  schedule = BuildSchedule(state);
  return ScheduleDocumentFor(schedule, state.LoanAmount, texts.interest, texts.frequency, QDate(2025, 1, 15), settings);
}

double HeapInUseMb() { return double(mallinfo2().uordblks) / (1024.0 * 1024.0); }

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

// One run of the companion's printing path in a locale (its amounts and its
// paper); text file or PDF. recorded_mb is the heap the recorded pages hold.
void RunDocument(benchmark::State& state, const QLocale& locale, bool pdf) {
  const FormatSettings saved = FormatSettings::Current();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(locale));
  Schedule schedule;
  const ScheduleDocument document = LongSchedule(schedule, FormatSettings::Current());
  const QString pdfName = QDir::temp().filePath(QStringLiteral("tallyvane-bench-output.pdf"));
  const QString textName = QDir::temp().filePath(QStringLiteral("tallyvane-bench-output.txt"));
  double recorded = 0;
  int pages = 0;
  for (auto _ : state) {
    TPagePrinter printer(MakePdfPrinter(pdfName, 600, LocalePaperSize(locale)));
    ApplySchedulePrinterSettings(printer);
    printer.SetShowProgress(false);
    printer.SetPrintToFile(!pdf);
    if (!pdf) printer.SetFileName(textName);
    const double before = HeapInUseMb();
    BuildScheduleDocument(printer, document);
    recorded = HeapInUseMb() - before;
    pages = printer.PageCount();
    if (pdf) printer.Print();
  }
  state.counters["peak_rss_mb"] = PeakRssMb();
  state.counters["pages"] = pages;
  if (pdf) state.counters["recorded_mb"] = recorded;
  QFile::remove(pdfName);
  QFile::remove(textName);
  FormatSettings::SetCurrent(saved);
}

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kJapan(QLocale::Japanese, QLocale::Japan);

void BM_ScheduleTextFile148000Rows(benchmark::State& state) { RunDocument(state, kUnitedStates, false); }
void BM_SchedulePdf148000Rows(benchmark::State& state) { RunDocument(state, kUnitedStates, true); }
void BM_SchedulePdf148000RowsJapan(benchmark::State& state) { RunDocument(state, kJapan, true); }

}  // namespace

BENCHMARK(BM_MeasureTableCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScheduleTextFile148000Rows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
// CPU time of the whole process: other builds share the machine, and wall time says little.
BENCHMARK(BM_SchedulePdf148000Rows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_SchedulePdf148000RowsJapan)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->MeasureProcessCPUTime();

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
