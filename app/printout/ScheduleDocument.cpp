// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleDocument.h"

#include <QVariant>
#include <utility>

#include "DueDates.h"
#include "FormLoading.h"
#include "PagePrnt.h"

ScheduleDocument ScheduleDocumentFor(const Schedule& schedule, Money loanAmount, const QString& interestText,
                                     PaymentFrequency frequency, const QDate& firstDueDate,
                                     const FormatSettings& format) {
  ScheduleDocument document;
  document.loan = {loanAmount, interestText, FormatMoney(schedule.paymentAmount, format), frequency};
  document.rows = {&schedule, format, firstDueDate, frequency};
  document.totals = {FormatMoney(schedule.totalPaid, format), FormatMoney(schedule.totalPrincipal, format),
                     FormatMoney(schedule.totalInterest, format)};
  return document;
}

QString LoanLine(const LoanLineParts& loan, const FormatSettings& fs) {
  return QStringLiteral("Loan Amount: ") + FormatMoney(loan.loanAmount, fs) + QStringLiteral("   Interest: ") +
         loan.interestText + QStringLiteral("% annually") + QStringLiteral("   Payments: ") + loan.paymentCaption +
         (loan.frequency == PaymentFrequency::Weekly ? QStringLiteral(" (weekly)") : QStringLiteral(" (monthly)"));
}

void WriteScheduleHeading(TPagePrinter& printer, const LoanLineParts& loan, const FormatSettings& fs) {
  WriteScheduleHeading(printer, loan, QStringLiteral("Due Date|Payment|Principal|Interest|Balance"), fs);
}

void WriteScheduleHeading(TPagePrinter& printer, const LoanLineParts& loan, const QString& columnHeading,
                          const FormatSettings& fs) {
  TFont& font = printer.Font();
  font.SetStyle(fsBold);
  printer.WriteLine(QString());
  printer.WriteLineAligned(taCenter, LoanLine(loan, fs));
  font.SetStyle(0);
  font.SetSize(9);
  printer.WriteLine(QStringLiteral(" "));
  font.SetStyle(font.Style() | fsItalic | fsUnderline);
  printer.WriteTableLine(columnHeading);
  font.SetStyle(0);
  printer.WriteLine(QStringLiteral(" "));
}

void WriteScheduleRows(TPagePrinter& printer, const ScheduleRowsInput& rows) {
  const QString bar = QStringLiteral("|");
  const Schedule* schedule = rows.schedule;
  if (!schedule || schedule->rows.empty()) {
    // The cleared table still has its one row of empty cells.
    printer.WriteTableLine(FormatDueDate(rows.firstDueDate, rows.format) + bar + bar + bar + bar);
    return;
  }
  QDate due = rows.firstDueDate;
  const int count = int(schedule->rows.size());
  for (int i = 0; i < count; ++i) {
    QString line = FormatDueDate(due, rows.format);
    for (int column = 1; column <= 4; ++column) line += bar + ScheduleText::Cell(*schedule, i, column, rows.format);
    printer.WriteTableLine(line);
    due = NextDueDate(due, rows.frequency);
  }
}

void WriteLoanDetail(TPagePrinter& printer, const ScheduleTotalsText& totals) {
  printer.WriteLine(QString());
  TFont& font = printer.Font();
  font.SetStyle(font.Style() | fsBold);
  printer.WriteTableLine(QStringLiteral("Totals|") + totals.totalPaid + u'|' + totals.totalPrincipal + u'|' +
                         totals.totalInterest + QStringLiteral("| "));
}

void ApplySchedulePrinterSettings(TPagePrinter& printer) {
  // Applied the way a stored window description loads them: in this order,
  // while the component is loading.
  static const std::pair<const char*, QVariant> kSettings[] = {
      {"AutoFooterFont", false},
      {"AutoHeaderFont", false},
      {"MarginBottom", 0.5},
      {"MarginLeft", 0.5},
      {"MarginRight", 0.5},
      {"MarginTop", 0.5},
      {"ShowMargins", false},
      {"Footer", QStringLiteral("Page - {$PAGE}")},
      {"FooterFormat", QStringLiteral(">5")},
      {"Header", QStringLiteral("{$TITLE}|{$DATE}")},
      {"HeaderFormat", QStringLiteral("^4|>2")},
      {"TableFormat", QStringLiteral(">1.5|>1.5|>1.5|>1.5|>1.5")},
      {"Title", QStringLiteral("Amortization Schedule")},
      {"BodyFontText", QStringLiteral("Courier New,-13,regular,clWindowText")},
      {"HeaderFontText", QStringLiteral("Courier New,-13,bold,clWindowText")},
      {"FooterFontText", QStringLiteral("Courier New,-11,italic,clWindowText")},
  };
  FormLoading loading;
  loading.Adopt(&printer);
  for (const auto& [name, value] : kSettings) printer.setProperty(name, value);
  loading.Finish();
}

void BuildScheduleDocument(TPagePrinter& printer, const ScheduleDocument& document,
                           const ScheduleDocumentWriters& writers) {
  struct RestoreHandler {
    TPagePrinter& printer;
    TNotifyEvent previous;
    ~RestoreHandler() { printer.SetOnNewPage(std::move(previous)); }
  } restore{printer, printer.OnNewPage()};
  if (writers.heading)
    printer.SetOnNewPage([&](QObject*) { writers.heading(); });
  else
    printer.SetOnNewPage([&](QObject*) { WriteScheduleHeading(printer, document.loan, document.rows.format); });
  try {
    printer.BeginDoc();
    WriteScheduleRows(printer, document.rows);
    if (writers.totals)
      writers.totals();
    else
      WriteLoanDetail(printer, document.totals);
    printer.EndDoc();
  } catch (...) {
    // Leave no document half-open behind a failure.
    if (printer.DocumentOpen()) {
      try {
        printer.EndDoc();
      } catch (...) {
      }
    }
    throw;
  }
}
