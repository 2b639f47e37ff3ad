// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "DueDates.h"

const int DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

QDate NextDueDate(const QDate& current, PaymentFrequency frequency) {
  if (frequency == PaymentFrequency::Weekly) return current.addDays(7);
  return current.addDays(DaysInMonth[current.month() - 1]);
}

QString FormatDueDate(const QDate& date, const FormatSettings& fs) {
  const int year = date.year();
  if (!date.isValid() || year <= 0) {
    // Rare dates go through the general formatting; the pattern reads only the
    // date, so the moment is taken in UTC rather than through the time zone.
    return FormatDateTime(QStringLiteral("mm/dd/yyyy"), QDateTime(date, QTime(0, 0), Qt::UTC), fs);
  }
  // Every printed row has a due date: composed directly, as the pattern would be.
  char16_t digits[24];
  int pos = 24;
  int rest = year;
  do {
    digits[--pos] = char16_t(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  while (pos > 20) digits[--pos] = u'0';
  const int month = date.month(), day = date.day();
  const char16_t monthDay[5] = {char16_t(u'0' + month / 10), char16_t(u'0' + month % 10), fs.dateSeparator.unicode(),
                                char16_t(u'0' + day / 10), char16_t(u'0' + day % 10)};
  QString text;
  text.reserve(6 + 24 - pos);
  text.append(QStringView(monthDay, 5));
  text.append(fs.dateSeparator);
  text.append(QStringView(digits + pos, 24 - pos));
  return text;
}
