// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The one way tests install a printer: a test printer replaces the process's
// printer for the lifetime of the install and the previous one comes back
// afterwards, so no test reaches the machine's print server by accident.
#include <memory>

#include "Printer.h"
#include "TestPrinter.h"

// PrinterT: TTestPrinter or a class made from one, built from a Setup.
template <class PrinterT = TTestPrinter>
class TestPrinterInstall {
 public:
  explicit TestPrinterInstall(TTestPrinter::Setup setup = {}) { Replace(setup); }
  ~TestPrinterInstall() { SetPrinter(std::move(previous_)); }
  // A setup whose printer is not usable, as on a machine without printers.
  static TTestPrinter::Setup NoPrinter() {
    TTestPrinter::Setup s;
    s.available = false;
    return s;
  }
  TestPrinterInstall(const TestPrinterInstall&) = delete;
  TestPrinterInstall& operator=(const TestPrinterInstall&) = delete;

  // A fresh printer with this setup in place of the current test printer.
  PrinterT* Replace(TTestPrinter::Setup setup) {
    auto fresh = std::make_shared<PrinterT>(setup);
    printer_ = fresh.get();
    std::shared_ptr<TPrinter> old = SetPrinter(std::move(fresh));
    if (!replaced_) previous_ = std::move(old);
    replaced_ = true;
    return printer_;
  }
  PrinterT* get() const { return printer_; }
  PrinterT& printer() const { return *printer_; }

 private:
  std::shared_ptr<TPrinter> previous_;
  PrinterT* printer_ = nullptr;
  bool replaced_ = false;
};
