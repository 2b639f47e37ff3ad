// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The schedule table's Copy, Save as CSV and Save as PDF: the context menu,
// its enabled states and shortcuts, the clipboard, the files, and failures
// that leave an existing file as it was.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>

#include "MainWindowFixture.h"
#include "PdfTools.h"
#include "ScheduleCsv.h"
#include "QVXFlashLabel.h"
#include "SafeSave.h"
#include "ScheduleMenu.h"

namespace {

class ScheduleExportTest : public MainWindowFixture<> {
 protected:
  ScheduleExportTest() : MainWindowFixture(true) {}
  ScheduleMenu& Commands() const { return *form->ScheduleCommands(); }
  void Calculated() {
    Enter("1000", "12", "12");
    Click(form->flblCalculate);
    ASSERT_EQ(form->GridRowCount(), 13);
  }
  static void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods) { QTest::keyClick(w, key, mods); }
  static QByteArray Read(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  }
  QTemporaryDir dir;
};

TEST_F(ScheduleExportTest, MenuItemsShortcutsAndEnabledStates) {
  // The table's own commands lead the menu; the extra payments window's entry follows them.
  const QList<QAction*> items = Commands().Menu()->actions().mid(0, 5);
  ASSERT_EQ(items.size(), 5);
  const char* expected[5][2] = {{"Copy Schedule", "Ctrl+C"},
                                {"Save as CSV...", "Ctrl+Shift+C"},
                                {"Save as PDF...", "Ctrl+Shift+S"},
                                {"Print Setup...", "Ctrl+Shift+P"},
                                {"Print Preview...", "Ctrl+Shift+O"}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(items[i]->text(), expected[i][0]);
    EXPECT_EQ(items[i]->shortcut(), QKeySequence(expected[i][1]));
  }
  const auto enabledCount = [&] {
    return std::count_if(items.begin(), items.end(), [](QAction* a) { return a->isEnabled(); });
  };
  EXPECT_EQ(enabledCount(), 0);
  Calculated();
  EXPECT_EQ(enabledCount(), 5);
  form->txtAmount->setText("2000");  // an amount edit clears the table
  EXPECT_EQ(enabledCount(), 0);
  // Disabled commands do nothing, from the keyboard either.
  QApplication::clipboard()->setText("before");
  Key(form->grdAmort, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
}

TEST_F(ScheduleExportTest, MenuOpensByMouseMenuKeyAndShiftF10) {
  Calculated();
  QMenu* menu = Commands().Menu();
  const auto opens = [&](const std::function<void()>& how) {
    how();
    const bool shown = QTest::qWaitFor([&] { return menu->isVisible(); }, 2000);
    menu->hide();
    return shown;
  };
  QWidget* viewport = form->grdAmort->viewport();
  EXPECT_TRUE(opens([&] {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &event);
  }));
  form->grdAmort->setFocus();
  EXPECT_TRUE(opens([&] { Key(form->grdAmort, Qt::Key_Menu, Qt::NoModifier); }));
  EXPECT_TRUE(opens([&] { Key(form->grdAmort, Qt::Key_F10, Qt::ShiftModifier); }));
}

TEST_F(ScheduleExportTest, CopyPutsTextAndHtmlOnTheClipboard) {
  Calculated();
  form->grdAmort->setFocus();
  Key(form->grdAmort, Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QStringList lines = data->text().split('\n');
  ASSERT_EQ(lines.size(), 14);  // heading, 12 rows, and the final line end
  EXPECT_EQ(lines[0], "   #\t      Payment\t      Principal\t      Interest\t      Balance");
  EXPECT_EQ(lines[1], " 1\t$88.85\t$78.84\t$10.01\t$921.16");
  EXPECT_EQ(lines[12], " 12\t$88.03\t$88.03\t$0.00\t $0.00");
  for (int r = 1; r <= 12; ++r) EXPECT_EQ(lines[r].split('\t')[3], form->GridCell(3, r));
  ASSERT_TRUE(data->hasHtml());
  const QString html = data->html();
  EXPECT_TRUE(html.contains("<tr><th>#</th><th>Payment</th><th>Principal</th><th>Interest</th><th>Balance</th></tr>"));
  EXPECT_TRUE(html.contains("<tr><td>1</td><td>$88.85</td><td>$78.84</td><td>$10.01</td><td>$921.16</td></tr>"));
  EXPECT_EQ(html.count("<tr>"), 13);
  // Ctrl+C in an edit box copies its selection; without one, the schedule.
  form->txtInterest->setFocus();
  form->txtInterest->setSelection(0, 1);
  Key(form->txtInterest, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "1");
  form->txtInterest->deselect();
  Key(form->txtInterest, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("   #\t"));
}

TEST_F(ScheduleExportTest, SaveAsCsvWritesThePlainNumbers) {
  Calculated();
  const QString target = dir.filePath("schedule.csv");
  dialogs->QueueAnswer(target);
  Key(form->txtAmount, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(dialogs->Events().size(), 1u);
  EXPECT_EQ(dialogs->Events()[0].kind, ScriptedDialogs::Event::SaveQuery);
  EXPECT_EQ(dialogs->Events()[0].text, "loan-schedule.csv");
  const QByteArray csv = Read(target);
  EXPECT_EQ(csv, ScheduleCsv(form->GridModel()->CurrentSchedule()));
  EXPECT_TRUE(csv.startsWith("Payment,Amount,Principal,Interest,Balance\r\n1,88.85,78.84,10.01,921.16\r\n"));
}

TEST_F(ScheduleExportTest, SaveAsPdfAsksForTheDateThenWritesThePrintout) {
  Calculated();
  const QString target = dir.filePath("schedule.pdf");
  dialogs->QueueAnswer("1/31/2025");
  dialogs->QueueAnswer(target);
  Key(form->grdAmort, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(dialogs->Events().size(), 2u);
  EXPECT_EQ(dialogs->Events()[0].caption, "Starting Date");
  EXPECT_EQ(dialogs->Events()[1].text, "loan-schedule.pdf");
  EXPECT_EQ(dialogs->Messages(), QStringList());
  EXPECT_EQ(PdfInfo(target, "Page size"), "612 x 792 pts (letter)");  // the en_US locale
  const QString text = RunTool("pdftotext", {"-layout", target, "-"});
  for (const char* t :
       {"Amortization Schedule", "Loan Amount: $1,000.00", "Interest: 12% annually", "Payments: $88.85 (monthly)",
        "Due Date", "01/31/2025", "01/03/2026", "$921.16", "Totals", "$1,065.36", "Page - 1"})
    EXPECT_TRUE(text.contains(t)) << t;
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"schedule.pdf"});
}

TEST_F(ScheduleExportTest, CancelsAndBadDatesWriteNothing) {
  Calculated();
  const QString target = dir.filePath("loan-schedule.pdf");
  dialogs->QueueAnswer(std::nullopt);  // the date query
  Commands().PdfAction()->trigger();
  dialogs->QueueAnswer("13/45/2025");  // not a date: Print's message
  Commands().PdfAction()->trigger();
  dialogs->QueueAnswer("1/31/2025");
  dialogs->QueueAnswer(std::nullopt);  // the save dialog
  Commands().PdfAction()->trigger();
  dialogs->QueueAnswer(std::nullopt);
  Commands().CsvAction()->trigger();
  EXPECT_EQ(dialogs->Messages(), QStringList{" Invalid starting date! Printing canceled."});
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// Unwritable folder, full device, full disk: a message naming the file, and
// the file that was there stays as it was.
TEST_F(ScheduleExportTest, FailuresReportAndKeepTheExistingFile) {
  Calculated();
  dialogs->QueueAnswer("/proc/loan-schedule.csv");
  Commands().CsvAction()->trigger();
  dialogs->QueueAnswer("/dev/full");
  Commands().CsvAction()->trigger();
  ASSERT_EQ(dialogs->Messages().size(), 2);
  EXPECT_TRUE(dialogs->Messages()[0].startsWith("Cannot save \"/proc/loan-schedule.csv\": "));
  EXPECT_TRUE(dialogs->Messages()[1].startsWith("Cannot save \"/dev/full\": No space left on device"));
  EXPECT_FALSE(QFileInfo("/dev/full").isFile());  // the device itself was not replaced

  const QString csv = dir.filePath("old.csv"), pdf = dir.filePath("old.pdf");
  for (const QString& name : {csv, pdf}) SaveFileSafely(name, "old");
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 200;
  setrlimit(RLIMIT_FSIZE, &small);
  dialogs->QueueAnswer(csv);
  Commands().CsvAction()->trigger();
  dialogs->QueueAnswer("1/31/2025");
  dialogs->QueueAnswer(pdf);
  Commands().PdfAction()->trigger();
  setrlimit(RLIMIT_FSIZE, &saved);
  ASSERT_EQ(dialogs->Messages().size(), 4);
  EXPECT_TRUE(dialogs->Messages()[2].startsWith("Cannot save \"" + csv + "\": "));
  EXPECT_TRUE(dialogs->Messages()[3].startsWith("Cannot save \"" + pdf + "\": "));
  EXPECT_EQ(Read(csv), "old");
  EXPECT_EQ(Read(pdf), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.csv", "old.pdf"}));
}

}  // namespace
