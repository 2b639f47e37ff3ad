// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Short dates read in the regional order, and the date/time patterns.
#include <QDate>
#include <QDateTime>
#include <QString>

#include "FormatSettings.h"
#include "tallyvane_platform_export.h"

// Short-date conversion in the settings' order and separator: day and month of
// one or two digits, a year of two or four digits, spaces allowed around each
// number, and a closing separator where the settings' short date ends in one;
// false when the text is not a valid date (year 1..9999).
TALLYVANE_PLATFORM_EXPORT bool TryStrToDate(const QString& text, QDate& date,
                                            const FormatSettings& fs = FormatSettings::Current());
// The same, raising EConvertError "'%s' is not a valid date".
TALLYVANE_PLATFORM_EXPORT QDate StrToDate(const QString& text, const FormatSettings& fs = FormatSettings::Current());
// Two-digit years fall in the hundred years from 50 years before the current
// year to 49 years after it (in 2025: 75..99 -> 1975..1999, 00..74 -> 2000..2074).
TALLYVANE_PLATFORM_EXPORT int ExpandTwoDigitYear(int twoDigitYear, int currentYear);
// Date/time patterns (codes are case-insensitive): "ddddd" short date, "dddddd" long date,
// "t" short time, "tt" long time, "c" short date and long time; d, dd, ddd, dddd (day,
// day names), m, mm, mmm, mmmm (month, month names; minutes right after an h code),
// yy, yyyy, h, hh (12-hour when the pattern has am/pm, a/p or ampm), n, nn, s, ss,
// z, zzz, "/" date separator, ":" time separator, text in single or double quotes.
TALLYVANE_PLATFORM_EXPORT QString FormatDateTime(const QString& pattern, const QDateTime& moment,
                                                 const FormatSettings& fs = FormatSettings::Current());
