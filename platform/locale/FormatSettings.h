// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Regional settings: separators, currency forms, date and time formats and
// names. Current() is read from the system locale at start-up (tests pin en_US).
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "tallyvane_platform_export.h"

struct TALLYVANE_PLATFORM_EXPORT FormatSettings {
  QChar decimalSeparator = '.';
  // A null QChar switches digit grouping off.
  QChar thousandSeparator = ',';
  QString currencyString = QStringLiteral("$");
  // Positive currency form: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int currencyFormat = 0;
  // Negative currency form, 0..15, as the Windows regional settings number them:
  // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
  // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int negCurrFormat = 0;
  // Date and time formats are FormatDateTime patterns. "/" in them stands for
  // dateSeparator and ":" for timeSeparator. The order of the first d, m and y
  // codes in shortDateFormat is the order in which TryStrToDate reads a date.
  QChar dateSeparator = '/';
  QString shortDateFormat = QStringLiteral("M/d/yyyy");           // "ddddd"
  QString longDateFormat = QStringLiteral("dddd, MMMM d, yyyy");  // "dddddd"
  QChar timeSeparator = ':';
  QString shortTimeFormat = QStringLiteral("h:nn AMPM");    // "t"
  QString longTimeFormat = QStringLiteral("h:nn:ss AMPM");  // "tt"
  QString timeAMString = QStringLiteral("AM");
  QString timePMString = QStringLiteral("PM");
  // Month names January first; day names Monday first (as QDate::dayOfWeek counts).
  QStringList shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  QStringList longMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                "July",    "August",   "September", "October", "November", "December"};
  QStringList shortDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  QStringList longDayNames = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

  static FormatSettings FromLocale(const QLocale& locale);
  static const FormatSettings& Current();
  static void SetCurrent(const FormatSettings& settings);
};
