// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Fuzzes the short-date conversion in three regional orders: it accepts
// exactly three numbers around the settings' separator that form a real date,
// and an accepted date reads back from its own formatted text. The input is
// also used as a FormatDateTime pattern, which must always terminate.
#include <QDate>
#include <QRegularExpression>
#include <QString>
#include <cstdint>

#include "Conversions.h"

namespace {

struct Region {
  QChar separator;
  const char* pattern;  // short date format: gives the order
  const char* order;    // "MDY", "DMY", "YMD"
};

const Region kRegions[] = {{u'/', "M/d/yyyy", "MDY"}, {u'.', "dd/MM/yyyy", "DMY"}, {u'-', "yyyy/MM/dd", "YMD"}};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const int currentYear = QDate::currentDate().year();
  for (const Region& region : kRegions) {
    FormatSettings fs;
    fs.dateSeparator = region.separator;
    fs.shortDateFormat = QString::fromLatin1(region.pattern);
    QDate date(1800, 1, 1);
    const bool accepted = TryStrToDate(text, date, fs);

    // The independent reading of the same rule.
    const QString sep = QRegularExpression::escape(QString(region.separator));
    const QRegularExpression shape("\\A *([0-9]+) *" + sep + " *([0-9]+) *" + sep + " *([0-9]+) *\\z");
    const auto match = shape.match(text);
    bool expected = match.hasMatch();
    int day = 0, month = 0, year = 0;
    for (int part = 0; expected && part < 3; ++part) {
      const QString digits = match.captured(part + 1);
      const int value = digits.size() <= 4 ? digits.toInt() : -1;
      switch (region.order[part]) {
        case 'D':
          expected = digits.size() <= 2;
          day = value;
          break;
        case 'M':
          expected = digits.size() <= 2;
          month = value;
          break;
        default:
          expected = digits.size() == 2 || digits.size() == 4;
          year = digits.size() == 2 ? ExpandTwoDigitYear(value, currentYear) : value;
          break;
      }
    }
    expected = expected && year >= 1 && QDate::isValid(year, month, day);
    Check(accepted == expected);
    if (!accepted) {
      Check(date == QDate(1800, 1, 1));
      continue;
    }
    Check(date == QDate(year, month, day));
    QDate again;
    Check(TryStrToDate(FormatDateTime("ddddd", QDateTime(date, QTime(0, 0)), fs), again, fs) && again == date);
  }
  FormatSettings fs;
  const QString formatted = FormatDateTime(text, QDateTime(QDate(2025, 1, 31), QTime(13, 4, 5)), fs);
  Check(formatted.size() <= 64 * (text.size() + 1));
  return 0;
}
