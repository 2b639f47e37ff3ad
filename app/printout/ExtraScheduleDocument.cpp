// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ExtraScheduleDocument.h"

#include "DueDates.h"
#include "PagePrnt.h"

namespace {
// Six columns over the 7.5 inches the main printout's five take.
const QString kSixColumns = QStringLiteral(">1.25|>1.25|>1.25|>1.25|>1.25|>1.25");

void WriteRows(TPagePrinter& printer, const ExtraScheduleDocument& document) {
  const QString bar = QStringLiteral("|");
  const FormatSettings& fs = document.format;
  const std::vector<ExtraRow>& rows = document.schedule->rows;
  QDate due = document.firstDueDate;
  const size_t count = rows.size();
  for (size_t i = 0; i < count; ++i) {
    const ExtraRow& r = rows[i];
    QString line = FormatDueDate(due, fs);
    for (const Money m : {r.payment, r.principal, r.extra, r.interest}) line += bar + FormatMoney(m, fs);
    line += bar + (i + 1 == count ? ScheduleText::kLastBalance : FormatMoney(r.balance, fs));
    printer.WriteTableLine(line);
    due = NextDueDate(due, document.frequency);
  }
}

void WriteTotalsLine(TPagePrinter& printer, const QString& line) {
  printer.WriteLine(QString());
  TFont& font = printer.Font();
  font.SetStyle(font.Style() | fsBold);
  printer.WriteTableLine(line);
  font.SetStyle(0);
}
}  // namespace

QString ExtraScheduleColumnHeading() { return QStringLiteral("Due Date|Payment|Principal|Extra|Interest|Balance"); }
QString YearlyTotalsColumnHeading() { return QStringLiteral("Year|Payments|Payment|Principal|Interest|Extra"); }

void BuildExtraScheduleDocument(TPagePrinter& printer, const ExtraScheduleDocument& document) {
  struct Restore {
    TPagePrinter& printer;
    TNotifyEvent previous;
    QString tableFormat;
    ~Restore() {
      printer.SetOnNewPage(std::move(previous));
      printer.SetTableFormat(tableFormat);
    }
  } restore{printer, printer.OnNewPage(), printer.TableFormat()};
  const FormatSettings& fs = document.format;
  QString columns = ExtraScheduleColumnHeading();
  printer.SetOnNewPage([&](QObject*) { WriteScheduleHeading(printer, document.loan, columns, fs); });
  printer.SetTableFormat(kSixColumns);
  try {
    printer.BeginDoc();
    if (document.schedule && !document.schedule->rows.empty()) {
      const ExtraSchedule& s = *document.schedule;
      WriteRows(printer, document);
      WriteTotalsLine(printer, QStringLiteral("Totals|") + FormatMoney(s.totalPaid, fs) + u'|' +
                                   FormatMoney(s.totalPrincipal, fs) + u'|' + FormatMoney(s.totalExtra, fs) + u'|' +
                                   FormatMoney(s.totalInterest, fs) + QStringLiteral("| "));
      // The yearly totals start a page of their own, under their own headings.
      columns = YearlyTotalsColumnHeading();
      printer.NewPage();
      YearTotals all;
      for (const YearTotals& y : document.years) {
        printer.WriteTableLine(QString::number(y.year) + u'|' + QString::number(y.payments) + u'|' +
                               FormatMoney(y.payment, fs) + u'|' + FormatMoney(y.principal, fs) + u'|' +
                               FormatMoney(y.interest, fs) + u'|' + FormatMoney(y.extra, fs));
        all.payments += y.payments;
        all.payment += y.payment;
        all.principal += y.principal;
        all.interest += y.interest;
        all.extra += y.extra;
      }
      WriteTotalsLine(printer, QStringLiteral("Totals|") + QString::number(all.payments) + u'|' +
                                   FormatMoney(all.payment, fs) + u'|' + FormatMoney(all.principal, fs) + u'|' +
                                   FormatMoney(all.interest, fs) + u'|' + FormatMoney(all.extra, fs));
    }
    printer.EndDoc();
  } catch (...) {
    if (printer.DocumentOpen()) {
      try {
        printer.EndDoc();
      } catch (...) {
      }
    }
    throw;
  }
}
