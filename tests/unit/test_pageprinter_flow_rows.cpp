// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text flow of the page printer on a 600 dpi test printer: page events and table rows.
// Text is fixed-pitch: "Courier New" 10 pt is 83 pixels high and every
// character 50 pixels wide; 9 pt is 75 high and 45 wide.
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

#include "PagePrinterFixtures.h"
#include "ParamNames.h"

using Texts = std::vector<DrawnText>;

// ---------------------------------------------------------------------------
// Events

TEST_F(PagePrinterFlowTest, PageBreakFiresNewPageThenNewLineTwice) {
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  std::vector<std::string> events;
  pp->SetOnNewPage([&](QObject* sender) {
    EXPECT_EQ(sender, pp.get());
    events.push_back("page");
  });
  pp->SetOnNewLine([&](QObject*) { events.push_back("line"); });
  pp->BeginDoc();
  EXPECT_EQ(events, (std::vector<std::string>{"page", "line"}));
  for (int i = 0; i < 71; ++i) pp->WriteLine("x");
  events.clear();
  EXPECT_EQ(pp->NewLine(), 0);  // the line end that breaks the page
  EXPECT_EQ(events, (std::vector<std::string>{"page", "line", "line"}));
  EXPECT_EQ(pp->PageNumber(), 2);
}

TEST_F(PagePrinterFlowTest, NewPageHandlerWritesLinesAndRowsDuringABreak) {
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  pp->SetTableFormat("<1|>1");
  int pages = 0;
  pp->SetOnNewPage([&](QObject*) {
    ++pages;
    pp->WriteLine("Heading " + QString::number(pp->PageNumber()));
    pp->WriteTableLine("c1|c2");
  });
  pp->BeginDoc();
  EXPECT_EQ(pp->CurrentY(), 166);
  EXPECT_EQ(pp->LineNumber(), 2);
  for (int i = 0; i < 70; ++i) pp->WriteLine("body");  // lines 3..72 of page 1
  EXPECT_EQ(pp->PageNumber(), 2);
  pp->WriteLine("next");
  pp->EndDoc();
  EXPECT_EQ(pages, 2);
  const Texts page2 = PageTexts(2);
  ASSERT_EQ(page2.size(), 4u);
  EXPECT_EQ(page2[0], (DrawnText{"Heading 2", 0, 240}));
  EXPECT_EQ(page2[1], (DrawnText{"c1", 12, 240 + 83}));
  EXPECT_EQ(page2[2], (DrawnText{"c2", 600 + 600 - 12 - 100, 240 + 83}));
  EXPECT_EQ(page2[3], (DrawnText{"next", 0, 240 + 166}));
}

TEST_F(PagePrinterFlowTest, HandlerOutputLongerThanAPageDoesNotRecurse) {
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  int calls = 0;
  pp->SetOnNewPage([&](QObject*) {
    ++calls;
    for (int i = 1; i <= 80; ++i) pp->WriteLine(QString::number(i));
  });
  pp->BeginDoc();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(pp->PageCount(), 2);
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1).size(), 72u);
  EXPECT_EQ(PageTexts(2).size(), 8u);
  EXPECT_EQ(PageTexts(2).front(), (DrawnText{"73", 0, 240}));
}

TEST_F(PagePrinterFlowTest, LineTallerThanThePageWithAHandlerTerminates) {
  pp->SetMarginTop(5.0);
  pp->SetMarginBottom(5.0);
  ASSERT_EQ(pp->ContentHeightPixels(), 600);
  int calls = 0;
  pp->SetOnNewPage([&](QObject*) {
    ++calls;
    pp->WriteLine("head");
  });
  pp->Font().SetSize(100);  // 833 pixels: no line fits
  pp->BeginDoc();
  pp->WriteLine("body");
  pp->EndDoc();
  EXPECT_GE(pp->PageCount(), 2);
  EXPECT_LE(pp->PageCount(), 12);
  EXPECT_LE(calls, pp->PageCount());
}

// ---------------------------------------------------------------------------
// Table rows

class CellOffsetTest : public PagePrinterFlowTest, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(CellOffsetTest, ThreeHundredPixelTextInAOneAndAHalfInchColumn) {
  pp->SetMarginLeft(0.5);
  pp->SetTableFormat(GetParam().first);
  pp->BeginDoc();
  pp->WriteTableLine("abcdef");  // 6 x 50 = 300 pixels in a 900-pixel column
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"abcdef", 240 + GetParam().second, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Alignments, CellOffsetTest,
                         ::testing::Values(std::make_pair(">1.5", 588), std::make_pair("<1.5", 12),
                                           std::make_pair("^1.5", 300)),
                         [](const auto& p) { return param_names::Words(p.param.first); });

TEST_F(PagePrinterFlowTest, CellAlmostAsWideAsTheColumnGetsNoIndent) {
  pp->SetTableFormat(">0.51|<0.51");  // 306 pixels: 300 is not below 306 - 12
  pp->Font().SetSize(12);             // 100 pixels high, 60 a character
  pp->BeginDoc();
  pp->WriteTableLine("abcde|abcde");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"abcde", 6, 0}, {"abcde", 306, 0}}));
}

TEST_F(PagePrinterFlowTest, CharacterWiderThanItsColumnStartsAtTheColumnEdge) {
  pp->SetTableFormat("^0.05|>0.05|<1");  // 30-pixel columns, 50-pixel characters
  pp->BeginDoc();
  pp->WriteTableLine("W|V|x");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"W", 0, 0}, {"V", 30, 0}, {"x", 60 + 12, 0}}));
}

TEST_F(PagePrinterFlowTest, MissingCellsAreEmptyAndExtraCellsDropped) {
  pp->SetTableFormat("<1|<1|<1");
  pp->BeginDoc();
  pp->WriteTableLine("a|b");
  pp->WriteTableLine("a|b|c|d");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"a", 12, 0}, {"b", 612, 0}, {"a", 12, 83}, {"b", 612, 83}, {"c", 1212, 83}}));
  EXPECT_EQ(pp->LineNumber(), 2);
}

TEST_F(PagePrinterFlowTest, LineFeedInACellContinuesOnTheRowsNextLine) {
  pp->SetTableFormat("<1|<1");
  pp->BeginDoc();
  pp->WriteTableLine("x\ny\nz|one");
  pp->WriteTableLine("after");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"x", 12, 0}, {"one", 612, 0}, {"y", 12, 83}, {"z", 12, 166}, {"after", 12, 249}}));
}

TEST_F(PagePrinterFlowTest, LongCellWrapsWithinItsColumn) {
  pp->SetTableFormat("<0.5|>1");  // 300 pixels hold 6 characters
  pp->BeginDoc();
  pp->WriteTableLine("aaa bbb ccc|r");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"aaa ", 12, 0}, {"r", 300 + 600 - 12 - 50, 0}, {"bbb ", 12, 83}, {"ccc", 12, 166}}));
}

TEST_F(PagePrinterFlowTest, WordWrapOffCutsCellsAndIgnoresLineFeeds) {
  pp->SetWordWrap(false);
  pp->SetTableFormat("<0.5");
  pp->BeginDoc();
  pp->WriteTableLine("aaa bbb ccc");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"aaa bb", 0, 0}}));  // 300 wide: no indent
  EXPECT_EQ(pp->LineNumber(), 1);
}

TEST_F(PagePrinterFlowTest, TokensInCellsAreReplaced) {
  pp->SetTitle("Schedule");
  pp->SetTableFormat("<2|<2");
  pp->BeginDoc();
  pp->WriteLine("");
  pp->WriteTableLine("{$TITLE} {$PAGE}|line {$LINE}");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"Schedule 1", 12, 83}, {"line 1", 1212, 83}}));
}

TEST_F(PagePrinterFlowTest, WrappedRowContinuesAfterTheHandlerOnTheNextPage) {
  pp->SetMarginTop(0.5);
  pp->SetMarginBottom(0.5);
  pp->SetTableFormat("<1");
  pp->SetOnNewPage([&](QObject*) { pp->WriteLine("Heading"); });
  pp->BeginDoc();
  for (int i = 0; i < 70; ++i) pp->WriteLine("body");
  ASSERT_EQ(pp->CurrentY(), 5893);
  pp->WriteTableLine("first\nsecond");
  EXPECT_EQ(pp->PageNumber(), 2);
  EXPECT_EQ(pp->LineNumber(), 2);  // restarted: the heading and the row's second line
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1).back(), (DrawnText{"first", 12, 240 + 5893}));
  EXPECT_EQ(PageTexts(2), (Texts{{"Heading", 0, 240}, {"second", 12, 240 + 83}}));
}

TEST_F(PagePrinterFlowTest, GridOfAThreeLineRow) {
  TTestPrinter::Setup setup;
  setup.externalLeading = 4;
  Install(setup);
  pp->SetMarginLeft(0.5);
  pp->SetMarginTop(0.5);
  pp->SetTableGrid(true);
  pp->SetTableFormat("<1.5|>-1");  // the negative width: same column, no grid
  pp->BeginDoc();
  pp->WriteTableLine("a\nb\nc|z");
  pp->EndDoc();
  const int l = 240, r = 240 + 900;
  auto y = [](int line) { return 240 + 83 * line - 4; };
  const std::vector<DrawnLine> expected = {
      {{l, y(0)}, {r, y(0)}, 4}, {{l, y(0)}, {l, y(1)}, 4}, {{r, y(0)}, {r, y(1)}, 4}, {{l, y(1)}, {l, y(2)}, 4},
      {{r, y(1)}, {r, y(2)}, 4}, {{l, y(2)}, {l, y(3)}, 4}, {{r, y(2)}, {r, y(3)}, 4}, {{l, y(3)}, {r, y(3)}, 4},
      {{l, y(2)}, {l, y(3)}, 4}, {{r, y(2)}, {r, y(3)}, 4},
  };
  EXPECT_EQ(PageLines(1), expected);
  EXPECT_EQ(PageTexts(1).size(), 4u);
}

TEST_F(PagePrinterFlowTest, GridOfARowWithMissingCellsCoversEveryColumn) {
  pp->SetTableGrid(true);
  pp->SetTableFormat("<1|<1|<1");
  pp->BeginDoc();
  pp->WriteTableLine("a");
  pp->EndDoc();
  // Three columns: top, left, right each, then bottom, left, right each.
  EXPECT_EQ(PageLines(1).size(), 18u);
}

struct GapCase {
  TLineSpacing spacing;
  int leading;
  int gap;
};

class GridGapTest : public PagePrinterFlowTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(GridGapTest, TopLineSitsTheLineSpacingGapAboveTheText) {
  TTestPrinter::Setup setup;
  setup.externalLeading = GetParam().leading;
  Install(setup);
  pp->SetLineSpacing(GetParam().spacing);
  pp->SetTableGrid(true);
  pp->SetTableFormat("<1");
  pp->BeginDoc();
  pp->WriteTableLine("x");
  pp->EndDoc();
  const std::vector<DrawnLine> lines = PageLines(1);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), (DrawnLine{{0, -GetParam().gap}, {600, -GetParam().gap}, 4}));
}

INSTANTIATE_TEST_SUITE_P(Spacings, GridGapTest,
                         ::testing::Values(GapCase{lsHalfSpace, 5, 2}, GapCase{lsSingleSpace, 5, 5},
                                           GapCase{lsSingleAndAHalf, 5, 8},  // 7.5 to the even 8
                                           GapCase{lsSingleAndAHalf, 3, 4},  // 4.5 to the even 4
                                           GapCase{lsDoubleSpace, 5, 10}),
                         [](const auto& p) {
                           const TLineSpacing s = p.param.spacing;
                           return param_names::Join(s == lsHalfSpace        ? "HalfSpace"
                                                    : s == lsSingleSpace    ? "SingleSpace"
                                                    : s == lsSingleAndAHalf ? "SingleAndAHalf"
                                                                            : "DoubleSpace",
                                                    "Leading", param_names::Value(p.param.leading));
                         });

TEST_F(PagePrinterFlowTest, GridPensFollowTheResolution) {
  TTestPrinter::Setup setup;
  setup.dpiX = 300;
  setup.dpiY = 200;
  setup.physicalWidth = 2550;
  setup.physicalHeight = 2200;
  setup.offsetX = 30;
  setup.offsetY = 20;
  Install(setup);
  pp->SetTableGrid(true);
  pp->SetTableFormat("<1");
  pp->BeginDoc();
  pp->WriteTableLine("x");
  pp->EndDoc();
  const std::vector<DrawnLine> lines = PageLines(1);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].width, 0);  // horizontal: 2 x (200 div 300)
  EXPECT_EQ(lines[1].width, 2);  // vertical: 2 x (300 div 300)
  // Pad is 6 at 300 dpi.
  EXPECT_EQ(PageTexts(1).front().x, 6);
}

TEST_F(PagePrinterFlowTest, HugeColumnWidthSaturatesInsteadOfOverflowing) {
  pp->SetTableGrid(true);
  pp->SetTableFormat("<299910910|<1");
  ASSERT_EQ(pp->UnitsToPixelsX(299910910), INT_MAX);
  pp->BeginDoc();
  pp->WriteTableLine("a|b");
  pp->EndDoc();
  EXPECT_EQ(PageTexts(1), (Texts{{"a", 12, 0}, {"b", INT_MAX, 0}}));
  for (const DrawnLine& line : PageLines(1)) EXPECT_GE(line.to.x(), 0) << line;
}

TEST_F(PagePrinterFlowTest, TableRowNeedsAPrinter) {
  pp->BeginDoc();
  printer->Config().available = false;
  EXPECT_THROW(pp->WriteTableLine("x"), EPrinter);
}

TEST_F(PagePrinterFlowTest, WritingWhileIdleNeverTouchesFinishedPages) {
  pp->BeginDoc();
  pp->WriteLine("doc");
  pp->EndDoc();
  pp->WriteLine("after");
  EXPECT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(PageTexts(1), (Texts{{"doc", 0, 0}}));
}
