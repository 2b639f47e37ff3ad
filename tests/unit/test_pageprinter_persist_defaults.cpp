// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Stored descriptions take their defaults from a fresh component: working them
// out must leave the shared printer's title and orientation as they were.
#include <gtest/gtest.h>

#include "PagePrinterFixtures.h"
#include "PagePrnt.h"
#include "PagePrntPersist.h"

namespace {

TEST(PersistenceDefaults, WritingKeepsTheSharedPrintersTitleAndOrientation) {
  TestPrinterInstall<> scope{TTestPrinter::Setup{}};
  TPagePrinter pp;
  pp.SetTitle(QStringLiteral("Kept title"));
  pp.SetOrientation(poLandscape);
  const QString written = WritePagePrinterDescription(pp);
  EXPECT_EQ(pp.Title(), QStringLiteral("Kept title"));
  EXPECT_EQ(pp.Orientation(), poLandscape);
  EXPECT_TRUE(written.contains(QStringLiteral("\nOrientation = poLandscape\n"))) << written.toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("\nTitle = \"Kept title\"\n"))) << written.toStdString();
}

}  // namespace
