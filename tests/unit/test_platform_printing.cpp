// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The printing half of the platform layer: device contexts, the test printer and the system printer.
#include <gtest/gtest.h>

#include "PlatformPrintingTestSupport.h"
#include "TestPrinterInstall.h"

namespace {

using namespace platform_printing_test;

// ---------------------------------------------------------------------------
// Device contexts

TEST(DeviceContext, NullHandleReportsNothing) {
  for (TDeviceCap cap : {LOGPIXELSX, LOGPIXELSY, PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX, PHYSICALOFFSETY})
    EXPECT_EQ(GetDeviceCaps(nullptr, cap), 0);
  TTextMetric tm;
  tm.tmHeight = 42;
  EXPECT_FALSE(GetTextMetrics(nullptr, tm));
  EXPECT_EQ(tm.tmHeight, 42) << "a failed call leaves the caller's metrics alone";
}

TEST(DeviceContext, ScreenReportsItsLogicalResolution) {
  const int dpi = ScreenPixelsPerInch();
  EXPECT_GT(dpi, 0);
  EXPECT_EQ(GetDeviceCaps(ScreenDC(), LOGPIXELSX), dpi);
  EXPECT_EQ(GetDeviceCaps(ScreenDC(), LOGPIXELSY), dpi);
  EXPECT_EQ(GetDeviceCaps(ScreenDC(), PHYSICALOFFSETX), 0);
}

TEST(DeviceContext, MeasuresInDevicePixelsOfTheFontHeight) {
  TDeviceContext* dc = ScreenDC();
  const TFont small = CourierPixels(-50);
  const TFont large = CourierPixels(-500);
  const QString text = "Payment 12";
  EXPECT_EQ(dc->TextWidth(small, text), QFontMetrics(small.ToQFont()).horizontalAdvance(text));
  // Liberation Mono has Courier New's advance of 0.6 em: the width follows the pixel height
  // whatever the screen resolution.
  EXPECT_NEAR(dc->TextWidth(large, text), 0.6 * 500 * double(text.size()), double(text.size()) * 2);
  EXPECT_EQ(dc->TextWidth(large, QString()), 0);

  const TTextMetric tm = dc->TextMetrics(large);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 500);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 500);
  EXPECT_GE(tm.tmExternalLeading, 0);
}

TEST(DeviceContext, GetTextMetricsReportsTheSelectedFont) {
  TTestPrinter printer({});
  TDeviceContext* dc = printer.Handle();
  dc->SelectedFont().Assign(CourierPixels(-100));
  TTextMetric tm;
  ASSERT_TRUE(GetTextMetrics(dc, tm));
  EXPECT_EQ(tm.tmHeight, 100);
  EXPECT_EQ(tm.tmAscent, 80);
}

// ---------------------------------------------------------------------------
// The test printer

TEST(TestPrinter, ReportsItsSetUp) {
  TTestPrinter printer({});
  TDeviceContext* dc = printer.Handle();
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 5100);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 6600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 60);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 60);
}

TEST(TestPrinter, LandscapeSwapsTheAxes) {
  TTestPrinter::Setup setup;
  setup.dpiX = 300;
  setup.dpiY = 600;
  setup.offsetX = 10;
  setup.offsetY = 20;
  TTestPrinter printer(setup);
  EXPECT_EQ(printer.Orientation(), poPortrait);
  printer.SetOrientation(poLandscape);
  EXPECT_EQ(printer.Orientation(), poLandscape);
  TDeviceContext* dc = printer.Handle();
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 6600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 5100);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 20);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 10);
}

struct PitchCase {
  int height;
  int pitch;
};
void PrintTo(const PitchCase& c, std::ostream* os) { *os << "height " << c.height << " pitch " << c.pitch; }
class TestPrinterPitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(TestPrinterPitch, EveryCharacterAdvancesTheSame) {
  TTestPrinter printer({});
  const TFont font = CourierPixels(GetParam().height);
  TDeviceContext* dc = printer.Handle();
  EXPECT_EQ(dc->TextWidth(font, "W"), GetParam().pitch);
  EXPECT_EQ(dc->TextWidth(font, "i.i.i"), 5 * GetParam().pitch);
  EXPECT_EQ(dc->TextWidth(font, ""), 0);
  EXPECT_EQ(dc->TextHeight(font, "x"), std::abs(GetParam().height));
}

// 10 points at 600 dpi is 83 pixels: 0.6 x 83 = 49.8 -> 50.
INSTANTIATE_TEST_SUITE_P(Heights, TestPrinterPitch,
                         ::testing::Values(PitchCase{-83, 50}, PitchCase{83, 50}, PitchCase{-10, 6}, PitchCase{-25, 15},
                                           PitchCase{-1, 1}, PitchCase{-100, 60}),
                         [](const auto& p) { return param_names::Join("Height", param_names::Value(p.param.height)); });

TEST(TestPrinter, MetricsAreWorkedOutFromTheHeight) {
  TTestPrinter::Setup setup;
  setup.externalLeading = 7;
  TTestPrinter printer(setup);
  const TTextMetric tm = printer.Handle()->TextMetrics(CourierPixels(-83));
  EXPECT_EQ(tm.tmHeight, 83);
  EXPECT_EQ(tm.tmAscent, 66);
  EXPECT_EQ(tm.tmDescent, 17);
  EXPECT_EQ(tm.tmExternalLeading, 7);
}

TEST(TestPrinter, WithoutAPrinterTheContextAndOrientationFail) {
  TTestPrinter::Setup setup;
  setup.available = false;
  TTestPrinter printer(setup);
  try {
    printer.Handle();
    FAIL() << "Handle() must raise without a printer";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "There is no default printer currently selected");
  }
  EXPECT_THROW(printer.Orientation(), EPrinter);
  EXPECT_THROW(printer.SetOrientation(poLandscape), EPrinter);
  EXPECT_THROW(printer.BeginDoc(), EPrinter);
  EXPECT_FALSE(printer.Printing());
  // Title and copies are plain settings and work regardless.
  printer.SetTitle("Loan");
  EXPECT_EQ(printer.Title(), "Loan");
}

TEST(TestPrinter, RecordsAJob) {
  TTestPrinter printer({});
  TMetafile page1, page2;
  page1.Operations().resize(3);
  page2.Operations().resize(5);
  printer.SetTitle("Schedule");
  printer.SetCopies(2);
  EXPECT_THROW(printer.Canvas(), EPrinter) << "no canvas outside a job";
  printer.BeginDoc();
  EXPECT_TRUE(printer.Printing());
  printer.SetTitle("Changed later");
  printer.Canvas()->Draw(0, 0, page1);
  printer.NewPage();
  printer.Canvas()->StretchDraw(QRect(5, 6, 10, 10), page2);
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());

  EXPECT_EQ(printer.Events(), (std::vector<QString>{"BeginDoc", "NewPage", "EndDoc"}));
  ASSERT_EQ(printer.Sheets().size(), 2u);
  EXPECT_EQ(printer.Sheets()[0].page, &page1);
  EXPECT_EQ(printer.Sheets()[0].operations, 3);
  EXPECT_EQ(printer.Sheets()[1].page, &page2);
  EXPECT_EQ(printer.Sheets()[1].operations, 5);
  EXPECT_EQ(printer.Sheets()[1].origin, QPoint(5, 6));
  EXPECT_EQ(printer.CopiesAtBeginDoc(), 2);
  EXPECT_EQ(printer.TitleAtBeginDoc(), "Schedule");

  printer.ClearRecord();
  EXPECT_TRUE(printer.Events().empty());
  EXPECT_TRUE(printer.Sheets().empty());
}

TEST(TestPrinter, RefusesMisuseOfTheJob) {
  TTestPrinter printer({});
  EXPECT_THROW(printer.EndDoc(), EPrinter);
  EXPECT_THROW(printer.NewPage(), EPrinter);
  EXPECT_THROW(printer.Abort(), EPrinter);
  printer.BeginDoc();
  EXPECT_THROW(printer.BeginDoc(), EPrinter) << "a second job while one is open";
  EXPECT_THROW(printer.SetOrientation(poLandscape), EPrinter);
  printer.Abort();
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.Events(), (std::vector<QString>{"BeginDoc", "Abort"}));
}

TEST(TestPrinter, FailsAtTheChosenSheetAndKeepsTheJobOpen) {
  TTestPrinter::Setup setup;
  setup.failAtSheet = 2;
  TTestPrinter printer(setup);
  printer.BeginDoc();
  printer.NewPage();
  EXPECT_THROW(printer.NewPage(), EPrinter);
  EXPECT_TRUE(printer.Printing());
  printer.EndDoc();
  EXPECT_EQ(printer.Events(), (std::vector<QString>{"BeginDoc", "NewPage", "EndDoc"}));

  // Each job counts its own sheets.
  printer.ClearRecord();
  printer.BeginDoc();
  EXPECT_NO_THROW(printer.NewPage());
  EXPECT_THROW(printer.EndDoc(), EPrinter);
}

TEST(PrinterObject, SetPrinterHandsBackThePreviousOne) {
  TestPrinterInstall<> install;
  TPrinter* firstRaw = install.get();
  EXPECT_EQ(Printer(), firstRaw);
  auto previous = SetPrinter(std::make_shared<TTestPrinter>(TTestPrinter::Setup{}));
  EXPECT_EQ(previous.get(), firstRaw);
  EXPECT_NE(Printer(), firstRaw);
}

// ---------------------------------------------------------------------------
// The system printer

// Against a scheduler socket where nothing listens: CUPS refuses at once and
// knows no queue, whatever the machine has installed.
TEST(SystemPrinter, WithoutADefaultQueueRaisesEPrinter) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CupsServerOverride noScheduler(dir.filePath(QStringLiteral("no-scheduler.sock")));
  auto printer = MakeSystemPrinter();
  ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull());
  try {
    printer->Handle();
    FAIL() << "Handle() must raise without a default printer";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "There is no default printer currently selected");
  }
  EXPECT_THROW(printer->Orientation(), EPrinter);
  EXPECT_THROW(printer->SetOrientation(poLandscape), EPrinter);
  EXPECT_THROW(printer->BeginDoc(), EPrinter);
  EXPECT_FALSE(printer->Printing());
  printer->SetTitle("Still settable");
  EXPECT_EQ(printer->Title(), "Still settable");
}

}  // namespace
