// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text measurement through a device context is exactly the full layout's
// measurement, for every kind of text the documents hold, in the fonts they
// use, on first measurement and from the caches afterwards.
#include <QFontMetrics>
#include <QStringList>
#include <gtest/gtest.h>

#include "Device.h"
#include "Graphics.h"
#include "ParamNames.h"

namespace {

struct FontCase {
  const char* name;
  int height;
  TFontStyles style;
};

// Texts of every character class: digits, separators, currency signs and
// blanks (simple runs), headings and titles (letters), and mixtures.
QStringList Texts() {
  QStringList texts = {QStringLiteral(" 1"),
                       QStringLiteral(" 148000"),
                       QStringLiteral("$1,234,567.89"),
                       QStringLiteral("($12.30)"),
                       QStringLiteral("-$0.01"),
                       QStringLiteral("1.234,56 \u20AC"),
                       QStringLiteral("1\u00A0234,56\u00A0\u20AC"),
                       QStringLiteral("1\u202F234\u2009\u20AC"),
                       QStringLiteral("\u00A3\u00A5\u00A2 \u2212 5"),
                       QStringLiteral("\uFFE5149,918.31"),
                       QStringLiteral("\uFFE5\u3000\uFF05\u20B9\u2030\u2116 \u00B7\u2022\u3001 7"),
                       QStringLiteral("\u0600\u0661\u0662 \u202E45\u202C \u200D6\u20287"),
                       QStringLiteral("01/15/2025"),
                       QStringLiteral("12:30 #5 %!?*+=<>[]{}|~^_\"'`;@&\\"),
                       QStringLiteral("      Payment"),
                       QStringLiteral("Amortization Schedule"),
                       QStringLiteral("Page - 12"),
                       QStringLiteral("Loan Amount: $150,000.00"),
                       QStringLiteral("office fifty"),
                       QStringLiteral("Caf\u00E9 \u00C5 \u00DF"),
                       QStringLiteral("e\u0301"),
                       QStringLiteral("\u05E9\u05DC\u05D5\u05DD 12"),
                       QStringLiteral("AVAVA To"),
                       QStringLiteral("\t$1\t2")};
  // Every prefix of an amount, as a fit-to-width search measures them.
  const QString amount = QStringLiteral("$98,765,432.10");
  for (qsizetype n = 1; n < amount.size(); ++n) texts << amount.left(n);
  // Every Latin-1 character alone and between digits.
  for (char16_t c = 0x20; c < 0x100; ++c) {
    if (c >= 0x7F && c < 0xA0) continue;
    texts << QString(QChar(c)) << QStringLiteral("0") + QChar(c) + QStringLiteral("0");
  }
  return texts;
}

class TextMeasureTest : public ::testing::TestWithParam<FontCase> {
 protected:
  static TFont Font(const FontCase& c) {
    TFont font;
    font.SetName(QString::fromLatin1(c.name));
    font.SetHeight(c.height);
    font.SetStyle(c.style);
    return font;
  }
};

TEST_P(TextMeasureTest, MatchesFullMeasurementFirstAndCachedTime) {
  const TFont font = Font(GetParam());
  const QFontMetrics full(font.ToQFont());
  TFont other;
  other.SetName(QStringLiteral("Arial"));
  other.SetHeight(-41);
  TDeviceContext* dc = ScreenDC();
  for (int round = 0; round < 2; ++round) {
    for (const QString& text : Texts()) {
      EXPECT_EQ(dc->TextWidth(font, text), full.horizontalAdvance(text))
          << "round " << round << " text \"" << text.toStdString() << "\"";
      // Another font in between must not disturb this font's measurements.
      dc->TextWidth(other, text);
    }
  }
  EXPECT_EQ(dc->TextWidth(font, QString()), 0);
  EXPECT_EQ(dc->TextHeight(font, QStringLiteral("x")), full.height());
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextMeasureTest,
                         ::testing::Values(FontCase{"Courier New", -50, 0}, FontCase{"Courier New", -58, fsBold},
                                           FontCase{"Courier New", -13, fsItalic}, FontCase{"MS Sans Serif", -11, 0},
                                           FontCase{"Arial", -67, fsBold}, FontCase{"Arial", -9, fsUnderline},
                                           FontCase{"Times New Roman", -37, 0}),
                         [](const auto& p) {
                           return param_names::Join(param_names::Words(p.param.name),
                                                    param_names::Value(-p.param.height),
                                                    param_names::Value(int(p.param.style)));
                         });

}  // namespace
