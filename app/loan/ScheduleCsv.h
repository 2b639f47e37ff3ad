// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The schedule as comma-separated values (RFC 4180, UTF-8, CR LF) for
// spreadsheets: plain numbers taken from the money values, not from the
// regional texts the table shows.
#include <QByteArray>
#include <QDate>

#include "ExtraPayments.h"
#include "Loan.h"

// Money in cents as plain text: two decimals, "." separator, "-" sign, no
// grouping or currency. The four-decimal value is rounded to the cent half
// away from zero, as the table's currency texts are, so both show the same
// amount; a value that rounds to zero is "0.00".
QByteArray PlainMoney(Money value);

// Heading row "Payment,Amount,Principal,Interest,Balance" and one row per
// payment. With a valid first due date, a "Due Date" column (yyyy-MM-dd)
// follows the payment number, stepped as the printed schedule steps it.
QByteArray ScheduleCsv(const Schedule& schedule, const QDate& firstDueDate = QDate(),
                       PaymentFrequency frequency = PaymentFrequency::Monthly);

// The schedule with extras: as ScheduleCsv, with an "Extra" column after
// "Principal" (Principal holds the regular part only).
QByteArray ExtraScheduleCsv(const ExtraSchedule& schedule, const QDate& firstDueDate = QDate(),
                            PaymentFrequency frequency = PaymentFrequency::Monthly);

// "Year,Payments,Payment,Principal,Interest,Extra" and one row per year.
QByteArray YearlyTotalsCsv(const std::vector<YearTotals>& years);
