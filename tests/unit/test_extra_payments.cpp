// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Extra payments: worked examples against an independent integer loop, the
// level schedule reproduced row for row without extras, the refusals, and the
// yearly totals and CSV adding up to the schedule's totals.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <ostream>

#include "Errors.h"
#include "ExtraPayments.h"
#include "ParamNames.h"
#include "ScheduleCsv.h"

namespace {

LoanState StateFor(long double amount, float annual, int32_t count, PaymentFrequency f = PaymentFrequency::Monthly) {
  LoanState s;
  s.LoanAmount = Money::FromValue(amount);
  s.PeriodRate = PeriodRate(annual, f);
  s.PaymentCount = count;
  s.PaymentAmount = ComputePayment(s.LoanAmount, s.PeriodRate, count);
  return s;
}

// Wide enough for a balance times the rate's 24-bit mantissa.
__extension__ typedef __int128 Int128;

// --- The reference: the rules worked in whole ten-thousandths ---------------
// The interest balance x rate + 0.005, rounded halves to even, exactly: the
// float rate is m x 2^e, so the product is an integer shifted right.
int64_t RefInterest(int64_t balance, float rate) {
  int e = 0;
  const auto m = int64_t(std::ldexp(std::frexp(rate, &e), 24));
  const int shift = 24 - e;
  const Int128 num = Int128(balance) * m + (Int128(50) << shift);
  Int128 q = num >> shift;
  const Int128 rem = num - (q << shift), half = Int128(1) << (shift - 1);
  if (rem > half || (rem == half && (q & 1) != 0)) ++q;
  return int64_t(q);
}

// The level payment by the textbook formula, to whole ten-thousandths.
int64_t RefPayment(int64_t balance, float rate, int32_t n) {
  const long double r = rate;
  return std::llrint(balance * r / (1.0L - std::pow(1.0L + r, -static_cast<long double>(n))));
}

struct RefResult {
  int32_t payments = 0;
  int64_t interest = 0, principal = 0, extra = 0, paid = 0, lastPayment = 0;
};

RefResult Reference(const LoanState& s, int64_t recurring, int32_t from, const std::map<int32_t, int64_t>& lumps,
                    bool keepTerm) {
  RefResult r;
  const int32_t n = s.PaymentCount;
  int64_t payment = RefPayment(s.LoanAmount.count, s.PeriodRate, n), balance = s.LoanAmount.count;
  for (int32_t i = 1; i <= n && balance != 0; ++i) {
    const int64_t lump = lumps.count(i) ? lumps.at(i) : 0;
    const int64_t due = (i >= from ? recurring : 0) + lump;
    const int64_t interest = i == n ? 0 : RefInterest(balance, s.PeriodRate);
    const int64_t principal = i == n ? balance : std::min(payment - interest, balance);
    const int64_t extra = std::min(due, balance - principal);
    balance -= principal + extra;
    r.payments = i;
    r.interest += interest;
    r.principal += principal;
    r.extra += extra;
    r.lastPayment = principal + extra + interest;
    r.paid += r.lastPayment;
    if (keepTerm && lump > 0 && i < n && balance != 0) payment = RefPayment(balance, s.PeriodRate, n - i);
  }
  return r;
}

constexpr int64_t kUnit = 10000;  // ten-thousandths per currency unit

struct Example {
  const char* name;
  long double amount;
  float annual;
  int32_t count;
  PaymentFrequency frequency;
  int64_t recurring;  // currency units
  int32_t from;
  std::map<int32_t, int64_t> lumps;  // payment -> currency units
  ExtraMode mode;
};

// Failures name the case, not the bytes of its parameter.
void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

class WorkedExample : public testing::TestWithParam<Example> {};

TEST_P(WorkedExample, MatchesTheIndependentLoopAndAddsUp) {
  const Example& e = GetParam();
  const LoanState state = StateFor(e.amount, e.annual, e.count, e.frequency);
  ASSERT_EQ(state.PaymentAmount.count, RefPayment(state.LoanAmount.count, state.PeriodRate, e.count));
  ExtraPlan plan;
  plan.recurring = Money::FromCount(e.recurring * kUnit);
  plan.recurringFrom = e.from;
  std::map<int32_t, int64_t> lumps;
  for (const auto& [n, amount] : e.lumps) {
    plan.oneTime.push_back(OneTimeExtra{n, Money::FromCount(amount * kUnit)});
    lumps[n] = amount * kUnit;
  }
  plan.mode = e.mode;
  const ExtraSchedule s = BuildExtraSchedule(state, plan);
  const RefResult ref = Reference(state, e.recurring * kUnit, e.from, lumps, e.mode == ExtraMode::KeepTerm);

  EXPECT_EQ(s.PaymentCount(), ref.payments);
  EXPECT_EQ(s.totalInterest.count, ref.interest);
  EXPECT_EQ(s.totalPrincipal.count, ref.principal);
  EXPECT_EQ(s.totalExtra.count, ref.extra);
  EXPECT_EQ(s.totalPaid.count, ref.paid);
  ASSERT_FALSE(s.rows.empty());
  EXPECT_EQ(s.rows.back().payment.count, ref.lastPayment);
  EXPECT_EQ(s.rows.back().balance, Money{});
  EXPECT_EQ((s.totalPrincipal + s.totalExtra), state.LoanAmount);
  EXPECT_EQ(s.interestSaved, BuildSchedule(state).totalInterest - s.totalInterest);

  Money paid, principal, extra, interest, balance = state.LoanAmount;
  for (const ExtraRow& r : s.rows) {
    EXPECT_EQ(r.payment, r.principal + r.extra + r.interest);
    balance -= r.principal + r.extra;
    EXPECT_EQ(r.balance, balance);
    paid += r.payment, principal += r.principal, extra += r.extra, interest += r.interest;
  }
  EXPECT_EQ(paid, s.totalPaid);
  EXPECT_EQ(principal, s.totalPrincipal);
  EXPECT_EQ(extra, s.totalExtra);
  EXPECT_EQ(interest, s.totalInterest);

  // The years add up to the same totals, with 12 or 52 payments in each full one.
  const int perYear = e.frequency == PaymentFrequency::Weekly ? 52 : 12;
  const std::vector<YearTotals> years = YearlyTotals(s, e.frequency);
  EXPECT_EQ(int(years.size()), (s.PaymentCount() + perYear - 1) / perYear);
  Money yPaid, yPrincipal, yExtra, yInterest;
  for (const YearTotals& y : years) {
    if (&y != &years.back()) {
      EXPECT_EQ(y.payments, perYear);
    }
    yPaid += y.payment, yPrincipal += y.principal, yExtra += y.extra, yInterest += y.interest;
  }
  EXPECT_EQ(yPaid, s.totalPaid);
  EXPECT_EQ(yPrincipal, s.totalPrincipal);
  EXPECT_EQ(yExtra, s.totalExtra);
  EXPECT_EQ(yInterest, s.totalInterest);
}

constexpr auto kMonthly = PaymentFrequency::Monthly;
constexpr auto kKeepPayment = ExtraMode::KeepPayment;
constexpr auto kKeepTerm = ExtraMode::KeepTerm;

INSTANTIATE_TEST_SUITE_P(
    ExtraPayments, WorkedExample,
    testing::Values(
        Example{"Recurring100EndSooner", 150000, 6.5f, 360, kMonthly, 100, 1, {}, kKeepPayment},
        Example{"Recurring100KeepTerm", 150000, 6.5f, 360, kMonthly, 100, 1, {}, kKeepTerm},
        Example{"Lump10000At60EndSooner", 150000, 6.5f, 360, kMonthly, 0, 1, {{60, 10000}}, kKeepPayment},
        Example{"Lump10000At60KeepTerm", 150000, 6.5f, 360, kMonthly, 0, 1, {{60, 10000}}, kKeepTerm},
        Example{"BothEndSooner", 150000, 6.5f, 360, kMonthly, 100, 1, {{60, 10000}}, kKeepPayment},
        Example{"BothKeepTerm", 150000, 6.5f, 360, kMonthly, 100, 1, {{60, 10000}}, kKeepTerm},
        Example{"WeeklyFrom53TwoLumpsKeepTerm",
                250000,
                5.25f,
                1560,
                PaymentFrequency::Weekly,
                25,
                53,
                {{104, 5000}, {520, 20000}},
                kKeepTerm},
        Example{"LumpBeyondTheBalanceEndsTheLoan", 150000, 6.5f, 360, kMonthly, 0, 1, {{10, 1000000}}, kKeepPayment},
        Example{"ExtraAtTheLastPaymentIsNotNeeded", 1000, 12.0f, 12, kMonthly, 0, 1, {{12, 500}}, kKeepTerm}),
    [](const testing::TestParamInfo<Example>& p) { return std::string(p.param.name); });

// Without extras (none, or zero from any payment, in either mode) the rows are
// the level schedule's.
TEST(ExtraPayments, WithoutExtrasEveryRowIsTheLevelSchedules) {
  int loans = 0;
  for (long double amount : {1000.0L, 150000.0L, 0.05L, -2500.0L, 0.0L})
    for (float annual : {12.0f, 6.5f, 0.0f, 0.001f, 24.0f})
      for (int32_t count : {1, 2, 12, 360, 1561})
        for (PaymentFrequency f : {PaymentFrequency::Monthly, PaymentFrequency::Weekly})
          for (ExtraMode mode : {kKeepPayment, kKeepTerm}) {
            const LoanState state = StateFor(amount, annual, count, f);
            const Schedule level = BuildSchedule(state);
            ExtraPlan plan;
            plan.mode = mode;
            plan.recurringFrom = count;
            plan.oneTime = {{1, Money{}}};
            const ExtraSchedule s = BuildExtraSchedule(state, plan);
            SCOPED_TRACE(testing::Message() << double(amount) << " at " << annual << "% over " << count);
            ASSERT_EQ(s.rows.size(), level.rows.size());
            for (size_t i = 0; i < level.rows.size(); ++i) {
              const ScheduleRow& l = level.rows[i];
              const ExtraRow& r = s.rows[i];
              ASSERT_TRUE(r.payment == l.payment && r.principal == l.principal && r.interest == l.interest &&
                          r.balance == l.balance && r.extra == Money{})
                  << "row " << i + 1;
            }
            EXPECT_EQ(s.totalPaid, level.totalPaid);
            EXPECT_EQ(s.totalPrincipal, level.totalPrincipal);
            EXPECT_EQ(s.totalInterest, level.totalInterest);
            EXPECT_EQ(s.interestSaved, Money{});
            ++loans;
          }
  EXPECT_EQ(loans, 500);
}

struct Refusal {
  const char* name;
  ExtraPlan plan;
  long double amount;
  const char* message;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class RefusedPlan : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedPlan, NamesTheField) {
  const Refusal& r = GetParam();
  const LoanState state = StateFor(r.amount, 6.5f, 360);
  const std::optional<QString> refusal = CheckExtraPlan(r.plan, state);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->toStdString(), r.message);
  try {
    BuildExtraSchedule(state, r.plan);
    ADD_FAILURE() << "not refused";
  } catch (const EArgumentError& e) {
    EXPECT_STREQ(e.what(), r.message);
  }
}

ExtraPlan Plan(Money recurring, int32_t from, std::vector<OneTimeExtra> oneTime = {}) {
  ExtraPlan p;
  p.recurring = recurring;
  p.recurringFrom = from;
  p.oneTime = std::move(oneTime);
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    ExtraPayments, RefusedPlan,
    testing::Values(Refusal{"NegativeRecurring", Plan(Money::FromValue(-1), 1), 1000,
                            "Extra payment: the amount must not be negative."},
                    Refusal{"FromZero", Plan(Money::FromValue(1), 0), 1000,
                            "Extra payment from: 0 is not a payment number from 1 to 360."},
                    Refusal{"FromPastTheLast", Plan(Money::FromValue(1), 361), 1000,
                            "Extra payment from: 361 is not a payment number from 1 to 360."},
                    Refusal{"LumpPastTheLast", Plan(Money{}, 1, {{361, Money::FromValue(5)}}), 1000,
                            "One-time extra payment number: 361 is not a payment number from 1 to 360."},
                    Refusal{"NegativeLump", Plan(Money{}, 1, {{3, Money::FromValue(-5)}}), 1000,
                            "One-time extra payment: the amount must not be negative."},
                    Refusal{"ExtraOnANegativeLoan", Plan(Money::FromValue(5), 1), -1000,
                            "Extra payment: extra payments need a positive loan amount."}),
    [](const testing::TestParamInfo<Refusal>& p) { return std::string(p.param.name); });

struct TextCase {
  const char* text;
  const char* error;  // empty: accepted
};

void PrintTo(const TextCase& t, std::ostream* os) { *os << '"' << t.text << '"'; }

class ExtraAmountText : public testing::TestWithParam<TextCase> {};

TEST_P(ExtraAmountText, IsReadOrRefusedByName) {
  Money m;
  QString error;
  const bool ok =
      ParseExtraAmount(QString::fromUtf8(GetParam().text), ExtraField::OneTimeAmount, m, error, FormatSettings{});
  EXPECT_EQ(ok, *GetParam().error == 0);
  EXPECT_EQ(error.toStdString(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(ExtraPayments, ExtraAmountText,
                         testing::Values(TextCase{"100.5", ""}, TextCase{"0", ""},
                                         TextCase{"abc", "One-time extra payment: \"abc\" is not an amount."},
                                         TextCase{"", "One-time extra payment: \"\" is not an amount."},
                                         TextCase{"-0.01", "One-time extra payment: the amount must not be negative."},
                                         TextCase{"1e30", "One-time extra payment: the amount is too large."}),
                         [](const testing::TestParamInfo<TextCase>& p) { return param_names::Words(p.param.text); });

TEST(ExtraPayments, CalendarYearsFollowTheDueDates) {
  const LoanState state = StateFor(1000, 12.0f, 24);
  const ExtraSchedule s = BuildExtraSchedule(state, ExtraPlan{});
  // Nov 15 and Dec 15 fall in 2025, then twelve payments in 2026, ten in 2027.
  const std::vector<YearTotals> years = YearlyTotals(s, PaymentFrequency::Monthly, QDate(2025, 11, 15));
  ASSERT_EQ(years.size(), 3u);
  EXPECT_EQ(years[0].year, 2025);
  EXPECT_EQ(years[0].payments, 2);
  EXPECT_EQ(years[1].payments, 12);
  EXPECT_EQ(years[2].payments, 10);
  EXPECT_EQ(years[0].interest, s.rows[0].interest + s.rows[1].interest);
}

TEST(ExtraPayments, CsvHasTheExtraColumnAfterPrincipal) {
  const LoanState state = StateFor(1000, 12.0f, 12);
  const QByteArray csv = ExtraScheduleCsv(BuildExtraSchedule(state, Plan(Money::FromValue(100), 2)));
  const QList<QByteArray> lines = csv.split('\n');
  EXPECT_EQ(lines[0].toStdString(), "Payment,Amount,Principal,Extra,Interest,Balance\r");
  EXPECT_EQ(lines[1].toStdString(), "1,88.85,78.84,0.00,10.01,921.16\r");
  EXPECT_EQ(lines[2].toStdString(), "2,188.85,79.63,100.00,9.22,741.52\r");
}

}  // namespace
