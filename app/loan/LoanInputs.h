// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The three loan inputs as texts: the check that Calculate and Print run first,
// and reading the checked texts into the calculation state.
#include <QString>
#include <optional>

#include "Loan.h"

enum class LoanField { Amount, Interest, Payments };

struct LoanInputTexts {
  QString amount;
  QString interest;
  QString payments;
  PaymentFrequency frequency = PaymentFrequency::Monthly;
};

// 1 when the text is not a number in the regional grammar, 0 otherwise.
int IsInvalidNumber(const QString& text, const FormatSettings& fs = FormatSettings::Current());

// The message shown for a failing box, three blanks before and after.
QString InputErrorMessage(LoanField field);

// The first failing box in the order amount, interest, payments; nothing when all pass.
std::optional<LoanField> CheckInputs(const LoanInputTexts& texts, const FormatSettings& fs = FormatSettings::Current());

// Reads checked inputs into the state, in order: amount, period rate, count,
// then the payment. Each value is stored as soon as it is read, so a failure
// leaves the earlier ones updated. Raises EConvertError for a payment count that
// is not a whole 32-bit number, EInvalidOp for an amount too large for money,
// EArgumentError for a negative count or one above kMaxPaymentCount (the count
// is then not stored), and the payment routine's errors.
void ReadInputsAndComputePayment(const LoanInputTexts& texts, LoanState& state,
                                 const FormatSettings& fs = FormatSettings::Current());

QString NegativeCountMessage();
QString TooManyPaymentsMessage();
