// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Where a line wider than the text area starts, and which pages the OnNewPage
// handler is called for when it starts pages itself.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "PagePrinterFixtures.h"

namespace {

using Texts = std::vector<DrawnText>;

struct WideLineCase {
  const char* name;
  TAlignment alignment;
  int offset;  // from the left margin, for a 50-pixel character on a 30-pixel line
};
void PrintTo(const WideLineCase& c, std::ostream* os) { *os << c.name; }

class WideLineTest : public PagePrinterFlowTest, public ::testing::WithParamInterface<WideLineCase> {
 protected:
  void NarrowLine() {
    pp->SetMarginRight(7.95 + 240.0 / 600);
    ASSERT_EQ(pp->ContentWidthPixels(), 30);
  }
};

TEST_P(WideLineTest, SingleCharacterStartsAtTheAlignedOffset) {
  NarrowLine();
  pp->BeginDoc();
  ASSERT_EQ(pp->PageCanvas()->TextWidth("W"), 50);
  pp->WriteLineAligned(GetParam().alignment, "W");
  EXPECT_EQ(pp->Alignment(), taLeftJustify);
  pp->SetAlignment(GetParam().alignment);
  pp->WriteLine("W");
  pp->EndDoc();
  const int x = pp->LeftMarginPixels() + GetParam().offset;
  EXPECT_EQ(PageTexts(1), (Texts{{"W", x, 0}, {"W", x, 83}}));
}

TEST_P(WideLineTest, FileOutputHasNoLeadingBlanksBeforeIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("wide.txt");
  NarrowLine();
  pp->SetPrintToFile(true);
  pp->SetFileName(path);
  pp->BeginDoc();
  pp->WriteLineAligned(GetParam().alignment, "W");
  pp->EndDoc();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("W\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Alignments, WideLineTest,
                         ::testing::Values(WideLineCase{"Left", taLeftJustify, 0},
                                           WideLineCase{"Right", taRightJustify, 30 - 50},
                                           WideLineCase{"Centre", taCenter, (30 - 50) / 2}),
                         [](const auto& p) { return std::string(p.param.name); });

class HandlerPagesTest : public PagePrinterFlowTest {
 protected:
  void SetUp() override {
    PagePrinterFlowTest::SetUp();
    pp->SetMarginTop(0.5);
    pp->SetMarginBottom(0.5);
    pp->SetHeader("H");
    pp->SetHeaderFormat("<1");
  }
  int HeadersOn(int page) const {
    int n = 0;
    for (const DrawnText& t : PageTexts(page)) n += t.text == "H";
    return n;
  }
  std::vector<int> calls;  // PageNumber at every handler call
};

TEST_F(HandlerPagesTest, PageStartedByTheHandlerGetsItsOwnCall) {
  pp->SetOnNewPage([&](QObject*) {
    calls.push_back(pp->PageNumber());
    if (pp->PageNumber() == 1) {
      pp->WriteLine("Cover");
      pp->NewPage();
    } else {
      pp->WriteLine("Heading " + QString::number(pp->PageNumber()));
    }
  });
  pp->BeginDoc();
  pp->WriteLine("body");
  pp->EndDoc();
  EXPECT_EQ(calls, (std::vector<int>{1, 2}));
  ASSERT_EQ(pp->PageCount(), 2);
  EXPECT_EQ(PageTexts(1).front(), (DrawnText{"Cover", 0, 240}));
  const Texts page2 = PageTexts(2);
  ASSERT_EQ(page2.size(), 3u);
  EXPECT_EQ(page2[0], (DrawnText{"Heading 2", 0, 240}));
  EXPECT_EQ(page2[2], (DrawnText{"body", 0, 240 + 83}));
  EXPECT_EQ(HeadersOn(2), 1);
}

TEST_F(HandlerPagesTest, ChainOfPagesStartedByTheHandlerEachGetACall) {
  pp->SetOnNewPage([&](QObject*) {
    calls.push_back(pp->PageNumber());
    pp->WriteLine("Top " + QString::number(pp->PageNumber()));
    if (pp->PageNumber() < 3) pp->NewPage();
  });
  pp->BeginDoc();
  pp->EndDoc();
  EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(pp->PageCount(), 3);
  EXPECT_EQ(PageTexts(3).front(), (DrawnText{"Top 3", 0, 240}));
}

// A handler that starts a page on every call would nest without end; the
// nesting is bounded and the document still ends.
TEST_F(HandlerPagesTest, HandlerStartingAPageOnEveryCallTerminates) {
  pp->SetOnNewPage([&](QObject*) {
    calls.push_back(pp->PageNumber());
    pp->NewPage();
  });
  pp->BeginDoc();
  pp->EndDoc();
  ASSERT_FALSE(calls.empty());
  EXPECT_LT(calls.size(), 1000u);
  EXPECT_EQ(pp->PageCount(), int(calls.size()) + 1);
}

}  // namespace
