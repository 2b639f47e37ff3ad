// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Money: rounding to ten-thousandths, exact sums, overflow, and the currency text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Errors.h"
#include "Money.h"
#include "ParamNames.h"

namespace {

FormatSettings Us() {
  FormatSettings fs;
  fs.decimalSeparator = '.';
  fs.thousandSeparator = ',';
  fs.currencyString = QStringLiteral("$");
  fs.currencyFormat = 0;
  fs.negCurrFormat = 0;
  return fs;
}

struct RoundCase {
  long double scaled;
  int64_t expected;
};

class MoneyRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(MoneyRounding, RoundsToNearestWithHalvesToEven) {
  EXPECT_EQ(Money::FromScaled(GetParam().scaled).count, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Halves, MoneyRounding,
                         ::testing::Values(RoundCase{0.5L, 0}, RoundCase{1.5L, 2}, RoundCase{2.5L, 2},
                                           RoundCase{-0.5L, 0}, RoundCase{-1.5L, -2}, RoundCase{-2.5L, -2},
                                           RoundCase{2.4999L, 2}, RoundCase{2.5001L, 3}, RoundCase{100050.5L, 100050},
                                           RoundCase{100051.5L, 100052}),
                         [](const auto& p) {
                           return param_names::Join(param_names::Value(p.param.scaled), "To",
                                                    param_names::Value(p.param.expected));
                         });

TEST(Money, FromValueScalesByTenThousand) {
  EXPECT_EQ(Money::FromValue(1000.0L).count, 10000000);
  EXPECT_EQ(Money::FromValue(250.75L).count, 2507500);
  EXPECT_EQ(Money::FromValue(-0.00005L).count, 0);  // -0.5 ten-thousandths: half to even
  EXPECT_EQ(Money::FromValue(0.00015L).count, 2);
}

TEST(Money, CountBeyondSixtyFourBitsIsAnInvalidOperation) {
  EXPECT_THROW(Money::FromScaled(9.3e18L), EInvalidOp);
  EXPECT_THROW(Money::FromScaled(-9.3e18L), EInvalidOp);
  EXPECT_THROW(Money::FromScaled(std::numeric_limits<long double>::infinity()), EInvalidOp);
  EXPECT_THROW(Money::FromScaled(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(Money::FromValue(1e15L), EInvalidOp);
  // The extremes of the range still fit.
  EXPECT_EQ(Money::FromScaled(-9223372036854775808.0L).count, std::numeric_limits<int64_t>::min());
  EXPECT_EQ(Money::FromScaled(9223372036854775807.0L).count, std::numeric_limits<int64_t>::max());
  try {
    Money::FromValue(1e16L);
    FAIL() << "no error";
  } catch (const EInvalidOp& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Invalid floating point operation"));
  }
}

TEST(Money, SumsAreExactAndOverflowIsReported) {
  Money a = Money::FromCount(1);
  Money b = Money::FromCount(2);
  EXPECT_EQ((a + b).count, 3);
  EXPECT_EQ((a - b).count, -1);
  // 0.1 + 0.2 is exactly 0.3 in ten-thousandths.
  EXPECT_EQ((Money::FromValue(0.1L) + Money::FromValue(0.2L)).count, Money::FromValue(0.3L).count);
  EXPECT_THROW(Money::FromCount(std::numeric_limits<int64_t>::max()) + a, EInvalidOp);
  EXPECT_THROW(Money::FromCount(std::numeric_limits<int64_t>::min()) - a, EInvalidOp);
  EXPECT_THROW(-Money::FromCount(std::numeric_limits<int64_t>::min()), EInvalidOp);
}

struct FormatCase {
  int64_t count;
  const char* expected;
};

class MoneyFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(MoneyFormat, TwoDecimalsThirdRoundsHalfAwayFromZero) {
  EXPECT_EQ(FormatMoney(Money::FromCount(GetParam().count), Us()), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, MoneyFormat,
    ::testing::Values(FormatCase{888488, "$88.85"}, FormatCase{100050, "$10.01"}, FormatCase{50, "$0.01"},
                      FormatCase{49, "$0.00"}, FormatCase{0, "$0.00"}, FormatCase{-50, "($0.01)"},
                      FormatCase{-49, "$0.00"}, FormatCase{-888488, "($88.85)"}, FormatCase{12345, "$1.23"},
                      FormatCase{12350, "$1.24"}, FormatCase{10000000, "$1,000.00"},
                      FormatCase{12345678900000, "$1,234,567,890.00"}, FormatCase{9990000, "$999.00"},
                      FormatCase{9999950, "$1,000.00"},
                      FormatCase{std::numeric_limits<int64_t>::max(), "$922,337,203,685,477.58"},
                      FormatCase{std::numeric_limits<int64_t>::min(), "($922,337,203,685,477.58)"}),
    [](const auto& p) { return param_names::Join("Count", param_names::Value(p.param.count)); });

TEST(MoneyFormat, FollowsEveryNegativeCurrencyForm) {
  const char* forms[16] = {"($1.50)", "-$1.50",  "$-1.50",  "$1.50-",  "(1.50$)", "-1.50$",  "1.50-$",   "1.50$-",
                           "-1.50 $", "-$ 1.50", "1.50 $-", "$ 1.50-", "$ -1.50", "1.50- $", "($ 1.50)", "(1.50 $)"};
  FormatSettings fs = Us();
  for (int i = 0; i < 16; ++i) {
    fs.negCurrFormat = i;
    EXPECT_EQ(FormatMoney(Money::FromCount(-15000), fs), QString::fromLatin1(forms[i])) << "form " << i;
  }
}

TEST(MoneyFormat, FollowsPositiveFormsSeparatorsAndSymbol) {
  FormatSettings fs = Us();
  fs.currencyString = QStringLiteral("€");
  fs.decimalSeparator = ',';
  fs.thousandSeparator = '.';
  const char* forms[4] = {"€1.234,50", "1.234,50€", "€ 1.234,50", "1.234,50 €"};
  for (int i = 0; i < 4; ++i) {
    fs.currencyFormat = i;
    EXPECT_EQ(FormatMoney(Money::FromCount(12345000), fs), QString::fromUtf8(forms[i])) << "form " << i;
  }
  fs.thousandSeparator = QChar();  // no grouping at all
  fs.currencyFormat = 0;
  EXPECT_EQ(FormatMoney(Money::FromCount(12345000), fs), QString::fromUtf8("€1234,50"));
}

// Money shows as its value taken to 18 significant digits: from 10^18
// ten-thousandths on only three decimals survive, and the cent rounding works
// on those (guards against formatting the exact count everywhere).
TEST(MoneyFormat, NineteenDigitCountsRoundThroughEighteenSignificantDigits) {
  EXPECT_EQ(FormatMoney(Money::FromCount(999999999999999949), Us()), "$99,999,999,999,999.99");
  EXPECT_EQ(FormatMoney(Money::FromCount(1000000000000000049), Us()), "$100,000,000,000,000.01");
  EXPECT_EQ(FormatMoney(Money::FromCount(1234567890123456749), Us()), "$123,456,789,012,345.68");
  EXPECT_EQ(FormatMoney(Money::FromCount(-1234567890123456749), Us()), "($123,456,789,012,345.68)");
  FormatSettings fs = Us();
  fs.negCurrFormat = 8;
  fs.currencyString = QStringLiteral("kr");
  fs.thousandSeparator = QChar();
  EXPECT_EQ(FormatMoney(Money::FromCount(-1234567890123456700), fs), "-123456789012345.67 kr");
}

TEST(MoneyFormat, UnknownFormsFallBackToTheFirst) {
  FormatSettings fs = Us();
  fs.currencyFormat = 7;
  fs.negCurrFormat = 42;
  EXPECT_EQ(FormatMoney(Money::FromCount(15000), fs), "$1.50");
  EXPECT_EQ(FormatMoney(Money::FromCount(-15000), fs), "($1.50)");
}

TEST(MoneyFormat, BufferVariantGivesTheSameText) {
  QString out = QStringLiteral("something long left over from before");
  FormatMoneyTo(Money::FromCount(-888488), out, Us());
  EXPECT_EQ(out, QStringLiteral("($88.85)"));
  FormatMoneyTo(Money::FromCount(888488), out, Us());
  EXPECT_EQ(out, QStringLiteral("$88.85"));
}

}  // namespace
