// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The companion's extra payments: the Extra column in the table and the CSV,
// the level schedule kept with --extra 0, the yearly totals and the exit
// statuses of refused extras.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <ostream>

#include "ParamNames.h"

namespace {

struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
};

CliRun Schedule(const QStringList& args) {
  const QString program = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
  CliRun r;
  if (!QFile::exists(program)) {
    r.err = QStringLiteral("program not built: ") + program;
    return r;
  }
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
  env.remove(QStringLiteral("DISPLAY"));
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QList<QStringList> CsvRows(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QList<QStringList> rows;
  for (const QString& line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
    rows << line.split(u',');
  return rows;
}

// Cents of a plain CSV amount ("1234.56").
qint64 Cents(const QString& cell) { return qRound64(cell.toDouble() * 100); }

TEST(CliExtra, ExtraZeroKeepsEveryOtherColumnOfTheLevelSchedule) {
  QTemporaryDir dir;
  const QString level = dir.filePath(QStringLiteral("level.csv")), extra = dir.filePath(QStringLiteral("extra.csv"));
  ASSERT_EQ(Schedule({"--csv", level, "150000", "6.5", "360"}).exitCode, 0);
  const CliRun r = Schedule({"--extra", "0", "--csv", extra, "150000", "6.5", "360"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QList<QStringList> a = CsvRows(level);
  QList<QStringList> b = CsvRows(extra);
  ASSERT_EQ(a.size(), 361);
  ASSERT_EQ(b.size(), 361);
  EXPECT_EQ(b[0].join(u','), QStringLiteral("Payment,Amount,Principal,Extra,Interest,Balance"));
  for (QStringList& row : b.mid(1)) EXPECT_EQ(row.takeAt(3), QStringLiteral("0.00"));
  for (int i = 1; i < a.size(); ++i) {
    b[i].removeAt(3);
    ASSERT_EQ(b[i], a[i]) << "row " << i;
  }
  // The table: the Extra heading after Principal, the level payment first.
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("Payment\t$948.10\n"))) << r.out.left(80).toStdString();
  EXPECT_TRUE(r.out.contains(
      QStringLiteral("   #\t      Payment\t      Principal\t      Extra\t      Interest\t      Balance\n")));
  EXPECT_TRUE(r.out.contains(QStringLiteral("\nPayments\t360\n")));
}

TEST(CliExtra, CsvColumnsAddUpToTheSummary) {
  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("extra.csv"));
  const CliRun r = Schedule({"--extra", "100", "--lump", "60:10000", "--csv", csv, "150000", "6.5", "360"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QList<QStringList> rows = CsvRows(csv);
  ASSERT_GT(rows.size(), 2);
  qint64 extra = 0;
  for (const QStringList& row : rows.mid(1)) {
    extra += Cents(row[3]);
    // Each cell is rounded to the cent on its own, so a row may be a cent off.
    EXPECT_LE(std::abs(Cents(row[1]) - Cents(row[2]) - Cents(row[3]) - Cents(row[4])), 1)
        << row.join(u',').toStdString();
  }
  EXPECT_EQ(rows.back()[5], QStringLiteral("0.00"));
  EXPECT_TRUE(r.out.contains(QStringLiteral("\nPayments\t%1\n").arg(rows.size() - 1)));
  EXPECT_TRUE(r.out.contains(QStringLiteral("\nTotal Extra\t$%L1\n").arg(double(extra) / 100, 0, 'f', 2)))
      << r.out.left(300).toStdString();
}

TEST(CliExtra, YearlyTotalsInsteadOfTheRows) {
  const CliRun r = Schedule({"--yearly", "--extra", "100", "150000", "6.5", "360"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  const qsizetype heading = lines.indexOf(QStringLiteral("Year\tPayments\tPayment\tPrincipal\tInterest\tExtra"));
  ASSERT_GE(heading, 0) << r.out.toStdString();
  // 277 payments: 23 loan years of 12 and one of 1.
  ASSERT_EQ(lines.size() - heading - 1, 24);
  EXPECT_TRUE(lines[heading + 1].startsWith(QStringLiteral("1\t12\t"))) << lines[heading + 1].toStdString();
  EXPECT_TRUE(lines[heading + 1].endsWith(QStringLiteral("\t$1,200.00"))) << lines[heading + 1].toStdString();
  EXPECT_TRUE(lines.back().startsWith(QStringLiteral("24\t1\t"))) << lines.back().toStdString();
}

struct ExitCase {
  QStringList args;
  int exitCode;
  const char* message;
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.args.join(u' ').toStdString(); }

class CliExtraRefusal : public testing::TestWithParam<ExitCase> {};

TEST_P(CliExtraRefusal, ExitStatusAndTheFieldNamed) {
  const CliRun r = Schedule(GetParam().args + QStringList{"150000", "6.5", "360"});
  EXPECT_EQ(r.exitCode, GetParam().exitCode);
  EXPECT_TRUE(r.out.isEmpty()) << r.out.left(200).toStdString();
  EXPECT_EQ(r.err.section(u'\n', 0, 0).toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Extras, CliExtraRefusal,
    testing::Values(
        ExitCase{{"--extra", "abc"}, 2, "Extra payment: \"abc\" is not an amount."},
        ExitCase{{"--extra", "-5"}, 2, "Extra payment: the amount must not be negative."},
        ExitCase{{"--extra", "5@361"}, 2, "Extra payment from: 361 is not a payment number from 1 to 360."},
        ExitCase{{"--lump", "0:5"}, 2, "One-time extra payment number: 0 is not a payment number from 1 to 360."},
        ExitCase{{"--lump", "12:x"}, 2, "One-time extra payment: \"x\" is not an amount."},
        ExitCase{{"--lump", "12"}, 2, "One-time extra payment: \"12\" is not N:AMOUNT."},
        ExitCase{{"--extra", "1", "--extra", "2"}, 2, "tallyvane-schedule: --extra may be given once"}),
    [](const auto& p) {
      std::string name = "Args";
      for (const QString& arg : p.param.args) name += "_" + param_names::Words(arg.toStdString());
      return name;
    });

}  // namespace
