// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The printed schedule, written through a page printer from plain data: the
// heading block at the top of every page, one table line per payment with its
// due date, and the totals row. The main window fills the data from what it
// shows; the command-line companion from the schedule it computed.
#include <QDate>
#include <QString>
#include <functional>

#include "Conversions.h"
#include "Loan.h"

class TPagePrinter;

// The parts of the loan line at the top of every page.
struct LoanLineParts {
  Money loanAmount;
  QString interestText;    // the annual rate as typed
  QString paymentCaption;  // the periodic payment as shown
  PaymentFrequency frequency = PaymentFrequency::Monthly;
};

// The payment rows: the schedule's texts as the table shows them, each with its
// due date. No schedule, or one without rows, is the cleared table: one row of
// empty cells.
struct ScheduleRowsInput {
  const Schedule* schedule = nullptr;
  FormatSettings format = FormatSettings::Current();
  QDate firstDueDate;
  PaymentFrequency frequency = PaymentFrequency::Monthly;
};

// The totals row's texts.
struct ScheduleTotalsText {
  QString totalPaid;
  QString totalPrincipal;
  QString totalInterest;
};

struct ScheduleDocument {
  LoanLineParts loan;
  ScheduleRowsInput rows;
  ScheduleTotalsText totals;
};

// The document of a computed schedule, formatted with `format`.
ScheduleDocument ScheduleDocumentFor(const Schedule& schedule, Money loanAmount, const QString& interestText,
                                     PaymentFrequency frequency, const QDate& firstDueDate,
                                     const FormatSettings& format = FormatSettings::Current());

// "Loan Amount: $1,000.00   Interest: 12% annually   Payments: $88.85 (monthly)"
QString LoanLine(const LoanLineParts& loan, const FormatSettings& fs = FormatSettings::Current());

// The top of each page: a blank line, the loan line centred in bold, then the
// body font at 9 points (a lasting change), a blank, the underlined italic
// column heading and another blank.
void WriteScheduleHeading(TPagePrinter& printer, const LoanLineParts& loan,
                          const FormatSettings& fs = FormatSettings::Current());
// The same top of the page over other columns ("Due Date|Payment|...", cells
// separated by bars).
void WriteScheduleHeading(TPagePrinter& printer, const LoanLineParts& loan, const QString& columnHeading,
                          const FormatSettings& fs = FormatSettings::Current());

// One table line per payment row, with its due date.
void WriteScheduleRows(TPagePrinter& printer, const ScheduleRowsInput& rows);

// A blank line and the bold totals row.
void WriteLoanDetail(TPagePrinter& printer, const ScheduleTotalsText& totals);

// The settings the main window stores for its page printer: fonts, title,
// header, footer, table format and margins.
void ApplySchedulePrinterSettings(TPagePrinter& printer);

// Who writes the heading on each new page and the totals row. Empty ones write
// the document's own texts; the main window passes its published handlers,
// which write the same texts from its snapshot.
struct ScheduleDocumentWriters {
  std::function<void()> heading;
  std::function<void()> totals;
};

// The one builder of the printed schedule, for Print, Save as PDF and the
// companion: BeginDoc .. EndDoc of the whole document, the heading written on
// every page (its amount formatted like the rows). The printer's own OnNewPage
// handler is restored afterwards, and a failure leaves no document open.
void BuildScheduleDocument(TPagePrinter& printer, const ScheduleDocument& document,
                           const ScheduleDocumentWriters& writers = {});
