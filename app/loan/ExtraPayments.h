// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What paying more does to a loan: a recurring extra amount from one payment
// on and one-time extras at chosen payments, on top of the level schedule.
// The rows come from the level schedule's own row steps, so without extras the
// two schedules are the same row for row; every amount is money, so the
// columns add up to the totals exactly.
#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "Loan.h"

enum class ExtraMode {
  KeepPayment,  // the regular payment stays; the loan ends sooner
  KeepTerm,     // after each one-time extra the payment is recomputed for the remaining term
};

struct OneTimeExtra {
  int32_t payment = 0;  // 1-based payment number
  Money amount;
};

struct ExtraPlan {
  Money recurring;            // added to every payment from recurringFrom on
  int32_t recurringFrom = 1;  // 1-based payment number
  std::vector<OneTimeExtra> oneTime;
  ExtraMode mode = ExtraMode::KeepPayment;
};

// The inputs an extra-payment message names.
enum class ExtraField { Recurring, RecurringFrom, OneTimePayment, OneTimeAmount };
QString ExtraFieldName(ExtraField field);

// Reads an extra amount in the regional number format: a number, not negative,
// that fits money. Sets `error` (naming the field) and returns false otherwise.
bool ParseExtraAmount(const QString& text, ExtraField field, Money& amount, QString& error,
                      const FormatSettings& fs = FormatSettings::Current());
// Reads a payment number: a whole decimal number (its range is checked with the loan).
bool ParseExtraPaymentNumber(const QString& text, ExtraField field, int32_t& number, QString& error);

// The first reason the plan does not fit the loan, naming the field: a negative
// amount, a payment number outside 1..PaymentCount, or an extra on a loan whose
// amount is not positive. Nothing when it fits.
std::optional<QString> CheckExtraPlan(const ExtraPlan& plan, const LoanState& state);

// A row of the schedule with extras. payment = principal + extra + interest;
// principal is the regular part, extra what was paid on top.
struct ExtraRow {
  Money payment;
  Money principal;
  Money extra;
  Money interest;
  Money balance;
};

struct ExtraSchedule {
  Money regularPayment;       // the level payment the loan starts with
  Money finalRegularPayment;  // the regular payment at the end (lower after a one-time extra when keeping the term)
  std::vector<ExtraRow> rows;
  Money totalPaid;       // sum of payment
  Money totalPrincipal;  // sum of principal (regular part)
  Money totalExtra;      // sum of extra
  Money totalInterest;   // sum of interest
  Money levelInterest;   // total interest of the level schedule
  Money interestSaved;   // levelInterest - totalInterest
  int32_t PaymentCount() const { return int32_t(rows.size()); }
};

// The schedule with the plan's extras. An extra beyond what is owed pays only
// what is owed; the loan then ends with a smaller last payment. Raises
// EArgumentError with CheckExtraPlan's message for a plan that does not fit.
ExtraSchedule BuildExtraSchedule(const LoanState& state, const ExtraPlan& plan);

// Totals of one year: a loan year (12 monthly or 52 weekly payments, numbered
// from 1) or, with a first due date, a calendar year of the due dates.
struct YearTotals {
  int year = 0;
  int32_t payments = 0;
  Money payment;
  Money principal;
  Money interest;
  Money extra;
};
std::vector<YearTotals> YearlyTotals(const ExtraSchedule& schedule, PaymentFrequency frequency,
                                     const QDate& firstDueDate = QDate());

// The texts of the schedule with extras, as the table shows them.
namespace ExtraScheduleText {
extern const QString kHeadings[6];  // "   #", "      Payment", "      Principal", "      Extra", ...
extern const QString kYearHeadings[6];
}  // namespace ExtraScheduleText
