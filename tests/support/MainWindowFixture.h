// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The main window as the widget tests drive it: scripted dialogs, a test
// printer in place of the process's printer, nothing calculated yet, and the
// form shown. Tests type into the boxes and click the flash labels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <memory>
#include <type_traits>

#include "Application.h"
#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "Metafile.h"
#include "PagePrnt.h"
#include "TestPrinterInstall.h"
#include "main.h"

// PrinterT is the test printer installed for each test (a TTestPrinter or a
// class made from one); void installs a plain TTestPrinter the test does not look at.
template <class PrinterT = void>
class MainWindowFixture : public ::testing::Test {
 protected:
  // activate: the form also takes the focus (keyboard tests); otherwise it is
  // only waited for until it is on screen.
  explicit MainWindowFixture(bool activate = false) : activate_(activate) {}

  void SetUp() override {
    Application::SetTitle(QStringLiteral("Tallyvane"));
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    SetDialogs(std::move(scripted));
    printerInstall = std::make_unique<TestPrinterInstall<Installed>>();
    if constexpr (!std::is_void_v<PrinterT>) printer = printerInstall->get();
    CalculationState() = LoanState{};
    form = std::make_unique<TMainForm>();
    form->show();
    if (activate_) {
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    } else {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
  }
  void TearDown() override {
    form.reset();
    printerInstall.reset();
    SetDialogs(nullptr);
  }

  // Runs the application's message loop after queueing action; returns the
  // loop's exit code, or 99 when nothing ended it within five seconds.
  template <class Action>
  static int ExecAfter(Action action) {
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QApplication::exec();
  }

  void Enter(const QString& amount, const QString& interest, const QString& payments) {
    form->txtAmount->setText(amount);
    form->txtInterest->setText(interest);
    form->txtPayments->setText(payments);
  }
  static void Click(QWidget* label) { QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center()); }

  // Every text drawn on a page, in drawing order.
  QStringList PageTexts(int page) const {
    QStringList texts;
    for (const TMetaOp* op : form->PgPrint->Pages(page)->TextOperations()) texts << op->text;
    return texts;
  }
  // Every text drawn on the pages, page by page.
  QStringList AllTexts() const {
    QStringList texts;
    for (int p = 1; p <= form->PgPrint->PageCount(); ++p) texts << PageTexts(p);
    return texts;
  }

  ScriptedDialogs* dialogs = nullptr;
  using Installed = std::conditional_t<std::is_void_v<PrinterT>, TTestPrinter, PrinterT>;
  PrinterT* printer = nullptr;
  std::unique_ptr<TestPrinterInstall<Installed>> printerInstall;
  std::unique_ptr<TMainForm> form;

 private:
  bool activate_;
};
