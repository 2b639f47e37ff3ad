#include "DueDates.h"

const int DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

QDate NextDueDate(const QDate& current, PaymentFrequency frequency) {
  if (frequency == PaymentFrequency::Weekly) return current.addDays(7);
  return current.addDays(DaysInMonth[current.month() - 1]);
}

QString FormatDueDate(const QDate& date, const FormatSettings& fs) {
  return FormatDateTime(QStringLiteral("mm/dd/yyyy"), QDateTime(date, QTime(0, 0)), fs);
}
