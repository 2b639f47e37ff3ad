// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Speed and memory of the schedule: computing the values, formatting every
// cell, Calculate in the main window (offscreen), and laying the printout out
// from the computed schedule without a window.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QDate>
#include <QLineEdit>
#include <QTableView>
#include <QLocale>

#include "BenchSupport.h"
#include "Conversions.h"
#include "ExtraPayments.h"
#include "Graphics.h"
#include "Loan.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "ScheduleDocument.h"
#include "TestPrinter.h"
#include "ExtraPaymentsWindow.h"
#include "main.h"

namespace {

LoanState MillionPayments() {
  LoanState s;
  s.LoanAmount = Money::FromValue(1000000.0L);
  s.PeriodRate = PeriodRate(0.001f, PaymentFrequency::Weekly);
  s.PaymentCount = 1000000;
  s.PaymentAmount = ComputePayment(s.LoanAmount, s.PeriodRate, s.PaymentCount);
  return s;
}

void BM_ScheduleValues(benchmark::State& state) {
  const LoanState loan = MillionPayments();
  for (auto _ : state) {
    Schedule s = BuildSchedule(loan);
    benchmark::DoNotOptimize(s.totalPaid);
  }
  state.counters["rows"] = loan.PaymentCount;
}
BENCHMARK(BM_ScheduleValues)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A million payments keeping the term with one-time extras, each followed by
// the payment recomputed for the remaining term, and the yearly totals: what
// the extra-payment window recomputes as the user types. Target: 0.5 s.
void ExtraScheduleMillion(benchmark::State& state, int32_t every) {
  const LoanState loan = MillionPayments();
  ExtraPlan plan;
  plan.mode = ExtraMode::KeepTerm;
  plan.recurring = Money::FromValue(0.01L);
  plan.recurringFrom = loan.PaymentCount;  // only the last, so all rows remain
  for (int32_t n = every; n < loan.PaymentCount; n += every) plan.oneTime.push_back({n, Money::FromValue(0.5L)});
  int32_t rows = 0;
  for (auto _ : state) {
    const ExtraSchedule s = BuildExtraSchedule(loan, plan);
    const std::vector<YearTotals> years = YearlyTotals(s, PaymentFrequency::Weekly, QDate(2027, 1, 15));
    benchmark::DoNotOptimize(years.back().payment);
    rows = s.PaymentCount();
  }
  state.counters["rows"] = rows;
  state.counters["recomputed"] = double(plan.oneTime.size());
  state.counters["peak_rss_MB"] = PeakRssMb();
}
void BM_ExtraScheduleMillionLumpEvery1000(benchmark::State& state) { ExtraScheduleMillion(state, 1000); }
BENCHMARK(BM_ExtraScheduleMillionLumpEvery1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
// The worst case: a one-time extra with every payment, a million recomputations.
void BM_ExtraScheduleMillionLumpEveryPayment(benchmark::State& state) { ExtraScheduleMillion(state, 1); }
BENCHMARK(BM_ExtraScheduleMillionLumpEveryPayment)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_FormatEveryCell(benchmark::State& state) {
  const Schedule s = BuildSchedule(MillionPayments());
  const FormatSettings& fs = FormatSettings::Current();
  const int rows = int(s.rows.size());
  for (auto _ : state) {
    qsizetype total = 0;
    for (int i = 0; i < rows; ++i)
      for (int c = 0; c < 5; ++c) total += ScheduleText::Cell(s, i, c, fs).size();
    benchmark::DoNotOptimize(total);
  }
  state.counters["cells"] = double(rows) * 5;
}
BENCHMARK(BM_FormatEveryCell)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The companion's table: every amount of a million rows as UTF-8 in one buffer.
void BM_CompanionAmountsUtf8(benchmark::State& state) {
  const Schedule s = BuildSchedule(MillionPayments());
  const MoneyUtf8Writer writer(FormatSettings::Current());
  std::string out;
  for (auto _ : state) {
    size_t total = 0;
    for (const ScheduleRow& r : s.rows) {
      out.clear();
      for (const Money m : {r.payment, r.principal, r.interest, r.balance}) writer.Append(m, out);
      total += out.size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.counters["cells"] = double(s.rows.size()) * 4;
}
BENCHMARK(BM_CompanionAmountsUtf8)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void CalculateInWindow(benchmark::State& state, const char* amount, const char* rate, const char* count) {
  TMainForm form;
  form.show();
  QApplication::processEvents();
  form.txtInterest->setText(QString::fromLatin1(rate));
  form.txtPayments->setText(QString::fromLatin1(count));
  for (auto _ : state) {
    state.PauseTiming();
    form.txtAmount->setText(QString::fromLatin1(amount));  // clears the table, as a user's edit would
    QApplication::processEvents();
    state.ResumeTiming();
    form.flblCalculateClick(nullptr);
    form.grdAmort->viewport()->repaint();  // the table as the user first sees it
  }
  state.counters["rows"] = form.GridRowCount() - 1;
  state.counters["peak_rss_MB"] = PeakRssMb();
}

void BM_CalculateWindow1560(benchmark::State& state) { CalculateInWindow(state, "250000", "6.5", "1560"); }
BENCHMARK(BM_CalculateWindow1560)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CalculateWindowMillion(benchmark::State& state) { CalculateInWindow(state, "1000000", "0.001", "1000000"); }
BENCHMARK(BM_CalculateWindowMillion)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The extra payments window on a million payments: one keystroke's recompute
// (the schedule, the yearly totals, the result, the table and the charts)
// with a first due date and a one-time extra every 1,000 payments. Target: 0.5 s.
void BM_ExtraWindowRecomputeMillion(benchmark::State& state) {
  ExtraPaymentsLoan loan;
  loan.state = MillionPayments();
  loan.frequency = PaymentFrequency::Weekly;
  loan.interestText = QStringLiteral("0.001");
  ExtraPaymentsWindow window(loan, nullptr);
  window.show();
  window.FirstDueBox()->setText(QStringLiteral("1/15/2027"));
  window.KeepTermButton()->setChecked(true);
  for (int n = 1000; n < loan.state.PaymentCount; n += 1000) {
    const int row = window.OneTimeTable()->rowCount();
    window.OneTimeTable()->insertRow(row);
    window.OneTimeTable()->setItem(row, 0, new QTableWidgetItem(QString::number(n)));
    window.OneTimeTable()->setItem(row, 1, new QTableWidgetItem(QStringLiteral("0.5")));
  }
  QApplication::processEvents();
  int keystroke = 0;
  for (auto _ : state) {
    window.RecurringBox()->setText(QStringLiteral("0.0%1").arg(1 + keystroke++ % 9));
    window.Recompute();
    window.repaint();
  }
  state.counters["rows"] = window.Result().PaymentCount();
  state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_ExtraWindowRecomputeMillion)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 30 years of weekly payments laid out on the test printer's default sheet.
void BM_PrintoutFromSchedule(benchmark::State& state) {
  LoanState loan;
  loan.LoanAmount = Money::FromValue(250000.0L);
  loan.PeriodRate = PeriodRate(6.5f, PaymentFrequency::Weekly);
  loan.PaymentCount = 1560;
  loan.PaymentAmount = ComputePayment(loan.LoanAmount, loan.PeriodRate, loan.PaymentCount);
  const Schedule schedule = BuildSchedule(loan);
  const ScheduleDocument document = ScheduleDocumentFor(schedule, loan.LoanAmount, QStringLiteral("6.5"),
                                                        PaymentFrequency::Weekly, QDate(2025, 1, 31));
  {
    TPagePrinter printer(std::make_shared<TTestPrinter>(TTestPrinter::Setup{}));
    ApplySchedulePrinterSettings(printer);
    for (auto _ : state) BuildScheduleDocument(printer, document);
    state.counters["pages"] = printer.PageCount();
  }
  state.counters["rows"] = loan.PaymentCount;
}
BENCHMARK(BM_PrintoutFromSchedule)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
