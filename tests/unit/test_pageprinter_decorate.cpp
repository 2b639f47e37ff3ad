// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Page decoration of the page printer on a 600 dpi test printer: header and
// footer placement and clamping, borders, state restored after every page
// start, tokens, and the friendly header/footer notation.
#include <QDateTime>
#include <stdexcept>
#include <string>

#include "Conversions.h"
#include "FormLoading.h"
#include "PagePrinterFixtures.h"
#include "ParamNames.h"

using Texts = std::vector<DrawnText>;

namespace {
// A formatted moment that may tick over while the test runs: either reading counts.
template <class F>
bool MatchesNow(const QString& actual, F format) {
  const QString before = format(QDateTime::currentDateTime());
  if (actual == before) return true;
  return actual == format(QDateTime::currentDateTime());
}
}  // namespace

class DecorateTest : public PagePrinterFlowTest {
 protected:
  // Margins of half an inch all round: text area 4500 x 6000 pixels at (240, 240).
  void HalfInchMargins() {
    pp->SetMarginTop(0.5);
    pp->SetMarginBottom(0.5);
    pp->SetMarginLeft(0.5);
    pp->SetMarginRight(0.5);
  }
  const TMetaOp* TextOp(int page, const QString& text) {
    for (const TMetaOp* op : pp->Pages(page)->TextOperations())
      if (op->text == text) return op;
    return nullptr;
  }
};

// ---------------------------------------------------------------------------
// Placement

TEST_F(DecorateTest, HeaderRowCentredInTheTopMargin) {
  HalfInchMargins();
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  // 108 pixels below the sheet's top edge: (300 - 83) div 2.
  EXPECT_EQ(PageTexts(1), (Texts{{"H", 240 + 12, 48}}));
  EXPECT_EQ(pp->CurrentY(), 0);
}

TEST_F(DecorateTest, HeaderInsideTheUnprintableStripMovesToThePrintableTop) {
  TTestPrinter::Setup setup;
  setup.offsetY = 150;  // 0.25 inch
  Install(setup);
  pp->SetMarginTop(0.5);
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  ASSERT_EQ(PageTexts(1).size(), 1u);
  EXPECT_EQ(PageTexts(1)[0].y, 0);
}

TEST_F(DecorateTest, FooterRowCentredInTheBottomMargin) {
  HalfInchMargins();
  pp->SetFooter("F");
  pp->SetFooterFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  // Bottom margin line at 6300 from the sheet's top, the row 108 below it.
  EXPECT_EQ(PageTexts(1), (Texts{{"F", 240 + 12, 6408 - 60}}));
}

TEST_F(DecorateTest, FooterInsideTheUnprintableStripEndsOnThePrintableBottom) {
  TTestPrinter::Setup setup;
  setup.offsetY = 150;
  Install(setup);
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  pp->SetFooter("F");
  pp->SetFooterFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  ASSERT_EQ(PageTexts(1).size(), 1u);
  EXPECT_EQ(PageTexts(1)[0].y + 83, 6600 - 300);  // printable height
}

TEST_F(DecorateTest, MarginBandLowerThanTheRowKeepsRowsOnThePrintableArea) {
  // Margins at the printer's minimum: a 60-pixel band for an 83-pixel row.
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetFooter("F");
  pp->SetFooterFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"H", 12, 0}, {"F", 12, 6480 - 83}}));
}

class ExtremeBorderOffsetTest : public DecorateTest, public ::testing::WithParamInterface<double> {};

TEST_P(ExtremeBorderOffsetTest, RowsNeverLeaveTheSheet) {
  HalfInchMargins();
  pp->SetPageBorders(BorderBit(pbTop) | BorderBit(pbBottom));
  pp->SetPageBorderOffset(GetParam());
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetFooter("F");
  pp->SetFooterFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  for (const DrawnText& t : PageTexts(1)) {
    EXPECT_GE(t.y, 0) << t;
    EXPECT_LE(t.y + 83, 6480) << t;
  }
  EXPECT_EQ(PageTexts(1).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Offsets, ExtremeBorderOffsetTest, ::testing::Values(-30.0, -3.0, 0.45, 3.0, 30.0),
                         [](const auto& p) { return param_names::Join("Offset", param_names::Value(p.param)); });

TEST_F(DecorateTest, TopBorderAndTheHeaderCentredAboveIt) {
  HalfInchMargins();
  pp->SetPageBorders(BorderBit(pbTop));
  pp->SetPageBorderOffset(0.1);
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  EXPECT_EQ(PageLines(1), (std::vector<DrawnLine>{{{180, 180}, {4800, 180}, 4}}));
  // Centred between the sheet's top edge and the border line: (240 - 83) div 2 = 78 below the edge.
  EXPECT_EQ(PageTexts(1), (Texts{{"H", 252, 78 - 60}}));
}

TEST_F(DecorateTest, FourBordersFormARectangleOutsideTheMargins) {
  HalfInchMargins();
  pp->SetPageBorders(BorderBit(pbTop) | BorderBit(pbBottom) | BorderBit(pbLeft) | BorderBit(pbRight));
  pp->SetPageBorderOffset(0.1);
  pp->BeginDoc();
  pp->NewPage();
  pp->EndDoc();
  const std::vector<DrawnLine> expected = {
      {{180, 180}, {4800, 180}, 4},
      {{180, 6300}, {4800, 6300}, 4},
      {{180, 180}, {180, 6300}, 4},
      {{4800, 180}, {4800, 6300}, 4},
  };
  EXPECT_EQ(PageLines(1), expected);
  EXPECT_EQ(PageLines(2), expected);
}

TEST_F(DecorateTest, NoBordersStillNeedAPrinter) {
  pp->BeginDoc();
  EXPECT_TRUE(PageLines(1).empty());
  printer->Config().available = false;
  EXPECT_THROW(pp->NewPage(), EPrinter);
}

TEST_F(DecorateTest, ScheduleHeaderAndFooter) {
  HalfInchMargins();
  pp->SetTitle("Amortization Schedule");
  pp->SetHeader("{$TITLE}|{$DATE}");
  pp->SetHeaderFormat("^4|>2");
  pp->SetFooter("Page - {$PAGE}");
  pp->SetFooterFormat(">5");
  const QString today = FormatDateTime("ddddd", QDateTime::currentDateTime());
  pp->BeginDoc();
  pp->NewPage();
  pp->NewPage();
  pp->EndDoc();
  const Texts page3 = PageTexts(3);
  ASSERT_EQ(page3.size(), 3u);
  // The title centred in 2400 pixels, the date right-aligned in the next 1200.
  EXPECT_EQ(page3[0], (DrawnText{"Amortization Schedule", 240 + (2400 - 21 * 50) / 2, 48}));
  EXPECT_EQ(page3[1].text, today);
  EXPECT_EQ(page3[1].x, 240 + 2400 + 1200 - 12 - today.size() * 50);
  EXPECT_EQ(page3[2], (DrawnText{"Page - 3", 240 + 3000 - 12 - 8 * 50, 6408 - 60}));
}

TEST_F(DecorateTest, TitleHoldingATokenPrintsLiterally) {
  pp->SetTitle("Page {$PAGE}");
  pp->SetHeader("{$TITLE}");
  pp->SetHeaderFormat("<3");
  pp->BeginDoc();
  pp->EndDoc();
  ASSERT_EQ(PageTexts(1).size(), 1u);
  EXPECT_EQ(PageTexts(1)[0].text, "Page {$PAGE}");
}

// ---------------------------------------------------------------------------
// Cursor, events and restored state

TEST_F(DecorateTest, HandlerLinesComeFirstAndLineNumberIsKept) {
  HalfInchMargins();
  pp->SetHeader("line {$LINE}");
  pp->SetHeaderFormat("<3");
  pp->SetOnNewPage([&](QObject*) {
    pp->WriteLine("first");
    pp->WriteLine("second");
  });
  pp->BeginDoc();
  EXPECT_EQ(pp->LineNumber(), 2);
  EXPECT_EQ(pp->CurrentY(), 166);
  pp->WriteLine("body {$LINE}");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1),
            (Texts{{"first", 240, 240}, {"second", 240, 323}, {"line 2", 252, 48}, {"body {$LINE}", 240, 406}}));
}

TEST_F(DecorateTest, HeaderAndFooterGetNoGridAndLeaveTableSettingsAlone) {
  pp->SetTableGrid(true);
  pp->SetTableFormat(">1|>2");
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetFooter("F");
  pp->SetFooterFormat("<1");
  pp->BeginDoc();
  EXPECT_TRUE(PageLines(1).empty());
  EXPECT_TRUE(pp->TableGrid());
  EXPECT_EQ(pp->TableFormat(), ">1|>2");
  pp->EndDoc();
}

TEST_F(DecorateTest, HeaderFontIsUsedAndTheBodyFontComesBack) {
  HalfInchMargins();
  pp->SetAutoHeaderFont(false);
  pp->HeaderFont().SetSize(12);
  pp->HeaderFont().SetStyle(fsBold);
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->BeginDoc();
  EXPECT_EQ(pp->LineHeight(), 83);
  EXPECT_EQ(pp->Font().Size(), 10);
  EXPECT_EQ(pp->Font().Style(), 0);
  EXPECT_FALSE(pp->AutoHeaderFont());
  EXPECT_TRUE(pp->AutoFooterFont());
  EXPECT_EQ(pp->HeaderFont().Size(), 12);
  pp->WriteLine("body");
  pp->EndDoc();
  const TMetaOp* header = TextOp(1, "H");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->font->Style(), fsBold);
  EXPECT_EQ(std::abs(header->font->Height()), 100);
  EXPECT_EQ(header->origin.y(), 240 + (300 - 100) / 2 - 300);  // with the header's own line height
  const TMetaOp* body = TextOp(1, "body");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->font->Style(), 0);
  EXPECT_EQ(std::abs(body->font->Height()), 83);
}

TEST_F(DecorateTest, FontSwapsDoNotSpillIntoTheFooterFont) {
  pp->SetAutoHeaderFont(false);
  pp->HeaderFont().SetStyle(fsItalic);
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->BeginDoc();
  pp->EndDoc();
  EXPECT_EQ(pp->FooterFont().Style(), 0);  // still following the body font
  EXPECT_TRUE(pp->AutoFooterFont());
}

TEST_F(DecorateTest, FailureWhileDrawingTheHeaderRestoresTheSwappedState) {
  pp->SetTableGrid(true);
  pp->SetTableFormat(">1");
  pp->SetAutoHeaderFont(false);
  pp->HeaderFont().SetStyle(fsBold);
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  bool lineFired = false;
  pp->SetOnNewPage([&](QObject*) { printer->Config().available = false; });
  pp->SetOnNewLine([&](QObject*) { lineFired = true; });
  EXPECT_THROW(pp->BeginDoc(), EPrinter);
  EXPECT_TRUE(pp->TableGrid());
  EXPECT_EQ(pp->TableFormat(), ">1");
  EXPECT_EQ(pp->Font().Style(), 0);
  EXPECT_FALSE(pp->AutoHeaderFont());
  EXPECT_TRUE(pp->AutoFooterFont());
  EXPECT_FALSE(lineFired);
}

TEST_F(DecorateTest, HandlerFailureStopsThePageStart) {
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetOnNewPage([](QObject*) { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(pp->BeginDoc(), std::runtime_error);
  EXPECT_TRUE(PageTexts(1).empty());
}

// A handler whose output fills the page starts the next page inside its own
// call; that page is decorated once, not again when the handler returns.
TEST_F(DecorateTest, HandlerFillingThePageLeavesOneHeaderOnTheNextPage) {
  HalfInchMargins();
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetPageBorders(BorderBit(pbTop));
  int newLines = 0;
  pp->SetOnNewLine([&](QObject*) { ++newLines; });
  pp->SetOnNewPage([&](QObject*) {
    for (int i = 1; i <= 80; ++i) pp->WriteLine(QString::number(i));
  });
  pp->BeginDoc();
  ASSERT_EQ(pp->PageCount(), 2);
  EXPECT_EQ(pp->CurrentY(), 8 * 83);  // the body goes on below the handler's output
  pp->EndDoc();
  int headers = 0;
  for (const DrawnText& t : PageTexts(2)) headers += t.text == "H";
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(PageLines(2).size(), 1u);
  // 80 line ends, one closing each of the two page starts.
  EXPECT_EQ(newLines, 82);
}

TEST_F(DecorateTest, WrappingHeaderNeverBreaksThePage) {
  pp->SetHeader("aaa bbb ccc ddd");
  pp->SetHeaderFormat("<0.3");  // 180 pixels
  int lines = 0;
  pp->SetOnNewLine([&](QObject*) { ++lines; });
  pp->BeginDoc();
  EXPECT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(pp->LineNumber(), 0);
  EXPECT_EQ(pp->CurrentY(), 0);
  pp->EndDoc();
  const Texts texts = PageTexts(1);
  ASSERT_GE(texts.size(), 4u);
  for (size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(texts[i].y, texts[0].y + 83 * int(i));
  EXPECT_EQ(lines, int(texts.size()) - 1 + 1);  // the row's inner line ends, then the page's
}

// ---------------------------------------------------------------------------
// Tokens

TEST(ReplaceAllTest, ReplacesNonOverlappingOccurrencesOnce) {
  EXPECT_EQ(TPagePrinter::ReplaceAll("aa", "X", "aaa"), "Xa");
  EXPECT_EQ(TPagePrinter::ReplaceAll("a", "aa", "aba"), "aabaa");  // the inserted text is not searched
  EXPECT_EQ(TPagePrinter::ReplaceAll("x", "y", "abc"), "abc");
  EXPECT_EQ(TPagePrinter::ReplaceAll("", "y", "abc"), "abc");
  EXPECT_EQ(TPagePrinter::ReplaceAll("abc", "", "abcabc"), "");
  EXPECT_EQ(TPagePrinter::ReplaceAll("{$P}", "1", "{$P}{$P}{$"), "11{$");
}

TEST_F(DecorateTest, ReplaceTokensFillsEveryToken) {
  pp->SetTitle("T");
  pp->BeginDoc();
  pp->WriteLine("");
  pp->WriteLine("");
  pp->NewPage();
  pp->WriteLine("");
  EXPECT_EQ(pp->ReplaceTokens("{$LINE}/{$PAGE}/{$TITLE}/{$LINE}"), "1/2/T/1");
  EXPECT_EQ(pp->ReplaceTokens("{$page} {$PAGE {$Title}"), "{$page} {$PAGE {$Title}");
  EXPECT_TRUE(MatchesNow(pp->ReplaceTokens("{$DATE}"), [](const QDateTime& t) { return FormatDateTime("ddddd", t); }));
  EXPECT_TRUE(MatchesNow(pp->ReplaceTokens("at {$TIME}."),
                         [](const QDateTime& t) { return "at " + FormatDateTime("tt", t) + "."; }));
  pp->SetTitle("{$LINE}");
  EXPECT_EQ(pp->ReplaceTokens("{$TITLE}"), "{$LINE}");
  pp->EndDoc();
}

// ---------------------------------------------------------------------------
// Friendly notation

struct FriendlyCase {
  const char* name;
  QString text;
  QString cells;
  QString format;
};

class FriendlyTest : public DecorateTest, public ::testing::WithParamInterface<FriendlyCase> {};

TEST_P(FriendlyTest, ConvertsToCellsAndEqualColumns) {
  pp->SetMarginLeft(0.5);
  pp->SetMarginRight(0.5);  // ContentWidth 7.5
  pp->SetFriendlyHeader(GetParam().text);
  EXPECT_EQ(pp->FriendlyHeader(), GetParam().text);
  EXPECT_EQ(pp->Header(), GetParam().cells);
  EXPECT_EQ(pp->HeaderFormat(), GetParam().format);
  pp->SetFriendlyFooter(GetParam().text);
  EXPECT_EQ(pp->Footer(), GetParam().cells);
  EXPECT_EQ(pp->FooterFormat(), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FriendlyTest,
    ::testing::Values(FriendlyCase{"ThreeColumns", "&lLeft&cMiddle&rRight", "Left|Middle|Right", "<2.5|^2.5|>2.5"},
                      FriendlyCase{"TextBeforeFirstCode", "Report&rpage &p", "Report|page {$PAGE}", "<3.75|>3.75"},
                      FriendlyCase{"FourColumnsRounded", "&lA&lB&lC&lD", "A|B|C|D", "<1.88|<1.88|<1.88|<1.88"},
                      FriendlyCase{"DoubleAmpersand", "a&&b", "a&b", "<7.5"},
                      FriendlyCase{"UnknownCode", "a&xb&", "a b", "<7.5"},
                      FriendlyCase{"LeadingCodesWithoutText", "&l&cText", "Text", "<3.75|^3.75"},
                      FriendlyCase{"TitleAndPage", "&i: &p", "{$TITLE}: {$PAGE}", "<7.5"},
                      FriendlyCase{"Empty", "", "", "<7.5"},
                      FriendlyCase{"CodeLetterCase", "&L&C&R&P", "    ", "<7.5"}),
    [](const auto& p) { return std::string(p.param.name); });

// The column width is formatted fixed with 2 decimals at a precision of 8
// significant digits: 3703700.625 becomes 3703700.6, not 3703700.62.
TEST_F(DecorateTest, FriendlyWidthKeepsEightSignificantDigits) {
  TTestPrinter::Setup setup;
  setup.dpiX = setup.dpiY = 1;
  setup.physicalWidth = 3703701;
  setup.physicalHeight = 11;
  setup.offsetX = setup.offsetY = 0;
  Install(setup);
  pp->SetMarginLeft(0.375);
  pp->SetMarginRight(0);
  ASSERT_DOUBLE_EQ(pp->ContentWidth(), 3703700.625);
  pp->SetFriendlyHeader("&lX");
  EXPECT_EQ(pp->HeaderFormat(), "<3703700.6");
  pp->SetFriendlyFooter("&lA&rB");  // 1851850.3125 per column
  EXPECT_EQ(pp->FooterFormat(), "<1851850.3|>1851850.3");
}

TEST_F(DecorateTest, FriendlyDateAndTimeCodesAreFixedAtConversion) {
  struct Code {
    const char* code;
    const char* pattern;
  } codes[] = {{"&d", "ddddd"}, {"&D", "dddddd"}, {"&t", "t"}, {"&T", "tt"}};
  for (const Code& c : codes) {
    pp->SetFriendlyHeader(c.code);
    EXPECT_TRUE(MatchesNow(pp->Header(), [&](const QDateTime& t) { return FormatDateTime(c.pattern, t); }))
        << c.code << " gave " << pp->Header().toStdString();
  }
}

TEST_F(DecorateTest, FriendlyFileCodes) {
  struct Case {
    QString fileName, text, cells;
  } cases[] = {
      {"/tmp/dir/out.txt", "&f", "out.txt"},
      {"C:\\dir\\out.txt", "&f", "out.txt"},
      {"C:out.txt", "&f", "out.txt"},
      {"/tmp/dir/", "[&f]", "[ ]"},
      {"/tmp/dir/out.txt", "&F", "/tmp/dir/out.txt"},
      {"", "[&f|&F]", "[ | ]"},
  };
  for (const Case& c : cases) {
    pp->SetFileName(c.fileName);
    pp->SetFriendlyFooter(c.text);
    EXPECT_EQ(pp->Footer(), c.cells) << c.fileName.toStdString();
  }
}

TEST_F(DecorateTest, FriendlyTextIsOnlyStoredWhileLoading) {
  {
    FormLoading loading;
    loading.Adopt(pp.get());
    pp->SetFriendlyHeader("&cX");
    EXPECT_EQ(pp->FriendlyHeader(), "&cX");
    EXPECT_TRUE(pp->Header().isEmpty());
    EXPECT_TRUE(pp->HeaderFormat().isEmpty());
    loading.Finish();
  }
  EXPECT_EQ(pp->Header(), "X");
  EXPECT_EQ(pp->HeaderFormat(), "^8.3");  // margins at the printer's minimum of 0.1 inch
}

TEST_F(DecorateTest, BeginDocRebuildsFromTheFriendlyText) {
  pp->SetFriendlyHeader("&rP&p");
  pp->SetHeader("other");
  pp->SetHeaderFormat("<1");
  pp->SetMarginLeft(1.3);
  pp->BeginDoc();
  EXPECT_EQ(pp->Header(), "P{$PAGE}");
  EXPECT_EQ(pp->HeaderFormat(), ">7.1");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1).size(), 1u);
  EXPECT_EQ(PageTexts(1)[0].text, "P1");

  // Emptying the friendly text leaves one left column; then the application's values last.
  pp->SetFriendlyHeader("");
  EXPECT_EQ(pp->Header(), "");
  EXPECT_EQ(pp->HeaderFormat(), "<7.1");
  pp->SetHeader("mine");
  pp->BeginDoc();
  EXPECT_EQ(pp->Header(), "mine");
  pp->EndDoc();
}
