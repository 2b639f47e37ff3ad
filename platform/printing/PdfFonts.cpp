// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfFonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <hb-ot.h>
#include <hb-subset.h>

#include <algorithm>
#include <cmath>

#include "PdfWriter.h"

namespace {

constexpr int kType3Codes = 256;

enum class Kind { Subset, Outlines, Bitmaps };

hb_tag_t Tag(const char* t) { return HB_TAG(t[0], t[1], t[2], t[3]); }

bool HasTable(hb_face_t* face, const char* tag) {
  hb_blob_t* table = hb_face_reference_table(face, Tag(tag));
  const bool has = hb_blob_get_length(table) > 0;
  hb_blob_destroy(table);
  return has;
}

// Pins every axis at the named instance the index asks for; false when the face has none such.
bool PinInstance(hb_subset_input_t* input, hb_face_t* face, int instance) {
  if (instance <= 0) return true;
  unsigned axes = hb_ot_var_get_axis_count(face);
  std::vector<float> coords(axes);
  unsigned count = axes;
  if (hb_ot_var_named_instance_get_design_coords(face, unsigned(instance - 1), &count, coords.data()) == 0 && axes > 0)
    return false;
  std::vector<hb_ot_var_axis_info_t> infos(axes);
  unsigned infoCount = axes;
  hb_ot_var_get_axis_infos(face, 0, &infoCount, infos.data());
  for (unsigned i = 0; i < infoCount && i < count; ++i)
    if (!hb_subset_input_pin_axis_location(input, face, infos[i].tag, coords[i])) return false;
  return true;
}

// The subset of the face with the glyphs asked for, their indexes kept; empty when HarfBuzz cannot make it.
QByteArray Subset(const QByteArray& file, int index, const std::vector<unsigned>& glyphs) {
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.constData());
  if (!blob) return {};
  hb_face_t* face = hb_face_create(blob, unsigned(index & 0xFFFF));
  hb_blob_destroy(blob);
  QByteArray bytes;
  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (input && PinInstance(input, face, index >> 16)) {
    hb_subset_input_set_flags(
        input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING | HB_SUBSET_FLAGS_DESUBROUTINIZE);
    hb_set_t* wanted = hb_subset_input_glyph_set(input);
    hb_set_add(wanted, 0);
    for (const unsigned g : glyphs) hb_set_add(wanted, g);
    // A reader needs outlines and metrics only, not the layout tables.
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* tag : {"GSUB", "GPOS", "GDEF", "BASE", "JSTF", "MATH", "kern", "morx", "mort", "kerx", "feat",
                            "DSIG", "STAT", "MVAR", "vhea", "vmtx", "VORG", "COLR", "CPAL", "SVG ", "sbix"})
      hb_set_add(dropped, Tag(tag));
    if (hb_face_t* made = hb_subset_or_fail(face, input)) {
      hb_blob_t* out = hb_face_reference_blob(made);
      unsigned length = 0;
      const char* data = hb_blob_get_data(out, &length);
      bytes = QByteArray(data, qsizetype(length));
      hb_blob_destroy(out);
      hb_face_destroy(made);
    }
  }
  if (input) hb_subset_input_destroy(input);
  hb_face_destroy(face);
  return bytes;
}

// A PDF name of letters, digits and a few marks, from a PostScript name.
QByteArray NameOf(const char* name, const QByteArray& fallback) {
  QByteArray out;
  for (const char* p = name; p && *p; ++p) {
    const char c = *p;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '+' || c == '.')
      out += c;
  }
  return out.isEmpty() ? fallback : out;
}

// Six capitals that tell one subset from another in the same document.
QByteArray SubsetTag(int id) {
  QByteArray tag(6, 'A');
  unsigned v = unsigned(id) * 2654435761u;
  for (char& c : tag) {
    c = char('A' + v % 26);
    v /= 26;
  }
  return tag;
}

QByteArray Num(double v) {
  QByteArray out;
  AppendPdfNumber(out, v);
  return out;
}

QByteArray HexCode(unsigned code, int bytes) {
  QByteArray out;
  AppendPdfHex(out, code, bytes);
  return out;
}

struct PathWriter {
  QByteArray* out;
  double scale;
  void Point(const FT_Vector* p) {
    AppendPdfNumber(*out, double(p->x) * scale);
    *out += ' ';
    AppendPdfNumber(*out, double(p->y) * scale);
    *out += ' ';
  }
  FT_Vector last{};
};

QByteArray OutlinePath(FT_Outline* outline, double scale) {
  QByteArray path;
  PathWriter writer{&path, scale};
  FT_Outline_Funcs funcs{};
  funcs.move_to = [](const FT_Vector* to, void* user) {
    auto* w = static_cast<PathWriter*>(user);
    if (!w->out->isEmpty()) *w->out += "h\n";
    w->Point(to);
    *w->out += "m\n";
    w->last = *to;
    return 0;
  };
  funcs.line_to = [](const FT_Vector* to, void* user) {
    auto* w = static_cast<PathWriter*>(user);
    w->Point(to);
    *w->out += "l\n";
    w->last = *to;
    return 0;
  };
  funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* w = static_cast<PathWriter*>(user);
    // The quadratic as the cubic it is: controls two thirds of the way to the quadratic's.
    const FT_Vector c1{w->last.x + (control->x - w->last.x) * 2 / 3, w->last.y + (control->y - w->last.y) * 2 / 3};
    const FT_Vector c2{to->x + (control->x - to->x) * 2 / 3, to->y + (control->y - to->y) * 2 / 3};
    w->Point(&c1);
    w->Point(&c2);
    w->Point(to);
    *w->out += "c\n";
    w->last = *to;
    return 0;
  };
  funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* w = static_cast<PathWriter*>(user);
    w->Point(c1);
    w->Point(c2);
    w->Point(to);
    *w->out += "c\n";
    w->last = *to;
    return 0;
  };
  FT_Outline_Decompose(outline, &funcs, &writer);
  if (!path.isEmpty()) path += "h\n";
  return path;
}

}  // namespace

struct PdfFontFace {
  QByteArray file;
  int index = 0;
  bool embolden = false;
  Kind kind = Kind::Outlines;
  bool cff = false;  // subset: CFF outlines rather than TrueType's
  FT_Face ft = nullptr;
  double unitsPerEm = 1000;  // outlines: font units per em; bitmaps: the strike's pixels per em
  QByteArray name;
  std::vector<float> advances;  // ems by glyph index; negative: not yet known
  int cidFont = -1;
  QHash<unsigned long, PdfFontSet::Code> type3;  // glyph index: its code
  ~PdfFontFace() {
    if (ft) FT_Done_Face(ft);
  }
};

struct PdfFontSet::Font {
  int id = 0;
  PdfFontFace* face = nullptr;
  bool cid = false;
  std::vector<unsigned long> glyphs;  // Type 3: by code; CID: every index used
  std::vector<bool> used;             // CID: by glyph index
  std::vector<QByteArray> text;       // by code: what it reads as, in UTF-8; empty: not mapped
};

PdfFontSet::PdfFontSet(PdfWriter& writer) : writer_(writer) {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

PdfFontSet::~PdfFontSet() {
  faces_.clear();
  if (library_) FT_Done_FreeType(library_);
}

bool PdfFontSet::StrokesToEmbolden(const PdfFontFace& face) { return face.kind == Kind::Subset && face.embolden; }

PdfFontFace* PdfFontSet::Face(const QByteArray& file, int index, bool embolden) {
  const QByteArray key = file + '\n' + QByteArray::number(index) + (embolden ? "\nb" : "\nr");
  if (PdfFontFace* known = byKey_.value(key)) return known;
  auto face = std::make_unique<PdfFontFace>();
  face->file = file;
  face->index = index;
  face->embolden = embolden;
  if (!library_ || FT_New_Face(library_, file.constData(), index, &face->ft) != 0) {
    face->ft = nullptr;
    byKey_.insert(key, nullptr);
    return nullptr;
  }
  FT_Face ft = face->ft;
  face->name = NameOf(FT_Get_Postscript_Name(ft), NameOf(ft->family_name, "Font"));
  if (!FT_IS_SCALABLE(ft)) {
    face->kind = Kind::Bitmaps;
    // The largest strike: scaled down, it keeps the most of the face's drawing.
    int best = 0;
    for (int i = 1; i < ft->num_fixed_sizes; ++i)
      if (ft->available_sizes[i].y_ppem > ft->available_sizes[best].y_ppem) best = i;
    if (ft->num_fixed_sizes == 0 || FT_Select_Size(ft, best) != 0) {
      byKey_.insert(key, nullptr);
      return nullptr;
    }
    face->unitsPerEm = std::max(1.0, double(ft->size->metrics.y_ppem));
  } else {
    face->unitsPerEm = std::max<int>(16, ft->units_per_EM);
    // Outlines at one pixel per font unit, unhinted: what Qt measured, in font units.
    FT_Set_Pixel_Sizes(ft, 0, FT_UInt(face->unitsPerEm));
    if (FT_IS_SFNT(ft)) {
      hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.constData());
      if (blob) {
        hb_face_t* hb = hb_face_create(blob, unsigned(index & 0xFFFF));
        const bool glyf = HasTable(hb, "glyf"), cff = HasTable(hb, "CFF ");
        hb_face_destroy(hb);
        hb_blob_destroy(blob);
        if (glyf || cff) {
          face->kind = Kind::Subset;
          face->cff = cff && !glyf;
        }
      }
      // A named instance HarfBuzz cannot pin, or emboldened outlines, are drawn from FreeType's outlines.
      if (face->kind == Kind::Subset && (index >> 16) > 0 && Subset(file, index, {}).isEmpty())
        face->kind = Kind::Outlines;
    }
  }
  face->advances.assign(size_t(std::max<FT_Long>(1, ft->num_glyphs)), -1.0F);
  PdfFontFace* made = face.get();
  faces_.push_back(std::move(face));
  byKey_.insert(key, made);
  return made;
}

int PdfFontSet::NewFont(PdfFontFace& face, bool cid) {
  auto font = std::make_unique<Font>();
  font->id = writer_.Reserve();
  font->face = &face;
  font->cid = cid;
  if (cid) font->used.assign(face.advances.size(), false);
  font->text.resize(cid ? face.advances.size() : size_t(kType3Codes));
  fonts_.push_back(std::move(font));
  names_.push_back("/F" + QByteArray::number(qsizetype(fonts_.size())));
  return int(fonts_.size()) - 1;
}

PdfFontSet::Code PdfFontSet::Use(PdfFontFace& face, unsigned long glyph) {
  if (glyph >= face.advances.size()) glyph = 0;
  float& advance = face.advances[glyph];
  if (advance < 0) {
    advance = 0;
    if (face.kind == Kind::Bitmaps) {
      if (FT_Load_Glyph(face.ft, FT_UInt(glyph), FT_LOAD_DEFAULT) == 0)
        advance = float(double(face.ft->glyph->advance.x) / 64.0 / face.unitsPerEm);
    } else if (FT_Load_Glyph(face.ft, FT_UInt(glyph), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0) {
      // At one pixel per font unit the linear advance is the advance in font units.
      advance = float(double(face.ft->glyph->linearHoriAdvance) / 65536.0 / face.unitsPerEm);
    }
  }
  if (face.kind == Kind::Subset) {
    if (face.cidFont < 0) face.cidFont = NewFont(face, true);
    Font& font = *fonts_[size_t(face.cidFont)];
    if (!font.used[glyph]) {
      font.used[glyph] = true;
      font.glyphs.push_back(glyph);
    }
    return Code{face.cidFont, unsigned(glyph), 2, advance};
  }
  const auto known = face.type3.constFind(glyph);
  if (known != face.type3.constEnd()) return known.value();
  int last = -1;
  for (qsizetype i = qsizetype(fonts_.size()) - 1; i >= 0 && last < 0; --i)
    if (fonts_[size_t(i)]->face == &face) last = int(i);
  if (last < 0 || fonts_[size_t(last)]->glyphs.size() >= size_t(kType3Codes)) last = NewFont(face, false);
  Font& font = *fonts_[size_t(last)];
  const Code code{last, unsigned(font.glyphs.size()), 1, advance};
  font.glyphs.push_back(glyph);
  face.type3.insert(glyph, code);
  return code;
}

bool PdfFontSet::MapText(int font, unsigned code, const char* utf8, int bytes) {
  std::vector<QByteArray>& map = fonts_[size_t(font)]->text;
  if (code >= map.size()) return false;
  QByteArray& known = map[code];
  if (known.isEmpty()) {
    known = QByteArray(utf8, bytes);
    return true;
  }
  return known.size() == bytes && std::equal(utf8, utf8 + bytes, known.constData());
}

const QByteArray& PdfFontSet::ResourceName(int font) const { return names_[size_t(font)]; }

QByteArray PdfFontSet::Resources() const {
  QByteArray out;
  for (size_t i = 0; i < fonts_.size(); ++i)
    out += ResourceName(int(i)) + ' ' + QByteArray::number(fonts_[i]->id) + " 0 R ";
  return out;
}

void PdfFontSet::Write() {
  for (const std::unique_ptr<Font>& font : fonts_) {
    if (font->cid)
      WriteSubset(*font);
    else
      WriteType3(*font);
  }
}

int PdfFontSet::WriteToUnicode(const Font& font) {
  const int bytes = font.cid ? 2 : 1;
  std::vector<unsigned> codes;
  for (size_t code = 0; code < font.text.size(); ++code)
    if (!font.text[code].isEmpty()) codes.push_back(unsigned(code));
  QByteArray cmap =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n<" +
      HexCode(0, bytes) + "> <" + HexCode(bytes == 2 ? 0xFFFF : 0xFF, bytes) + ">\nendcodespacerange\n";
  for (size_t start = 0; start < codes.size(); start += 100) {
    const size_t n = std::min<size_t>(100, codes.size() - start);
    cmap += QByteArray::number(qsizetype(n)) + " beginbfchar\n";
    for (size_t i = start; i < start + n; ++i) {
      QByteArray text = PdfTextString(QString::fromUtf8(font.text[codes[i]]));
      text.remove(1, 4);  // no byte-order mark in a character map
      if (text.size() <= 2) text = "<FFFD>";
      cmap += '<' + HexCode(codes[i], bytes) + "> " + text + '\n';
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  const int id = writer_.Reserve();
  writer_.WriteStream(id, QByteArray(), cmap, true);
  return id;
}

namespace {
// The face's box, ascent, descent and cap height in thousandths of an em.
QByteArray DescriptorMetrics(FT_Face ft, double unitsPerEm) {
  const double k = 1000.0 / unitsPerEm;
  return " /FontBBox [" + Num(double(ft->bbox.xMin) * k) + ' ' + Num(double(ft->bbox.yMin) * k) + ' ' +
         Num(double(ft->bbox.xMax) * k) + ' ' + Num(double(ft->bbox.yMax) * k) + "] /ItalicAngle 0 /Ascent " +
         Num(double(ft->ascender) * k) + " /Descent " + Num(double(ft->descender) * k) + " /CapHeight " +
         Num(double(ft->ascender) * k) + " /StemV 80";
}
}  // namespace

void PdfFontSet::WriteSubset(Font& font) {
  PdfFontFace& face = *font.face;
  std::vector<unsigned> glyphs(font.glyphs.begin(), font.glyphs.end());
  std::sort(glyphs.begin(), glyphs.end());
  const QByteArray program = Subset(face.file, face.index, glyphs);
  const QByteArray name = SubsetTag(font.id) + '+' + face.name;
  QByteArray fileRef;
  if (!program.isEmpty()) {
    const int file = writer_.Reserve();
    writer_.WriteStream(file, face.cff ? QByteArray(" /Subtype /OpenType") : QByteArray(), program, true);
    fileRef = (face.cff ? " /FontFile3 " : " /FontFile2 ") + QByteArray::number(file) + " 0 R";
  }
  const int descriptor = writer_.Reserve();
  writer_.WriteObject(descriptor, "<< /Type /FontDescriptor /FontName /" + name + " /Flags 4" +
                                      DescriptorMetrics(face.ft, face.unitsPerEm) + fileRef + " >>");
  QByteArray widths;
  for (size_t i = 0; i < glyphs.size();) {
    size_t j = i;
    widths += QByteArray::number(glyphs[i]) + " [";
    while (j < glyphs.size() && glyphs[j] == glyphs[i] + (j - i)) {
      widths += Num(double(face.advances[glyphs[j]]) * 1000) + ' ';
      ++j;
    }
    widths += "] ";
    i = j;
  }
  const int descendant = writer_.Reserve();
  writer_.WriteObject(descendant, "<< /Type /Font /Subtype " +
                                      QByteArray(face.cff ? "/CIDFontType0" : "/CIDFontType2") + " /BaseFont /" + name +
                                      " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                      " /FontDescriptor " +
                                      QByteArray::number(descriptor) + " 0 R /DW 0 /W [" + widths + "]" +
                                      QByteArray(face.cff ? "" : " /CIDToGIDMap /Identity") + " >>");
  const int toUnicode = WriteToUnicode(font);
  writer_.WriteObject(font.id, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                   " /Encoding /Identity-H /DescendantFonts [" + QByteArray::number(descendant) +
                                   " 0 R] /ToUnicode " + QByteArray::number(toUnicode) + " 0 R >>");
}

// A glyph as a Type 3 procedure: the outline filled, or the strike's pixels as a stencil mask.
namespace {
QByteArray GlyphProcedure(PdfFontFace& face, unsigned long glyph, double& width) {
  FT_Face ft = face.ft;
  width = double(face.advances[glyph]) * face.unitsPerEm;
  const QByteArray advance = Num(width) + " 0 ";
  if (face.kind == Kind::Bitmaps) {
    if (FT_Load_Glyph(ft, FT_UInt(glyph), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return advance + "0 0 0 0 d1\n";
    const FT_Bitmap& bitmap = ft->glyph->bitmap;
    const int w = int(bitmap.width), h = int(bitmap.rows);
    const int left = ft->glyph->bitmap_left, top = ft->glyph->bitmap_top;
    if (w <= 0 || h <= 0) return advance + "0 0 0 0 d1\n";
    QByteArray hex;
    static const char digits[] = "0123456789ABCDEF";
    for (int y = 0; y < h; ++y) {
      const unsigned char* row = bitmap.buffer + qptrdiff(y) * bitmap.pitch;
      for (int x = 0; x < (w + 7) / 8; ++x) {
        unsigned char bits = 0;
        for (int b = 0; b < 8 && x * 8 + b < w; ++b) {
          const int px = x * 8 + b;
          bool on = false;
          if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
            on = (row[px / 8] >> (7 - px % 8)) & 1;
          else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
            on = row[px] >= 128;
          else if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA)
            on = row[px * 4 + 3] >= 128;
          if (on) bits |= char(0x80 >> b);
        }
        hex += digits[bits >> 4];
        hex += digits[bits & 0xF];
      }
    }
    return advance + Num(left) + ' ' + Num(top - h) + ' ' + Num(left + w) + ' ' + Num(top) + " d1\nq " + Num(w) +
           " 0 0 " + Num(h) + ' ' + Num(left) + ' ' + Num(top - h) + " cm\nBI /IM true /W " + QByteArray::number(w) +
           " /H " + QByteArray::number(h) + " /BPC 1 /D [1 0] /F /AHx ID\n" + hex + ">\nEI\nQ\n";
  }
  if (FT_Load_Glyph(ft, FT_UInt(glyph), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return advance + "0 0 0 0 d1\n";
  FT_Outline* outline = &ft->glyph->outline;
  // FreeType's own synthetic bold: the outline grown by a 24th of the em.
  if (face.embolden) FT_Outline_Embolden(outline, FT_Pos(face.unitsPerEm * 64 / 24));
  FT_BBox box;
  FT_Outline_Get_CBox(outline, &box);
  const double k = 1.0 / 64;
  return advance + Num(double(box.xMin) * k) + ' ' + Num(double(box.yMin) * k) + ' ' + Num(double(box.xMax) * k) + ' ' +
         Num(double(box.yMax) * k) + " d1\n" + OutlinePath(outline, k) + "f\n";
}
}  // namespace

void PdfFontSet::WriteType3(Font& font) {
  PdfFontFace& face = *font.face;
  QByteArray procs, names, widths;
  for (size_t code = 0; code < font.glyphs.size(); ++code) {
    double width = 0;
    const QByteArray procedure = GlyphProcedure(face, font.glyphs[code], width);
    const int id = writer_.Reserve();
    writer_.WriteStream(id, QByteArray(), procedure, true);
    procs += "/g" + QByteArray::number(qsizetype(code)) + ' ' + QByteArray::number(id) + " 0 R ";
    names += "/g" + QByteArray::number(qsizetype(code)) + ' ';
    widths += Num(width) + ' ';
  }
  const double k = 1.0 / face.unitsPerEm;
  const int toUnicode = WriteToUnicode(font);
  const int last = std::max(0, int(font.glyphs.size()) - 1);
  writer_.WriteObject(font.id, "<< /Type /Font /Subtype /Type3 /BaseFont /" + SubsetTag(font.id) + '+' + face.name +
                                   " /FontBBox [0 0 0 0] /FontMatrix [" + QByteArray::number(k, 'f', 9) + " 0 0 " +
                                   QByteArray::number(k, 'f', 9) + " 0 0] /CharProcs << " + procs +
                                   ">> /Encoding << /Type /Encoding /Differences [0 " + names +
                                   "] >> /FirstChar 0 /LastChar " + QByteArray::number(last) + " /Widths [" + widths +
                                   "] /Resources << >> /ToUnicode " + QByteArray::number(toUnicode) + " 0 R >>");
}
