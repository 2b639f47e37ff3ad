// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Column format strings: splitting, parsing one column, the canonical form and
// its conversion between inches and millimetres.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>

#include "PagePrnt.h"
#include "PagePrinterFixtures.h"

namespace {

class ColumnFormats : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{TTestPrinter::Setup{}};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

struct SplitCase {
  const char* name;
  QString text;
  QChar separator;
  QStringList pieces;
};

TEST(SplitTokens, NSeparatorsGiveNPlusOnePiecesUntrimmed) {
  const SplitCase cases[] = {
      {"empty text gives one empty piece", "", '|', {""}},
      {"no separator", "abc", '|', {"abc"}},
      {"lone separator", "|", '|', {"", ""}},
      {"empty pieces stay", "a||b|", '|', {"a", "", "b", ""}},
      {"blanks are kept", " a | b ", '|', {" a ", " b "}},
      {"other separator", "a|b;c", ';', {"a|b", "c"}},
  };
  for (const SplitCase& c : cases) {
    QStringList target{"stale"};
    TPagePrinter::SplitTokens(c.text, c.separator, target);
    EXPECT_EQ(target, c.pieces) << c.name;
  }
}

struct ParseCase {
  const char* name;
  QString column;
  TAlignment alignment;
  double width;
  QString rest;  // the column text as left by the parse
};

TEST_F(ColumnFormats, ParseColumnFormatReadsAlignmentAndWidth) {
  pp->SetDefaultColWidth(0.75);
  const ParseCase cases[] = {
      {"left", "<1.5", taLeftJustify, 1.5, "1.5"},
      {"right", ">2", taRightJustify, 2, "2"},
      {"centre", "^3.25", taCenter, 3.25, "3.25"},
      {"no alignment character", "4", taLeftJustify, 4, "4"},
      {"empty takes the default", "", taLeftJustify, 0.75, "0.75"},
      {"alignment only takes the default", ">", taRightJustify, 0.75, "0.75"},
      {"not a number takes the default", "^abc", taCenter, 0.75, "abc"},
      {"negative width", ">-1.5", taRightJustify, -1.5, "-1.5"},
      {"blanks around the number", "> 1.5 ", taRightJustify, 1.5, " 1.5 "},
      {"beyond the double range saturates", "<1e400", taLeftJustify, DBL_MAX, "1e400"},
      {"far below the double range saturates", "<-1e400", taLeftJustify, -DBL_MAX, "-1e400"},
  };
  for (const ParseCase& c : cases) {
    QString column = c.column;
    TAlignment alignment = taCenter;
    double width = -99;
    pp->ParseColumnFormat(column, alignment, width);
    EXPECT_EQ(alignment, c.alignment) << c.name;
    EXPECT_DOUBLE_EQ(width, c.width) << c.name;
    EXPECT_EQ(column, c.rest) << c.name;
  }
}

struct FormatCase {
  const char* name;
  QString assigned;
  QString readBack;
};

// DefaultColWidth 0, inches, decimal point.
TEST_F(ColumnFormats, AssignmentsReadBackInCanonicalForm) {
  const FormatCase cases[] = {
      {"empty", "", ""},
      {"already canonical", "^4|>2", "^4|>2"},
      {"alignment added, trailing zero dropped", "1|>2|^3.50", "<1|>2|^3.5"},
      {"lone separator", "|", "<0|<0"},
      {"lone alignment character", ">", ">0"},
      {"not a number", ">abc", ">0"},
      {"blank after the alignment", "> 1.5", ">1.5"},
      {"blank before the alignment", " >1.5", "<0"},
      {"exponent", "1e1", "<10"},
      {"plus sign", "+2", "<2"},
      {"negative width", ">-1.5", ">-1.5"},
      {"decimal comma in a decimal point locale", "1,5", "<0"},
      {"main window table", ">1.5|>1.5|>1.5|>1.5|>1.5", ">1.5|>1.5|>1.5|>1.5|>1.5"},
      {"fifteen significant digits", "<0.1234567890123456789", "<0.123456789012346"},
      {"semicolon is no separator", ">1;^2", ">0"},
  };
  for (const FormatCase& c : cases) {
    pp->SetTableFormat(c.assigned);
    EXPECT_EQ(pp->TableFormat(), c.readBack) << c.name;
    pp->SetHeaderFormat(c.assigned);
    EXPECT_EQ(pp->HeaderFormat(), c.readBack) << c.name;
    pp->SetFooterFormat(c.assigned);
    EXPECT_EQ(pp->FooterFormat(), c.readBack) << c.name;
  }
}

TEST_F(ColumnFormats, DefaultColWidthFillsPiecesWithoutWidth) {
  pp->SetDefaultColWidth(1.25);
  pp->SetTableFormat("|>");
  EXPECT_EQ(pp->TableFormat(), "<1.25|>1.25");
  // A later change of the default does not rewrite the stored format.
  pp->SetDefaultColWidth(2);
  EXPECT_EQ(pp->TableFormat(), "<1.25|>1.25");
}

TEST_F(ColumnFormats, TokenSeparatorSplitsTheFormat) {
  pp->SetTokenSeparator(';');
  pp->SetTableFormat(">1;^2");
  EXPECT_EQ(pp->TableFormat(), ">1;^2");
  pp->SetTableFormat("1|2;3");
  EXPECT_EQ(pp->TableFormat(), "<0;<3");
}

TEST_F(ColumnFormats, NegativeWidthMeansNoGridForThatColumn) {
  pp->SetTableFormat(">-1.5|<0");
  QStringList pieces;
  TPagePrinter::SplitTokens(pp->TableFormat(), pp->TokenSeparator(), pieces);
  ASSERT_EQ(pieces.size(), 2);
  TAlignment a;
  double w;
  pp->ParseColumnFormat(pieces[0], a, w);
  EXPECT_EQ(a, taRightJustify);
  EXPECT_DOUBLE_EQ(w, -1.5);
  EXPECT_EQ(pp->UnitsToPixelsX(std::abs(w)), 900);
  pp->ParseColumnFormat(pieces[1], a, w);
  EXPECT_DOUBLE_EQ(w, 0);  // zero keeps its grid lines: not negative
}

TEST_F(ColumnFormats, DecimalCommaLocaleReadsAndWritesTheComma) {
  FormatSettingsScope comma(FormatSettingsScope::DecimalComma());
  const FormatCase cases[] = {
      {"comma parses", "1,5", "<1,5"},
      {"point does not", ">1.5", ">0"},
      {"several columns", "^4|>2,25", "^4|>2,25"},
  };
  for (const FormatCase& c : cases) {
    pp->SetTableFormat(c.assigned);
    EXPECT_EQ(pp->TableFormat(), c.readBack) << c.name;
  }
  pp->SetTableFormat(">1,5|>1,5");
  pp->SetMeasureUnit(muMillimeters);
  EXPECT_EQ(pp->TableFormat(), ">38,1|>38,1");
}

TEST_F(ColumnFormats, UnitChangesConvertEveryFormat) {
  const FormatCase cases[] = {
      {"two columns", ">1.5|>1.5", ">38.1|>38.1"},
      {"header", "^4|>2", "^101.6|>50.8"},
      {"negative stays negative", "<-1|^0", "<-25.4|^0"},
      {"fraction", "<0.1", "<2.54"},
  };
  for (const FormatCase& c : cases) {
    pp->SetTableFormat(c.assigned);
    const QString canonical = pp->TableFormat();
    pp->SetMeasureUnit(muMillimeters);
    EXPECT_EQ(pp->TableFormat(), c.readBack) << c.name;
    pp->SetMeasureUnit(muInches);
    EXPECT_EQ(pp->TableFormat(), canonical) << c.name << " (back)";
  }
}

TEST_F(ColumnFormats, NormalizeWithConvertUsesTheUnitNowInForce) {
  EXPECT_EQ(pp->NormalizeFormat("<25.4", true), "<1");
  pp->SetMeasureUnit(muMillimeters);
  EXPECT_EQ(pp->NormalizeFormat("<1", true), "<25.4");
  EXPECT_EQ(pp->NormalizeFormat("<1", false), "<1");
  EXPECT_EQ(pp->NormalizeFormat("", true), "");
}

TEST_F(ColumnFormats, ConvertingTheLargestWidthStaysANumber) {
  pp->SetTableFormat("<1.7e308");
  pp->SetMeasureUnit(muMillimeters);
  const QString converted = pp->TableFormat();
  EXPECT_FALSE(converted.contains("INF", Qt::CaseInsensitive)) << converted.toStdString();
  QString column = converted;
  TAlignment a;
  double w = 0;
  pp->SetDefaultColWidth(-1);
  pp->ParseColumnFormat(column, a, w);
  EXPECT_EQ(w, DBL_MAX);
  // The canonical text reads back unchanged.
  pp->SetTableFormat(converted);
  EXPECT_EQ(pp->TableFormat(), converted);
}

}  // namespace
