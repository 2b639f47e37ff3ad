// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Dates: short-date reading in the regional order and date/time patterns.
#include "Dates.h"
#include "Errors.h"

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

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
  auto name = [](const QStringList& names, int index) {
    return index >= 0 && index < names.size() ? names[index] : QString();
  };
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
      case u'Y': out += count <= 2 ? Padded(date.year() % 100, 2) : Padded(date.year(), 4); break;
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
      case u'N': out += count == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2); break;
      case u'S': out += count == 1 ? QString::number(time.second()) : Padded(time.second(), 2); break;
      case u'Z': out += count < 3 ? QString::number(time.msec()) : Padded(time.msec(), 3); break;
      case u'T': AppendDateTime(out, count == 1 ? fs.shortTimeFormat : fs.longTimeFormat, moment, fs, depth + 1); break;
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
      case u'/': out += fs.dateSeparator; break;
      case u':': out += fs.timeSeparator; break;
      default: out += QStringView(pattern).mid(i, count); break;
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
