// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Column format normalization on arbitrary text, separators, default widths and units.
// Input: byte 0 chooses the separator, byte 1 the unit, the convert flag and the
// locale's decimal separator, byte 2 the default column width; the rest is the format
// text in UTF-8.
//
// Checks: normalization never throws; a non-empty format keeps its number of columns;
// every column starts with an alignment character; the canonical form reads back
// unchanged (when the separator cannot occur inside a canonical column).
#include <QApplication>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "Conversions.h"
#include "FuzzSupport.h"
#include "PagePrnt.h"

namespace {

TPagePrinter* g_component = nullptr;

const char16_t kSeparators[] = {u'|', u';', u',', u'.', u' ', u'\t', u'<', u'1', u'e', u'-', u'\u00e9', u'/'};

bool CanAppearInCanonicalColumn(QChar c, QChar decimal) {
  return c.isDigit() || c == decimal || c == '-' || c == '+' || c == 'E' || c == 'e' || c == '<' || c == '>' ||
         c == '^';
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzing(argc, argv);
  g_component = new TPagePrinter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  TPagePrinter& pp = *g_component;
  const QChar separator(kSeparators[data[0] % (sizeof kSeparators / sizeof kSeparators[0])]);
  const bool millimetres = data[1] & 1;
  const bool convert = data[1] & 2;
  const bool decimalComma = data[1] & 4;
  const double defaultWidth = (int(data[2]) - 64) / 8.0;
  const QString format = QString::fromUtf8(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));

  FormatSettings fs = FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  if (decimalComma) {
    fs.decimalSeparator = ',';
    fs.thousandSeparator = '.';
  }
  FormatSettings::SetCurrent(fs);
  pp.SetMeasureUnit(millimetres ? muMillimeters : muInches);
  pp.SetDefaultColWidth(defaultWidth);
  pp.SetTokenSeparator(separator);

  QString result;
  try {
    result = pp.NormalizeFormat(format, convert);
  } catch (...) {
    Fail("NormalizeFormat threw", format, QString());
  }

  if (format.isEmpty()) {
    if (!result.isEmpty()) Fail("empty format gave a non-empty result", format, result);
    return 0;
  }
  QStringList in, out;
  TPagePrinter::SplitTokens(format, separator, in);
  TPagePrinter::SplitTokens(result, separator, out);
  const bool separatorIsSafe = !CanAppearInCanonicalColumn(separator, fs.decimalSeparator);
  if (separatorIsSafe) {
    if (in.size() != out.size()) Fail("column count changed", format, result);
    for (const QString& piece : out)
      if (piece.isEmpty() || (piece[0] != '<' && piece[0] != '>' && piece[0] != '^'))
        Fail("column without alignment character", format, result);
    const QString again = pp.NormalizeFormat(result, false);
    if (again != result) Fail("canonical form does not read back unchanged", result, again);
  }
  // Parsing every column of the result must also be safe.
  for (QString piece : out) {
    TAlignment alignment;
    double width;
    pp.ParseColumnFormat(piece, alignment, width);
    (void)pp.UnitsToPixelsX(width < 0 ? -width : width);
  }
  return 0;
}
