// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Money.h"

#include <cmath>

#include "Errors.h"

namespace {
// 2^63 as long double: the first value past the count's range.
constexpr long double kTwo63 = 9223372036854775808.0L;
// 10^18 ten-thousandths: the first count with more than 18 digits.
constexpr uint64_t kEighteenDigits = 1000000000000000000ULL;

// Money shows as its floating-point value taken to 18 significant digits.
// Below 10^18 ten-thousandths that is the count itself, so the two decimals
// follow from the count exactly (exact); above it the 18 digits hold only
// three decimals, and the general currency conversion does both roundings.
struct ShownCents {
  bool exact;
  uint64_t cents;     // the dropped pair of decimals rounded half away from zero
  bool showNegative;  // a value that rounds to zero cents shows without a sign
};

ShownCents ToShownCents(Money value) {
  // Work on the magnitude as unsigned so the most negative count is fine.
  const bool negative = value.count < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value.count) : static_cast<uint64_t>(value.count);
  if (magnitude >= kEighteenDigits) return {false, 0, false};
  const uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  return {true, cents, negative && cents != 0};
}

}  // namespace

int64_t RoundHalfEvenToInt64Slow(long double scaled) {
  const long double r = std::rint(scaled);
  if (!(r >= -kTwo63 && r < kTwo63)) throw EInvalidOp();  // also NaN
  return static_cast<int64_t>(r);
}

Money Money::FromValue(long double value) { return Money{RoundHalfEvenToInt64(value * 10000.0L)}; }

void ThrowInvalidOp() { throw EInvalidOp(); }

void FormatMoneyTo(Money value, QString& out, const FormatSettings& fs) {
  const ShownCents shown = ToShownCents(value);
  if (!shown.exact) {
    out = FormatCurrency(value.Value(), 2, fs);
    return;
  }
  const uint64_t cents = shown.cents;
  char16_t buf[24];
  int pos = 24;
  uint64_t whole = cents / 100;
  do {
    buf[--pos] = char16_t(u'0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  const char16_t fraction[2] = {char16_t(u'0' + (cents / 10) % 10), char16_t(u'0' + cents % 10)};
  ApplyCurrencyFormatTo(out, shown.showNegative, QStringView(buf + pos, 24 - pos), QStringView(fraction, 2), fs);
}

QString FormatMoney(Money value, const FormatSettings& fs) {
  QString out;
  FormatMoneyTo(value, out, fs);
  return out;
}

namespace {
// A currency form's text before and after the amount ('1'), encoded.
void SplitForm(const char* form, const FormatSettings& fs, std::string& prefix, std::string& suffix) {
  QString before, after;
  QString* part = &before;
  for (const char* c = form; *c; ++c) {
    if (*c == '1')
      part = &after;
    else if (*c == '$')
      *part += fs.currencyString;
    else
      *part += QLatin1Char(*c);
  }
  prefix = before.toStdString();
  suffix = after.toStdString();
}
}  // namespace

MoneyUtf8Writer::MoneyUtf8Writer(const FormatSettings& fs) : fs_(fs) {
  // The forms as ApplyCurrencyFormatTo knows them, chosen the same way.
  static const char* const kPositive[] = {"$1", "1$", "$ 1", "1 $"};
  static const char* const kNegative[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                          "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  SplitForm(kPositive[(fs.currencyFormat >= 0 && fs.currencyFormat < 4) ? fs.currencyFormat : 0], fs, positivePrefix_,
            positiveSuffix_);
  SplitForm(kNegative[(fs.negCurrFormat >= 0 && fs.negCurrFormat < 16) ? fs.negCurrFormat : 0], fs, negativePrefix_,
            negativeSuffix_);
  if (!fs.thousandSeparator.isNull()) thousands_ = QString(fs.thousandSeparator).toStdString();
  decimal_ = QString(fs.decimalSeparator).toStdString();
}

void MoneyUtf8Writer::Append(Money value, std::string& out) const {
  const ShownCents shown = ToShownCents(value);
  if (!shown.exact) {
    out += FormatMoney(value, fs_).toStdString();
    return;
  }
  const uint64_t cents = shown.cents;
  const bool showNegative = shown.showNegative;
  char digits[24];
  int count = 0;
  uint64_t whole = cents / 100;
  do {
    digits[count++] = char('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  out += showNegative ? negativePrefix_ : positivePrefix_;
  for (int i = count - 1; i >= 0; --i) {
    out += digits[i];
    if (i > 0 && i % 3 == 0) out += thousands_;
  }
  out += decimal_;
  out += char('0' + (cents / 10) % 10);
  out += char('0' + cents % 10);
  out += showNegative ? negativeSuffix_ : positiveSuffix_;
}
