// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Lengths of the page printer: the inch and the millimetre, and the rounding of
// a length in device pixels (nearest, an exact half to the even neighbour).
#include <climits>
#include <cmath>

namespace measure_units {

constexpr double kMillimetersPerInch = 25.4;
constexpr double kInchesPerMillimeter = 0.03937007874015748;  // 1/25.4
// The same ratio in extended precision, for conversions worked out in long double.
constexpr long double kInchesPerMillimeterL = 0.03937007874015748L;

// Nearest integer, an exact half going to the even neighbour; values beyond the
// 32-bit range saturate and NaN gives 0. Explicit, so that the result does not
// depend on the floating-point rounding mode.
template <class Float>
int RoundHalfEven(Float v) {
  if (std::isnan(v)) return 0;
  if (v >= Float(INT_MAX)) return INT_MAX;
  if (v <= Float(INT_MIN)) return INT_MIN;
  const Float lower = std::floor(v);
  const Float fraction = v - lower;
  Float r = lower;
  if (fraction > Float(0.5) || (fraction == Float(0.5) && std::fmod(lower, Float(2)) != 0)) r = lower + 1;
  return int(r);
}

}  // namespace measure_units
