// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Small helpers shared by the page printer's implementation files; not part of
// the component's interface.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "Device.h"
#include "MeasureUnits.h"
#include "Printer.h"

namespace pageprinter_detail {

using measure_units::RoundHalfEven;

// Positions are 32-bit; a column may be as wide as the conversion allows, so
// sums of positions saturate instead of overflowing.
inline int AddClamped(int a, int b) {
  const long long sum = static_cast<long long>(a) + b;
  return int(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

inline int SubtractClamped(int a, int b) {
  const long long difference = static_cast<long long>(a) - b;
  return int(std::clamp<long long>(difference, INT_MIN, INT_MAX));
}

// The printer's own resolution, asked of its device context directly: without a
// usable printer the platform's printer error reaches the caller.
inline int PrinterResolution(TPrinter* printer, TDeviceCap cap) { return GetDeviceCaps(printer->Handle(), cap); }

}  // namespace pageprinter_detail
