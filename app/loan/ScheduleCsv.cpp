// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleCsv.h"

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

QByteArray ScheduleCsv(const Schedule& schedule, const QDate& firstDueDate, PaymentFrequency frequency) {
  const bool withDates = firstDueDate.isValid();
  QByteArray csv;
  csv.reserve(64 + qsizetype(schedule.rows.size()) * (withDates ? 64 : 52));
  csv += withDates ? "Payment,Due Date,Amount,Principal,Interest,Balance\r\n"
                   : "Payment,Amount,Principal,Interest,Balance\r\n";
  QDate due = firstDueDate;
  const size_t count = schedule.rows.size();
  for (size_t i = 0; i < count; ++i) {
    const ScheduleRow& row = schedule.rows[i];
    csv += QByteArray::number(qulonglong(i) + 1);
    if (withDates) {
      csv += ',';
      // Dates past year 9999 have no four-digit form; the cell stays empty.
      if (due.isValid() && due.year() <= 9999) csv += due.toString(Qt::ISODate).toLatin1();
      due = NextDueDate(due, frequency);
    }
    for (Money m : {row.payment, row.principal, row.interest, row.balance}) {
      csv += ',';
      csv += PlainMoney(m);
    }
    csv += "\r\n";
  }
  return csv;
}

QByteArray ExtraScheduleCsv(const ExtraSchedule& schedule, const QDate& firstDueDate, PaymentFrequency frequency) {
  const bool withDates = firstDueDate.isValid();
  QByteArray csv;
  csv.reserve(64 + qsizetype(schedule.rows.size()) * (withDates ? 72 : 60));
  csv += withDates ? "Payment,Due Date,Amount,Principal,Extra,Interest,Balance\r\n"
                   : "Payment,Amount,Principal,Extra,Interest,Balance\r\n";
  QDate due = firstDueDate;
  const size_t count = schedule.rows.size();
  for (size_t i = 0; i < count; ++i) {
    const ExtraRow& row = schedule.rows[i];
    csv += QByteArray::number(qulonglong(i) + 1);
    if (withDates) {
      csv += ',';
      if (due.isValid() && due.year() <= 9999) csv += due.toString(Qt::ISODate).toLatin1();
      due = NextDueDate(due, frequency);
    }
    for (Money m : {row.payment, row.principal, row.extra, row.interest, row.balance}) {
      csv += ',';
      csv += PlainMoney(m);
    }
    csv += "\r\n";
  }
  return csv;
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
