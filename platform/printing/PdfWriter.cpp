// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfWriter.h"

#include <cmath>
#include <cstdio>

#include "PdfFonts.h"

namespace {

// Objects the document always has, made before the first page.
constexpr int kCatalog = 1;
constexpr int kPages = 2;
constexpr int kResources = 3;
constexpr int kInfo = 4;

const char kHex[] = "0123456789ABCDEF";

}  // namespace

void AppendPdfHex(QByteArray& out, unsigned code, int bytes) {
  char digits[8];
  int n = 0;
  for (int shift = bytes * 8 - 4; shift >= 0; shift -= 4) digits[n++] = kHex[(code >> shift) & 0xF];
  out.append(digits, n);
}

void AppendPdfNumber(QByteArray& out, double v) {
  if (!std::isfinite(v)) v = 0;
  long long thousandths = std::llround(v * 1000);
  char text[32];
  char* end = text + sizeof text;
  char* p = end;
  const bool negative = thousandths < 0;
  if (negative) thousandths = -thousandths;
  int fraction = int(thousandths % 1000);
  long long whole = thousandths / 1000;
  if (fraction) {
    int width = 3;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --width;
    }
    for (int i = 0; i < width; ++i) {
      *--p = char('0' + fraction % 10);
      fraction /= 10;
    }
    *--p = '.';
  }
  do {
    *--p = char('0' + whole % 10);
    whole /= 10;
  } while (whole);
  if (negative) *--p = '-';
  out.append(p, end - p);
}

QByteArray PdfTextString(const QString& text) {
  QByteArray out("<FEFF");
  for (const QChar ch : text) AppendPdfHex(out, ch.unicode(), 2);
  out += '>';
  return out;
}

PdfWriter::PdfWriter(Sink sink, const QString& title, const QString& creator)
    : sink_(std::move(sink)),
      fonts_(std::make_unique<PdfFontSet>(*this)),
      title_(PdfTextString(title)),
      creator_(PdfTextString(creator)) {
  offsets_.assign(kInfo, -1);
  // The binary comment tells transports the file is not text.
  Write(QByteArrayLiteral("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n"));
}

PdfWriter::~PdfWriter() = default;

void PdfWriter::Write(const QByteArray& bytes) {
  sink_(bytes.constData(), size_t(bytes.size()));
  offset_ += bytes.size();
}

int PdfWriter::Reserve() {
  offsets_.push_back(-1);
  return int(offsets_.size());
}

void PdfWriter::WriteObject(int id, const QByteArray& body) {
  offsets_[size_t(id) - 1] = offset_;
  Write(QByteArray::number(id) + " 0 obj\n" + body + "\nendobj\n");
}

void PdfWriter::WriteStream(int id, QByteArray dictionary, const QByteArray& data, bool compress) {
  QByteArray bytes = data;
  if (compress) {
    // qCompress puts the length before zlib's own stream: FlateDecode takes the stream.
    bytes = qCompress(data, 3).mid(4);
    dictionary += " /Filter /FlateDecode";
  }
  offsets_[size_t(id) - 1] = offset_;
  Write(QByteArray::number(id) + " 0 obj\n<<" + dictionary + " /Length " + QByteArray::number(bytes.size()) +
        ">>\nstream\n");
  Write(bytes);
  Write(QByteArrayLiteral("\nendstream\nendobj\n"));
}

void PdfWriter::Number(double v) {
  AppendPdfNumber(content_, v);
  content_ += ' ';
}

void PdfWriter::BeginPage(double widthPoints, double heightPoints) {
  pageWidth_ = widthPoints;
  pageHeight_ = heightPoints;
  inPage_ = true;
  content_.clear();
  content_ += "1 0 0 -1 0 ";
  Number(heightPoints);
  content_ += "cm\n";
}

void PdfWriter::EndPage() {
  if (!inPage_) return;
  EndText();
  inPage_ = false;
  const int contents = Reserve();
  WriteStream(contents, QByteArray(), content_, true);
  content_.clear();
  const int page = Reserve();
  QByteArray box;
  AppendPdfNumber(box, pageWidth_);
  box += ' ';
  AppendPdfNumber(box, pageHeight_);
  WriteObject(page, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + box + "] /Resources 3 0 R /Contents " +
                        QByteArray::number(contents) + " 0 R >>");
  pages_.push_back(page);
}

void PdfWriter::Finish() {
  EndPage();
  fonts_->Write();
  WriteObject(kResources, "<< /Font << " + fonts_->Resources() + ">> >>");
  QByteArray kids;
  for (const int page : pages_) kids += QByteArray::number(page) + " 0 R ";
  WriteObject(kPages,
              "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(qsizetype(pages_.size())) + " >>");
  WriteObject(kCatalog, QByteArrayLiteral("<< /Type /Catalog /Pages 2 0 R >>"));
  WriteObject(kInfo, "<< /Title " + title_ + " /Creator " + creator_ + " /Producer " + creator_ + " >>");
  const qint64 xref = offset_;
  const QByteArray objects = QByteArray::number(qsizetype(offsets_.size()) + 1);
  QByteArray table = "xref\n0 " + objects + "\n0000000000 65535 f \n";
  char entry[40];
  for (const qint64 at : offsets_) {
    // An object reserved and never written is marked free.
    if (at < 0)
      std::snprintf(entry, sizeof entry, "%010d 65535 f \n", 0);
    else
      std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(at));
    table += entry;
  }
  table += "trailer\n<< /Size " + objects + " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" + QByteArray::number(xref) +
           "\n%%EOF\n";
  Write(table);
}

void PdfWriter::Save() {
  EndText();
  content_ += "q\n";
}

void PdfWriter::Restore() {
  EndText();
  content_ += "Q\n";
}

void PdfWriter::Transform(double a, double b, double c, double d, double e, double f) {
  EndText();
  for (const double v : {a, b, c, d, e, f}) Number(v);
  content_ += "cm\n";
}

void PdfWriter::SetColor(double r, double g, double b) {
  FlushText();
  QByteArray rgb;
  for (const double v : {r, g, b}) {
    AppendPdfNumber(rgb, v);
    rgb += ' ';
  }
  content_ += rgb + "rg " + rgb + "RG\n";
}

void PdfWriter::SetLineWidth(double width) {
  EndText();
  Number(width);
  content_ += "w\n";
}

void PdfWriter::SetDash(const double* dashes, int count) {
  EndText();
  content_ += '[';
  for (int i = 0; i < count; ++i) Number(dashes[i]);
  content_ += "] 0 d\n";
}

void PdfWriter::MoveTo(double x, double y) {
  EndText();
  Number(x);
  Number(y);
  content_ += "m\n";
}

void PdfWriter::LineTo(double x, double y) {
  EndText();
  Number(x);
  Number(y);
  content_ += "l\n";
}

void PdfWriter::Rect(double x, double y, double w, double h) {
  EndText();
  Number(x);
  Number(y);
  Number(w);
  Number(h);
  content_ += "re\n";
}

void PdfWriter::Stroke() {
  EndText();
  content_ += "S\n";
}

void PdfWriter::Fill() {
  EndText();
  content_ += "f\n";
}

void PdfWriter::FlushText() {
  if (array_.isEmpty()) return;
  content_ += '[';
  content_ += array_;
  content_ += "] TJ\n";
  array_.clear();
}

void PdfWriter::EndText() {
  if (!inText_) return;
  FlushText();
  if (stroking_) content_ += "0 Tr\n";
  content_ += "ET\n";
  inText_ = stroking_ = false;
}

// Each glyph goes where Qt put it: the text array moves the pen by the
// difference between the glyph's place and where the advance of the one
// before left it, across texts and fonts while the line, size and slant stay.
// A glyph whose text its font cannot map (a ligature's second reading, a
// cluster of several glyphs or none) carries it as replacement text.
void PdfWriter::ShowGlyphs(PdfFontFace& face, double size, bool oblique, bool embolden, const PdfGlyph* glyphs,
                           int count, const char* utf8, int bytes, const PdfCluster* clusters, int clusterCount) {
  if (count <= 0 || !(size > 0)) return;
  if (!inText_) {
    content_ += "BT\n";
    inText_ = true;
    placed_ = false;
    font_ = -1;
  }
  if (embolden || stroking_) {
    FlushText();
    if (embolden) {
      // The stroke adds what FreeType's emboldening adds: a 24th of the em.
      Number(size / 24);
      content_ += stroking_ ? "w\n" : "w 2 Tr\n";
    } else {
      content_ += "0 Tr\n";
    }
    stroking_ = embolden;
  }
  if (placed_ && (size != textSize_ || oblique != textOblique_)) placed_ = false;
  const double scale = 1000.0 / size;
  auto show = [&](const PdfGlyph& g, const PdfFontSet::Code& code) {
    if (code.font != font_) {
      FlushText();
      content_ += fonts_->ResourceName(code.font);
      content_ += " 1 Tf\n";
      font_ = code.font;
    }
    if (!placed_ || g.y != lineY_) {
      FlushText();
      Number(size);
      content_ += "0 ";
      Number(oblique ? 0.2 * size : 0);
      Number(-size);
      Number(g.x);
      Number(g.y);
      content_ += "Tm\n";
      placed_ = true;
      textSize_ = size;
      textOblique_ = oblique;
      lineY_ = g.y;
    } else {
      const double shift = (pen_ - g.x) * scale;
      if (std::abs(shift) >= 0.0005) AppendPdfNumber(array_, shift);
    }
    char hex[6];
    int n = 0;
    hex[n++] = '<';
    for (int shift = code.bytes * 8 - 4; shift >= 0; shift -= 4) hex[n++] = kHex[(code.code >> shift) & 0xF];
    hex[n++] = '>';
    array_.append(hex, n);
    pen_ = g.x + code.advance * size;
  };
  const PdfGlyph* g = glyphs;
  const PdfGlyph* end = glyphs + count;
  const char* text = utf8;
  const char* textEnd = utf8 + bytes;
  for (int c = 0; c < clusterCount && g < end; ++c) {
    const int n = std::min<int>(clusters[c].glyphs, int(end - g));
    const int b = std::max(0, std::min<int>(clusters[c].bytes, int(textEnd - text)));
    const char* said = text;
    text += b;
    if (n == 1 && b > 0) {
      const PdfFontSet::Code code = fonts_->Use(face, g->index);
      if (fonts_->MapText(code.font, code.code, said, b)) {
        show(*g++, code);
        continue;
      }
    }
    FlushText();
    content_ += "/Span << /ActualText " + PdfTextString(QString::fromUtf8(said, b)) + " >> BDC\n";
    for (int i = 0; i < n; ++i, ++g) show(*g, fonts_->Use(face, g->index));
    FlushText();
    content_ += "EMC\n";
  }
  // Glyphs past the last cluster carry the text their fonts give them.
  for (; g < end; ++g) show(*g, fonts_->Use(face, g->index));
}
