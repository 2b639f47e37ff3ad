// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The print loop keeps the progress dialog live: with a Cancel button up,
// window messages are processed at least every 100 ms of (simulated) sending,
// even when one sheet takes longer than that.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "PagePrinterFixtures.h"
#include "PagePrnt.h"
#include "PagePrntJob.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// A test printer whose sheet end and page drawing take simulated time.
class SlowPrinter : public TTestPrinter {
 public:
  using TTestPrinter::TTestPrinter;
  nanoseconds now{0};
  milliseconds drawCost{0}, newPageCost{0};
  TCanvas* Canvas() override {  // asked for once per sheet, to draw its page
    now += drawCost;
    return TTestPrinter::Canvas();
  }
  void NewPage() override {
    now += newPageCost;
    TTestPrinter::NewPage();
  }
};

struct Case {
  const char* name;
  int drawMs, newPageMs;
  bool showCancel;
};

class PrintResponsive : public PagePrinterFixture<SlowPrinter>, public ::testing::WithParamInterface<Case> {};

TEST_P(PrintResponsive, LongestGapBetweenMessageProcessing) {
  const Case& c = GetParam();
  printer->drawCost = milliseconds(c.drawMs);
  printer->newPageCost = milliseconds(c.newPageMs);
  pp->SetShowCancel(c.showCancel);
  pp->SetCopies(2);
  pp->BeginDoc();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) pp->NewPage();
    pp->WriteLine(QStringLiteral("page"));
  }
  pp->EndDoc();

  TPrintJob job(*pp);
  job.SetClock([this] { return printer->now; });
  nanoseconds last{0}, longest{0};
  int pumps = 0;
  job.SetMessagePump([&] {
    longest = std::max(longest, printer->now - last);
    last = printer->now;
    ++pumps;
  });
  EXPECT_TRUE(job.Run());
  longest = std::max(longest, printer->now - last);

  EXPECT_EQ(printer->Sheets().size(), 6u);
  if (!c.showCancel) {
    EXPECT_EQ(pumps, 0);  // no Cancel to press: messages wait until Print returns
    return;
  }
  EXPECT_GE(pumps, 6);  // at least before every sheet
  EXPECT_LE(longest, milliseconds(100));
}

INSTANTIATE_TEST_SUITE_P(Sheets, PrintResponsive,
                         ::testing::Values(Case{"Quick", 5, 5, true}, Case{"SlowDrawing", 95, 0, true},
                                           Case{"SlowSheetEnd", 0, 95, true}, Case{"BothSlow", 70, 70, true},
                                           Case{"NoCancelButton", 70, 70, false}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
