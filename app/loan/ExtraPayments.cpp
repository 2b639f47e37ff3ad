// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ExtraPayments.h"

#include <algorithm>
#include <cmath>

#include "DueDates.h"
#include "Errors.h"

namespace {
// Larger extras are refused: money holds about 9.2E14, and sums of several must still fit.
constexpr long double kMaxExtra = 1E13L;

QString Refusal(ExtraField field, const QString& why) { return ExtraFieldName(field) + QStringLiteral(": ") + why; }

QString OutOfRange(ExtraField field, int32_t number, int32_t count) {
  return Refusal(field, QStringLiteral("%1 is not a payment number from 1 to %2.").arg(number).arg(count));
}
}  // namespace

QString ExtraFieldName(ExtraField field) {
  switch (field) {
    case ExtraField::Recurring: return QStringLiteral("Extra payment");
    case ExtraField::RecurringFrom: return QStringLiteral("Extra payment from");
    case ExtraField::OneTimePayment: return QStringLiteral("One-time extra payment number");
    case ExtraField::OneTimeAmount: break;
  }
  return QStringLiteral("One-time extra payment");
}

bool ParseExtraAmount(const QString& text, ExtraField field, Money& amount, QString& error, const FormatSettings& fs) {
  long double value = 0;
  if (text.trimmed().isEmpty() || !TryTextToFloat(text, value, fs) || !std::isfinite(value)) {
    error = Refusal(field, QStringLiteral("\"%1\" is not an amount.").arg(text));
    return false;
  }
  if (value < 0) {
    error = Refusal(field, QStringLiteral("the amount must not be negative."));
    return false;
  }
  if (value > kMaxExtra) {
    error = Refusal(field, QStringLiteral("the amount is too large."));
    return false;
  }
  amount = Money::FromValue(value);
  return true;
}

bool ParseExtraPaymentNumber(const QString& text, ExtraField field, int32_t& number, QString& error) {
  bool ok = false;
  const QString t = text.trimmed();
  const int value = t.toInt(&ok, 10);
  // Digits only: "+5", "5.0" and "1e2" are not payment numbers.
  if (!ok || t.isEmpty() || !std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); })) {
    error = Refusal(field, QStringLiteral("\"%1\" is not a payment number.").arg(text));
    return false;
  }
  number = value;
  return true;
}

std::optional<QString> CheckExtraPlan(const ExtraPlan& plan, const LoanState& state) {
  const int32_t n = state.PaymentCount;
  if (plan.recurring.count < 0)
    return Refusal(ExtraField::Recurring, QStringLiteral("the amount must not be negative."));
  if (plan.recurringFrom < 1 || plan.recurringFrom > n)
    return OutOfRange(ExtraField::RecurringFrom, plan.recurringFrom, n);
  bool anyExtra = plan.recurring.count > 0;
  for (const OneTimeExtra& e : plan.oneTime) {
    if (e.payment < 1 || e.payment > n) return OutOfRange(ExtraField::OneTimePayment, e.payment, n);
    if (e.amount.count < 0)
      return Refusal(ExtraField::OneTimeAmount, QStringLiteral("the amount must not be negative."));
    anyExtra = anyExtra || e.amount.count > 0;
  }
  // On a negative loan an extra would add to the debt instead of repaying it.
  if (anyExtra && state.LoanAmount.count <= 0)
    return Refusal(plan.recurring.count > 0 ? ExtraField::Recurring : ExtraField::OneTimeAmount,
                   QStringLiteral("extra payments need a positive loan amount."));
  return std::nullopt;
}

ExtraSchedule BuildExtraSchedule(const LoanState& state, const ExtraPlan& plan) {
  if (const std::optional<QString> refusal = CheckExtraPlan(plan, state)) throw EArgumentError(*refusal);
  ExtraSchedule s;
  s.regularPayment = s.finalRegularPayment = state.PaymentAmount;
  const int32_t n = state.PaymentCount;
  if (n <= 0) return s;
  if (n > kMaxPaymentCount) throw EArgumentError(QStringLiteral("Too many payments"));

  // One-time extras by payment; several at one payment add up.
  std::vector<Money> oneTime(size_t(n) + 1);
  for (const OneTimeExtra& e : plan.oneTime) oneTime[size_t(e.payment)] += e.amount;

  s.rows.reserve(size_t(n));
  const float rate = state.PeriodRate;
  Money balance = state.LoanAmount;
  Money payment = state.PaymentAmount;
  Money levelBalance = state.LoanAmount;
  for (int32_t i = 1; i < n; ++i) {
    const ScheduleRow level = LevelRow(levelBalance, state.PaymentAmount, rate);
    s.levelInterest += level.interest;
    levelBalance = level.balance;
  }
  bool altered = false;  // an extra has been paid: the rows may leave the level schedule
  for (int32_t i = 1; i <= n; ++i) {
    const Money due = (i >= plan.recurringFrom ? plan.recurring : Money{}) + oneTime[size_t(i)];
    altered = altered || due.count > 0;
    ScheduleRow regular = i < n ? LevelRow(balance, payment, rate) : LastLevelRow(balance);
    ExtraRow row{regular.payment, regular.principal, Money{}, regular.interest, regular.balance};
    if (altered) {
      // Once the extras have shortened the loan, a regular part beyond the
      // balance only pays the balance: that is the smaller last payment.
      if (row.principal.count >= balance.count) row.principal = balance;
      const Money owed = balance - row.principal;
      row.extra = due.count < owed.count ? due : owed;
      row.balance = owed - row.extra;
      row.payment = row.principal + row.extra + row.interest;
    }
    s.rows.push_back(row);
    s.totalPaid += row.payment;
    s.totalPrincipal += row.principal;
    s.totalExtra += row.extra;
    s.totalInterest += row.interest;
    balance = row.balance;
    if (altered && balance.count == 0) break;
    if (plan.mode == ExtraMode::KeepTerm && oneTime[size_t(i)].count > 0 && i < n) {
      payment = ComputePayment(balance, rate, n - i);
      s.finalRegularPayment = payment;
    }
  }
  s.interestSaved = s.levelInterest - s.totalInterest;
  return s;
}

std::vector<YearTotals> YearlyTotals(const ExtraSchedule& schedule, PaymentFrequency frequency,
                                     const QDate& firstDueDate) {
  std::vector<YearTotals> years;
  const int perYear = frequency == PaymentFrequency::Weekly ? 52 : 12;
  const bool calendar = firstDueDate.isValid();
  QDate due = firstDueDate;
  for (size_t i = 0; i < schedule.rows.size(); ++i) {
    const int year = calendar ? due.year() : int(i / size_t(perYear)) + 1;
    if (calendar) due = NextDueDate(due, frequency);
    if (years.empty() || years.back().year != year) years.push_back(YearTotals{year, 0, {}, {}, {}, {}});
    YearTotals& y = years.back();
    const ExtraRow& r = schedule.rows[i];
    ++y.payments;
    y.payment += r.payment;
    y.principal += r.principal;
    y.interest += r.interest;
    y.extra += r.extra;
  }
  return years;
}

namespace ExtraScheduleText {
const QString kHeadings[6] = {
    QStringLiteral("   #"),        QStringLiteral("      Payment"),  QStringLiteral("      Principal"),
    QStringLiteral("      Extra"), QStringLiteral("      Interest"), QStringLiteral("      Balance")};
const QString kYearHeadings[6] = {QStringLiteral("Year"),      QStringLiteral("Payments"), QStringLiteral("Payment"),
                                  QStringLiteral("Principal"), QStringLiteral("Interest"), QStringLiteral("Extra")};
}  // namespace ExtraScheduleText
