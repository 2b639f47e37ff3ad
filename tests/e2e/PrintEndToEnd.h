// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Driving the program as a user does for the end-to-end prints: the dialogs
// answered, the loan typed in, Calculate and Print clicked, the job read back.
#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

#include "Application.h"
#include "CaptureQueue.h"
#include "Conversions.h"
#include "Device.h"
#include "Dialogs.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"
#include "QVXFlashLabel.h"
#include "Startup.h"
#include "main.h"

#include "PrintedPdf.h"

namespace print_e2e {

// ---- Driving the program ----

// Answers the modal dialogs that appear while a command runs: the "Starting
// Date" query gets the date typed and OK clicked; any message box is noted and
// closed, so that an error shows up as a failure instead of a hang. It also
// notes what the progress dialog shows whenever printing lets messages through.
class DialogAnswerer : public QObject {
 public:
  DialogAnswerer(TMainForm* form, QString date) : form_(form), date_(std::move(date)) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start();
  }

  int queries = 0;
  QString caption, prompt, initialText;
  QStringList messages;
  QElapsedTimer sinceAccepted;  // started when OK was clicked
  // (bar position, bar maximum, page label) each time it changed.
  std::vector<std::tuple<int, int, QString>> progress;
  QString progressCaption, progressStatus;

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* query = qobject_cast<QInputDialog*>(modal)) {
      ++queries;
      if (queries > 1) {  // a second query is not part of the flow: refuse it
        query->reject();
        return;
      }
      caption = query->windowTitle();
      prompt = query->labelText();
      initialText = query->textValue();
      QLineEdit* edit = query->findChild<QLineEdit*>();
      auto* buttons = query->findChild<QDialogButtonBox*>();
      if (!edit || !buttons || !buttons->button(QDialogButtonBox::Ok)) {
        query->reject();
        return;
      }
      QTest::keyClicks(edit, date_);
      sinceAccepted.start();
      QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
      return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      messages << box->text();
      box->accept();
      return;
    }
    if (TPPPrnPrgDlg* dialog = form_->PgPrint->ProgressDialog()) {
      const std::tuple<int, int, QString> now{dialog->ProgBar->value(), dialog->ProgBar->maximum(),
                                              dialog->lblPageNumber->text()};
      if (progress.empty() || progress.back() != now) progress.push_back(now);
      progressCaption = dialog->windowTitle();
      progressStatus = dialog->lblStatus->text();
    }
  }

  TMainForm* form_;
  QString date_;
  QTimer timer_;
};

struct Loan {
  const char* amount;
  const char* amountText;  // the amount as the loan line shows it
  const char* interest;
  const char* payments;
  bool weekly;
  const char* start;  // as typed, in the regional short-date form
};

struct PrintRun {
  QString pdf;
  PrintedDocument doc;
  qint64 clickToDoneMs = 0;  // OK in the date query until the Print command returned
  qint64 clickToFileMs = 0;  // OK in the date query until the captured file appeared
  QString todayBefore, todayAfter;
  QStringList messages;
  int queries = 0;
  QString caption, prompt, initialText;
  std::vector<std::tuple<int, int, QString>> progress;
  QString progressCaption, progressStatus;
};

class PrintEndToEnd : public CaptureQueueTest {
 protected:
  void SetUp() override {
    CaptureQueueTest::SetUp();
    if (!QueueReady()) return;
    // As at program start: the system printer, the platform's own dialogs,
    // nothing calculated yet. The regional settings stay pinned to en_US.
    SetPrinter(MakeSystemPrinter());
    SetDialogs(nullptr);
    CalculationState() = LoanState{};
    Application::SetTitle(QStringLiteral("Tallyvane"));
    windows = std::make_unique<TProgramWindows>();
    form = &windows->MainForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  }

  void TearDown() override {
    windows.reset();
    form = nullptr;
  }

  static void Click(QWidget* label) {
    const QPoint at = label->rect().center();
    QTest::mouseMove(label, at);
    QTest::mousePress(label, Qt::LeftButton, {}, at);
    QTest::mouseRelease(label, Qt::LeftButton, {}, at);
  }

  static void Type(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
  }

  void EnterAndCalculate(const Loan& loan) {
    Type(form->txtAmount, QString::fromLatin1(loan.amount));
    Type(form->txtInterest, QString::fromLatin1(loan.interest));
    Type(form->txtPayments, QString::fromLatin1(loan.payments));
    Click(loan.weekly ? static_cast<QWidget*>(form->rbtnWeekly) : static_cast<QWidget*>(form->rbtnMonthly));
    ASSERT_EQ(form->rbtnWeekly->isChecked(), loan.weekly);
    Click(form->flblCalculate);
    ASSERT_EQ(form->GridRowCount(), QString::fromLatin1(loan.payments).toInt() + 1);
  }

  PrintRun Print(const Loan& loan) {
    PrintRun run;
    // Every schedule job carries the same title: test programs that run at the
    // same time (ctest -j) take turns, so the new job in the folder is ours.
    QLockFile turn(QDir::tempPath() + QStringLiteral("/tallyvane-print-e2e.lock"));
    turn.setStaleLockTime(0);  // stale only when its holder has died
    if (!turn.tryLock(300000)) {
      ADD_FAILURE() << "another end-to-end print held the capture queue for 5 minutes";
      return run;
    }
    const QSet<QString> before = JobsInCaptureFolder();
    run.todayBefore = FormatDateTime(QStringLiteral("ddddd"), QDateTime::currentDateTime());
    {
      DialogAnswerer answerer(form, QString::fromLatin1(loan.start));
      Click(form->flblPrint);
      run.clickToDoneMs = answerer.sinceAccepted.isValid() ? answerer.sinceAccepted.elapsed() : -1;
      run.pdf = WaitForNewJob(before, 120);
      run.clickToFileMs = answerer.sinceAccepted.isValid() ? answerer.sinceAccepted.elapsed() : -1;
      run.messages = answerer.messages;
      run.queries = answerer.queries;
      run.caption = answerer.caption;
      run.prompt = answerer.prompt;
      run.initialText = answerer.initialText;
      run.progress = answerer.progress;
      run.progressCaption = answerer.progressCaption;
      run.progressStatus = answerer.progressStatus;
    }
    run.todayAfter = FormatDateTime(QStringLiteral("ddddd"), QDateTime::currentDateTime());
    if (!run.pdf.isEmpty()) run.doc = ReadPdf(run.pdf);
    return run;
  }

  // Everything the printout must show, page by page and row by row.
  void CheckPrintout(const Loan& loan, const PrintRun& run, bool firstPrint = true) {
    ASSERT_EQ(run.queries, 1);
    EXPECT_EQ(run.caption, QStringLiteral("Starting Date"));
    EXPECT_EQ(run.prompt, QStringLiteral("Enter payment starting date:"));
    EXPECT_EQ(run.initialText, QString());
    ASSERT_EQ(run.messages, QStringList()) << "the program reported an error";
    ASSERT_FALSE(run.pdf.isEmpty()) << "no job titled \"Amortization Schedule\" reached the capture folder";
    ASSERT_TRUE(run.pdf.endsWith(QStringLiteral(".pdf"))) << run.pdf.toStdString();
    QString meta = run.pdf;
    meta.replace(QStringLiteral(".pdf"), QStringLiteral(".meta"));
    EXPECT_EQ(MetaValue(meta, QStringLiteral("copies")), QStringLiteral("1"));

    const int payments = QString::fromLatin1(loan.payments).toInt();
    const PrintedDocument& doc = run.doc;
    const int pageCount = PdfInfo(run.pdf, QStringLiteral("Pages")).toInt();
    ASSERT_GT(pageCount, 0);
    EXPECT_EQ(int(doc.pages.size()), pageCount);
    // Every page the page printer built reached the printer.
    EXPECT_EQ(pageCount, form->PgPrint->PageCount());

    // The page count and the rows on each page follow from the sheet and the fonts.
    const int dpi = GetDeviceCaps(Printer()->Handle(), LOGPIXELSY);
    const QStringList size = PdfInfo(run.pdf, QStringLiteral("Page size")).split(u' ');
    ASSERT_GE(size.size(), 3);
    const double sheetHeightInches = size[2].toDouble() / 72.0;
    const int contentHeight = form->PgPrint->ContentHeightPixels();
    // Half-inch margins at top and bottom, measured from the sheet's edges
    // (pdfinfo gives the sheet in whole points).
    EXPECT_NEAR(contentHeight, (sheetHeightInches - 1.0) * dpi, dpi / 144.0 + 2.0);
    const std::vector<int> expectedRows = ExpectedRowsPerPage(contentHeight, dpi, payments, firstPrint);
    ASSERT_EQ(pageCount, int(expectedRows.size()))
        << "sheet " << size[0].toStdString() << " x " << size[2].toStdString() << " pt at " << dpi << " dpi";
    for (int p = 0; p < pageCount; ++p) EXPECT_EQ(doc.pages[p].rows, expectedRows[p]) << "page " << p + 1;

    // Frame and heading of every page: the header with the title and today's
    // short date, the loan line, the column heading, and the page number at the bottom.
    const QString loanLine =
        QStringLiteral("Loan Amount: %1 Interest: %2% annually Payments: %3 (%4)")
            .arg(QString::fromLatin1(loan.amountText), QString::fromLatin1(loan.interest), form->lblPayment->text(),
                 loan.weekly ? QStringLiteral("weekly") : QStringLiteral("monthly"));
    for (int p = 0; p < pageCount; ++p) {
      const QStringList& lines = doc.pages[p].lines;
      ASSERT_GE(lines.size(), 4) << "page " << p + 1;
      const QString& header = lines[0];
      EXPECT_TRUE(header == kJobTitle + u' ' + run.todayBefore || header == kJobTitle + u' ' + run.todayAfter)
          << "page " << p + 1 << ": " << header.toStdString();
      EXPECT_EQ(lines[1], loanLine) << "page " << p + 1;
      EXPECT_EQ(lines[2], QStringLiteral("Due Date Payment Principal Interest Balance")) << "page " << p + 1;
      EXPECT_EQ(lines.last(), QStringLiteral("Page - %1").arg(p + 1)) << "page " << p + 1;
      EXPECT_EQ(lines.filter(QStringLiteral("Page - ")).size(), 1) << "page " << p + 1;
    }

    // Every payment row, in order, with its due date and the grid's texts.
    const QStringList startParts = QString::fromLatin1(loan.start).split(u'/');
    ASSERT_EQ(startParts.size(), 3);
    const QDate start(startParts[2].toInt(), startParts[0].toInt(), startParts[1].toInt());
    const QStringList dates = ExpectedDueDates(start, payments, loan.weekly);
    ASSERT_EQ(int(doc.rows.size()), payments);
    int mismatches = 0;
    for (int i = 0; i < payments && mismatches < 10; ++i) {
      const PrintedRow& r = doc.rows[i];
      const int g = i + 1;
      const bool same = r.date == dates[i] && r.payment == form->GridCell(1, g).trimmed() &&
                        r.principal == form->GridCell(2, g).trimmed() && r.interest == form->GridCell(3, g).trimmed() &&
                        r.balance == form->GridCell(4, g).trimmed();
      if (!same) ++mismatches;
      EXPECT_TRUE(same) << "row " << g << " printed " << r.date.toStdString() << " " << r.payment.toStdString() << " "
                        << r.principal.toStdString() << " " << r.interest.toStdString() << " "
                        << r.balance.toStdString() << ", expected " << dates[i].toStdString() << " "
                        << form->GridCell(1, g).toStdString() << " " << form->GridCell(2, g).toStdString() << " "
                        << form->GridCell(3, g).toStdString() << " " << form->GridCell(4, g).toStdString();
    }

    // The totals row, once, after the last payment.
    ASSERT_EQ(doc.totals.size(), 1);
    EXPECT_EQ(doc.totals[0],
              QStringLiteral("Totals %1 %2 %3")
                  .arg(form->lblTotalAmt->text(), form->lblPrincipal->text(), form->lblInterest->text()));
    EXPECT_GE(doc.totalsPage, doc.rows.back().page);
    const QStringList& totalsPageLines = doc.pages[doc.totalsPage - 1].lines;
    EXPECT_EQ(totalsPageLines[totalsPageLines.size() - 2], doc.totals[0]) << "the totals row ends the body";

    // The progress dialog, seen whenever printing let messages through (before
    // every sheet but the first): the title, the status, one step per sheet. The
    // last step shows too when messages went through while the last sheet was
    // drawn or the job was handed to the print server (Cancel stays live there).
    EXPECT_FALSE(form->PgPrint->ProgressDialog()) << "the dialog is freed after printing";
    if (pageCount > 1) {
      EXPECT_EQ(run.progressCaption, kJobTitle);
      EXPECT_EQ(run.progressStatus, QStringLiteral("Sending Pages To Printer"));
      std::vector<std::tuple<int, int, QString>> expected;
      for (int sheet = 1; sheet < pageCount; ++sheet)
        expected.emplace_back(sheet, pageCount, QStringLiteral("Page %1 of %2").arg(sheet).arg(pageCount));
      std::vector<std::tuple<int, int, QString>> seen = run.progress;
      if (seen.size() == expected.size() + 1 &&
          seen.back() ==
              std::tuple<int, int, QString>(pageCount, pageCount, QStringLiteral("Page %1 of %1").arg(pageCount)))
        seen.pop_back();
      EXPECT_EQ(seen, expected);
    }
  }

  std::unique_ptr<TProgramWindows> windows;
  TMainForm* form = nullptr;
};

}  // namespace print_e2e
