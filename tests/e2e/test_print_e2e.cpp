// Printing a schedule for real, as a user does: the program's windows are
// started as the program starts them, the loan is typed into the boxes,
// Calculate and Print are clicked, the real "Starting Date" query is answered,
// and the job that reaches CUPS's default queue is read back from the capture
// folder (tests/e2e/cups/cups-capture.sh start DIR; TALLYVANE_CAPTURE_DIR=DIR).
// Without the capture queue these tests are skipped.
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

namespace {

const QString kJobTitle = QStringLiteral("Amortization Schedule");

struct ToolResult {
  int exitCode = -1;
  QString out, err;
};

ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env = {}) {
  QProcess p;
  if (!env.isEmpty()) p.setProcessEnvironment(env);
  p.start(program, args);
  ToolResult r;
  if (!p.waitForFinished(180000)) {
    p.kill();
    p.waitForFinished();
    r.err = QStringLiteral("timed out");
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QSet<QString> JobsInCaptureFolder() {
  const QStringList metas = QDir(CaptureDir()).entryList({QStringLiteral("job-*.meta")}, QDir::Files);
  return QSet<QString>(metas.begin(), metas.end());
}

// The document of a job that was not in the folder before and carries the
// schedule's title; empty when none arrives in time.
QString WaitForNewJob(const QSet<QString>& before, int seconds) {
  const QDir dir(CaptureDir());
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < seconds * 1000) {
    for (const QString& meta : dir.entryList({QStringLiteral("job-*.meta")}, QDir::Files)) {
      if (before.contains(meta)) continue;
      const QString metaPath = dir.filePath(meta);
      if (MetaValue(metaPath, QStringLiteral("title")) != kJobTitle) continue;
      const QString document = MetaValue(metaPath, QStringLiteral("document"));
      // The backend writes the meta file first and renames the whole document into place.
      if (!document.isEmpty() && QFile::exists(dir.filePath(document))) return dir.filePath(document);
    }
    QThread::msleep(5);
  }
  return {};
}

QString PdfInfo(const QString& file, const QString& field) {
  for (const QString& line : RunTool(QStringLiteral("pdfinfo"), {file}).out.split(u'\n'))
    if (line.startsWith(field + u':')) return line.mid(field.size() + 1).trimmed();
  return {};
}

// ---- The printed document as pdftotext -layout reads it ----

struct PrintedRow {
  QString date, payment, principal, interest, balance;
  int page = 0;
};

struct PrintedPage {
  QStringList lines;  // non-blank lines, blanks runs collapsed to one
  int rows = 0;
};

struct PrintedDocument {
  std::vector<PrintedPage> pages;
  std::vector<PrintedRow> rows;
  QStringList totals;  // the simplified totals lines
  int totalsPage = 0;
};

PrintedDocument ReadPdf(const QString& pdf) {
  PrintedDocument doc;
  const ToolResult text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  QStringList pages = text.out.split(u'\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();  // after the last form feed
  static const QRegularExpression row(
      QStringLiteral("^(\\d\\d/\\d\\d/\\d{4}) (\\S+) (\\S+) (\\S+) (\\S+)$"));
  for (int p = 0; p < pages.size(); ++p) {
    PrintedPage page;
    for (const QString& raw : pages[p].split(u'\n')) {
      const QString line = raw.simplified();
      if (line.isEmpty()) continue;
      page.lines << line;
      const QRegularExpressionMatch m = row.match(line);
      if (m.hasMatch()) {
        doc.rows.push_back({m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5), p + 1});
        ++page.rows;
      } else if (line.startsWith(QStringLiteral("Totals "))) {
        doc.totals << line;
        doc.totalsPage = p + 1;
      }
    }
    doc.pages.push_back(page);
  }
  return doc;
}

// ---- Expectations worked out independently of the program ----

// Monthly due dates step by a fixed month table in which February has 28 days;
// weekly ones by 7 days.
QStringList ExpectedDueDates(QDate first, int count, bool weekly) {
  static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  QStringList dates;
  QDate due = first;
  for (int i = 0; i < count; ++i) {
    dates << due.toString(QStringLiteral("MM/dd/yyyy"));
    due = due.addDays(weekly ? 7 : kMonthDays[due.month() - 1]);
  }
  return dates;
}

// Rows per page from the page printer's flow rule: every line end moves the
// cursor down one line height, and when the next line would reach the bottom
// margin a page starts with its heading (a blank, the loan line, a blank, the
// column heading, a blank). On the first page of the first print the blank and
// the loan line are in the 10-point font, everything else in 9 points.
std::vector<int> ExpectedRowsPerPage(int contentHeight, int dpi, int rows, bool firstPrint) {
  const int h10 = int(std::lround(10.0 * dpi / 72.0));
  const int h9 = int(std::lround(9.0 * dpi / 72.0));
  std::vector<int> perPage{0};
  int y = firstPrint ? 2 * h10 + 3 * h9 : 5 * h9;
  auto lineEnd = [&] {
    y += h9;
    if (y + h9 >= contentHeight) {
      perPage.push_back(0);
      y = 5 * h9;
    }
  };
  for (int i = 0; i < rows; ++i) {
    ++perPage.back();
    lineEnd();
  }
  lineEnd();  // the blank line before the totals
  lineEnd();  // the totals row
  return perPage;
}

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
  qint64 clickToDoneMs = 0;    // OK in the date query until the Print command returned
  qint64 clickToFileMs = 0;    // OK in the date query until the captured file appeared
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
    const QString loanLine = QStringLiteral("Loan Amount: %1 Interest: %2% annually Payments: %3 (%4)")
                                 .arg(QString::fromLatin1(loan.amountText),
                                      QString::fromLatin1(loan.interest), form->lblPayment->text(),
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
                        r.principal == form->GridCell(2, g).trimmed() &&
                        r.interest == form->GridCell(3, g).trimmed() && r.balance == form->GridCell(4, g).trimmed();
      if (!same) ++mismatches;
      EXPECT_TRUE(same) << "row " << g << " printed " << r.date.toStdString() << " " << r.payment.toStdString()
                        << " " << r.principal.toStdString() << " " << r.interest.toStdString() << " "
                        << r.balance.toStdString() << ", expected " << dates[i].toStdString() << " "
                        << form->GridCell(1, g).toStdString() << " " << form->GridCell(2, g).toStdString() << " "
                        << form->GridCell(3, g).toStdString() << " " << form->GridCell(4, g).toStdString();
    }

    // The totals row, once, after the last payment.
    ASSERT_EQ(doc.totals.size(), 1);
    EXPECT_EQ(doc.totals[0], QStringLiteral("Totals %1 %2 %3")
                                 .arg(form->lblTotalAmt->text(), form->lblPrincipal->text(),
                                      form->lblInterest->text()));
    EXPECT_GE(doc.totalsPage, doc.rows.back().page);
    const QStringList& totalsPageLines = doc.pages[doc.totalsPage - 1].lines;
    EXPECT_EQ(totalsPageLines[totalsPageLines.size() - 2], doc.totals[0]) << "the totals row ends the body";

    // The progress dialog, seen whenever printing let messages through (before
    // every sheet but the first): the title, the status, one step per sheet.
    EXPECT_FALSE(form->PgPrint->ProgressDialog()) << "the dialog is freed after printing";
    if (pageCount > 1) {
      EXPECT_EQ(run.progressCaption, kJobTitle);
      EXPECT_EQ(run.progressStatus, QStringLiteral("Sending Pages To Printer"));
      std::vector<std::tuple<int, int, QString>> expected;
      for (int sheet = 1; sheet < pageCount; ++sheet)
        expected.emplace_back(sheet, pageCount, QStringLiteral("Page %1 of %2").arg(sheet).arg(pageCount));
      EXPECT_EQ(run.progress, expected);
    }
  }

  std::unique_ptr<TProgramWindows> windows;
  TMainForm* form = nullptr;
};

TEST_F(PrintEndToEnd, ShortMonthlyLoanPrintsOnePageWithDriftingDueDates) {
  const Loan loan{"1000", "$1,000.00", "12", "12", false, "1/31/2025"};
  EnterAndCalculate(loan);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_EQ(run.doc.rows.size(), 12u);
  // A first payment on the 31st of January is followed by the 3rd of each month.
  EXPECT_EQ(run.doc.rows[0].date, QStringLiteral("01/31/2025"));
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("03/03/2025"));
  EXPECT_EQ(run.doc.rows[11].date, QStringLiteral("01/03/2026"));
  EXPECT_EQ(run.doc.totals, QStringList({QStringLiteral("Totals $1,065.36 $1,000.00 $65.36")}));
  EXPECT_EQ(run.doc.pages[0].lines[1],
            QStringLiteral("Loan Amount: $1,000.00 Interest: 12% annually Payments: $88.85 (monthly)"));
}

// Checks only what the grid and the layout say, no worked-out amounts, so it
// also holds under valgrind (tests/valgrind/print-flow.sh runs it there), whose
// x87 emulation computes long double at double precision: an amount that is a
// multiple of 0.2048 still converts to whole cents there.
TEST_F(PrintEndToEnd, TwoPageWeeklyLoanPrintsWhatTheGridShows) {
  const Loan loan{"1024", "$1,024.00", "7.5", "80", true, "12/20/2024"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  EXPECT_EQ(run.doc.pages.size(), 2u);
  ASSERT_EQ(run.doc.rows.size(), 80u);
  // Weekly steps run across the year end.
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("12/27/2024"));
  EXPECT_EQ(run.doc.rows[2].date, QStringLiteral("01/03/2025"));
}

TEST_F(PrintEndToEnd, ThirtyYearMonthlyLoanPrintsSeveralPages) {
  const Loan loan{"100000", "$100,000.00", "6.5", "360", false, "01/15/2025"};
  EnterAndCalculate(loan);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$632.07"));
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_GT(run.doc.pages.size(), 3u);
  ASSERT_EQ(run.doc.rows.size(), 360u);
  // The first row of the standard 30-year example.
  EXPECT_EQ(run.doc.rows[0].principal, QStringLiteral("$90.40"));
  EXPECT_EQ(run.doc.rows[0].interest, QStringLiteral("$541.67"));
  EXPECT_EQ(run.doc.rows[0].balance, QStringLiteral("$99,909.60"));
  // The 15th holds until the leap February of 2028, then the 14th.
  EXPECT_EQ(run.doc.rows[37].date, QStringLiteral("02/15/2028"));
  EXPECT_EQ(run.doc.rows[38].date, QStringLiteral("03/14/2028"));
  std::cout << "[ info     ] 360 monthly rows: " << run.doc.pages.size() << " pages, "
            << run.clickToDoneMs << " ms to build and send, " << run.clickToFileMs
            << " ms until the captured file appeared\n";

  // A second print keeps the 9-point body font on its first page too.
  const PrintRun again = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, again, /*firstPrint=*/false));
}

TEST_F(PrintEndToEnd, ThirtyYearWeeklyLoanTiming) {
  const Loan loan{"250000", "$250,000.00", "5.5", "1560", true, "12/30/2024"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_NO_FATAL_FAILURE(CheckPrintout(loan, run));
  ASSERT_EQ(run.doc.rows.size(), 1560u);
  EXPECT_EQ(run.doc.rows[1].date, QStringLiteral("01/06/2025"));
  std::cout << "[ timing   ] 1,560 weekly rows, " << run.doc.pages.size() << " pages: Print (after the date was "
            << "answered) to the captured file: " << run.clickToFileMs << " ms (building and sending the job: "
            << run.clickToDoneMs << " ms)\n";
  RecordProperty("weekly_1560_print_to_file_ms", std::to_string(run.clickToFileMs));
}

// The companion tool prints the same schedule through the same page printer
// into a PDF file: the rows must read the same, and on the same sheet size the
// pages must break the same way.
TEST_F(PrintEndToEnd, MatchesTheCompanionToolsPdf) {
  QString tool = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
  if (!QFile::exists(tool)) GTEST_SKIP() << "tallyvane-schedule is not built: " << tool.toStdString();
  const Loan loan{"100000", "$100,000.00", "6.5", "360", false, "01/15/2025"};
  EnterAndCalculate(loan);
  const PrintRun run = Print(loan);
  ASSERT_FALSE(run.pdf.isEmpty());
  ASSERT_EQ(run.doc.rows.size(), 360u);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString companionPdf = dir.filePath(QStringLiteral("schedule.pdf"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  const ToolResult companion =
      RunTool(tool, {QStringLiteral("--start"), QString::fromLatin1(loan.start), QStringLiteral("--pdf"), companionPdf,
                     QString::fromLatin1(loan.amount), QString::fromLatin1(loan.interest),
                     QString::fromLatin1(loan.payments)},
              env);
  ASSERT_EQ(companion.exitCode, 0) << companion.err.toStdString();
  const PrintedDocument other = ReadPdf(companionPdf);
  ASSERT_EQ(other.rows.size(), run.doc.rows.size());
  for (size_t i = 0; i < other.rows.size(); ++i) {
    const PrintedRow& a = run.doc.rows[i];
    const PrintedRow& b = other.rows[i];
    ASSERT_TRUE(a.date == b.date && a.payment == b.payment && a.principal == b.principal &&
                a.interest == b.interest && a.balance == b.balance)
        << "row " << i + 1 << ": " << a.date.toStdString() << " vs " << b.date.toStdString();
  }
  EXPECT_EQ(other.totals, run.doc.totals);
  ASSERT_FALSE(other.pages.empty());
  EXPECT_EQ(other.pages[0].lines.mid(1, 2), run.doc.pages[0].lines.mid(1, 2));
  const QString sheet = PdfInfo(run.pdf, QStringLiteral("Page size"));
  const QString companionSheet = PdfInfo(companionPdf, QStringLiteral("Page size"));
  if (sheet == companionSheet) {
    EXPECT_EQ(other.pages.size(), run.doc.pages.size());
    for (size_t p = 0; p < std::min(other.pages.size(), run.doc.pages.size()); ++p)
      EXPECT_EQ(other.pages[p].rows, run.doc.pages[p].rows) << "page " << p + 1;
  } else {
    std::cout << "[ info     ] the queue's sheet (" << sheet.toStdString() << ") differs from the companion's ("
              << companionSheet.toStdString() << "): page breaks not compared\n";
  }
}

}  // namespace
