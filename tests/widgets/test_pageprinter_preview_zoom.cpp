// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Centred zoom positions when the new scroll ranges bring the scroll bars in.
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "PagePrinterFixtures.h"
#include "PagePrnt.h"

namespace {

struct CentredZoomCase {
  const char* name;
  TZoomLocation location;
  int horizontal, vertical;  // 828 x 1068 range in a 384 x 384 client
};
void PrintTo(const CentredZoomCase& c, std::ostream* os) { *os << c.name; }

class CentredZoomTest : public PagePrinterFixture<>, public ::testing::WithParamInterface<CentredZoomCase> {};

TEST_P(CentredZoomTest, PositionUsesTheClientLeftByTheScrollBars) {
  pp->resize(400, 400);
  pp->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(pp.get()));
  pp->SetZoomPercent(25);
  QCoreApplication::processEvents();
  ASSERT_FALSE(pp->horizontalScrollBar()->isVisible());
  pp->SetZoomLocation(GetParam().location);
  pp->SetZoomPercent(100);
  EXPECT_EQ(pp->horizontalScrollBar()->value(), GetParam().horizontal);
  EXPECT_EQ(pp->verticalScrollBar()->value(), GetParam().vertical);
  QCoreApplication::processEvents();
  ASSERT_EQ(pp->viewport()->size(), QSize(384, 384));
  EXPECT_EQ(pp->horizontalScrollBar()->value(), GetParam().horizontal);
  EXPECT_EQ(pp->verticalScrollBar()->value(), GetParam().vertical);
}

INSTANTIATE_TEST_SUITE_P(Locations, CentredZoomTest,
                         ::testing::Values(CentredZoomCase{"Center", zlCenter, (828 - 384) / 2, (1068 - 384) / 2},
                                           CentredZoomCase{"TopCenter", zlTopCenter, (828 - 384) / 2, 0}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
