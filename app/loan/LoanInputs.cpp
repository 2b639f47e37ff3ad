// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "LoanInputs.h"

#include <cmath>
#include <limits>

#include "Errors.h"

int IsInvalidNumber(const QString& text, const FormatSettings& fs) {
  long double value;
  return TryTextToFloat(text, value, fs) ? 0 : 1;
}

QString InputErrorMessage(LoanField field) {
  switch (field) {
    case LoanField::Amount: return QStringLiteral("   Invalid loan amount. Please try again.   ");
    case LoanField::Interest: return QStringLiteral("   Invalid interest amount. Please try again.   ");
    case LoanField::Payments: break;
  }
  return QStringLiteral("   Invalid payments entry. Please try again.   ");
}

std::optional<LoanField> CheckInputs(const LoanInputTexts& texts, const FormatSettings& fs) {
  if (texts.amount.isEmpty() || IsInvalidNumber(texts.amount, fs)) return LoanField::Amount;
  if (texts.interest.isEmpty() || IsInvalidNumber(texts.interest, fs)) return LoanField::Interest;
  if (texts.payments.isEmpty() || IsInvalidNumber(texts.payments, fs)) return LoanField::Payments;
  return std::nullopt;
}

QString NegativeCountMessage() { return QStringLiteral("The number of payments must not be negative."); }

QString TooManyPaymentsMessage() {
  return QStringLiteral("The number of payments must not exceed %1.").arg(QLocale::system().toString(kMaxPaymentCount));
}

void ReadInputsAndComputePayment(const LoanInputTexts& texts, LoanState& state, const FormatSettings& fs) {
  // The check accepted both texts, so these conversions succeed with the same values.
  state.LoanAmount = Money::FromValue(StrToFloat(texts.amount, fs));
  const long double rate = StrToFloat(texts.interest, fs);
  // Storing a rate beyond single precision overflows, as the FPU's store would report.
  if (std::fabs(rate) > static_cast<long double>(std::numeric_limits<float>::max()))
    throw Exception(QStringLiteral("Floating point overflow"));
  state.PeriodRate = PeriodRate(static_cast<float>(rate), texts.frequency);
  const int32_t count = StrToInt(texts.payments);
  // A schedule has no rows to show for a negative count, and a count beyond the
  // limit would exhaust memory; both are refused before anything else changes.
  if (count < 0) throw EArgumentError(NegativeCountMessage());
  if (count > kMaxPaymentCount) throw EArgumentError(TooManyPaymentsMessage());
  state.PaymentCount = count;
  state.PaymentAmount = ComputePayment(state.LoanAmount, state.PeriodRate, count);
}
