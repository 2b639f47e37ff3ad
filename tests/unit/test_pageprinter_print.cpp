// Printing through the page printer: copies, collation, page ranges, the
// progress dialog, cancelling, printer failures and re-entry.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "PagePrinterFixture.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"

namespace {

// A test printer that calls back after every sheet has been drawn, so a test
// can look at the dialog or press Cancel while a run is in progress.
class HookPrinter : public TTestPrinter {
 public:
  explicit HookPrinter(Setup setup) : TTestPrinter(setup), canvas_(this) {}
  std::function<void()> afterSheet;
  TCanvas* Canvas() override {
    canvas_.inner = TTestPrinter::Canvas();
    return &canvas_;
  }

 private:
  // Passes everything to the recording canvas; calls the hook after a page is drawn.
  class HookCanvas : public TCanvas {
   public:
    explicit HookCanvas(HookPrinter* owner) : owner_(owner) {}
    TCanvas* inner = nullptr;
    void TextOut(int x, int y, const QString& text) override { inner->TextOut(x, y, text); }
    int TextWidth(const QString& text) override { return inner->TextWidth(text); }
    int TextHeight(const QString& text) override { return inner->TextHeight(text); }
    void Polyline(const std::vector<QPoint>& points) override { inner->Polyline(points); }
    void Rectangle(const QRect& r) override { inner->Rectangle(r); }
    void FillRect(const QRect& r) override { inner->FillRect(r); }
    void Draw(int x, int y, const TMetafile& page) override {
      inner->Draw(x, y, page);
      if (owner_->afterSheet) owner_->afterSheet();
    }
    void StretchDraw(const QRect& r, const TMetafile& page) override { inner->StretchDraw(r, page); }

   private:
    HookPrinter* owner_;
  };
  HookCanvas canvas_;
};

struct DialogState {
  bool exists = false;
  bool visible = false;
  QString caption, status, label;
  int value = 0, maximum = 0;
  bool buttonVisible = false, buttonEnabled = false;
  int height = 0;
};

class PrintTest : public PagePrinterFixture<HookPrinter> {
 protected:
  // Fills n pages by drawing on the page canvas, as the document flow would.
  void MakePages(int n) {
    pp->ClearPages(true);
    for (int i = 1; i <= n; ++i) {
      if (i > 1) pp->AddPage();
      pp->PageCanvas()->TextOut(100, 100 + i, QStringLiteral("page %1").arg(i));
      for (int k = 1; k < i; ++k) pp->PageCanvas()->TextOut(100, 200 + 50 * k, QStringLiteral("line"));
    }
    pp->OpenPage();  // completes the last page, as ending a document does
    pp->SetPageNumber(1);
  }
  // The page number drawn on each sheet.
  std::vector<int> SheetPages() const {
    std::vector<int> result;
    for (const auto& sheet : printer->Sheets()) {
      int number = 0;
      for (int n = 1; n <= pp->PageCount(); ++n)
        if (pp->Pages(n) == sheet.page) number = n;
      result.push_back(number);
    }
    return result;
  }
  DialogState Dialog() const {
    DialogState s;
    TPPPrnPrgDlg* d = pp->ProgressDialog();
    if (!d) return s;
    s.exists = true;
    s.visible = d->isVisible();
    s.caption = d->windowTitle();
    s.status = d->lblStatus->text();
    s.label = d->lblPageNumber->text();
    s.value = d->ProgBar->value();
    s.maximum = d->ProgBar->maximum();
    s.buttonVisible = d->btnCancel->isVisible();
    s.buttonEnabled = d->btnCancel->isEnabled();
    s.height = d->height();
    return s;
  }
  // Records the dialog after every sheet.
  std::vector<DialogState> RecordDialog() {
    std::vector<DialogState> seen;
    printer->afterSheet = [&] { seen.push_back(Dialog()); };
    pp->Print();
    printer->afterSheet = nullptr;
    return seen;
  }
  std::vector<QString> Events() const { return printer->Events(); }
};

std::vector<QString> JobEvents(int sheets, const char* last = "EndDoc") {
  std::vector<QString> e{QStringLiteral("BeginDoc")};
  for (int i = 1; i < sheets; ++i) e.push_back(QStringLiteral("NewPage"));
  e.push_back(QString::fromLatin1(last));
  return e;
}

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

INSTANTIATE_TEST_SUITE_P(
    Orders, CollationTest,
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

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeTest,
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
  EXPECT_EQ(int(printer->Sheets().size()), c.afterSheet);  // the started sheet completes
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

INSTANTIATE_TEST_SUITE_P(
    Setters, PageLinkTest,
    ::testing::Values(PageLinkCase{"FromRaisesTo", {{'F', 2}}, 2, 2},
                      PageLinkCase{"ToAloneLeavesFrom", {{'T', 5}}, 0, 5},
                      PageLinkCase{"FromBelowToKeepsTo", {{'T', 5}, {'F', 3}}, 3, 5},
                      PageLinkCase{"ToBelowFromLowersFrom", {{'F', 4}, {'T', 2}}, 2, 2},
                      PageLinkCase{"ToZeroClearsFrom", {{'F', 4}, {'T', 0}}, 0, 0},
                      PageLinkCase{"UnsignedComparison", {{'F', 0x80000000u}}, 0x80000000u, 0x80000000u}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
