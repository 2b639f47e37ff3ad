// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The companion's --print through the print server: the capture queue named
// on the command line receives the printed schedule on the paper asked for,
// with its copies; a queue the server does not know is reported with its reason.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "CaptureQueue.h"
#include "PdfTools.h"

namespace {

struct CliRun {
  int exitCode = -1;
  QString out, err;
};

// The companion with the print server of the test's environment (the capture scheduler).
CliRun Companion(const QStringList& args, const QList<QPair<QString, QString>>& extraEnv = {}) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : extraEnv) env.insert(name, value);
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule"), args);
  CliRun r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// A footer no earlier job can have, so the test finds its own job.
QString UniqueFooter() {
  return QStringLiteral("cli %1-%2 page {$PAGE}")
      .arg(QCoreApplication::applicationPid())
      .arg(QDateTime::currentMSecsSinceEpoch());
}

// The meta file of the captured job whose document shows `text`; empty when none arrives.
// Only jobs stored since the companion started are read.
QString WaitForJobShowing(const QString& text, const QDateTime& since, int seconds) {
  const QDir dir(CaptureDir());
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < seconds * 1000) {
    for (const QString& meta : dir.entryList({"job-*.meta"}, QDir::Files, QDir::Time)) {
      if (QFileInfo(dir.filePath(meta)).lastModified() < since) break;  // newest first
      const QString document = dir.filePath(MetaValue(dir.filePath(meta), "document"));
      if (QFileInfo::exists(document) && RunTool("pdftotext", {document, "-"}).contains(text))
        return dir.filePath(meta);
    }
    QThread::msleep(200);
  }
  return {};
}

struct QueueCase {
  const char* name;
  QString destination;   // as given to --print
  QByteArray lpoptions;  // the test's own options file, if any
  QStringList extra;     // further options
  int pages;             // of the captured document
  const char* copies;    // the copies the print server was asked for
  const char* pageSize;  // pdfinfo's page size; empty: the queue's own
};

class CliPrintQueue : public CaptureQueueTest, public ::testing::WithParamInterface<QueueCase> {};

TEST_P(CliPrintQueue, TheNamedDestinationGetsThePrintedSchedule) {
  const QueueCase& c = GetParam();
  // An instance lives in an options file of the test's own (CUPS_SERVERROOT), not the machine's.
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  QList<QPair<QString, QString>> env;
  if (!c.lpoptions.isEmpty()) {
    QFile lpoptions(root.filePath("lpoptions"));
    ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
    lpoptions.write(c.lpoptions);
    lpoptions.close();
    env.append({QStringLiteral("CUPS_SERVERROOT"), root.path()});
  }
  const QString footer = UniqueFooter();
  const QDateTime started = QDateTime::currentDateTime().addSecs(-2);
  const CliRun r = Companion(QStringList{"--start", "1/15/2027", "--print", c.destination, "--footer", footer} +
                                 c.extra + QStringList{"1000", "12", "12"},
                             env);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("Payment\t$88.85\n")));

  const QString expected = QString(footer).replace(QStringLiteral("{$PAGE}"), QStringLiteral("1"));
  const QString meta = WaitForJobShowing(expected, started, 60);
  ASSERT_FALSE(meta.isEmpty()) << "no job showing " << expected.toStdString() << " in " << CaptureDir().toStdString();
  const QString pdf = QFileInfo(meta).dir().filePath(MetaValue(meta, "document"));
  EXPECT_EQ(PdfPageCount(pdf), c.pages);
  EXPECT_EQ(MetaValue(meta, "copies"), QString::fromLatin1(c.copies));
  if (*c.pageSize) {
    EXPECT_TRUE(PdfInfo(pdf, "Page size").startsWith(QString::fromLatin1(c.pageSize)))
        << PdfInfo(pdf, "Page size").toStdString();
  }
  const QString text = RunTool("pdftotext", {"-layout", pdf, "-"});
  EXPECT_TRUE(text.contains(QStringLiteral("01/15/2027")));
  EXPECT_TRUE(text.contains(QStringLiteral("$1,065.36")));
}

// --copies is the component's: whole copies in the one job, as the window's Print makes them.
INSTANTIATE_TEST_SUITE_P(
    Destinations, CliPrintQueue,
    ::testing::Values(
        QueueCase{"QueueOnA4TwoCopies", kCaptureQueue, {}, {"--paper", "A4", "--copies", "2"}, 2, "1", "595 x 842 pts"},
        QueueCase{"InstanceWithItsCopiesOnLegal",
                  kCaptureQueue + "/two",
                  "Dest " + kCaptureQueue.toUtf8() + "/two copies=3\n",
                  {"--paper=Legal"},
                  1,
                  "3",
                  "612 x 1008 pts"}),
    [](const auto& p) { return std::string(p.param.name); });

// Runs against whichever scheduler answers; without one there is nobody to give a reason.
TEST(CliPrintRefused, AnUnknownQueueIsReportedWithTheServersReason) {
  if (!RunTool("lpstat", {"-r"}).contains(QStringLiteral("scheduler is running")))
    GTEST_SKIP() << "no CUPS scheduler answers";
  const CliRun r = Companion({"--start", "1/15/2027", "--print", "tallyvane-no-such-queue", "1000", "12", "12"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.isEmpty());
  const QString first = r.err.section('\n', 0, 0);
  EXPECT_TRUE(first.startsWith(QStringLiteral("There is no printer \"tallyvane-no-such-queue\": ")))
      << first.toStdString();
}

}  // namespace
