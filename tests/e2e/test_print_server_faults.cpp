// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing through the real window to a print server that drops the
// connection or falls silent at one step of a job (a relay in front of the
// private scheduler, tests/support/faulty-print-relay.py). A job counts as
// printed only when the server confirmed it: otherwise a message with a real
// reason, and no half-made job left on the server. The bounds are hang guards.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "CupsServerOverride.h"
#include "CupsSubmission.h"
#include "PrintEndToEnd.h"

namespace print_e2e {
namespace {

constexpr qint64 kHangGuardMs = 30000;
const Loan kLoan{"1000", "$1,000.00", "12", "12", false, "1/31/2025"};

struct Fault {
  const char* name;
  const char* operation;  // IPP operation (hex) or GET
  const char* fault;      // drop, silent, drop-reply, silent-reply, drop-late
  const char* message;    // what the message box says (a part of it); empty: none
};

// Jobs of the capture queue that the scheduler has not finished with.
QString ActiveJobs() {
  QProcess lpstat;
  lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), kCaptureQueue});
  lpstat.waitForFinished(10000);
  return QString::fromLocal8Bit(lpstat.readAllStandardOutput()).trimmed();
}

// Once the requests given up on have ended (they may still make or withdraw a
// job), and for at least a second: a server may make a job late.
QString ActiveJobsAfterAMoment() {
  EXPECT_TRUE(cups::WaitForGivenUpRequests(20000)) << "a request given up on is still under way";
  QElapsedTimer since;
  since.start();
  QString jobs;
  while (((jobs = ActiveJobs()).isEmpty() ? since.elapsed() < 1000 : since.elapsed() < 5000)) QTest::qWait(100);
  return jobs;
}

class FaultyServer : public CaptureQueueTest {
 protected:
  void Start(const Fault& fault) {
    if (!QueueReady()) return;
    const QString scheduler = QString::fromLocal8Bit(qgetenv("CUPS_SERVER"));
    relay_.start(QStringLiteral("python3"),
                 {QStringLiteral(TALLYVANE_SOURCE_DIR "/tests/support/faulty-print-relay.py"), scheduler,
                  QString::fromLatin1(fault.operation), QString::fromLatin1(fault.fault)});
    ASSERT_TRUE(relay_.waitForStarted(10000));
    ASSERT_TRUE(relay_.waitForReadyRead(10000));
    server_ = std::make_unique<CupsServerOverride>(QStringLiteral("127.0.0.1:") +
                                                   QString::fromLatin1(relay_.readLine().trimmed()));
    previous_ = SetPrinter(MakeSystemPrinter());
    SetDialogs(nullptr);
    CalculationState() = LoanState{};
    windows_ = std::make_unique<TProgramWindows>();
    form = &windows_->MainForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    Type(form->txtAmount, QString::fromLatin1(kLoan.amount));
    Type(form->txtInterest, QString::fromLatin1(kLoan.interest));
    Type(form->txtPayments, QString::fromLatin1(kLoan.payments));
  }
  void TearDown() override {
    windows_.reset();
    // The relay must outlive the requests that still go through it; a job left
    // by a failed case must not fail the cases after it.
    cups::WaitForGivenUpRequests(20000);
    QProcess::execute(QStringLiteral("cancel"), {QStringLiteral("-a"), kCaptureQueue});
    if (previous_) SetPrinter(std::move(previous_));
    server_.reset();
    relay_.kill();
    relay_.waitForFinished();
  }

  static void Type(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
  }

  // Clicks Print, answers the date query; the messages shown, and how long it took.
  QStringList Print(qint64& ms, const std::function<void()>& meanwhile = {}) {
    DialogAnswerer answerer(form, QString::fromLatin1(kLoan.start));
    QTimer poke;
    if (meanwhile) {
      QObject::connect(&poke, &QTimer::timeout, meanwhile);
      poke.start(10);
    }
    QElapsedTimer clock;
    clock.start();
    const QPoint at = form->flblPrint->rect().center();
    QTest::mouseMove(form->flblPrint, at);
    QTest::mousePress(form->flblPrint, Qt::LeftButton, {}, at);
    QTest::mouseRelease(form->flblPrint, Qt::LeftButton, {}, at);
    ms = clock.elapsed();
    return answerer.messages;
  }
  bool Struck() {
    relayLog_ += relay_.readAllStandardError();
    return relayLog_.contains("fault") || struck_;
  }
  // What the relay saw, for a failure's message.
  std::string RelayLog() {
    Struck();
    return QString::fromUtf8(relayLog_).simplified().toStdString();
  }

  QProcess relay_;
  QByteArray relayLog_;
  bool struck_ = false;
  std::unique_ptr<CupsServerOverride> server_;
  std::shared_ptr<TPrinter> previous_;
  std::unique_ptr<TProgramWindows> windows_;
  TMainForm* form = nullptr;
};

class EachStep : public FaultyServer, public ::testing::WithParamInterface<Fault> {};

TEST_P(EachStep, FailsWithAReasonAndLeavesNoJob) {
  const Fault& fault = GetParam();
  ASSERT_NO_FATAL_FAILURE(Start(fault));
  if (!QueueReady()) return;
  qint64 ms = 0;
  const QStringList messages = Print(ms);
  EXPECT_TRUE(Struck()) << "the relay never met the request";
  ASSERT_EQ(messages.size(), 1) << messages.join(u'|').toStdString();
  EXPECT_TRUE(messages[0].contains(QString::fromUtf8(fault.message))) << messages[0].toStdString();
  EXPECT_FALSE(messages[0].contains(QLatin1String("successful"))) << messages[0].toStdString();
  EXPECT_LT(ms, kHangGuardMs);
  EXPECT_EQ(ActiveJobsAfterAMoment().toStdString(), "")
      << "a half-made job was left on the server; the relay saw: " << RelayLog();
}

INSTANTIATE_TEST_SUITE_P(
    Relay, EachStep,
    ::testing::Values(Fault{"CreateJobDropped", "0x0005", "drop", "The print job could not be sent"},
                      Fault{"CreateJobSilent", "0x0005", "silent", "the print server did not answer"},
                      Fault{"CreateJobAnswerDropped", "0x0005", "drop-reply", "The print job could not be sent"},
                      Fault{"CreateJobReadAfterTheBreak", "0x0005", "drop-late", "The print job could not be sent"},
                      Fault{"DocumentDropped", "0x0006", "drop", "The print job could not be sent"},
                      Fault{"DocumentSilent", "0x0006", "silent", "the print server did not answer"},
                      Fault{"DocumentAnswerDropped", "0x0006", "drop-reply", "The print job could not be sent"},
                      Fault{"DocumentAnswerSilent", "0x0006", "silent-reply", "the print server did not answer"}),
    [](const ::testing::TestParamInfo<Fault>& step) { return std::string(step.param.name); });

// A server silent at start-up: Print says so, and the next Print asks again and prints.
TEST_F(FaultyServer, SilentAtStartUpThenBackPrintsAtTheNextPrint) {
  ASSERT_NO_FATAL_FAILURE(Start(Fault{"", "0x4001", "silent", ""}));
  if (!QueueReady()) return;
  qint64 ms = 0;
  EXPECT_EQ(Print(ms).join(u'|').toStdString(), cups::NoAnswerMessage().toStdString());
  EXPECT_TRUE(Struck());
  QTest::qWait(2500);  // the user reads the message; an answer that old is asked again
  const QSet<QString> before = JobsInCaptureFolder();
  EXPECT_EQ(Print(ms).join(u'|').toStdString(), "");
  EXPECT_FALSE(WaitForNewJob(before, 60).isEmpty()) << "the second Print printed nothing";
}

// A server that answers the lookup and falls silent while the queue's page
// set-up is read: the window is up at once, Print says the server did not answer.
TEST_F(FaultyServer, SilentAfterTheLookupKeepsTheWindowResponsive) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  ASSERT_NO_FATAL_FAILURE(Start(Fault{"", "GET", "silent", ""}));
  if (!QueueReady()) return;
  EXPECT_LT(sinceStart.elapsed(), 3000);
  qint64 ms = 0;
  EXPECT_EQ(Print(ms).join(u'|').toStdString(), cups::NoAnswerMessage().toStdString());
  EXPECT_TRUE(Struck());
  EXPECT_LT(ms, kHangGuardMs);
}

// Cancel while the job is handed over ends it at once, quietly, and withdraws the job.
TEST_F(FaultyServer, CancelDuringTheHandOverWithdrawsTheJob) {
  ASSERT_NO_FATAL_FAILURE(Start(Fault{"", "0x0006", "silent-reply", ""}));
  if (!QueueReady()) return;
  QElapsedTimer sinceCancel;
  const auto cancelOnceStruck = [&] {
    if (sinceCancel.isValid() || !Struck()) return;
    struck_ = true;
    if (TPPPrnPrgDlg* dialog = form->PgPrint->ProgressDialog()) {
      sinceCancel.start();
      dialog->btnCancel->click();
    }
  };
  qint64 ms = 0;
  EXPECT_EQ(Print(ms, cancelOnceStruck).join(u'|').toStdString(), "");
  ASSERT_TRUE(sinceCancel.isValid()) << "the hand-over was never seen";
  EXPECT_LT(sinceCancel.elapsed(), 2000) << "Cancel did not end the hand-over at once";
  EXPECT_EQ(ActiveJobsAfterAMoment().toStdString(), "");
}

// A temporary folder that cannot take the job (here a file size limit, as a
// full disk would) is named in the message with the system's reason.
TEST_F(FaultyServer, AFullTemporaryFolderIsNamedWithTheReason) {
  ASSERT_NO_FATAL_FAILURE(Start(Fault{"", "none", "drop", ""}));
  if (!QueueReady()) return;
  ASSERT_TRUE(Printer()->WaitUntilReady());
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 2048;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  qint64 ms = 0;
  const QStringList messages = Print(ms);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  ASSERT_EQ(messages.size(), 1) << messages.join(u'|').toStdString();
  EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(QDir::tempPath()))) << messages[0].toStdString();
  EXPECT_TRUE(messages[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << messages[0].toStdString();
  EXPECT_EQ(ActiveJobsAfterAMoment().toStdString(), "");
}

// The companion's --print through a Create-Job that the server reads after the
// break: it fails with a reason and leaves no job.
TEST_F(FaultyServer, CompanionLeavesNoJobMadeAfterTheBreak) {
  ASSERT_NO_FATAL_FAILURE(Start(Fault{"", "0x0005", "drop-late", ""}));
  if (!QueueReady()) return;
  QProcess tool;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();  // the relay's CUPS_SERVER
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  tool.setProcessEnvironment(env);
  tool.start(
      QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule"),
      {QStringLiteral("--start"), QString::fromLatin1(kLoan.start), QStringLiteral("--print"), kCaptureQueue,
       QString::fromLatin1(kLoan.amount), QString::fromLatin1(kLoan.interest), QString::fromLatin1(kLoan.payments)});
  ASSERT_TRUE(tool.waitForFinished(int(kHangGuardMs)));
  EXPECT_NE(tool.exitCode(), 0);
  const QString said = QString::fromLocal8Bit(tool.readAllStandardError());
  EXPECT_TRUE(said.contains(QLatin1String("could not be sent"))) << said.toStdString();
  // A broken connection leaves libcups's reason at the system's "Success".
  EXPECT_FALSE(said.contains(QLatin1String("Success"))) << said.toStdString();
  EXPECT_EQ(ActiveJobsAfterAMoment().toStdString(), "")
      << "the companion left a half-made job; the relay saw: " << RelayLog();
  EXPECT_TRUE(Struck()) << "the relay never met the request";
}

}  // namespace
}  // namespace print_e2e
