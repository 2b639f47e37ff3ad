// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Bad inputs through the main window, grouped by kind: texts in the three
// boxes, start dates at the Print query, no printer, a printer that fails in
// the middle of the job, and a cancel before every sheet. Every failure shows
// what went wrong, and no job, document or file descriptor is left open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <optional>

#include "Application.h"
#include "Dialogs.h"
#include "MainWindowFixture.h"
#include "OpenDescriptors.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"
#include "QVXFlashLabel.h"
#include "main.h"

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.left(200).toStdString() << '"'; }

namespace {

// A test printer that runs a hook whenever a sheet is about to be drawn
// (index 0 is the job's start, before the first sheet).
class HookedPrinter : public TTestPrinter {
 public:
  using TTestPrinter::TTestPrinter;
  std::function<void(int sheetsDrawn)> beforeSheet;
  void BeginDoc() override {
    TTestPrinter::BeginDoc();
    drawn_ = 0;
    if (beforeSheet) beforeSheet(0);
  }
  TCanvas* Canvas() override {
    TCanvas* canvas = TTestPrinter::Canvas();
    ++drawn_;
    if (beforeSheet) beforeSheet(drawn_);
    return canvas;
  }
  int DrawnSheets() const {
    int n = 0;
    for (const Sheet& sheet : Sheets()) n += sheet.page != nullptr;
    return n;
  }

 private:
  int drawn_ = 0;
};

class BadInputsWindowTest : public MainWindowFixture<HookedPrinter> {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    descriptors = OpenDescriptors();
  }
  void Print(std::optional<QString> date) {
    dialogs->QueueAnswer(std::move(date));
    Click(form->flblPrint);
  }
  // Nothing is left running or open after a command, whatever happened in it.
  void ExpectNothingOpen() {
    EXPECT_FALSE(form->PrintRunning());
    EXPECT_FALSE(form->PgPrint->PrintRunning());
    EXPECT_FALSE(form->PgPrint->DocumentOpen());
    EXPECT_EQ(form->PgPrint->ProgressDialog(), nullptr);
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(OpenDescriptors(), descriptors);
  }

  int descriptors = 0;
};

// ---------------------------------------------------------------------------
// The three boxes. The check's messages name the box; a text that passes the
// check but cannot be read reaches the default error report.

struct BoxCase {
  const char* name;
  int box;  // 0 amount, 1 interest, 2 payments
  QString text;
  QString message;
  bool focusMoves;  // the check failed: the focus goes to the box
};

const QString kAmount = QStringLiteral("   Invalid loan amount. Please try again.   ");
const QString kInterest = QStringLiteral("   Invalid interest amount. Please try again.   ");
const QString kPayments = QStringLiteral("   Invalid payments entry. Please try again.   ");

const BoxCase kBoxCases[] = {
    {"AmountBlanks", 0, "   ", kAmount, true},
    {"AmountPlus", 0, "+", kAmount, true},
    {"AmountNan", 0, "nan", kAmount, true},
    {"AmountInf", 0, "inf", kAmount, true},
    {"AmountBeyondExtended", 0, "1e4933", kAmount, true},
    {"AmountHugeButInRange", 0, "1e4932", "Invalid floating point operation", false},
    {"AmountTenThousandDigits", 0, QString(10000, u'9'), kAmount, true},
    {"AmountTab", 0, "1000\t", kAmount, true},
    {"AmountNul", 0, QString::fromUtf16(u"10\u000000", 5), kAmount, true},
    {"InterestMinus", 1, "-", kInterest, true},
    {"InterestSeparators", 1, "1.2.3", kInterest, true},
    {"InterestInfinity", 1, "Infinity", kInterest, true},
    {"InterestBeyondSingle", 1, "1e39", "Floating point overflow", false},
    {"InterestLineFeed", 1, "12\n", kInterest, true},
    {"PaymentsComma", 2, "1,2", kPayments, true},
    {"PaymentsNaN", 2, "NaN", kPayments, true},
    {"PaymentsTenThousandBlanks", 2, QString(10000, u' '), kPayments, true},
    {"PaymentsExponent", 2, "1e2", "'1e2' is not a valid integer value", false},
    {"PaymentsZero", 2, "0", "Floating point division by zero", false},
    {"PaymentsNegative", 2, "-1", "The number of payments must not be negative.", false},
};

class BadBoxTest : public BadInputsWindowTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BadBoxTest, ShowsItsMessageAndKeepsTheLastCalculation) {
  const BoxCase& c = GetParam();
  Enter("1000", "12", "12");
  Click(form->flblCalculate);
  ASSERT_EQ(dialogs->Messages(), QStringList());
  QLineEdit* boxes[3] = {form->txtAmount, form->txtInterest, form->txtPayments};
  boxes[c.box]->setText(c.text);
  const int rows = form->GridRowCount();
  const QString payment = form->lblPayment->text();
  const int pages = form->PgPrint->PageCount();
  form->txtInterest->setFocus();
  for (const bool print : {false, true}) {
    SCOPED_TRACE(print ? "Print" : "Calculate");
    // Print only checks the boxes; it recalculates only when the table was
    // cleared (by an amount edit), so other reading errors do not stop it.
    if (print && !c.focusMoves && c.box != 0) continue;
    dialogs->Clear();
    if (print)
      Print(QStringLiteral("1/1/2025"));
    else
      Click(form->flblCalculate);
    ASSERT_EQ(dialogs->Messages(), QStringList({c.message}));
    if (c.focusMoves) {
      EXPECT_EQ(QApplication::focusWidget(), boxes[c.box]);
    }
    EXPECT_EQ(form->GridRowCount(), rows);
    EXPECT_EQ(form->lblPayment->text(), payment);
    EXPECT_EQ(form->PgPrint->PageCount(), pages) << "nothing was laid out";
    EXPECT_TRUE(printer->Events().empty()) << "no job was started";
    ExpectNothingOpen();
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, BadBoxTest, ::testing::ValuesIn(kBoxCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// Start dates at the query.

struct DateCase {
  const char* name;
  std::optional<QString> answer;  // nullopt: Cancel
  QString message;                // empty: none
};

const QString kInvalidDate = QStringLiteral(" Invalid starting date! Printing canceled.");

const DateCase kDateCases[] = {
    {"Cancelled", std::nullopt, ""},
    {"Empty", QString(), ""},
    {"Blanks", "   ", kInvalidDate},
    {"TwentyNinthFebruaryCommonYear", "2/29/2025", kInvalidDate},
    {"YearZero", "1/1/0000", kInvalidDate},
    {"FiveDigitYear", "1/1/10000", kInvalidDate},
    {"DayFirst", "31/12/2025", kInvalidDate},
    {"IsoOrder", "2025-12-31", kInvalidDate},
    {"TrailingLineFeed", "1/1/2025\n", kInvalidDate},
    {"TenThousandCharacters", QStringLiteral("1/1/") + QString(9996, u'7'), kInvalidDate},
};

class BadDateTest : public BadInputsWindowTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(BadDateTest, PrintsNothingAndSaysWhyUnlessCancelled) {
  const DateCase& c = GetParam();
  Enter("1000", "12", "12");
  const int pages = form->PgPrint->PageCount();
  Print(c.answer);
  EXPECT_EQ(dialogs->Messages(), c.message.isEmpty() ? QStringList() : QStringList({c.message}));
  EXPECT_TRUE(printer->Events().empty());
  EXPECT_EQ(form->PgPrint->PageCount(), pages);
  EXPECT_TRUE(AllTexts().isEmpty()) << "no document was started";
  ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(Answers, BadDateTest, ::testing::ValuesIn(kDateCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(BadInputsWindowTest, LastDayOfTheYear9999PrintsDueDatesIntoTheYear10000) {
  Enter("1000", "12", "3");
  Print(QStringLiteral("12/31/9999"));
  EXPECT_EQ(dialogs->Messages(), QStringList());
  const QStringList texts = AllTexts();
  EXPECT_TRUE(texts.contains(QStringLiteral("12/31/9999")));
  EXPECT_TRUE(texts.contains(QStringLiteral("01/31/10000")));
  EXPECT_TRUE(texts.contains(QStringLiteral("03/02/10000"))) << "10000 is a leap year";
  EXPECT_EQ(printer->Events().back(), QStringLiteral("EndDoc"));
  ExpectNothingOpen();
}

// ---------------------------------------------------------------------------
// The printer: missing, failing at each sheet, cancelled before each sheet.
// 150 monthly payments make a document of several pages.

class PrinterTroubleTest : public BadInputsWindowTest {
 protected:
  int PrintNormally() {
    Enter("1000", "12", "150");
    Print(QStringLiteral("1/1/2025"));
    EXPECT_EQ(dialogs->Messages(), QStringList());
    EXPECT_EQ(printer->Events().back(), QStringLiteral("EndDoc"));
    const int pages = form->PgPrint->PageCount();
    EXPECT_EQ(printer->DrawnSheets(), pages);
    return pages;
  }
};

TEST_F(PrinterTroubleTest, NoPrinterSaysSoAndPrintsLaterWhenOneIsThere) {
  printer->Config().available = false;
  Enter("1000", "12", "150");
  Print(QStringLiteral("1/1/2025"));
  EXPECT_EQ(dialogs->Messages(), QStringList({"There is no default printer currently selected"}));
  EXPECT_TRUE(printer->Events().empty());
  ExpectNothingOpen();
  printer->Config().available = true;
  dialogs->Clear();
  EXPECT_GT(PrintNormally(), 2);
  ExpectNothingOpen();
}

TEST_F(PrinterTroubleTest, PrinterFailingAtEachSheetAbortsTheJobAndSaysWhere) {
  const int sheets = PrintNormally();
  ASSERT_GT(sheets, 2);
  for (int k = 1; k <= sheets; ++k) {
    SCOPED_TRACE(k);
    printer->ClearRecord();
    dialogs->Clear();
    printer->Config().failAtSheet = k;
    Print(QStringLiteral("1/1/2025"));
    EXPECT_EQ(dialogs->Messages(), QStringList({QStringLiteral("The printer failed at sheet %1").arg(k)}));
    EXPECT_EQ(printer->DrawnSheets(), k);
    ASSERT_FALSE(printer->Events().empty());
    EXPECT_EQ(printer->Events().back(), QStringLiteral("Abort")) << "the job is discarded, not left open";
    EXPECT_EQ(printer->Copies(), 1);
    ExpectNothingOpen();
  }
  // The program carries on.
  printer->Config().failAtSheet = 0;
  printer->ClearRecord();
  dialogs->Clear();
  EXPECT_EQ(PrintNormally(), sheets);
}

TEST_F(PrinterTroubleTest, CancelBeforeEachSheetStopsThereSilently) {
  const int sheets = PrintNormally();
  ASSERT_GT(sheets, 2);
  for (int k = 1; k <= sheets; ++k) {
    SCOPED_TRACE(k);
    printer->ClearRecord();
    dialogs->Clear();
    bool pressed = false;
    // Pressed while sheet k - 1 goes out (k = 1: as the job starts), so the
    // run stops before sheet k.
    printer->beforeSheet = [&](int drawn) {
      if (pressed || drawn != k - 1) return;
      TPPPrnPrgDlg* dialog = form->PgPrint->ProgressDialog();
      if (dialog && dialog->btnCancel->isVisible()) {
        dialog->btnCancel->click();
      } else {
        form->PgPrint->ProgressCancelClick();
      }
      pressed = true;
    };
    Print(QStringLiteral("1/1/2025"));
    printer->beforeSheet = nullptr;
    EXPECT_TRUE(pressed);
    EXPECT_EQ(dialogs->Messages(), QStringList()) << "a cancel is not an error";
    EXPECT_EQ(printer->DrawnSheets(), k - 1);
    // The job ends right after the last drawn sheet: no new page is asked for
    // a sheet that is not drawn. A cancel before the first sheet discards the
    // job, which holds no page.
    if (k > 1) {
      for (const auto& sheet : printer->Sheets()) EXPECT_NE(sheet.page, nullptr) << "no blank sheet";
    }
    EXPECT_EQ(std::count(printer->Events().begin(), printer->Events().end(), QStringLiteral("NewPage")),
              std::max(0, k - 2));
    ASSERT_FALSE(printer->Events().empty());
    EXPECT_EQ(printer->Events().back(), k == 1 ? QStringLiteral("Abort") : QStringLiteral("EndDoc"));
    ExpectNothingOpen();
  }
}

}  // namespace
