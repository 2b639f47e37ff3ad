// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Text to numbers: the locale-aware float grammar and whole numbers.
#include <QString>
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
TALLYVANE_PLATFORM_EXPORT bool TryTextToFloat(const QString& text, long double& value,
                                              const FormatSettings& fs = FormatSettings::Current());
// The same, raising EConvertError "'%s' is not a valid floating point value".
TALLYVANE_PLATFORM_EXPORT long double StrToFloat(const QString& text,
                                                 const FormatSettings& fs = FormatSettings::Current());
// Whole number: optional blanks, sign, decimal digits, nothing after; must fit 32 bits.
// Raises EConvertError "'%s' is not a valid integer value".
TALLYVANE_PLATFORM_EXPORT int32_t StrToInt(const QString& text);
TALLYVANE_PLATFORM_EXPORT bool TryStrToInt(const QString& text, int32_t& value);
