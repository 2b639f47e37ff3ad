// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text to numbers and back: the accepted grammar, whole numbers, the general and fixed formats.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "Conversions.h"
#include "ConversionsTestSupport.h"
#include "Errors.h"

namespace {

// ---- text to float ----

struct FloatCase {
  const char* name;
  QString text;
  bool accepted;
  long double value;
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.name; }

class TextToFloatGrammar : public ::testing::TestWithParam<FloatCase> {};

TEST_P(TextToFloatGrammar, AcceptsExactlyTheGrammar) {
  const FloatCase& c = GetParam();
  long double value = -12345;
  const bool accepted = TryTextToFloat(c.text, value, UsSettings());
  ASSERT_EQ(accepted, c.accepted) << c.text.toStdString();
  if (c.accepted)
    EXPECT_EQ(value, c.value) << c.text.toStdString();
  else
    EXPECT_EQ(value, -12345) << "a rejected text must leave the value alone";
}

const FloatCase kFloatCases[] = {
    {"Zero", "0", true, 0},
    {"Integer", "42", true, 42},
    {"BlanksAround", "  250.75  ", true, 250.75L},
    {"Exponent", "2.5E3", true, 2500},
    {"LowerExponent", "2.5e3", true, 2500},
    {"ExponentPlus", "1e+2", true, 100},
    {"ExponentMinus", "1E-2", true, 0.01L},
    {"ExponentLeadingZeros", "1e0010", true, 1e10L},
    {"Negative", "-1.5", true, -1.5L},
    {"Plus", "+2", true, 2},
    {"LoneSeparator", ".", true, 0},
    {"SignAndSeparator", "-.", true, 0},
    {"TrailingSeparator", "5.", true, 5},
    {"LeadingSeparator", ".5", true, 0.5L},
    {"SeparatorThenExponent", ".e5", true, 0},
    {"LeadingZeros", "007", true, 7},
    {"ExtendedNotDouble", "0.1", true, 0.1L},
    {"LargestExtended", "1.18973149535723176502e4932", true, LDBL_MAX},
    {"TinyUnderflowsToZero", "1e-99999", true, 0},
    {"SmallestSubnormal", "3.6451995318824746025e-4951", true, LDBL_TRUE_MIN},
    {"ZeroWithHugeExponent", "0e99999999999999999999", true, 0},
    {"BlanksAfterExponent", "1e3   ", true, 1000},
    {"Empty", "", false, 0},
    {"BlanksOnly", "   ", false, 0},
    {"LonePlus", "+", false, 0},
    {"LoneMinus", " - ", false, 0},
    {"ThousandsSeparator", "1,000", false, 0},
    {"CurrencySymbol", "$100", false, 0},
    {"TwoSeparators", "1.2.3", false, 0},
    {"ExponentWithoutDigits", "1e", false, 0},
    {"ExponentSignWithoutDigits", "1e+", false, 0},
    {"ExponentOnly", "e5", false, 0},
    {"BlankInside", "1 2", false, 0},
    {"BlankBeforeExponentDigits", "1e 3", false, 0},
    {"BlankBeforeExponent", "1.5 e3", false, 0},
    {"TabAfter", "1\t", false, 0},
    {"TabBefore", "\t1", false, 0},
    {"NewlineAfter", "1\n", false, 0},
    {"NoBreakSpace", QString::fromUtf16(u"\u00a01"), false, 0},
    {"EmbeddedNul", QString::fromUtf16(u"1\u0000", 2), false, 0},
    {"Hex", "0x10", false, 0},
    {"NaN", "nan", false, 0},
    {"Infinity", "inf", false, 0},
    {"InfinityWord", "-Infinity", false, 0},
    {"Underscore", "1_000", false, 0},
    {"ArabicIndicDigits", QString::fromUtf16(u"\u0661\u0662"), false, 0},
    {"FullwidthDigit", QString::fromUtf16(u"\uff11"), false, 0},
    {"CommaInDecimalPointLocale", "1,5", false, 0},
    {"FractionalExponent", "1e5.5", false, 0},
    {"DoubleSign", "--1", false, 0},
    {"MixedSigns", "+-1", false, 0},
    {"TrailingSign", "1-", false, 0},
    {"TwoExponents", "1e1e1", false, 0},
    {"Overflow", "1e99999", false, 0},
    {"JustAboveExtendedRange", "1.19e4932", false, 0},
    {"NegativeOverflow", "-1e5000", false, 0},
    {"HugeExponentDigits", "1e99999999999999999999999999", false, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, TextToFloatGrammar, ::testing::ValuesIn(kFloatCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(TextToFloat, ParsesToTheNearestExtendedValueNotTheNearestDouble) {
  long double value = 0;
  ASSERT_TRUE(TryTextToFloat("0.1", value, UsSettings()));
  EXPECT_NE(value, static_cast<long double>(0.1));
  ASSERT_TRUE(TryTextToFloat("12.000000000000000001", value, UsSettings()));
  EXPECT_GT(value, 12.0L) << "the 20th significant digit is resolved in 64-bit mantissas";
}

TEST(TextToFloat, NegativeZeroAndSignsKeepTheirSign) {
  long double value = 1;
  ASSERT_TRUE(TryTextToFloat("-0", value, UsSettings()));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(std::signbit(value));
  ASSERT_TRUE(TryTextToFloat("-1e-99999", value, UsSettings()));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(std::signbit(value));
  ASSERT_TRUE(TryTextToFloat("-3.6451995318824746025e-4951", value, UsSettings()));
  EXPECT_EQ(value, -LDBL_TRUE_MIN);
}

TEST(TextToFloat, UsesOnlyTheSettingsDecimalSeparator) {
  const FormatSettings comma = CommaSettings();
  long double value = 0;
  ASSERT_TRUE(TryTextToFloat("1,5", value, comma));
  EXPECT_EQ(value, 1.5L);
  ASSERT_TRUE(TryTextToFloat(" ,25e1 ", value, comma));
  EXPECT_EQ(value, 2.5L);
  EXPECT_FALSE(TryTextToFloat("1.5", value, comma));
  EXPECT_FALSE(TryTextToFloat("1.000,5", value, comma)) << "grouping is never accepted";
}

TEST(TextToFloat, LongInputsAreHandledExactly) {
  long double value = 0;
  // 10,000 digits: one, then zeros, scaled back by the exponent.
  const QString many = "1" + QString(9998, u'0') + "e-9998";
  ASSERT_TRUE(TryTextToFloat(many, value, UsSettings()));
  EXPECT_EQ(value, 1.0L);
  // Leading zeros after the separator shift the scale.
  ASSERT_TRUE(TryTextToFloat("." + QString(9000, u'0') + "25e9001", value, UsSettings()));
  EXPECT_EQ(value, 2.5L);
  // A very long exponent digit string saturates instead of overflowing an integer.
  EXPECT_FALSE(TryTextToFloat("1e" + QString(10000, u'9'), value, UsSettings()));
  ASSERT_TRUE(TryTextToFloat("1e-" + QString(10000, u'9'), value, UsSettings()));
  EXPECT_EQ(value, 0);
  // Blanks all around and controls in the middle.
  ASSERT_TRUE(TryTextToFloat(QString(5000, u' ') + "7" + QString(5000, u' '), value, UsSettings()));
  EXPECT_EQ(value, 7);
  QString controls;
  for (char16_t c = 1; c < 32; ++c) controls += QChar(c);
  EXPECT_FALSE(TryTextToFloat("1" + controls.repeated(300), value, UsSettings()));
}

TEST(TextToFloat, DigitsBeyondTheRangeOfDigitsCountRoundCorrectly) {
  long double value = 0;
  // 1 + 2^-64 exactly is halfway between 1 and the next extended value; a
  // nonzero digit far behind it must round up.
  const QString halfway = "1.0000000000000000000542101086242752217003726400434970855712890625";
  ASSERT_TRUE(TryTextToFloat(halfway + QString(5000, u'0') + "1", value, UsSettings()));
  EXPECT_EQ(value, std::nextafter(1.0L, 2.0L));
  ASSERT_TRUE(TryTextToFloat(halfway, value, UsSettings()));
  EXPECT_EQ(value, 1.0L) << "an exact tie rounds to even";
}

TEST(StrToFloat, RaisesTheConversionMessage) {
  EXPECT_EQ(StrToFloat(" 2.5E3", UsSettings()), 2500);
  try {
    StrToFloat("1,000", UsSettings());
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1,000' is not a valid floating point value");
  }
}

// ---- whole numbers ----

struct IntCase {
  const char* name;
  QString text;
  bool accepted;
  int32_t value;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }

class WholeNumber : public ::testing::TestWithParam<IntCase> {};

TEST_P(WholeNumber, AcceptsOnlySignedDecimalDigitsThatFit) {
  const IntCase& c = GetParam();
  int32_t value = -7;
  ASSERT_EQ(TryStrToInt(c.text, value), c.accepted) << c.text.toStdString();
  if (c.accepted) {
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(StrToInt(c.text), c.value);
  } else {
    EXPECT_EQ(value, -7);
    try {
      StrToInt(c.text);
      FAIL() << "no exception for " << c.text.toStdString();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid integer value");
    }
  }
}

const IntCase kIntCases[] = {
    {"Plain", "12", true, 12},
    {"LeadingBlanks", "   12", true, 12},
    {"Plus", "+12", true, 12},
    {"Minus", "-12", true, -12},
    {"Zero", "0", true, 0},
    {"LeadingZeros", "0000000000000000000042", true, 42},
    {"Max", "2147483647", true, 2147483647},
    {"Min", "-2147483648", true, INT32_MIN},
    {"Empty", "", false, 0},
    {"BlanksOnly", "  ", false, 0},
    {"LoneSign", "-", false, 0},
    {"Fraction", "12.5", false, 0},
    {"Exponent", "1e2", false, 0},
    {"TrailingBlank", "12 ", false, 0},
    {"TooBig", "2147483648", false, 0},
    {"TooSmall", "-2147483649", false, 0},
    {"ManyDigits", "99999999999999999999999999", false, 0},
    {"Hex", "$FF", false, 0},
    {"HexPrefix", "0x1F", false, 0},
    {"Tab", "\t12", false, 0},
    {"Grouping", "1,000", false, 0},
    {"ArabicIndic", QString::fromUtf16(u"\u0661\u0662"), false, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, WholeNumber, ::testing::ValuesIn(kIntCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- general format ----

TEST(FloatToStrGeneral, FifteenSignificantDigitsWithoutTrailingZeros) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FloatToStrGeneral(1.5L, us), "1.5");
  EXPECT_EQ(FloatToStrGeneral(101.6L, us), "101.6");
  EXPECT_EQ(FloatToStrGeneral(50.8L, us), "50.8");
  EXPECT_EQ(FloatToStrGeneral(1.5L * 25.4L, us), "38.1");
  EXPECT_EQ(FloatToStrGeneral(static_cast<long double>(1.5 * 25.4), us), "38.1");
  EXPECT_EQ(FloatToStrGeneral(static_cast<long double>(0.49999999999999994), us), "0.5");
  EXPECT_EQ(FloatToStrGeneral(1.25L, us), "1.25");
  EXPECT_EQ(FloatToStrGeneral(10, us), "10");
  EXPECT_EQ(FloatToStrGeneral(0, us), "0");
  EXPECT_EQ(FloatToStrGeneral(-0.0L, us), "0");
  EXPECT_EQ(FloatToStrGeneral(-2.5L, us), "-2.5");
  EXPECT_EQ(FloatToStrGeneral(1.0L / 3, us), "0.333333333333333");
  EXPECT_EQ(FloatToStrGeneral(2.0L / 3, us), "0.666666666666667");
  EXPECT_EQ(FloatToStrGeneral(0.05905511811023622L * 25.4L, us), "1.5");
  EXPECT_EQ(FloatToStrGeneral(38.1L * 0.03937007874015748L, us), "1.5");
}

TEST(FloatToStrGeneral, ExponentOnlyForExtremeMagnitudes) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FloatToStrGeneral(123456789012345.0L, us), "123456789012345");
  EXPECT_EQ(FloatToStrGeneral(1e15L, us), "1E15");
  EXPECT_EQ(FloatToStrGeneral(1.5e20L, us), "1.5E20");
  EXPECT_EQ(FloatToStrGeneral(0.0001L, us), "0.0001");
  EXPECT_EQ(FloatToStrGeneral(0.00001L, us), "1E-5");
  EXPECT_EQ(FloatToStrGeneral(-1.25e-7L, us), "-1.25E-7");
  EXPECT_EQ(FloatToStrGeneral(999999999999999.9L, us), "1E15") << "rounding can move the exponent";
  EXPECT_EQ(FloatToStrGeneral(LDBL_MAX, us), "1.18973149535723E4932");
  EXPECT_EQ(FloatToStrGeneral(INFINITY, us), "INF");
  EXPECT_EQ(FloatToStrGeneral(-INFINITY, us), "-INF");
  EXPECT_EQ(FloatToStrGeneral(NAN, us), "NAN");
}

TEST(FloatToStrGeneral, UsesTheSettingsSeparatorAndReadsBack) {
  const FormatSettings comma = CommaSettings();
  EXPECT_EQ(FloatToStrGeneral(1.5L, comma), "1,5");
  EXPECT_EQ(FloatToStrGeneral(1.5e-9L, comma), "1,5E-9");
  for (long double v : {1.5L, 38.1L, 1e-30L, 6.02214076e23L, -0.001L}) {
    long double back = 0;
    ASSERT_TRUE(TryTextToFloat(FloatToStrGeneral(v, comma), back, comma));
    EXPECT_EQ(FloatToStrGeneral(back, comma), FloatToStrGeneral(v, comma));
  }
}

// ---- fixed and currency ----

TEST(FormatFixed, RoundsHalfAwayFromZeroOnEighteenDigits) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FormatFixed(2.5L, 2, us), "2.50");
  EXPECT_EQ(FormatFixed(7.5L / 3, 2, us), "2.50");
  EXPECT_EQ(FormatFixed(0.125L, 2, us), "0.13");
  EXPECT_EQ(FormatFixed(-0.125L, 2, us), "-0.13");
  EXPECT_EQ(FormatFixed(10.005L, 2, us), "10.01") << "the 18-digit form ends in 5";
  EXPECT_EQ(FormatFixed(static_cast<long double>(2.675), 2, us), "2.67") << "the double is below 2.675";
  EXPECT_EQ(FormatFixed(0.004L, 2, us), "0.00");
  EXPECT_EQ(FormatFixed(-0.004L, 2, us), "0.00") << "zero is never negative";
  EXPECT_EQ(FormatFixed(0.005L, 2, us), "0.01");
  EXPECT_EQ(FormatFixed(999.995L, 2, us), "1000.00");
  EXPECT_EQ(FormatFixed(1234567.891L, 2, us), "1234567.89") << "no grouping";
  EXPECT_EQ(FormatFixed(3.7L, 0, us), "4");
  EXPECT_EQ(FormatFixed(0.4L, 0, us), "0");
  EXPECT_EQ(FormatFixed(1e20L, 2, us), "1E20") << "beyond 18 integer digits";
  EXPECT_EQ(FormatFixed(1.5L, 2, CommaSettings()), "1,50");
}

TEST(FloatToStrFixed, PrecisionLimitsTheDigitsFirst) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FloatToStrFixed(7.5L / 7, 8, 2, us), "1.07");
  EXPECT_EQ(FloatToStrFixed(1.00499999L, 8, 2, us), "1.00") << "one rounding, not one per limit";
  EXPECT_EQ(FloatToStrFixed(123.456789L, 4, 2, us), "123.50");
  EXPECT_EQ(FloatToStrFixed(123456789.0L, 8, 2, us), "123456790") << "more integer digits than precision";
}

}  // namespace
