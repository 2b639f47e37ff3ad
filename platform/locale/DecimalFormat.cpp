// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Numbers to text: the general, fixed and currency formats, all from one
// 18-digit decimal form of the value.
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "DecimalFormat.h"

namespace {

// A finite value as decimal digits: value = 0.d0 d1 d2 ... * 10^(exponent + 1),
// i.e. d0 is the digit of 10^exponent. Empty digits mean zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// The value to 18 significant digits, the precision the platform's
// conversions start from before rounding on the decimal digits.
Decimal ToDecimal18(long double value) {
  Decimal d;
  d.negative = std::signbit(value);
  long double a = std::fabs(value);
  if (a == 0) return d;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 17);
  std::string_view text(buf, r.ptr - buf);
  std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') d.digits.push_back(text[i]);
  d.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  StripTrailingZeros(d);
  return d;
}

// Keeps `keep` significant digits, rounding half away from zero.
void RoundDigits(Decimal& d, int keep) {
  if (keep >= int(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripTrailingZeros(d);
}

QString SpecialText(long double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString GeneralText(const Decimal& d, const FormatSettings& fs) {
  if (d.digits.empty()) return QStringLiteral("0");
  QString out;
  if (d.negative) out += u'-';
  const QString digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
  if (d.exponent >= 15 || d.exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) out += fs.decimalSeparator + digits.mid(1);
    out += u'E' + QString::number(d.exponent);
  } else if (d.exponent >= 0) {
    const int intCount = d.exponent + 1;
    out += digits.left(intCount);
    if (digits.size() < intCount) out += QString(intCount - digits.size(), u'0');
    if (digits.size() > intCount) out += fs.decimalSeparator + digits.mid(intCount);
  } else {
    out += u'0';
    out += fs.decimalSeparator;
    out += QString(-d.exponent - 1, u'0') + digits;
  }
  return out;
}

// Integer and fraction digits of a fixed-point rendering.
void FixedParts(const Decimal& d, int decimals, QString& integerDigits, QString& fractionDigits) {
  const QString digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
  integerDigits.clear();
  fractionDigits.clear();
  if (d.digits.empty() || d.exponent < 0) {
    integerDigits = QStringLiteral("0");
  } else {
    const int intCount = d.exponent + 1;
    integerDigits = digits.left(intCount);
    if (integerDigits.size() < intCount) integerDigits += QString(intCount - integerDigits.size(), u'0');
  }
  for (int i = 0; i < decimals; ++i) {
    const int index = d.exponent + 1 + i;  // position of 10^-(i+1) in digits
    fractionDigits += (!d.digits.empty() && index >= 0 && index < int(d.digits.size())) ? digits[index] : QChar(u'0');
  }
}

// Rounds for a fixed-point output; false when the value needs the general format.
bool RoundFixed(long double value, int precision, int decimals, Decimal& d) {
  precision = std::clamp(precision, 1, 18);
  d = ToDecimal18(value);
  if (!d.digits.empty()) {
    RoundDigits(d, std::min(precision, d.exponent + 1 + decimals));
    if (!d.digits.empty() && d.exponent >= precision) return false;
  }
  return true;
}
}  // namespace

QString FloatToStrGeneral(long double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return SpecialText(value);
  Decimal d = ToDecimal18(value);
  RoundDigits(d, 15);
  return GeneralText(d, fs);
}

QString FloatToStrFixed(long double value, int precision, int decimals, const FormatSettings& fs) {
  if (!std::isfinite(value)) return SpecialText(value);
  decimals = std::clamp(decimals, 0, 18);
  Decimal d;
  if (!RoundFixed(value, precision, decimals, d)) return GeneralText(d, fs);
  QString integerDigits, fractionDigits;
  FixedParts(d, decimals, integerDigits, fractionDigits);
  QString out;
  if (d.negative && !d.digits.empty()) out += u'-';
  out += integerDigits;
  if (decimals > 0) out += fs.decimalSeparator + fractionDigits;
  return out;
}

QString FormatFixed(long double value, int decimals, const FormatSettings& fs) {
  return FloatToStrFixed(value, 18, decimals, fs);
}

QString FormatCurrency(long double value, int decimals, const FormatSettings& fs) {
  if (!std::isfinite(value)) return SpecialText(value);
  decimals = std::clamp(decimals, 0, 18);
  Decimal d;
  if (!RoundFixed(value, 18, decimals, d)) return GeneralText(d, fs);
  QString integerDigits, fractionDigits;
  FixedParts(d, decimals, integerDigits, fractionDigits);
  return ApplyCurrencyFormat(d.negative && !d.digits.empty(), integerDigits, fractionDigits, fs);
}

QString ApplyCurrencyFormat(bool negative, const QString& integerDigits, const QString& fractionDigits,
                            const FormatSettings& fs) {
  QString out;
  ApplyCurrencyFormatTo(out, negative, integerDigits, fractionDigits, fs);
  return out;
}

void ApplyCurrencyFormatTo(QString& out, bool negative, QStringView integerDigits, QStringView fractionDigits,
                           const FormatSettings& fs) {
  static const char* const kPositive[] = {"$1", "1$", "$ 1", "1 $"};
  static const char* const kNegative[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                          "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  qsizetype start = 0;
  while (start + 1 < integerDigits.size() && integerDigits[start] == u'0') ++start;
  static const QString kZero = QStringLiteral("0");
  const QStringView digits = integerDigits.isEmpty() ? QStringView(kZero) : integerDigits.mid(start);

  const char* form = negative ? kNegative[(fs.negCurrFormat >= 0 && fs.negCurrFormat < 16) ? fs.negCurrFormat : 0]
                              : kPositive[(fs.currencyFormat >= 0 && fs.currencyFormat < 4) ? fs.currencyFormat : 0];
  // Composed in a local buffer and copied once: the caller's string keeps its
  // capacity, so formatting cell after cell into it allocates nothing.
  QVarLengthArray<QChar, 96> text;
  const QChar separator = fs.thousandSeparator;
  for (const char* c = form; *c; ++c) {
    if (*c == '$') {
      text.append(fs.currencyString.constData(), fs.currencyString.size());
    } else if (*c == '1') {
      for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && !separator.isNull()) text.append(separator);
        text.append(digits[i]);
      }
      if (!fractionDigits.isEmpty()) {
        text.append(fs.decimalSeparator);
        text.append(fractionDigits.data(), fractionDigits.size());
      }
    } else {
      text.append(QLatin1Char(*c));
    }
  }
  out.resize(text.size());
  std::copy(text.cbegin(), text.cend(), out.data());
}
