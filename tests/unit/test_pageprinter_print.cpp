// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing through the page printer: copies, collation, page ranges and the
// progress dialog's texts.
#include <gtest/gtest.h>

#include "PagePrinterFixtures.h"

namespace {

TEST_F(PrintTest, NothingToPrintStartsNoJobAndShowsNoDialog) {
  bool sawDialog = false;
  printer->afterSheet = [&] { sawDialog = true; };
  EXPECT_TRUE(pp->Print());
  EXPECT_TRUE(Events().empty());
  EXPECT_FALSE(sawDialog);
  EXPECT_EQ(pp->ProgressDialog(), nullptr);
}

struct CollationCase {
  const char* name;
  bool collate;
  uint32_t copies;
  int pages;
  std::vector<int> sheets;
};

class CollationTest : public PrintTest, public ::testing::WithParamInterface<CollationCase> {};

TEST_P(CollationTest, SheetsComeInTheOrderAsked) {
  const auto& c = GetParam();
  MakePages(c.pages);
  pp->SetCollate(c.collate);
  pp->SetCopies(c.copies);
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(SheetPages(), c.sheets);
  // A new page only between sheets; the last sheet is ended by EndDoc.
  EXPECT_EQ(Events(), JobEvents(int(c.sheets.size())));
  EXPECT_FALSE(printer->Printing());
}

INSTANTIATE_TEST_SUITE_P(Orders, CollationTest,
                         ::testing::Values(CollationCase{"CollatedThreeCopies", true, 3, 2, {1, 2, 1, 2, 1, 2}},
                                           CollationCase{"UncollatedThreeCopies", false, 3, 2, {1, 1, 1, 2, 2, 2}},
                                           CollationCase{"OneCopyThreePages", true, 1, 3, {1, 2, 3}},
                                           CollationCase{"UncollatedOnePage", false, 2, 1, {1, 1}},
                                           CollationCase{"CollatedOnePageOneCopy", true, 1, 1, {1}}),
                         [](const auto& p) { return std::string(p.param.name); });

struct RangeCase {
  const char* name;
  int pages;
  uint32_t from, to;  // set in this order; 0 = leave
  std::vector<int> sheets;
};

class RangeTest : public PrintTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeTest, PrintsTheClampedRange) {
  const auto& c = GetParam();
  MakePages(c.pages);
  if (c.from) pp->SetFromPage(c.from);
  if (c.to) pp->SetToPage(c.to);
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(SheetPages(), c.sheets);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeTest,
                         ::testing::Values(RangeCase{"Everything", 3, 0, 0, {1, 2, 3}},
                                           RangeCase{"FromBeyondCountPrintsLastPage", 3, 7, 0, {3}},
                                           RangeCase{"FromTwoToFourOfThree", 3, 2, 4, {2, 3}},
                                           RangeCase{"FromAloneIsOnePage", 3, 2, 0, {2}},
                                           RangeCase{"ToAloneStartsAtOne", 3, 0, 2, {1, 2}},
                                           RangeCase{"ToBeyondCount", 2, 0, 9, {1, 2}}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(PrintTest, EachSheetPlaysItsWholePage) {
  MakePages(3);
  ASSERT_TRUE(pp->Print());
  ASSERT_EQ(printer->Sheets().size(), 3u);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(printer->Sheets()[n - 1].page, pp->Pages(n));
    EXPECT_EQ(printer->Sheets()[n - 1].operations, int(pp->Pages(n)->Operations().size()));
    EXPECT_GT(printer->Sheets()[n - 1].operations, 0);
    EXPECT_EQ(printer->Sheets()[n - 1].origin, QPoint(0, 0));
  }
}

TEST_F(PrintTest, JobIsNamedByTitleAndRunsWithOneCopy) {
  MakePages(1);
  pp->SetTitle(QStringLiteral("Loan Schedule"));
  pp->SetCopies(2);
  printer->SetCopies(4);
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(printer->TitleAtBeginDoc(), QStringLiteral("Loan Schedule"));
  EXPECT_EQ(printer->CopiesAtBeginDoc(), 1);
  EXPECT_EQ(printer->Copies(), 4);  // restored after a complete run
}

TEST_F(PrintTest, ProgressTextsFollowEverySheet) {
  MakePages(3);
  pp->SetCopies(2);
  pp->SetTitle(QStringLiteral("Schedule"));
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 6u);
  const char* labels[] = {"Page 1 of 3 x 2 Copies", "Page 2 of 3 x 2 Copies", "Page 3 of 3 x 2 Copies",
                          "Page 1 of 3 x 2 Copies", "Page 2 of 3 x 2 Copies", "Page 3 of 3 x 2 Copies"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(seen[i].exists);
    EXPECT_TRUE(seen[i].visible);
    EXPECT_EQ(seen[i].caption, QStringLiteral("Schedule"));
    EXPECT_EQ(seen[i].status, QStringLiteral("Sending Pages To Printer"));
    EXPECT_EQ(seen[i].label, QString::fromLatin1(labels[i]));
    EXPECT_EQ(seen[i].maximum, 6);
    EXPECT_EQ(seen[i].value, i + 1);
    EXPECT_TRUE(seen[i].buttonVisible);
  }
  EXPECT_EQ(pp->ProgressDialog(), nullptr);  // freed at the end of the run
}

TEST_F(PrintTest, RangeNotStartingAtOneShowsNoTotal) {
  MakePages(3);
  pp->SetFromPage(2);
  pp->SetToPage(4);
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].label, QStringLiteral("Page 2"));
  EXPECT_EQ(seen[1].label, QStringLiteral("Page 3"));
  EXPECT_EQ(seen[1].maximum, 2);
}

// The copies part belongs to the page total: a range from page 2 shows neither.
TEST_F(PrintTest, RangeNotStartingAtOneShowsNoCopiesEither) {
  MakePages(3);
  pp->SetCopies(2);
  pp->SetFromPage(2);
  pp->SetToPage(3);
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].label, QStringLiteral("Page 2"));
  EXPECT_EQ(seen[3].label, QStringLiteral("Page 3"));
  EXPECT_EQ(seen[3].maximum, 4);
}

TEST_F(PrintTest, OneCopyShowsNoCopiesPart) {
  MakePages(2);
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].label, QStringLiteral("Page 2 of 2"));
}

TEST_F(PrintTest, ProgressMessageBecomesTheStatusLine) {
  MakePages(1);
  pp->SetProgressMessage(QStringLiteral("Printing the schedule"));
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].status, QStringLiteral("Printing the schedule"));
}

TEST_F(PrintTest, FinishAsProgressMessageShowsNoDialog) {
  MakePages(2);
  pp->SetProgressMessage(QStringLiteral("<FINISH>"));
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 2u);
  for (const auto& s : seen) EXPECT_FALSE(s.exists);
  EXPECT_EQ(printer->Sheets().size(), 2u);
}

TEST_F(PrintTest, FinishComparisonIsCaseSensitive) {
  MakePages(1);
  pp->SetProgressMessage(QStringLiteral("<finish>"));
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].exists);
  EXPECT_EQ(seen[0].status, QStringLiteral("<finish>"));
}

TEST_F(PrintTest, NewRunStartsWithANewDialogAtZero) {
  MakePages(2);
  RecordDialog();
  const auto seen = RecordDialog();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].value, 1);
  EXPECT_EQ(seen[1].value, 2);
}

}  // namespace

// A component keeps the printer it was given: replacing the process-wide one
// used to leave it with a freed printer (a crash) or print to the old one.
TEST(PagePrinterOwnPrinter, PrintsToItsOwnPrinterWhateverReplacesTheProcessWideOne) {
  auto mine = std::make_shared<TTestPrinter>(TTestPrinter::Setup{});
  TTestPrinter* first = mine.get();
  auto previous = SetPrinter(std::move(mine));
  TPagePrinter pp;
  ASSERT_EQ(pp.Printer(), first);
  pp.SetTitle(QStringLiteral("Own printer"));

  auto other = std::make_shared<TTestPrinter>(TTestPrinter::Setup{});
  SetPrinter(other);  // the component is now the first printer's only holder
  pp.BeginDoc();
  pp.WriteLine(QStringLiteral("a line"));
  pp.EndDoc();
  EXPECT_TRUE(pp.Print());
  EXPECT_EQ(first->Sheets().size(), 1u);
  EXPECT_TRUE(other->Sheets().empty());

  // Its own printer replaced: the title goes along, the first printer is freed.
  auto replacement = std::make_shared<TTestPrinter>(TTestPrinter::Setup{});
  pp.SetPrinter(replacement);
  EXPECT_EQ(replacement->Title(), QStringLiteral("Own printer"));
  EXPECT_TRUE(pp.Print());
  EXPECT_EQ(replacement->Sheets().size(), 1u);

  pp.BeginDoc();
  try {
    pp.SetPrinter(other);
    ADD_FAILURE() << "the printer changed under an open document";
  } catch (const EPagePrinter& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Unable to change printer while printing"));
  }
  pp.EndDoc();
  EXPECT_EQ(pp.Printer(), replacement.get());
  SetPrinter(std::move(previous));
}
