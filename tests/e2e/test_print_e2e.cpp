// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing a schedule for real, as a user does: the program's windows are
// started as the program starts them, the loan is typed into the boxes,
// Calculate and Print are clicked, the real "Starting Date" query is answered,
// and the job that reaches CUPS's default queue is read back from the capture
// folder (tests/e2e/cups/cups-capture.sh start DIR; TALLYVANE_CAPTURE_DIR=DIR).
// Without the capture queue these tests are skipped.
#include <gtest/gtest.h>

#include "PrintEndToEnd.h"

// Inside the helpers' namespace, so that their names come before the shared ones.
namespace print_e2e {

TEST_F(PrintEndToEnd, ShortMonthlyLoanPrintsOnePageWithDriftingDueDates) {
  const Loan loan{"1000", "$1,000.00", "12", "12", false, "1/31/2025"};
  EnterAndCalculate(loan);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_EQ(run.doc.rows.size(), 12u);
  // A first payment on the 31st of January is followed by the 3rd of each month.
  EXPECT_EQ(run.doc.rows[0].date, QStringLiteral("01/31/2025"));
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("03/03/2025"));
  EXPECT_EQ(run.doc.rows[11].date, QStringLiteral("01/03/2026"));
  EXPECT_EQ(run.doc.totals, QStringList({QStringLiteral("Totals $1,065.36 $1,000.00 $65.36")}));
  EXPECT_EQ(run.doc.pages[0].lines[1],
            QStringLiteral("Loan Amount: $1,000.00 Interest: 12% annually Payments: $88.85 (monthly)"));
}

// Checks only what the grid and the layout say, no worked-out amounts, so it
// also holds under valgrind (tests/valgrind/print-flow.sh runs it there), whose
// x87 emulation computes long double at double precision: an amount that is a
// multiple of 0.2048 still converts to whole cents there.
TEST_F(PrintEndToEnd, TwoPageWeeklyLoanPrintsWhatTheGridShows) {
  const Loan loan{"1024", "$1,024.00", "7.5", "80", true, "12/20/2024"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  EXPECT_EQ(run.doc.pages.size(), 2u);
  ASSERT_EQ(run.doc.rows.size(), 80u);
  // Weekly steps run across the year end.
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("12/27/2024"));
  EXPECT_EQ(run.doc.rows[2].date, QStringLiteral("01/03/2025"));
}

TEST_F(PrintEndToEnd, ThirtyYearMonthlyLoanPrintsSeveralPages) {
  const Loan loan{"100000", "$100,000.00", "6.5", "360", false, "01/15/2025"};
  EnterAndCalculate(loan);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$632.07"));
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_GT(run.doc.pages.size(), 3u);
  ASSERT_EQ(run.doc.rows.size(), 360u);
  // The first row of the standard 30-year example.
  EXPECT_EQ(run.doc.rows[0].principal, QStringLiteral("$90.40"));
  EXPECT_EQ(run.doc.rows[0].interest, QStringLiteral("$541.67"));
  EXPECT_EQ(run.doc.rows[0].balance, QStringLiteral("$99,909.60"));
  // The 15th holds until the leap February of 2028, then the 14th.
  EXPECT_EQ(run.doc.rows[37].date, QStringLiteral("02/15/2028"));
  EXPECT_EQ(run.doc.rows[38].date, QStringLiteral("03/14/2028"));
  std::cout << "[ info     ] 360 monthly rows: " << run.doc.pages.size() << " pages, " << run.clickToDoneMs
            << " ms to build and send, " << run.clickToFileMs << " ms until the captured file appeared\n";

  // A second print keeps the 9-point body font on its first page too.
  const PrintRun again = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, again, /*firstPrint=*/false));
}

TEST_F(PrintEndToEnd, ThirtyYearWeeklyLoanTiming) {
  const Loan loan{"250000", "$250,000.00", "5.5", "1560", true, "12/30/2024"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_EQ(run.doc.rows.size(), 1560u);
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("01/06/2025"));
  std::cout << "[ timing   ] 1,560 weekly rows, " << run.doc.pages.size() << " pages: Print (after the date was "
            << "answered) to the captured file: " << run.clickToFileMs
            << " ms (building and sending the job: " << run.clickToDoneMs << " ms)\n";
  RecordProperty("weekly_1560_print_to_file_ms", std::to_string(run.clickToFileMs));
}

// The companion tool prints the same schedule through the same page printer
// into a PDF file: the rows must read the same, and on the same sheet size the
// pages must break the same way.
TEST_F(PrintEndToEnd, MatchesTheCompanionToolsPdf) {
  QString tool = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
  if (!QFile::exists(tool)) GTEST_SKIP() << "tallyvane-schedule is not built: " << tool.toStdString();
  const Loan loan{"100000", "$100,000.00", "6.5", "360", false, "01/15/2025"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_FALSE(run.pdf.isEmpty());
  ASSERT_EQ(run.doc.rows.size(), 360u);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString companionPdf = dir.filePath(QStringLiteral("schedule.pdf"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  const ToolResult companion = RunTool(
      tool,
      {QStringLiteral("--start"), QString::fromLatin1(loan.start), QStringLiteral("--pdf"), companionPdf,
       QString::fromLatin1(loan.amount), QString::fromLatin1(loan.interest), QString::fromLatin1(loan.payments)},
      env);
  ASSERT_EQ(companion.exitCode, 0) << companion.err.toStdString();
  const PrintedDocument other = ReadPdf(companionPdf);
  ASSERT_EQ(other.rows.size(), run.doc.rows.size());
  for (size_t i = 0; i < other.rows.size(); ++i) {
    const PrintedRow& a = run.doc.rows[i];
    const PrintedRow& b = other.rows[i];
    ASSERT_TRUE(a.date == b.date && a.payment == b.payment && a.principal == b.principal && a.interest == b.interest &&
                a.balance == b.balance)
        << "row " << i + 1 << ": " << a.date.toStdString() << " vs " << b.date.toStdString();
  }
  EXPECT_EQ(other.totals, run.doc.totals);
  ASSERT_FALSE(other.pages.empty());
  EXPECT_EQ(other.pages[0].lines.mid(1, 2), run.doc.pages[0].lines.mid(1, 2));
  const QString sheet = PdfInfo(run.pdf, QStringLiteral("Page size"));
  const QString companionSheet = PdfInfo(companionPdf, QStringLiteral("Page size"));
  if (sheet == companionSheet) {
    EXPECT_EQ(other.pages.size(), run.doc.pages.size());
    for (size_t p = 0; p < std::min(other.pages.size(), run.doc.pages.size()); ++p)
      EXPECT_EQ(other.pages[p].rows, run.doc.pages[p].rows) << "page " << p + 1;
  } else {
    std::cout << "[ info     ] the queue's sheet (" << sheet.toStdString() << ") differs from the companion's ("
              << companionSheet.toStdString() << "): page breaks not compared\n";
  }
}

}  // namespace print_e2e
