// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The command-line companion: its output matches the window's texts, and its
// failures go to stderr with the documented exit status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <locale.h>
#include <algorithm>
#include <optional>
#include <string>

#include "ParamNames.h"
#include "PdfTools.h"

namespace {

struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
};

CliRun Schedule(const QStringList& args, const QString& locale = QStringLiteral("en_US.UTF-8"),
                const QList<QPair<QString, QString>>& extraEnv = {}) {
  const QString program = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
  CliRun r;
  if (!QFile::exists(program)) {
    r.err = QStringLiteral("program not built: ") + program;
    return r;
  }
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), locale);
  env.insert(QStringLiteral("LANG"), locale);
  env.remove(QStringLiteral("DISPLAY"));
  // Making a QPrinter asks CUPS for its default queue: the companion meets a socket where nothing listens.
  env.insert(QStringLiteral("CUPS_SERVER"), QDir::temp().filePath(QStringLiteral("tallyvane-no-print-server.sock")));
  for (const auto& [name, value] : extraEnv) env.insert(name, value);
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

TEST(Cli, WorkedExampleAsTheWindowShowsIt) {
  const CliRun r = Schedule({"1000", "12", "12"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n');
  ASSERT_GE(lines.size(), 18);
  EXPECT_EQ(lines[0], QStringLiteral("Payment\t$88.85"));
  EXPECT_EQ(lines[1], QStringLiteral("Total Interest\t$65.36"));
  EXPECT_EQ(lines[2], QStringLiteral("Total Principal\t$1,000.00"));
  EXPECT_EQ(lines[3], QStringLiteral("Total\t$1,065.36"));
  EXPECT_EQ(lines[4], QStringLiteral("   #\t      Payment\t      Principal\t      Interest\t      Balance"));
  EXPECT_EQ(lines[5], QStringLiteral(" 1\t$88.85\t$78.84\t$10.01\t$921.16"));
  EXPECT_EQ(lines[15], QStringLiteral(" 11\t$88.85\t$87.09\t$1.76\t$88.03"));
  EXPECT_EQ(lines[16], QStringLiteral(" 12\t$88.03\t$88.03\t$0.00\t $0.00"));
  EXPECT_EQ(lines[17], QString());
  EXPECT_EQ(lines.size(), 18);
}

TEST(Cli, WeeklyAndNegativeAmounts) {
  const CliRun weekly = Schedule({"--weekly", "1000", "12", "12"});
  ASSERT_EQ(weekly.exitCode, 0);
  EXPECT_NE(weekly.out.section('\n', 0, 0), QStringLiteral("Payment\t$88.85"));
  const CliRun negative = Schedule({"--", "-1000", "12", "12"});
  ASSERT_EQ(negative.exitCode, 0) << negative.err.toStdString();
  EXPECT_TRUE(negative.out.startsWith(QStringLiteral("Payment\t($88.85)\n"))) << negative.out.left(40).toStdString();
  const CliRun negativeNoSeparator = Schedule({"-1000", "12", "12"});
  EXPECT_EQ(negativeNoSeparator.exitCode, 0);
}

TEST(Cli, FollowsTheRegionalSettings) {
  const CliRun r = Schedule({"1000,5", "12", "2"}, QStringLiteral("de_DE.UTF-8"));
  if (r.exitCode == 2) GTEST_SKIP() << "de_DE locale data not available: " << r.err.toStdString();
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("1.000,50"))) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("\t $0.00\n")));  // the fixed last balance
}

struct FailureCase {
  QStringList args;
  int exitCode;
  const char* message;
};

class CliFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CliFailures, MessageOnStderrAndExitStatus) {
  const CliRun r = Schedule(GetParam().args);
  EXPECT_EQ(r.exitCode, GetParam().exitCode);
  EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
  EXPECT_EQ(r.err.section('\n', 0, 0), QString::fromUtf8(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliFailures,
    ::testing::Values(FailureCase{{"1,000", "12", "12"}, 2, "Invalid loan amount. Please try again."},
                      FailureCase{{"1000", "x", "12"}, 2, "Invalid interest amount. Please try again."},
                      FailureCase{{"1000", "12", ""}, 2, "Invalid payments entry. Please try again."},
                      FailureCase{{"1000", "12", "0"}, 1, "Floating point division by zero"},
                      FailureCase{{"0", "12", "0"}, 1, "Invalid floating point operation"},
                      FailureCase{{"1000", "12", "12.5"}, 1, "'12.5' is not a valid integer value"},
                      FailureCase{{"1000", "-1200", "12"}, 1, "Payment"},
                      FailureCase{{"1000", "1200", "20000"}, 1, "Floating point overflow"},
                      FailureCase{{"1e16", "12", "12"}, 1, "Invalid floating point operation"},
                      FailureCase{{"1000", "12", "-3"}, 1, "The number of payments must not be negative."},
                      FailureCase{{"1000", "12", "1000001"}, 1, "The number of payments must not exceed 1,000,000."},
                      FailureCase{{"1000", "12"}, 2, "tallyvane-schedule: expected AMOUNT RATE PAYMENTS"},
                      FailureCase{
                          {"--monthly", "1000", "12", "12"}, 2, "tallyvane-schedule: unknown option '--monthly'"},
                      FailureCase{{"1000", "12", "12", "--pdf"}, 2, "tallyvane-schedule: option '--pdf' needs a value"},
                      FailureCase{{"--start", "1/1/2025", "--paper", "B5", "--pdf", "x.pdf", "1000", "12", "12"},
                                  2,
                                  "tallyvane-schedule: unknown paper 'B5' (A4, Letter or Legal)"},
                      FailureCase{{"--start", "1/1/2025", "--print", "--copies", "0", "1000", "12", "12"},
                                  2,
                                  "tallyvane-schedule: --copies needs a whole number from 1 to 9999, not '0'"},
                      FailureCase{{"--start", "1/1/2025", "--print", "--copies", "2x", "1000", "12", "12"},
                                  2,
                                  "tallyvane-schedule: --copies needs a whole number from 1 to 9999, not '2x'"},
                      FailureCase{{"--start", "1/1/2025", "--copies", "2", "--pdf", "x.pdf", "1000", "12", "12"},
                                  2,
                                  "tallyvane-schedule: --copies needs --print"},
                      FailureCase{{"--paper", "A4", "1000", "12", "12"},
                                  2,
                                  "tallyvane-schedule: --paper needs --print, --pdf FILE or --text FILE"},
                      FailureCase{{"--print", "1000", "12", "12"}, 2, "tallyvane-schedule: --print needs --start DATE"},
                      // With no print server to ask: the default queue, or the queue named.
                      FailureCase{{"--start", "1/1/2025", "--print", "1000", "12", "12"},
                                  1,
                                  "There is no default printer currently selected"},
                      FailureCase{{"--start", "1/1/2025", "--print", "office", "1000", "12", "12"},
                                  1,
                                  "The print job could not be sent: the print server did not answer."},
                      FailureCase{{"--start", "1/1/2025", "--print=office/two", "1000", "12", "12"},
                                  1,
                                  "The print job could not be sent: the print server did not answer."}),
    [](const auto& p) {
      std::string name = "Args";
      for (const QString& arg : p.param.args) name += "_" + param_names::Words(arg.toStdString());
      return name;
    });

TEST(CliPrint, PdfAndTextCarryThePrintedSchedule) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("schedule.pdf"));
  const QString text = dir.filePath(QStringLiteral("schedule.txt"));
  const CliRun r = Schedule({"--start", "1/31/2025", "--pdf", pdf, "--text", text, "1000", "12", "12"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("Payment\t$88.85\n")));

  QFile textFile(text);
  ASSERT_TRUE(textFile.open(QIODevice::ReadOnly));
  const QString rendered = QString::fromLatin1(textFile.readAll());
  EXPECT_TRUE(rendered.contains(
      QStringLiteral("Loan Amount: $1,000.00   Interest: 12% annually   Payments: $88.85 (monthly)\r\n")));
  EXPECT_TRUE(rendered.contains(QStringLiteral("01/31/2025")));
  EXPECT_TRUE(rendered.contains(QStringLiteral("03/03/2025")));
  EXPECT_TRUE(rendered.contains(QStringLiteral("01/03/2026")));
  EXPECT_TRUE(rendered.contains(QStringLiteral("Totals")));
  EXPECT_TRUE(rendered.contains(QStringLiteral("$1,065.36")));

  QFile pdfFile(pdf);
  ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdfFile.read(5) == "%PDF-");
  QProcess toText;
  toText.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(toText.waitForFinished(30000));
  const QString pdfText = QString::fromUtf8(toText.readAllStandardOutput());
  EXPECT_TRUE(pdfText.contains(QStringLiteral("Amortization Schedule"))) << pdfText.toStdString();
  EXPECT_TRUE(pdfText.contains(QStringLiteral("01/03/2026")));
  EXPECT_TRUE(pdfText.contains(QStringLiteral("Page - 1")));
}

// The text rendering needs no printer: with no CUPS scheduler to ask it is
// still written, laid out on a Letter sheet.
TEST(CliPrint, TextAloneNeedsNoPrinter) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString text = dir.filePath(QStringLiteral("alone.txt"));
  const CliRun r = Schedule({"--start", "1/15/2024", "--text", text, "1000", "12", "12"}, QStringLiteral("en_US.UTF-8"),
                            {{QStringLiteral("CUPS_SERVER"), dir.filePath(QStringLiteral("no-such-socket"))}});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  QFile textFile(text);
  ASSERT_TRUE(textFile.open(QIODevice::ReadOnly));
  const QString rendered = QString::fromLatin1(textFile.readAll());
  EXPECT_TRUE(rendered.contains(QStringLiteral("03/14/2024"))) << rendered.toStdString();
  EXPECT_TRUE(rendered.contains(QStringLiteral("Totals")));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("unused.pdf"))));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"alone.txt"}));
}

// A locale for the companion: the system's, or else one compiled with
// localedef into dir, which the companion then finds through LOCPATH.
bool ProvideLocale(const QString& name, const QString& dir, QList<QPair<QString, QString>>& env) {
  if (locale_t installed = newlocale(LC_ALL_MASK, name.toLatin1().constData(), locale_t(nullptr))) {
    freelocale(installed);
    return true;
  }
  QProcess localedef;
  localedef.start(QStringLiteral("localedef"),
                  {"-i", name.section('.', 0, 0), "-f", name.section('.', 1), dir + '/' + name});
  if (!localedef.waitForFinished(120000) || !QFileInfo::exists(dir + '/' + name + "/LC_CTYPE")) return false;
  env.append({QStringLiteral("LOCPATH"), dir});
  return true;
}

// The worked example's text file, written under a locale; empty when the
// locale cannot be had.
std::optional<QByteArray> WorkedExampleText(const QString& locale, const char* start, const QTemporaryDir& dir) {
  QList<QPair<QString, QString>> env;
  if (!ProvideLocale(locale, dir.path(), env)) return std::nullopt;
  const QString text = dir.filePath(locale + ".txt");
  const CliRun r = Schedule({"--start", start, "--text", text, "1000", "12", "12"}, locale, env);
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  QFile file(text);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

struct TextFileLocale {
  const char* name;
  const char* locale;
  const char* start;
};

class CliTextFile : public ::testing::TestWithParam<TextFileLocale> {};

// Under a UTF-8 locale the text file is UTF-8: every character kept, CR LF line ends.
TEST_P(CliTextFile, KeepsEveryCharacterUnderAUtf8Locale) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto bytes = WorkedExampleText(QString::fromLatin1(GetParam().locale), GetParam().start, dir);
  if (!bytes) GTEST_SKIP() << GetParam().locale << " locale not available";
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(*bytes);
  EXPECT_FALSE(utf8.hasError());
  EXPECT_FALSE(bytes->contains('?'));
  EXPECT_TRUE(text.contains(QStringLiteral("Totals")));
  EXPECT_TRUE(std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; }));
  EXPECT_EQ(bytes->count("\r\n"), bytes->count('\n'));
}

INSTANTIATE_TEST_SUITE_P(Locales, CliTextFile,
                         ::testing::Values(TextFileLocale{"German", "de_DE.UTF-8", "15.01.2025"},
                                           TextFileLocale{"Japanese", "ja_JP.UTF-8", "2025/01/15"}),
                         [](const auto& p) { return std::string(p.param.name); });

// Under an 8-bit locale the same text is in that locale's set, '?' only for
// what it cannot hold (the euro sign in Latin-1).
TEST(CliTextFile, IsInTheCharacterSetOfAnEightBitLocale) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto latin1 = WorkedExampleText(QStringLiteral("de_DE.ISO-8859-1"), "15.01.2025", dir);
  if (!latin1) GTEST_SKIP() << "de_DE.ISO-8859-1 locale not available";
  const auto utf8 = WorkedExampleText(QStringLiteral("de_DE.UTF-8"), "15.01.2025", dir);
  if (!utf8) GTEST_SKIP() << "de_DE.UTF-8 locale not available";
  QByteArray expected;
  for (const QChar c : QString::fromUtf8(*utf8)) expected += c.unicode() <= 0xFF ? char(c.unicode()) : '?';
  EXPECT_EQ(*latin1, expected);
  EXPECT_TRUE(utf8->contains("\u20ac"));
}

TEST(CliPrint, FailuresAreReported) {
  const CliRun pdf = Schedule({"--start", "1/1/2025", "--pdf", "/nonexistent-dir/s.pdf", "1000", "12", "12"});
  EXPECT_EQ(pdf.exitCode, 1);
  EXPECT_TRUE(pdf.err.contains(QStringLiteral("/nonexistent-dir/s.pdf"))) << pdf.err.toStdString();
  const CliRun text = Schedule({"--start", "1/1/2025", "--text", "/nonexistent-dir/s.txt", "1000", "12", "12"});
  EXPECT_EQ(text.exitCode, 1);
  EXPECT_TRUE(text.err.contains(QStringLiteral("/nonexistent-dir/s.txt"))) << text.err.toStdString();
  const CliRun date = Schedule({"--start", "2/30/2025", "--text", "/tmp/unused.txt", "1000", "12", "12"});
  EXPECT_EQ(date.exitCode, 2);
  EXPECT_EQ(date.err, QStringLiteral("Invalid starting date! Printing canceled.\n"));
  const CliRun noOutput = Schedule({"--start", "1/1/2025", "1000", "12", "12"});
  EXPECT_EQ(noOutput.exitCode, 2);
}

struct PaperCase {
  const char* locale;
  QStringList paper;  // the --paper option, if any
  const char* pageSize;
};

class CliPaper : public ::testing::TestWithParam<PaperCase> {};

// The files' sheet: the one asked for, else the locale's (as Save as PDF).
TEST_P(CliPaper, PdfIsLaidOutOnTheSheet) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("s.pdf"));
  const QString start = QString::fromLatin1(GetParam().locale).startsWith("de") ? "01.02.2025" : "2/1/2025";
  const CliRun r = Schedule(QStringList{"--start", start, "--pdf", pdf} + GetParam().paper + QStringList{"1", "2", "3"},
                            QString::fromLatin1(GetParam().locale));
  if (r.exitCode == 2 && r.err.contains("Invalid")) GTEST_SKIP() << GetParam().locale << " not available";
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(PdfInfo(pdf, "Page size").startsWith(QString::fromLatin1(GetParam().pageSize)))
      << PdfInfo(pdf, "Page size").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sheets, CliPaper,
                         ::testing::Values(PaperCase{"en_US.UTF-8", {"--paper", "A4"}, "595 x 842 pts"},
                                           PaperCase{"en_US.UTF-8", {"--paper=Legal"}, "612 x 1008 pts"},
                                           PaperCase{"de_DE.UTF-8", {"--paper", "letter"}, "612 x 792 pts"},
                                           PaperCase{"en_US.UTF-8", {}, "612 x 792 pts"},
                                           PaperCase{"de_DE.UTF-8", {}, "595 x 842 pts"}),
                         [](const auto& p) {
                           std::string name = param_names::Words(p.param.locale);
                           for (const QString& arg : p.param.paper) name += "_" + param_names::Words(arg.toStdString());
                           return name;
                         });

TEST(Cli, HelpExplainsTheUsage) {
  const CliRun r = Schedule({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: tallyvane-schedule [--weekly]")));
  EXPECT_TRUE(r.out.contains(QStringLiteral("--weekly")));
  const CliRun version = Schedule({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, QStringLiteral("tallyvane-schedule " TALLYVANE_BUILD_VERSION "\n"));
}

TEST(Cli, NegativeNumbersAreNumbersAndFileNamesMayFollowAnEqualsSign) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const CliRun negative = Schedule({"-500", "3", "6"});
  EXPECT_EQ(negative.exitCode, 0) << negative.err.toStdString();
  EXPECT_TRUE(negative.out.startsWith(QStringLiteral("Payment\t($84.06)\n"))) << negative.out.toStdString();
  const CliRun csv = Schedule({"--csv=" + dir.filePath("s.csv"), "1000", "12", "12"});
  EXPECT_EQ(csv.exitCode, 0) << csv.err.toStdString();
  EXPECT_TRUE(QFile::exists(dir.filePath("s.csv")));
}

}  // namespace
