// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Regional settings read from a QLocale and turned into the conventions the
// conversions use: single-character separators, the numbered currency forms and
// FormatDateTime patterns.
#include <optional>

#include "Conversions.h"

namespace {

bool IsFormatChar(QChar c) { return c.category() == QChar::Other_Format; }

QChar FirstChar(const QString& text, QChar fallback) {
  for (QChar c : text)
    if (!IsFormatChar(c)) return c;
  return fallback;
}

QString WithoutFormatChars(const QString& text) {
  QString out;
  for (QChar c : text)
    if (!IsFormatChar(c)) out += c;
  return out;
}

// Reduces a currency amount as the locale writes it to the shape used by the
// numbered forms: "$" for the symbol, "1" for the number, "-", parentheses and
// single blanks. Bidirectional marks and anything else are dropped.
QString CurrencyShape(const QLocale& locale, double amount, const QString& symbol) {
  const QString text = WithoutFormatChars(locale.toCurrencyString(amount));
  const QString decimal = WithoutFormatChars(locale.decimalPoint());
  const QString group = WithoutFormatChars(locale.groupSeparator());
  const QString minus = WithoutFormatChars(locale.negativeSign());
  const qsizetype symbolAt = symbol.isEmpty() ? -1 : text.indexOf(symbol);
  QString shape;
  qsizetype i = 0;
  auto separatorAt = [&](qsizetype at, const QString& sep) {
    return !sep.isEmpty() && QStringView(text).mid(at).startsWith(sep) && at + sep.size() < text.size() &&
           text[at + sep.size()].isDigit();
  };
  while (i < text.size()) {
    const QChar c = text[i];
    if (i == symbolAt) {
      shape += u'$';
      i += symbol.size();
    } else if (c.isDigit()) {
      while (i < text.size()) {
        if (text[i].isDigit())
          ++i;
        else if (separatorAt(i, decimal))
          i += decimal.size();
        else if (separatorAt(i, group))
          i += group.size();
        else
          break;
      }
      shape += u'1';
    } else if (c.isSpace()) {
      if (!shape.endsWith(u' ')) shape += u' ';
      ++i;
    } else if (c == u'-' || c == QChar(0x2212) || (!minus.isEmpty() && minus.contains(c))) {
      shape += u'-';
      ++i;
    } else if (c == u'(' || c == u')') {
      shape += c;
      ++i;
    } else {
      ++i;
    }
  }
  return shape.trimmed();
}

// The form number whose rendering with symbol "$" and number "1" is `shape`, or -1.
int MatchCurrencyForm(const QString& shape, bool negative) {
  FormatSettings probe;
  probe.currencyString = QStringLiteral("$");
  for (int form = 0; form < (negative ? 16 : 4); ++form) {
    (negative ? probe.negCurrFormat : probe.currencyFormat) = form;
    if (ApplyCurrencyFormat(negative, QStringLiteral("1"), QString(), probe) == shape) return form;
  }
  return -1;
}

void ReadCurrencyForms(const QLocale& locale, FormatSettings& fs) {
  const QString symbol = fs.currencyString;
  const int positive = MatchCurrencyForm(CurrencyShape(locale, 1234.5, symbol), false);
  fs.currencyFormat = positive >= 0 ? positive : 0;
  const int negative = MatchCurrencyForm(CurrencyShape(locale, -1234.5, symbol), true);
  // A shape with no numbered form: the positive form with a leading minus.
  static const int kMinusBefore[] = {1, 5, 9, 8};
  fs.negCurrFormat = negative >= 0 ? negative : kMinusBefore[fs.currencyFormat];
}

// Quotes literal text for a FormatDateTime pattern.
QString QuoteLiteral(const QString& text) {
  if (text.isEmpty()) return QString();
  if (!text.contains(u'\'')) return u'\'' + text + u'\'';
  if (!text.contains(u'"')) return u'"' + text + u'"';
  QString out;
  for (QChar c : text) out += QuoteLiteral(QString(c));
  return out;
}

// Translates a Qt date or time format into a FormatDateTime pattern. The
// separator characters given become "/" and ":"; a two-digit year may be
// widened to four digits; time-zone codes are dropped.
QString PatternFromQt(const QString& format, QChar dateSeparator, QChar timeSeparator, bool widenYear) {
  QString out;
  bool droppedZone = false;
  const qsizetype n = format.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = format[i];
    if (c == u'\'') {
      QString literal;
      qsizetype j = i + 1;
      if (j < n && format[j] == u'\'') {
        literal = QStringLiteral("'");
        j += 1;
      } else {
        while (j < n) {
          if (format[j] == u'\'') {
            if (j + 1 < n && format[j + 1] == u'\'') {
              literal += u'\'';
              j += 2;
              continue;
            }
            ++j;
            break;
          }
          literal += format[j++];
        }
      }
      out += QuoteLiteral(literal);
      i = j;
      continue;
    }
    if (c.isLetter()) {
      qsizetype run = 1;
      while (i + run < n && format[i + run] == c) ++run;
      const int count = int(run);
      switch (c.unicode()) {
        case u'd': out += QString(std::min(count, 4), u'd'); break;
        case u'M': out += QString(std::min(count, 4), u'M'); break;
        case u'y': out += (count > 2 || widenYear) ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
        case u'h':
        case u'H': out += QString(std::min(count, 2), u'h'); break;
        case u'm': out += QString(std::min(count, 2), u'n'); break;
        case u's': out += QString(std::min(count, 2), u's'); break;
        case u'z': out += count >= 3 ? QStringLiteral("zzz") : QStringLiteral("z"); break;
        case u'a':
        case u'A':
          out += QStringLiteral("AMPM");
          run = 1;
          if (i + 1 < n && (format[i + 1] == u'p' || format[i + 1] == u'P')) run = 2;
          break;
        case u't': droppedZone = true; break;
        default: out += QuoteLiteral(format.mid(i, run)); break;
      }
      i += run;
      continue;
    }
    if (!dateSeparator.isNull() && c == dateSeparator)
      out += u'/';
    else if (!timeSeparator.isNull() && c == timeSeparator)
      out += u':';
    else if (c == u'/' || c == u':' || c == u'"')
      out += QuoteLiteral(QString(c));
    else
      out += c;
    ++i;
  }
  if (droppedZone) {
    out.remove(QStringLiteral("()"));
    out = out.trimmed();
  }
  return out;
}

// The first separator character after the first run of the given codes.
QChar SeparatorAfter(const QString& format, const QString& codes) {
  qsizetype i = 0;
  bool quoted = false;
  while (i < format.size() && (quoted || !codes.contains(format[i]))) {
    if (format[i] == u'\'') quoted = !quoted;
    ++i;
  }
  while (i < format.size() && format[i].isLetter()) ++i;
  for (; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c.isLetter() || c == u'\'') break;
    if (!c.isSpace() && !IsFormatChar(c) && !c.isDigit()) return c;
  }
  return QChar();
}

void ReadDateFormats(const QLocale& locale, FormatSettings& fs) {
  const QString shortQt = locale.dateFormat(QLocale::ShortFormat);
  const QChar separator = SeparatorAfter(shortQt, QStringLiteral("dMy"));
  if (!separator.isNull() && !shortQt.contains(QStringLiteral("MMM"))) {
    fs.dateSeparator = separator;
    fs.shortDateFormat = PatternFromQt(shortQt, separator, QChar(), true);
  } else {
    // No numeric short date (the C locale writes month names): keep the
    // locale's order with numbers and slashes, so dates can be typed.
    fs.dateSeparator = u'/';
    const qsizetype d = shortQt.indexOf(u'd'), m = shortQt.indexOf(u'M'), y = shortQt.indexOf(u'y');
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
      fs.shortDateFormat = QStringLiteral("yyyy/M/d");
    else if (d >= 0 && (m < 0 || d < m))
      fs.shortDateFormat = QStringLiteral("d/M/yyyy");
    else
      fs.shortDateFormat = QStringLiteral("M/d/yyyy");
  }
  fs.longDateFormat = PatternFromQt(locale.dateFormat(QLocale::LongFormat), QChar(), QChar(), false);
}

void ReadTimeFormats(const QLocale& locale, FormatSettings& fs) {
  const QString shortQt = locale.timeFormat(QLocale::ShortFormat);
  const QChar separator = SeparatorAfter(shortQt, QStringLiteral("hH"));
  fs.timeSeparator = separator.isNull() ? QChar(u':') : separator;
  fs.shortTimeFormat = PatternFromQt(shortQt, QChar(), fs.timeSeparator, false);
  fs.longTimeFormat = PatternFromQt(locale.timeFormat(QLocale::LongFormat), QChar(), fs.timeSeparator, false);
  fs.timeAMString = locale.amText();
  fs.timePMString = locale.pmText();
}

std::optional<FormatSettings>& CurrentStorage() {
  static std::optional<FormatSettings> settings;
  return settings;
}

}  // namespace

FormatSettings FormatSettings::FromLocale(const QLocale& locale) {
  FormatSettings fs;
  fs.decimalSeparator = FirstChar(locale.decimalPoint(), u'.');
  fs.thousandSeparator = FirstChar(locale.groupSeparator(), QChar());
  if (fs.thousandSeparator == fs.decimalSeparator) fs.thousandSeparator = QChar();
  fs.currencyString = WithoutFormatChars(locale.currencySymbol(QLocale::CurrencySymbol));
  ReadCurrencyForms(locale, fs);
  ReadDateFormats(locale, fs);
  ReadTimeFormats(locale, fs);
  fs.shortMonthNames.clear();
  fs.longMonthNames.clear();
  for (int month = 1; month <= 12; ++month) {
    fs.shortMonthNames << locale.monthName(month, QLocale::ShortFormat);
    fs.longMonthNames << locale.monthName(month, QLocale::LongFormat);
  }
  fs.shortDayNames.clear();
  fs.longDayNames.clear();
  for (int day = 1; day <= 7; ++day) {
    fs.shortDayNames << locale.dayName(day, QLocale::ShortFormat);
    fs.longDayNames << locale.dayName(day, QLocale::LongFormat);
  }
  return fs;
}

const FormatSettings& FormatSettings::Current() {
  auto& settings = CurrentStorage();
  if (!settings) settings = FromLocale(QLocale::system());
  return *settings;
}

void FormatSettings::SetCurrent(const FormatSettings& settings) {
  auto& current = CurrentStorage();
  if (!current || &settings != &*current) current = settings;
}
