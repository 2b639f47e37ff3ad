// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Loan.h"

#include <cmath>
#include <cstdlib>

#include "Errors.h"

float PeriodRate(float annualRatePercent, PaymentFrequency frequency) {
  const long double perYear = frequency == PaymentFrequency::Weekly ? 1.0L / 52.0L : 1.0L / 12.0L;
  return static_cast<float>(0.01L * static_cast<long double>(annualRatePercent) * perYear);
}

namespace {
[[noreturn]] void ThrowOverflow() { throw Exception(QStringLiteral("Floating point overflow")); }

// (1 + r)^n by repeated squaring; a negative n gives the reciprocal.
long double IntPower(long double base, int32_t n) {
  uint64_t e = n < 0 ? uint64_t(-int64_t(n)) : uint64_t(n);
  long double result = 1.0L;
  long double square = base;
  while (e != 0) {
    if (e & 1u) result *= square;
    e >>= 1;
    if (e != 0) square *= square;
  }
  if (n >= 0) return result;
  if (result == 0.0L) throw EZeroDivide();  // the power underflowed to zero
  return 1.0L / result;
}
}  // namespace

long double AnnuityPayment(long double rate, int32_t periods, long double presentValue, long double futureValue,
                           int timing) {
  if (rate <= -1.0L) throw EArgumentError(QStringLiteral("Payment"));
  const long double n = periods;
  long double compound;
  long double annuity;
  if (rate == 0.0L) {
    compound = 1.0L;
    annuity = n;
  } else if (std::fabs(rate) < 6.1E-5L) {
    compound = std::exp(n * std::log1p(rate));
    annuity = n * (1.0L + (n - 1.0L) * rate * 0.5L);
  } else {
    compound = IntPower(1.0L + rate, periods);
    annuity = (compound - 1.0L) / rate;
  }
  if (timing == 1) annuity *= 1.0L + rate;
  // The extended range is exceeded only by absurd rates or counts; the
  // floating-point unit reports that as an overflow rather than going on.
  if (!std::isfinite(compound) || !std::isfinite(annuity)) ThrowOverflow();
  if (compound > 1E16L) return -presentValue * rate / (1.0L + timing * rate);
  const long double numerator = -presentValue * compound - futureValue;
  if (annuity == 0.0L) {
    // What the FPU would report for x / 0: 0/0 is invalid, anything else divides by zero.
    if (numerator == 0.0L || std::isnan(numerator)) throw EInvalidOp();
    throw EZeroDivide();
  }
  return numerator / annuity;
}

Money ComputePayment(Money loanAmount, float periodRate, int32_t paymentCount) {
  const long double payment = AnnuityPayment(periodRate, paymentCount, -loanAmount.Value(), 0.0L, 0);
  return Money::FromScaled(payment * 10000.0L);
}

Schedule BuildSchedule(const LoanState& state) {
  Schedule s;
  s.paymentAmount = state.PaymentAmount;
  const int32_t n = state.PaymentCount;
  if (n <= 0) return s;
  if (n > kMaxPaymentCount) throw EArgumentError(QStringLiteral("Too many payments"));
  // Reserved, not resized: each row is written once, not zeroed first.
  s.rows.reserve(size_t(n));
  Money balance = state.LoanAmount;
  Money totalPaid, totalPrincipal, totalInterest;
  const Money payment = state.PaymentAmount;
  for (int32_t i = 0; i < n - 1; ++i) {
    const ScheduleRow row = LevelRow(balance, payment, state.PeriodRate);
    balance = row.balance;
    s.rows.push_back(row);
    totalPaid += row.payment;
    totalPrincipal += row.principal;
    totalInterest += row.interest;
  }
  s.rows.push_back(LastLevelRow(balance));
  totalPaid += balance;
  totalPrincipal += balance;
  s.totalPaid = totalPaid;
  s.totalPrincipal = totalPrincipal;
  s.totalInterest = totalInterest;
  return s;
}

namespace ScheduleText {
const QString kHeadings[5] = {QStringLiteral("   #"), QStringLiteral("      Payment"),
                              QStringLiteral("      Principal"), QStringLiteral("      Interest"),
                              QStringLiteral("      Balance")};
const QString kLastBalance = QStringLiteral(" $0.00");

QString RowNumber(int row) { return u' ' + QString::number(row); }

QString Cell(const Schedule& s, int i, int column, const FormatSettings& fs) {
  const ScheduleRow& r = s.rows[size_t(i)];
  switch (column) {
    case 0: return RowNumber(i + 1);
    case 1: return FormatMoney(r.payment, fs);
    case 2: return FormatMoney(r.principal, fs);
    case 3: return FormatMoney(r.interest, fs);
    default:
      if (i + 1 == int(s.rows.size())) return kLastBalance;
      return FormatMoney(r.balance, fs);
  }
}
}  // namespace ScheduleText
