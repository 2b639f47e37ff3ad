// Regional settings and the text/number/date conversions.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "Conversions.h"
#include "Errors.h"

namespace {

FormatSettings UsSettings() { return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

FormatSettings CommaSettings() {
  FormatSettings fs;
  fs.decimalSeparator = u',';
  fs.thousandSeparator = u'.';
  return fs;
}

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

FormatSettings Money(QChar decimal, QChar group, const QString& symbol, int positive, int negative) {
  FormatSettings fs;
  fs.decimalSeparator = decimal;
  fs.thousandSeparator = group;
  fs.currencyString = symbol;
  fs.currencyFormat = positive;
  fs.negCurrFormat = negative;
  return fs;
}

TEST(FormatCurrency, RegionalDecorations) {
  struct Case {
    const char* locale;
    FormatSettings fs;
    QString positive, negative;
  };
  const Case cases[] = {
      {"en_US", Money(u'.', u',', "$", 0, 0), "$1,234,567.89", "($1,234,567.89)"},
      {"de_DE", Money(u',', u'.', QString::fromUtf16(u"\u20ac"), 3, 8), QString::fromUtf16(u"1.234.567,89 \u20ac"),
       QString::fromUtf16(u"-1.234.567,89 \u20ac")},
      {"fr_FR", Money(u',', QChar(0x202f), QString::fromUtf16(u"\u20ac"), 3, 8),
       QString::fromUtf16(u"1\u202f234\u202f567,89 \u20ac"), QString::fromUtf16(u"-1\u202f234\u202f567,89 \u20ac")},
      {"ja_JP", Money(u'.', u',', QString::fromUtf16(u"\u00a5"), 0, 1), QString::fromUtf16(u"\u00a51,234,567.89"),
       QString::fromUtf16(u"-\u00a51,234,567.89")},
      {"en_GB", Money(u'.', u',', QString::fromUtf16(u"\u00a3"), 0, 1), QString::fromUtf16(u"\u00a31,234,567.89"),
       QString::fromUtf16(u"-\u00a31,234,567.89")},
      {"nl_NL", Money(u',', u'.', QString::fromUtf16(u"\u20ac"), 2, 12), QString::fromUtf16(u"\u20ac 1.234.567,89"),
       QString::fromUtf16(u"\u20ac -1.234.567,89")},
      {"da_DK", Money(u',', u'.', "kr.", 2, 12), "kr. 1.234.567,89", "kr. -1.234.567,89"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(FormatCurrency(1234567.885L, 2, c.fs), c.positive);
    EXPECT_EQ(FormatCurrency(-1234567.885L, 2, c.fs), c.negative);
  }
}

TEST(FormatCurrency, SmallAndZeroAmounts) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FormatCurrency(88.8488L, 2, us), "$88.85");
  EXPECT_EQ(FormatCurrency(10.005L, 2, us), "$10.01");
  EXPECT_EQ(FormatCurrency(0, 2, us), "$0.00");
  EXPECT_EQ(FormatCurrency(-0.001L, 2, us), "$0.00") << "a negative amount that rounds to zero";
  EXPECT_EQ(FormatCurrency(-0.005L, 2, us), "($0.01)");
  EXPECT_EQ(FormatCurrency(999.5L, 0, us), "$1,000");
  EXPECT_EQ(FormatCurrency(100, 2, us), "$100.00");
  EXPECT_EQ(FormatCurrency(1000, 2, us), "$1,000.00");
  EXPECT_EQ(FormatCurrency(100000, 2, us), "$100,000.00");
}

TEST(ApplyCurrencyFormat, AllSixteenNegativeForms) {
  const char* const expected[] = {"(\xa4" "1,234.50)", "-\xa4" "1,234.50",  "\xa4-1,234.50",  "\xa4" "1,234.50-",
                                  "(1,234.50\xa4)",     "-1,234.50\xa4",      "1,234.50-\xa4",  "1,234.50\xa4-",
                                  "-1,234.50 \xa4",     "-\xa4 1,234.50",     "1,234.50 \xa4-", "\xa4 1,234.50-",
                                  "\xa4 -1,234.50",     "1,234.50- \xa4",     "(\xa4 1,234.50)", "(1,234.50 \xa4)"};
  FormatSettings fs = Money(u'.', u',', "EUR", 0, 0);
  for (int form = 0; form < 16; ++form) {
    fs.negCurrFormat = form;
    const QString want = QString::fromLatin1(expected[form]).replace(QChar(0xa4), "EUR");
    EXPECT_EQ(ApplyCurrencyFormat(true, "1234", "50", fs), want) << "form " << form;
    EXPECT_EQ(ApplyCurrencyFormat(false, "1234", "50", fs), "EUR1,234.50") << "positive ignores the negative form";
  }
}

TEST(ApplyCurrencyFormat, PositiveFormsAndDigitHandling) {
  FormatSettings fs = Money(u',', u'.', "kr", 0, 0);
  const char* const expected[] = {"kr1.234,50", "1.234,50kr", "kr 1.234,50", "1.234,50 kr"};
  for (int form = 0; form < 4; ++form) {
    fs.currencyFormat = form;
    EXPECT_EQ(ApplyCurrencyFormat(false, "1234", "50", fs), expected[form]) << "form " << form;
  }
  fs.currencyFormat = 0;
  EXPECT_EQ(ApplyCurrencyFormat(false, "", "00", fs), "kr0,00");
  EXPECT_EQ(ApplyCurrencyFormat(false, "000", "", fs), "kr0");
  EXPECT_EQ(ApplyCurrencyFormat(false, "00123", "4", fs), "kr123,4");
  EXPECT_EQ(ApplyCurrencyFormat(false, "922337203685477", "5807", fs), "kr922.337.203.685.477,5807");
  fs.thousandSeparator = QChar();
  EXPECT_EQ(ApplyCurrencyFormat(false, "1234567", "89", fs), "kr1234567,89");
  fs.negCurrFormat = 99;
  EXPECT_EQ(ApplyCurrencyFormat(true, "1", "", fs), "(kr1)") << "an unknown form falls back to 0";
}

// ---- settings from a locale ----

TEST(FromLocale, UnitedStates) {
  const FormatSettings fs = UsSettings();
  EXPECT_EQ(fs.decimalSeparator, u'.');
  EXPECT_EQ(fs.thousandSeparator, u',');
  EXPECT_EQ(fs.currencyString, "$");
  EXPECT_EQ(fs.currencyFormat, 0);
  EXPECT_EQ(fs.negCurrFormat, 0) << "Qt writes ($1,234.50)";
  EXPECT_EQ(fs.dateSeparator, u'/');
  EXPECT_EQ(fs.shortDateFormat, "M/d/yyyy") << "two-digit years are widened";
  EXPECT_EQ(fs.longDateFormat, "dddd, MMMM d, yyyy");
  EXPECT_EQ(fs.timeSeparator, u':');
  EXPECT_EQ(fs.shortTimeFormat, "h:nn AMPM");
  EXPECT_EQ(fs.longTimeFormat, "h:nn:ss AMPM") << "the time zone is dropped";
  EXPECT_EQ(fs.timeAMString, "AM");
  EXPECT_EQ(fs.longMonthNames.value(0), "January");
  EXPECT_EQ(fs.shortDayNames.value(6), "Sun");
}

TEST(FromLocale, CurrencyFormsFollowWhatTheLocaleWrites) {
  struct Case {
    QLocale locale;
    int positive, negative;
  };
  const Case cases[] = {
      {QLocale(QLocale::German, QLocale::Germany), 3, 8},          // 1.234,50 €  -1.234,50 €
      {QLocale(QLocale::French, QLocale::France), 3, 15},          // 1 234,50 €  (1 234,50 €)
      {QLocale(QLocale::Japanese, QLocale::Japan), 0, 0},          // ￥1,235  (￥1,235)
      {QLocale(QLocale::English, QLocale::UnitedKingdom), 0, 0},   // £1,234.50  (£1,234.50)
      {QLocale(QLocale::Dutch, QLocale::Netherlands), 2, 14},      // € 1.234,50  (€ 1.234,50)
      {QLocale(QLocale::Portuguese, QLocale::Brazil), 2, 12},      // R$ 1.234,50  R$ -1.234,50
      {QLocale(QLocale::Hindi, QLocale::India), 0, 2},             // ₹1,234.50  ₹-1,234.50
      {QLocale(QLocale::Swedish, QLocale::Sweden), 3, 8},          // U+2212 minus sign
      {QLocale(QLocale::Hebrew, QLocale::Israel), 3, 8},           // bidirectional marks ignored
      {QLocale(QLocale::Arabic, QLocale::Egypt), 3, 8},            // other digits and marks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale.name().toStdString());
    const FormatSettings fs = FormatSettings::FromLocale(c.locale);
    EXPECT_EQ(fs.currencyFormat, c.positive);
    EXPECT_EQ(fs.negCurrFormat, c.negative);
  }
}

TEST(FromLocale, SeparatorsAndDateOrders) {
  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.decimalSeparator, u',');
  EXPECT_EQ(de.thousandSeparator, u'.');
  EXPECT_EQ(de.currencyString, QString::fromUtf16(u"\u20ac"));
  EXPECT_EQ(de.dateSeparator, u'.');
  EXPECT_EQ(de.shortDateFormat, "dd/MM/yyyy");
  EXPECT_EQ(de.shortTimeFormat, "hh:nn");

  const FormatSettings ja = FormatSettings::FromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
  EXPECT_EQ(ja.shortDateFormat, "yyyy/MM/dd");
  const QDateTime moment(QDate(2025, 1, 31), QTime(14, 5, 9));
  EXPECT_EQ(FormatDateTime("dddddd", moment, ja), QString::fromUtf16(u"2025年1月31日金曜日"))
      << "letters of the locale's text are quoted";
  EXPECT_EQ(FormatDateTime("tt", moment, ja), QString::fromUtf16(u"14時05分09秒"));

  const FormatSettings fi = FormatSettings::FromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
  EXPECT_EQ(fi.timeSeparator, u'.');
  EXPECT_EQ(FormatDateTime("t", moment, fi), "14.05");
  QDate date;
  ASSERT_TRUE(TryStrToDate("31.1.2025", date, fi));
  EXPECT_EQ(date, QDate(2025, 1, 31));

  const FormatSettings c = FormatSettings::FromLocale(QLocale::c());
  EXPECT_EQ(c.dateSeparator, u'/') << "a short date with month names still gets a numeric form";
  ASSERT_TRUE(TryStrToDate("31/1/2025", date, c));
  EXPECT_EQ(date, QDate(2025, 1, 31));
}

TEST(FormatSettings, CurrentCanBeReplaced) {
  const FormatSettings saved = FormatSettings::Current();
  FormatSettings::SetCurrent(CommaSettings());
  EXPECT_EQ(FormatSettings::Current().decimalSeparator, u',');
  EXPECT_EQ(FloatToStrGeneral(2.5L), "2,5");
  FormatSettings::SetCurrent(FormatSettings::Current());  // self-assignment is harmless
  EXPECT_EQ(FormatSettings::Current().decimalSeparator, u',');
  FormatSettings::SetCurrent(saved);
  EXPECT_EQ(FloatToStrGeneral(2.5L), "2.5");
}

// ---- dates ----

struct DateCase {
  const char* name;
  QString text;
  QDate expected;  // invalid: rejected
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }

class ShortDateUs : public ::testing::TestWithParam<DateCase> {};

TEST_P(ShortDateUs, MonthDayYear) {
  const DateCase& c = GetParam();
  QDate date(1900, 1, 1);
  const bool accepted = TryStrToDate(c.text, date, UsSettings());
  ASSERT_EQ(accepted, c.expected.isValid()) << c.text.toStdString();
  EXPECT_EQ(date, accepted ? c.expected : QDate(1900, 1, 1));
}

const DateCase kUsDates[] = {
    {"Plain", "1/31/2025", QDate(2025, 1, 31)},
    {"PaddedDigits", "01/05/2025", QDate(2025, 1, 5)},
    {"BlanksAround", "  3/4/2024  ", QDate(2024, 3, 4)},
    {"BlanksAroundSeparators", "3 / 4 / 2024", QDate(2024, 3, 4)},
    {"LeapDay", "2/29/2024", QDate(2024, 2, 29)},
    {"LeapDayOf2000", "2/29/2000", QDate(2000, 2, 29)},
    {"TwoDigitYear", "1/31/25", QDate(2025, 1, 31)},
    {"TwoDigitYear00", "12/31/00", QDate(2000, 12, 31)},
    {"FourDigitEarlyYear", "1/1/0001", QDate(1, 1, 1)},
    {"LastDay", "12/31/9999", QDate(9999, 12, 31)},
    {"DayMonthSwapped", "31/1/2025", QDate()},
    {"February31", "2/31/2025", QDate()},
    {"LeapDayCommonYear", "2/29/2025", QDate()},
    {"LeapDayOf1900", "2/29/1900", QDate()},
    {"Month13", "13/1/2025", QDate()},
    {"Month0", "0/1/2025", QDate()},
    {"Day0", "1/0/2025", QDate()},
    {"Year0", "1/1/0000", QDate()},
    {"ThreeDigitYear", "1/1/202", QDate()},
    {"OneDigitYear", "1/1/5", QDate()},
    {"FiveDigitYear", "1/1/20250", QDate()},
    {"ThreeDigitDay", "1/031/2025", QDate()},
    {"OtherSeparator", "1-31-2025", QDate()},
    {"TwoParts", "1/31", QDate()},
    {"FourParts", "1/31/2025/1", QDate()},
    {"TrailingSeparator", "1/31/2025/", QDate()},
    {"Empty", "", QDate()},
    {"Blanks", "   ", QDate()},
    {"Words", "January 31, 2025", QDate()},
    {"Tab", "1/31/2025\t", QDate()},
    {"SignedPart", "+1/31/2025", QDate()},
    {"ArabicIndicDigits", QString::fromUtf16(u"\u0661/31/2025"), QDate()},
};

INSTANTIATE_TEST_SUITE_P(Cases, ShortDateUs, ::testing::ValuesIn(kUsDates),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ShortDate, OtherRegionalOrders) {
  FormatSettings dmy;
  dmy.dateSeparator = u'.';
  dmy.shortDateFormat = "dd/MM/yyyy";
  QDate date;
  ASSERT_TRUE(TryStrToDate("31.01.2025", date, dmy));
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("01.31.2025", date, dmy));
  EXPECT_FALSE(TryStrToDate("31/01/2025", date, dmy)) << "only the settings' separator";

  FormatSettings ymd;
  ymd.dateSeparator = u'-';
  ymd.shortDateFormat = "yyyy/MM/dd";
  ASSERT_TRUE(TryStrToDate("2025-1-31", date, ymd));
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("31-1-2025", date, ymd));

  // A quoted literal in the pattern does not count as a code.
  FormatSettings quoted = dmy;
  quoted.shortDateFormat = "'my' dd/MM/yyyy";
  ASSERT_TRUE(TryStrToDate("5.6.2025", date, quoted));
  EXPECT_EQ(date, QDate(2025, 6, 5));

  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_TRUE(TryStrToDate("29.2.2024", date, de));
  EXPECT_EQ(date, QDate(2024, 2, 29));
}

// Guards against refusing a date typed exactly as the region writes it.
TEST(ShortDate, RegionsEndingInTheSeparatorReadTheirOwnDates) {
  const QDateTime moment(QDate(2025, 1, 31), QTime(0, 0));
  for (const QLocale& locale : {QLocale(QLocale::Hungarian, QLocale::Hungary), QLocale(QLocale::Korean, QLocale::SouthKorea),
                                QLocale(QLocale::Croatian, QLocale::Croatia)}) {
    SCOPED_TRACE(locale.name().toStdString());
    const FormatSettings fs = FormatSettings::FromLocale(locale);
    const QString written = FormatDateTime("ddddd", moment, fs);
    ASSERT_TRUE(written.trimmed().endsWith(fs.dateSeparator)) << written.toStdString();
    QDate date;
    ASSERT_TRUE(TryStrToDate(written, date, fs)) << written.toStdString();
    EXPECT_EQ(date, QDate(2025, 1, 31));
  }
  const FormatSettings hu = FormatSettings::FromLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
  QDate date;
  ASSERT_TRUE(TryStrToDate("2025.1.31", date, hu)) << "the closing separator may be left out";
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("2025.1.31..", date, hu));
  EXPECT_FALSE(TryStrToDate("2025.1.31./", date, hu));
}

TEST(ShortDate, TwoDigitYearWindow) {
  EXPECT_EQ(ExpandTwoDigitYear(25, 2025), 2025);
  EXPECT_EQ(ExpandTwoDigitYear(74, 2025), 2074);
  EXPECT_EQ(ExpandTwoDigitYear(75, 2025), 1975);
  EXPECT_EQ(ExpandTwoDigitYear(99, 2025), 1999);
  EXPECT_EQ(ExpandTwoDigitYear(0, 2025), 2000);
  EXPECT_EQ(ExpandTwoDigitYear(49, 2099), 2049);
  EXPECT_EQ(ExpandTwoDigitYear(48, 2099), 2148);
  EXPECT_EQ(ExpandTwoDigitYear(50, 2099), 2050);
  EXPECT_EQ(ExpandTwoDigitYear(60, 2010), 1960);
  EXPECT_EQ(ExpandTwoDigitYear(59, 2010), 2059);
}

TEST(ShortDate, StrToDateRaises) {
  EXPECT_EQ(StrToDate("7/4/1976", UsSettings()), QDate(1976, 7, 4));
  try {
    StrToDate("2/30/2025", UsSettings());
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2/30/2025' is not a valid date");
  }
}

TEST(FormatDateTime, DueDateFormat) {
  const QDateTime moment(QDate(2025, 1, 31), QTime(0, 0));
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", moment, UsSettings()), "01/31/2025");
  FormatSettings dotted = UsSettings();
  dotted.dateSeparator = u'.';
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", moment, dotted), "01.31.2025") << "'/' is the settings' separator";
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", QDateTime(QDate(987, 3, 3), QTime(0, 0)), UsSettings()), "03/03/0987");
}

TEST(FormatDateTime, RegionalPatterns) {
  const FormatSettings us = UsSettings();
  const QDateTime afternoon(QDate(2025, 1, 31), QTime(14, 5, 9, 7));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, us), "1/31/2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, us), "Friday, January 31, 2025");
  EXPECT_EQ(FormatDateTime("t", afternoon, us), "2:05 PM");
  EXPECT_EQ(FormatDateTime("tt", afternoon, us), "2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", afternoon, us), "1/31/2025 2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", QDateTime(QDate(2025, 1, 31), QTime(0, 0)), us), "1/31/2025");
  const QDateTime midnight(QDate(2024, 12, 1), QTime(0, 30, 0));
  EXPECT_EQ(FormatDateTime("t", midnight, us), "12:30 AM");
  const QDateTime noon(QDate(2024, 12, 1), QTime(12, 0, 0));
  EXPECT_EQ(FormatDateTime("tt", noon, us), "12:00:00 PM");

  const FormatSettings gb = FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, gb), "31/01/2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, gb), "Friday, 31 January 2025");
  EXPECT_EQ(FormatDateTime("t", afternoon, gb), "14:05");
  EXPECT_EQ(FormatDateTime("tt", afternoon, gb), "14:05:09");

  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, de), "31.01.2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, de), "Freitag, 31. Januar 2025");
}

TEST(FormatDateTime, Codes) {
  const FormatSettings us = UsSettings();
  const QDateTime m(QDate(2025, 3, 4), QTime(9, 7, 5, 42));
  EXPECT_EQ(FormatDateTime("d dd ddd dddd", m, us), "4 04 Tue Tuesday");
  EXPECT_EQ(FormatDateTime("m mm mmm mmmm", m, us), "3 03 Mar March");
  EXPECT_EQ(FormatDateTime("yy yyyy", m, us), "25 2025");
  EXPECT_EQ(FormatDateTime("h:mm:ss", m, us), "9:07:05") << "m after h is minutes";
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", m, us), "09:07:05.042");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.z", m, us), "09:07:05.42");
  EXPECT_EQ(FormatDateTime("H:N am/pm", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "9:7 pm");
  EXPECT_EQ(FormatDateTime("h AM/PM", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "9 PM");
  EXPECT_EQ(FormatDateTime("h a/p", m, us), "9 a");
  EXPECT_EQ(FormatDateTime("hh", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "21") << "24-hour without am/pm";
  EXPECT_EQ(FormatDateTime("'d is' d \"m\"", m, us), "d is 4 m");
  EXPECT_EQ(FormatDateTime("'unterminated", m, us), "unterminated");
  EXPECT_EQ(FormatDateTime("", m, us), "");
  EXPECT_EQ(FormatDateTime("#!", m, us), "#!");
}

TEST(FormatDateTime, SelfReferencingRegionalFormatTerminates) {
  FormatSettings fs = UsSettings();
  fs.shortDateFormat = "ddddd";
  fs.shortTimeFormat = "t";
  const QDateTime m(QDate(2025, 3, 4), QTime(9, 7));
  EXPECT_EQ(FormatDateTime("ddddd|t", m, fs), "|");
}

}  // namespace
