// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text flow on arbitrary texts and formats with the test printer.
// Input: byte 0 flags (word wrap, grid, alignment, line spacing, file output),
// byte 1 the tab size, byte 2 the font size, byte 3 the margins; then pieces
// separated by zero bytes: the table format, then up to 24 operations whose first
// character picks Write (W), WriteLine (L), WriteLineAligned (A), WriteTableLine
// (T), NewLine (N), NewPage (P), or a header (H) and the rest is their text.
// Inputs are bounded (2 KiB, pieces of at most 256 characters) so that every run
// ends quickly; a run that does not end is a fault the fuzzer reports as a timeout.
//
// Checks: nothing throws; the document ends with a page list (pages mode) and
// a closed file (file mode); pages stay within a bound derived from the input.
#include <QApplication>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Conversions.h"
#include "FuzzSupport.h"
#include "PagePrnt.h"
#include "Printer.h"

namespace {

[[noreturn]] void Fail(const char* what, const QString& detail) {
  fprintf(stderr, "%s\n  detail: [%s]\n", what, detail.toUtf8().constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  TTestPrinter::Setup setup;
  setup.externalLeading = 3;
  StartFuzzing(argc, argv, setup);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 || size > 2048) return 0;
  const uint8_t flags = data[0];
  TPagePrinter pp;
  pp.SetWordWrap(flags & 1);
  pp.SetTableGrid(flags & 2);
  pp.SetAlignment(TAlignment((flags >> 2) % 3));
  pp.SetLineSpacing(TLineSpacing((flags >> 4) & 3));
  const bool toFile = flags & 0x40;
  pp.SetTabSize(data[1] % 17);
  pp.Font().SetSize(4 + data[2] % 60);
  const double margins[] = {0.1, 0.5, 1.0, 2.5, 4.0, 5.4};
  pp.SetMarginTop(margins[data[3] % 6]);
  pp.SetMarginBottom(margins[(data[3] / 6) % 6]);
  pp.SetMarginLeft(margins[(data[3] / 36) % 6]);
  pp.SetMarginRight(margins[(data[3] >> 4) % 6]);
  if (toFile) {
    pp.SetPrintToFile(true);
    pp.SetFileName(QStringLiteral("/dev/null"));
  }

  QStringList pieces;
  const char* p = reinterpret_cast<const char*>(data + 4);
  const char* end = reinterpret_cast<const char*>(data + size);
  while (p < end && pieces.size() < 25) {
    const char* zero = static_cast<const char*>(memchr(p, 0, size_t(end - p)));
    const char* stop = zero ? zero : end;
    pieces << QString::fromUtf8(p, qsizetype(stop - p)).left(256);
    p = zero ? zero + 1 : end;
  }
  if (pieces.isEmpty()) return 0;
  pp.SetTableFormat(pieces.takeFirst());
  if (toFile) {
    // A file pads every cell to its column width in spaces: keep columns page-sized
    // so that a run writes kilobytes, not gigabytes.
    QStringList columns;
    TPagePrinter::SplitTokens(pp.TableFormat(), pp.TokenSeparator(), columns);
    for (QString column : columns) {
      TAlignment alignment;
      double width;
      pp.ParseColumnFormat(column, alignment, width);
      if (!(width > -100 && width < 100)) return 0;
    }
  }

  int newLines = 0;
  pp.SetOnNewLine([&](QObject*) { ++newLines; });
  try {
    pp.BeginDoc();
    for (const QString& op : pieces) {
      const QChar kind = op.isEmpty() ? QChar('L') : op[0];
      const QString text = op.mid(1);
      switch (kind.unicode()) {
        case 'W': pp.Write(text); break;
        case 'A': pp.WriteLineAligned(TAlignment(text.size() % 3), text); break;
        case 'T': pp.WriteTableLine(text); break;
        case 'N': pp.NewLine(); break;
        case 'P': pp.NewPage(); break;
        case 'H':
          pp.SetHeader(text);
          pp.SetHeaderFormat(text.size() % 2 ? QStringLiteral("^1|>0.5") : QStringLiteral("<-2"));
          pp.SetFooter(text);
          pp.SetFooterFormat(QStringLiteral(">3"));
          break;
        default: pp.WriteLine(text); break;
      }
    }
    pp.EndDoc();
  } catch (const std::exception& e) {
    Fail("the flow threw", QString::fromUtf8(e.what()));
  }
  if (pp.Printing() || pp.FileOpen()) Fail("document still open", QString());
  if (!toFile && pp.PageCount() < 1) Fail("no page", QString());
  // Every character can take a line of its own, and every line a page of its own.
  const int bound = 4 * int(size) * (1 + int(pieces.size())) + 8;
  if (pp.PageCount() > bound || newLines > bound * 8) Fail("runaway output", QString::number(pp.PageCount()));
  return 0;
}
