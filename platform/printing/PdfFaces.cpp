// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfFaces.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <optional>

namespace {

struct Candidate {
  QByteArray file;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
};

QByteArray Table(FT_Library library, const Candidate& c, FT_ULong tag) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, c.file.constData(), c.index, &face) != 0) return {};
  FT_ULong length = 0;
  QByteArray bytes;
  if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) == 0 && length > 0) {
    bytes.resize(qsizetype(length));
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(bytes.data()), &length) != 0) bytes.clear();
  }
  FT_Done_Face(face);
  return bytes;
}

// Several files may carry the same family and style (a static and a variable
// build, an OpenType and a Type 1 cut): the one whose header table is Qt's is
// the file Qt loaded.
const Candidate* Pick(const std::vector<Candidate>& candidates, const QRawFont& raw) {
  if (candidates.empty()) return nullptr;
  if (candidates.size() == 1) return &candidates.front();
  const QByteArray head = raw.fontTable("head");
  if (head.isEmpty()) return &candidates.front();
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return &candidates.front();
  const Candidate* found = &candidates.front();
  for (const Candidate& c : candidates) {
    if (Table(library, c, FT_MAKE_TAG('h', 'e', 'a', 'd')) == head) {
      found = &c;
      break;
    }
  }
  FT_Done_FreeType(library);
  return found;
}

// The face file a fontconfig pattern names, with its index, weight and slant.
std::optional<Candidate> CandidateOf(FcPattern* p) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  Candidate c;
  c.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(p, FC_INDEX, 0, &c.index);
  FcPatternGetInteger(p, FC_WEIGHT, 0, &c.weight);
  FcPatternGetInteger(p, FC_SLANT, 0, &c.slant);
  return c;
}

std::vector<Candidate> Listed(FcPattern* wanted) {
  std::vector<Candidate> found;
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_VARIABLE, nullptr);
  FcFontSet* set = FcFontList(nullptr, wanted, objects);
  FcObjectSetDestroy(objects);
  if (!set) return found;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    FcBool variable = FcFalse;
    // A variable font's own entry stands for its default instance; Qt takes the named ones.
    if (FcPatternGetBool(p, FC_VARIABLE, 0, &variable) == FcResultMatch && variable) continue;
    if (std::optional<Candidate> c = CandidateOf(p)) found.push_back(*c);
  }
  FcFontSetDestroy(set);
  return found;
}

}  // namespace

PdfFaceCache::Loaded PdfFaceCache::Load(const QRawFont& raw, bool bold, bool italic) {
  const QByteArray family = raw.familyName().toUtf8();
  const QByteArray style = raw.styleName().toUtf8();
  FcPattern* wanted = FcPatternCreate();
  FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  if (!style.isEmpty()) FcPatternAddString(wanted, FC_STYLE, reinterpret_cast<const FcChar8*>(style.constData()));
  std::vector<Candidate> candidates = Listed(wanted);
  FcPatternDestroy(wanted);
  if (candidates.empty()) {
    // A name fontconfig lists differently: the best match for the family and style asked for.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, raw.weight() >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, raw.style() != QFont::StyleNormal ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return {};
    if (std::optional<Candidate> c = CandidateOf(match)) candidates.push_back(*c);
    FcPatternDestroy(match);
  }
  const Candidate* chosen = Pick(candidates, raw);
  if (!chosen) return {};
  // The index carries a named instance of a variable font in its upper bits.
  const bool embolden = bold && chosen->weight < FC_WEIGHT_DEMIBOLD;
  PdfFontFace* face = fonts_.Face(chosen->file, chosen->index, embolden);
  if (!face) return {};
  return Loaded{face, italic && chosen->slant == FC_SLANT_ROMAN, PdfFontSet::StrokesToEmbolden(*face)};
}

const PdfFaceRef* PdfFaceCache::Face(const QRawFont& raw, bool bold, bool italic) {
  // Qt stands in for characters that no face has with a font without a face:
  // it has no name to look up (asking for it crashes) and nothing to draw. It
  // is told by having neither tables nor a style (a Type 1 face has a style).
  if (!raw.isValid() || (raw.styleName().isEmpty() && raw.fontTable("head").isEmpty())) return &missing_;
  const QString faceKey = raw.familyName() + u'\n' + raw.styleName() + u'\n' + QChar(u'0' + (bold ? 1 : 0)) +
                          QChar(u'0' + (italic ? 1 : 0));
  const QString refKey = faceKey + u'\n' + QString::number(raw.pixelSize(), 'g', 10);
  if (PdfFaceRef* known = refs_.value(refKey)) return known;
  auto face = faces_.constFind(faceKey);
  if (face == faces_.constEnd()) face = faces_.insert(faceKey, Load(raw, bold, italic));
  owned_.push_back(std::make_unique<PdfFaceRef>());
  PdfFaceRef* ref = owned_.back().get();
  ref->face = face.value().face;
  ref->oblique = face.value().oblique;
  ref->stroked = face.value().stroked;
  ref->size = raw.pixelSize();
  refs_.insert(refKey, ref);
  return ref;
}
