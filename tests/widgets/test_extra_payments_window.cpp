// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The "Extra Payments..." window: opened by its key from a calculated loan,
// the worked example both ways against the loan library, refusals that name
// the field and keep the result, the chart's series, the saved CSV and PDF.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <ostream>

#include "ExtraPaymentsWindow.h"
#include "MainWindowFixture.h"
#include "PdfTools.h"
#include "QVXFlashLabel.h"
#include "ScheduleCsv.h"
#include "ScheduleMenu.h"
#include "TestPrinter.h"

namespace {

class ExtraWindowTest : public MainWindowFixture<TTestPrinter> {
 protected:
  ExtraWindowTest() : MainWindowFixture(true) {}
  // Calculates the loan in the main window and opens the window with Ctrl+E.
  ExtraPaymentsWindow* Open(const QString& amount = "150000", const QString& rate = "6.5",
                            const QString& count = "360") {
    Enter(amount, rate, count);
    Click(form->flblCalculate);
    form->txtPayments->setFocus();
    QTest::keyClick(form->txtPayments, Qt::Key_E, Qt::ControlModifier);
    ExtraPaymentsWindow* w = form->ScheduleCommands()->ExtraPayments();
    if (w) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    return w;
  }
  static void AddLump(ExtraPaymentsWindow& w, const QString& payment, const QString& amount) {
    w.AddButton()->click();
    const int row = w.OneTimeTable()->rowCount() - 1;
    w.OneTimeTable()->item(row, 0)->setText(payment);
    w.OneTimeTable()->item(row, 1)->setText(amount);
  }
  static QByteArray Read(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  }
  QTemporaryDir dir;
};

TEST_F(ExtraWindowTest, OpensByKeyOnlyOnceCalculated) {
  ScheduleMenu& menu = *form->ScheduleCommands();
  EXPECT_EQ(menu.ExtraPaymentsAction()->text(), "Extra Payments...");
  EXPECT_EQ(menu.ExtraPaymentsAction()->shortcut(), QKeySequence("Ctrl+E"));
  EXPECT_TRUE(menu.Menu()->actions().contains(menu.ExtraPaymentsAction()));
  QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(menu.ExtraPayments(), nullptr);
  ExtraPaymentsWindow* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Extra Payments");
  // Without extras the window shows the main window's schedule.
  EXPECT_EQ(w->Result().PaymentCount(), 360);
  EXPECT_EQ(w->ResultLabel(2, 0)->text(), form->lblInterest->text());
  EXPECT_EQ(w->ResultLabel(2, 1)->text(), form->lblInterest->text());
  EXPECT_TRUE(w->KeepPaymentButton()->isChecked());
  // Typing recomputes without a button, after a short pause.
  QTest::keyClicks(w->RecurringBox(), "00");  // "0" becomes "000" is still nothing extra
  w->RecurringBox()->setText("100");
  EXPECT_TRUE(QTest::qWaitFor([&] { return w->Result().PaymentCount() < 360; }, 2000));
  // The one-time list: Add (Alt+A) or Insert adds a row, Delete removes the chosen one.
  EXPECT_EQ(w->AddButton()->text(), "&Add");
  w->OneTimeTable()->setFocus();
  QTest::keyClick(w->OneTimeTable(), Qt::Key_Insert);
  ASSERT_EQ(w->OneTimeTable()->rowCount(), 1);
  QTest::keyClick(w->OneTimeTable()->focusWidget(), Qt::Key_Escape);
  w->OneTimeTable()->setFocus();
  QTest::keyClick(w->OneTimeTable(), Qt::Key_Delete);
  EXPECT_EQ(w->OneTimeTable()->rowCount(), 0);
}

struct WorkedCase {
  const char* name;
  bool keepTerm;
};

void PrintTo(const WorkedCase& c, std::ostream* os) { *os << c.name; }

class ExtraWorkedExample : public ExtraWindowTest, public ::testing::WithParamInterface<WorkedCase> {};

TEST_P(ExtraWorkedExample, MatchesTheLibrary) {
  ExtraPaymentsWindow* w = Open();
  ASSERT_NE(w, nullptr);
  w->RecurringBox()->setText("100");
  AddLump(*w, "60", "10000");
  if (GetParam().keepTerm) w->KeepTermButton()->setChecked(true);
  w->Recompute();
  ASSERT_EQ(w->Refusal(), "");

  ExtraPlan plan;
  plan.recurring = Money::FromValue(100);
  plan.oneTime = {{60, Money::FromValue(10000)}};
  plan.mode = GetParam().keepTerm ? ExtraMode::KeepTerm : ExtraMode::KeepPayment;
  const ExtraSchedule expected = BuildExtraSchedule(CalculationState(), plan);
  const ExtraSchedule& got = w->Result();
  ASSERT_EQ(got.PaymentCount(), expected.PaymentCount());
  EXPECT_EQ(got.totalInterest, expected.totalInterest);
  EXPECT_EQ(got.totalPaid, expected.totalPaid);
  EXPECT_EQ(got.interestSaved, expected.interestSaved);
  EXPECT_EQ(got.finalRegularPayment, expected.finalRegularPayment);
  // Keeping the term, the lump lowers the payment; the recurring extra still ends the loan sooner.
  EXPECT_EQ(got.finalRegularPayment != got.regularPayment, GetParam().keepTerm);
  EXPECT_LT(got.PaymentCount(), 300);
  const QString shown[5] = {QString::number(expected.PaymentCount()), FormatMoney(expected.finalRegularPayment),
                            FormatMoney(expected.totalInterest), FormatMoney(expected.interestSaved),
                            FormatMoney(expected.totalPaid)};
  for (int row = 0; row < 5; ++row) EXPECT_EQ(w->ResultLabel(row, 1)->text(), shown[row]) << row;
  // The table's Extra column holds the recurring extra and the lump.
  const QAbstractItemModel& table = *w->ScheduleView()->model();
  EXPECT_EQ(table.rowCount(), expected.PaymentCount());
  EXPECT_EQ(table.index(59, 2).data().toString(), "$10,100.00");
  EXPECT_EQ(table.index(table.rowCount() - 1, 4).data().toString(), ScheduleText::kLastBalance);
  // Yearly totals: loan years of 12 payments without a first due date, calendar years with one.
  EXPECT_EQ(w->YearsView()->model()->rowCount(), (expected.PaymentCount() + 11) / 12);
  w->FirstDueBox()->setText("7/1/2025");
  w->Recompute();
  EXPECT_EQ(w->YearsView()->model()->index(0, 0).data().toString(), "2025");
  EXPECT_EQ(w->YearsView()->model()->index(0, 1).data().toString(), "6");
  EXPECT_FALSE(w->ResultLabel(5, 1)->text().isEmpty());
  EXPECT_NE(w->ResultLabel(5, 1)->text(), w->ResultLabel(5, 0)->text());
}

INSTANTIATE_TEST_SUITE_P(BothWays, ExtraWorkedExample,
                         ::testing::Values(WorkedCase{"EndSooner", false}, WorkedCase{"KeepTheTerm", true}),
                         [](const auto& p) { return std::string(p.param.name); });

struct RefusalCase {
  const char* name;
  int box;  // 0 recurring, 1 from, 2 one-time payment, 3 one-time amount, 4 first due date
  const char* text;
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class ExtraRefusal : public ExtraWindowTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ExtraRefusal, NamesTheFieldAndKeepsTheResult) {
  ExtraPaymentsWindow* w = Open();
  ASSERT_NE(w, nullptr);
  w->RecurringBox()->setText("50");
  AddLump(*w, "12", "500");
  w->Recompute();
  ASSERT_EQ(w->Refusal(), "");
  const int before = w->Result().PaymentCount();
  const QString interest = w->ResultLabel(2, 1)->text();
  const RefusalCase& c = GetParam();
  switch (c.box) {
    case 0: w->RecurringBox()->setText(c.text); break;
    case 1: w->RecurringFromBox()->setText(c.text); break;
    case 2: w->OneTimeTable()->item(0, 0)->setText(c.text); break;
    case 3: w->OneTimeTable()->item(0, 1)->setText(c.text); break;
    default: w->FirstDueBox()->setText(c.text); break;
  }
  w->Recompute();
  EXPECT_EQ(w->Refusal(), c.message);
  EXPECT_EQ(w->Result().PaymentCount(), before);
  EXPECT_EQ(w->ResultLabel(2, 1)->text(), interest);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ExtraRefusal,
    ::testing::Values(RefusalCase{"NegativeExtra", 0, "-5", "Extra payment: the amount must not be negative."},
                      RefusalCase{"MalformedExtra", 0, "12x", "Extra payment: \"12x\" is not an amount."},
                      RefusalCase{"TooLargeExtra", 0, "1e30", "Extra payment: the amount is too large."},
                      RefusalCase{"FromPastTheLastPayment", 1, "361",
                                  "Extra payment from: 361 is not a payment number from 1 to 360."},
                      RefusalCase{"LumpPastTheLastPayment", 2, "400",
                                  "One-time extra payment number: 400 is not a payment number from 1 to 360."},
                      RefusalCase{"NegativeLump", 3, "-1",
                                  "One-time extra payment: the amount must not be negative. (row 1)"},
                      RefusalCase{"BadDate", 4, "13/45/2025", "First due date: \"13/45/2025\" is not a date."}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ExtraWindowTest, ChartSeriesAreSampledKeepingFirstAndLast) {
  ExtraPaymentsWindow* w = Open("1000000", "0.001", "100000");
  ASSERT_NE(w, nullptr);
  w->RecurringBox()->setText("100");
  w->Recompute();
  const QList<QAbstractSeries*> series = w->BalanceChart()->chart()->series();
  ASSERT_EQ(series.size(), 2);
  const auto* without = static_cast<QLineSeries*>(series[0]);
  const auto* with = static_cast<QLineSeries*>(series[1]);
  EXPECT_EQ(without->name(), "Without extras");
  EXPECT_EQ(with->name(), "With extras");
  EXPECT_NE(without->pen().style(), with->pen().style());  // told apart without colour
  for (const QLineSeries* s : {without, with}) {
    EXPECT_LE(s->count(), ExtraPaymentsWindow::kMaxChartPoints);
    EXPECT_EQ(s->at(0), QPointF(0, 1000000));
    EXPECT_EQ(s->at(s->count() - 1).y(), 0);
  }
  EXPECT_EQ(without->at(without->count() - 1).x(), 100000);
  EXPECT_EQ(with->at(with->count() - 1).x(), w->Result().PaymentCount());
  // A short loan keeps every point; the yearly chart has one per year.
  Enter("150000", "6.5", "360");
  Click(form->flblCalculate);
  form->ScheduleCommands()->ExtraPaymentsAction()->trigger();  // the open window takes the new loan
  ASSERT_EQ(form->ScheduleCommands()->ExtraPayments(), w);
  w->Recompute();
  EXPECT_EQ(without->count(), 361);
  const auto* interest = static_cast<QLineSeries*>(w->YearsChart()->chart()->series()[0]);
  EXPECT_EQ(interest->count(), int(w->Years().size()));
  EXPECT_EQ(interest->at(0), QPointF(1, double(w->Years()[0].interest.count) / 10000));
  const QString summary = w->BalanceChart()->accessibleDescription();
  EXPECT_TRUE(summary.contains("paid off after " + QString::number(w->Result().PaymentCount()) +
                               " payments with the extras instead of 360"))
      << summary.toStdString();
  EXPECT_TRUE(w->ChartSummary()->text().startsWith(summary));
}

TEST_F(ExtraWindowTest, SavesTheScheduleAsCsvAndPdf) {
  ExtraPaymentsWindow* w = Open();
  ASSERT_NE(w, nullptr);
  w->RecurringBox()->setText("100");
  w->FirstDueBox()->setText("1/1/2025");
  w->Recompute();
  const QString csv = dir.filePath("extra.csv");
  dialogs->QueueAnswer(csv);
  QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Read(csv), ExtraScheduleCsv(w->Result(), QDate(2025, 1, 1)));
  EXPECT_TRUE(
      Read(csv).startsWith("Payment,Due Date,Amount,Principal,Extra,Interest,Balance\r\n1,2025-01-01,1048.10,"));
  w->ScheduleView()->setFocus();
  QTest::keyClick(w->ScheduleView(), Qt::Key_C, Qt::ControlModifier);
  const QStringList copied = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(copied.size(), w->Result().PaymentCount() + 2);
  EXPECT_EQ(copied[0], "#\tPayment\tPrincipal\tExtra\tInterest\tBalance");
  EXPECT_EQ(copied[1], "1\t$1,048.10\t$135.60\t$100.00\t$812.51\t$149,764.40");
  // The yearly totals' tab copies and saves the yearly totals.
  w->Tabs()->setCurrentWidget(w->YearsView());
  dialogs->QueueAnswer(csv);
  QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Read(csv), YearlyTotalsCsv(w->Years()));

  const QString pdf = dir.filePath("extra.pdf");
  dialogs->QueueAnswer(pdf);  // the first due date is given: no date query
  QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialogs->Messages(), QStringList());
  const int pages = PdfPageCount(pdf);
  ASSERT_GT(pages, 2);
  const QString first = RunTool("pdftotext", {"-layout", "-f", "1", "-l", "1", pdf, "-"});
  const QString last = RunTool("pdftotext", {"-layout", "-f", QString::number(pages), pdf, "-"});
  for (const char* t : {"Amortization Schedule", "Loan Amount: $150,000.00", "Payments: $948.10 (monthly)", "Extra",
                        "01/01/2025", "$100.00", "Page - 1"})
    EXPECT_TRUE(first.contains(t)) << t;
  for (const QString& t : {QString("Year"), QString("Payments"), QString("2025"), QString("Totals"),
                           FormatMoney(w->Result().totalInterest)})
    EXPECT_TRUE(last.contains(t)) << t.toStdString();

  // Print: the same pages on the process's printer (the progress dialog of
  // the PDF took the activation away).
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(int(printer->Sheets().size()), pages);
  EXPECT_EQ(printer->TitleAtBeginDoc(), "Amortization Schedule");
}

}  // namespace
