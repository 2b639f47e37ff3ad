// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The PDF printer on arbitrary texts: any UTF-16 (lone surrogates, marks,
// right-to-left runs, characters no installed face has), fonts, styles,
// heights and escapements, drawn directly and through a recorded page.
// Input: byte 0 the font (bits 0-1) and style (bits 2-5), byte 1 the height,
// byte 2 the escapement; then UTF-16 code units (little-endian), texts separated
// by U+0000. Inputs are bounded (1 KiB) so that every run ends quickly.
//
// Checks: nothing throws and the file is a complete PDF (header and end marker).
#include <QDir>
#include <QFile>
#include <cstdint>
#include <unistd.h>

#include "Canvas.h"
#include "Errors.h"
#include "FuzzSupport.h"
#include "Metafile.h"

namespace {

[[noreturn]] void FailWith(const char* what, const QString& detail) {
  fprintf(stderr, "%s\n  detail: [%s]\n", what, detail.toUtf8().constData());
  std::abort();
}

}  // namespace

// Full stacks for leak reports: fontconfig has no frame pointers, and only a
// full stack reaches the Qt function the suppressions name.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0:malloc_context_size=40"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzing(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > 1024) return 0;
  const char* names[] = {"Courier New", "Arial", "MS Sans Serif", "No Such Font Anywhere"};
  TFont font;
  font.SetName(QString::fromLatin1(names[data[0] & 3]));
  font.SetStyle(TFontStyles((data[0] >> 2) & 0xF));
  font.SetHeight(-(4 + data[1] % 250));
  const int escapements[] = {0, 450, 900, 1800, 2700, -900, 3599, 123};
  font.SetOrientation(escapements[data[2] % 8]);
  QStringList texts{QString()};
  for (size_t i = 3; i + 1 < size; i += 2) {
    const char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
    if (unit == 0)
      texts.append(QString());
    else
      texts.last().append(QChar(unit));
  }

  const QString file = QDir::temp().filePath(QStringLiteral("tallyvane-fuzz-pdf-%1.pdf").arg(getpid()));
  auto printer = MakePdfPrinter(file);
  try {
    TMetafile page;
    page.SetWidth(GetDeviceCaps(printer->Handle(), HORZRES));
    page.SetHeight(GetDeviceCaps(printer->Handle(), VERTRES));
    {
      TMetafileCanvas recorder(&page, printer->Handle());
      recorder.Font().Assign(font);
      recorder.Brush().Style = (data[0] & 0x40) ? bsSolid : bsClear;
      for (int i = 0; i < texts.size(); ++i) recorder.TextOut(100 + 37 * i, 200 + 300 * i, texts[i]);
    }
    printer->BeginDoc();
    TCanvas* canvas = printer->Canvas();
    canvas->Font().Assign(font);
    for (int i = 0; i < texts.size(); ++i) canvas->TextOut(2000, 100 + 250 * i, texts[i]);
    printer->NewPage();
    printer->Canvas()->Draw(0, 0, page);
    printer->Canvas()->StretchDraw(QRect(0, 0, page.Width() / 3, page.Height() / 3), page);
    printer->EndDoc();
  } catch (const Exception& e) {
    FailWith("the PDF printer raised", e.Message());
  }
  QFile written(file);
  if (!written.open(QIODevice::ReadOnly)) FailWith("no PDF was written", file);
  const QByteArray bytes = written.readAll();
  if (!bytes.startsWith("%PDF-1.") || !bytes.trimmed().endsWith("%%EOF"))
    FailWith("an incomplete PDF", texts.join('|'));
  written.remove();
  return 0;
}
