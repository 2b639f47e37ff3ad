// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The fonts of a PDF document. An OpenType face (TrueType or CFF outlines, a
// member of a collection, a variable font at its named instance) is embedded
// as a subset made by HarfBuzz, its glyph indexes kept, so the codes on the
// pages are Qt's own glyph indexes. Any other face FreeType can read (Type 1,
// bitmaps only, outlines HarfBuzz cannot subset) becomes Type 3 fonts of the
// outlines or strike bitmaps FreeType gives. Each code used is mapped to the
// text it was drawn for.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

class PdfWriter;
struct PdfFontFace;
struct FT_LibraryRec_;

class PdfFontSet {
 public:
  explicit PdfFontSet(PdfWriter& writer);
  ~PdfFontSet();
  PdfFontSet(const PdfFontSet&) = delete;
  PdfFontSet& operator=(const PdfFontSet&) = delete;

  // The face in this file at this index (a named instance in its upper 16
  // bits); embolden draws it heavier. Null when FreeType cannot read it.
  PdfFontFace* Face(const QByteArray& file, int index, bool embolden);
  // Whether the face is drawn heavier by stroking its outline (a subset face)
  // rather than by outlines made heavier (a Type 3 face).
  static bool StrokesToEmbolden(const PdfFontFace& face);

  // Where a glyph is drawn from: a font, its code in that font (bytes long)
  // and its advance in ems.
  struct Code {
    int font = 0;
    unsigned code = 0;
    int bytes = 1;
    double advance = 0;
  };
  Code Use(PdfFontFace& face, unsigned long glyph);
  // Maps the code to the text (UTF-8); false when it stands for other text already.
  bool MapText(int font, unsigned code, const char* utf8, int bytes);
  const QByteArray& ResourceName(int font) const;

  // Every font's objects; then Resources() names them.
  void Write();
  QByteArray Resources() const;

 private:
  struct Font;
  int NewFont(PdfFontFace& face, bool cid);
  void WriteSubset(Font& font);
  void WriteType3(Font& font);
  int WriteToUnicode(const Font& font);

  PdfWriter& writer_;
  FT_LibraryRec_* library_ = nullptr;  // the document's own: FreeType's are not shared between threads
  QHash<QByteArray, PdfFontFace*> byKey_;
  std::vector<std::unique_ptr<PdfFontFace>> faces_;
  std::vector<std::unique_ptr<Font>> fonts_;
  std::vector<QByteArray> names_;  // by font: its name in the pages' resources
};
