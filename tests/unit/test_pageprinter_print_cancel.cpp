// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing through the page printer: the progress options, cancelling, printer failures, re-entry and the page range's
// links.
#include <gtest/gtest.h>

#include "PagePrinterFixtures.h"

namespace {

TEST_F(PrintTest, ShowProgressOffShowsNothingAndProcessesNoMessages) {
  MakePages(3);
  pp->SetShowProgress(false);
  bool queuedCancelRan = false;
  printer->afterSheet = [&] {
    EXPECT_EQ(pp->ProgressDialog(), nullptr);
    QTimer::singleShot(0, [&] {
      queuedCancelRan = true;
      pp->ProgressCancelClick();
    });
  };
  EXPECT_TRUE(pp->Print());
  EXPECT_FALSE(queuedCancelRan);
  EXPECT_EQ(printer->Sheets().size(), 3u);
  printer->afterSheet = nullptr;
  QCoreApplication::processEvents();  // let the queued calls run before the printer goes
}

TEST_F(PrintTest, ShowCancelOffCutsTheButtonStripAndProcessesNoMessages) {
  MakePages(2);
  pp->SetShowCancel(false);
  std::vector<DialogState> seen;
  bool queuedCancelRan = false;
  printer->afterSheet = [&] {
    seen.push_back(Dialog());
    QTimer::singleShot(0, [&] { queuedCancelRan = true; });
  };
  EXPECT_TRUE(pp->Print());
  printer->afterSheet = nullptr;
  EXPECT_FALSE(queuedCancelRan);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].exists);
  EXPECT_FALSE(seen[0].buttonVisible);
  EXPECT_FALSE(seen[0].buttonEnabled);
  EXPECT_EQ(seen[0].height, 98);  // 98 pixels at 96 pixels per inch
  QCoreApplication::processEvents();
}

struct CancelCase {
  const char* name;
  int afterSheet;  // Cancel is pressed while this sheet is sent
  bool abortOnCancel;
};

class CancelTest : public PrintTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, CancelStopsBeforeTheNextSheet) {
  const auto& c = GetParam();
  MakePages(2);
  pp->SetCopies(2);  // four sheets
  pp->SetAbortOnCancel(c.abortOnCancel);
  printer->SetCopies(3);
  bool dialogFreed = false;
  printer->afterSheet = [&] {
    if (int(printer->Sheets().size()) == c.afterSheet) {
      TPPPrnPrgDlg* d = pp->ProgressDialog();
      ASSERT_NE(d, nullptr);
      QTest::mouseClick(d->btnCancel, Qt::LeftButton);
    }
  };
  EXPECT_FALSE(pp->Print());
  dialogFreed = pp->ProgressDialog() == nullptr;
  EXPECT_TRUE(dialogFreed);
  EXPECT_EQ(int(printer->Sheets().size()), c.afterSheet);                      // the started sheet completes
  for (const auto& sheet : printer->Sheets()) EXPECT_NE(sheet.page, nullptr);  // no blank sheet fed
  // No new page after the last drawn sheet: the job ends (or is discarded) right there.
  EXPECT_EQ(Events(), JobEvents(c.afterSheet, c.abortOnCancel ? "Abort" : "EndDoc"));
  EXPECT_FALSE(printer->Printing());
  EXPECT_EQ(printer->Copies(), 1);  // a cancelled run leaves the copy count at 1
  EXPECT_FALSE(pp->PrintRunning());
}

INSTANTIATE_TEST_SUITE_P(Sheets, CancelTest,
                         ::testing::Values(CancelCase{"FirstSheetEnds", 1, false},
                                           CancelCase{"SecondSheetEnds", 2, false},
                                           CancelCase{"ThirdSheetEnds", 3, false},
                                           CancelCase{"FirstSheetAborts", 1, true},
                                           CancelCase{"ThirdSheetAborts", 3, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A cancel noticed before the first sheet leaves a job without pages: it is
// discarded rather than ended, so no blank sheet is fed.
TEST_F(PrintTest, CancelBeforeTheFirstSheetDiscardsTheEmptyJob) {
  MakePages(2);
  QTimer::singleShot(0, [&] { pp->ProgressCancelClick(); });
  EXPECT_FALSE(pp->Print());
  for (const auto& sheet : printer->Sheets()) EXPECT_EQ(sheet.page, nullptr);  // nothing was drawn
  EXPECT_EQ(Events(), JobEvents(0, "Abort"));
  EXPECT_FALSE(printer->Printing());
}

TEST_F(PrintTest, CancelDuringTheLastSheetHasNoEffect) {
  MakePages(2);
  printer->afterSheet = [&] {
    if (printer->Sheets().size() == 2) pp->ProgressCancelClick();
  };
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(Events(), JobEvents(2));
}

TEST_F(PrintTest, ClickWaitingInTheEventQueueIsHandledBeforeTheNextSheet) {
  MakePages(3);
  printer->afterSheet = [&] {
    if (printer->Sheets().size() == 1) {
      QPushButton* button = pp->ProgressDialog()->btnCancel;
      QTimer::singleShot(0, button, [button] { button->click(); });
    }
  };
  EXPECT_FALSE(pp->Print());
  EXPECT_EQ(printer->Sheets().size(), 1u);
}

TEST_F(PrintTest, EscapeInTheDialogCancels) {
  MakePages(3);
  printer->afterSheet = [&] {
    if (printer->Sheets().size() == 1) {
      QTest::keyClick(pp->ProgressDialog(), Qt::Key_Escape);
    }
  };
  EXPECT_FALSE(pp->Print());
  EXPECT_EQ(printer->Sheets().size(), 1u);
}

TEST_F(PrintTest, CancelFlagFromAnEarlierRunIsCleared) {
  MakePages(2);
  pp->ProgressCancelClick();
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(printer->Sheets().size(), 2u);
}

TEST_F(PrintTest, PrinterFailingMidJobAbortsTheJobAndPassesTheError) {
  TTestPrinter::Setup setup;
  setup.failAtSheet = 2;
  Install(setup);
  MakePages(3);
  printer->SetCopies(2);
  EXPECT_THROW(pp->Print(), EPrinter);
  EXPECT_EQ(pp->ProgressDialog(), nullptr);
  EXPECT_FALSE(pp->PrintRunning());
  ASSERT_FALSE(Events().empty());
  EXPECT_EQ(Events().back(), QStringLiteral("Abort"));  // not left open
  EXPECT_FALSE(printer->Printing());
  // The printer is usable again at once.
  printer->Config().failAtSheet = 0;
  printer->ClearRecord();
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(printer->Sheets().size(), 3u);
}

TEST_F(PrintTest, PrintWhileRunningIsRefused) {
  MakePages(3);
  bool nested = true;
  bool runningSeen = false;
  printer->afterSheet = [&] {
    if (printer->Sheets().size() == 1) {
      runningSeen = pp->PrintRunning();
      nested = pp->Print();
    }
  };
  EXPECT_TRUE(pp->Print());
  EXPECT_TRUE(runningSeen);
  EXPECT_FALSE(nested);
  EXPECT_EQ(SheetPages(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Events(), JobEvents(3));
  EXPECT_FALSE(pp->PrintRunning());
}

// A new document started while the pages are being sent would free them.
TEST_F(PrintTest, NewDocumentWhileRunningIsRefusedAndThePagesSurvive) {
  MakePages(3);
  QString refusal;
  printer->afterSheet = [&] {
    if (printer->Sheets().size() != 1) return;
    try {
      pp->BeginDoc();
    } catch (const EPagePrinter& e) {
      refusal = e.Message();
    }
  };
  EXPECT_TRUE(pp->Print());
  EXPECT_EQ(refusal, QStringLiteral("Cannot start a new document while printing"));
  EXPECT_EQ(SheetPages(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(pp->PageCount(), 3);
  EXPECT_FALSE(pp->DocumentOpen());
}

TEST_F(PrintTest, OpenDocumentIsEndedBeforePrinting) {
  pp->BeginDoc();
  pp->WriteLine(QStringLiteral("Only line"));
  ASSERT_TRUE(pp->Printing());
  EXPECT_TRUE(pp->Print());
  EXPECT_FALSE(pp->Printing());
  ASSERT_EQ(printer->Sheets().size(), 1u);
  EXPECT_EQ(printer->Sheets()[0].page, pp->Pages(1));
}

// The printer object is shared: a job that someone else has open is not this run's to discard.
TEST_F(PrintTest, JobOpenElsewhereMakesPrintFailWithoutDiscardingThatJob) {
  MakePages(2);
  printer->BeginDoc();
  printer->ClearRecord();
  EXPECT_THROW(pp->Print(), EPrinter);
  EXPECT_TRUE(printer->Printing());
  EXPECT_TRUE(printer->Events().empty());  // no Abort, no EndDoc of the other job
  EXPECT_EQ(pp->ProgressDialog(), nullptr);
  EXPECT_FALSE(pp->PrintRunning());
  printer->EndDoc();
}

// The loops run for the copies read at the start; the dialog counts the same sheets.
TEST_F(PrintTest, CopiesChangedDuringTheRunDoNotChangeTheProgressCount) {
  MakePages(2);
  pp->SetCopies(2);
  std::vector<DialogState> seen;
  printer->afterSheet = [&] {
    seen.push_back(Dialog());
    if (printer->Sheets().size() == 1) pp->SetCopies(1);
  };
  EXPECT_TRUE(pp->Print());
  printer->afterSheet = nullptr;
  EXPECT_EQ(SheetPages(), (std::vector<int>{1, 2, 1, 2}));
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[3].label, QStringLiteral("Page 2 of 2 x 2 Copies"));
  EXPECT_EQ(seen[3].maximum, 4);
  EXPECT_EQ(seen[3].value, 4);
}

struct PageLinkCase {
  const char* name;
  std::vector<std::pair<char, uint32_t>> sets;  // 'F' FromPage, 'T' ToPage
  uint32_t from, to;
};

class PageLinkTest : public PrintTest, public ::testing::WithParamInterface<PageLinkCase> {};

TEST_P(PageLinkTest, FromAndToStayOrdered) {
  for (auto [which, v] : GetParam().sets) {
    if (which == 'F')
      pp->SetFromPage(v);
    else
      pp->SetToPage(v);
  }
  EXPECT_EQ(pp->FromPage(), GetParam().from);
  EXPECT_EQ(pp->ToPage(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Setters, PageLinkTest,
                         ::testing::Values(PageLinkCase{"FromRaisesTo", {{'F', 2}}, 2, 2},
                                           PageLinkCase{"ToAloneLeavesFrom", {{'T', 5}}, 0, 5},
                                           PageLinkCase{"FromBelowToKeepsTo", {{'T', 5}, {'F', 3}}, 3, 5},
                                           PageLinkCase{"ToBelowFromLowersFrom", {{'F', 4}, {'T', 2}}, 2, 2},
                                           PageLinkCase{"ToZeroClearsFrom", {{'F', 4}, {'T', 0}}, 0, 0},
                                           PageLinkCase{
                                               "UnsignedComparison", {{'F', 0x80000000u}}, 0x80000000u, 0x80000000u}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
