// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A page printer on its own test printer, for the tests that print or preview:
// the test printer replaces the process's printer for each test and the
// previous one comes back afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "PagePrnt.h"
#include "TestPrinterInstall.h"

// PrinterT: TTestPrinter or a class made from one, built from a Setup.
template <class PrinterT = TTestPrinter>
class PagePrinterFixture : public ::testing::Test {
 protected:
  void SetUp() override { Install(TTestPrinter::Setup{}); }
  void TearDown() override {
    pp.reset();
    install_.reset();
  }
  // A fresh printer with this setup and a fresh page printer on it.
  void Install(TTestPrinter::Setup setup) {
    pp.reset();
    if (install_)
      printer = install_->Replace(setup);
    else
      printer = (install_ = std::make_unique<TestPrinterInstall<PrinterT>>(setup))->get();
    pp = std::make_unique<TPagePrinter>();
  }

  std::unique_ptr<TestPrinterInstall<PrinterT>> install_;
  PrinterT* printer = nullptr;
  std::unique_ptr<TPagePrinter> pp;
};
