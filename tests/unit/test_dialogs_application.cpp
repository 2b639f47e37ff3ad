// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The dialogs service (Qt and scripted) and the application object's title,
// message processing, termination and default error report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "Application.h"
#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "Errors.h"

namespace {

// Installs scripted dialogs for one test and puts the previous ones back.
class ScriptedScope {
 public:
  ScriptedScope() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs_ = scripted.get();
    previous_ = SetDialogs(std::move(scripted));
  }
  ~ScriptedScope() { SetDialogs(std::move(previous_)); }
  ScriptedDialogs& operator*() { return *dialogs_; }
  ScriptedDialogs* operator->() { return dialogs_; }

 private:
  ScriptedDialogs* dialogs_;
  std::unique_ptr<Dialogs> previous_;
};

// Calls `handle` with the first modal dialog that appears; rejects a dialog
// that is still open after a few seconds so a failing test cannot hang.
class ModalHandler {
 public:
  explicit ModalHandler(std::function<void(QWidget*)> handle) : handle_(std::move(handle)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) {
        if (++ticks_ > 500) timer_.stop();
        return;
      }
      timer_.stop();
      seen_ = true;
      handle_(modal);
      if (modal->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
      }
    });
    timer_.start(10);
  }
  bool Seen() const { return seen_; }

 private:
  std::function<void(QWidget*)> handle_;
  QTimer timer_;
  int ticks_ = 0;
  bool seen_ = false;
};

TEST(ScriptedDialogs, RecordsEveryEventInOrderAndAnswersFromItsQueue) {
  ScriptedDialogs dialogs;
  dialogs.QueueAnswer(QStringLiteral("1/31/2025"));
  dialogs.QueueAnswer(std::nullopt);
  std::vector<ScriptedDialogs::Event::Kind> seenDuring;
  dialogs.OnEvent = [&](const ScriptedDialogs::Event& e) { seenDuring.push_back(e.kind); };

  dialogs.MessageBeep(1);
  dialogs.ShowMessage("Tallyvane", "   Invalid loan amount. Please try again.   ");
  QString value = "old";
  EXPECT_TRUE(dialogs.InputQuery("Starting Date", "Enter payment starting date:", value));
  EXPECT_EQ(value, "1/31/2025");
  value = "kept";
  EXPECT_FALSE(dialogs.InputQuery("Starting Date", "Enter payment starting date:", value)) << "queued Cancel";
  EXPECT_EQ(value, "kept");
  EXPECT_FALSE(dialogs.InputQuery("Again", "Nothing queued:", value)) << "an empty queue cancels";
  EXPECT_EQ(value, "kept");

  const auto& events = dialogs.Events();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, ScriptedDialogs::Event::Beep);
  EXPECT_EQ(events[0].beepType, 1u);
  EXPECT_EQ(events[1].kind, ScriptedDialogs::Event::Message);
  EXPECT_EQ(events[1].caption, "Tallyvane");
  EXPECT_EQ(events[1].text, "   Invalid loan amount. Please try again.   ");
  EXPECT_EQ(events[2].kind, ScriptedDialogs::Event::Query);
  EXPECT_EQ(events[2].caption, "Starting Date");
  EXPECT_EQ(events[2].text, "Enter payment starting date:");
  EXPECT_EQ(events[4].caption, "Again");
  EXPECT_EQ(dialogs.Messages(), QStringList{"   Invalid loan amount. Please try again.   "});
  EXPECT_EQ(seenDuring.size(), 5u) << "OnEvent runs for every event";

  dialogs.Clear();
  EXPECT_TRUE(dialogs.Events().empty());
}

TEST(ScriptedDialogs, OnEventSeesTheEventWhileItIsShown) {
  ScriptedDialogs dialogs;
  std::size_t recordedBefore = 99;
  dialogs.OnEvent = [&](const ScriptedDialogs::Event&) { recordedBefore = dialogs.Events().size(); };
  dialogs.ShowMessage("c", "t");
  EXPECT_EQ(recordedBefore, 1u) << "the event is recorded before the callback runs";
}

TEST(TheDialogs, DefaultsToQtAndCanBeReplaced) {
  std::unique_ptr<Dialogs> original = SetDialogs(nullptr);
  EXPECT_NE(dynamic_cast<QtDialogs*>(&TheDialogs()), nullptr) << "empty installs the Qt dialogs again";
  {
    ScriptedScope scripted;
    EXPECT_EQ(&TheDialogs(), &*scripted);
    TheDialogs().ShowMessage("a", "b");
    EXPECT_EQ(scripted->Messages(), QStringList{"b"});
  }
  EXPECT_NE(dynamic_cast<QtDialogs*>(&TheDialogs()), nullptr);
  SetDialogs(std::move(original));
}

TEST(QtDialogs, MessageHasTheCaptionTheTextAndOneOkButton) {
  QString title, text;
  int buttons = -1;
  bool okWasThere = false;
  ModalHandler handler([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    buttons = int(box->buttons().size());
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    okWasThere = ok != nullptr;
    if (ok) ok->click();
  });
  QtDialogs().ShowMessage("Tallyvane", " Invalid starting date! Printing canceled.");
  EXPECT_TRUE(handler.Seen());
  EXPECT_EQ(title, "Tallyvane");
  EXPECT_EQ(text, " Invalid starting date! Printing canceled.");
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(okWasThere);
}

TEST(QtDialogs, InputQueryReturnsTheTypedTextOnOk) {
  QString title, label, initial;
  ModalHandler handler([&](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    label = dialog->labelText();
    initial = dialog->textValue();
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("1/31/2025");
    buttons->button(QDialogButtonBox::Ok)->click();
  });
  QString value;
  EXPECT_TRUE(QtDialogs().InputQuery("Starting Date", "Enter payment starting date:", value));
  EXPECT_TRUE(handler.Seen());
  EXPECT_EQ(title, "Starting Date");
  EXPECT_EQ(label, "Enter payment starting date:");
  EXPECT_EQ(initial, "");
  EXPECT_EQ(value, "1/31/2025");
}

TEST(QtDialogs, InputQueryCancelLeavesTheValue) {
  ModalHandler handler([](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>()->setText("typed but cancelled");
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  QString value = "start";
  EXPECT_FALSE(QtDialogs().InputQuery("Caption", "Prompt", value));
  EXPECT_TRUE(handler.Seen());
  EXPECT_EQ(value, "start");
}

TEST(Application, TitleIsKeptWithoutTouchingTheDisplayName) {
  const QString displayName = QGuiApplication::applicationDisplayName();
  Application::SetTitle("Tallyvane");
  EXPECT_EQ(Application::Title(), "Tallyvane");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), displayName);
  Application::SetTitle("");
  EXPECT_EQ(Application::Title(), "") << "an empty title is a title";
  Application::SetTitle("Tallyvane");
}

TEST(Application, ShowExceptionUsesTheTitleAndTheMessage) {
  ScriptedScope dialogs;
  Application::SetTitle("Loan Calculator");
  Application::ShowException(EConvertError("'12.5' is not a valid integer value"));
  Application::ShowException(std::runtime_error("disk full"));
  ASSERT_EQ(dialogs->Events().size(), 2u);
  EXPECT_EQ(dialogs->Events()[0].kind, ScriptedDialogs::Event::Message);
  EXPECT_EQ(dialogs->Events()[0].caption, "Loan Calculator");
  EXPECT_EQ(dialogs->Events()[0].text, "'12.5' is not a valid integer value");
  EXPECT_EQ(dialogs->Events()[1].text, "disk full");
  Application::SetTitle("Tallyvane");
}

TEST(Application, RunReportsWhateverEscapesAndCarriesOn) {
  ScriptedScope dialogs;
  Application::SetTitle("Tallyvane");
  int ran = 0;
  EXPECT_TRUE(Application::Run([&] { ++ran; }));
  EXPECT_TRUE(dialogs->Events().empty());
  EXPECT_FALSE(Application::Run([] { throw EZeroDivide(); }));
  EXPECT_FALSE(Application::Run([] { throw std::out_of_range("index 7"); }));
  EXPECT_FALSE(Application::Run([] { throw 42; }));
  EXPECT_FALSE(Application::Run([] { throw Exception(""); }));
  EXPECT_TRUE(Application::Run(nullptr));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(dialogs->Messages(), (QStringList{"Floating point division by zero", "index 7",
                                              "An unexpected error occurred.", "An unexpected error occurred."}));
  for (const auto& e : dialogs->Events()) EXPECT_EQ(e.caption, "Tallyvane");
}

TEST(Application, RunSurvivesAReportThatThrows) {
  struct Throwing : Dialogs {
    void MessageBeep(unsigned) override {}
    void ShowMessage(const QString&, const QString&) override { throw std::runtime_error("dialog failed"); }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
  };
  std::unique_ptr<Dialogs> previous = SetDialogs(std::make_unique<Throwing>());
  EXPECT_FALSE(Application::Run([] { throw EInvalidOp(); }));
  SetDialogs(std::move(previous));
}

TEST(Application, ProcessMessagesDeliversPostedEvents) {
  bool delivered = false;
  QMetaObject::invokeMethod(
      qApp, [&] { delivered = true; }, Qt::QueuedConnection);
  EXPECT_FALSE(delivered);
  Application::ProcessMessages();
  EXPECT_TRUE(delivered);
}

// Ends a message loop that would otherwise run for ever.
class LoopGuard {
 public:
  LoopGuard() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    timer_.start(10000);
  }

 private:
  QTimer timer_;
};

TEST(Application, TerminateEndsTheRunningMessageLoop) {
  LoopGuard guard;
  QTimer::singleShot(0, [] { Application::Terminate(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(Application::Terminated());
}

TEST(Application, TerminateBeforeTheLoopEndsItAsSoonAsItStarts) {
  LoopGuard guard;
  Application::Terminate();
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
