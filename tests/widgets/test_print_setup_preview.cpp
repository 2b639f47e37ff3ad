// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Print Setup and Print Preview: their keys and enabled states, the chosen
// printer, copies, pages and paper reaching Print and Save as PDF, and the
// preview's navigation, zoom, Print and Save as PDF.
#include <gtest/gtest.h>

#include <QListView>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "MainWindowFixture.h"
#include "QVXFlashLabel.h"
#include <QTableView>
#include "PdfTools.h"
#include "PrintChoice.h"
#include "PrintSetup.h"
#include "ScheduleMenu.h"
#include "SchedulePreview.h"

namespace {

// A4 at 600 dpi.
TTestPrinter::Setup A4Setup() {
  TTestPrinter::Setup s;
  s.physicalWidth = 4961;
  s.physicalHeight = 7016;
  return s;
}

class PrintSetupTest : public MainWindowFixture<TTestPrinter> {
 protected:
  PrintSetupTest() : MainWindowFixture(true) {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    previousMaker = SetChoicePrinterMaker([this](const PrintChoice& choice) {
      madeFor << choice.destination;
      chosen = std::make_shared<TTestPrinter>(A4Setup());
      return chosen;
    });
    previousQuery = SetPrintSetupQuery([this](QWidget*) {
      ++asked;
      return answer;
    });
  }
  void TearDown() override {
    SetChosenPrint(std::nullopt);
    SetChoicePrinterMaker(previousMaker);
    SetPrintSetupQuery(previousQuery);
    MainWindowFixture::TearDown();
  }
  // 240 monthly payments: more than three pages on Letter and A4.
  void Calculated() {
    Enter("1000", "12", "240");
    Click(form->flblCalculate);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier | Qt::ShiftModifier) {
    QTest::keyClick(form->grdAmort, key, mods);
  }
  // Runs Print Preview and `inside` on its window, which then closes by Esc.
  void InPreview(const std::function<void(SchedulePreview&)>& inside) {
    dialogs->QueueAnswer(QStringLiteral("1/15/2025"));
    bool ran = false;
    // The command processes events before its window exists: wait for the window.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* preview = qobject_cast<SchedulePreview*>(QApplication::activeModalWidget());
      if (!preview || ran) return;
      ran = true;
      poll.stop();
      // The offscreen platform leaves the activation to the application.
      QApplication::setActiveWindow(preview);
      ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
      inside(*preview);
      QTest::keyClick(preview, Qt::Key_Escape);
    });
    poll.start(10);
    form->ScheduleCommands()->PrintPreview();
    EXPECT_TRUE(ran);
  }
  std::vector<int> SheetPages(const TTestPrinter& p) const {
    std::vector<int> pages;
    for (const auto& sheet : p.Sheets())
      for (int n = 1; n <= form->PgPrint->PageCount(); ++n)
        if (sheet.page == form->PgPrint->Pages(n)) pages.push_back(n);
    return pages;
  }

  std::optional<PrintChoice> answer;
  int asked = 0;
  QStringList madeFor;
  std::shared_ptr<TTestPrinter> chosen;
  ChoicePrinterMaker previousMaker;
  PrintSetupQuery previousQuery;
};

TEST_F(PrintSetupTest, KeysAskOnlyWithAScheduleAndNotWhilePrinting) {
  Key(Qt::Key_P);
  EXPECT_EQ(asked, 0);
  Calculated();
  Key(Qt::Key_P);
  EXPECT_EQ(asked, 1);  // cancelled: no choice
  EXPECT_FALSE(ChosenPrint().has_value());
  // While a document command runs (here: inside Print's output step) both keys are ignored.
  dialogs->QueueAnswer(QStringLiteral("1/15/2025"));
  const size_t eventsBefore = dialogs->Events().size();
  form->RunDocumentCommand([&](const QDate&) {
    Key(Qt::Key_P);
    Key(Qt::Key_O);
  });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(dialogs->Events().size(), eventsBefore + 1);  // only the date query, no preview's
}

TEST_F(PrintSetupTest, ChosenPrinterCopiesAndPagesReachPrint) {
  Calculated();
  PrintChoice choice;
  choice.destination = QStringLiteral("second/instance");
  choice.copies = 2;
  choice.collate = true;
  choice.fromPage = 2;
  choice.toPage = 3;
  answer = choice;
  Key(Qt::Key_P);
  ASSERT_EQ(madeFor, QStringList{"second/instance"});
  dialogs->QueueAnswer(QStringLiteral("1/15/2025"));
  Click(form->flblPrint);
  ASSERT_GE(form->PgPrint->PageCount(), 3);
  EXPECT_TRUE(printer->Events().empty());  // the process's printer prints nothing
  EXPECT_EQ(SheetPages(*chosen), (std::vector<int>{2, 3, 2, 3}));
  // The component's own settings are as before for the next print.
  EXPECT_EQ(form->PgPrint->Copies(), 1u);
  EXPECT_EQ(form->PgPrint->FromPage(), 0u);

  // A range beyond the document prints nothing and says so.
  choice.fromPage = 40;
  choice.toPage = 41;
  answer = choice;
  form->ScheduleCommands()->PrintSetup();
  dialogs->QueueAnswer(QStringLiteral("1/15/2025"));
  Click(form->flblPrint);
  EXPECT_TRUE(chosen->Events().empty());
  ASSERT_FALSE(dialogs->Messages().isEmpty());
  EXPECT_TRUE(dialogs->Messages().last().contains("Nothing was printed")) << dialogs->Messages().last().toStdString();
}

TEST_F(PrintSetupTest, ChosenPaperReachesSaveAsPdf) {
  Calculated();
  PrintChoice choice;
  choice.destination = QStringLiteral("second");
  choice.paper = QPageSize(QPageSize::A4);
  answer = choice;
  Key(Qt::Key_P);
  QTemporaryDir dir;
  const QString target = dir.filePath("a4.pdf");
  dialogs->QueueAnswer(QStringLiteral("1/15/2025"));
  dialogs->QueueAnswer(target);
  form->ScheduleCommands()->SavePdf();
  EXPECT_EQ(PdfInfo(target, "Page size"), "595 x 842 pts (A4)");
}

TEST_F(PrintSetupTest, PreviewTurnsPagesAndZooms) {
  Calculated();
  InPreview([&](SchedulePreview& preview) {
    const int count = preview.PageCount();
    ASSERT_GE(count, 3);
    EXPECT_EQ(preview.PageBox()->text(), QStringLiteral("Page 1 of %1").arg(count));
    const std::pair<Qt::Key, int> turns[] = {{Qt::Key_PageDown, 2},     {Qt::Key_End, count},
                                             {Qt::Key_PageDown, count}, {Qt::Key_PageUp, count - 1},
                                             {Qt::Key_Home, 1},         {Qt::Key_PageUp, 1}};
    EXPECT_TRUE(preview.Pages()->hasFocus());
    bool fromBox = false;
    for (const auto& [key, page] : turns) {
      // From the page view and from the page box alike.
      QWidget* target = fromBox ? static_cast<QWidget*>(preview.PageBox()) : preview.Pages();
      fromBox = !fromBox;
      target->setFocus();
      QTest::keyClick(target, key);
      EXPECT_EQ(preview.CurrentPage(), page) << QKeySequence(key).toString().toStdString();
      EXPECT_EQ(preview.Thumbnails()->currentIndex().row(), page - 1);
    }
    // A number typed into the box.
    preview.PageBox()->setFocus();
    preview.PageBox()->selectAll();
    QTest::keyClicks(preview.PageBox(), "3");
    QTest::keyClick(preview.PageBox(), Qt::Key_Return);
    EXPECT_EQ(preview.CurrentPage(), 3);
    EXPECT_TRUE(preview.isVisible());  // Enter pressed no button

    TPagePrinter& pages = *preview.Pages();
    preview.FitWidth();
    EXPECT_EQ(pages.ZoomLocation(), zlTopCenter);
    EXPECT_LE(pages.PageExtentOnScreen(true), pages.viewport()->width());
    EXPECT_GT(pages.PageExtentOnScreen(true), pages.viewport()->width() * 3 / 4);
    preview.FitPage();
    EXPECT_EQ(pages.ZoomLocation(), zlCenter);
    EXPECT_LE(pages.PageExtentOnScreen(false), pages.viewport()->height());
    preview.ActualSize();
    EXPECT_EQ(pages.ZoomPercent(), 100u);
    QTest::keyClick(&preview, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_LT(pages.ZoomPercent(), 100u);
    const uint32_t before = pages.ZoomPercent();
    QWheelEvent wheel(QPointF(10, 10), pages.viewport()->mapToGlobal(QPointF(10, 10)), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages.viewport(), &wheel);
    EXPECT_GT(pages.ZoomPercent(), before);
    EXPECT_EQ(preview.CurrentPage(), 3);  // zoom keeps the page
  });
}

TEST_F(PrintSetupTest, PreviewPrintsAndSavesThePagesShown) {
  Calculated();
  QTemporaryDir dir;
  const QString target = dir.filePath("preview.pdf");
  int count = 0;
  InPreview([&](SchedulePreview& preview) {
    count = preview.PageCount();
    preview.PrintPages();
    ASSERT_EQ(printer->Sheets().size(), size_t(count));
    for (int n = 1; n <= count; ++n) EXPECT_EQ(printer->Sheets()[n - 1].page, preview.Pages()->Pages(n));
    dialogs->QueueAnswer(target);
    preview.SavePdf();
  });
  EXPECT_EQ(PdfPageCount(target), count);
  EXPECT_EQ(PdfInfo(target, "Page size"), "612 x 792 pts (letter)");  // the sheet the pages were laid out on
}

}  // namespace
