// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The loan computation as plain C++: the periodic rate, the level payment and
// the amortization schedule. The main window and the command-line companion
// both use it, so what they show is computed once, the same way.
#include <QString>
#include <cstdint>
#include <vector>

#include "Money.h"

// Most payments a schedule may have; more would not fit in memory comfortably.
constexpr int32_t kMaxPaymentCount = 1000000;

enum class PaymentFrequency { Monthly, Weekly };

// Rate per payment period as a fraction: 0.01 x annual x (1/12 or 1/52),
// formed in extended precision and kept as single precision.
float PeriodRate(float annualRatePercent, PaymentFrequency frequency);

// Level payment of an annuity. rate per period, periods, present value, future
// value, timing 0 = end of period, 1 = start. Raises EArgumentError("Payment")
// when rate <= -1, EZeroDivide / EInvalidOp when the annuity factor is zero.
long double AnnuityPayment(long double rate, int32_t periods, long double presentValue, long double futureValue,
                           int timing);

// The periodic payment of a loan, rounded to four decimals.
Money ComputePayment(Money loanAmount, float periodRate, int32_t paymentCount);

// The calculation state: the inputs as last read and the payment.
struct LoanState {
  Money LoanAmount;
  Money PaymentAmount;
  float PeriodRate = 0.0f;
  int32_t PaymentCount = 0;
};

struct ScheduleRow {
  Money payment;
  Money principal;
  Money interest;
  Money balance;
};

// One row per payment (rows[0] is payment 1) and the totals. The last row's
// balance is always zero and shows as a fixed text.
struct Schedule {
  Money paymentAmount;
  std::vector<ScheduleRow> rows;
  Money totalPaid;
  Money totalPrincipal;
  Money totalInterest;
};

// Interest of one period on a balance: the product plus half a cent, rounded to
// four decimals, halves to even.
inline Money PeriodInterest(Money balance, float periodRate) {
  return Money::FromScaled(static_cast<long double>(balance.count) * static_cast<long double>(periodRate) + 50.0L);
}

// One regular payment on a balance: its interest, the principal it repays and
// the balance after it. Every schedule takes its rows from here and from
// LastLevelRow, so schedules with and without extra payments cannot disagree.
inline ScheduleRow LevelRow(Money balance, Money payment, float periodRate) {
  const Money interest = PeriodInterest(balance, periodRate);
  const Money principal = payment - interest;
  return ScheduleRow{payment, principal, interest, balance - principal};
}
// The last payment: whatever remains, charged no interest.
inline ScheduleRow LastLevelRow(Money balance) { return ScheduleRow{balance, balance, Money{}, Money{}}; }

// Builds the schedule from the state; PaymentCount must be 0..kMaxPaymentCount.
// An empty schedule results for a count of zero.
Schedule BuildSchedule(const LoanState& state);

// The texts the schedule table shows for a schedule, shared by the window, the
// printout and the command-line tool.
namespace ScheduleText {
extern const QString kHeadings[5];  // "   #", "      Payment", ...
extern const QString kLastBalance;  // " $0.00", whatever the regional settings
QString RowNumber(int row);         // " 1", " 2", ...
// Text of a schedule cell, column 0..4, for payment index i (0-based).
QString Cell(const Schedule& s, int i, int column, const FormatSettings& fs = FormatSettings::Current());
}  // namespace ScheduleText
