#pragma once
// The printed schedule, written through a page printer: the heading block at
// the top of every page, one table line per payment with its due date, and the
// totals row. The main window and the command-line companion both build their
// documents with these routines.
#include <QDate>
#include <QString>
#include <functional>

#include "Loan.h"

class TPagePrinter;

// "Loan Amount: $1,000.00   Interest: 12% annually   Payments: $88.85 (monthly)"
QString LoanLine(Money loanAmount, const QString& interestText, const QString& paymentCaption, bool weekly);

// The top of each page: a blank line, the loan line centred in bold, then the
// body font at 9 points (a lasting change), a blank, the underlined italic
// column heading and another blank.
void WriteScheduleHeading(TPagePrinter& printer, const QString& loanLine);

// One line per schedule row (grid rows 1 .. gridRows - 1) with its due date.
// cell(column, row) gives the grid's texts.
void WriteScheduleRows(TPagePrinter& printer, const QDate& start, PaymentFrequency frequency, int gridRows,
                       const std::function<QString(int column, int row)>& cell);

// A blank line and the bold totals row.
void WriteLoanDetail(TPagePrinter& printer, const QString& totalAmount, const QString& totalPrincipal,
                     const QString& totalInterest);
