// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TPagePrinter's property setters: refusals while a document is open, simple setters, line height, fonts and Loaded.
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
// Refusals while a document is open

TEST(PagePrinterWhilePrinting, RefusesMarginsUnitOrientationAndChangesOfFileSettings) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  pp.SetMarginLeft(0.5);
  pp.SetFileName("out.txt");
  pp.BeginDoc();
  ASSERT_TRUE(pp.Printing());

  // The same value is refused as well.
  ExpectRefused([&] { pp.SetMarginTop(pp.MarginTop()); }, "Unable to change top margin while printing");
  ExpectRefused([&] { pp.SetMarginBottom(1); }, "Unable to change bottom margin while printing");
  ExpectRefused([&] { pp.SetMarginLeft(0.5); }, "Unable to change left margin while printing");
  ExpectRefused([&] { pp.SetMarginRight(1); }, "Unable to change right margin while printing");
  ExpectRefused([&] { pp.SetMeasureUnit(muMillimeters); }, "Unable to change top margin while printing");
  ExpectRefused([&] { pp.SetOrientation(poLandscape); }, "Unable to change orientation while printing");
  ExpectRefused([&] { pp.SetPrintToFile(true); }, "Can't change PrintToFile while printing");
  ExpectRefused([&] { pp.SetFileName("other.txt"); }, "Can't change FileName while printing");
  // The refusal compares the name as given: the stored name with blanks around it differs.
  ExpectRefused([&] { pp.SetFileName("  out.txt  "); }, "Can't change FileName while printing");

  // Present values of PrintToFile and FileName, and an unchanged unit, are accepted.
  EXPECT_NO_THROW(pp.SetPrintToFile(false));
  EXPECT_NO_THROW(pp.SetFileName("out.txt"));
  EXPECT_NO_THROW(pp.SetMeasureUnit(muInches));
  EXPECT_NO_THROW(pp.SetTitle("During"));

  // Nothing changed.
  EXPECT_DOUBLE_EQ(pp.MarginLeft(), 0.5);
  EXPECT_EQ(pp.MeasureUnit(), muInches);
  EXPECT_EQ(pp.Orientation(), poPortrait);
  EXPECT_FALSE(pp.PrintToFile());
  EXPECT_EQ(pp.FileName(), "out.txt");
  EXPECT_EQ(scope.printer().Title(), "During");

  pp.EndDoc();
  EXPECT_FALSE(pp.Printing());
  EXPECT_NO_THROW(pp.SetMarginLeft(0.75));
  EXPECT_DOUBLE_EQ(pp.MarginLeft(), 0.75);
}

// ---------------------------------------------------------------------------
// Simple setters

TEST_F(PagePrinterOn600, CopiesOfZeroOrWithTheTopBitBecomeOne) {
  const struct {
    uint32_t set, expected;
  } cases[] = {{0, 1}, {1, 1}, {5, 5}, {0x7FFFFFFF, 0x7FFFFFFF}, {0x80000000u, 1}, {0xFFFFFFFFu, 1}};
  for (const auto& c : cases) {
    pp->SetCopies(c.set);
    EXPECT_EQ(pp->Copies(), c.expected) << c.set;
  }
}

TEST_F(PagePrinterOn600, FileNameLosesLeadingAndTrailingBlanksAndControlCharacters) {
  pp->SetFileName(QString(" \t\r\n") + "my file.txt" + QChar(0x1F) + "  ");
  EXPECT_EQ(pp->FileName(), "my file.txt");
  pp->SetFileName("   ");
  EXPECT_EQ(pp->FileName(), "");
}

TEST_F(PagePrinterOn600, LinesNullDiscardsAndReadingRecreatesAnEmptyList) {
  const QStringList source{"one", "two"};
  pp->SetLines(&source);
  EXPECT_EQ(*pp->Lines(), source);
  EXPECT_NE(pp->Lines(), &source);  // copied, not adopted
  pp->SetLines(nullptr);
  QStringList* lines = pp->Lines();
  ASSERT_NE(lines, nullptr);
  EXPECT_TRUE(lines->isEmpty());
  pp->SetLines(pp->Lines());  // self-assignment keeps the list
  lines->append("three");
  EXPECT_EQ(pp->LinesValue(), QStringList{"three"});
}

TEST(PagePrinterLineHeight, FourSpacingsOfTenPointCourierAt600Dpi) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  const struct {
    TLineSpacing spacing;
    int height;
  } cases[] = {{lsHalfSpace, 41}, {lsSingleSpace, 83}, {lsSingleAndAHalf, 124}, {lsDoubleSpace, 166}};
  for (const auto& c : cases) {
    pp.SetLineSpacing(c.spacing);
    EXPECT_EQ(pp.LineHeight(), c.height) << int(c.spacing);
  }
}

TEST(PagePrinterLineHeight, FollowsTheBodyFont) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  pp.Font().SetSize(12);
  EXPECT_EQ(pp.LineHeight(), 100);
  EXPECT_EQ(pp.PageCanvas()->Font().Height(), -100);
  pp.SetLineSpacing(lsDoubleSpace);
  pp.Font().SetSize(9);
  EXPECT_EQ(pp.LineHeight(), 150);
}

TEST_F(PagePrinterOn600, FontChangeFollowsIntoHeaderFontOnlyWhileAutoHeaderFont) {
  pp->Font().SetStyle(fsBold);
  EXPECT_EQ(pp->HeaderFont().Style(), fsBold);
  EXPECT_EQ(pp->FooterFont().Style(), fsBold);
  EXPECT_EQ(pp->PageCanvas()->Font().Style(), fsBold);

  pp->SetAutoHeaderFont(false);
  pp->Font().SetStyle(fsItalic);
  EXPECT_EQ(pp->HeaderFont().Style(), fsBold);
  EXPECT_EQ(pp->FooterFont().Style(), fsItalic);

  // Turning it on again copies the body font.
  pp->SetAutoHeaderFont(true);
  EXPECT_EQ(pp->HeaderFont().Style(), fsItalic);
}

TEST_F(PagePrinterOn600, AutoFontsOnlyStoreTheirValueWhileLoading) {
  pp->SetAutoFooterFont(false);
  pp->FooterFont().SetName("Arial");
  {
    FormLoading loading;
    loading.Adopt(pp.get());
    pp->SetAutoFooterFont(true);
    EXPECT_TRUE(pp->AutoFooterFont());
    EXPECT_EQ(pp->FooterFont().Name(), "Arial");
    loading.Finish();
  }
  EXPECT_FALSE(pp->Loading());
}

TEST_F(PagePrinterOn600, HeaderAndFooterFontAssignmentsCopy) {
  TFont f;
  f.SetName("Arial");
  f.SetHeight(-11);
  f.SetStyle(fsItalic);
  pp->SetAutoHeaderFont(false);
  pp->SetHeaderFont(f);
  pp->SetFooterFont(f);
  EXPECT_TRUE(pp->HeaderFont().SameAs(f));
  EXPECT_TRUE(pp->FooterFont().SameAs(f));
  f.SetName("Other");
  EXPECT_EQ(pp->HeaderFont().Name(), "Arial");
}

TEST_F(PagePrinterOn600, OrientationIsKeptByThePrinterAndRepaints) {
  const int before = InvalidateCountOf(*pp);
  pp->SetOrientation(poLandscape);
  EXPECT_EQ(scope.printer().Orientation(), poLandscape);
  EXPECT_EQ(pp->Orientation(), poLandscape);
  EXPECT_EQ(pp->property("Orientation").toInt(), int(poLandscape));
  EXPECT_GT(InvalidateCountOf(*pp), before);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageWidth(), 11.0);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageHeight(), 8.5);
}

TEST_F(PagePrinterOn600, InvalidateCountsRepaintRequests) {
  const int before = InvalidateCountOf(*pp);
  pp->Invalidate();
  pp->Invalidate();
  EXPECT_EQ(InvalidateCountOf(*pp), before + 2);
}

// ---------------------------------------------------------------------------
// Loaded

TEST(PagePrinterLoaded, EndsLoadingClearsPagesAndTakesThePenColour) {
  TestPrinterInstall<> scope(Printer600());
  TPagePrinter pp;
  pp.SetMarginTop(0.5);
  pp.BeginDoc();
  pp.EndDoc();
  ASSERT_EQ(pp.PageCount(), 1);
  pp.SetColor(clRed);
  pp.SetMarginBottom(8);
  FormLoading loading;
  loading.Adopt(&pp);
  EXPECT_TRUE(pp.Loading());
  scope.printer().Config().physicalHeight = 3000;  // 5 inches
  const int before = InvalidateCountOf(pp);
  loading.Finish();
  EXPECT_FALSE(pp.Loading());
  EXPECT_EQ(pp.PageCount(), 0);
  EXPECT_EQ(pp.PageNumber(), 0);
  EXPECT_NE(pp.PageCanvas(), nullptr);
  EXPECT_EQ(pp.PreviewPenColor(), clRed);
  EXPECT_GT(InvalidateCountOf(pp), before);
  // Margins were clamped against the printer present at load time.
  EXPECT_DOUBLE_EQ(pp.MarginBottom(), 4.9);
}

}  // namespace
