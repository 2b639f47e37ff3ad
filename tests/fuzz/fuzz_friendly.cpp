// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The friendly header/footer notation on arbitrary text and file names.
// Input: byte 0 chooses the margins and the separator, then the file name and
// the friendly text in UTF-8, separated by the first zero byte (no zero byte:
// all of it is the friendly text and the file name stays empty).
//
// Checks: the conversion never throws; the cell text holds no ampersand code
// (every "&" left in it came from "&&" or from the file name); the format has
// one column per column code (at least one), each an alignment character and
// the same width, which is the text area's width divided among them.
#include <QApplication>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "Conversions.h"
#include "FuzzSupport.h"
#include "PagePrnt.h"

namespace {

TPagePrinter* g_component = nullptr;

// Column codes the notation defines: "&l", "&c", "&r" outside an escape.
int ColumnCodes(const QString& text) {
  int count = 0;
  bool escape = false;
  for (const QChar ch : text) {
    if (!escape) {
      escape = ch == '&';
      continue;
    }
    escape = false;
    if (ch == 'l' || ch == 'c' || ch == 'r') ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzing(argc, argv);
  g_component = new TPagePrinter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  TPagePrinter& pp = *g_component;
  const double margins[] = {0.1, 0.5, 1.0, 3.9, 4.2};
  pp.SetMarginLeft(margins[data[0] % 5]);
  pp.SetMarginRight(margins[(data[0] / 5) % 5]);
  pp.SetTokenSeparator((data[0] & 0x80) ? QChar(';') : QChar('|'));
  const char* rest = reinterpret_cast<const char*>(data + 1);
  const size_t length = size - 1;
  const char* zero = static_cast<const char*>(memchr(rest, 0, length));
  QString fileName, text;
  if (zero) {
    fileName = QString::fromUtf8(rest, zero - rest);
    text = QString::fromUtf8(zero + 1, qsizetype(length - (zero - rest) - 1));
  } else {
    text = QString::fromUtf8(rest, qsizetype(length));
  }
  pp.SetFileName(fileName);

  try {
    pp.SetFriendlyHeader(text);
    pp.SetFriendlyFooter(text);
  } catch (...) {
    Fail("the conversion threw", text, QString());
  }
  if (pp.FriendlyHeader() != text) Fail("friendly text not kept", text, pp.FriendlyHeader());
  // Date and time codes may tick between the two conversions.
  const bool moments = text.contains(QLatin1String("&d")) || text.contains(QLatin1String("&D")) ||
                       text.contains(QLatin1String("&t")) || text.contains(QLatin1String("&T"));
  if ((!moments && pp.Header() != pp.Footer()) || pp.HeaderFormat() != pp.FooterFormat())
    Fail("header and footer differ", text, pp.Footer());
  if (!fileName.contains('&') && !text.contains(QLatin1String("&&")) && pp.Header().contains('&'))
    Fail("an ampersand code survived", text, pp.Header());

  QStringList columns;
  TPagePrinter::SplitTokens(pp.HeaderFormat(), pp.TokenSeparator(), columns);
  const int codes = ColumnCodes(text);
  if (columns.size() < 1) Fail("no column", text, pp.HeaderFormat());
  // Text before the first column code adds one left column.
  if (columns.size() != codes && columns.size() != codes + 1 && !(codes == 0 && columns.size() == 1))
    Fail("column count differs from the codes", text, pp.HeaderFormat());
  double first = 0;
  for (int i = 0; i < columns.size(); ++i) {
    QString piece = columns[i];
    const QChar a = piece.isEmpty() ? QChar() : piece[0];
    if (a != '<' && a != '>' && a != '^') Fail("column without alignment", text, pp.HeaderFormat());
    TAlignment alignment;
    double width;
    pp.ParseColumnFormat(piece, alignment, width);
    if (i == 0) first = width;
    if (width != first) Fail("columns of different widths", text, pp.HeaderFormat());
  }
  if (std::fabs(first * double(columns.size()) - pp.ContentWidth()) > 0.005 * double(columns.size()) + 1e-9)
    Fail("columns do not span the text area", text, pp.HeaderFormat());
  return 0;
}
