// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TPagePrinter as a component: construction and the published values it starts
// with, on a 600-dpi test printer and without any printer.
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
// Construction

struct DefaultCase {
  const char* property;
  QVariant expected;
};

TEST_F(PagePrinterOn600, PublishedPropertiesAfterConstruction) {
  const DefaultCase cases[] = {
      {"MeasureUnit", int(muInches)},
      {"AbortOnCancel", false},
      {"Alignment", int(taLeftJustify)},
      {"AutoFooterFont", true},
      {"AutoHeaderFont", true},
      {"Collate", true},
      {"Copies", 1u},
      {"DefaultColWidth", 0.0},
      {"FileName", QString()},
      {"Footer", QString()},
      {"FooterFormat", QString()},
      {"FriendlyFooter", QString()},
      {"FriendlyHeader", QString()},
      {"GradientBackground", true},
      {"Header", QString()},
      {"HeaderFormat", QString()},
      {"Lines", QStringList()},
      {"LineSpacing", int(lsSingleSpace)},
      {"Orientation", int(poPortrait)},
      {"PageBorderOffset", 0.0},
      {"PageBorders", 0u},
      {"PrintToFile", false},
      {"ProgressMessage", QString()},
      {"ShadowColor", uint(clBtnShadow)},
      {"ShadowOffset", 5u},
      {"ShowCancel", true},
      {"ShowMargins", true},
      {"ShowProgress", true},
      {"TableFormat", QString()},
      {"TableGrid", false},
      {"TabSize", 8u},
      {"Title", QString()},
      {"TokenSeparator", QString("|")},
      {"WordWrap", true},
      {"ZoomLocation", int(zlTopLeft)},
      {"ZoomPercent", 25u},
  };
  for (const DefaultCase& c : cases) {
    const QVariant actual = pp->property(c.property);
    ASSERT_TRUE(actual.isValid()) << c.property;
    QVariant expected = c.expected;
    QVariant got = actual;
    // Enumerations compare by ordinal, the separator as text.
    if (expected.typeId() == QMetaType::Int) got = QVariant(got.toInt());
    if (expected.typeId() == QMetaType::QString && got.typeId() == QMetaType::QChar) got = QVariant(got.toString());
    EXPECT_EQ(got, expected) << c.property;
  }
  EXPECT_FALSE(pp->Printing());
  EXPECT_EQ(pp->FromPage(), 0u);
  EXPECT_EQ(pp->ToPage(), 0u);
  EXPECT_EQ(pp->CurrentX(), 0);
  EXPECT_EQ(pp->CurrentY(), 0);
  EXPECT_EQ(pp->LineNumber(), 0);
  EXPECT_EQ(pp->ProgressDialog(), nullptr);
  EXPECT_EQ(pp->Color(), clBtnFace);
}

TEST_F(PagePrinterOn600, MarginsStartAtThePrinterMinimum) {
  EXPECT_DOUBLE_EQ(pp->MarginTop(), 0.1);
  EXPECT_DOUBLE_EQ(pp->MarginBottom(), 0.1);
  EXPECT_DOUBLE_EQ(pp->MarginLeft(), 0.1);
  EXPECT_DOUBLE_EQ(pp->MarginRight(), 0.1);
}

TEST_F(PagePrinterOn600, BodyFontIsCourierNewTenPointsAndHeaderFooterAreCopies) {
  EXPECT_EQ(pp->Font().Name(), "Courier New");
  EXPECT_EQ(pp->Font().Size(), 10);
  EXPECT_EQ(pp->Font().Style(), 0);
  EXPECT_TRUE(pp->HeaderFont().SameAs(pp->Font()));
  EXPECT_TRUE(pp->FooterFont().SameAs(pp->Font()));
  EXPECT_NE(&pp->HeaderFont(), &pp->Font());
  EXPECT_NE(&pp->FooterFont(), &pp->HeaderFont());
}

TEST_F(PagePrinterOn600, ScrollBarsTrackWithIncrement16AndSizeIs89By115) {
  for (QScrollBar* bar : {pp->horizontalScrollBar(), pp->verticalScrollBar()}) {
    EXPECT_TRUE(bar->hasTracking());
    EXPECT_EQ(bar->singleStep(), 16);
  }
  EXPECT_EQ(pp->width(), 89);
  EXPECT_EQ(pp->height(), 115);
  ASSERT_NE(pp->PreviewBox(), nullptr);
  EXPECT_TRUE(pp->isAncestorOf(pp->PreviewBox()));
}

TEST_F(PagePrinterOn600, PageStoreStartsEmptyWithAScratchCanvas) {
  EXPECT_EQ(pp->PageCount(), 0);
  EXPECT_EQ(pp->PageNumber(), 0);
  ASSERT_NE(pp->PageCanvas(), nullptr);
  EXPECT_EQ(pp->PageCanvas()->Brush().Style, bsClear);
}

TEST(PagePrinterConstruction, WritesPortraitAndEmptyTitleToTheSharedPrinter) {
  TestPrinterInstall<> scope(Printer600());
  scope.printer().SetOrientation(poLandscape);
  scope.printer().SetTitle("left over");
  auto pp = std::make_unique<TPagePrinter>();
  EXPECT_EQ(scope.printer().Orientation(), poPortrait);
  EXPECT_EQ(scope.printer().Title(), QString());
  // The printer object is shared: what the component writes stays after it is gone.
  pp->SetTitle("Kept");
  pp.reset();
  EXPECT_EQ(scope.printer().Title(), "Kept");
}

TEST(PagePrinterConstruction, TextMetricsComeFromThePrinterContext) {
  TTestPrinter::Setup s = Printer600();
  s.externalLeading = 7;
  TestPrinterInstall<> scope(s);
  TPagePrinter pp;
  EXPECT_EQ(pp.TextMetrics().tmExternalLeading, 7);
}

// ---------------------------------------------------------------------------
// No printer

TEST_F(PagePrinterWithoutPrinter, FallsBackToALetterSheetAt300Dpi) {
  EXPECT_DOUBLE_EQ(pp->MarginTop(), 0.25);
  EXPECT_DOUBLE_EQ(pp->MarginBottom(), 0.25);
  EXPECT_DOUBLE_EQ(pp->MarginLeft(), 0.25);
  EXPECT_DOUBLE_EQ(pp->MarginRight(), 0.25);
  EXPECT_DOUBLE_EQ(pp->PrintableWidth(), 8.0);
  EXPECT_DOUBLE_EQ(pp->PrintableHeight(), 10.5);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageWidth(), 8.5);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageHeight(), 11.0);
  EXPECT_EQ(pp->Orientation(), poPortrait);
  EXPECT_EQ(pp->UnitsToPixelsX(1), 300);
  EXPECT_EQ(pp->UnitsToPixelsY(1), 300);
  EXPECT_DOUBLE_EQ(pp->PixelsToUnitsX(300), 1.0);
  EXPECT_EQ(pp->PrinterHandle(), nullptr);
}

TEST_F(PagePrinterWithoutPrinter, FallsBackToAnA4SheetInMillimetres) {
  pp->SetMeasureUnit(muMillimeters);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageWidth(), 210.0);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageHeight(), 297.0);
  EXPECT_DOUBLE_EQ(pp->MinMarginTop(), 6.0);
  EXPECT_DOUBLE_EQ(pp->MinMarginRight(), 6.0);
  // 0.25 inch is 6.35 mm, above the 6 mm minimum.
  EXPECT_DOUBLE_EQ(pp->MarginLeft(), 6.35);
  EXPECT_EQ(pp->UnitsToPixelsX(25.4), 300);
}

TEST_F(PagePrinterWithoutPrinter, OrientationWriteIsDroppedAndTitleIsKept) {
  const int before = InvalidateCountOf(*pp);
  EXPECT_NO_THROW(pp->SetOrientation(poLandscape));
  EXPECT_EQ(pp->Orientation(), poPortrait);
  EXPECT_GT(InvalidateCountOf(*pp), before);
  pp->SetTitle("Schedule");
  EXPECT_EQ(pp->Title(), "Schedule");
}

TEST_F(PagePrinterWithoutPrinter, LineHeightUses300PixelsPerInch) {
  // 10 points at 300 dpi: 41.67 -> 42 pixels.
  EXPECT_EQ(pp->LineHeight(), 42);
  EXPECT_EQ(pp->PageCanvas()->Font().PixelsPerInch(), 300);
}

}  // namespace
