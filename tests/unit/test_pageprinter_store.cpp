// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The page store: page list ownership, the open page and its canvas, page sizes,
// the page font's resolution and the page number.
#include <gtest/gtest.h>

#include <memory>

#include "Device.h"
#include "FormLoading.h"
#include "PagePrnt.h"
#include "PagePrinterFixtures.h"
#include "PagePrntInternals.h"

namespace {

template <typename F>
QString MessageOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

class PageStore : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{TTestPrinter::Setup{}};  // 600 dpi Letter, 0.1-inch offsets
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

TEST(PageList, IndexErrorNamesTheIndex) {
  TPageList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(MessageOf([&] { list.Items(5); }), "List index out of bounds (5)");
  EXPECT_EQ(MessageOf([&] { list.Items(-1); }), "List index out of bounds (-1)");
  auto* page = new TMetafile;
  list.Add(page);
  list.Add(nullptr);  // a nil item is skipped when the list frees its pages
  EXPECT_EQ(list.Items(0), page);
  EXPECT_EQ(list.Items(1), nullptr);
  EXPECT_THROW(list.Items(2), EListError);
}

TEST_F(PageStore, FreshComponentHasNoPagesButAUsableCanvas) {
  EXPECT_EQ(pp->PageCount(), 0);
  EXPECT_EQ(pp->PageNumber(), 0);
  ASSERT_NE(pp->PageCanvas(), nullptr);
  pp->PageCanvas()->TextOut(10, 10, "scratch");  // harmless
  EXPECT_EQ(pp->PageCount(), 0);
  EXPECT_EQ(MessageOf([&] { pp->Pages(1); }), "List index out of bounds (0)");
}

TEST_F(PageStore, ClearPagesWithAFirstPageOpensItInTheList) {
  pp->ClearPages(true);
  ASSERT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(pp->PageNumber(), 0);
  pp->PageCanvas()->TextOut(0, 0, "hello");
  ASSERT_EQ(pp->Pages(1)->Operations().size(), 1u);
  EXPECT_EQ(pp->Pages(1)->Operations()[0].text, "hello");
}

TEST_F(PageStore, AddPageAppendsAndRecordsOnTheNewPage) {
  pp->ClearPages(true);
  pp->PageCanvas()->TextOut(0, 0, "one");
  pp->AddPage();
  pp->PageCanvas()->TextOut(0, 0, "two");
  pp->AddPage();
  ASSERT_EQ(pp->PageCount(), 3);
  EXPECT_EQ(pp->Pages(1)->Operations().size(), 1u);
  EXPECT_EQ(pp->Pages(2)->Operations()[0].text, "two");
  EXPECT_TRUE(pp->Pages(3)->Operations().empty());
  EXPECT_EQ(MessageOf([&] { pp->Pages(4); }), "List index out of bounds (3)");
  EXPECT_EQ(MessageOf([&] { pp->Pages(0); }), "List index out of bounds (-1)");
}

TEST_F(PageStore, ScratchPageAfterOpenPageNeverReachesTheList) {
  pp->ClearPages(true);
  pp->PageCanvas()->TextOut(0, 0, "kept");
  pp->ClosePage();
  pp->OpenPage();
  pp->PageCanvas()->TextOut(0, 0, "scratch");
  ASSERT_EQ(pp->PageCount(), 1);
  ASSERT_EQ(pp->Pages(1)->Operations().size(), 1u);
  EXPECT_EQ(pp->Pages(1)->Operations()[0].text, "kept");
}

TEST_F(PageStore, ClearPagesWithoutFirstPageEmptiesTheListAndOpensAScratchPage) {
  pp->ClearPages(true);
  pp->AddPage();
  pp->SetPageNumber(2);
  pp->ClearPages(false);
  EXPECT_EQ(pp->PageCount(), 0);
  EXPECT_EQ(pp->PageNumber(), 0);
  EXPECT_NE(pp->PageCanvas(), nullptr);
}

TEST_F(PageStore, PageSizeIsTheSheetLessTheUnprintableOffsetInPrinterPixels) {
  pp->ClearPages(true);
  EXPECT_EQ(pp->Pages(1)->Width(), 5100 - 60);
  EXPECT_EQ(pp->Pages(1)->Height(), 6600 - 60);
  pp->SetMeasureUnit(muMillimeters);  // the same pixels in either unit
  pp->AddPage();
  EXPECT_EQ(pp->Pages(2)->Width(), 5040);
  EXPECT_EQ(pp->Pages(2)->Height(), 6540);
}

TEST(PageStoreWithoutPrinter, PagesStillOpenWithTheFallbackSize) {
  TestPrinterInstall<> scope(TestPrinterInstall<>::NoPrinter());
  TPagePrinter pp;
  pp.ClearPages(true);
  ASSERT_EQ(pp.PageCount(), 1);
  EXPECT_EQ(pp.Pages(1)->Width(), 2475);                // (8.5 - 0.25) x 300
  EXPECT_EQ(pp.Pages(1)->Height(), 3225);               // (11 - 0.25) x 300
  EXPECT_EQ(pp.PageCanvas()->Reference(), ScreenDC());  // the screen measures instead
  EXPECT_EQ(pp.PageCanvas()->Font().PixelsPerInch(), 300);
  pp.SetMeasureUnit(muMillimeters);
  pp.AddPage();
  EXPECT_EQ(pp.Pages(2)->Width(), 2409);   // (210 - 6) mm at 300 dpi = 2409.4
  EXPECT_EQ(pp.Pages(2)->Height(), 3437);  // (297 - 6) mm at 300 dpi = 3437.0
}

TEST_F(PageStore, CanvasRecordsAgainstThePrinterWithAClearBrushAndTheBodyFont) {
  pp->Font().SetStyle(fsItalic);
  pp->ClearPages(true);
  TMetafileCanvas* canvas = pp->PageCanvas();
  EXPECT_EQ(canvas->Reference(), scope.printer().Handle());
  EXPECT_EQ(canvas->Brush().Style, bsClear);
  EXPECT_EQ(canvas->Font().Name(), "Courier New");
  EXPECT_EQ(canvas->Font().Style(), fsItalic);
  EXPECT_EQ(canvas->Font().PixelsPerInch(), 600);
  EXPECT_EQ(canvas->Font().Height(), -83);
  EXPECT_EQ(canvas->Font().Size(), 10);
}

TEST_F(PageStore, RealizePageFontKeepsLargeSizesToo) {
  pp->Font().SetSize(144);
  EXPECT_EQ(pp->PageCanvas()->Font().Size(), 144);
  EXPECT_EQ(pp->PageCanvas()->Font().Height(), -1200);
  pp->Font().SetSize(200);
  EXPECT_EQ(pp->PageCanvas()->Font().Height(), -MulDiv(200, 600, 72));
}

TEST_F(PageStore, RealizePageFontFollowsAChangedPrinterResolution) {
  scope.printer().Config().dpiY = 300;
  pp->RealizePageFont();
  EXPECT_EQ(pp->PageCanvas()->Font().PixelsPerInch(), 300);
  EXPECT_EQ(pp->PageCanvas()->Font().Height(), -42);
}

TEST_F(PageStore, PageNumberAcceptsOneToPageCount) {
  pp->ClearPages(true);
  pp->AddPage();
  pp->AddPage();
  const int before = InvalidateCountOf(*pp);
  pp->SetPageNumber(2);
  EXPECT_EQ(pp->PageNumber(), 2);
  EXPECT_GT(InvalidateCountOf(*pp), before);
  for (int bad : {0, 4, -1}) {
    EXPECT_EQ(MessageOf([&] { pp->SetPageNumber(bad); }), "PageNumber must be between 1 and 3") << bad;
    EXPECT_EQ(pp->PageNumber(), 2) << bad;
  }
  EXPECT_THROW(pp->SetPageNumber(4), EPagePrinter);
}

TEST_F(PageStore, PageNumberOutOfRangeIsSilentlyZeroWithoutPagesOrWhileLoading) {
  const int before = InvalidateCountOf(*pp);
  EXPECT_NO_THROW(pp->SetPageNumber(5));
  EXPECT_EQ(pp->PageNumber(), 0);
  EXPECT_EQ(InvalidateCountOf(*pp), before);

  pp->ClearPages(true);
  pp->SetPageNumber(1);
  FormLoading loading;
  loading.Adopt(pp.get());
  EXPECT_NO_THROW(pp->SetPageNumber(7));
  EXPECT_EQ(pp->PageNumber(), 0);
}

TEST_F(PageStore, DocumentOfOneLineLeavesOneCompletePage) {
  pp->BeginDoc();
  EXPECT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(pp->PageNumber(), 1);
  pp->WriteLine("only line");
  pp->EndDoc();
  ASSERT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(pp->PageNumber(), 1);
  const size_t operations = pp->Pages(1)->Operations().size();
  EXPECT_GE(operations, 1u);
  // Drawing after EndDoc goes to a scratch page.
  pp->PageCanvas()->TextOut(0, 0, "after the end");
  EXPECT_EQ(pp->Pages(1)->Operations().size(), operations);
  // The next document replaces the old pages.
  pp->BeginDoc();
  EXPECT_EQ(pp->PageCount(), 1);
  pp->EndDoc();
}

}  // namespace
