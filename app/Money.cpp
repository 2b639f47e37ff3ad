#include "Money.h"

#include <cmath>

#include "Errors.h"

namespace {
// 2^63 as long double: the first value past the count's range.
constexpr long double kTwo63 = 9223372036854775808.0L;

}  // namespace

int64_t RoundHalfEvenToInt64Slow(long double scaled) {
  const long double r = std::rint(scaled);
  if (!(r >= -kTwo63 && r < kTwo63)) throw EInvalidOp();  // also NaN
  return static_cast<int64_t>(r);
}

Money Money::FromValue(long double value) { return Money{RoundHalfEvenToInt64(value * 10000.0L)}; }

void ThrowInvalidOp() { throw EInvalidOp(); }

QString DecorateCurrency(const QString& amount, bool negative, const FormatSettings& fs) {
  const QString& c = fs.currencyString;
  if (!negative) {
    switch (fs.currencyFormat) {
      case 1: return amount + c;
      case 2: return c + u' ' + amount;
      case 3: return amount + u' ' + c;
      default: return c + amount;
    }
  }
  switch (fs.negCurrFormat) {
    case 1: return u'-' + c + amount;
    case 2: return c + u'-' + amount;
    case 3: return c + amount + u'-';
    case 4: return u'(' + amount + c + u')';
    case 5: return u'-' + amount + c;
    case 6: return amount + u'-' + c;
    case 7: return amount + c + u'-';
    case 8: return u'-' + amount + u' ' + c;
    case 9: return u'-' + c + u' ' + amount;
    case 10: return amount + u' ' + c + u'-';
    case 11: return c + u' ' + amount + u'-';
    case 12: return c + u' ' + u'-' + amount;
    case 13: return amount + u'-' + u' ' + c;
    case 14: return u'(' + c + u' ' + amount + u')';
    case 15: return u'(' + amount + u' ' + c + u')';
    default: return u'(' + c + amount + u')';
  }
}

void FormatMoneyTo(Money value, QString& out, const FormatSettings& fs) {
  // Work on the magnitude as unsigned so the most negative count is fine.
  const bool negative = value.count < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value.count) : static_cast<uint64_t>(value.count);
  // Two decimals from four: the dropped pair rounds half away from zero.
  const uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);

  char16_t buf[48];
  int pos = 48;
  buf[--pos] = char16_t(u'0' + cents % 10);
  buf[--pos] = char16_t(u'0' + (cents / 10) % 10);
  buf[--pos] = fs.decimalSeparator.unicode();
  uint64_t whole = cents / 100;
  const char16_t group = fs.thousandSeparator.unicode();
  int digits = 0;
  do {
    if (digits > 0 && digits % 3 == 0 && group != 0) buf[--pos] = group;
    buf[--pos] = char16_t(u'0' + whole % 10);
    whole /= 10;
    ++digits;
  } while (whole != 0);

  const QStringView amount(buf + pos, 48 - pos);
  // A value that rounds to zero cents shows without a sign.
  const bool showNegative = negative && cents != 0;
  if (!showNegative && fs.currencyFormat == 0) {
    // The common case without the generic decoration's temporaries.
    out.resize(0);
    out.reserve(fs.currencyString.size() + amount.size());
    out.append(fs.currencyString);
    out.append(amount);
    return;
  }
  out = DecorateCurrency(amount.toString(), showNegative, fs);
}

QString FormatMoney(Money value, const FormatSettings& fs) {
  QString out;
  FormatMoneyTo(value, out, fs);
  return out;
}
