#include "ScheduleDocument.h"

#include "DueDates.h"
#include "PagePrnt.h"

QString LoanLine(Money loanAmount, const QString& interestText, const QString& paymentCaption, bool weekly) {
  return QStringLiteral("Loan Amount: ") + FormatMoney(loanAmount) + QStringLiteral("   Interest: ") + interestText +
         QStringLiteral("% annually") + QStringLiteral("   Payments: ") + paymentCaption +
         (weekly ? QStringLiteral(" (weekly)") : QStringLiteral(" (monthly)"));
}

void WriteScheduleHeading(TPagePrinter& printer, const QString& loanLine) {
  TFont& font = printer.Font();
  font.SetStyle(fsBold);
  printer.WriteLine(QString());
  printer.WriteLineAligned(taCenter, loanLine);
  font.SetStyle(0);
  font.SetSize(9);
  printer.WriteLine(QStringLiteral(" "));
  font.SetStyle(font.Style() | fsItalic | fsUnderline);
  printer.WriteTableLine(QStringLiteral("Due Date|Payment|Principal|Interest|Balance"));
  font.SetStyle(0);
  printer.WriteLine(QStringLiteral(" "));
}

void WriteScheduleRows(TPagePrinter& printer, const QDate& start, PaymentFrequency frequency, int gridRows,
                       const std::function<QString(int column, int row)>& cell) {
  QDate due = start;
  const QString bar = QStringLiteral("|");
  for (int i = 1; i < gridRows; ++i) {
    printer.WriteTableLine(FormatDueDate(due) + bar + cell(1, i) + bar + cell(2, i) + bar + cell(3, i) + bar +
                           cell(4, i));
    due = NextDueDate(due, frequency);
  }
}

void WriteLoanDetail(TPagePrinter& printer, const QString& totalAmount, const QString& totalPrincipal,
                     const QString& totalInterest) {
  printer.WriteLine(QString());
  TFont& font = printer.Font();
  font.SetStyle(font.Style() | fsBold);
  printer.WriteTableLine(QStringLiteral("Totals|") + totalAmount + u'|' + totalPrincipal + u'|' + totalInterest +
                         QStringLiteral("| "));
}
