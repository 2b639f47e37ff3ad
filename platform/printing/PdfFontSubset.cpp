// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TrueType subsets for PDF files: the glyphs a document used (and the parts
// their composite glyphs are built of), renumbered from 1 in the order of
// first use, with the tables a reader needs to draw them.
#include <QMap>
#include <QVector>
#include <algorithm>

#include "PdfDocument.h"

namespace {

quint16 U16(const QByteArray& table, qsizetype at) {
  if (at < 0 || at + 2 > table.size()) return 0;
  return quint16((quint8(table[at]) << 8) | quint8(table[at + 1]));
}

qint16 S16(const QByteArray& table, qsizetype at) { return qint16(U16(table, at)); }

quint32 U32(const QByteArray& table, qsizetype at) {
  return (quint32(U16(table, at)) << 16) | U16(table, at + 2);
}

void PutU16(QByteArray& table, qsizetype at, quint32 value) {
  table[at] = char((value >> 8) & 0xFF);
  table[at + 1] = char(value & 0xFF);
}

void AppendU16(QByteArray& out, quint32 value) {
  out += char((value >> 8) & 0xFF);
  out += char(value & 0xFF);
}

void AppendU32(QByteArray& out, quint32 value) {
  AppendU16(out, value >> 16);
  AppendU16(out, value & 0xFFFF);
}

quint32 Checksum(const QByteArray& data) {
  quint32 sum = 0;
  for (qsizetype i = 0; i < data.size(); i += 4) {
    quint32 word = 0;
    for (qsizetype k = 0; k < 4; ++k) word = (word << 8) | (i + k < data.size() ? quint8(data[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

QByteArray Hex4(quint32 value) { return QByteArray::number(value + 0x10000, 16).mid(1).toUpper(); }

QByteArray Units(qreal value) { return QByteArray::number(value, 'g', 9); }

// The face's PostScript name from its name table (Windows or Macintosh
// record), else family and style; PDF names take letters, digits and hyphens.
QByteArray PostScriptName(const QRawFont& font) {
  const QByteArray table = font.fontTable("name");
  QString name;
  const quint16 count = U16(table, 2), strings = U16(table, 4);
  for (quint16 i = 0; i < count && name.isEmpty(); ++i) {
    const qsizetype record = 6 + qsizetype(i) * 12;
    if (U16(table, record + 6) != 6) continue;
    const quint16 platform = U16(table, record), length = U16(table, record + 8);
    const qsizetype at = qsizetype(strings) + U16(table, record + 10);
    if (at + length > table.size()) continue;
    if (platform == 3) {
      for (qsizetype k = 0; k + 1 < length; k += 2) name += QChar(char16_t(U16(table, at + k)));
    } else if (platform == 1) {
      name = QString::fromLatin1(table.constData() + at, length);
    }
  }
  if (name.isEmpty()) name = font.familyName() + QLatin1Char('-') + font.styleName();
  QByteArray result;
  for (QChar c : name)
    if ((c.isLetterOrNumber() && c.unicode() < 0x80) || c == QLatin1Char('-')) result += char(c.unicode());
  return result.isEmpty() ? QByteArray("Font") : result;
}

}  // namespace

TPdfFontSubset::TPdfFontSubset(const QRawFont& font, int number) : font_(font) {
  resource_ = "/F" + QByteArray::number(number);
  if (TPdfDocument::FaceOf(font).isEmpty()) return;
  font_.setPixelSize(1000);
  for (const char* required : {"head", "hhea", "maxp", "hmtx", "loca", "glyf"})
    if (font_.fontTable(required).isEmpty()) return;
  QByteArray tag = "TVAAAA";
  tag[5] = char('A' + number % 26);
  tag[4] = char('A' + (number / 26) % 26);
  baseName_ = tag + '+' + PostScriptName(font_);
  usable_ = true;
  originals_.push_back(0);
  numbers_.insert(0, 0);
}

quint16 TPdfFontSubset::Glyph(quint32 original) {
  const auto known = numbers_.constFind(original);
  if (known != numbers_.constEnd()) return known.value();
  const auto number = quint16(originals_.size());
  originals_.push_back(original);
  numbers_.insert(original, number);
  return number;
}

QByteArray TPdfFontSubset::SubsetFont(std::vector<quint32>& glyphs) const {
  const QByteArray head = font_.fontTable("head");
  const QByteArray loca = font_.fontTable("loca");
  const QByteArray glyf = font_.fontTable("glyf");
  const QByteArray hmtx = font_.fontTable("hmtx");
  const bool longOffsets = S16(head, 50) == 1;
  const quint32 originalCount = U16(font_.fontTable("maxp"), 4);
  const quint32 metricsCount = std::max<quint32>(1, U16(font_.fontTable("hhea"), 34));
  auto glyphData = [&](quint32 g) -> QByteArray {
    if (g >= originalCount) return {};
    const quint32 start = longOffsets ? U32(loca, qsizetype(g) * 4) : U16(loca, qsizetype(g) * 2) * 2u;
    const quint32 end = longOffsets ? U32(loca, qsizetype(g) * 4 + 4) : U16(loca, qsizetype(g) * 2 + 2) * 2u;
    if (end <= start || end > quint32(glyf.size())) return {};
    return glyf.mid(start, end - start);
  };
  QHash<quint32, quint32> numbers;
  for (size_t i = 0; i < glyphs.size(); ++i) numbers.insert(glyphs[i], quint32(i));
  QByteArray newGlyf, newLoca, newHmtx;
  for (size_t i = 0; i < glyphs.size(); ++i) {  // grows with the parts of composite glyphs
    QByteArray data = glyphData(glyphs[i]);
    if (data.size() >= 10 && S16(data, 0) < 0) {
      qsizetype at = 10;
      for (;;) {
        const quint16 flags = U16(data, at);
        const quint16 part = U16(data, at + 2);
        if (at + 4 > data.size()) break;
        if (!numbers.contains(part)) {
          numbers.insert(part, quint32(glyphs.size()));
          glyphs.push_back(part);
        }
        PutU16(data, at + 2, numbers.value(part));
        at += 4 + ((flags & 0x1) ? 4 : 2);
        if (flags & 0x8) at += 2;
        else if (flags & 0x40) at += 4;
        else if (flags & 0x80) at += 8;
        if (!(flags & 0x20)) break;
      }
    }
    while (data.size() % 4) data += '\0';
    AppendU32(newLoca, quint32(newGlyf.size()));
    newGlyf += data;
    const quint32 g = glyphs[i];
    const quint32 metric = std::min(g, metricsCount - 1);
    AppendU16(newHmtx, U16(hmtx, qsizetype(metric) * 4));
    AppendU16(newHmtx, g < metricsCount ? U16(hmtx, g * 4 + 2) : U16(hmtx, metricsCount * 4 + (g - metricsCount) * 2));
  }
  AppendU32(newLoca, quint32(newGlyf.size()));

  QByteArray newHead = head, newMaxp = font_.fontTable("maxp"), newHhea = font_.fontTable("hhea");
  newHead.replace(8, 4, QByteArray(4, '\0'));  // checkSumAdjustment: not needed inside a PDF
  PutU16(newHead, 50, 1);
  PutU16(newMaxp, 4, quint32(glyphs.size()));
  PutU16(newHhea, 34, quint32(glyphs.size()));
  QMap<QByteArray, QByteArray> tables{{"head", newHead}, {"hhea", newHhea}, {"maxp", newMaxp},
                                      {"hmtx", newHmtx}, {"loca", newLoca}, {"glyf", newGlyf}};
  for (const char* optional : {"cvt ", "fpgm", "prep", "OS/2", "name"}) {
    const QByteArray table = font_.fontTable(optional);
    if (!table.isEmpty()) tables.insert(optional, table);
  }
  const auto count = quint32(tables.size());
  quint32 power = 1, log2 = 0;
  while (power * 2 <= count) power *= 2, ++log2;
  QByteArray file;
  AppendU32(file, 0x00010000);
  AppendU16(file, count);
  AppendU16(file, power * 16);
  AppendU16(file, log2);
  AppendU16(file, count * 16 - power * 16);
  quint32 offset = 12 + 16 * count;
  for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
    file += it.key();
    AppendU32(file, Checksum(it.value()));
    AppendU32(file, offset);
    AppendU32(file, quint32(it.value().size()));
    offset += quint32((it.value().size() + 3) & ~3);
  }
  for (const QByteArray& table : tables) {
    file += table;
    while (file.size() % 4) file += '\0';
  }
  return file;
}

QByteArray TPdfFontSubset::ToUnicode(const std::vector<quint32>& glyphs) const {
  // Each glyph reads back as the lowest character that the font draws with it.
  QHash<quint32, quint32> firstCharacter;
  QVector<QChar> characters;
  characters.reserve(0xF800);
  for (quint32 c = 1; c < 0x10000; ++c)
    if (c < 0xD800 || c > 0xDFFF) characters.append(QChar(char16_t(c)));
  QVector<quint32> found(characters.size());
  int foundCount = int(found.size());
  font_.glyphIndexesForChars(characters.constData(), int(characters.size()), found.data(), &foundCount);
  for (qsizetype i = 0; i < characters.size(); ++i)
    if (found[i] != 0 && !firstCharacter.contains(found[i])) firstCharacter.insert(found[i], characters[i].unicode());
  QByteArray entries;
  int inBlock = 0;
  QByteArray map;
  auto flush = [&] {
    if (!inBlock) return;
    map += QByteArray::number(inBlock) + " beginbfchar\n" + entries + "endbfchar\n";
    entries.clear();
    inBlock = 0;
  };
  for (size_t i = 1; i < glyphs.size(); ++i) {
    const auto c = firstCharacter.constFind(glyphs[i]);
    if (c == firstCharacter.constEnd()) continue;
    entries += '<' + Hex4(quint32(i)) + "> <" + Hex4(c.value()) + ">\n";
    if (++inBlock == 100) flush();
  }
  flush();
  return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
         "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
         "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
         "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
         map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

int TPdfFontSubset::Write(const std::function<int()>& allocate,
                          const std::function<void(int, const QByteArray&)>& object,
                          const std::function<void(int, const QByteArray&, const QByteArray&)>& stream) const {
  std::vector<quint32> glyphs = originals_;
  const QByteArray file = SubsetFont(glyphs);
  const QByteArray head = font_.fontTable("head"), hhea = font_.fontTable("hhea");
  const qreal scale = 1000.0 / std::max<quint16>(1, U16(head, 18));
  const int fontFile = allocate(), descriptor = allocate(), cidFont = allocate(), toUnicode = allocate(),
            type0 = allocate();
  stream(fontFile, file, "\n/Length1 " + QByteArray::number(file.size()));
  object(descriptor, "<< /Type /FontDescriptor\n/FontName /" + baseName_ + "\n/Flags 4\n/FontBBox [" +
                         Units(S16(head, 36) * scale) + ' ' + Units(S16(head, 38) * scale) + ' ' +
                         Units(S16(head, 40) * scale) + ' ' + Units(S16(head, 42) * scale) + "]\n/ItalicAngle 0\n" +
                         "/Ascent " + Units(S16(hhea, 4) * scale) + "\n/Descent " + Units(S16(hhea, 6) * scale) +
                         "\n/CapHeight " + Units(S16(hhea, 4) * scale) + "\n/StemV 80\n/FontFile2 " +
                         QByteArray::number(fontFile) + " 0 R\n>>");
  const QByteArray hmtx = font_.fontTable("hmtx");
  const quint32 metricsCount = std::max<quint32>(1, U16(hhea, 34));
  QByteArray widths = "/W [0 [";
  // Whole thousandths of the em, as readers expect them.
  for (quint32 g : glyphs) widths += QByteArray::number(qRound(U16(hmtx, qsizetype(std::min(g, metricsCount - 1)) * 4) * scale)) + ' ';
  widths += "]]";
  object(cidFont, "<< /Type /Font\n/Subtype /CIDFontType2\n/BaseFont /" + baseName_ +
                      "\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>\n"
                      "/FontDescriptor " + QByteArray::number(descriptor) + " 0 R\n/CIDToGIDMap /Identity\n" +
                      widths + "\n>>");
  stream(toUnicode, ToUnicode(glyphs), {});
  object(type0, "<< /Type /Font\n/Subtype /Type0\n/BaseFont /" + baseName_ +
                    "\n/Encoding /Identity-H\n/DescendantFonts [" + QByteArray::number(cidFont) +
                    " 0 R]\n/ToUnicode " + QByteArray::number(toUnicode) + " 0 R\n>>");
  return type0;
}
