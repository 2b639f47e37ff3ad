// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The schedule as CSV: plain numbers from the money values, the same amounts
// the table shows; the companion's --csv; files replaced whole or not at all.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "Loan.h"
#include "LoanInputs.h"
#include "ScheduleCsv.h"
#include "ScheduleExport.h"

namespace {

Schedule Computed(const QString& amount, const QString& rate, const QString& count,
                  PaymentFrequency frequency = PaymentFrequency::Monthly) {
  LoanState state;
  ReadInputsAndComputePayment(LoanInputTexts{amount, rate, count, frequency}, state);
  return BuildSchedule(state);
}

QList<QByteArray> Lines(const QByteArray& csv) {
  EXPECT_TRUE(csv.endsWith("\r\n"));
  QList<QByteArray> lines = csv.split('\n');
  lines.removeLast();
  for (QByteArray& line : lines) {
    EXPECT_TRUE(line.endsWith('\r'));
    line.chop(1);
  }
  return lines;
}

// The table's currency text as a plain number: "($1,234.50)" -> "-1234.50".
QByteArray PlainFromShown(QString shown) {
  const bool negative = shown.contains(u'(') || shown.contains(u'-');
  shown.remove(QRegularExpression(QStringLiteral("[^0-9.]")));
  return ((negative && shown != QStringLiteral("0.00")) ? "-" : "") + shown.toLatin1();
}

QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Exact lines of the worked example and of the same loan with a negative amount.
TEST(ScheduleCsv, WorkedExampleAndNegativeAmount) {
  const QList<QByteArray> positive = Lines(ScheduleCsv(Computed("1000", "12", "12")));
  ASSERT_EQ(positive.size(), 13);
  EXPECT_EQ(positive[0], "Payment,Amount,Principal,Interest,Balance");
  EXPECT_EQ(positive[1], "1,88.85,78.84,10.01,921.16");
  EXPECT_EQ(positive[11], "11,88.85,87.09,1.76,88.03");
  EXPECT_EQ(positive[12], "12,88.03,88.03,0.00,0.00");
  const QList<QByteArray> negative = Lines(ScheduleCsv(Computed("-1000", "12", "12")));
  EXPECT_EQ(negative[1], "1,-88.85,-78.85,-10.00,-921.15");
  EXPECT_EQ(negative[12], "12,-87.91,-87.91,0.00,0.00");
}

struct CsvCase {
  const char* name;
  const char* amount;
  const char* rate;
  const char* count;
  PaymentFrequency frequency;
};

class ScheduleCsvCells : public ::testing::TestWithParam<CsvCase> {};

// Every number is the amount the table shows.
TEST_P(ScheduleCsvCells, SameAmountsAsTheTable) {
  const CsvCase& c = GetParam();
  const Schedule s = Computed(c.amount, c.rate, c.count, c.frequency);
  const QList<QByteArray> lines = Lines(ScheduleCsv(s));
  ASSERT_EQ(lines.size(), qsizetype(s.rows.size() + 1));
  for (int i = 0; i < int(s.rows.size()); ++i) {
    const QList<QByteArray> cells = lines[i + 1].split(',');
    ASSERT_EQ(cells.size(), 5);
    EXPECT_EQ(cells[0], QByteArray::number(i + 1));
    for (int col = 1; col <= 4; ++col)
      EXPECT_EQ(cells[col], PlainFromShown(ScheduleText::Cell(s, i, col))) << "row " << i + 1 << " column " << col;
  }
}

INSTANTIATE_TEST_SUITE_P(Loans, ScheduleCsvCells,
                         ::testing::Values(CsvCase{"WorkedExample", "1000", "12", "12", PaymentFrequency::Monthly},
                                           CsvCase{"NegativeAmount", "-1000", "12", "12", PaymentFrequency::Monthly},
                                           CsvCase{"Weekly", "250000", "6.5", "104", PaymentFrequency::Weekly},
                                           CsvCase{"ZeroRate", "100", "0", "3", PaymentFrequency::Monthly}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ScheduleCsv, PlainMoneyRounding) {
  const std::pair<int64_t, const char*> cases[] = {{0, "0.00"},
                                                   {49, "0.00"},
                                                   {-49, "0.00"},
                                                   {50, "0.01"},
                                                   {-50, "-0.01"},
                                                   {100050, "10.01"},
                                                   {-99950, "-10.00"},
                                                   {123456789, "12345.68"},
                                                   {INT64_MIN, "-922337203685477.58"}};
  for (const auto& [count, text] : cases) EXPECT_EQ(PlainMoney(Money::FromCount(count)), text) << count;
}

TEST(ScheduleCsv, DueDatesStepLikeThePrintout) {
  const QList<QByteArray> lines = Lines(ScheduleCsv(Computed("1000", "12", "3"), QDate(2025, 1, 31)));
  EXPECT_EQ(lines[0], "Payment,Due Date,Amount,Principal,Interest,Balance");
  EXPECT_TRUE(lines[1].startsWith("1,2025-01-31,"));
  EXPECT_TRUE(lines[2].startsWith("2,2025-03-03,"));
  EXPECT_TRUE(lines[3].startsWith("3,2025-04-03,"));
}

TEST(SchedulePdf, SheetFollowsTheLocale) {
  for (const char* letter : {"en_US", "en_CA", "fr_CA", "es_MX", "fil_PH"})
    EXPECT_EQ(LocalePaperSize(QLocale(letter)), QPageSize::Letter) << letter;
  for (const char* a4 : {"de_DE", "en_GB", "ja_JP", "C"}) EXPECT_EQ(LocalePaperSize(QLocale(a4)), QPageSize::A4) << a4;
}

TEST(CliCsv, WritesTheScheduleWithDueDates) {
  QTemporaryDir dir;
  const QString plain = dir.filePath("plain.csv"), dated = dir.filePath("dated.csv");
  const QString program = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
  EXPECT_EQ(QProcess::execute(program, {"--csv", plain, "1000", "12", "12"}), 0);
  EXPECT_EQ(ReadAll(plain), ScheduleCsv(Computed("1000", "12", "12")));
  EXPECT_EQ(QProcess::execute(program, {"--weekly", "--start", "1/31/2025", "--csv", dated, "1000", "12", "12"}), 0);
  EXPECT_EQ(ReadAll(dated), ScheduleCsv(Computed("1000", "12", "12", PaymentFrequency::Weekly), QDate(2025, 1, 31),
                                        PaymentFrequency::Weekly));
  EXPECT_EQ(QProcess::execute(program, {"--csv", "/proc/x.csv", "1000", "12", "12"}), 1);
}

}  // namespace
