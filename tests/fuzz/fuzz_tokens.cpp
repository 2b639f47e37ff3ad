// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Token replacement on arbitrary text.
// Input: pattern, replacement and text in UTF-8, separated by the first two zero
// bytes (missing parts are empty); byte 0 of the pattern part also picks the title.
//
// Checks: ReplaceAll agrees with Qt's own left-to-right, non-overlapping
// replacement for every non-empty pattern and leaves the text alone for an empty
// one; ReplaceTokens never throws, leaves a text without "{$" unchanged, and
// (without date or time tokens) equals the replacement of the tokens in order.
#include <QApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Conversions.h"
#include "FuzzSupport.h"
#include "PagePrnt.h"

namespace {

TPagePrinter* g_component = nullptr;

QString NextPart(const char*& p, const char* end) {
  const char* zero = static_cast<const char*>(memchr(p, 0, size_t(end - p)));
  const char* stop = zero ? zero : end;
  QString part = QString::fromUtf8(p, qsizetype(stop - p));
  p = zero ? zero + 1 : end;
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzing(argc, argv);
  g_component = new TPagePrinter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  const char* p = reinterpret_cast<const char*>(data);
  const char* end = p + size;
  const QString pattern = NextPart(p, end);
  const QString replacement = NextPart(p, end);
  const QString text = NextPart(p, end);

  const QString result = TPagePrinter::ReplaceAll(pattern, replacement, text);
  if (pattern.isEmpty()) {
    if (result != text) Fail("empty pattern changed the text", text, result);
  } else {
    QString reference = text;
    reference.replace(pattern, replacement);
    if (result != reference) Fail("ReplaceAll differs from the reference", text, result);
  }

  TPagePrinter& pp = *g_component;
  pp.SetTitle(replacement);
  QString tokens;
  try {
    tokens = pp.ReplaceTokens(text);
  } catch (...) {
    Fail("ReplaceTokens threw", text, QString());
  }
  if (!text.contains(QLatin1String("{$")) && tokens != text) Fail("text without tokens changed", text, tokens);
  // Without date or time tokens the result is fully determined: the tokens in
  // order, each in the result of the one before.
  QString reference = text;
  reference.replace(QLatin1String("{$LINE}"), QString::number(pp.LineNumber()));
  reference.replace(QLatin1String("{$PAGE}"), QString::number(pp.PageNumber()));
  if (!reference.contains(QLatin1String("{$DATE}")) && !reference.contains(QLatin1String("{$TIME}"))) {
    reference.replace(QLatin1String("{$TITLE}"), replacement);
    if (tokens != reference) Fail("ReplaceTokens differs from the reference", text, tokens);
  }
  return 0;
}
