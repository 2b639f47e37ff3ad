// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TPagePrinter's units, printer page geometry, margins and measure unit, on test printers of chosen resolution and
// offsets. with, on a 600-dpi test printer and without any printer.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QVariant>
#include <climits>
#include <cmath>
#include <memory>

#include "FormLoading.h"
#include "PagePrnt.h"
#include "PagePrinterFixtures.h"
#include "PagePrntInternals.h"

namespace {

// ---------------------------------------------------------------------------
// Units

TEST(PagePrinterUnits, WorkedExampleLeftMarginAt600DpiWithOffset100) {
  TestPrinterInstall<> scope(Printer600(100, 60));
  TPagePrinter pp;
  EXPECT_DOUBLE_EQ(pp.MinMarginLeft(), 100.0 / 600.0);
  EXPECT_DOUBLE_EQ(pp.MinMarginRight(), 100.0 / 600.0);
  pp.SetMarginLeft(0.5);
  EXPECT_EQ(pp.LeftMarginPixels(), 200);
}

struct RoundingCase {
  const char* name;
  double length;
  int pixels;
};

// A 2-dpi printer makes exact halves easy to produce.
TEST(PagePrinterUnits, ConversionRoundsHalvesToEven) {
  TTestPrinter::Setup s;
  s.dpiX = s.dpiY = 2;
  s.physicalWidth = 17;
  s.physicalHeight = 22;
  s.offsetX = s.offsetY = 0;
  TestPrinterInstall<> scope(s);
  TPagePrinter pp;
  const RoundingCase cases[] = {
      {"0.5 to 0", 0.25, 0},     {"1.5 to 2", 0.75, 2},     {"2.5 to 2", 1.25, 2}, {"3.5 to 4", 1.75, 4},
      {"-2.5 to -2", -1.25, -2}, {"-3.5 to -4", -1.75, -4}, {"2.4 to 2", 1.2, 2},  {"2.6 to 3", 1.3, 3},
  };
  for (const RoundingCase& c : cases) {
    EXPECT_EQ(pp.UnitsToPixelsX(c.length), c.pixels) << c.name;
    EXPECT_EQ(pp.UnitsToPixelsY(c.length), c.pixels) << c.name;
  }
}

TEST(PagePrinterUnits, AbsurdLengthsSaturateInsteadOfOverflowing) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  EXPECT_EQ(pp.UnitsToPixelsX(1e300), INT_MAX);
  EXPECT_EQ(pp.UnitsToPixelsX(-1e300), INT_MIN);
  EXPECT_EQ(pp.UnitsToPixelsX(std::nan("")), 0);
}

// Guards against signed overflow in the text-area sizes: a printer reporting
// unprintable offsets larger than its sheet drives both margins to the 32-bit floor.
TEST(PagePrinterUnits, ContentSizesAreZeroWhenTheirComputationOverflows) {
  TTestPrinter::Setup s = Printer600();
  s.dpiX = s.dpiY = 1;
  s.physicalWidth = s.physicalHeight = 100;
  s.offsetX = s.offsetY = 2000000000;
  TestPrinterInstall<> scope(s);
  TPagePrinter pp;
  pp.SetMarginLeft(1e10);
  pp.SetMarginRight(1e10);
  pp.SetMarginTop(1e10);
  pp.SetMarginBottom(1e10);
  ASSERT_EQ(pp.LeftMarginPixels(), INT_MIN);
  ASSERT_EQ(pp.TopMarginPixels(), INT_MIN);
  EXPECT_EQ(pp.ContentWidthPixels(), 0);
  EXPECT_EQ(pp.ContentHeightPixels(), 0);
}

TEST(PagePrinterUnits, DifferentHorizontalAndVerticalResolutions) {
  TTestPrinter::Setup s = Printer600();
  s.dpiX = 300;
  s.physicalWidth = 2550;
  s.offsetX = 30;
  TestPrinterInstall<> scope(s);
  TPagePrinter pp;
  EXPECT_EQ(pp.UnitsToPixelsX(1), 300);
  EXPECT_EQ(pp.UnitsToPixelsY(1), 600);
  EXPECT_DOUBLE_EQ(pp.PixelsToUnitsX(150), 0.5);
  EXPECT_DOUBLE_EQ(pp.PixelsToUnitsY(150), 0.25);
  EXPECT_DOUBLE_EQ(pp.PhysicalPageWidth(), 8.5);
  EXPECT_DOUBLE_EQ(pp.PhysicalPageHeight(), 11.0);
  pp.SetMeasureUnit(muMillimeters);
  EXPECT_DOUBLE_EQ(pp.PixelsToUnitsX(300), 25.4);
  EXPECT_EQ(pp.UnitsToPixelsY(25.4), 600);
}

TEST(PagePrinterUnits, ZeroResolutionFallsBackToOneThreeHundredth) {
  TTestPrinter::Setup s = Printer600();
  s.dpiX = 0;
  TestPrinterInstall<> scope(s);
  TPagePrinter pp;
  EXPECT_DOUBLE_EQ(pp.PixelsToUnitsX(600), 600 * 0.0033333333333333335);
}

TEST(PagePrinterGeometry, PixelValuesAreMeasuredFromThePrintableArea) {
  TestPrinterInstall<> scope(Printer600(60, 120));
  TPagePrinter pp;
  pp.SetMarginLeft(0.5);
  pp.SetMarginRight(1.0);
  pp.SetMarginTop(0.75);
  pp.SetMarginBottom(0.5);
  EXPECT_EQ(pp.LeftMarginPixels(), 240);    // (0.5 - 0.1) * 600
  EXPECT_EQ(pp.RightMarginPixels(), 540);   // (1.0 - 0.1) * 600
  EXPECT_EQ(pp.TopMarginPixels(), 330);     // (0.75 - 0.2) * 600
  EXPECT_EQ(pp.BottomMarginPixels(), 180);  // (0.5 - 0.2) * 600
  EXPECT_DOUBLE_EQ(pp.PrintableWidth(), 8.3);
  EXPECT_DOUBLE_EQ(pp.PrintableHeight(), 10.6);
  EXPECT_DOUBLE_EQ(pp.ContentWidth(), 7.0);
  EXPECT_EQ(pp.ContentWidthPixels(), 4980 - 240 - 540);
  EXPECT_EQ(pp.ContentHeightPixels(), 6360 - 330 - 180);
}

TEST(PagePrinterGeometry, IsReadFromThePrinterAtEveryCall) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  EXPECT_DOUBLE_EQ(pp.PhysicalPageWidth(), 8.5);
  scope.printer().Config().physicalWidth = 4960;  // A4 width at 600 dpi
  EXPECT_NEAR(pp.PhysicalPageWidth(), 8.2667, 1e-4);
  scope.printer().Config().available = false;
  EXPECT_DOUBLE_EQ(pp.PhysicalPageWidth(), 8.5);
  EXPECT_DOUBLE_EQ(pp.MinMarginLeft(), 0.25);
}

// ---------------------------------------------------------------------------
// Margins

struct ClampCase {
  const char* edge;
  void (TPagePrinter::*set)(double);
  double (TPagePrinter::*get)() const;
  bool vertical;
};

const ClampCase kEdges[] = {
    {"top", &TPagePrinter::SetMarginTop, &TPagePrinter::MarginTop, true},
    {"bottom", &TPagePrinter::SetMarginBottom, &TPagePrinter::MarginBottom, true},
    {"left", &TPagePrinter::SetMarginLeft, &TPagePrinter::MarginLeft, false},
    {"right", &TPagePrinter::SetMarginRight, &TPagePrinter::MarginRight, false},
};

TEST(PagePrinterMargins, ZeroStoresTheMinimumAndHugeStoresTheSheetLessTheOppositeMinimum) {
  TestPrinterInstall<> scope(Printer600(90, 120));  // 0.15 in left/right, 0.2 in top/bottom
  TPagePrinter pp;
  for (const ClampCase& c : kEdges) {
    const double minimum = c.vertical ? 0.2 : 0.15;
    const double sheet = c.vertical ? 11.0 : 8.5;
    (pp.*c.set)(0);
    EXPECT_DOUBLE_EQ((pp.*c.get)(), minimum) << c.edge;
    (pp.*c.set)(100);
    EXPECT_DOUBLE_EQ((pp.*c.get)(), sheet - minimum) << c.edge;
    (pp.*c.set)(1.25);
    EXPECT_DOUBLE_EQ((pp.*c.get)(), 1.25) << c.edge;
    (pp.*c.set)(std::nan(""));
    EXPECT_DOUBLE_EQ((pp.*c.get)(), minimum) << c.edge << " (NaN)";
  }
  // Opposite margins are not compared with each other.
  pp.SetMarginTop(8);
  pp.SetMarginBottom(8);
  EXPECT_DOUBLE_EQ(pp.MarginTop(), 8);
  EXPECT_DOUBLE_EQ(pp.MarginBottom(), 8);
}

TEST_F(PagePrinterWithoutPrinter, MarginTopZeroAndHundredClampWithoutPrinter) {
  pp->SetMarginTop(0);
  EXPECT_DOUBLE_EQ(pp->MarginTop(), pp->MinMarginTop());
  pp->SetMarginTop(100);
  EXPECT_DOUBLE_EQ(pp->MarginTop(), pp->PhysicalPageHeight() - pp->MinMarginBottom());
  EXPECT_DOUBLE_EQ(pp->MarginTop(), 10.75);
}

TEST_F(PagePrinterOn600, EveryMarginAssignmentRepaints) {
  const int before = InvalidateCountOf(*pp);
  pp->SetMarginLeft(pp->MarginLeft());
  EXPECT_EQ(InvalidateCountOf(*pp), before + 1);
}

TEST(PagePrinterMargins, UpdatePrinterMetricsClampsAgainstTheCurrentPrinter) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  pp.SetMarginTop(10.5);
  scope.printer().Config().physicalHeight = 6000;  // 10 inches
  EXPECT_DOUBLE_EQ(pp.MarginTop(), 10.5);          // only clamped when metrics are read again
  pp.UpdatePrinterMetrics();
  EXPECT_DOUBLE_EQ(pp.MarginTop(), 9.9);
}

// ---------------------------------------------------------------------------
// Measure unit

TEST(PagePrinterMeasureUnit, InchesToMillimetresAndBack) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  for (const ClampCase& c : kEdges) (pp.*c.set)(0.5);
  pp.SetTableFormat("^4|>2");
  pp.SetHeaderFormat(">1.5|>1.5");
  pp.SetFooterFormat("<5");
  pp.SetPageBorderOffset(0.25);
  pp.SetDefaultColWidth(1);

  pp.SetMeasureUnit(muMillimeters);
  for (const ClampCase& c : kEdges) EXPECT_DOUBLE_EQ((pp.*c.get)(), 12.7) << c.edge;
  EXPECT_EQ(pp.TableFormat(), "^101.6|>50.8");
  EXPECT_EQ(pp.HeaderFormat(), ">38.1|>38.1");
  EXPECT_EQ(pp.FooterFormat(), "<127");
  EXPECT_DOUBLE_EQ(pp.PageBorderOffset(), 6.35);
  EXPECT_DOUBLE_EQ(pp.DefaultColWidth(), 25.4);
  // Geometry now answers in millimetres.
  EXPECT_NEAR(pp.PhysicalPageWidth(), 215.9, 1e-9);
  EXPECT_EQ(pp.LeftMarginPixels(), 240);

  pp.SetMeasureUnit(muInches);
  EXPECT_EQ(pp.TableFormat(), "^4|>2");
  EXPECT_EQ(pp.HeaderFormat(), ">1.5|>1.5");
  EXPECT_EQ(pp.FooterFormat(), "<5");
  for (const ClampCase& c : kEdges) {
    EXPECT_EQ((pp.*c.get)(), 0.49999999999999994) << c.edge;
    EXPECT_NE((pp.*c.get)(), 0.5) << c.edge;
  }
}

TEST_F(PagePrinterOn600, SettingTheSameUnitChangesNothing) {
  pp->SetMarginLeft(0.5);
  const int before = InvalidateCountOf(*pp);
  pp->SetMeasureUnit(muInches);
  EXPECT_EQ(InvalidateCountOf(*pp), before);
  EXPECT_DOUBLE_EQ(pp->MarginLeft(), 0.5);
}

}  // namespace
