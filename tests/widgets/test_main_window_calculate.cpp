// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The main window: Calculate with its results and failures, Help, About and Exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QAbstractButton>
#include <QFrame>
#include <QImage>
#include <QScreen>
#include <cstdlib>
#include <algorithm>

#include "QVXFlashLabel.h"

#include "Application.h"
#include "Dialogs.h"
#include "MainWindowFixture.h"
#include "MainWindowTest.h"
#include "main.h"
#include "ParamNames.h"

namespace {

TEST_F(MainWindowTest, WorkedExampleFillsTheTableAndTheSummary) {
  Enter("1000", "12", "12");
  Calculate();
  EXPECT_TRUE(dialogs->Events().empty());
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
  EXPECT_EQ(CalculationState().PeriodRate, 0.01f);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
  EXPECT_EQ(Row(1), QStringList({" 1", "$88.85", "$78.84", "$10.01", "$921.16"}));
  EXPECT_EQ(Row(11), QStringList({" 11", "$88.85", "$87.09", "$1.76", "$88.03"}));
  EXPECT_EQ(Row(12), QStringList({" 12", "$88.03", "$88.03", "$0.00", " $0.00"}));
  // What the view shows is the same text, right-aligned money, row numbers in the fixed column.
  auto* m = form->grdAmort->model();
  EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("$88.85"));
  EXPECT_EQ(m->data(m->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(m->headerData(11, Qt::Vertical).toString(), QStringLiteral(" 12"));
  EXPECT_EQ(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("      Balance"));
}

TEST_F(MainWindowTest, BoxesKeepTextsLongerThanQtsDefaultLimit) {
  const QString blanks(40000, u' ');
  Enter(blanks + "1000", blanks + "12", blanks + "12");
  for (QLineEdit* box : {form->txtAmount, form->txtInterest, form->txtPayments}) {
    EXPECT_EQ(box->text().size(), 40000 + box->text().trimmed().size()) << box->objectName().toStdString();
    // Pasting and typing insert at the caret without a limit either.
    box->home(false);
    box->insert(blanks);
    EXPECT_EQ(box->text().size(), 80000 + box->text().trimmed().size()) << box->objectName().toStdString();
  }
  Calculate();
  EXPECT_TRUE(dialogs->Events().empty());
  EXPECT_EQ(CalculationState().LoanAmount.count, 10000000);
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
}

TEST_F(MainWindowTest, WeeklyUsesFiftyTwoPeriods) {
  Enter("1000", "12", "12");
  form->rbtnWeekly->setChecked(true);
  Calculate();
  EXPECT_EQ(CalculationState().PeriodRate, static_cast<float>(0.01L * 12.0L * (1.0L / 52.0L)));
  EXPECT_EQ(form->GridRowCount(), 13);
}

TEST_F(MainWindowTest, OnePaymentAndZeroRate) {
  Enter("1000", "12", "1");
  Calculate();
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Row(1), QStringList({" 1", "$1,000.00", "$1,000.00", "$0.00", " $0.00"}));
  EXPECT_EQ(Labels(), QStringList({"$1,010.00", "$0.00", "$1,000.00", "$1,000.00"}));
  Enter("1000", "0", "4");
  Calculate();
  // Principal 249.9950 shows as 250.00: the dropped digits round half away from zero.
  EXPECT_EQ(Row(1), QStringList({" 1", "$250.00", "$250.00", "$0.01", "$750.01"}));
}

struct InvalidCase {
  const char* amount;
  const char* interest;
  const char* payments;
  const char* message;
  int box;  // 0 amount, 1 interest, 2 payments
};

class InvalidInputTest : public MainWindowTest, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(InvalidInputTest, BeepsShowsTheMessageAndFocusesTheBoxChangingNothing) {
  Enter("1000", "12", "12");
  Calculate();
  const QStringList before = Labels();
  const LoanState stateBefore = CalculationState();
  const InvalidCase& c = GetParam();
  // Setting the amount text clears the table; calculate again where it stays valid.
  form->txtAmount->setText(QString::fromUtf8(c.amount));
  form->txtInterest->setText(QString::fromUtf8(c.interest));
  form->txtPayments->setText(QString::fromUtf8(c.payments));
  const QStringList labelsBefore = Labels();
  const int rowsBefore = form->GridRowCount();
  form->txtInterest->setFocus();
  QLineEdit* boxes[3] = {form->txtAmount, form->txtInterest, form->txtPayments};
  QWidget* focusAtMessage = nullptr;
  dialogs->OnEvent = [&](const ScriptedDialogs::Event& e) {
    if (e.kind == ScriptedDialogs::Event::Message) focusAtMessage = QApplication::focusWidget();
  };
  Calculate();
  ASSERT_EQ(dialogs->Events().size(), 2u);
  EXPECT_EQ(dialogs->Events()[0].kind, ScriptedDialogs::Event::Beep);
  EXPECT_EQ(dialogs->Events()[0].beepType, 1u);
  EXPECT_EQ(dialogs->Events()[1].kind, ScriptedDialogs::Event::Message);
  EXPECT_EQ(dialogs->Events()[1].caption, QStringLiteral("Tallyvane"));
  EXPECT_EQ(dialogs->Events()[1].text, QString::fromUtf8(c.message));
  EXPECT_EQ(focusAtMessage, form->txtInterest);  // the focus moves after the message
  EXPECT_EQ(QApplication::focusWidget(), boxes[c.box]);
  EXPECT_TRUE(WholeTextSelected(boxes[c.box]));
  EXPECT_EQ(Labels(), labelsBefore);
  EXPECT_EQ(form->GridRowCount(), rowsBefore);
  EXPECT_EQ(CalculationState().PaymentAmount, stateBefore.PaymentAmount);
  EXPECT_EQ(CalculationState().LoanAmount, stateBefore.LoanAmount);
  (void)before;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, InvalidInputTest,
    ::testing::Values(InvalidCase{"", "12", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"1,000", "x", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"$100", "12", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"1000", " ", "12", "   Invalid interest amount. Please try again.   ", 1},
                      InvalidCase{"1000", "12", "", "   Invalid payments entry. Please try again.   ", 2},
                      InvalidCase{"1000", "12", "-", "   Invalid payments entry. Please try again.   ", 2}),
    [](const auto& p) {
      return param_names::Join(param_names::Words(p.param.amount), param_names::Words(p.param.interest),
                               param_names::Words(p.param.payments));
    });

TEST_F(MainWindowTest, InvalidInterestLeavesTheLastCalculationShown) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setText(QStringLiteral("abc"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"   Invalid interest amount. Please try again.   "}));
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
}

TEST_F(MainWindowTest, TypingInTheAmountClearsTableAndSummaryButNotInOtherBoxes) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setFocus();
  QTest::keyClicks(form->txtInterest, "5");
  form->txtPayments->setFocus();
  QTest::keyClicks(form->txtPayments, "7");
  form->rbtnWeekly->setChecked(true);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  form->txtAmount->setFocus();
  QTest::keyClick(form->txtAmount, Qt::Key_End);
  QTest::keyClicks(form->txtAmount, "0");
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Row(1), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Labels(), kZeros);
  // The calculation state is kept.
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
}

TEST_F(MainWindowTest, NonWholeCountReachesTheDefaultErrorReport) {
  Enter("1000", "12", "12");
  Calculate();
  Enter("500", "24", "12.5");  // the amount edit clears the table
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"'12.5' is not a valid integer value"}));
  EXPECT_EQ(CalculationState().LoanAmount.count, 5000000);
  EXPECT_EQ(CalculationState().PeriodRate, 0.02f);
  EXPECT_EQ(CalculationState().PaymentCount, 12);
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Labels(), kZeros);
}

TEST_F(MainWindowTest, ZeroCountDividesByZeroAndLeavesTableAndLabels) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtPayments->setText(QStringLiteral("0"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Floating point division by zero"}));
  EXPECT_EQ(CalculationState().PaymentCount, 0);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  dialogs->Clear();
  Enter("0", "12", "0");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Invalid floating point operation"}));
  dialogs->Clear();
  Enter("1000", "-1200", "5");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Payment"}));
}

TEST_F(MainWindowTest, NegativeAndExcessiveCountsAreRefusedWithAMessage) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtPayments->setText(QStringLiteral("-5"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({NegativeCountMessage()}));
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  dialogs->Clear();
  form->txtPayments->setText(QStringLiteral("1000001"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({TooManyPaymentsMessage()}));
  EXPECT_EQ(form->GridRowCount(), 13);
}

TEST_F(MainWindowTest, AmountTooLargeForMoneyReportsTheInvalidOperation) {
  Enter("1e16", "12", "12");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Invalid floating point operation"}));
  EXPECT_EQ(form->GridRowCount(), 2);
  // The command stopped at the amount: nothing was read or stored.
  EXPECT_EQ(CalculationState().LoanAmount.count, 0);
  EXPECT_EQ(CalculationState().PeriodRate, 0.0f);
  EXPECT_EQ(CalculationState().PaymentCount, 0);
}

TEST_F(MainWindowTest, CompoundFactorOverflowStopsAfterTheCountWasRead) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setText(QStringLiteral("1200"));
  form->txtPayments->setText(QStringLiteral("20000"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Floating point overflow"}));
  EXPECT_EQ(CalculationState().PeriodRate, 1.0f);
  EXPECT_EQ(CalculationState().PaymentCount, 20000);
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
}

TEST_F(MainWindowTest, AMillionPaymentsFitTheTable) {
  Enter("1000000", "0", "1000000");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList());
  EXPECT_EQ(form->GridRowCount(), 1000001);
  EXPECT_EQ(form->GridCell(0, 1000000), QStringLiteral(" 1000000"));
  EXPECT_EQ(form->GridCell(4, 1000000), QStringLiteral(" $0.00"));
  EXPECT_EQ(form->lblPrincipal->text(), QStringLiteral("$1,000,000.00"));
  EXPECT_EQ(form->lblInterest->text(), QStringLiteral("$5,000.00"));   // half a cent on 999,999 rows, rounded
  EXPECT_EQ(form->GridCell(1, 1000000), QStringLiteral("$5,001.00"));  // 5000.995 left
  form->grdAmort->scrollToBottom();
  QApplication::processEvents();
}

TEST_F(MainWindowTest, HelpAndAboutShowTheSameModalWindowEachTime) {
  QDialog about, help;
  form->SetCompanionWindows(&about, &help);
  int shown = 0;
  auto closeWhenModal = [&](QDialog* expected) {
    QTimer::singleShot(0, [&, expected] {
      if (QApplication::activeModalWidget() == expected) ++shown;
      expected->accept();
    });
  };
  for (int i = 0; i < 2; ++i) {
    closeWhenModal(&help);
    Click(form->flblHelp);
    closeWhenModal(&about);
    Click(form->flblAbout);
  }
  EXPECT_EQ(shown, 4);
  EXPECT_FALSE(help.isVisible());
  EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowTest, ExitEndsTheMessageLoopAtOnce) {
  Enter("1000", "12", "12");
  Calculate();
  EXPECT_EQ(ExecAfter([&] { Click(form->flblExit); }), 0);
  EXPECT_TRUE(dialogs->Events().empty());
}

}  // namespace
