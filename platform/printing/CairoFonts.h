// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Cairo font faces for the faces Qt lays text out in. Qt finds its faces
// through fontconfig and loads them with FreeType; the same fontconfig entry
// (family and style, the file and face index behind them) gives cairo the same
// file, so Qt's glyph indexes draw the same glyphs. A style asked for that the
// face lacks is synthesised, as Qt does on the screen.
#include <QHash>
#include <QRawFont>
#include <cairo.h>
#include <QString>
#include <memory>
#include <vector>

// A face at a size: what one cairo_show_text_glyphs call draws with.
struct CairoFaceRef {
  cairo_font_face_t* face = nullptr;  // null: no file was found; the glyphs are skipped
  double size = 0;                    // pixels of the current frame
  bool bitmap = false;                // a face of bitmaps only, without outlines
  bool oblique = false;               // slanted by its matrix: the face has no italic
};

class CairoFontCache {
 public:
  CairoFontCache() = default;
  ~CairoFontCache();
  CairoFontCache(const CairoFontCache&) = delete;
  CairoFontCache& operator=(const CairoFontCache&) = delete;

  // The face drawing a run laid out in raw, for a font asked for with these styles; the
  // same raw face, size and styles always answer the same reference.
  const CairoFaceRef* Face(const QRawFont& raw, bool bold, bool italic);

 private:
  struct Loaded {
    cairo_font_face_t* face = nullptr;
    bool bitmap = false;
    bool oblique = false;
  };
  static Loaded Load(const QRawFont& raw, bool bold, bool italic);
  QHash<QString, Loaded> faces_;        // by family, style and synthesis
  QHash<QString, CairoFaceRef*> refs_;  // by face and size
  std::vector<std::unique_ptr<CairoFaceRef>> owned_;
  CairoFaceRef missing_;  // for fonts without a face: nothing to draw with
};
