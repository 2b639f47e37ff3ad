// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// tallyvane-schedule: the calculator's schedule on the command line. It checks
// and reads its arguments exactly as the window checks and reads its boxes, and
// prints the summary and the table as the window shows them.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "Conversions.h"
#include "CupsSubmission.h"
#include "Errors.h"
#include "ExtraPayments.h"
#include "Loan.h"
#include "Money.h"
#include "Graphics.h"
#include "HeapTuning.h"
#include "LoanInputs.h"
#include "LocalePaper.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "SafeSave.h"
#include "ScheduleCsv.h"
#include "ScheduleDocument.h"
#include "ScheduleOptions.h"

namespace {

const char kUsage[] =
    "Usage: tallyvane-schedule [--weekly] AMOUNT RATE PAYMENTS\n"
    "       tallyvane-schedule [--weekly] --start DATE [--pdf FILE] [--text FILE] [--print [QUEUE]]\n"
    "                          [--copies N] [--paper A4|Letter|Legal] [--footer TEXT] AMOUNT RATE PAYMENTS\n"
    "       tallyvane-schedule [--weekly] [--start DATE] --csv FILE AMOUNT RATE PAYMENTS\n"
    "       tallyvane-schedule [--weekly] [--extra AMOUNT[@N]] [--lump N:AMOUNT]... [--keep-term]\n"
    "                          [--yearly] [--start DATE] [--csv FILE] AMOUNT RATE PAYMENTS\n"
    "\n"
    "Computes the repayment schedule of a fixed-rate loan with level payments:\n"
    "  AMOUNT    the loan amount\n"
    "  RATE      the annual interest rate in percent\n"
    "  PAYMENTS  the number of payments (at most 1,000,000)\n"
    "\n"
    "Numbers are read with the regional decimal separator (LC_ALL / LANG) and\n"
    "amounts are written in the regional currency format.\n"
    "\n"
    "Options:\n"
    "  --weekly  payments every week (52 a year) instead of every month\n"
    "  --help    show this text\n"
    "  --version show the version\n"
    "  --start DATE  the first due date, in the regional short-date form; needed\n"
    "                by --pdf, --text and --print\n"
    "  --pdf FILE    write the printed schedule (the pages a printer gets) as PDF\n"
    "  --text FILE   write the page printer's plain-text rendering of it\n"
    "                (both are laid out on the locale's paper, Letter or A4;\n"
    "                no printer is needed)\n"
    "  --print [QUEUE]  send the printed schedule to a CUPS queue (or instance,\n"
    "                QUEUE/INSTANCE; the default queue without one), on the\n"
    "                queue's own paper unless --paper is given\n"
    "  --copies N    the number of copies --print asks for (1 to 9999)\n"
    "  --paper SIZE  the paper for --print, --pdf and --text: A4, Letter or Legal\n"
    "  --footer TEXT the printed pages' footer (default \"Page - {$PAGE}\", the window's);\n"
    "                {$PAGE} is the page number, {$PAGECOUNT} the number of pages\n"
    "  --csv FILE    write the schedule as CSV: Payment, Amount, Principal, Interest,\n"
    "                Balance as plain numbers, and Due Date (yyyy-mm-dd) with --start\n"
    "  --extra AMOUNT[@N]  pay AMOUNT more with every payment from payment N on\n"
    "                (default 1)\n"
    "  --lump N:AMOUNT     pay AMOUNT more once, with payment N (may be repeated)\n"
    "  --keep-term   keep the term and lower the payment after each --lump instead\n"
    "                of ending sooner with the same payment\n"
    "  --yearly      the yearly totals instead of the rows (calendar years with\n"
    "                --start, else loan years of 12 or 52 payments)\n"
    "                With any of these four the table and the CSV gain an Extra\n"
    "                column after Principal, which holds the regular part only.\n"
    "\n"
    "Output: the lines 'Payment', 'Total Interest', 'Total Principal' and 'Total',\n"
    "each with its amount after a tab, then the table: the heading row and one row\n"
    "per payment, cells separated by tabs.\n"
    "\n"
    "Exit status: 0 done; 1 the calculation failed, a file could not be written\n"
    "or the print job could not be sent; 2 invalid input or usage.\n";

void Put(std::string& out, const QString& text) { out += text.toStdString(); }

// " 1", " 2", ... as ScheduleText::RowNumber writes them.
void PutRowNumber(std::string& out, int row) {
  char digits[16];
  int pos = sizeof digits;
  unsigned value = unsigned(row);
  do {
    digits[--pos] = char('0' + value % 10);
    value /= 10;
  } while (value != 0);
  digits[--pos] = ' ';
  out.append(digits + pos, sizeof digits - size_t(pos));
}

bool WantsPrinting(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray a(argv[i]);
    if (a == "--") break;
    if (a == "--start" || a == "--pdf" || a == "--text" || a == "--print" || a.startsWith("--print=")) return true;
  }
  return false;
}

// Lays the printed schedule out with a page printer set up as the window's,
// from the schedule already computed, and sends it to a PDF file, writes its
// text rendering and/or hands it to CUPS. Errors are thrown.
void PrintSchedule(const ScheduleOptions& options, const ScheduleDocument& document) {
  // The files are laid out on the PDF printer's sheet, also when only the text
  // is wanted: the text then does not depend on the printers this machine has
  // (and needs none). Its file is written only by a print job.
  const QPageSize::PageSizeId sheet = options.paper.value_or(LocalePaperSize(QLocale::system()));
  QTemporaryDir scratch;
  const QString pdfName = options.pdf.isEmpty() ? scratch.filePath(QStringLiteral("unused.pdf")) : options.pdf;
  // One printer for every output, as the window has: the heading's lasting
  // font size change carries from the text document into the PDF's.
  TPagePrinter printer(MakePdfPrinter(pdfName, 600, sheet));
  ApplySchedulePrinterSettings(printer);
  if (options.footer) printer.SetFooter(*options.footer);
  printer.SetShowProgress(false);
  if (!options.text.isEmpty()) {
    printer.SetPrintToFile(true);
    printer.SetFileName(options.text);
    BuildScheduleDocument(printer, document);
    printer.SetPrintToFile(false);
  }
  if (!options.pdf.isEmpty()) {
    BuildScheduleDocument(printer, document);
    if (!printer.Print()) throw Exception(QStringLiteral("Printing was canceled"));
  }
  if (options.print) {
    // The system printer the window's Print uses, on the queue asked for; the
    // component makes the copies, collated, as the window's Print does.
    printer.SetPrinter(MakeSystemPrinter(options.queue, options.paper ? QPageSize(*options.paper) : QPageSize()));
    printer.SetCopies(uint32_t(options.copies));
    // The queue is looked up in the background; the document is laid out on its page set-up.
    if (!printer.Printer()->WaitUntilReady()) throw Exception(QStringLiteral("Printing was canceled"));
    BuildScheduleDocument(printer, document);
    if (!printer.Print()) throw Exception(QStringLiteral("Printing was canceled"));
  }
}

// Hands the buffer to standard output once it has grown, so a long table is
// never held whole.
void Flush(std::string& out, size_t above) {
  if (out.size() <= above) return;
  std::fwrite(out.data(), 1, out.size(), stdout);
  out.clear();
}

int FinishOutput(std::string& out) {
  Flush(out, 0);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "tallyvane-schedule: could not write the output\n");
    return 1;
  }
  return 0;
}

// The table of either schedule: the heading row, then per payment its number,
// the amounts `amounts` lists and the balance (the last one the fixed text),
// cells separated by tabs; then the output is finished.
template <size_t N, class Row, class Amounts>
int WriteTable(std::string& out, const QString (&headings)[N], const std::vector<Row>& rows,
               const MoneyUtf8Writer& money, Amounts amounts) {
  for (size_t c = 0; c < N; ++c) {
    if (c) out += '\t';
    Put(out, headings[c]);
  }
  out += '\n';
  const std::string lastBalance = ScheduleText::kLastBalance.toStdString();
  const int count = int(rows.size());
  for (int i = 0; i < count; ++i) {
    const Row& r = rows[size_t(i)];
    PutRowNumber(out, i + 1);
    for (const Money m : amounts(r)) {
      out += '\t';
      money.Append(m, out);
    }
    out += '\t';
    if (i + 1 == count)
      out += lastBalance;
    else
      money.Append(r.balance, out);
    out += '\n';
    Flush(out, 1 << 16);
  }
  return FinishOutput(out);
}

// The schedule with extras: the summary with what the extras change, then the
// rows with their Extra column, or the yearly totals; the CSV likewise.
int WriteWithExtras(const ScheduleOptions& options, const LoanState& state, const ExtraPlan& plan,
                    PaymentFrequency frequency, const QDate& start, const FormatSettings& settings) {
  const ExtraSchedule schedule = BuildExtraSchedule(state, plan);
  const std::vector<YearTotals> years =
      options.yearly ? YearlyTotals(schedule, frequency, start) : std::vector<YearTotals>{};
  if (!options.csv.isEmpty()) {
    try {
      SaveFileSafely(options.csv,
                     options.yearly ? YearlyTotalsCsv(years) : ExtraScheduleCsv(schedule, start, frequency));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  std::string out;
  out.reserve(1 << 17);
  const auto line = [&](const char* caption, Money value) {
    Put(out, QString::fromLatin1(caption) + u'\t' + FormatMoney(value, settings) + u'\n');
  };
  line("Payment", schedule.regularPayment);
  if (schedule.finalRegularPayment != schedule.regularPayment) line("Lowered Payment", schedule.finalRegularPayment);
  line("Total Interest", schedule.totalInterest);
  line("Total Principal", schedule.totalPrincipal);
  line("Total Extra", schedule.totalExtra);
  line("Total", schedule.totalPaid);
  line("Interest Saved", schedule.interestSaved);
  Put(out, QStringLiteral("Payments\t%1\n").arg(schedule.PaymentCount()));
  const MoneyUtf8Writer money(settings);
  if (options.yearly) {
    for (int c = 0; c < 6; ++c) {
      if (c) out += '\t';
      Put(out, ExtraScheduleText::kYearHeadings[c]);
    }
    out += '\n';
    for (const YearTotals& y : years) {
      out += std::to_string(y.year) + '\t' + std::to_string(y.payments);
      for (const Money m : {y.payment, y.principal, y.interest, y.extra}) {
        out += '\t';
        money.Append(m, out);
      }
      out += '\n';
    }
    return FinishOutput(out);
  }
  return WriteTable(out, ExtraScheduleText::kHeadings, schedule.rows, money, [](const ExtraRow& r) {
    return std::array<Money, 4>{r.payment, r.principal, r.extra, r.interest};
  });
}

}  // namespace

// Qt's own diagnostics (runtime-directory notes, painter warnings) are not
// this tool's messages; its errors are reported by the code below.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

namespace {

int Run(int argc, char** argv) {
  qInstallMessageHandler(QuietQtMessages);
  // Printing lays pages out with the page printer component, which needs
  // the GUI library; it runs on the offscreen platform, so no display is needed.
  const bool printing = WantsPrinting(argc, argv);
  if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QCoreApplication> app =
      printing ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
  if (printing) {
    InstallFontSubstitutions();
    KeepHeapTopForPrinting();
  }
  const FormatSettings settings = FormatSettings::FromLocale(QLocale::system());
  FormatSettings::SetCurrent(settings);

  ScheduleOptions options;
  QString error;
  QList<QByteArray> rawArguments;
  for (int i = 0; i < argc; ++i) rawArguments << QByteArray(argv[i]);
  if (!ParseScheduleOptions(rawArguments, options, error)) {
    std::fprintf(stderr, "tallyvane-schedule: %s\n\n%s", error.toLocal8Bit().constData(), kUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("tallyvane-schedule %s\n", TALLYVANE_VERSION_TEXT);
    return 0;
  }

  LoanInputTexts texts;
  texts.amount = options.positional[0];
  texts.interest = options.positional[1];
  texts.payments = options.positional[2];
  texts.frequency = options.weekly ? PaymentFrequency::Weekly : PaymentFrequency::Monthly;

  if (const std::optional<LoanField> failing = CheckInputs(texts, settings)) {
    std::fprintf(stderr, "%s\n", InputErrorMessage(*failing).trimmed().toLocal8Bit().constData());
    return 2;
  }

  QDate start;
  if (!options.start.isEmpty() && !TryStrToDate(options.start, start, settings)) {
    std::fprintf(stderr, "Invalid starting date! Printing canceled.\n");
    return 2;
  }

  ExtraPlan plan;
  if (options.WithExtras() && !ReadExtraPlan(options, plan, error, settings)) {
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return 2;
  }

  LoanState state;
  Schedule schedule;
  try {
    ReadInputsAndComputePayment(texts, state, settings);
    if (options.WithExtras()) {
      if (const std::optional<QString> refusal = CheckExtraPlan(plan, state)) {
        std::fprintf(stderr, "%s\n", refusal->toLocal8Bit().constData());
        return 2;
      }
      return WriteWithExtras(options, state, plan, texts.frequency, start, settings);
    }
    schedule = BuildSchedule(state);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }

  if (printing) {
    try {
      PrintSchedule(options,
                    ScheduleDocumentFor(schedule, state.LoanAmount, texts.interest, texts.frequency, start, settings));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }

  if (!options.csv.isEmpty()) {
    try {
      SaveFileSafely(options.csv, ScheduleCsv(schedule, start, texts.frequency));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }

  // The table: the same cells as ScheduleText::Cell, written as UTF-8 into one
  // buffer that is handed to the output a chunk at a time and reused.
  std::string out;
  out.reserve(1 << 17);
  Put(out, QStringLiteral("Payment\t") + FormatMoney(schedule.paymentAmount, settings) + u'\n');
  Put(out, QStringLiteral("Total Interest\t") + FormatMoney(schedule.totalInterest, settings) + u'\n');
  Put(out, QStringLiteral("Total Principal\t") + FormatMoney(schedule.totalPrincipal, settings) + u'\n');
  Put(out, QStringLiteral("Total\t") + FormatMoney(schedule.totalPaid, settings) + u'\n');
  const MoneyUtf8Writer money(settings);
  return WriteTable(out, ScheduleText::kHeadings, schedule.rows, money, [](const ScheduleRow& r) {
    return std::array<Money, 3>{r.payment, r.principal, r.interest};
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int code = Run(argc, argv);
  // A print given up on (a server that stopped answering) gets a moment to withdraw its half-made job.
  cups::WaitForGivenUpRequests(3000);
  return code;
}
