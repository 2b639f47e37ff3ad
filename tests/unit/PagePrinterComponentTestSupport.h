// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Test printers and fixtures of the page printer component tests.
#include <gtest/gtest.h>

#include <memory>

#include "PagePrnt.h"
#include "PagePrinterTestSupport.h"

inline TTestPrinter::Setup Printer600(int offsetX = 60, int offsetY = 60) {
  TTestPrinter::Setup s;
  s.dpiX = s.dpiY = 600;
  s.physicalWidth = 5100;
  s.physicalHeight = 6600;
  s.offsetX = offsetX;
  s.offsetY = offsetY;
  return s;
}

// Expects an EPagePrinter with exactly this message.
template <typename F>
void ExpectRefused(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const EPagePrinter& e) {
    EXPECT_EQ(e.Message(), QString::fromLatin1(message));
  }
}

class PagePrinterOn600 : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{Printer600()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

class PagePrinterWithoutPrinter : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{TestPrinterInstall<>::NoPrinter()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};
