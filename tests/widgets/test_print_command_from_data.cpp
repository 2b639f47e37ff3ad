// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The printout written from plain data: the window fills it from what it shows,
// and a document made from a computed schedule alone (as the companion tool
// makes it) is drawn exactly like the window's, with the same printer settings.
#include <gtest/gtest.h>

#include <QDate>
#include <QRadioButton>
#include <ostream>
#include <string>

#include "MainWindowFixture.h"
#include "QVXFlashLabel.h"
#include "ScheduleDocument.h"

namespace {

// Every text drawn, with where and in which font it went.
QStringList Drawn(const TPagePrinter& printer) {
  QStringList drawn;
  for (int p = 1; p <= printer.PageCount(); ++p)
    for (const TMetaOp* op : printer.Pages(p)->TextOperations())
      drawn << QStringLiteral("%1 @%2,%3 %4 %5pt s%6")
                   .arg(op->text)
                   .arg(op->origin.x())
                   .arg(op->origin.y())
                   .arg(op->font->Name())
                   .arg(op->font->Size())
                   .arg(int(op->font->Style()));
  return drawn;
}

struct DocumentCase {
  const char* name;
  const char* amount;
  const char* interest;
  const char* payments;
  bool weekly;
  const char* interestEditedTo;  // typed after Calculate: the loan line shows it
  int pages;
};
void PrintTo(const DocumentCase& c, std::ostream* os) { *os << c.name; }

class PrintoutFromData : public MainWindowFixture<TTestPrinter>, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(PrintoutFromData, ScheduleAloneDrawsTheWindowsPrintout) {
  const DocumentCase& c = GetParam();
  Enter(c.amount, c.interest, c.payments);
  form->rbtnWeekly->setChecked(c.weekly);
  Click(form->flblCalculate);
  QString interest = QString::fromLatin1(c.interest);
  if (c.interestEditedTo) {
    interest = QString::fromLatin1(c.interestEditedTo);
    form->txtInterest->setText(interest);
  }
  const QDate start(2025, 1, 31);
  form->BuildPrintDocument(start);
  const QStringList window = Drawn(*form->PgPrint);
  ASSERT_GT(window.size(), 20);

  TPagePrinter alone;
  ApplySchedulePrinterSettings(alone);
  const ScheduleDocument document =
      ScheduleDocumentFor(form->GridModel()->CurrentSchedule(), CalculationState().LoanAmount, interest,
                          c.weekly ? PaymentFrequency::Weekly : PaymentFrequency::Monthly, start);
  BuildScheduleDocument(alone, document);
  EXPECT_EQ(form->PgPrint->PageCount(), c.pages);
  EXPECT_EQ(alone.PageCount(), c.pages);
  EXPECT_EQ(Drawn(alone), window);
  EXPECT_FALSE(alone.OnNewPage()) << "the printer's own handler is back";
}

INSTANTIATE_TEST_SUITE_P(
    Loans, PrintoutFromData,
    ::testing::Values(DocumentCase{"WorkedExample", "1000", "12", "12", false, nullptr, 1},
                      DocumentCase{"WeeklyOverSeveralPages", "25000", "7.5", "156", true, nullptr, 3},
                      DocumentCase{"InterestEditedAfterCalculate", "1000", "12", "12", false, "9.25", 1},
                      DocumentCase{"NegativeAmount", "-500", "3", "6", false, nullptr, 1}),
    [](const ::testing::TestParamInfo<DocumentCase>& p) { return std::string(p.param.name); });

using PrintoutSettings = MainWindowFixture<TTestPrinter>;

TEST_F(PrintoutSettings, AreTheOnesTheWindowStoresForItsPagePrinter) {
  TPagePrinter alone;
  ApplySchedulePrinterSettings(alone);
  const QMetaObject& meta = TPagePrinter::staticMetaObject;
  int compared = 0;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i, ++compared) {
    const QMetaProperty property = meta.property(i);
    EXPECT_EQ(property.read(&alone), property.read(form->PgPrint)) << property.name();
  }
  EXPECT_GT(compared, 30);
}

TEST_F(PrintoutSettings, ClearedTableIsPrintedAsItsOneEmptyRow) {
  // The table as it stands after the amount was edited: one row of empty cells.
  form->BuildPrintDocument(QDate(2025, 3, 1));
  const QStringList texts = AllTexts();
  EXPECT_EQ(texts.count(QStringLiteral("03/01/2025")), 1);
  EXPECT_TRUE(texts.contains(QStringLiteral("Totals")));
  EXPECT_EQ(form->PgPrint->PageCount(), 1);
}

}  // namespace
