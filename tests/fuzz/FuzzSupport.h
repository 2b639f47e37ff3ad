// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Start-up and failure report shared by the fuzz harnesses that run the page
// printer: they need a QApplication, the en_US regional settings the tests pin,
// and a test printer in place of a real one.
#include <QApplication>
#include <QLocale>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Conversions.h"
#include "Printer.h"
#include "TestPrinter.h"

// Called once from LLVMFuzzerInitialize. The application lives for the whole run.
inline void StartFuzzing(int* argc, char*** argv, const TTestPrinter::Setup& setup = {}) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Deliberately never freed: it must outlive every fuzz iteration.
  static QApplication* const app = new QApplication(*argc, *argv);
  (void)app;
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
  SetPrinter(std::make_unique<TTestPrinter>(setup));
}

// Reports a broken property with the input that broke it; abort() makes the
// fuzzer keep the input as a crash.
[[noreturn]] inline void Fail(const char* what, const QString& input, const QString& output) {
  fprintf(stderr, "%s\n  input:  [%s]\n  output: [%s]\n", what, input.toUtf8().constData(),
          output.toUtf8().constData());
  std::abort();
}
