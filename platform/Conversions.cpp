#include "Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "Errors.h"

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// strtold with a fixed "C" locale: QCoreApplication sets the process locale
// from the environment, and the C library would then expect its decimal mark.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return c;
}

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
    for (; i < n && IsAsciiDigit(p[i]); ++i)
      exponent = std::min(exponent * 10 + (p[i].unicode() - u'0'), kExponentCap);
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
  if (!TryStrToInt(text, value))
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}

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
  out.clear();
  out.reserve(fs.currencyString.size() + digits.size() + digits.size() / 3 + fractionDigits.size() + 4);
  for (const char* c = form; *c; ++c) {
    if (*c == '$') {
      out += fs.currencyString;
    } else if (*c == '1') {
      for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && !fs.thousandSeparator.isNull()) out += fs.thousandSeparator;
        out += digits[i];
      }
      if (!fractionDigits.isEmpty()) {
        out += fs.decimalSeparator;
        out += fractionDigits;
      }
    } else {
      out += QLatin1Char(*c);
    }
  }
}

// ---- dates ----

namespace {

// Order in which a short date names its parts, e.g. "MDY", from the first d, m
// and y codes of the pattern (quoted text skipped). Missing parts follow in MDY order.
QString DateOrder(const QString& pattern) {
  QString order;
  QChar quote;
  for (QChar c : pattern) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
      continue;
    }
    const QChar u = c.toUpper();
    if ((u == u'D' || u == u'M' || u == u'Y') && !order.contains(u)) order += u;
  }
  for (QChar u : {QChar(u'M'), QChar(u'D'), QChar(u'Y')})
    if (!order.contains(u)) order += u;
  return order;
}

// Whether the pattern's last character (trailing blanks aside) is the "/" that
// stands for the date separator.
bool EndsWithDateSeparator(const QString& pattern) {
  qsizetype end = pattern.size();
  while (end > 0 && pattern[end - 1] == u' ') --end;
  return end > 0 && pattern[end - 1] == u'/';
}

}  // namespace

int ExpandTwoDigitYear(int twoDigitYear, int currentYear) {
  int year = currentYear / 100 * 100 + twoDigitYear;
  if (year > currentYear + 49)
    year -= 100;
  else if (year < currentYear - 50)
    year += 100;
  return year;
}

bool TryStrToDate(const QString& text, QDate& date, const FormatSettings& fs) {
  const QString order = DateOrder(fs.shortDateFormat);
  const bool spaceSeparator = fs.dateSeparator == u' ';
  const QChar* p = text.constData();
  const qsizetype n = text.size();
  qsizetype i = 0;
  auto skipBlanks = [&] {
    while (i < n && p[i] == u' ') ++i;
  };
  int values[3] = {0, 0, 0};
  int lengths[3] = {0, 0, 0};
  skipBlanks();
  for (int part = 0; part < 3; ++part) {
    if (part > 0) {
      if (spaceSeparator) {
        const qsizetype before = i;
        skipBlanks();
        if (i == before) return false;
      } else {
        skipBlanks();
        if (i >= n || p[i] != fs.dateSeparator) return false;
        ++i;
        skipBlanks();
      }
    }
    while (i < n && IsAsciiDigit(p[i])) {
      if (++lengths[part] > 4) return false;
      values[part] = values[part] * 10 + (p[i].unicode() - u'0');
      ++i;
    }
    if (lengths[part] == 0) return false;
  }
  skipBlanks();
  // Regions whose short date ends in the separator ("2025. 01. 31.") read
  // their own way of writing a date, the closing separator included.
  if (!spaceSeparator && i < n && p[i] == fs.dateSeparator && EndsWithDateSeparator(fs.shortDateFormat)) {
    ++i;
    skipBlanks();
  }
  if (i != n) return false;

  int day = 0, month = 0, year = 0;
  for (int part = 0; part < 3; ++part) {
    const QChar what = order[part];
    const int length = lengths[part];
    if (what == u'D') {
      if (length > 2) return false;
      day = values[part];
    } else if (what == u'M') {
      if (length > 2) return false;
      month = values[part];
    } else {
      if (length == 2)
        year = ExpandTwoDigitYear(values[part], QDate::currentDate().year());
      else if (length == 4)
        year = values[part];
      else
        return false;
    }
  }
  if (year < 1 || year > 9999 || !QDate::isValid(year, month, day)) return false;
  date = QDate(year, month, day);
  return true;
}

QDate StrToDate(const QString& text, const FormatSettings& fs) {
  QDate date;
  if (!TryStrToDate(text, date, fs)) throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
  return date;
}

namespace {

bool HasAmPmCode(const QString& pattern) {
  QChar quote;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'a' || c == u'A') {
      const QStringView rest = QStringView(pattern).mid(i);
      if (rest.startsWith(u"am/pm", Qt::CaseInsensitive) || rest.startsWith(u"a/p", Qt::CaseInsensitive) ||
          rest.startsWith(u"ampm", Qt::CaseInsensitive))
        return true;
    }
  }
  return false;
}

QString Padded(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QChar(u'0')); }

void AppendDateTime(QString& out, const QString& pattern, const QDateTime& moment, const FormatSettings& fs,
                    int depth) {
  if (depth > 3) return;  // a regional format that names itself must not recurse for ever
  const QDate date = moment.date();
  const QTime time = moment.time();
  const bool twelveHour = HasAmPmCode(pattern);
  auto name = [](const QStringList& names, int index) { return index >= 0 && index < names.size() ? names[index] : QString(); };
  const qsizetype n = pattern.size();
  QChar lastCode;
  qsizetype i = 0;
  while (i < n) {
    const QChar c = pattern[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype close = pattern.indexOf(c, i + 1);
      const qsizetype end = close < 0 ? n : close;
      out += QStringView(pattern).mid(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    QChar code = c.toUpper();
    qsizetype count = 1;
    if (code >= u'A' && code <= u'Z') {
      while (i + count < n && pattern[i + count].toUpper() == code) ++count;
      if (code == u'M' && lastCode == u'H') code = u'N';
      lastCode = code;
    }
    switch (code.unicode()) {
      case u'Y':
        out += count <= 2 ? Padded(date.year() % 100, 2) : Padded(date.year(), 4);
        break;
      case u'M':
        if (count == 1)
          out += QString::number(date.month());
        else if (count == 2)
          out += Padded(date.month(), 2);
        else
          out += name(count == 3 ? fs.shortMonthNames : fs.longMonthNames, date.month() - 1);
        break;
      case u'D':
        if (count == 1)
          out += QString::number(date.day());
        else if (count == 2)
          out += Padded(date.day(), 2);
        else if (count <= 4)
          out += name(count == 3 ? fs.shortDayNames : fs.longDayNames, date.dayOfWeek() - 1);
        else
          AppendDateTime(out, count == 5 ? fs.shortDateFormat : fs.longDateFormat, moment, fs, depth + 1);
        break;
      case u'H': {
        int hour = time.hour();
        if (twelveHour) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        out += count == 1 ? QString::number(hour) : Padded(hour, 2);
        break;
      }
      case u'N':
        out += count == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2);
        break;
      case u'S':
        out += count == 1 ? QString::number(time.second()) : Padded(time.second(), 2);
        break;
      case u'Z':
        out += count < 3 ? QString::number(time.msec()) : Padded(time.msec(), 3);
        break;
      case u'T':
        AppendDateTime(out, count == 1 ? fs.shortTimeFormat : fs.longTimeFormat, moment, fs, depth + 1);
        break;
      case u'C':
        AppendDateTime(out, fs.shortDateFormat, moment, fs, depth + 1);
        if (time != QTime(0, 0)) {
          out += u' ';
          AppendDateTime(out, fs.longTimeFormat, moment, fs, depth + 1);
        }
        break;
      case u'A': {
        const QStringView rest = QStringView(pattern).mid(i);
        const bool pm = time.hour() >= 12;
        if (rest.startsWith(u"am/pm", Qt::CaseInsensitive)) {
          out += rest.mid(pm ? 3 : 0, 2);  // as written in the pattern, case included
          count = 5;
        } else if (rest.startsWith(u"a/p", Qt::CaseInsensitive)) {
          out += rest.mid(pm ? 2 : 0, 1);
          count = 3;
        } else if (rest.startsWith(u"ampm", Qt::CaseInsensitive)) {
          out += pm ? fs.timePMString : fs.timeAMString;
          count = 4;
        } else {
          out += c;
          count = 1;
        }
        break;
      }
      case u'/':
        out += fs.dateSeparator;
        break;
      case u':':
        out += fs.timeSeparator;
        break;
      default:
        out += QStringView(pattern).mid(i, count);
        break;
    }
    i += count;
  }
}

}  // namespace

QString FormatDateTime(const QString& pattern, const QDateTime& moment, const FormatSettings& fs) {
  QString out;
  AppendDateTime(out, pattern, moment, fs, 0);
  return out;
}
