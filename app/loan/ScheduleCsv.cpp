// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleCsv.h"

#include <array>

#include "DueDates.h"

QByteArray PlainMoney(Money value) {
  // Unsigned magnitude: the most negative count has no positive counterpart.
  const bool negative = value.count < 0;
  const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(value.count) : uint64_t(value.count);
  const uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  QByteArray text;
  if (negative && cents != 0) text += '-';
  text += QByteArray::number(qulonglong(cents / 100));
  text += '.';
  const int fraction = int(cents % 100);
  text += char('0' + fraction / 10);
  text += char('0' + fraction % 10);
  return text;
}

namespace {
// The rows of either schedule: the payment number, the due date with a first
// due date, then the row's amounts as `amounts` lists them.
template <class Row, class Amounts>
QByteArray RowsCsv(const std::vector<Row>& rows, const char* heading, const char* headingWithDates, qsizetype rowSize,
                   const QDate& firstDueDate, PaymentFrequency frequency, Amounts amounts) {
  const bool withDates = firstDueDate.isValid();
  QByteArray csv;
  csv.reserve(64 + qsizetype(rows.size()) * (rowSize + (withDates ? 12 : 0)));
  csv += withDates ? headingWithDates : heading;
  QDate due = firstDueDate;
  const size_t count = rows.size();
  for (size_t i = 0; i < count; ++i) {
    csv += QByteArray::number(qulonglong(i) + 1);
    if (withDates) {
      csv += ',';
      // Dates past year 9999 have no four-digit form; the cell stays empty.
      if (due.isValid() && due.year() <= 9999) csv += due.toString(Qt::ISODate).toLatin1();
      due = NextDueDate(due, frequency);
    }
    for (Money m : amounts(rows[i])) {
      csv += ',';
      csv += PlainMoney(m);
    }
    csv += "\r\n";
  }
  return csv;
}
}  // namespace

QByteArray ScheduleCsv(const Schedule& schedule, const QDate& firstDueDate, PaymentFrequency frequency) {
  return RowsCsv(schedule.rows, "Payment,Amount,Principal,Interest,Balance\r\n",
                 "Payment,Due Date,Amount,Principal,Interest,Balance\r\n", 52, firstDueDate, frequency,
                 [](const ScheduleRow& r) {
                   return std::array<Money, 4>{r.payment, r.principal, r.interest, r.balance};
                 });
}

QByteArray ExtraScheduleCsv(const ExtraSchedule& schedule, const QDate& firstDueDate, PaymentFrequency frequency) {
  return RowsCsv(schedule.rows, "Payment,Amount,Principal,Extra,Interest,Balance\r\n",
                 "Payment,Due Date,Amount,Principal,Extra,Interest,Balance\r\n", 60, firstDueDate, frequency,
                 [](const ExtraRow& r) {
                   return std::array<Money, 5>{r.payment, r.principal, r.extra, r.interest, r.balance};
                 });
}

QByteArray YearlyTotalsCsv(const std::vector<YearTotals>& years) {
  QByteArray csv = "Year,Payments,Payment,Principal,Interest,Extra\r\n";
  for (const YearTotals& y : years) {
    csv += QByteArray::number(y.year) + ',' + QByteArray::number(y.payments);
    for (Money m : {y.payment, y.principal, y.interest, y.extra}) {
      csv += ',';
      csv += PlainMoney(m);
    }
    csv += "\r\n";
  }
  return csv;
}
