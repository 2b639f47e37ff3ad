// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text flow of the page printer on a 600 dpi test printer: cursor, page breaks,
// word wrap and alignment (page events and table rows: test_pageprinter_flow_rows.cpp).
// Text is fixed-pitch: "Courier New" 10 pt is 83 pixels high and every
// character 50 pixels wide; 9 pt is 75 high and 45 wide.
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

#include "PagePrinterFixtures.h"
#include "PagePrntInternals.h"
#include "ParamNames.h"

using Texts = std::vector<DrawnText>;

// ---------------------------------------------------------------------------
// String routines

struct TabCase {
  const char* name;
  QString input;
  uint32_t tabSize;
  QString expected;
};

class ExpandTabsTest : public ::testing::TestWithParam<TabCase> {};

TEST_P(ExpandTabsTest, ExpandsToCharacterStops) {
  EXPECT_EQ(TPageDocument::ExpandTabs(GetParam().input, GetParam().tabSize), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpandTabsTest,
                         ::testing::Values(TabCase{"AfterTwo", "ab\tc", 8, "ab      c"},
                                           TabCase{"Leading", "\tx", 8, "        x"},
                                           TabCase{"AtStop", "abcdefgh\tx", 8, "abcdefgh        x"},
                                           TabCase{"TwoTabs", "a\t\tb", 4, "a       b"},
                                           TabCase{"SizeOne", "a\tb", 1, "a b"}, TabCase{"NoTab", "plain", 8, "plain"},
                                           // Implementer's choice: no tab stops, a tab becomes one space.
                                           TabCase{"SizeZero", "a\tb\t", 0, "a b "},
                                           // Tab stops are capped at 1024 characters.
                                           TabCase{"Huge", "\t", 0xFFFFFFFFu, QString(1024, QLatin1Char(' '))}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(TextRoutines, SpacesIsEmptyForZeroAndNegative) {
  EXPECT_EQ(TPageDocument::Spaces(3), "   ");
  EXPECT_TRUE(TPageDocument::Spaces(0).isEmpty());
  EXPECT_TRUE(TPageDocument::Spaces(-5).isEmpty());
}

TEST(TextRoutines, CutAtLastBlankKeepsTheBlank) {
  EXPECT_EQ(TPageDocument::CutAtLastBlank("aaa bb"), "aaa ");
  EXPECT_EQ(TPageDocument::CutAtLastBlank("a b\tcc"), "a b\t");
  EXPECT_EQ(TPageDocument::CutAtLastBlank("nospace"), "nospace");
  EXPECT_EQ(TPageDocument::CutAtLastBlank(""), "");
  EXPECT_EQ(TPageDocument::CutAtLastBlank(QString("x") + QChar(1) + "y"), QString("x") + QChar(1));
}

// ---------------------------------------------------------------------------
// Fitting

TEST_F(PagePrinterFlowTest, FitToWidthFindsLongestFittingPrefix) {
  struct Case {
    QString text;
    int width;
    QString expected;
  } cases[] = {
      {"abcdef", 300, "abcdef"},  // exactly as wide
      {"abcdef", 299, "abcde"},   // one pixel less
      {"abcdef", 149, "ab"},
      {"abcdef", 10, "a"},   // even the first character is too wide: it is kept
      {"abcdef", -40, "a"},  // negative room
      {"", -40, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DocumentOf(*pp).FitToWidth(c.text, c.width), c.expected) << c.width;
}

TEST_F(PagePrinterFlowTest, FitToWidthBisectsInsteadOfMeasuringEveryPrefix) {
  // One measurement of the whole text, then about log2(length) for the bisection.
  for (const int length : {1000, 100000}) {
    const QString text(length, QLatin1Char('x'));
    printer->measurements = 0;
    EXPECT_EQ(DocumentOf(*pp).FitToWidth(text, 300 * 50 + 10).size(), 300);
    const int log2Length = int(std::ceil(std::log2(length)));
    EXPECT_GE(printer->measurements, log2Length - 2) << length;
    EXPECT_LE(printer->measurements, log2Length + 4) << length;
  }
  const QString text(1000, QLatin1Char('x'));

  printer->measurements = 0;
  EXPECT_EQ(DocumentOf(*pp).FitToWidth(text, 1000 * 50), text);
  EXPECT_EQ(printer->measurements, 1);  // a fitting text costs one measurement
}

TEST_F(PagePrinterFlowTest, TakeFittingPartBreaksAfterTheLastBlank) {
  QString piece, rest = "aaa bbb";
  DocumentOf(*pp).TakeFittingPart(piece, rest, 5 * 50, false);  // "aaa b" fits
  EXPECT_EQ(piece, "aaa ");
  EXPECT_EQ(rest, "bbb");

  rest = "aaa bbb";
  DocumentOf(*pp).TakeFittingPart(piece, rest, 3 * 50, false);  // breaks right before a blank: it stays
  EXPECT_EQ(piece, "aaa");
  EXPECT_EQ(rest, " bbb");

  rest = "aaa bbb";
  DocumentOf(*pp).TakeFittingPart(piece, rest, 3 * 50, true);  // the one blank belongs to neither piece
  EXPECT_EQ(piece, "aaa");
  EXPECT_EQ(rest, "bbb");

  rest = "abcdefgh";
  DocumentOf(*pp).TakeFittingPart(piece, rest, 3 * 50, true);  // a word wider than the width is broken
  EXPECT_EQ(piece, "abc");
  EXPECT_EQ(rest, "defgh");
}

// ---------------------------------------------------------------------------
// Lines and pages

TEST_F(PagePrinterFlowTest, PageHoldsSeventyTwoLinesOfEightyThreePixels) {
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  ASSERT_EQ(pp->ContentHeightPixels(), 6000);
  ASSERT_EQ(pp->LineHeight(), 83);
  pp->BeginDoc();
  for (int i = 1; i <= 72; ++i) pp->WriteLine(QString::number(i));
  // The 72nd line was the last that fits: the line end after it already started page 2.
  EXPECT_EQ(pp->PageCount(), 2);
  EXPECT_EQ(pp->CurrentY(), 0);
  EXPECT_EQ(pp->LineNumber(), 0);
  pp->WriteLine("73");
  pp->EndDoc();
  const Texts page1 = PageTexts(1);
  ASSERT_EQ(page1.size(), 72u);
  EXPECT_EQ(page1.front(), (DrawnText{"1", 0, 240}));
  EXPECT_EQ(page1.back(), (DrawnText{"72", 0, 240 + 5893}));
  EXPECT_EQ(PageTexts(2), (Texts{{"73", 0, 240}}));
  EXPECT_EQ(pp->PageCount(), 2);
  EXPECT_EQ(pp->PageNumber(), 1);
}

TEST_F(PagePrinterFlowTest, EmptyLineDrawsNothingAndMovesDown) {
  pp->BeginDoc();
  EXPECT_EQ(pp->CurrentY(), 0);
  pp->WriteLine("");
  EXPECT_EQ(pp->CurrentY(), 83);
  EXPECT_EQ(pp->LineNumber(), 1);
  pp->EndDoc();
  EXPECT_TRUE(PageTexts(1).empty());
}

TEST_F(PagePrinterFlowTest, LineAsWideAsTheAreaStaysWholeOnePixelMoreWraps) {
  const QString line(90, QLatin1Char('x'));
  pp->SetMarginRight(0.9);  // content width 4500 = 90 characters
  ASSERT_EQ(pp->ContentWidthPixels(), 4500);
  pp->BeginDoc();
  pp->WriteLine(line);
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{line, 0, 0}}));

  pp->SetMarginRight(0.1 + 481.0 / 600);  // content width 4499
  ASSERT_EQ(pp->ContentWidthPixels(), 4499);
  pp->BeginDoc();
  pp->WriteLine(line);
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{line.left(89), 0, 0}, {"x", 0, 83}}));

  pp->SetWordWrap(false);
  pp->BeginDoc();
  pp->WriteLine(line);
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{line.left(89), 0, 0}}));  // the rest is lost
  EXPECT_EQ(pp->LineNumber(), 1);
}

class WrapTest : public PagePrinterFlowTest {
 protected:
  void SetUp() override {
    PagePrinterFlowTest::SetUp();
    pp->SetMarginRight(7.95);  // content width 270: "aaa b" fits
    ASSERT_EQ(pp->ContentWidthPixels(), 270);
  }
};

TEST_F(WrapTest, WordWrapKeepsTheBlankWithTheFirstPiece) {
  pp->BeginDoc();
  pp->WriteLine("aaa bbb");
  pp->WriteLine("abcdefgh");  // a word wider than the line breaks at the line width
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"aaa ", 0, 0}, {"bbb", 0, 83}, {"abcde", 0, 166}, {"fgh", 0, 249}}));
}

TEST_F(WrapTest, WrappedPiecesFollowTheAlignment) {
  pp->SetAlignment(taRightJustify);
  pp->BeginDoc();
  pp->WriteLine("aaa bbb");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"aaa ", 70, 0}, {"bbb", 120, 83}}));
}

TEST_F(WrapTest, WordWrapOffShowsTheLongestFittingPrefix) {
  pp->SetWordWrap(false);
  pp->BeginDoc();
  pp->WriteLine("aaa bbb");
  pp->Write("abcdefgh");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"aaa b", 0, 0}, {"abcde", 0, 83}}));
}

TEST_F(WrapTest, WriteContinuesOnTheLineAndWrapsWithoutDroppingBlanks) {
  pp->BeginDoc();
  pp->Write("ab");
  pp->Write("c d");  // 150 wide, room 170: fits
  EXPECT_EQ(pp->CurrentX(), 250);
  pp->Write("ef");  // room 20: "e" is forced onto the line, "f" continues below
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"ab", 0, 0}, {"c d", 100, 0}, {"e", 250, 0}, {"f", 0, 83}}));
}

TEST_F(WrapTest, SingleCharacterWiderThanTheRoomIsDrawnAnyway) {
  pp->BeginDoc();
  pp->Write("abcde");
  pp->Write("X");
  EXPECT_EQ(pp->CurrentX(), 300);  // beyond the right edge
  // Room is now below zero: the next text continues on the following line.
  pp->Write("yz");
  EXPECT_EQ(pp->CurrentX(), 100);
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"abcde", 0, 0}, {"X", 250, 0}, {"yz", 0, 83}}));
}

TEST_F(WrapTest, RoomBelowZeroWithoutWordWrapCutsEverything) {
  pp->SetWordWrap(false);
  pp->BeginDoc();
  pp->Write("abcde");
  pp->Write("X");
  pp->Write("yz");  // nothing of it fits left of the edge
  EXPECT_EQ(pp->CurrentX(), 300);
  pp->NewLine();
  pp->Write("ok");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"abcde", 0, 0}, {"X", 250, 0}, {"ok", 0, 83}}));
}

TEST_F(PagePrinterFlowTest, CharacterOfTwoUnitsIsNeverSplitNorWrappedForever) {
  const QString emoji = QString::fromUtf8("\U0001F600");  // one character, two UTF-16 units
  pp->SetMarginLeft(4.3);
  pp->SetMarginRight(4.3);  // a negative text area: nothing fits
  ASSERT_LT(pp->ContentWidthPixels(), 0);
  pp->BeginDoc();
  pp->WriteLine(emoji + emoji + "ab");
  pp->Write(emoji);
  pp->EndDoc();
  std::vector<QString> drawn;
  for (const DrawnText& t : PageTexts(1)) drawn.push_back(t.text);
  EXPECT_EQ(drawn, (std::vector<QString>{emoji, emoji, "a", "b", emoji}));
}

TEST_F(PagePrinterFlowTest, AlignmentPlacesTheLine) {
  pp->SetMarginLeft(0.5);
  pp->SetMarginRight(0.5 + 480.0 / 600);
  ASSERT_EQ(pp->ContentWidthPixels(), 4020);
  pp->BeginDoc();
  pp->WriteLine("abc");
  pp->WriteLineAligned(taRightJustify, "abc");
  pp->WriteLineAligned(taCenter, "abc");
  EXPECT_EQ(pp->Alignment(), taLeftJustify);
  pp->Write("zz");  // a line started after a Write ignores what the Write put there
  pp->WriteLineAligned(taCenter, "abcd");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"abc", 240, 0},
                                 {"abc", 240 + 4020 - 150, 83},
                                 {"abc", 240 + (4020 - 150) / 2, 166},
                                 {"zz", 240, 249},
                                 {"abcd", 240 + (4020 - 200) / 2, 249}}));
}

// The page break that a taller line causes in WriteLine comes before the line is
// placed: a right-aligned line at the top of the new page keeps its offset
// instead of landing where the page start left the cursor.
TEST_F(PagePrinterFlowTest, AlignedLineMovedToTheNextPageKeepsItsOffset) {
  ASSERT_EQ(pp->ContentHeightPixels(), 6480);
  pp->BeginDoc();
  for (int i = 0; i < 77; ++i) pp->WriteLine("x");
  ASSERT_EQ(pp->PageCount(), 1);
  ASSERT_EQ(pp->CurrentY(), 77 * 83);
  pp->Font().SetSize(20);  // 167 pixels: the next line no longer fits
  const int width = pp->PageCanvas()->TextWidth("R");
  pp->WriteLineAligned(taRightJustify, "R");
  pp->EndDoc();
  ASSERT_EQ(pp->PageCount(), 2);
  EXPECT_EQ(PageTexts(2), (Texts{{"R", pp->ContentWidthPixels() - width, 0}}));
}

TEST_F(PagePrinterFlowTest, TabsAreExpandedBeforeMeasuring) {
  pp->BeginDoc();
  pp->WriteLineAligned(taRightJustify, "ab\tc");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"ab      c", 4980 - 9 * 50, 0}}));
}

TEST_F(PagePrinterFlowTest, WriteLineAlignedRestoresAlignmentWhenAHandlerRaises) {
  pp->SetAlignment(taRightJustify);
  pp->BeginDoc();
  pp->SetOnNewLine([](QObject*) { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(pp->WriteLineAligned(taCenter, "x"), std::runtime_error);
  EXPECT_EQ(pp->Alignment(), taRightJustify);
}

TEST_F(PagePrinterFlowTest, FontChangeBetweenLinesChangesTheLineHeight) {
  pp->BeginDoc();
  pp->WriteLine("ten");
  pp->Font().SetSize(9);
  EXPECT_EQ(pp->LineHeight(), 75);
  pp->WriteLine("nine");
  pp->WriteLine("x");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"ten", 0, 0}, {"nine", 0, 83}, {"x", 0, 158}}));
}
