// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Test helpers for the page printer: the regional settings swapped for a scope.
#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

#include "Conversions.h"
#include "Printer.h"
#include "TestPrinter.h"
#include "TestPrinterInstall.h"

// Switches the regional settings for a scope (decimal comma tests) and puts the old ones back.
class FormatSettingsScope {
 public:
  explicit FormatSettingsScope(const FormatSettings& settings) : saved_(FormatSettings::Current()) {
    FormatSettings::SetCurrent(settings);
  }
  ~FormatSettingsScope() { FormatSettings::SetCurrent(saved_); }

  static FormatSettings DecimalComma() {
    FormatSettings fs = FormatSettings::Current();
    fs.decimalSeparator = QChar(',');
    fs.thousandSeparator = QChar('.');
    return fs;
  }

 private:
  FormatSettings saved_;
};

// Readable QString output in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (const QString& s : l) *os << '"' << s.toStdString() << "\" ";
  *os << '}';
}
