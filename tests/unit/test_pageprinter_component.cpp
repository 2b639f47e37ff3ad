// TPagePrinter as a component: construction, property setters, units and the
// printer page geometry, on test printers of chosen resolution and offsets and
// without any printer.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QVariant>
#include <climits>
#include <cmath>
#include <memory>

#include "FormLoading.h"
#include "PagePrnt.h"
#include "PagePrinterTestSupport.h"

namespace {

TTestPrinter::Setup Printer600(int offsetX = 60, int offsetY = 60) {
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
  TestPrinterScope scope{Printer600()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

class PagePrinterWithoutPrinter : public ::testing::Test {
 protected:
  TestPrinterScope scope{TestPrinterScope::NoPrinter()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

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
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(s);
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
  const int before = pp->InvalidateCount();
  EXPECT_NO_THROW(pp->SetOrientation(poLandscape));
  EXPECT_EQ(pp->Orientation(), poPortrait);
  EXPECT_GT(pp->InvalidateCount(), before);
  pp->SetTitle("Schedule");
  EXPECT_EQ(pp->Title(), "Schedule");
}

TEST_F(PagePrinterWithoutPrinter, LineHeightUses300PixelsPerInch) {
  // 10 points at 300 dpi: 41.67 -> 42 pixels.
  EXPECT_EQ(pp->LineHeight(), 42);
  EXPECT_EQ(pp->PageCanvas()->Font().PixelsPerInch(), 300);
}

// ---------------------------------------------------------------------------
// Units

TEST(PagePrinterUnits, WorkedExampleLeftMarginAt600DpiWithOffset100) {
  TestPrinterScope scope(Printer600(100, 60));
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
  TestPrinterScope scope(s);
  TPagePrinter pp;
  const RoundingCase cases[] = {
      {"0.5 to 0", 0.25, 0},   {"1.5 to 2", 0.75, 2},   {"2.5 to 2", 1.25, 2},  {"3.5 to 4", 1.75, 4},
      {"-2.5 to -2", -1.25, -2}, {"-3.5 to -4", -1.75, -4}, {"2.4 to 2", 1.2, 2}, {"2.6 to 3", 1.3, 3},
  };
  for (const RoundingCase& c : cases) {
    EXPECT_EQ(pp.UnitsToPixelsX(c.length), c.pixels) << c.name;
    EXPECT_EQ(pp.UnitsToPixelsY(c.length), c.pixels) << c.name;
  }
}

TEST(PagePrinterUnits, AbsurdLengthsSaturateInsteadOfOverflowing) {
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(s);
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
  TestPrinterScope scope(s);
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
  TestPrinterScope scope(s);
  TPagePrinter pp;
  EXPECT_DOUBLE_EQ(pp.PixelsToUnitsX(600), 600 * 0.0033333333333333335);
}

TEST(PagePrinterGeometry, PixelValuesAreMeasuredFromThePrintableArea) {
  TestPrinterScope scope(Printer600(60, 120));
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
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(Printer600(90, 120));  // 0.15 in left/right, 0.2 in top/bottom
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
  const int before = pp->InvalidateCount();
  pp->SetMarginLeft(pp->MarginLeft());
  EXPECT_EQ(pp->InvalidateCount(), before + 1);
}

TEST(PagePrinterMargins, UpdatePrinterMetricsClampsAgainstTheCurrentPrinter) {
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(Printer600());
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
  const int before = pp->InvalidateCount();
  pp->SetMeasureUnit(muInches);
  EXPECT_EQ(pp->InvalidateCount(), before);
  EXPECT_DOUBLE_EQ(pp->MarginLeft(), 0.5);
}

// ---------------------------------------------------------------------------
// Refusals while a document is open

TEST(PagePrinterWhilePrinting, RefusesMarginsUnitOrientationAndChangesOfFileSettings) {
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(Printer600());
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
  TestPrinterScope scope(Printer600());
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
  const int before = pp->InvalidateCount();
  pp->SetOrientation(poLandscape);
  EXPECT_EQ(scope.printer().Orientation(), poLandscape);
  EXPECT_EQ(pp->Orientation(), poLandscape);
  EXPECT_EQ(pp->property("Orientation").toInt(), int(poLandscape));
  EXPECT_GT(pp->InvalidateCount(), before);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageWidth(), 11.0);
  EXPECT_DOUBLE_EQ(pp->PhysicalPageHeight(), 8.5);
}

TEST_F(PagePrinterOn600, InvalidateCountsRepaintRequests) {
  const int before = pp->InvalidateCount();
  pp->Invalidate();
  pp->Invalidate();
  EXPECT_EQ(pp->InvalidateCount(), before + 2);
}

// ---------------------------------------------------------------------------
// Loaded

TEST(PagePrinterLoaded, EndsLoadingClearsPagesAndTakesThePenColour) {
  TestPrinterScope scope(Printer600());
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
  const int before = pp.InvalidateCount();
  loading.Finish();
  EXPECT_FALSE(pp.Loading());
  EXPECT_EQ(pp.PageCount(), 0);
  EXPECT_EQ(pp.PageNumber(), 0);
  EXPECT_NE(pp.PageCanvas(), nullptr);
  EXPECT_EQ(pp.PreviewPenColor(), clRed);
  EXPECT_GT(pp.InvalidateCount(), before);
  // Margins were clamped against the printer present at load time.
  EXPECT_DOUBLE_EQ(pp.MarginBottom(), 4.9);
}

}  // namespace
