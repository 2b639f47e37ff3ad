// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text to numbers: the platform's floating-point grammar and whole numbers.
#include <cstdlib>
#include <locale.h>
#include <string>

#include "Numbers.h"
#include "Errors.h"

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// strtold with a fixed "C" locale: QCoreApplication sets the process locale
// from the environment, and the C library would then expect its decimal mark.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return c;
}

// Leading blanks and an optional sign, read alike by both number readers.
// Returns the index of the first character after them.
qsizetype SkipBlanksAndSign(const QChar* p, qsizetype n, bool& negative) {
  qsizetype i = 0;
  while (i < n && p[i] == u' ') ++i;
  negative = false;
  if (i < n && (p[i] == u'+' || p[i] == u'-')) negative = p[i++] == u'-';
  return i;
}

}  // namespace

bool TryTextToFloat(const QString& text, long double& value, const FormatSettings& fs) {
  const QChar* p = text.constData();
  const qsizetype n = text.size();
  bool negative = false;
  qsizetype i = SkipBlanksAndSign(p, n, negative);

  std::string mantissa;  // digits without the separator
  long long integerCount = 0;
  bool separator = false;
  for (; i < n; ++i) {
    if (IsAsciiDigit(p[i])) {
      mantissa.push_back(char(p[i].unicode()));
      if (!separator) ++integerCount;
    } else if (p[i] == fs.decimalSeparator && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (mantissa.empty() && !separator) return false;

  long long exponent = 0;
  if (i < n && (p[i] == u'e' || p[i] == u'E')) {
    ++i;
    bool expNegative = false;
    if (i < n && (p[i] == u'+' || p[i] == u'-')) expNegative = p[i++] == u'-';
    const qsizetype start = i;
    // Saturated: any exponent this large is out of range whatever the mantissa.
    constexpr long long kExponentCap = 1000000000000LL;
    for (; i < n && IsAsciiDigit(p[i]); ++i) exponent = std::min(exponent * 10 + (p[i].unicode() - u'0'), kExponentCap);
    if (i == start) return false;
    if (expNegative) exponent = -exponent;
  }
  while (i < n && p[i] == u' ') ++i;
  if (i != n) return false;

  const std::size_t firstSignificant = mantissa.find_first_not_of('0');
  if (firstSignificant == std::string::npos) {
    value = negative ? -0.0L : 0.0L;
    return true;
  }
  // value = 0.<significant digits> * 10^scale
  const long long scale = integerCount - (long long)firstSignificant + exponent;
  if (scale > 4933) return false;  // at least 1E4933: beyond the extended range
  if (scale < -4951) {             // below half the smallest subnormal
    value = negative ? -0.0L : 0.0L;
    return true;
  }
  std::size_t last = mantissa.find_last_not_of('0');
  std::string normalized = "0.";
  normalized.append(mantissa, firstSignificant, last - firstSignificant + 1);
  normalized += 'e';
  normalized += std::to_string(scale);
  long double v = strtold_l(normalized.c_str(), nullptr, CLocale());
  if (std::isinf(v)) return false;
  value = negative ? -v : v;
  return true;
}

long double StrToFloat(const QString& text, const FormatSettings& fs) {
  long double value = 0;
  if (!TryTextToFloat(text, value, fs))
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  return value;
}

bool TryStrToInt(const QString& text, int32_t& value) {
  const QChar* p = text.constData();
  const qsizetype n = text.size();
  bool negative = false;
  qsizetype i = SkipBlanksAndSign(p, n, negative);
  if (i == n) return false;
  long long magnitude = 0;
  for (; i < n; ++i) {
    if (!IsAsciiDigit(p[i])) return false;
    magnitude = magnitude * 10 + (p[i].unicode() - u'0');
    if (magnitude > 2147483648LL) return false;
  }
  if (!negative && magnitude > 2147483647LL) return false;
  value = int32_t(negative ? -magnitude : magnitude);
  return true;
}

int32_t StrToInt(const QString& text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}
