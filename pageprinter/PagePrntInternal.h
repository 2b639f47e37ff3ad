#pragma once
// Small helpers shared by the page printer's implementation files; not part of
// the component's interface.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "Device.h"
#include "Printer.h"

namespace pageprinter_detail {

// Runs a clean-up when the scope ends, also when an exception passes.
template <class F>
class Finally {
 public:
  explicit Finally(F f) : f_(std::move(f)) {}
  ~Finally() { f_(); }
  Finally(const Finally&) = delete;
  Finally& operator=(const Finally&) = delete;

 private:
  F f_;
};

// Nearest integer, an exact half going to the even neighbour; values beyond the
// 32-bit range saturate so that absurd lengths cannot overflow the conversion.
// Explicit, so that the result does not depend on the floating-point rounding mode.
inline int RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  if (v >= double(INT_MAX)) return INT_MAX;
  if (v <= double(INT_MIN)) return INT_MIN;
  const double lower = std::floor(v);
  const double fraction = v - lower;
  double r = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) r = lower + 1.0;
  return int(r);
}

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
