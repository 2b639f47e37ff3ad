// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The main window from the keyboard and through assistive technology: the
// command keys wherever the focus is, their refusal while a print runs, the
// names and descriptions a screen reader reads, and the hover labels' Press.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <string>

#include "MainWindowFixture.h"
#include "PgPrnPrg.h"
#include "QVXFlashLabel.h"

namespace {

const QString kAmountMessage = QStringLiteral("   Invalid loan amount. Please try again.   ");

class MainWindowAccess : public MainWindowFixture<TTestPrinter> {
 protected:
  MainWindowAccess() : MainWindowFixture(true) {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    form->SetCompanionWindows(&about, &help);
  }
  static QAccessibleInterface* Access(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
  static void Press(QWidget* label) {
    Access(label)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  int Count(ScriptedDialogs::Event::Kind kind) const {
    return int(std::count_if(dialogs->Events().begin(), dialogs->Events().end(),
                             [kind](const ScriptedDialogs::Event& e) { return e.kind == kind; }));
  }
  // Runs a step that may open the help window; counts the times it was shown modally.
  void WhileHelpCloses(const std::function<void()>& step) {
    QTimer::singleShot(0, &help, [this] {
      if (QApplication::activeModalWidget() == &help) ++helpShown;
      help.accept();
    });
    step();
  }
  QDialog about, help;
  int helpShown = 0;
};

enum class Command { Calculate, Print, Help };
struct KeyCase {
  const char* name;
  Command command;
  QKeyCombination key;
  const char* focus;  // object name of the control holding the focus
};

class CommandKey : public MainWindowAccess, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CommandKey, RunsTheCommandWhereverTheFocusIs) {
  const KeyCase& c = GetParam();
  Enter("1000", "24", "12");
  auto* focus = form->findChild<QWidget*>(QString::fromLatin1(c.focus));
  ASSERT_NE(focus, nullptr);
  focus->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), focus);
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  WhileHelpCloses([&] { QTest::keyClick(focus, c.key.key(), c.key.keyboardModifiers()); });
  EXPECT_EQ(form->GridRowCount(), c.command == Command::Help ? 2 : 13);
  EXPECT_EQ(Count(ScriptedDialogs::Event::Query), c.command == Command::Print ? 1 : 0);
  EXPECT_EQ(form->PgPrint->PageCount() > 0, c.command == Command::Print);
  EXPECT_EQ(helpShown, c.command == Command::Help ? 1 : 0);
  EXPECT_TRUE(dialogs->Messages().isEmpty());
  // The key reached no control: the boxes keep their texts.
  EXPECT_EQ(form->txtAmount->text(), QStringLiteral("1000"));
  EXPECT_EQ(form->txtPayments->text(), QStringLiteral("12"));
}

INSTANTIATE_TEST_SUITE_P(All, CommandKey,
                         ::testing::Values(KeyCase{"F9InAmount", Command::Calculate, Qt::Key_F9, "txtAmount"},
                                           KeyCase{"F9InGrid", Command::Calculate, Qt::Key_F9, "grdAmort"},
                                           KeyCase{"F9OnRadio", Command::Calculate, Qt::Key_F9, "rbtnMonthly"},
                                           KeyCase{"CtrlPInPayments", Command::Print, Qt::CTRL | Qt::Key_P,
                                                   "txtPayments"},
                                           KeyCase{"CtrlPInGrid", Command::Print, Qt::CTRL | Qt::Key_P, "grdAmort"},
                                           KeyCase{"F1InInterest", Command::Help, Qt::Key_F1, "txtInterest"},
                                           KeyCase{"F1InGrid", Command::Help, Qt::Key_F1, "grdAmort"}),
                         [](const auto& p) { return std::string(p.param.name); });

class FailingCheckKey : public MainWindowAccess, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FailingCheckKey, ReportsTheBoxAsTheClickDoes) {
  Enter("1,000", "24", "12");
  form->grdAmort->setFocus();
  QTest::keyClick(form->grdAmort, GetParam().key.key(), GetParam().key.keyboardModifiers());
  ASSERT_EQ(dialogs->Events().size(), 2u);
  EXPECT_EQ(dialogs->Events()[0].kind, ScriptedDialogs::Event::Beep);
  EXPECT_EQ(dialogs->Events()[0].beepType, 1u);
  EXPECT_EQ(dialogs->Events()[1].text, kAmountMessage);
  EXPECT_EQ(dialogs->Events()[1].caption, QStringLiteral("Tallyvane"));
  EXPECT_EQ(QApplication::focusWidget(), form->txtAmount);
  EXPECT_EQ(form->GridRowCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(All, FailingCheckKey,
                         ::testing::Values(KeyCase{"F9", Command::Calculate, Qt::Key_F9, ""},
                                           KeyCase{"CtrlP", Command::Print, Qt::CTRL | Qt::Key_P, ""}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(MainWindowAccess, KeysAndPressAreIgnoredWhilePrinting) {
  Enter("1000", "12", "12");
  QTest::keyClick(form->txtAmount, Qt::Key_F9);
  ASSERT_EQ(form->GridRowCount(), 13);
  form->txtPayments->setText(QStringLiteral("24"));
  bool formActive = false;
  // Runs when the print command lets pending messages through.
  QTimer::singleShot(0, [&] {
    formActive = QApplication::activeWindow() == form.get() && form->PrintRunning();
    WhileHelpCloses([&] {
      for (QKeyCombination key :
           {QKeyCombination(Qt::Key_F9), Qt::CTRL | Qt::Key_P, QKeyCombination(Qt::Key_F1), Qt::CTRL | Qt::Key_Q})
        QTest::keyClick(form->txtPayments, key.key(), key.keyboardModifiers());
    });
    Press(form->flblCalculate);
  });
  dialogs->QueueAnswer(QStringLiteral("1/1/2025"));
  QTest::keyClick(form->txtPayments, Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(formActive);
  EXPECT_EQ(Count(ScriptedDialogs::Event::Query), 1);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(helpShown, 0);
  EXPECT_FALSE(Application::Terminated());
  // Afterwards the key works again.
  QTest::keyClick(form->txtPayments, Qt::Key_F9);
  EXPECT_EQ(form->GridRowCount(), 25);
}

TEST_F(MainWindowAccess, CtrlQEndsTheMessageLoop) {
  EXPECT_EQ(ExecAfter([&] { QTest::keyClick(form->grdAmort, Qt::Key_Q, Qt::ControlModifier); }), 0);
  EXPECT_TRUE(dialogs->Events().empty());
}

TEST_F(MainWindowAccess, BoxesAreNamedByTheirCaptions) {
  const std::pair<QLineEdit*, QLabel*> boxes[] = {
      {form->txtAmount, form->Label1}, {form->txtInterest, form->Label2}, {form->txtPayments, form->Label3}};
  const QStringList names = {"Amount", "Annual Interest", "No. of Payments"};
  for (int i = 0; i < 3; ++i) {
    QAccessibleInterface* box = Access(boxes[i].first);
    EXPECT_EQ(box->role(), QAccessible::EditableText);
    EXPECT_EQ(box->text(QAccessible::Name), names[i]);
    // The caption first, then the group box around it.
    const auto labels = box->relations(QAccessible::Label);
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels[0].first->object(), boxes[i].second);
  }
  EXPECT_EQ(Access(form->GroupBox2)->text(QAccessible::Name), QStringLiteral("Payment Rate"));
  for (QRadioButton* radio : {form->rbtnMonthly, form->rbtnWeekly}) {
    EXPECT_EQ(Access(radio)->role(), QAccessible::RadioButton);
    EXPECT_EQ(Access(radio)->text(QAccessible::Name), radio->text());
  }
  EXPECT_TRUE(Access(form->PgPrint)->state().invisible);
}

TEST_F(MainWindowAccess, SummaryValuesCarryTheirCaptions) {
  Enter("1000", "12", "12");
  Press(form->flblCalculate);
  const std::pair<QLabel*, const char*> values[] = {{form->lblPayment, "Payments"},
                                                    {form->lblInterest, "Total Interest"},
                                                    {form->lblPrincipal, "Total Principal"},
                                                    {form->lblTotalAmt, "Total"}};
  for (auto [value, caption] : values) {
    EXPECT_EQ(Access(value)->text(QAccessible::Name), value->text());
    EXPECT_EQ(Access(value)->text(QAccessible::Description), QString::fromLatin1(caption));
  }
  EXPECT_EQ(Access(form->lblPayment)->text(QAccessible::Name), QStringLiteral("$88.85"));
}

TEST_F(MainWindowAccess, CommandBarOffersFivePushButtons) {
  const std::tuple<QWidget*, const char*, const char*> commands[] = {
      {form->flblCalculate, "Calculate", "Calculate table"},
      {form->flblPrint, "Print", "Print table"},
      {form->flblHelp, "Help", ""},
      {form->flblAbout, "About", "About Tallyvane"},
      {form->flblExit, "Exit", ""}};
  for (auto [label, name, description] : commands) {
    QAccessibleInterface* button = Access(label);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), QString::fromLatin1(name));
    EXPECT_EQ(button->text(QAccessible::Description), QString::fromLatin1(description));
    EXPECT_EQ(button->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  }
  // Press runs the command through its checks, as a click does.
  Press(form->flblCalculate);
  EXPECT_EQ(dialogs->Messages(), QStringList{kAmountMessage});
  Enter("1000", "12", "12");
  Press(form->flblCalculate);
  EXPECT_EQ(form->GridRowCount(), 13);
  WhileHelpCloses([&] { Press(form->flblHelp); });
  EXPECT_EQ(helpShown, 1);
}

TEST_F(MainWindowAccess, DisabledCommandIsUnavailableToKeysAndPress) {
  Enter("1000", "12", "12");
  form->flblCalculate->setEnabled(false);
  EXPECT_TRUE(Access(form->flblCalculate)->state().disabled);
  QTest::keyClick(form->txtAmount, Qt::Key_F9);
  Press(form->flblCalculate);
  EXPECT_EQ(form->GridRowCount(), 2);
  form->flblCalculate->setEnabled(true);
  QTest::keyClick(form->txtAmount, Qt::Key_F9);
  EXPECT_EQ(form->GridRowCount(), 13);
}

TEST_F(MainWindowAccess, GridExposesItsHeadings) {
  Enter("1000", "12", "12");
  Press(form->flblCalculate);
  QAccessibleTableInterface* table = Access(form->grdAmort)->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->columnCount(), 4);
  EXPECT_EQ(table->rowCount(), 12);
  QAccessibleTableCellInterface* lastPrincipal = table->cellAt(11, 1)->tableCellInterface();
  EXPECT_EQ(lastPrincipal->columnHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("Principal"));
  EXPECT_EQ(lastPrincipal->rowHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("12"));
  EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("$88.85"));
  // The children read row by row: the corner heading and the column headings first.
  QAccessibleInterface* grid = Access(form->grdAmort);
  ASSERT_EQ(grid->childCount(), 13 * 5);
  QStringList top;
  for (int i = 0; i < 5; ++i) top << grid->child(i)->text(QAccessible::Name);
  EXPECT_EQ(top, QStringList({"#", "Payment", "Principal", "Interest", "Balance"}));
  EXPECT_EQ(grid->child(0)->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(grid->child(5)->role(), QAccessible::RowHeader);
  EXPECT_EQ(grid->child(5)->text(QAccessible::Name), QStringLiteral("1"));
  EXPECT_EQ(grid->indexOfChild(grid->child(7)), 7);
  EXPECT_EQ(grid->child(7)->text(QAccessible::Name), form->GridCell(2, 1));
  EXPECT_EQ(grid->child(7)->parent(), grid);
  // A new schedule replaces the cells.
  form->txtPayments->setText(QStringLiteral("2"));
  Press(form->flblCalculate);
  EXPECT_EQ(grid->childCount(), 3 * 5);
  EXPECT_EQ(grid->child(7)->text(QAccessible::Name), form->GridCell(2, 1));
}

TEST_F(MainWindowAccess, ArtworkComesInSingleAndDoubleSize) {
  const QList<QSize> icon = form->windowIcon().availableSizes();
  EXPECT_TRUE(icon.contains(QSize(32, 32)) && icon.contains(QSize(64, 64)));
  EXPECT_EQ(QImage(QStringLiteral(":/images/commandbar@2x.png")).size(), QSize(64, 66));
  // On this unscaled screen the window shows the single-size picture.
  EXPECT_EQ(form->Image1->pixmap().size(), QSize(32, 33));
  EXPECT_EQ(form->Image1->pixmap().devicePixelRatio(), 1.0);
}

TEST(ProgressDialogAccess, CancelIsANamedButtonAndTheTextsAreReadable) {
  TPPPrnPrgDlg dialog;
  dialog.lblStatus->setText(QStringLiteral("Sending Pages To Printer"));
  QAccessibleInterface* cancel = QAccessible::queryAccessibleInterface(dialog.btnCancel);
  EXPECT_EQ(cancel->role(), QAccessible::Button);
  EXPECT_EQ(cancel->text(QAccessible::Name), QStringLiteral("Cancel"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.lblStatus)->text(QAccessible::Name),
            QStringLiteral("Sending Pages To Printer"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.ProgBar)->role(), QAccessible::ProgressBar);
  int clicks = 0;
  QObject::connect(dialog.btnCancel, &QPushButton::clicked, [&] { ++clicks; });
  cancel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  // Qt animates the press and clicks when the animation ends.
  EXPECT_TRUE(QTest::qWaitFor([&] { return clicks > 0; }));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
