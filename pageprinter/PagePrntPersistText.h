// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Value texts of the page printer's stored descriptions; not part of the
// component's interface.
#include <QString>
#include <QStringList>
#include <optional>

#include "Graphics.h"

namespace pageprinter_detail {

// Colour names (clBtnShadow) or 0x00BBGGRR; reading also takes $hex and decimal.
QString ColorToText(TColor c);
std::optional<TColor> TextToColor(const QString& text);
// Strings in double quotes with \" \\ \n \r \t \xHH escapes.
QString Quote(const QString& s);
std::optional<QString> ParseString(const QString& value);
// "[a, b]": quoted strings, or bare names when quoted is false.
std::optional<QStringList> ParseList(const QString& value, bool quoted);
// Doubles with a decimal point and the shortest exact digits.
QString DoubleToText(double v);
std::optional<double> TextToDouble(const QString& text);

}  // namespace pageprinter_detail
