// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Regional settings the conversion tests share.
#include <QLocale>

#include "Conversions.h"

inline FormatSettings UsSettings() {
  return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

inline FormatSettings CommaSettings() {
  FormatSettings fs;
  fs.decimalSeparator = u',';
  fs.thousandSeparator = u'.';
  return fs;
}
