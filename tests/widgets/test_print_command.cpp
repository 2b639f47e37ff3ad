// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Print from the main window: the checks before it, the date query, the due
// dates, the document the page printer gets, and its refusal while printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "Application.h"
#include "Dates.h"
#include "Dialogs.h"
#include "DueDates.h"
#include "MainWindowFixture.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "QVXFlashLabel.h"
#include "main.h"

namespace {

class PrintCommandTest : public MainWindowFixture<TTestPrinter> {
 protected:
  QStringList DueDates() const {
    // The heading's print date is today's, which has the due dates' shape on some days.
    const QString printed = FormatDateTime(QStringLiteral("ddddd"), QDateTime::currentDateTime());
    QStringList dates;
    for (const QString& t : AllTexts())
      if (t.size() == 10 && t[2] == u'/' && t[5] == u'/' && t != printed) dates << t;
    return dates;
  }
  int QueryCount() const {
    return int(std::count_if(dialogs->Events().begin(), dialogs->Events().end(),
                             [](const ScriptedDialogs::Event& e) { return e.kind == ScriptedDialogs::Event::Query; }));
  }
};

TEST_F(PrintCommandTest, PagePrinterCarriesTheFormsSettings) {
  TPagePrinter* p = form->PgPrint;
  EXPECT_FALSE(p->isVisible());
  EXPECT_EQ(p->geometry(), QRect(496, 8, 17, 17));
  EXPECT_EQ(p->Title(), QStringLiteral("Amortization Schedule"));
  EXPECT_EQ(p->Header(), QStringLiteral("{$TITLE}|{$DATE}"));
  EXPECT_EQ(p->Footer(), QStringLiteral("Page - {$PAGE}"));
  EXPECT_EQ(p->TableFormat(), QStringLiteral(">1.5|>1.5|>1.5|>1.5|>1.5"));
  EXPECT_DOUBLE_EQ(p->MarginTop(), 0.5);
  EXPECT_DOUBLE_EQ(p->MarginLeft(), 0.5);
  EXPECT_FALSE(p->AutoHeaderFont());
  EXPECT_FALSE(p->AutoFooterFont());
  EXPECT_FALSE(p->ShowMargins());
  EXPECT_EQ(p->Font().Name(), QStringLiteral("Courier New"));
  EXPECT_EQ(p->Font().Height(), -13);
  EXPECT_EQ(p->HeaderFont().Style(), TFontStyles(fsBold));
  EXPECT_EQ(p->FooterFont().Height(), -11);
  EXPECT_EQ(p->FooterFont().Style(), TFontStyles(fsItalic));
  EXPECT_TRUE(p->OnNewPage() != nullptr);
  // The rest of what the form stores, and the defaults it relies on.
  EXPECT_EQ(p->HeaderFormat(), QStringLiteral("^4|>2"));
  EXPECT_EQ(p->FooterFormat(), QStringLiteral(">5"));
  EXPECT_DOUBLE_EQ(p->MarginBottom(), 0.5);
  EXPECT_DOUBLE_EQ(p->MarginRight(), 0.5);
  EXPECT_EQ(p->Font().Style(), TFontStyles(0));
  EXPECT_EQ(p->Font().Color(), clWindowText);
  EXPECT_EQ(p->HeaderFont().Name(), QStringLiteral("Courier New"));
  EXPECT_EQ(p->HeaderFont().Height(), -13);
  EXPECT_EQ(p->FooterFont().Name(), QStringLiteral("Courier New"));
  EXPECT_EQ(p->MeasureUnit(), muInches);
  EXPECT_EQ(p->TokenSeparator(), QChar(u'|'));
  EXPECT_TRUE(p->WordWrap());
  EXPECT_FALSE(p->TableGrid());
  EXPECT_FALSE(p->PrintToFile());
  EXPECT_TRUE(p->ShowProgress());
  EXPECT_TRUE(p->ShowCancel());
  for (QScrollBar* bar : {p->horizontalScrollBar(), p->verticalScrollBar()}) {
    EXPECT_EQ(bar->singleStep(), 16);
    EXPECT_TRUE(bar->hasTracking());
  }
}

TEST_F(PrintCommandTest, InvalidInputsPrintNothing) {
  Enter("1000", "", "12");
  Click(form->flblPrint);
  EXPECT_EQ(dialogs->Messages(), QStringList({"   Invalid interest amount. Please try again.   "}));
  EXPECT_EQ(QueryCount(), 0);
  EXPECT_TRUE(printer->Events().empty());
  EXPECT_EQ(QApplication::focusWidget(), form->txtInterest);
}

TEST_F(PrintCommandTest, CalculatesFirstThenPrintsWithMonthlyDueDates) {
  Enter("1000", "12", "12");
  dialogs->QueueAnswer(QStringLiteral("1/31/2025"));
  Click(form->flblPrint);
  EXPECT_EQ(form->GridRowCount(), 13);
  ASSERT_EQ(QueryCount(), 1);
  const ScriptedDialogs::Event& q = dialogs->Events()[0];
  EXPECT_EQ(q.caption, QStringLiteral("Starting Date"));
  EXPECT_EQ(q.text, QStringLiteral("Enter payment starting date:"));
  EXPECT_EQ(dialogs->Messages(), QStringList());
  EXPECT_EQ(DueDates(),
            QStringList({"01/31/2025", "03/03/2025", "04/03/2025", "05/03/2025", "06/03/2025", "07/03/2025",
                         "08/03/2025", "09/03/2025", "10/03/2025", "11/03/2025", "12/03/2025", "01/03/2026"}));
  ASSERT_FALSE(printer->Events().empty());
  EXPECT_EQ(printer->Events().front(), QStringLiteral("BeginDoc"));
  EXPECT_EQ(printer->Events().back(), QStringLiteral("EndDoc"));
  EXPECT_EQ(printer->TitleAtBeginDoc(), QStringLiteral("Amortization Schedule"));
  EXPECT_FALSE(form->PrintRunning());

  const QStringList texts = AllTexts();
  EXPECT_TRUE(
      texts.contains(QStringLiteral("Loan Amount: $1,000.00   Interest: 12% annually   Payments: $88.85 (monthly)")));
  for (const char* t : {"Due Date", "Payment", "Principal", "Interest", "Balance", "$921.16", " $0.00", "Totals",
                        "$1,065.36", "$1,000.00", "$65.36", "Amortization Schedule", "Page - 1"})
    EXPECT_TRUE(texts.contains(QString::fromLatin1(t))) << t;
  // The totals row is the last table line: bold, after the final payment.
  const int totals = int(texts.lastIndexOf(QStringLiteral("Totals")));
  EXPECT_GT(totals, int(texts.lastIndexOf(QStringLiteral("01/03/2026"))));
}

TEST_F(PrintCommandTest, MidMonthStartDriftsAfterALeapFebruary) {
  Enter("1000", "12", "12");
  dialogs->QueueAnswer(QStringLiteral("1/15/2024"));
  Click(form->flblPrint);
  EXPECT_EQ(DueDates(),
            QStringList({"01/15/2024", "02/15/2024", "03/14/2024", "04/14/2024", "05/14/2024", "06/14/2024",
                         "07/14/2024", "08/14/2024", "09/14/2024", "10/14/2024", "11/14/2024", "12/14/2024"}));
}

TEST_F(PrintCommandTest, WeeklyStepsSevenDaysAcrossTheYearEnd) {
  Enter("1000", "12", "4");
  form->rbtnWeekly->setChecked(true);
  dialogs->QueueAnswer(QStringLiteral("12/20/2024"));
  Click(form->flblPrint);
  EXPECT_EQ(DueDates(), QStringList({"12/20/2024", "12/27/2024", "01/03/2025", "01/10/2025"}));
  EXPECT_TRUE(AllTexts().join('\n').contains(QStringLiteral("(weekly)")));
}

TEST_F(PrintCommandTest, CancelEmptyAndInvalidDatesPrintNothing) {
  Enter("1000", "12", "12");
  dialogs->QueueAnswer(std::nullopt);
  Click(form->flblPrint);
  dialogs->QueueAnswer(QString());
  Click(form->flblPrint);
  EXPECT_EQ(dialogs->Messages(), QStringList());
  dialogs->QueueAnswer(QStringLiteral("2/30/2025"));
  Click(form->flblPrint);
  EXPECT_EQ(dialogs->Messages(), QStringList({" Invalid starting date! Printing canceled."}));
  EXPECT_EQ(QueryCount(), 3);
  EXPECT_TRUE(printer->Events().empty());
  EXPECT_FALSE(form->PgPrint->DocumentOpen());
  EXPECT_FALSE(form->PrintRunning());
}

TEST_F(PrintCommandTest, LongScheduleRepeatsTheHeadingAndKeepsTheSmallerFont) {
  Enter("250000", "6.5", "360");
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  Click(form->flblPrint);
  const int pages = form->PgPrint->PageCount();
  ASSERT_GT(pages, 2);
  auto loanLineSize = [&](int page) {
    for (const TMetaOp* op : form->PgPrint->Pages(page)->TextOperations())
      if (op->text.startsWith(QStringLiteral("Loan Amount: "))) return op->font->Size();
    return -1;
  };
  for (int p = 1; p <= pages; ++p) {
    const QStringList texts = PageTexts(p);
    EXPECT_EQ(texts.count(QStringLiteral("Due Date")), 1) << "page " << p;
    EXPECT_TRUE(texts.contains(QStringLiteral("Page - %1").arg(p))) << "page " << p;
  }
  // The 9-point change in the heading lasts: only the very first loan line is at 10 points.
  EXPECT_EQ(loanLineSize(1), 10);
  EXPECT_EQ(loanLineSize(2), 9);
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  Click(form->flblPrint);
  EXPECT_EQ(loanLineSize(1), 9);
  EXPECT_EQ(DueDates().size(), 360);
}

TEST_F(PrintCommandTest, EditedInterestShowsInTheLoanLineWithTheOldPayment) {
  Enter("1000", "12", "12");
  Click(form->flblCalculate);
  form->txtInterest->setText(QStringLiteral("24"));
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  Click(form->flblPrint);
  EXPECT_TRUE(AllTexts().contains(
      QStringLiteral("Loan Amount: $1,000.00   Interest: 24% annually   Payments: $88.85 (monthly)")));
  EXPECT_EQ(DueDates().size(), 12);
}

TEST_F(PrintCommandTest, CalculateAndPrintAreIgnoredWhilePrinting) {
  Enter("1000", "12", "12");
  Click(form->flblCalculate);
  form->txtPayments->setText(QStringLiteral("24"));
  bool triedWhilePrinting = false;
  // Runs when the print command lets pending messages through.
  QTimer::singleShot(0, [&] {
    triedWhilePrinting = form->PrintRunning();
    Click(form->flblCalculate);
    Click(form->flblPrint);
  });
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  Click(form->flblPrint);
  EXPECT_TRUE(triedWhilePrinting);
  EXPECT_EQ(QueryCount(), 1);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(DueDates().size(), 12);
  EXPECT_FALSE(form->PrintRunning());
  // Afterwards both work again.
  Click(form->flblCalculate);
  EXPECT_EQ(form->GridRowCount(), 25);
}

TEST_F(PrintCommandTest, NoPrinterReachesTheDefaultErrorReportAndLeavesNothingOpen) {
  printer->Config().available = false;
  Enter("1000", "12", "12");
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  Click(form->flblPrint);
  ASSERT_EQ(dialogs->Messages().size(), 1);
  EXPECT_FALSE(dialogs->Messages()[0].trimmed().isEmpty());
  EXPECT_FALSE(form->PgPrint->DocumentOpen());
  EXPECT_FALSE(form->PrintRunning());
  EXPECT_FALSE(printer->Printing());
  // The program carries on: a later Calculate works.
  dialogs->Clear();
  form->txtPayments->setText(QStringLiteral("6"));
  Click(form->flblCalculate);
  EXPECT_EQ(form->GridRowCount(), 7);
  EXPECT_EQ(dialogs->Messages(), QStringList());
}

TEST(DueDates, MonthTableAndFormat) {
  EXPECT_EQ(DaysInMonth[1], 28);
  EXPECT_EQ(NextDueDate(QDate(2024, 2, 15), PaymentFrequency::Monthly), QDate(2024, 3, 14));
  EXPECT_EQ(NextDueDate(QDate(2025, 1, 31), PaymentFrequency::Monthly), QDate(2025, 3, 3));
  EXPECT_EQ(NextDueDate(QDate(2024, 1, 31), PaymentFrequency::Monthly), QDate(2024, 3, 2));
  EXPECT_EQ(NextDueDate(QDate(2024, 12, 31), PaymentFrequency::Weekly), QDate(2025, 1, 7));
  FormatSettings fs;
  fs.dateSeparator = '.';
  EXPECT_EQ(FormatDueDate(QDate(2025, 3, 3), fs), QStringLiteral("03.03.2025"));
  EXPECT_EQ(FormatDueDate(QDate(2025, 3, 3)), QStringLiteral("03/03/2025"));
}

}  // namespace
