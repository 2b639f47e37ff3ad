// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Fuzzes the number grammar: what TryTextToFloat accepts must match the
// grammar exactly, carry the C library's correctly rounded value, and survive
// a round trip through the general format. Whole numbers must agree too.
#include <QRegularExpression>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

#include "Conversions.h"

namespace {

FormatSettings Settings(QChar decimal) {
  FormatSettings fs;
  fs.decimalSeparator = decimal;
  fs.thousandSeparator = decimal == u'.' ? u',' : u'.';
  return fs;
}

bool MatchesGrammar(const QString& text, QChar decimal) {
  const QString sep = QRegularExpression::escape(QString(decimal));
  const QRegularExpression grammar("\\A *[+-]?([0-9]+" + sep + "?[0-9]*|" + sep + "[0-9]*)([eE][+-]?[0-9]+)? *\\z");
  return grammar.match(text).hasMatch();
}

// The value the grammar's text stands for, by the C library (C locale).
long double Reference(const QString& text, QChar decimal) {
  QByteArray ascii = text.trimmed().toLatin1();
  ascii.replace(char(decimal.unicode()), '.');
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  const char* start = ascii.constData();
  if (*start == '+' || *start == '-') ++start;
  if (*start == '.' && !(start[1] >= '0' && start[1] <= '9')) return 0;  // a lone separator is zero
  long double v = strtold_l(start, nullptr, c);
  return ascii.startsWith('-') ? -v : v;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 12000) return 0;
  const QString texts[] = {QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)),
                           QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size))};
  for (const QString& text : texts) {
    for (QChar decimal : {QChar(u'.'), QChar(u',')}) {
      const FormatSettings fs = Settings(decimal);
      long double value = 12345;
      const bool accepted = TryTextToFloat(text, value, fs);
      const bool grammar = MatchesGrammar(text, decimal);
      if (!grammar) {
        Check(!accepted && value == 12345);
        continue;
      }
      const long double expected = Reference(text, decimal);
      if (std::isinf(expected)) {
        Check(!accepted);
        continue;
      }
      Check(accepted && value == expected);
      const QString general = FloatToStrGeneral(value, fs);
      long double back = 0;
      Check(TryTextToFloat(general, back, fs));
      Check(FloatToStrGeneral(back, fs) == general);
      (void)FormatCurrency(value, 2, fs);
      (void)FormatFixed(value, int(size % 19), fs);
    }
    int32_t whole = 0;
    if (TryStrToInt(text, whole)) {
      long double asFloat = 0;
      Check(TryTextToFloat(text, asFloat, Settings(u'.')) && asFloat == whole);
      Check(!text.endsWith(u' '));
    }
  }
  return 0;
}
