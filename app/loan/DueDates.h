// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Due dates of a printed schedule. Monthly dates step by a fixed table of month
// lengths in which February always has 28 days, so they drift off the calendar
// month after a leap February or from a day past the 28th; weekly dates step by 7.
#include <QDate>
#include <QString>

#include "Conversions.h"
#include "Loan.h"

extern const int DaysInMonth[12];

QDate NextDueDate(const QDate& current, PaymentFrequency frequency);
// "mm/dd/yyyy" with the regional date separator.
QString FormatDueDate(const QDate& date, const FormatSettings& fs = FormatSettings::Current());
