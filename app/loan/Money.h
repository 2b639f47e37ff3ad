// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Money: a fixed-point amount with four decimals, held as a signed 64-bit count
// of ten-thousandths. Storing a floating-point value rounds to that grain
// (nearest, halves to even); sums and differences are exact. A value that does
// not fit the count raises EInvalidOp, as the floating-point store would.
#include <QString>
#include <cmath>
#include <cstdint>
#include <string>

#include "Conversions.h"

// Raises EInvalidOp, the floating-point store's failure.
[[noreturn]] void ThrowInvalidOp();

struct Money {
  int64_t count = 0;  // ten-thousandths

  static constexpr Money FromCount(int64_t c) { return Money{c}; }
  // value in currency units (2.5 -> 25000 ten-thousandths)
  static Money FromValue(long double value);
  // value already in ten-thousandths (the count itself, possibly fractional)
  static Money FromScaled(long double scaled);
  long double Value() const { return static_cast<long double>(count) / 10000.0L; }

  friend Money operator+(Money a, Money b) {
    Money r;
    if (__builtin_add_overflow(a.count, b.count, &r.count)) ThrowInvalidOp();
    return r;
  }
  friend Money operator-(Money a, Money b) {
    Money r;
    if (__builtin_sub_overflow(a.count, b.count, &r.count)) ThrowInvalidOp();
    return r;
  }
  Money operator-() const { return Money{} - *this; }
  Money& operator+=(Money b) { return *this = *this + b; }
  Money& operator-=(Money b) { return *this = *this - b; }
  friend constexpr bool operator==(Money a, Money b) { return a.count == b.count; }
  friend constexpr bool operator!=(Money a, Money b) { return a.count != b.count; }
};

// Rounds to the nearest whole number, halves to even, and checks that it fits
// 64 bits (EInvalidOp otherwise).
int64_t RoundHalfEvenToInt64Slow(long double scaled);
inline int64_t RoundHalfEvenToInt64(long double scaled) {
  // llrintl rounds in the FPU's current mode (nearest, halves to even; the
  // program never changes it) with one fistp, without saving and restoring the
  // floating-point environment as nearbyintl does. Unlike arithmetic tricks that
  // rely on the 64-bit mantissa, it stays exact where extended precision is
  // emulated with doubles (valgrind).
  constexpr long double kTwo62 = 4611686018427387904.0L;
  if (scaled > -kTwo62 && scaled < kTwo62) return static_cast<int64_t>(std::llrint(scaled));
  return RoundHalfEvenToInt64Slow(scaled);
}
inline Money Money::FromScaled(long double scaled) { return Money{RoundHalfEvenToInt64(scaled)}; }

// Money in the regional currency format with exactly two decimals: the value
// taken to 18 significant digits, then the third decimal rounded half away
// from zero (0.005 shows as one cent).
QString FormatMoney(Money value, const FormatSettings& fs = FormatSettings::Current());
// The same into a caller's string.
void FormatMoneyTo(Money value, QString& out, const FormatSettings& fs = FormatSettings::Current());

// Writes amounts as FormatMoney shows them, UTF-8 encoded, for output that
// formats many amounts in one currency format: the format's fixed parts
// (currency sign, signs, separators) are encoded once, when it is made.
class MoneyUtf8Writer {
 public:
  explicit MoneyUtf8Writer(const FormatSettings& fs);
  // Appends the text of FormatMoney(value, fs) in UTF-8.
  void Append(Money value, std::string& out) const;

 private:
  const FormatSettings& fs_;
  std::string positivePrefix_, positiveSuffix_, negativePrefix_, negativeSuffix_;
  std::string thousands_, decimal_;
};
