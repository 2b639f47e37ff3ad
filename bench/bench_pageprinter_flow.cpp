// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Building a long loan-schedule document with the page printer: the schedule's
// layout (five right-aligned 1.5-inch columns, half-inch margins, title/date
// header, page footer, a heading written by the new-page handler) on a 600 dpi
// test printer. Targets: under 2 s and under 1 GB for about 110,000 rows.
// Peak RSS (getrusage) is reported as a counter; run one size per process
// (--benchmark_filter) to read each size's own peak.

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "Conversions.h"
#include "Graphics.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "TestPrinter.h"

namespace {

std::vector<QString> ScheduleRows(int count) {
  std::vector<QString> rows;
  rows.reserve(size_t(count));
  double balance = 250000.0;
  for (int i = 0; i < count; ++i) {
    const double interest = balance * 0.004;
    const double principal = 1500.0 - interest;
    balance -= principal;
    if (balance < 0) balance = 250000.0;  // keep every figure schedule-sized
    rows.push_back(QStringLiteral("%1/%2/%3|%4|%5|%6|%7")
                       .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                       .arg(15)
                       .arg(2025 + i / 12)
                       .arg(FormatCurrency(1500.0L, 2))
                       .arg(FormatCurrency(principal, 2))
                       .arg(FormatCurrency(interest, 2))
                       .arg(FormatCurrency(balance, 2)));
  }
  return rows;
}

void ConfigureLikeTheSchedule(TPagePrinter& pp) {
  pp.Font().SetName(QStringLiteral("Courier New"));
  pp.Font().SetSize(10);
  pp.SetTitle(QStringLiteral("Amortization Schedule"));
  pp.SetHeader(QStringLiteral("{$TITLE}|{$DATE}"));
  pp.SetHeaderFormat(QStringLiteral("^4|>2"));
  pp.SetAutoHeaderFont(false);
  pp.HeaderFont().SetSize(10);
  pp.HeaderFont().SetStyle(fsBold);
  pp.SetFooter(QStringLiteral("Page - {$PAGE}"));
  pp.SetFooterFormat(QStringLiteral(">5"));
  pp.SetAutoFooterFont(false);
  pp.FooterFont().SetSize(8);
  pp.FooterFont().SetStyle(fsItalic);
  pp.SetTableFormat(QStringLiteral(">1.5|>1.5|>1.5|>1.5|>1.5"));
  pp.SetMarginTop(0.5);
  pp.SetMarginBottom(0.5);
  pp.SetMarginLeft(0.5);
  pp.SetMarginRight(0.5);
  pp.SetOnNewPage([&pp](QObject*) {
    pp.Font().SetStyle(fsBold);
    pp.WriteLine(QString());
    pp.WriteLineAligned(taCenter, QStringLiteral("Loan Amount: $250,000.00   Interest: 4.8% annually   "
                                                 "Payments: $1,500.00 (monthly)"));
    pp.Font().SetStyle(0);
    pp.Font().SetSize(9);
    pp.WriteLine(QStringLiteral(" "));
    pp.Font().SetStyle(pp.Font().Style() | fsItalic | fsUnderline);
    pp.WriteTableLine(QStringLiteral("Due Date|Payment|Principal|Interest|Balance"));
    pp.Font().SetStyle(0);
    pp.WriteLine(QStringLiteral(" "));
  });
}

void BM_BuildScheduleDocument(benchmark::State& state) {
  const std::vector<QString> rows = ScheduleRows(int(state.range(0)));
  TTestPrinter::Setup setup;  // 600 dpi Letter
  setup.offsetX = 150;        // 0.25 inch, as a common laser printer
  setup.offsetY = 150;
  {
    TPagePrinter pp(std::make_shared<TTestPrinter>(setup));
    ConfigureLikeTheSchedule(pp);
    for (auto _ : state) {
      pp.BeginDoc();
      for (const QString& row : rows) pp.WriteTableLine(row);
      pp.WriteLine(QString());
      pp.Font().SetStyle(fsBold);
      pp.WriteTableLine(QStringLiteral("Totals|$165,000.00|$250,000.00|$85,000.00| "));
      pp.EndDoc();
      state.PauseTiming();
      state.counters["pages"] = pp.PageCount();
      // The next document starts from the stored settings again.
      pp.Font().SetStyle(0);
      pp.Font().SetSize(10);
      state.ResumeTiming();
    }
  }
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["rows"] = double(rows.size());
}

BENCHMARK(BM_BuildScheduleDocument)
    ->Arg(110000)
    ->Arg(148000)  // about 2,000 pages
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
