// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Test helpers for the page printer: a test printer installed as the process's
// printer for the lifetime of a scope, and the regional settings swapped likewise.
#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

#include "Conversions.h"
#include "Printer.h"
#include "TestPrinter.h"

// Installs a TTestPrinter (or a "no printer" one) and restores the previous printer.
// Create components after the scope and destroy them before it ends.
class TestPrinterScope {
 public:
  explicit TestPrinterScope(TTestPrinter::Setup setup = {}) {
    auto printer = std::make_unique<TTestPrinter>(setup);
    printer_ = printer.get();
    previous_ = SetPrinter(std::move(printer));
  }
  ~TestPrinterScope() { SetPrinter(std::move(previous_)); }
  TestPrinterScope(const TestPrinterScope&) = delete;
  TestPrinterScope& operator=(const TestPrinterScope&) = delete;
  TTestPrinter& printer() { return *printer_; }

  static TTestPrinter::Setup NoPrinter() {
    TTestPrinter::Setup s;
    s.available = false;
    return s;
  }

 private:
  TTestPrinter* printer_;
  std::unique_ptr<TPrinter> previous_;
};

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
