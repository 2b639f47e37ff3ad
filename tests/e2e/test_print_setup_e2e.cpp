// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Print Setup for real: Qt's print dialog lists the capture scheduler's two
// queues; choosing the second one with two copies of pages 2 to 3 sends Print's
// job there, holding those pages with the whole document's page numbers.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPrintDialog>
#include <QSpinBox>
#include <QTableView>

#include "PrintChoice.h"
#include "PrintEndToEnd.h"
#include "SchedulePreview.h"

namespace print_e2e {

const QString kSecondQueue = QStringLiteral("tallyvane-capture-2");

class PrintSetupEndToEnd : public PrintEndToEnd {
 protected:
  void TearDown() override {
    SetChosenPrint(std::nullopt);
    PrintEndToEnd::TearDown();
  }
  static QString SecondDir() { return CaptureDir() + QStringLiteral("/second"); }
  static QStringList Jobs(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("job-*.meta")}, QDir::Files, QDir::Name);
  }
  // The captured document of a new job in `dir`; empty when none comes.
  static QString WaitForJobIn(const QString& dir, const QStringList& before, int seconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < seconds * 1000) {
      for (const QString& meta : Jobs(dir)) {
        if (before.contains(meta)) continue;
        const QString document = MetaValue(QDir(dir).filePath(meta), QStringLiteral("document"));
        if (!document.isEmpty() && QFile::exists(QDir(dir).filePath(document))) return QDir(dir).filePath(document);
      }
      QTest::qWait(20);
    }
    return {};
  }
};

TEST_F(PrintSetupEndToEnd, SecondQueueGetsTheChosenCopiesAndPages) {
  ASSERT_TRUE(QDir(SecondDir()).exists()) << "the capture scheduler has no second queue";
  const Loan loan{"100000", "$100,000.00", "6.5", "360", false, "01/15/2025"};
  EnterAndCalculate(loan);

  // The real dialog, filled in as a user does.
  QStringList listed;
  bool answered = false;
  bool duplexOffered = false;
  QStringList warnings;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warnings << box->text();
      box->reject();
      return;
    }
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog || answered) return;
    answered = true;
    auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
    auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
    auto* pages = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
    auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
    auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    auto* duplex = dialog->findChild<QRadioButton*>(QStringLiteral("duplexLong"));
    if (!printers || !copies || !pages || !from || !to || !buttons || !duplex) {
      ADD_FAILURE() << "the print dialog lacks a control this test sets";
      dialog->reject();
      return;
    }
    for (int i = 0; i < printers->count(); ++i) listed << printers->itemText(i);
    printers->setCurrentIndex(printers->findText(kSecondQueue));
    copies->setValue(2);
    pages->setChecked(true);
    to->setValue(3);
    from->setValue(2);
    if (duplex->isEnabled()) duplex->setChecked(true);
    duplexOffered = duplex->isEnabled();
    // Clicked once this handler has returned, so that the poll goes on meanwhile.
    QMetaObject::invokeMethod(buttons->button(QDialogButtonBox::Ok), &QAbstractButton::click, Qt::QueuedConnection);
  });
  poll.start(20);
  QTest::keyClick(form->grdAmort, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  poll.stop();
  ASSERT_TRUE(answered) << "Ctrl+Shift+P showed no print dialog";
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join(" | ").toStdString();
  EXPECT_TRUE(listed.contains(kCaptureQueue) && listed.contains(kSecondQueue)) << listed.join(", ").toStdString();
  ASSERT_TRUE(ChosenPrint().has_value());
  EXPECT_EQ(ChosenPrint()->destination, kSecondQueue);

  const QStringList firstBefore = Jobs(CaptureDir()), secondBefore = Jobs(SecondDir());
  QString pdf;
  {
    DialogAnswerer answerer(form, QString::fromLatin1(loan.start));
    Click(form->flblPrint);
    pdf = WaitForJobIn(SecondDir(), secondBefore, 120);
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" | ").toStdString();
  }
  ASSERT_FALSE(pdf.isEmpty()) << "no job reached " << kSecondQueue.toStdString();
  EXPECT_EQ(Jobs(CaptureDir()), firstBefore);  // nothing went to the default queue
  QString meta = pdf;
  meta.replace(QRegularExpression(QStringLiteral("\\.pdf$")), QStringLiteral(".meta"));
  EXPECT_TRUE(
      MetaValue(meta, QStringLiteral("options"))
          .contains(duplexOffered ? QLatin1String("sides=two-sided-long-edge") : QLatin1String("sides=one-sided")))
      << MetaValue(meta, QStringLiteral("options")).toStdString();
  // Collated copies made by the page printer: 2, 3, 2, 3, each with its own number.
  const PrintedDocument doc = ReadPdf(pdf);
  ASSERT_EQ(doc.pages.size(), 4u);
  const char* footers[] = {"Page - 2", "Page - 3", "Page - 2", "Page - 3"};
  for (int p = 0; p < 4; ++p) EXPECT_EQ(doc.pages[p].lines.last(), QString::fromLatin1(footers[p])) << p;
}

TEST_F(PrintSetupEndToEnd, PreviewPrintsThePagesShownToTheChosenQueue) {
  const Loan loan{"1000", "$1,000.00", "12", "12", false, "1/31/2025"};
  EnterAndCalculate(loan);
  PrintChoice choice;
  choice.destination = kSecondQueue;
  SetChosenPrint(choice);
  const QStringList firstBefore = Jobs(CaptureDir()), secondBefore = Jobs(SecondDir());
  int shown = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* preview = qobject_cast<SchedulePreview*>(QApplication::activeModalWidget());
    if (!preview || shown) return;
    shown = preview->PageCount();
    auto* print = preview->findChild<QPushButton*>();
    for (auto* button : preview->findChildren<QPushButton*>())
      if (button->accessibleName() == QStringLiteral("Print")) print = button;
    QMetaObject::invokeMethod(
        preview,
        [print, preview] {
          print->click();
          preview->reject();
        },
        Qt::QueuedConnection);
  });
  poll.start(20);
  QString pdf;
  {
    DialogAnswerer answerer(form, QString::fromLatin1(loan.start));
    QTest::keyClick(form->grdAmort, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    poll.stop();
    pdf = WaitForJobIn(SecondDir(), secondBefore, 120);
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" | ").toStdString();
    EXPECT_EQ(answerer.queries, 1);
  }
  ASSERT_EQ(shown, 1);
  ASSERT_FALSE(pdf.isEmpty()) << "no job reached " << kSecondQueue.toStdString();
  EXPECT_EQ(Jobs(CaptureDir()), firstBefore);
  const PrintedDocument doc = ReadPdf(pdf);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.rows.size(), 12u);
  EXPECT_EQ(doc.totals, QStringList({QStringLiteral("Totals $1,065.36 $1,000.00 $65.36")}));
}

}  // namespace print_e2e
