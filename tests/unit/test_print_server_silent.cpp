// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// A print server that accepts connections and never answers: output that
// needs no printer does not wait for it, the window starts, and printing ends
// in bounded time with a message that says the server did not answer. The
// bounds are hang guards, far above what any of this takes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <functional>
#include <QProcess>
#include <QTemporaryDir>
#include <iostream>

#include "CupsServerOverride.h"
#include "CupsSubmission.h"
#include "Errors.h"
#include "Printer.h"
#include "Startup.h"
#include "main.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

constexpr qint64 kHangGuardMs = 20000;
// The main window is painted within this of start whatever the print server does.
constexpr qint64 kFirstPaintMs = 1000;

// Notes when the watched window is first painted.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) { qApp->installEventFilter(this); }
  ~FirstPaint() override { qApp->removeEventFilter(this); }
  void Watch(QWidget* window) { window_ = window; }
  qint64 at = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (at < 0 && event->type() == QEvent::Paint && watched == window_) at = clock_.elapsed();
    return false;
  }

 private:
  const QElapsedTimer& clock_;
  QWidget* window_ = nullptr;
};

class SilentPrintServer : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.start(QStringLiteral("python3"),
                  {QStringLiteral(TALLYVANE_SOURCE_DIR "/tests/support/silent-print-server.py")});
    if (!server_.waitForStarted(10000)) GTEST_SKIP() << "python3 is not available";
    ASSERT_TRUE(server_.waitForReadyRead(10000));
    address_ = QStringLiteral("127.0.0.1:") + QString::fromLatin1(server_.readLine().trimmed());
    timer_.start();
  }
  void TearDown() override {
    server_.kill();
    server_.waitForFinished();
  }
  QString Message(const std::function<void()>& action) {
    try {
      action();
    } catch (const std::exception& e) {
      return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(no error)");
  }

  QProcess server_;
  QString address_;
  QElapsedTimer timer_;
};

TEST_F(SilentPrintServer, TheCompanionsFilesNeedNoPrintServer) {
  QTemporaryDir dir;
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("CUPS_SERVER"), address_);
  cli.setProcessEnvironment(env);
  cli.start(
      QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule"),
      {"--start", "1/1/2024", "--pdf", dir.filePath("s.pdf"), "--text", dir.filePath("s.txt"), "1000", "12", "12"});
  ASSERT_TRUE(cli.waitForFinished(int(kHangGuardMs)));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  EXPECT_LT(timer_.elapsed(), kHangGuardMs);
}

TEST_F(SilentPrintServer, TheWindowStartsAndPrintingSaysTheServerDidNotAnswer) {
  const CupsServerOverride server(address_);
  auto previous = SetPrinter(MakeSystemPrinter());
  {
    TMainForm form;  // its page printer asks for the printer's metrics
    EXPECT_LT(timer_.elapsed(), kHangGuardMs);
    EXPECT_EQ(Message([] { Printer()->BeginDoc(); }), cups::NoAnswerMessage());
    EXPECT_FALSE(Printer()->Printing());
  }
  SetPrinter(std::move(previous));
  EXPECT_LT(timer_.elapsed(), 2 * kHangGuardMs);
}

TEST_F(SilentPrintServer, TheMainWindowIsPaintedAtOnce) {
  const CupsServerOverride server(address_);
  auto previous = SetPrinter(MakeSystemPrinter());
  {
    QElapsedTimer clock;
    FirstPaint paint(clock);
    clock.start();
    TProgramWindows windows;
    paint.Watch(&windows.MainForm());
    while (paint.at < 0 && clock.elapsed() < kHangGuardMs) QApplication::processEvents(QEventLoop::AllEvents, 10);
    std::cout << "first paint after " << paint.at << " ms\n";
    EXPECT_GE(paint.at, 0);
    EXPECT_LT(paint.at, kFirstPaintMs);
  }
  SetPrinter(std::move(previous));
}

// Print waits for the lookup in a window of its own, whose Cancel ends the wait at once.
TEST_F(SilentPrintServer, CancelInTheWaitingWindowEndsTheWaitAtOnce) {
  const CupsServerOverride server(address_);
  auto previous = SetPrinter(MakeSystemPrinter());
  QString shown;
  QElapsedTimer sinceCancel;
  QTimer poke;
  QObject::connect(&poke, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* waiting = qobject_cast<QProgressDialog*>(window);
      if (!waiting || !waiting->isVisible() || sinceCancel.isValid()) continue;
      shown = waiting->labelText();
      sinceCancel.start();
      QTest::mouseClick(waiting->findChild<QPushButton*>(), Qt::LeftButton);
    }
  });
  poke.start(50);
  EXPECT_FALSE(Printer()->WaitUntilReady());
  ASSERT_TRUE(sinceCancel.isValid()) << "no waiting window was shown";
  EXPECT_EQ(shown.toStdString(), "Waiting for the print server...");
  EXPECT_LT(sinceCancel.elapsed(), 1000) << "Cancel did not end the wait at once";
  SetPrinter(std::move(previous));
}

TEST_F(SilentPrintServer, ASubmissionTheServerDoesNotTakeEndsWithThatMessage) {
  const CupsServerOverride server(address_);
  QByteArray pdf("%PDF-1.4\n");
  QBuffer data(&pdf);
  ASSERT_TRUE(data.open(QIODevice::ReadOnly));
  EXPECT_EQ(Message([&] { cups::Submit(cups::Destination::FromName("queue"), data, "t", 1, "Letter"); }),
            cups::NoAnswerMessage());
  EXPECT_LT(timer_.elapsed(), kHangGuardMs);
}

}  // namespace
