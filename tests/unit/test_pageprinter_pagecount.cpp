// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The page-count token: filled in when the document ends, on recorded pages and
// in the text file, exactly as if the caller had written the final count.
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "PagePrinterFixtures.h"
#include "PagePrntPersist.h"

namespace {

struct CountCase {
  const char* name;
  int pages;
  bool toFile;
  bool tinyPage;  // a sheet that holds a few lines, so thousands of pages stay fast
};

}  // namespace

class PageCountTest : public PagePrinterFlowTest, public ::testing::WithParamInterface<CountCase> {
 protected:
  void SetUp() override {
    TTestPrinter::Setup setup;
    if (GetParam().tinyPage) setup.physicalHeight = 1200;
    Install(setup);
    ASSERT_TRUE(dir_.isValid());
  }
  // Lays out the document with the count written as `count`: the token, or the number itself.
  void Build(const QString& count, const QString& file) {
    pp->SetMarginTop(0.5);
    pp->SetMarginBottom(0.5);
    pp->SetHeader("Report|" + count + " pages");
    pp->SetHeaderFormat("<2|^2");
    pp->SetFooter("Page {$PAGE} of " + count);
    pp->SetFooterFormat(">5");
    pp->SetTableFormat("<1|>3");
    pp->SetPrintToFile(!file.isEmpty());
    pp->SetFileName(file);
    pp->BeginDoc();
    for (int page = 1; page <= GetParam().pages; ++page) {
      if (page > 1) pp->NewPage();
      pp->WriteLine("Body line");
      pp->WriteTableLine("{$PAGE}|of " + count + " in all");
    }
    pp->EndDoc();
  }
  QByteArray Contents(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  QTemporaryDir dir_;
};

TEST_P(PageCountTest, FilledInAsIfWrittenOut) {
  const CountCase& c = GetParam();
  const QString number = QString::number(c.pages);
  if (c.toFile) {
    Build("{$PAGECOUNT}", dir_.filePath("token.txt"));
    Build(number, dir_.filePath("number.txt"));
    const QByteArray withToken = Contents(dir_.filePath("token.txt"));
    EXPECT_EQ(withToken, Contents(dir_.filePath("number.txt")));
    EXPECT_EQ(withToken.count('\f'), c.pages - 1);
    EXPECT_TRUE(withToken.contains(("Page " + number + " of " + number).toLatin1()));
    EXPECT_FALSE(withToken.contains("{$PAGECOUNT}"));
    return;
  }
  Build("{$PAGECOUNT}", QString());
  ASSERT_EQ(pp->PageCount(), c.pages);
  std::vector<std::vector<DrawnText>> withToken;
  for (int page = 1; page <= c.pages; ++page) withToken.push_back(PageTexts(page));
  Build(number, QString());
  ASSERT_EQ(pp->PageCount(), c.pages);
  // First, middle and last page alike; every page is compared.
  for (int page = 1; page <= c.pages; ++page) ASSERT_EQ(withToken[size_t(page - 1)], PageTexts(page)) << page;
  bool footerSeen = false;
  for (const DrawnText& t : withToken.back()) footerSeen = footerSeen || t.text == "Page " + number + " of " + number;
  EXPECT_TRUE(footerSeen);
}

INSTANTIATE_TEST_SUITE_P(Documents, PageCountTest,
                         ::testing::Values(CountCase{"OnePage", 1, false, false},
                                           CountCase{"ThreePages", 3, false, false},
                                           CountCase{"TenThousandAndOnePages", 10001, false, true},
                                           CountCase{"OnePageToFile", 1, true, false},
                                           CountCase{"ThreePagesToFile", 3, true, false},
                                           CountCase{"TenThousandAndOnePagesToFile", 10001, true, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(PagePrinterFlowTest, PageCountTokenSurvivesTheOtherTokensAndHasAFriendlyCode) {
  pp->BeginDoc();
  EXPECT_EQ(pp->ReplaceTokens("{$PAGE}/{$PAGECOUNT} {$LINE}"), "1/{$PAGECOUNT} 0");
  pp->EndDoc();
  pp->SetFriendlyFooter("&rPage &p of &n");
  EXPECT_EQ(pp->Footer(), "Page {$PAGE} of {$PAGECOUNT}");
  // A stored description keeps the token.
  pp->SetFriendlyFooter("");
  pp->SetFooter("Page {$PAGE} of {$PAGECOUNT}");
  TPagePrinter copy;
  ReadPagePrinterDescription(copy, WritePagePrinterDescription(*pp));
  EXPECT_EQ(copy.Footer(), "Page {$PAGE} of {$PAGECOUNT}");
}
