// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The PDF printer, the painter canvas and recorded pages (metafiles) played back.
#include <gtest/gtest.h>

#include "PlatformPrintingTestSupport.h"

namespace {

using namespace platform_printing_test;

// ---------------------------------------------------------------------------
// The PDF printer

TEST(PdfPrinter, LetterAt600DpiWithQuarterInchOffsets) {
  QTemporaryDir dir;
  auto printer = MakePdfPrinter(dir.filePath("caps.pdf"));
  TDeviceContext* dc = printer->Handle();
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 5100);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 6600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 150);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 150);
  EXPECT_EQ(printer->Orientation(), poPortrait);
  printer->SetOrientation(poLandscape);
  EXPECT_EQ(printer->Orientation(), poLandscape);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 6600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 5100);
}

TEST(PdfPrinter, OtherResolution) {
  QTemporaryDir dir;
  auto printer = MakePdfPrinter(dir.filePath("caps.pdf"), 300);
  EXPECT_EQ(GetDeviceCaps(printer->Handle(), LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(printer->Handle(), PHYSICALWIDTH), 2550);
  EXPECT_EQ(GetDeviceCaps(printer->Handle(), PHYSICALOFFSETY), 75);
}

TEST(PdfPrinter, WritesEveryPageWithItsText) {
  QTemporaryDir dir;
  const QString file = dir.filePath("three.pdf");
  auto printer = MakePdfPrinter(file);
  printer->SetTitle("Amortization Schedule");
  printer->BeginDoc();
  EXPECT_THROW(printer->BeginDoc(), EPrinter);
  for (int page = 1; page <= 3; ++page) {
    if (page > 1) printer->NewPage();
    TCanvas* canvas = printer->Canvas();
    canvas->Font().Assign(CourierPixels(-83));
    canvas->Brush().Style = bsClear;
    canvas->TextOut(300, 300, QString("Sheet number %1").arg(page));
    canvas->MoveTo(300, 400);
    canvas->LineTo(3000, 400);
  }
  printer->EndDoc();
  EXPECT_FALSE(printer->Printing());
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(PdfPageCount(file), 3);
  const QString text = PdfText(file);
  for (int page = 1; page <= 3; ++page)
    EXPECT_TRUE(text.contains(QString("Sheet number %1").arg(page))) << text.toStdString();
  EXPECT_TRUE(RunTool("pdfinfo", {file}).contains("Amortization Schedule"));
}

TEST(PdfPrinter, PlaysARecordedPageOneToOne) {
  QTemporaryDir dir;
  const QString file = dir.filePath("page.pdf");
  auto printer = MakePdfPrinter(file);
  TMetafile page;
  page.SetWidth(4950);
  page.SetHeight(6450);
  {
    TMetafileCanvas canvas(&page, printer->Handle());
    canvas.Font().Assign(CourierPixels(-83));
    canvas.Brush().Style = bsClear;
    canvas.TextOut(0, 0, "Recorded line");
  }
  printer->BeginDoc();
  printer->Canvas()->Draw(0, 0, page);
  printer->EndDoc();
  EXPECT_EQ(PdfPageCount(file), 1);
  EXPECT_TRUE(PdfText(file).contains("Recorded line"));
}

TEST(PdfPrinter, AbortLeavesNoFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("aborted.pdf");
  auto printer = MakePdfPrinter(file);
  printer->BeginDoc();
  printer->Canvas()->TextOut(10, 10, "discarded");
  printer->Abort();
  EXPECT_FALSE(printer->Printing());
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_THROW(printer->EndDoc(), EPrinter);
}

TEST(PdfPrinter, UnwritableFileRaisesEPrinter) {
  auto printer = MakePdfPrinter("/nonexistent-folder/for/sure/out.pdf");
  try {
    printer->BeginDoc();
    FAIL() << "BeginDoc must fail";
  } catch (const EPrinter& e) {
    EXPECT_TRUE(e.Message().contains("out.pdf")) << e.what();
  }
  EXPECT_FALSE(printer->Printing());
}

// ---------------------------------------------------------------------------
// The painter canvas

TEST(PainterCanvas, TextStandsAtItsTopLeftWithTheFontColour) {
  QImage image = WhiteImage(300, 120);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Font().Assign(CourierPixels(-40));
  canvas.Font().SetColor(clRed);
  canvas.Brush().Style = bsClear;
  canvas.TextOut(20, 30, "HHHH");
  const int width = canvas.TextWidth("HHHH");
  painter.end();
  // Capital H reaches from the baseline to near the top of the cell, starting
  // below y = 30 and never above it.
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 300, 30), [](QColor c) { return !IsWhite(c); }), 0);
  EXPECT_GT(CountPixels(image, QRect(20, 30, width, 45), IsReddish), 100);
  EXPECT_EQ(CountPixels(image, QRect(20 + width + 2, 0, 300, 120), [](QColor c) { return !IsWhite(c); }), 0);
}

TEST(PainterCanvas, SolidBrushFillsTheTextBox) {
  QImage image = WhiteImage(300, 120);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Font().Assign(CourierPixels(-40));
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clYellow;
  canvas.TextOut(20, 30, "ab");
  const QRect box(20, 30, canvas.TextWidth("ab"), canvas.TextHeight("ab"));
  painter.end();
  // Corners of the box are background, in the brush colour.
  EXPECT_EQ(image.pixelColor(box.topLeft()), QColor(Qt::yellow));
  EXPECT_EQ(image.pixelColor(box.bottomRight()), QColor(Qt::yellow));
  EXPECT_EQ(image.pixelColor(box.bottomRight() + QPoint(1, 1)), QColor(Qt::white));
  EXPECT_GT(CountPixels(image, box, IsDark), 20);
}

TEST(PainterCanvas, RectangleExcludesItsRightAndBottomEdges) {
  QImage image = WhiteImage(60, 60);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Pen().Width = 1;
  canvas.Brush().Color = clYellow;
  canvas.Rectangle(GdiRect(10, 10, 30, 20));
  painter.end();
  for (QPoint p : {QPoint(10, 10), QPoint(29, 10), QPoint(10, 19), QPoint(29, 19), QPoint(20, 10), QPoint(10, 15)})
    EXPECT_EQ(image.pixelColor(p), QColor(Qt::black)) << p.x() << "," << p.y();
  EXPECT_EQ(image.pixelColor(20, 15), QColor(Qt::yellow));
  EXPECT_EQ(image.pixelColor(11, 11), QColor(Qt::yellow));
  for (QPoint p : {QPoint(30, 15), QPoint(20, 20), QPoint(9, 15), QPoint(20, 9), QPoint(30, 20)})
    EXPECT_EQ(image.pixelColor(p), QColor(Qt::white)) << p.x() << "," << p.y();
}

TEST(PainterCanvas, FillRectUsesTheBrushOnly) {
  QImage image = WhiteImage(40, 40);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Brush().Color = clNavy;
  canvas.FillRect(QRect(5, 5, 10, 10));
  canvas.Brush().Style = bsClear;
  canvas.FillRect(QRect(20, 20, 10, 10));
  painter.end();
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 40, 40), [](QColor c) { return c == QColor(0, 0, 128); }), 100);
  EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::white));
}

TEST(PainterCanvas, LinesWithThinAndDottedPens) {
  QImage image = WhiteImage(100, 40);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Pen().Width = 0;
  canvas.MoveTo(10, 10);
  canvas.LineTo(90, 10);
  EXPECT_EQ(canvas.PenPos(), QPoint(90, 10));
  canvas.Pen().Style = psDot;
  canvas.MoveTo(10, 30);
  canvas.LineTo(90, 30);
  painter.end();
  // A width of 0 is one pixel thick.
  EXPECT_EQ(CountPixels(image, QRect(10, 9, 80, 1), IsDark), 0);
  EXPECT_EQ(CountPixels(image, QRect(10, 10, 80, 1), IsDark), 80);
  EXPECT_EQ(CountPixels(image, QRect(10, 11, 80, 1), IsDark), 0);
  // Dotted: some pixels of the row set, clearly not all.
  const int dots = CountPixels(image, QRect(10, 30, 80, 1), IsDark);
  EXPECT_GT(dots, 15);
  EXPECT_LT(dots, 60);
}

// ---------------------------------------------------------------------------
// Metafiles

TEST(Metafile, RecordsOperationsWithTheirPenBrushAndFont) {
  TTestPrinter printer({});
  TMetafile page;
  page.SetWidth(5040);
  page.SetHeight(6540);
  TMetafileCanvas canvas(&page, printer.Handle());
  canvas.Font().Assign(CourierPixels(-83));
  canvas.Brush().Style = bsClear;
  EXPECT_EQ(canvas.TextWidth("12345"), 250) << "measured on the reference device";
  canvas.TextOut(100, 200, "Hello");
  canvas.Pen().Width = 3;
  canvas.Pen().Style = psDot;
  canvas.MoveTo(0, 300);
  canvas.LineTo(900, 300);
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clSilver;
  canvas.Rectangle(QRect(10, 20, 30, 40));
  canvas.FillRect(QRect(1, 2, 3, 4));

  const auto& ops = page.Operations();
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[0].kind, TMetaOp::Text);
  EXPECT_EQ(ops[0].text, "Hello");
  EXPECT_EQ(ops[0].origin, QPoint(100, 200));
  ASSERT_TRUE(ops[0].font);
  EXPECT_EQ(ops[0].font->Height(), -83);
  EXPECT_EQ(ops[0].font->Name(), "Courier New");
  EXPECT_EQ(ops[0].brush.Style, bsClear);
  EXPECT_EQ(ops[1].kind, TMetaOp::Polyline);
  EXPECT_EQ(ops[1].points, (std::vector<QPoint>{{0, 300}, {900, 300}}));
  EXPECT_EQ(ops[1].pen.Width, 3);
  EXPECT_EQ(ops[1].pen.Style, psDot);
  EXPECT_EQ(ops[2].kind, TMetaOp::Rectangle);
  EXPECT_EQ(ops[2].rect, QRect(10, 20, 30, 40));
  EXPECT_EQ(ops[2].brush.Color, clSilver);
  EXPECT_EQ(ops[3].kind, TMetaOp::FillRect);
  EXPECT_EQ(ops[3].rect, QRect(1, 2, 3, 4));
  ASSERT_EQ(page.TextOperations().size(), 1u);
  EXPECT_EQ(page.TextOperations()[0], &ops[0]);
}

TEST(Metafile, CanvasWithoutReferenceMeasuresOnTheScreen) {
  TMetafile page;
  TMetafileCanvas canvas(&page, nullptr);
  EXPECT_EQ(canvas.Reference(), ScreenDC());
  canvas.Font().Assign(CourierPixels(-30));
  EXPECT_EQ(canvas.TextWidth("abc"), ScreenDC()->TextWidth(canvas.Font(), "abc"));
}

TEST(Metafile, TextsInOneFontShareOneImmutableCopy) {
  TMetafile page;
  TTestPrinter printer({});
  TMetafileCanvas canvas(&page, printer.Handle());
  canvas.Font().Assign(CourierPixels(-83));
  for (int i = 0; i < 1000; ++i) canvas.TextOut(0, i, QString::number(i));
  canvas.Font().SetStyle(fsBold);
  canvas.TextOut(0, 0, "bold");
  canvas.Font().SetStyle(0);
  canvas.TextOut(0, 0, "plain again");

  const auto& ops = page.Operations();
  ASSERT_EQ(ops.size(), 1002u);
  for (int i = 1; i < 1000; ++i) ASSERT_EQ(ops[i].font.get(), ops[0].font.get());
  EXPECT_NE(ops[1000].font.get(), ops[0].font.get());
  EXPECT_EQ(ops[1000].font->Style(), fsBold);
  EXPECT_TRUE(ops[1001].font->SameAs(*ops[0].font));
  // Changing the canvas font later does not touch what was recorded.
  canvas.Font().SetHeight(-10);
  EXPECT_EQ(ops[0].font->Height(), -83);
}

TEST(Metafile, DrawOntoAnotherMetafileTranslates) {
  TMetafile inner, outer;
  inner.SetWidth(100);
  inner.SetHeight(100);
  {
    TMetafileCanvas c(&inner, nullptr);
    c.TextOut(1, 2, "x");
    c.MoveTo(0, 0);
    c.LineTo(10, 0);
  }
  TMetafileCanvas c(&outer, nullptr);
  c.Draw(50, 60, inner);
  ASSERT_EQ(outer.Operations().size(), 2u);
  EXPECT_EQ(outer.Operations()[0].origin, QPoint(51, 62));
  EXPECT_EQ(outer.Operations()[1].points, (std::vector<QPoint>{{50, 60}, {60, 60}}));
}

// A page of 400 x 200 pixels with a line, a filled block and a text.
TMetafile SamplePage() {
  TMetafile page;
  page.SetWidth(400);
  page.SetHeight(200);
  TMetafileCanvas canvas(&page, nullptr);
  canvas.Pen().Width = 0;
  canvas.MoveTo(0, 100);
  canvas.LineTo(400, 100);
  canvas.Brush().Color = clRed;
  canvas.FillRect(QRect(200, 0, 100, 50));
  canvas.Brush().Style = bsClear;
  canvas.Font().Assign(CourierPixels(-40));
  canvas.TextOut(20, 130, "TEXT");
  return page;
}

TEST(Metafile, PlaysOneToOne) {
  const TMetafile page = SamplePage();
  QImage image = WhiteImage(400, 200);
  QPainter painter(&image);
  page.Play(painter, QRect(0, 0, 400, 200));
  painter.end();
  EXPECT_EQ(CountPixels(image, QRect(0, 100, 400, 1), IsDark), 400);
  EXPECT_EQ(CountPixels(image, QRect(200, 0, 100, 50), IsReddish), 5000);
  EXPECT_GT(CountPixels(image, QRect(20, 130, 110, 50), IsDark), 100);
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 190, 95), [](QColor c) { return !IsWhite(c); }), 0);
}

TEST(Metafile, PlaysStretchedIntoARectangle) {
  const TMetafile page = SamplePage();
  QImage image = WhiteImage(300, 200);
  QPainter painter(&image);
  // Half size, placed at (100, 100): the page covers (100, 100)..(300, 200).
  page.Play(painter, QRect(100, 100, 200, 100));
  painter.end();
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 300, 100), [](QColor c) { return !IsWhite(c); }), 0);
  EXPECT_EQ(CountPixels(image, QRect(200, 100, 50, 25), IsReddish), 1250);
  // The hairline stays visible at half size: one row of dark pixels near y = 150.
  EXPECT_GE(CountPixels(image, QRect(100, 149, 200, 3), IsDark), 200);
  // The text shrinks with the page: it lies within (110, 165)..(165, 190).
  EXPECT_GT(CountPixels(image, QRect(110, 165, 55, 25), IsDark), 20);
  EXPECT_EQ(CountPixels(image, QRect(170, 155, 30, 45), IsDark), 0);
}

TEST(Metafile, PainterCanvasDrawAndStretchDrawPlayThePage) {
  const TMetafile page = SamplePage();
  QImage image = WhiteImage(600, 400);
  QPainter painter(&image);
  TPainterCanvas canvas(&painter);
  canvas.Draw(100, 0, page);
  canvas.StretchDraw(QRect(0, 200, 800, 400), page);
  painter.end();
  EXPECT_EQ(CountPixels(image, QRect(300, 0, 100, 50), IsReddish), 5000);
  // Doubled: the block runs from x = 400 to 600 and y = 200 to 300.
  EXPECT_EQ(CountPixels(image, QRect(400, 200, 200, 100), IsReddish), 20000);
  EXPECT_EQ(CountPixels(image, QRect(0, 300, 600, 100), IsReddish), 0);
}

}  // namespace
