// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The locale-aware conversions between text and numbers, money and dates.
// Every conversion takes the regional settings it uses.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "FormatSettings.h"
#include "tallyvane_platform_export.h"

// Text to extended float with the platform's grammar: optional blanks, sign,
// digits with at most one decimal separator (at least one digit or the
// separator), optional exponent, optional blanks, nothing else. Blanks are
// spaces (U+0020) only; tabs and other control characters are rejected. Only
// the ASCII digits count. Rejects values beyond the 80-bit extended range;
// values too small for it become the nearest representable value (subnormal
// or zero). Never throws.
TALLYVANE_PLATFORM_EXPORT bool TryTextToFloat(const QString& text, long double& value, const FormatSettings& fs = FormatSettings::Current());
// The same, raising EConvertError "'%s' is not a valid floating point value".
TALLYVANE_PLATFORM_EXPORT long double StrToFloat(const QString& text, const FormatSettings& fs = FormatSettings::Current());
// Whole number: optional blanks, sign, decimal digits, nothing after; must fit 32 bits.
// Raises EConvertError "'%s' is not a valid integer value".
TALLYVANE_PLATFORM_EXPORT int32_t StrToInt(const QString& text);
TALLYVANE_PLATFORM_EXPORT bool TryStrToInt(const QString& text, int32_t& value);

// General number format: at most 15 significant digits, no trailing zeros, the
// settings' decimal separator; exponent notation ("1.5E20", "1E-5") when the
// decimal exponent is 15 or more, or below -4. NaN and infinities give "NAN",
// "INF" and "-INF".
TALLYVANE_PLATFORM_EXPORT QString FloatToStrGeneral(long double value, const FormatSettings& fs = FormatSettings::Current());
// Fixed-point with `decimals` decimals (0..18) after the value was taken to
// `precision` significant digits (1..18); rounding is half away from zero on the
// value's 18-digit decimal form. A value with more integer digits than
// `precision` falls back to the general format. No grouping.
TALLYVANE_PLATFORM_EXPORT QString FloatToStrFixed(long double value, int precision, int decimals,
                        const FormatSettings& fs = FormatSettings::Current());
// FloatToStrFixed with precision 18.
TALLYVANE_PLATFORM_EXPORT QString FormatFixed(long double value, int decimals, const FormatSettings& fs = FormatSettings::Current());
// Currency: grouping, the settings' decimal separator and currency forms, the given decimals
// (precision 18, half away from zero). A value that rounds to zero is never shown negative.
TALLYVANE_PLATFORM_EXPORT QString FormatCurrency(long double value, int decimals, const FormatSettings& fs = FormatSettings::Current());
// The regional decoration of an amount whose digits are already exact: groups
// integerDigits (ASCII digits; leading zeros dropped, empty means 0), adds the
// decimal separator and fractionDigits when there are any, and places the
// currency symbol and sign by currencyFormat or negCurrFormat.
TALLYVANE_PLATFORM_EXPORT QString ApplyCurrencyFormat(bool negative, const QString& integerDigits, const QString& fractionDigits,
                            const FormatSettings& fs = FormatSettings::Current());
// The same into a caller's string, reusing its storage (bulk formatting of table cells).
TALLYVANE_PLATFORM_EXPORT void ApplyCurrencyFormatTo(QString& out, bool negative, QStringView integerDigits, QStringView fractionDigits,
                           const FormatSettings& fs = FormatSettings::Current());

// Short-date conversion in the settings' order and separator: day and month of
// one or two digits, a year of two or four digits, spaces allowed around each
// number, and a closing separator where the settings' short date ends in one;
// false when the text is not a valid date (year 1..9999).
TALLYVANE_PLATFORM_EXPORT bool TryStrToDate(const QString& text, QDate& date, const FormatSettings& fs = FormatSettings::Current());
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
