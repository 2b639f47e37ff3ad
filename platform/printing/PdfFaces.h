// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The document's faces for the faces Qt lays text out in. Qt finds its faces
// through fontconfig and loads them with FreeType; the same fontconfig entry
// (family and style, the file and face index behind them) gives the document
// the same file, so Qt's glyph indexes draw the same glyphs. A style asked for
// that the face lacks is synthesised, as Qt does on the screen.
#include <QHash>
#include <QRawFont>
#include <QString>
#include <memory>
#include <vector>

#include "PdfFonts.h"

// A face at a size: what one run of glyphs draws with.
struct PdfFaceRef {
  PdfFontFace* face = nullptr;  // null: no file was found; the glyphs are skipped
  double size = 0;              // pixels of the current frame
  bool oblique = false;         // slanted by its matrix: the face has no italic
  bool stroked = false;         // made heavier by a stroke round its outline: the face has no bold
};

class PdfFaceCache {
 public:
  explicit PdfFaceCache(PdfFontSet& fonts) : fonts_(fonts) {}
  PdfFaceCache(const PdfFaceCache&) = delete;
  PdfFaceCache& operator=(const PdfFaceCache&) = delete;

  // The face drawing a run laid out in raw, for a font asked for with these styles; the
  // same raw face, size and styles always answer the same reference.
  const PdfFaceRef* Face(const QRawFont& raw, bool bold, bool italic);

 private:
  struct Loaded {
    PdfFontFace* face = nullptr;
    bool oblique = false;
    bool stroked = false;
  };
  Loaded Load(const QRawFont& raw, bool bold, bool italic);
  PdfFontSet& fonts_;
  QHash<QString, Loaded> faces_;      // by family, style and synthesis
  QHash<QString, PdfFaceRef*> refs_;  // by face and size
  std::vector<std::unique_ptr<PdfFaceRef>> owned_;
  PdfFaceRef missing_;  // for fonts without a face: nothing to draw with
};
