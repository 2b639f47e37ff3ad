// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The page printer's preview: sheet size on screen, scroll ranges and
// positions, and what is painted (background, shadow, sheet, page, margins).
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "Canvas.h"
#include "PagePrinterFixtures.h"
#include "PagePrnt.h"
#include "PagePrntInternals.h"
#include "Printer.h"

namespace {

QRgb Rgb(TColor c) { return ToQColor(ColorToRGB(c)).rgb() | 0xFF000000u; }

class PreviewTest : public PagePrinterFixture<> {
 protected:
  void Show(int width, int height) {
    pp->resize(width, height);
    pp->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pp.get()));
    QCoreApplication::processEvents();
  }
  // One page with a filled one-inch square at the printable origin.
  void MakePageWithSquare() {
    pp->ClearPages(true);
    TCanvas* canvas = pp->PageCanvas();
    canvas->Brush().Style = bsSolid;
    canvas->Brush().Color = clBlack;
    canvas->FillRect(QRect(0, 0, 600, 600));
    pp->OpenPage();
    pp->SetPageNumber(1);
  }
  QImage Render() {
    QImage image(pp->PreviewBox()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    pp->PaintPreview(painter);
    return image;
  }
  // The sheet's rectangle as PaintPreview places it.
  QRect Sheet() const {
    const int w = pp->PageExtentOnScreen(true), h = pp->PageExtentOnScreen(false);
    const QSize box = pp->PreviewBox()->size();
    return QRect((box.width() - w) / 2, (box.height() - h) / 2, w, h);
  }
  static int CountColumn(const QImage& image, int x, int y0, int y1, QRgb colour) {
    int n = 0;
    for (int y = y0; y < y1; ++y) n += image.pixel(x, y) == colour;
    return n;
  }
  static int CountRow(const QImage& image, int y, int x0, int x1, QRgb colour) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += image.pixel(x, y) == colour;
    return n;
  }
  static int CountAll(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += CountRow(image, y, 0, image.width(), colour);
    return n;
  }
};

TEST_F(PreviewTest, SheetAtFullZoomIsThePhysicalPageAtScreenResolution) {
  pp->SetZoomPercent(100);
  EXPECT_DOUBLE_EQ(pp->PrinterScreenRatio(true), 6.25);  // 600 / 96
  EXPECT_EQ(pp->PageExtentOnScreen(true), 816);          // 5100 printer pixels
  EXPECT_EQ(pp->PageExtentOnScreen(false), 1056);        // 6600 printer pixels
  EXPECT_EQ(pp->HorzRange(), 828);                       // + (5 + 1) x 2
  EXPECT_EQ(pp->VertRange(), 1068);
}

TEST_F(PreviewTest, ShadowOffsetZeroLeavesOnePixelEachSide) {
  pp->SetZoomPercent(100);
  pp->SetShadowOffset(0);
  EXPECT_EQ(pp->HorzRange(), 818);
  EXPECT_EQ(pp->VertRange(), 1058);
}

TEST_F(PreviewTest, WithoutPrinterTheSheetIsLetterOrA4AtScreenResolution) {
  TTestPrinter::Setup setup;
  setup.available = false;
  Install(setup);
  pp->SetZoomPercent(100);
  EXPECT_DOUBLE_EQ(pp->PrinterScreenRatio(true), 1.0);
  EXPECT_EQ(pp->PageExtentOnScreen(true), 816);    // 8.5 in
  EXPECT_EQ(pp->PageExtentOnScreen(false), 1056);  // 11 in
  pp->SetMeasureUnit(muMillimeters);
  EXPECT_EQ(pp->PageExtentOnScreen(true), 794);    // 210 mm
  EXPECT_EQ(pp->PageExtentOnScreen(false), 1123);  // 297 mm
}

struct ScreenUnitCase {
  const char* name;
  TMeasureUnit unit;
  double value;
  uint32_t zoom;
  int screen, zoomed;
};

class ScreenUnitTest : public PreviewTest, public ::testing::WithParamInterface<ScreenUnitCase> {};

TEST_P(ScreenUnitTest, LengthsBecomeScreenPixels) {
  const auto& c = GetParam();
  pp->SetMeasureUnit(c.unit);
  pp->SetZoomPercent(c.zoom);
  EXPECT_EQ(pp->UnitsToScreen(true, c.value), c.screen);
  EXPECT_EQ(pp->UnitsToScreen(false, c.value), c.screen);
  EXPECT_EQ(pp->UnitsToZoomedScreen(true, c.value), c.zoomed);
}

INSTANTIATE_TEST_SUITE_P(Units, ScreenUnitTest,
                         ::testing::Values(ScreenUnitCase{"OneInch", muInches, 1.0, 25, 96, 24},
                                           ScreenUnitCase{"TenthInchHalfGoesToEven", muInches, 0.1, 25, 10, 2},
                                           ScreenUnitCase{"SevenAndAHalfGoesUp", muInches, 0.3125, 25, 30, 8},
                                           ScreenUnitCase{"Inch25mm", muMillimeters, 25.4, 50, 96, 48},
                                           ScreenUnitCase{"SixMillimeters", muMillimeters, 6.0, 100, 23, 23},
                                           ScreenUnitCase{"HalfInchAt150", muInches, 0.5, 150, 48, 72},
                                           ScreenUnitCase{"NotANumberIsZero", muInches, std::nan(""), 100, 0, 0},
                                           ScreenUnitCase{"HugeLengthStopsAtIntRange", muInches, 1e12, 25, INT_MAX,
                                                          536870912}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(PreviewTest, SheetIsWhiteWithABlackOutlineCentredOnTheGradient) {
  Show(500, 400);
  pp->SetColor(clNavy);
  const QImage image = Render();
  const QRect r = Sheet();
  ASSERT_EQ(r.width(), 204);
  ASSERT_EQ(r.height(), 264);
  const QRgb black = Rgb(clBlack), white = Rgb(clWhite);
  EXPECT_EQ(image.pixel(r.left(), r.top() + 50), black);
  EXPECT_EQ(image.pixel(r.left() + r.width() - 1, r.top() + 50), black);
  EXPECT_EQ(image.pixel(r.left() + 50, r.top()), black);
  EXPECT_EQ(image.pixel(r.left() + 50, r.top() + r.height() - 1), black);
  EXPECT_EQ(image.pixel(r.left() + 50, r.top() + 50), white);
  EXPECT_EQ(image.pixel(r.left() + r.width(), r.top() + 2), image.pixel(0, r.top() + 2));  // no shadow above
  // Background: a vertical gradient from black at the top to Color at the bottom.
  const int n = image.height() - 1;
  EXPECT_EQ(image.pixel(0, 0), black);
  EXPECT_EQ(image.pixel(image.width() - 1, n), Rgb(clNavy));
  const int y = n / 3;
  EXPECT_EQ(image.pixel(0, y), qRgb(0, 0, 0x80 * y / n));
}

TEST_F(PreviewTest, ShadowFallsRightAndBelowTheSheet) {
  Show(500, 400);
  pp->SetShadowColor(clRed);
  const QImage image = Render();
  const QRect r = Sheet();
  const QRgb red = Rgb(clRed);
  const int right = r.left() + r.width(), bottom = r.top() + r.height(), s = 5;
  EXPECT_EQ(CountColumn(image, right, r.top() + s, bottom + s, red), r.height());
  EXPECT_EQ(CountColumn(image, right + s - 1, r.top() + s, bottom + s, red), r.height());
  EXPECT_NE(image.pixel(right, r.top() + s - 1), red);
  EXPECT_NE(image.pixel(right + s, r.top() + 50), red);
  EXPECT_EQ(CountRow(image, bottom, r.left() + s, right, red), r.width() - s);
  EXPECT_NE(image.pixel(r.left() + s - 1, bottom), red);
  EXPECT_EQ(CountAll(image, red), s * r.height() + s * (r.width() - s));
}

TEST_F(PreviewTest, ShadowOffsetZeroDrawsNoShadow) {
  Show(500, 400);
  pp->SetShadowColor(clRed);
  pp->SetShadowOffset(0);
  EXPECT_EQ(CountAll(Render(), Rgb(clRed)), 0);
}

TEST_F(PreviewTest, MarginsOfOneInchAtQuarterZoomLie24PixelsInside) {
  Show(500, 400);
  pp->SetColor(clNavy);  // keeps silver out of the gradient
  pp->SetMarginLeft(1);
  pp->SetMarginTop(1);
  pp->SetMarginRight(1);
  pp->SetMarginBottom(1);
  const QImage image = Render();
  const QRect r = Sheet();
  const QRgb silver = Rgb(clSilver);
  const int top = r.top() + 30, bottom = r.top() + r.height() - 30;
  EXPECT_GT(CountColumn(image, r.left() + 24, top, bottom, silver), 20);
  EXPECT_EQ(CountColumn(image, r.left() + 23, top, bottom, silver), 0);
  EXPECT_EQ(CountColumn(image, r.left() + 25, top, bottom, silver), 0);
  // The right edge is excluded from the rectangle, so its last column is one further in.
  EXPECT_GT(CountColumn(image, r.left() + r.width() - 25, top, bottom, silver), 20);
  EXPECT_GT(CountRow(image, r.top() + 24, r.left() + 30, r.left() + r.width() - 30, silver), 20);
  EXPECT_GT(CountRow(image, r.top() + r.height() - 25, r.left() + 30, r.left() + r.width() - 30, silver), 20);
  // Dotted, not solid.
  EXPECT_LT(CountColumn(image, r.left() + 24, top, bottom, silver), bottom - top);
}

TEST_F(PreviewTest, ShowMarginsOffDrawsNoMargins) {
  Show(500, 400);
  pp->SetColor(clNavy);
  pp->SetShowMargins(false);
  EXPECT_EQ(CountAll(Render(), Rgb(clSilver)), 0);
}

TEST_F(PreviewTest, PageIsStretchedInsideTheUnprintableOffset) {
  Show(500, 400);
  pp->SetShowMargins(false);
  MakePageWithSquare();
  const QImage image = Render();
  const QRect r = Sheet();
  // 0.1 in offsets: 10 screen pixels, 2 at 25 % (2.5 to even), plus one.
  const int x0 = r.left() + 3, y0 = r.top() + 3;
  const QRgb black = Rgb(clBlack), white = Rgb(clWhite);
  EXPECT_EQ(image.pixel(x0 + 1, y0 + 1), black);
  EXPECT_EQ(image.pixel(x0 + 20, y0 + 20), black);
  EXPECT_EQ(image.pixel(x0 + 30, y0 + 30), white);           // the square is about 24 pixels wide
  EXPECT_EQ(image.pixel(r.left() + 1, r.top() + 1), white);  // the unprintable strip stays blank
}

TEST_F(PreviewTest, WithoutPagesOnlyTheEmptySheetIsDrawn) {
  Show(500, 400);
  pp->SetShowMargins(false);
  const QImage image = Render();
  const QRect r = Sheet();
  EXPECT_EQ(pp->PageNumber(), 0);
  EXPECT_EQ(image.pixel(r.left() + 8, r.top() + 8), Rgb(clWhite));
}

TEST_F(PreviewTest, PaintEventPaintsThroughPaintPreview) {
  Show(500, 400);
  MakePageWithSquare();
  const QImage image = pp->PreviewBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect r = Sheet();
  EXPECT_EQ(image.pixel(r.left(), r.top() + 50), Rgb(clBlack));
  EXPECT_EQ(image.pixel(r.left() + 3 + 10, r.top() + 3 + 10), Rgb(clBlack));
  EXPECT_EQ(image.pixel(r.left() + 100, r.top() + 100), Rgb(clWhite));
}

TEST_F(PreviewTest, WithoutGradientTheControlColourShows) {
  Show(500, 400);
  pp->SetGradientBackground(false);
  pp->SetColor(clNavy);
  const QImage image = pp->PreviewBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(image.pixel(1, 1), Rgb(clNavy));
  EXPECT_EQ(image.pixel(image.width() - 2, image.height() - 2), Rgb(clNavy));
}

struct GradientCase {
  const char* name;
  bool vertical;
  QRect rect;
  std::vector<QRgb> bands;  // empty: nothing drawn
};

class GradientTest : public ::testing::TestWithParam<GradientCase> {};

TEST_P(GradientTest, BandsRunFromStartToEnd) {
  const auto& c = GetParam();
  QImage image(6, 6, QImage::Format_RGB32);
  const QRgb untouched = qRgb(1, 2, 3);
  image.fill(untouched);
  {
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    TPagePrinter::GradientFill(canvas, c.rect, clBlack, clWhite, c.vertical);
  }
  if (c.bands.empty()) {
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(image.pixel(x, y), untouched);
    return;
  }
  for (int i = 0; i < int(c.bands.size()); ++i) {
    for (int k = 0; k < (c.vertical ? c.rect.width() : c.rect.height()); ++k) {
      const QPoint p =
          c.vertical ? QPoint(c.rect.left() + k, c.rect.top() + i) : QPoint(c.rect.left() + i, c.rect.top() + k);
      EXPECT_EQ(image.pixel(p), c.bands[i]) << "band " << i << " at " << p.x() << "," << p.y();
    }
  }
  // Nothing outside the rectangle.
  EXPECT_EQ(image.pixel(5, 5), untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Fill, GradientTest,
    ::testing::Values(
        GradientCase{"OnePixelHighDrawsNothing", true, QRect(1, 1, 3, 1), {}},
        GradientCase{"TwoPixelsHighStartAndEnd", true, QRect(1, 1, 3, 2), {qRgb(0, 0, 0), qRgb(255, 255, 255)}},
        GradientCase{"ThreePixelsHighHasAMiddleBand",
                     true,
                     QRect(1, 1, 3, 3),
                     {qRgb(0, 0, 0), qRgb(127, 127, 127), qRgb(255, 255, 255)}},
        GradientCase{"HorizontalTwoColumns", false, QRect(1, 1, 2, 3), {qRgb(0, 0, 0), qRgb(255, 255, 255)}},
        GradientCase{"EmptyRectangle", true, QRect(1, 1, 3, 0), {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PreviewGradient, SystemColoursAreResolved) {
  QImage image(2, 2, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  {
    QPainter painter(&image);
    TPainterCanvas canvas(&painter);
    TPagePrinter::GradientFill(canvas, QRect(0, 0, 2, 2), clBtnShadow, clBtnFace, true);
  }
  EXPECT_EQ(image.pixel(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(image.pixel(0, 1), Rgb(clBtnFace));
}

// Channel products of a very tall gradient do not fit in 32 bits.
TEST(PreviewGradient, TallRectangleKeepsExactStartAndEndColours) {
  const int tall = 10'000'000;
  QImage top(2, 2, QImage::Format_RGB32), bottom(2, 2, QImage::Format_RGB32);
  for (QImage* image : {&top, &bottom}) {
    image->fill(Qt::magenta);
    QPainter painter(image);
    painter.setClipRect(QRect(0, 0, 2, 2));
    if (image == &bottom) painter.translate(0, -(tall - 2));  // the last two rows
    TPainterCanvas canvas(&painter);
    TPagePrinter::GradientFill(canvas, QRect(0, 0, 2, tall), clWhite, clBlack, true);
  }
  EXPECT_EQ(top.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(top.pixel(1, 1), qRgb(254, 254, 254));  // 255 * (n - 1) div n
  EXPECT_EQ(bottom.pixel(0, 0), qRgb(0, 0, 0));     // 255 div n
  EXPECT_EQ(bottom.pixel(1, 1), qRgb(0, 0, 0));
}

// Only the bands inside the painter's clip are filled; those are the same as without a clip.
TEST(PreviewGradient, ClippedFillPaintsTheSameBands) {
  QImage whole(3, 6, QImage::Format_RGB32), clipped(3, 6, QImage::Format_RGB32);
  whole.fill(Qt::magenta);
  clipped.fill(Qt::magenta);
  {
    QPainter painter(&whole);
    TPainterCanvas canvas(&painter);
    TPagePrinter::GradientFill(canvas, QRect(0, 0, 3, 6), clBlack, clWhite, true);
  }
  {
    QPainter painter(&clipped);
    painter.setClipRect(QRect(0, 2, 3, 2));
    TPainterCanvas canvas(&painter);
    TPagePrinter::GradientFill(canvas, QRect(0, 0, 3, 6), clBlack, clWhite, true);
  }
  for (int y = 0; y < 6; ++y) {
    SCOPED_TRACE(y);
    if (y == 2 || y == 3)
      EXPECT_EQ(clipped.pixel(1, y), whole.pixel(1, y));
    else
      EXPECT_EQ(clipped.pixel(1, y), qRgb(255, 0, 255));
  }
  EXPECT_EQ(whole.pixel(1, 3), qRgb(153, 153, 153));  // 255 * 3 div 5
}

struct RepaintCase {
  const char* name;
  std::function<void(TPagePrinter&)> set;
  int repaints;
};

class RepaintTest : public PreviewTest, public ::testing::WithParamInterface<RepaintCase> {};

TEST_P(RepaintTest, RepaintsOnlyWhenSomethingChanged) {
  const int before = InvalidateCountOf(*pp);
  GetParam().set(*pp);
  EXPECT_EQ(InvalidateCountOf(*pp) - before, GetParam().repaints);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, RepaintTest,
    ::testing::Values(RepaintCase{"ZoomSameValueRepaints", [](TPagePrinter& p) { p.SetZoomPercent(25); }, 1},
                      RepaintCase{"ZoomNewValue", [](TPagePrinter& p) { p.SetZoomPercent(50); }, 1},
                      RepaintCase{"ShadowOffsetSame", [](TPagePrinter& p) { p.SetShadowOffset(5); }, 0},
                      RepaintCase{"ShadowOffsetNew", [](TPagePrinter& p) { p.SetShadowOffset(3); }, 1},
                      RepaintCase{"ShadowColorSame", [](TPagePrinter& p) { p.SetShadowColor(clBtnShadow); }, 0},
                      RepaintCase{"ShadowColorNew", [](TPagePrinter& p) { p.SetShadowColor(clRed); }, 1},
                      RepaintCase{"ShowMarginsSame", [](TPagePrinter& p) { p.SetShowMargins(true); }, 0},
                      RepaintCase{"ShowMarginsNew", [](TPagePrinter& p) { p.SetShowMargins(false); }, 1},
                      RepaintCase{"GradientSame", [](TPagePrinter& p) { p.SetGradientBackground(true); }, 0},
                      RepaintCase{"GradientNew", [](TPagePrinter& p) { p.SetGradientBackground(false); }, 1},
                      RepaintCase{"ColorSame", [](TPagePrinter& p) { p.SetColor(p.Color()); }, 0},
                      RepaintCase{"ColorNew", [](TPagePrinter& p) { p.SetColor(clNavy); }, 1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(PreviewTest, ShadowOffsetChangeRecomputesRanges) {
  pp->SetZoomPercent(100);
  pp->SetShadowOffset(10);
  EXPECT_EQ(pp->HorzRange(), 816 + 22);
}

TEST_F(PreviewTest, PreviewSurfaceCoversTheRangeAndScrolls) {
  Show(300, 250);
  pp->SetZoomPercent(100);
  QCoreApplication::processEvents();
  QWidget* box = pp->PreviewBox();
  EXPECT_EQ(box->size(), QSize(828, 1068));
  EXPECT_EQ(pp->horizontalScrollBar()->maximum(), 828 - pp->viewport()->width());
  EXPECT_EQ(pp->verticalScrollBar()->maximum(), 1068 - pp->viewport()->height());
  pp->horizontalScrollBar()->setValue(100);
  pp->verticalScrollBar()->setValue(40);
  EXPECT_EQ(box->pos(), QPoint(-100, -40));
  // Resizing the control keeps the content where the bars say it is.
  pp->resize(340, 270);
  QCoreApplication::processEvents();
  EXPECT_EQ(box->size(), QSize(828, 1068));
  EXPECT_EQ(box->pos(), QPoint(-pp->horizontalScrollBar()->value(), -pp->verticalScrollBar()->value()));
  EXPECT_EQ(pp->horizontalScrollBar()->value(), 100);
}

// A component made at run time keeps the provisional ranges of its construction
// until something recomputes them; after that a small sheet leaves no scrolling.
TEST_F(PreviewTest, SmallZoomFillsTheVisibleArea) {
  Show(500, 400);
  pp->SetZoomPercent(25);
  QCoreApplication::processEvents();
  EXPECT_FALSE(pp->horizontalScrollBar()->isVisible());
  EXPECT_EQ(pp->PreviewBox()->size(), pp->viewport()->size());
}

// Sheet, shadow and margin edges of an extreme zoom or shadow lie beyond int range if
// added up in 32 bits; they must land far outside the surface instead of wrapping.
TEST_F(PreviewTest, ExtremeZoomAndShadowPaintWithoutWrapping) {
  Show(300, 200);
  MakePageWithSquare();
  auto paintCorner = [&] {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    pp->PaintPreview(painter);
    return image;
  };
  pp->SetShadowColor(clRed);
  pp->SetShadowOffset(0x7FFFFFFFu);
  QImage image = paintCorner();
  EXPECT_EQ(CountAll(image, Rgb(clRed)), 0);  // the shadow is more than 2^31 pixels away

  pp->SetShadowOffset(5);
  pp->SetZoomPercent(0xFFFFFFFFu);  // the sheet is wider than int can hold
  image = paintCorner();
  EXPECT_EQ(CountAll(image, Rgb(clWhite)), 40 * 40);  // deep inside the blank top-left of the sheet
}

TEST_F(PreviewTest, ZoomLocationTakesEffectAtTheNextRangeUpdate) {
  Show(300, 250);
  pp->SetZoomPercent(100);
  QScrollBar* h = pp->horizontalScrollBar();
  QScrollBar* v = pp->verticalScrollBar();
  EXPECT_EQ(h->value(), 0);
  EXPECT_EQ(v->value(), 0);
  h->setValue(30);
  v->setValue(20);
  pp->SetZoomLocation(zlCenter);
  EXPECT_EQ(h->value(), 30);  // setting the location alone moves nothing
  EXPECT_EQ(v->value(), 20);
  pp->SetZoomPercent(100);
  EXPECT_EQ(h->value(), (828 - pp->viewport()->width()) / 2);
  EXPECT_EQ(v->value(), (1068 - pp->viewport()->height()) / 2);
  pp->SetZoomLocation(zlTopCenter);
  pp->SetZoomPercent(100);
  EXPECT_EQ(h->value(), (828 - pp->viewport()->width()) / 2);
  EXPECT_EQ(v->value(), 0);
  pp->SetZoomLocation(zlTopLeft);
  pp->SetZoomPercent(100);
  EXPECT_EQ(h->value(), 0);
  EXPECT_EQ(v->value(), 0);
}

TEST_F(PreviewTest, CentredZoomInAWideControlLeavesTheBarsAtZero) {
  Show(900, 700);
  pp->SetZoomLocation(zlCenter);
  pp->SetZoomPercent(50);  // 408 x 528 plus the shadow border
  QCoreApplication::processEvents();
  EXPECT_EQ(pp->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(pp->verticalScrollBar()->value(), 0);
  const QRect r = Sheet();
  EXPECT_EQ(r.left(), (pp->viewport()->width() - 408) / 2);  // centred by the layout alone
}

}  // namespace
