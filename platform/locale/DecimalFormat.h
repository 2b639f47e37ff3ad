// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Numbers and money to text: the general, fixed and currency formats.
#include <QString>
#include <QStringView>

#include "FormatSettings.h"
#include "tallyvane_platform_export.h"

// General number format: at most 15 significant digits, no trailing zeros, the
// settings' decimal separator; exponent notation ("1.5E20", "1E-5") when the
// decimal exponent is 15 or more, or below -4. NaN and infinities give "NAN",
// "INF" and "-INF".
TALLYVANE_PLATFORM_EXPORT QString FloatToStrGeneral(long double value,
                                                    const FormatSettings& fs = FormatSettings::Current());
// Fixed-point with `decimals` decimals (0..18) after the value was taken to
// `precision` significant digits (1..18); rounding is half away from zero on the
// value's 18-digit decimal form. A value with more integer digits than
// `precision` falls back to the general format. No grouping.
TALLYVANE_PLATFORM_EXPORT QString FloatToStrFixed(long double value, int precision, int decimals,
                                                  const FormatSettings& fs = FormatSettings::Current());
// FloatToStrFixed with precision 18.
TALLYVANE_PLATFORM_EXPORT QString FormatFixed(long double value, int decimals,
                                              const FormatSettings& fs = FormatSettings::Current());
// Currency: grouping, the settings' decimal separator and currency forms, the given decimals
// (precision 18, half away from zero). A value that rounds to zero is never shown negative.
TALLYVANE_PLATFORM_EXPORT QString FormatCurrency(long double value, int decimals,
                                                 const FormatSettings& fs = FormatSettings::Current());
// The regional decoration of an amount whose digits are already exact: groups
// integerDigits (ASCII digits; leading zeros dropped, empty means 0), adds the
// decimal separator and fractionDigits when there are any, and places the
// currency symbol and sign by currencyFormat or negCurrFormat.
TALLYVANE_PLATFORM_EXPORT QString ApplyCurrencyFormat(bool negative, const QString& integerDigits,
                                                      const QString& fractionDigits,
                                                      const FormatSettings& fs = FormatSettings::Current());
// The same into a caller's string, reusing its storage (bulk formatting of table cells).
TALLYVANE_PLATFORM_EXPORT void ApplyCurrencyFormatTo(QString& out, bool negative, QStringView integerDigits,
                                                     QStringView fractionDigits,
                                                     const FormatSettings& fs = FormatSettings::Current());
