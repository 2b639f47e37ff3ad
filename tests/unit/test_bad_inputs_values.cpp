// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Bad inputs below the windows, grouped by kind, each with the outcome it must
// give: the texts of the three input boxes, payment counts and start dates (the
// page printer's inputs: test_bad_inputs_pageprinter.cpp). Nothing may crash or
// hang and every failure must say what went wrong.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "Conversions.h"
#include "DueDates.h"
#include "Errors.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "Money.h"
#include "OpenDescriptors.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "TestPrinter.h"

// Failure messages show the texts, not their code units.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.left(200).toStdString() << '"'; }

namespace {

// "%t" in an expected outcome stands for the case's text.
QString Expand(const char* pattern, const QString& text) {
  QString expected = QString::fromUtf8(pattern);
  expected.replace(QStringLiteral("%t"), text);
  return expected;
}

// What Calculate makes of three texts: the check's message, the error that
// stops the reading, or the schedule's size and payment (ten-thousandths).
QString Outcome(const LoanInputTexts& texts) {
  if (const auto failing = CheckInputs(texts)) return QStringLiteral("check: ") + InputErrorMessage(*failing);
  LoanState state;
  try {
    ReadInputsAndComputePayment(texts, state);
    const Schedule schedule = BuildSchedule(state);
    return QStringLiteral("ok: %1 rows, payment %2").arg(schedule.rows.size()).arg(schedule.paymentAmount.count);
  } catch (const Exception& error) {
    return QStringLiteral("error: ") + error.Message();
  }
}

// ---------------------------------------------------------------------------
// The three input boxes: each text goes into one box, the other two hold
// 1000, 12 and 12.

struct BoxCase {
  const char* name;
  QString text;
  const char* amount;    // outcome with the text in the amount box
  const char* interest;  // ... in the interest box
  const char* payments;  // ... in the payments box
};

constexpr const char* kBadAmount = "check:    Invalid loan amount. Please try again.   ";
constexpr const char* kBadInterest = "check:    Invalid interest amount. Please try again.   ";
constexpr const char* kBadPayments = "check:    Invalid payments entry. Please try again.   ";
constexpr const char* kNotInteger = "error: '%t' is not a valid integer value";
// Amount 0 gives a zero payment; rate 0 gives 1000 / 12.
constexpr const char* kZeroAmount = "ok: 12 rows, payment 0";
constexpr const char* kZeroRate = "ok: 12 rows, payment 833333";

BoxCase Rejected(const char* name, QString text) {
  return {name, std::move(text), kBadAmount, kBadInterest, kBadPayments};
}

const BoxCase kBoxCases[] = {
    Rejected("Empty", ""),
    Rejected("OneBlank", " "),
    Rejected("Blanks", "     "),
    Rejected("PlusAlone", "+"),
    Rejected("MinusAlone", "-"),
    Rejected("SignsTogether", "+-1"),
    {"DecimalSeparatorAlone", ".", kZeroAmount, kZeroRate, kNotInteger},
    {"SignAndSeparator", "-.", kZeroAmount, kZeroRate, kNotInteger},
    Rejected("ThousandsSeparatorAlone", ","),
    Rejected("ThousandsSeparator", "1,000"),
    Rejected("TwoDecimalSeparators", "1.2.3"),
    Rejected("CurrencySymbol", "$100"),
    Rejected("HexNumber", "0x10"),
    Rejected("BlankInside", "1 2"),
    // The largest exponent the 80-bit format holds passes the check; money and a
    // single-precision rate cannot hold it, and it is no whole number.
    {"HugeExponentInRange", "1e4932", "error: Invalid floating point operation", "error: Floating point overflow",
     kNotInteger},
    Rejected("ExponentBeyondExtendedRange", "1e4933"),
    Rejected("ExponentWithTwentyDigits", "1e99999999999999999999"),
    {"TinyExponent", "1e-5000", kZeroAmount, kZeroRate, kNotInteger},
    {"TinyExponentWithTwentyDigits", "1e-99999999999999999999", kZeroAmount, kZeroRate, kNotInteger},
    {"ZeroWithHugeExponent", "0e99999999999999999999", kZeroAmount, kZeroRate, kNotInteger},
    Rejected("ExponentWithoutDigits", "1e"),
    Rejected("ExponentSignWithoutDigits", "1e+"),
    Rejected("ExponentAlone", "e5"),
    Rejected("NanLower", "nan"),
    Rejected("NanMixed", "NaN"),
    Rejected("InfLower", "inf"),
    Rejected("InfNegative", "-INF"),
    Rejected("Infinity", "Infinity"),
    Rejected("InfinityPositive", "+Infinity"),
    Rejected("TenThousandDigits", QString(10000, u'1')),
    Rejected("TenThousandBlanks", QString(10000, u' ')),
    {"TenThousandCharsOfTinyFraction", QStringLiteral("0.") + QString(9997, u'0') + QStringLiteral("1"), kZeroAmount,
     kZeroRate, kNotInteger},
    {"DigitThenTenThousandBlanks", QStringLiteral("0") + QString(9999, u' '), kZeroAmount, kZeroRate, kNotInteger},
    Rejected("TabBefore", "\t12"),
    Rejected("TabAfter", "12\t"),
    Rejected("LineFeedInside", "1\n2"),
    Rejected("CarriageReturnLineFeed", "12\r\n"),
    Rejected("NulInside", QString::fromUtf16(u"1\u00002", 3)),
    Rejected("Delete",
             "\x7f"
             "12"),
    Rejected("ZeroWidthSpace", QString::fromUtf16(u"\u200b12")),
    Rejected("FullwidthDigits", QString::fromUtf16(u"\uff11\uff12")),
    Rejected("ArabicIndicDigits", QString::fromUtf16(u"\u0661\u0662")),
};

class InputBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(InputBoxes, EachBoxGivesItsOutcome) {
  const BoxCase& c = GetParam();
  LoanInputTexts texts{QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("12")};
  texts.amount = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.amount, c.text)) << "in the amount box";
  texts.amount = QStringLiteral("1000");
  texts.interest = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.interest, c.text)) << "in the interest box";
  texts.interest = QStringLiteral("12");
  texts.payments = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.payments, c.text)) << "in the payments box";
}

INSTANTIATE_TEST_SUITE_P(Texts, InputBoxes, ::testing::ValuesIn(kBoxCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(InputBoxes, OnlyTheFirstBadBoxIsReported) {
  const LoanInputTexts texts{QStringLiteral("nan"), QStringLiteral("inf"), QStringLiteral("")};
  EXPECT_EQ(Outcome(texts), QString::fromUtf8(kBadAmount));
}

// ---------------------------------------------------------------------------
// Payment counts, monthly. A refused count leaves the count and the payment of
// the last calculation in the state.

struct CountCase {
  const char* name;
  const char* amount;
  const char* interest;
  const char* count;
  const char* outcome;  // "%t" stands for the count's text
  bool countStored;
};

const CountCase kCountCases[] = {
    {"Zero", "1000", "12", "0", "error: Floating point division by zero", true},
    {"ZeroWithZeroAmount", "0", "12", "0", "error: Invalid floating point operation", true},
    {"MinusOne", "1000", "12", "-1", "error: The number of payments must not be negative.", false},
    {"MostNegative", "1000", "12", "-2147483648", "error: The number of payments must not be negative.", false},
    {"BelowThirtyTwoBits", "1000", "12", "-2147483649", kNotInteger, false},
    {"One", "1000", "12", "1", "ok: 1 rows, payment 10100000", true},
    {"TheLimit", "1000000", "0", "1000000", "ok: 1000000 rows, payment 10000", true},
    // At 1 % a month over a million months only the interest is paid; the half
    // cent added to every row's interest then compounds until money overflows.
    {"TheLimitAtTwelvePercent", "1000", "12", "1000000", "error: Invalid floating point operation", true},
    {"OneAboveTheLimit", "1000", "12", "1000001", "limit", false},
    {"LargestThirtyTwoBits", "1000", "12", "2147483647", "limit", false},
    {"BeyondThirtyTwoBits", "1000", "12", "2147483648", kNotInteger, false},
    {"LeadingBlanksAndSign", "1000", "12", "  +12", "ok: 12 rows, payment 888488", true},
    {"TrailingBlank", "1000", "12", "12 ", kNotInteger, false},
    {"Fraction", "1000", "12", "12.5", kNotInteger, false},
    {"WholeFraction", "1000", "12", "12.0", kNotInteger, false},
    {"Exponent", "1000", "12", "1e2", kNotInteger, false},
    {"NegativeZero", "1000", "12", "-0", "error: Floating point division by zero", true},
};

class PaymentCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(PaymentCounts, GiveTheirOutcomeAndKeepTheLastCountWhenRefused) {
  const CountCase& c = GetParam();
  const QString count = QString::fromUtf8(c.count);
  const LoanInputTexts texts{QString::fromUtf8(c.amount), QString::fromUtf8(c.interest), count};
  ASSERT_FALSE(CheckInputs(texts).has_value()) << "every count here passes the check";
  QString expected = Expand(c.outcome, count);
  if (expected == QLatin1String("limit")) {
    expected = QStringLiteral("error: ") + TooManyPaymentsMessage();
    EXPECT_TRUE(TooManyPaymentsMessage().startsWith(QStringLiteral("The number of payments must not exceed 1")));
  }
  EXPECT_EQ(Outcome(texts), expected);

  LoanState state;
  state.PaymentCount = 7;
  state.PaymentAmount = Money::FromScaled(1234);
  try {
    ReadInputsAndComputePayment(texts, state);
  } catch (const Exception&) {
  }
  if (c.countStored) {
    EXPECT_EQ(state.PaymentCount, StrToInt(count));
  } else {
    EXPECT_EQ(state.PaymentCount, 7);
    EXPECT_EQ(state.PaymentAmount.count, 1234);
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, PaymentCounts, ::testing::ValuesIn(kCountCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// Start dates in the regional short-date order.

enum class Region { UnitedStates, Britain, Germany, YearFirst };

FormatSettings Settings(Region region) {
  switch (region) {
    case Region::UnitedStates: return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    case Region::Britain: return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    case Region::Germany: return FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    case Region::YearFirst: break;
  }
  FormatSettings ymd;
  ymd.dateSeparator = u'-';
  ymd.shortDateFormat = QStringLiteral("yyyy/MM/dd");
  return ymd;
}

struct DateCase {
  const char* name;
  Region region;
  QString text;
  QDate expected;  // null: not a date
};

const DateCase kDateCases[] = {
    {"Empty", Region::UnitedStates, "", {}},
    {"Blanks", Region::UnitedStates, "   ", {}},
    {"SeparatorAlone", Region::UnitedStates, "/", {}},
    {"MonthAndDayOnly", Region::UnitedStates, "1/1", {}},
    {"MissingDay", Region::UnitedStates, "1//2025", {}},
    {"MonthThirteen", Region::UnitedStates, "13/1/2025", {}},
    {"MonthZero", Region::UnitedStates, "0/1/2025", {}},
    {"DayZero", Region::UnitedStates, "1/0/2025", {}},
    {"DayThirtyTwo", Region::UnitedStates, "1/32/2025", {}},
    {"ThirtyFirstOfApril", Region::UnitedStates, "4/31/2025", {}},
    {"TwentyNinthFebruaryCommonYear", Region::UnitedStates, "2/29/2025", {}},
    {"TwentyNinthFebruaryCentury", Region::UnitedStates, "2/29/1900", {}},
    {"TwentyNinthFebruaryLeapYear", Region::UnitedStates, "2/29/2024", QDate(2024, 2, 29)},
    {"TwentyNinthFebruaryFourHundred", Region::UnitedStates, "2/29/2000", QDate(2000, 2, 29)},
    {"YearZero", Region::UnitedStates, "1/1/0000", {}},
    {"OneDigitYear", Region::UnitedStates, "1/1/0", {}},
    {"NegativeYear", Region::UnitedStates, "1/1/-2025", {}},
    {"YearOne", Region::UnitedStates, "1/1/0001", QDate(1, 1, 1)},
    {"LastDayOfYear9999", Region::UnitedStates, "12/31/9999", QDate(9999, 12, 31)},
    {"FiveDigitYear", Region::UnitedStates, "1/1/10000", {}},
    {"HugeYear", Region::UnitedStates, "1/1/99999999999999999999", {}},
    {"TrailingText", Region::UnitedStates, "1/1/2025x", {}},
    {"TrailingLineFeed", Region::UnitedStates, "1/1/2025\n", {}},
    {"TabInside", Region::UnitedStates, "1/\t1/2025", {}},
    {"BlanksAroundNumbers", Region::UnitedStates, " 1 / 1 / 2025 ", QDate(2025, 1, 1)},
    {"FullwidthDigits", Region::UnitedStates, QString::fromUtf16(u"\uff11/\uff11/2025"), {}},
    {"TenThousandCharacters", Region::UnitedStates, QStringLiteral("1/1/") + QString(9996, u'2'), {}},
    {"IsoOrderInTheUnitedStates", Region::UnitedStates, "2025-12-31", {}},
    {"DayFirstInTheUnitedStates", Region::UnitedStates, "31/12/2025", {}},
    {"DayFirstInBritain", Region::Britain, "31/12/2025", QDate(2025, 12, 31)},
    {"MonthFirstInBritain", Region::Britain, "12/31/2025", {}},
    {"TwentyNinthFebruaryCommonYearInBritain", Region::Britain, "29/02/2025", {}},
    {"DotsInGermany", Region::Germany, "31.12.2025", QDate(2025, 12, 31)},
    {"SlashesInGermany", Region::Germany, "31/12/2025", {}},
    {"TwentyNinthFebruaryCommonYearInGermany", Region::Germany, "29.2.2025", {}},
    {"YearFirst", Region::YearFirst, "2025-12-31", QDate(2025, 12, 31)},
    {"DayFirstWhereYearComesFirst", Region::YearFirst, "31-12-2025", {}},
    {"TwentyNinthFebruaryCommonYearYearFirst", Region::YearFirst, "2025-2-29", {}},
};

class StartDates : public ::testing::TestWithParam<DateCase> {};

TEST_P(StartDates, AreReadInTheRegionalOrderOrRefused) {
  const DateCase& c = GetParam();
  const FormatSettings fs = Settings(c.region);
  QDate date;
  EXPECT_EQ(TryStrToDate(c.text, date, fs), c.expected.isValid());
  if (c.expected.isValid()) {
    EXPECT_EQ(date, c.expected);
  } else {
    try {
      StrToDate(c.text, fs);
      ADD_FAILURE() << "StrToDate accepted it";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(), QStringLiteral("'%1' is not a valid date").arg(c.text));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, StartDates, ::testing::ValuesIn(kDateCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(StartDates, DueDatesPastTheYear9999KeepCounting) {
  QDate date(9999, 12, 31);
  date = NextDueDate(date, PaymentFrequency::Monthly);
  EXPECT_EQ(FormatDueDate(date), QStringLiteral("01/31/10000"));
  date = NextDueDate(date, PaymentFrequency::Weekly);
  EXPECT_EQ(FormatDueDate(date), QStringLiteral("02/07/10000"));
  // The longest weekly schedule from a near date ends 19,230 years on.
  QDate weekly(2025, 1, 1);
  for (int i = 1; i < kMaxPaymentCount; ++i) weekly = NextDueDate(weekly, PaymentFrequency::Weekly);
  EXPECT_EQ(weekly, QDate(2025, 1, 1).addDays(7LL * (kMaxPaymentCount - 1)));
  EXPECT_EQ(FormatDueDate(weekly), weekly.toString(QStringLiteral("MM/dd/")) + QString::number(weekly.year()));
}

}  // namespace
