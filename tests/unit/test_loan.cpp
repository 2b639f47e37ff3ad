// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The loan computation: period rate, level payment, schedule rows and totals,
// the input check and reading the inputs.
#include <gtest/gtest.h>

#include <cmath>

#include "Errors.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "ParamNames.h"

namespace {

FormatSettings Us() { return FormatSettings{}; }

LoanState StateFor(long double amount, float annual, int32_t count, PaymentFrequency f = PaymentFrequency::Monthly) {
  LoanState s;
  s.LoanAmount = Money::FromValue(amount);
  s.PeriodRate = PeriodRate(annual, f);
  s.PaymentCount = count;
  s.PaymentAmount = ComputePayment(s.LoanAmount, s.PeriodRate, count);
  return s;
}

TEST(PeriodRate, MonthlyAndWeeklyAreFormedInExtendedThenSingle) {
  EXPECT_EQ(PeriodRate(12.0f, PaymentFrequency::Monthly), 0.01f);
  EXPECT_FLOAT_EQ(PeriodRate(12.0f, PaymentFrequency::Monthly), 0.0099999998f);
  EXPECT_EQ(PeriodRate(12.0f, PaymentFrequency::Weekly), static_cast<float>(0.01L * 12.0L * (1.0L / 52.0L)));
  EXPECT_EQ(PeriodRate(6.0f, PaymentFrequency::Monthly), 0.005f);
  EXPECT_EQ(PeriodRate(0.0f, PaymentFrequency::Weekly), 0.0f);
}

TEST(WorkedExample, ThousandAtTwelvePercentOverTwelveMonths) {
  const LoanState state = StateFor(1000, 12.0f, 12);
  EXPECT_EQ(state.PaymentAmount.count, 888488);
  EXPECT_EQ(FormatMoney(state.PaymentAmount, Us()), QStringLiteral("$88.85"));

  const Schedule s = BuildSchedule(state);
  ASSERT_EQ(s.rows.size(), 12u);
  EXPECT_EQ(s.rows[0].interest.count, 100050);
  EXPECT_EQ(s.rows[0].principal.count, 788438);
  EXPECT_EQ(s.rows[0].balance.count, 9211562);
  EXPECT_EQ(s.rows[10].interest.count, 17562);
  EXPECT_EQ(s.rows[10].principal.count, 870926);
  EXPECT_EQ(s.rows[10].balance.count, 880269);
  EXPECT_EQ(s.rows[11].payment.count, 880269);
  EXPECT_EQ(s.rows[11].principal.count, 880269);
  EXPECT_EQ(s.rows[11].interest.count, 0);
  EXPECT_EQ(s.totalInterest.count, 653637);
  EXPECT_EQ(s.totalPrincipal.count, 10000000);
  EXPECT_EQ(s.totalPaid.count, 10653637);

  EXPECT_EQ(ScheduleText::Cell(s, 0, 0, Us()), QStringLiteral(" 1"));
  EXPECT_EQ(ScheduleText::Cell(s, 0, 1, Us()), QStringLiteral("$88.85"));
  EXPECT_EQ(ScheduleText::Cell(s, 0, 3, Us()), QStringLiteral("$10.01"));
  EXPECT_EQ(ScheduleText::Cell(s, 0, 4, Us()), QStringLiteral("$921.16"));
  EXPECT_EQ(ScheduleText::Cell(s, 11, 0, Us()), QStringLiteral(" 12"));
  EXPECT_EQ(ScheduleText::Cell(s, 11, 1, Us()), QStringLiteral("$88.03"));
  EXPECT_EQ(ScheduleText::Cell(s, 11, 3, Us()), QStringLiteral("$0.00"));
  EXPECT_EQ(ScheduleText::Cell(s, 11, 4, Us()), QStringLiteral(" $0.00"));
}

TEST(WorkedExample, LastBalanceIsFixedTextWhateverTheRegion) {
  FormatSettings euro;
  euro.currencyString = QStringLiteral("€");
  euro.currencyFormat = 3;
  euro.decimalSeparator = ',';
  const Schedule s = BuildSchedule(StateFor(1000, 12.0f, 12));
  EXPECT_EQ(ScheduleText::Cell(s, 11, 4, euro), QStringLiteral(" $0.00"));
  EXPECT_EQ(ScheduleText::Cell(s, 0, 4, euro), QStringLiteral("921,16 €"));
}

TEST(Schedule, WeeklyUsesFiftyTwoPeriodsAYear) {
  const LoanState state = StateFor(1000, 12.0f, 12, PaymentFrequency::Weekly);
  const long double r = static_cast<float>(0.01L * 12.0L / 52.0L);
  const long double c = std::pow(1.0L + r, 12.0L);
  EXPECT_EQ(state.PaymentAmount.count, std::llrint(1000.0L * r * c / (c - 1.0L) * 10000.0L));
  const Schedule s = BuildSchedule(state);
  EXPECT_EQ(s.rows[0].interest.count, std::llrint(10000000.0L * r + 50.0L));
}

TEST(Schedule, OnePaymentIsTheWholeAmountWithoutInterest) {
  const LoanState state = StateFor(1000, 12.0f, 1);
  EXPECT_EQ(state.PaymentAmount.count, 10100000);  // amount x (1 + rate)
  const Schedule s = BuildSchedule(state);
  ASSERT_EQ(s.rows.size(), 1u);
  EXPECT_EQ(s.rows[0].payment.count, 10000000);
  EXPECT_EQ(s.rows[0].principal.count, 10000000);
  EXPECT_EQ(s.rows[0].interest.count, 0);
  EXPECT_EQ(s.totalInterest.count, 0);
  EXPECT_EQ(s.totalPaid.count, 10000000);
}

TEST(Schedule, ZeroRateStillChargesHalfACentPerRow) {
  const LoanState state = StateFor(1000, 0.0f, 3);
  EXPECT_EQ(state.PaymentAmount.count, 3333333);
  const Schedule s = BuildSchedule(state);
  EXPECT_EQ(s.rows[0].interest.count, 50);
  EXPECT_EQ(ScheduleText::Cell(s, 0, 3, Us()), QStringLiteral("$0.01"));
  EXPECT_EQ(s.rows[1].interest.count, 50);
  EXPECT_EQ(s.rows[2].interest.count, 0);
  EXPECT_EQ(s.totalInterest.count, 100);
}

TEST(Schedule, NegativeAmountGivesNegativeRowsInTheNegativeForm) {
  const Schedule s = BuildSchedule(StateFor(-1000, 12.0f, 12));
  EXPECT_EQ(s.paymentAmount.count, -888488);
  EXPECT_EQ(ScheduleText::Cell(s, 0, 1, Us()), QStringLiteral("($88.85)"));
  EXPECT_EQ(s.totalPrincipal.count, -10000000);
}

TEST(Schedule, EmptyForZeroCountAndRefusedBeyondTheLimit) {
  LoanState state;
  EXPECT_TRUE(BuildSchedule(state).rows.empty());
  state.PaymentCount = kMaxPaymentCount + 1;
  EXPECT_THROW(BuildSchedule(state), EArgumentError);
}

struct InvariantCase {
  long double amount;
  float annual;
  int32_t count;
  PaymentFrequency frequency;
};

class ScheduleInvariants : public ::testing::TestWithParam<InvariantCase> {};

TEST_P(ScheduleInvariants, PrincipalIsTheAmountAndTotalIsPrincipalPlusInterest) {
  const InvariantCase& c = GetParam();
  const LoanState state = StateFor(c.amount, c.annual, c.count, c.frequency);
  const Schedule s = BuildSchedule(state);
  ASSERT_EQ(int(s.rows.size()), c.count);
  EXPECT_EQ(s.totalPrincipal, state.LoanAmount);
  EXPECT_EQ(s.totalPaid, s.totalPrincipal + s.totalInterest);
  EXPECT_EQ(s.rows.back().balance.count, 0);
  Money balance = state.LoanAmount;
  for (const ScheduleRow& row : s.rows) {
    EXPECT_EQ(row.payment, row.principal + row.interest);
    balance -= row.principal;
    EXPECT_EQ(row.balance, balance);
  }
}

INSTANTIATE_TEST_SUITE_P(Loans, ScheduleInvariants,
                         ::testing::Values(InvariantCase{1000, 12, 12, PaymentFrequency::Monthly},
                                           InvariantCase{250000, 6.5f, 360, PaymentFrequency::Monthly},
                                           InvariantCase{5000, 3.2f, 156, PaymentFrequency::Weekly},
                                           InvariantCase{100, 0.0001f, 50,
                                                         PaymentFrequency::Monthly},  // the small-rate branch
                                           InvariantCase{100, -5, 20, PaymentFrequency::Monthly},
                                           InvariantCase{0, 12, 10, PaymentFrequency::Monthly}),
                         [](const auto& p) {
                           const InvariantCase& c = p.param;
                           return param_names::Join(param_names::Value(c.amount), "At", param_names::Value(c.annual),
                                                    "Percent", param_names::Value(c.count),
                                                    c.frequency == PaymentFrequency::Weekly ? "Weekly" : "Monthly");
                         });

TEST(AnnuityPayment, MatchesTheClosedFormInEveryRegime) {
  // |r| >= 6.1E-5: integer power by squaring.
  const long double r = 0.01L;
  const long double c = std::pow(1.01L, 12.0L);
  EXPECT_NEAR(AnnuityPayment(r, 12, -1000, 0, 0), 1000 * r * c / (c - 1), 1e-12);
  // Below 6.1E-5 the compound factor comes from log1p and the annuity factor
  // from its first-order expansion n(1 + (n - 1)r/2).
  for (long double small : {6.0E-5L, -6.0E-5L, 1e-9L}) {
    const long double cc = std::exp(360.0L * std::log1p(small));
    const long double a = 360.0L * (1.0L + 359.0L * small * 0.5L);
    EXPECT_EQ(AnnuityPayment(small, 360, -1000, 0, 0), 1000 * cc / a) << double(small);
    // For a short term the expansion is within half a ten-thousandth of the exact payment.
    const long double c12 = std::pow(1.0L + small, 12.0L);
    EXPECT_NEAR(AnnuityPayment(small, 12, -1000, 0, 0), 1000 * small * c12 / (c12 - 1), 5e-5) << double(small);
  }
  // At 6.1E-5 itself the exact power is used.
  const long double cb = std::pow(1.0L + 6.1E-5L, 360.0L);
  EXPECT_NEAR(AnnuityPayment(6.1E-5L, 360, -1000, 0, 0), 1000 * 6.1E-5L * cb / (cb - 1), 1e-12);
  // Zero rate: the amount divided by the count.
  EXPECT_EQ(AnnuityPayment(0, 4, -1000, 0, 0), 250.0L);
  // Payment at the start of each period divides by (1 + r) once more.
  EXPECT_NEAR(AnnuityPayment(r, 12, -1000, 0, 1), 1000 * r * c / (c - 1) / 1.01L, 1e-12);
  // A negative count uses the reciprocal power.
  const long double ci = 1.0L / c;
  EXPECT_NEAR(AnnuityPayment(r, -12, -1000, 0, 0), 1000 * ci / ((ci - 1) / r), 1e-12);
}

TEST(AnnuityPayment, HugeCompoundFactorUsesTheInterestOnlyBranch) {
  // (1 + 1)^60 > 1E16: the payment is the interest, PV x r.
  EXPECT_EQ(AnnuityPayment(1.0L, 60, -1000, 0, 0), 1000.0L);
  EXPECT_EQ(AnnuityPayment(1.0L, 60, -1000, 0, 1), 500.0L);
}

// A compound factor beyond the extended range is a floating-point overflow,
// not an infinity carried into the interest-only branch.
TEST(AnnuityPayment, CompoundFactorBeyondTheExtendedRangeOverflows) {
  for (int32_t n : {20000, 1000000}) {
    try {
      AnnuityPayment(1.0L, n, -1000, 0, 0);
      FAIL() << "no error for " << n;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Floating point overflow"));
    }
  }
  // 2^16383 still fits.
  EXPECT_EQ(AnnuityPayment(1.0L, 16383, -1000, 0, 0), 1000.0L);
  // A power that underflows to zero cannot be inverted.
  EXPECT_THROW(AnnuityPayment(-0.5L, -20000, -1000, 0, 0), EZeroDivide);
  // A factor that underflows does so quietly: (1000 x 0) / 2.
  EXPECT_EQ(AnnuityPayment(-0.5L, 20000, -1000, 0, 0), 0.0L);
}

TEST(AnnuityPayment, Failures) {
  try {
    AnnuityPayment(-1.0L, 12, -1000, 0, 0);
    FAIL() << "no error";
  } catch (const EArgumentError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Payment"));
  }
  EXPECT_THROW(AnnuityPayment(-2.0L, 12, -1000, 0, 0), EArgumentError);
  EXPECT_THROW(AnnuityPayment(0.01L, 0, -1000, 0, 0), EZeroDivide);
  EXPECT_THROW(AnnuityPayment(0.0L, 0, -1000, 0, 0), EZeroDivide);
  EXPECT_THROW(AnnuityPayment(1e-6L, 0, -1000, 0, 0), EZeroDivide);
  EXPECT_THROW(AnnuityPayment(0.01L, 0, 0, 0, 0), EInvalidOp);
  EXPECT_THROW(AnnuityPayment(0.0L, 0, 0, 0, 0), EInvalidOp);
}

// ---- Inputs ----

struct CheckCase {
  const char* amount;
  const char* interest;
  const char* payments;
  int failing;  // -1 none, else LoanField
};

class InputCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(InputCheck, FirstFailingBoxInOrder) {
  const CheckCase& c = GetParam();
  LoanInputTexts t{QString::fromUtf8(c.amount), QString::fromUtf8(c.interest), QString::fromUtf8(c.payments)};
  const std::optional<LoanField> failing = CheckInputs(t, Us());
  if (c.failing < 0)
    EXPECT_FALSE(failing.has_value());
  else {
    ASSERT_TRUE(failing.has_value());
    EXPECT_EQ(int(*failing), c.failing);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, InputCheck,
                         ::testing::Values(CheckCase{"", "12", "12", 0}, CheckCase{"   ", "12", "12", 0},
                                           CheckCase{"-", "12", "12", 0}, CheckCase{"1,000", "12", "12", 0},
                                           CheckCase{"$100", "12", "12", 0}, CheckCase{"abc", "x", "12", 0},
                                           CheckCase{"1000", "", "12", 1}, CheckCase{"1000", "12%", "12", 1},
                                           CheckCase{"1000", "12", "", 2}, CheckCase{"1000", "12", "twelve", 2},
                                           CheckCase{".", "12", "12", -1}, CheckCase{" 250.75 ", "12", "12", -1},
                                           CheckCase{"2.5E3", "12", "12", -1}, CheckCase{"-1000", "-5", "-3", -1},
                                           CheckCase{"0", "0", "0", -1}, CheckCase{"1000", "12", "12.5", -1}),
                         [](const auto& p) {
                           return param_names::Join(param_names::Words(p.param.amount),
                                                    param_names::Words(p.param.interest),
                                                    param_names::Words(p.param.payments));
                         });

TEST(InputCheck, MessagesHaveThreeBlanksAroundThem) {
  EXPECT_EQ(InputErrorMessage(LoanField::Amount), QStringLiteral("   Invalid loan amount. Please try again.   "));
  EXPECT_EQ(InputErrorMessage(LoanField::Interest), QStringLiteral("   Invalid interest amount. Please try again.   "));
  EXPECT_EQ(InputErrorMessage(LoanField::Payments), QStringLiteral("   Invalid payments entry. Please try again.   "));
  EXPECT_EQ(IsInvalidNumber(QStringLiteral("1e5"), Us()), 0);
  EXPECT_EQ(IsInvalidNumber(QStringLiteral("1e99999"), Us()), 1);  // beyond the extended range
}

TEST(ReadInputs, ReadsTheNumbersTheCheckAccepted) {
  LoanState state;
  ReadInputsAndComputePayment({QStringLiteral(" 250.75 "), QStringLiteral("12"), QStringLiteral("12")}, state, Us());
  EXPECT_EQ(state.LoanAmount.count, 2507500);
  ReadInputsAndComputePayment({QStringLiteral("2.5E3"), QStringLiteral("12"), QStringLiteral(" 12")}, state, Us());
  EXPECT_EQ(state.LoanAmount.count, 25000000);
  EXPECT_EQ(state.PaymentCount, 12);
  ReadInputsAndComputePayment({QStringLiteral("."), QStringLiteral("12"), QStringLiteral("3")}, state, Us());
  EXPECT_EQ(state.LoanAmount.count, 0);
  EXPECT_EQ(state.PaymentAmount.count, 0);
}

TEST(ReadInputs, NonWholeCountFailsAfterAmountAndRateWereStored) {
  LoanState state = StateFor(1, 1, 1);
  const Money oldPayment = state.PaymentAmount;
  for (const char* text : {"12.5", "1e2", "12 ", "99999999999"}) {
    try {
      ReadInputsAndComputePayment({QStringLiteral("500"), QStringLiteral("24"), QString::fromLatin1(text)}, state,
                                  Us());
      FAIL() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(text)));
    }
    EXPECT_EQ(state.LoanAmount.count, 5000000);
    EXPECT_EQ(state.PeriodRate, 0.02f);
    EXPECT_EQ(state.PaymentCount, 1);
    EXPECT_EQ(state.PaymentAmount, oldPayment);
  }
}

TEST(ReadInputs, ZeroCountDividesByZeroWithTheCountStored) {
  LoanState state = StateFor(1, 1, 5);
  try {
    ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("0")}, state, Us());
    FAIL();
  } catch (const EZeroDivide& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Floating point division by zero"));
  }
  EXPECT_EQ(state.PaymentCount, 0);
  EXPECT_THROW(
      ReadInputsAndComputePayment({QStringLiteral("0"), QStringLiteral("12"), QStringLiteral("0")}, state, Us()),
      EInvalidOp);
  EXPECT_THROW(
      ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("-1200"), QStringLiteral("5")}, state, Us()),
      EArgumentError);
}

TEST(ReadInputs, AmountTooLargeForMoneyIsAnInvalidOperation) {
  LoanState state;
  EXPECT_THROW(
      ReadInputsAndComputePayment({QStringLiteral("1e15"), QStringLiteral("12"), QStringLiteral("12")}, state, Us()),
      EInvalidOp);
}

TEST(ReadInputs, RateBeyondSinglePrecisionOverflows) {
  LoanState state;
  try {
    ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("1e39"), QStringLiteral("12")}, state, Us());
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Floating point overflow"));
  }
}

TEST(ReadInputs, NegativeAndTooLargeCountsAreRefusedWithoutStoringTheCount) {
  LoanState state = StateFor(1, 1, 7);
  const Money oldPayment = state.PaymentAmount;
  try {
    ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("-3")}, state, Us());
    FAIL();
  } catch (const EArgumentError& e) {
    EXPECT_EQ(e.Message(), NegativeCountMessage());
  }
  EXPECT_EQ(state.PaymentCount, 7);
  EXPECT_EQ(state.PaymentAmount, oldPayment);
  EXPECT_THROW(ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("1000001")},
                                           state, Us()),
               EArgumentError);
  EXPECT_EQ(state.PaymentCount, 7);
  ReadInputsAndComputePayment({QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("1000000")}, state, Us());
  EXPECT_EQ(state.PaymentCount, 1000000);
}

TEST(ReadInputs, ExtremeRateOverflowsMoneyInsteadOfProducingGarbage) {
  LoanState state;
  state.LoanAmount = Money::FromValue(900000000000000.0L);
  state.PeriodRate = 1e30f;
  state.PaymentCount = 3;
  EXPECT_THROW(ComputePayment(state.LoanAmount, state.PeriodRate, 3), EInvalidOp);
  state.PaymentAmount = Money::FromCount(1);
  EXPECT_THROW(BuildSchedule(state), EInvalidOp);
}

}  // namespace
