// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A text drawn as one line (a cell, a header or footer, a plain line) must not
// end at a line or paragraph break inside it: Qt's layout would stop there and
// a text file would break its line. Every output shows such characters as
// blanks, measured as blanks.
#include <QString>

constexpr bool BreaksALine(char16_t c) {
  return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

inline QString OneLine(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && !BreaksALine(text[i].unicode())) ++i;
  if (i == n) return text;
  QString shown = text;
  for (; i < n; ++i)
    if (BreaksALine(shown[i].unicode())) shown[i] = QChar(u' ');
  return shown;
}
