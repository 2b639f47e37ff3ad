// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfCanvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "Device.h"
#include "Metafile.h"
#include "OneLine.h"

namespace {

constexpr size_t kFontsKept = 8;
constexpr qsizetype kLayoutsKept = 4096;

// A text's UTF-8 as the page carries it: noncharacters (U+FFFE, U+FDD0, ...)
// and lone surrogates are given back as U+FFFD.
QByteArray ClusterText(QStringView text) {
  QList<uint> units = text.toUcs4();
  for (uint& c : units)
    if (QChar::isNonCharacter(c)) c = QChar::ReplacementCharacter;
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(units.constData()), units.size()).toUtf8();
}

// Characters that never join, reorder or change shape with their neighbours.
bool MaybeSimple(QChar ch) {
  const char16_t c = ch.unicode();
  if (c < 0x20 || (c >= 0x7F && c < 0xA0) || QChar::isNonCharacter(c)) return false;
  if (ch.isLetter() || ch.isMark() || ch.isSurrogate()) return false;
  const QChar::Category category = ch.category();
  if (category == QChar::Other_Format || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
    return false;
  switch (ch.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirON:
    case QChar::DirWS: return true;
    default: return false;
  }
}

bool SameGlyph(const PdfGlyph& a, const PdfGlyph& b) { return a.index == b.index && a.x == b.x && a.y == b.y; }

}  // namespace

// A font as the canvas draws it: Qt's font and what is known about its characters and texts.
struct PdfCanvas::TextFont {
  TFont from;
  QFont font;
  double ascent = 0;
  bool bold = false;
  bool italic = false;
  QHash<QString, Layout> layouts;
  // What is known of each character, in blocks of 256 made as texts need them.
  Simple& SimpleAt(char16_t c) {
    std::unique_ptr<std::array<Simple, 256>>& block = simple[c >> 8];
    if (!block) block = std::make_unique<std::array<Simple, 256>>();
    return (*block)[c & 0xFF];
  }

 private:
  std::array<std::unique_ptr<std::array<Simple, 256>>, 256> simple;
};

PdfCanvas::PdfCanvas(PdfWriter& writer, TDeviceContext* reference)
    : writer_(writer), reference_(reference), faces_(writer.Fonts()) {}

PdfCanvas::~PdfCanvas() = default;

void PdfCanvas::BeginPage(QPointF origin, int dpi) {
  heldGlyphs_.clear();
  heldText_.clear();
  heldClusters_.clear();
  heldFace_ = nullptr;
  colorKnown_ = false;
  scale_ = 1.0;
  const double s = 72.0 / std::max(1, dpi);
  writer_.Transform(s, 0, 0, s, origin.x(), origin.y());
}

PdfCanvas::TextFont& PdfCanvas::Realized(const TFont& wanted) {
  for (size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i]->from.SameAs(wanted)) {
      if (i) std::rotate(fonts_.begin(), fonts_.begin() + qsizetype(i), fonts_.begin() + qsizetype(i) + 1);
      return *fonts_.front();
    }
  }
  auto made = std::make_unique<TextFont>();
  made->from.Assign(wanted);
  made->font = wanted.ToQFont();
  made->ascent = QFontMetricsF(made->font).ascent();
  made->bold = made->font.weight() >= QFont::DemiBold;
  made->italic = made->font.style() != QFont::StyleNormal;
  if (fonts_.size() == kFontsKept) fonts_.pop_back();
  fonts_.insert(fonts_.begin(), std::move(made));
  return *fonts_.front();
}

// A character is taken as simple only after a layout of it alone gives one
// glyph on the baseline; texts of such characters are placed at the sum of
// the advances before each, as Qt places them without kerning.
const PdfCanvas::Simple& PdfCanvas::SimpleGlyph(TextFont& font, char16_t c) {
  Simple& s = font.SimpleAt(c);
  if (s.known) return s;
  s.known = true;
  const QChar ch(c);
  if (!MaybeSimple(ch)) return s;
  QTextLayout layout(QString(ch), font.font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return s;
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 || runs[0].positions().size() != 1) return s;
  const QGlyphRun& run = runs[0];
  if (run.glyphIndexes()[0] == 0 || std::abs(run.positions()[0].y() - line.ascent()) > 1e-6 ||
      run.positions()[0].x() != 0)
    return s;
  const QRawFont raw = run.rawFont();
  const PdfFaceRef* face = faces_.Face(raw, font.bold, font.italic);
  if (!face->face) return s;
  quint32 glyph = run.glyphIndexes()[0];
  QPointF advance;
  if (!raw.advancesForGlyphIndexes(&glyph, &advance, 1)) return s;
  s.face = face;
  s.glyph = glyph;
  s.advance = advance.x();
  return s;
}

bool PdfCanvas::SimpleRun(TextFont& font, const QString& text, double x, double y, double& width) {
  // Checked whole before anything is held, so that a text is drawn one way only.
  for (const QChar ch : text)
    if (!SimpleGlyph(font, ch.unicode()).face) return false;
  double pen = 0;
  char utf8[3];
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    const Simple& s = font.SimpleAt(c);
    int bytes = 1;
    if (c < 0x80) {
      utf8[0] = char(c);
    } else if (c < 0x800) {
      utf8[0] = char(0xC0 | (c >> 6));
      utf8[1] = char(0x80 | (c & 0x3F));
      bytes = 2;
    } else {
      utf8[0] = char(0xE0 | (c >> 12));
      utf8[1] = char(0x80 | ((c >> 6) & 0x3F));
      utf8[2] = char(0x80 | (c & 0x3F));
      bytes = 3;
    }
    Hold(s.face, s.glyph, x + pen, y + font.ascent, utf8, bytes);
    pen += s.advance;
  }
  width = pen;
  return true;
}

// Any other text: Qt's layout of the whole line, and for each grapheme the
// glyphs Qt drew for it, which gives the clusters. A glyph shared by several
// graphemes (a ligature) makes one cluster of them.
const PdfCanvas::Layout& PdfCanvas::LaidOut(TextFont& font, const QString& text) {
  const auto known = font.layouts.constFind(text);
  if (known != font.layouts.constEnd()) return known.value();
  if (font.layouts.size() >= kLayoutsKept) font.layouts.clear();
  const QString shown = OneLine(text);
  QTextLayout layout(shown, font.font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  Layout laid;
  if (!line.isValid()) return font.layouts.insert(text, laid).value();
  laid.width = line.naturalTextWidth();
  const double baselineShift = font.ascent - line.ascent();
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, shown);
  qsizetype start = 0;
  QByteArray pendingText;  // graphemes without glyphs of their own go with the next cluster
  while (start < shown.size()) {
    qsizetype end = graphemes.toNextBoundary();
    if (end <= start) end = shown.size();
    const QByteArray utf8 = ClusterText(QStringView(shown).mid(start, end - start));
    bool textPlaced = false;
    for (const QGlyphRun& run : line.glyphRuns(int(start), int(end - start))) {
      const PdfFaceRef* face = faces_.Face(run.rawFont(), font.bold, font.italic);
      const QList<quint32> indexes = run.glyphIndexes();
      const QList<QPointF> positions = run.positions();
      if (indexes.isEmpty()) continue;
      if (laid.runs.empty() || laid.runs.back().face != face) laid.runs.push_back(Run{face, {}, {}, {}});
      Run& target = laid.runs.back();
      int added = 0;
      for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        const PdfGlyph g{indexes[i], positions[i].x(), positions[i].y() + baselineShift};
        if (std::any_of(target.glyphs.begin(), target.glyphs.end(), [&](const PdfGlyph& o) { return SameGlyph(o, g); }))
          continue;
        target.glyphs.push_back(g);
        ++added;
      }
      const QByteArray bytes = textPlaced ? QByteArray() : pendingText + utf8;
      if (added == 0 && !target.clusters.empty()) {
        // Part of a glyph already drawn: the earlier cluster grows by this text.
        target.clusters.back().bytes += int(bytes.size());
      } else if (added > 0 || !bytes.isEmpty()) {
        target.clusters.push_back({int(bytes.size()), added});
      }
      target.utf8 += bytes;
      if (!bytes.isEmpty() || textPlaced) pendingText.clear();
      textPlaced = true;
    }
    if (!textPlaced) pendingText += utf8;
    start = end;
  }
  if (!pendingText.isEmpty() && !laid.runs.empty()) {
    Run& last = laid.runs.back();
    last.utf8 += pendingText;
    last.clusters.push_back({int(pendingText.size()), 0});
  }
  return font.layouts.insert(text, laid).value();
}

void PdfCanvas::Hold(const PdfFaceRef* face, unsigned long glyph, double x, double y, const char* utf8, int bytes) {
  if (face != heldFace_) Flush();
  heldFace_ = face;
  heldGlyphs_.push_back({glyph, x, y});
  heldText_.append(utf8, bytes);
  heldClusters_.push_back({bytes, 1});
}

void PdfCanvas::Append(const Run& run, double x, double y) {
  if (run.face != heldFace_) Flush();
  heldFace_ = run.face;
  for (const PdfGlyph& g : run.glyphs) heldGlyphs_.push_back({g.index, g.x + x, g.y + y});
  heldText_ += run.utf8;
  heldClusters_.insert(heldClusters_.end(), run.clusters.begin(), run.clusters.end());
}

void PdfCanvas::Flush() {
  if (heldFace_ && heldFace_->face && !heldClusters_.empty()) {
    SetColor(heldColor_);
    writer_.ShowGlyphs(*heldFace_->face, heldFace_->size, heldFace_->oblique, heldFace_->stroked, heldGlyphs_.data(),
                       int(heldGlyphs_.size()), heldText_.constData(), int(heldText_.size()), heldClusters_.data(),
                       int(heldClusters_.size()));
  }
  heldFace_ = nullptr;
  heldGlyphs_.clear();
  heldText_.clear();
  heldClusters_.clear();
}

void PdfCanvas::SetColor(QRgb rgb) {
  if (colorKnown_ && setColor_ == rgb) return;
  writer_.SetColor(qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0);
  setColor_ = rgb;
  colorKnown_ = true;
}

void PdfCanvas::TextOut(int x, int y, const QString& text) { Text(font_, brush_, x, y, text); }

void PdfCanvas::Text(const TFont& wanted, const TBrush& brush, int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  TextFont& font = Realized(wanted);
  const QRgb color = ToQColor(wanted.Color()).rgb();
  const bool turned = wanted.Orientation() != 0;
  const bool boxed = brush.Style != bsClear;
  if (turned || boxed || color != heldColor_) Flush();
  const QRgb savedColor = setColor_;
  const bool savedKnown = colorKnown_;
  double ox = x, oy = y;
  if (turned) {
    writer_.Save();
    writer_.Transform(1, 0, 0, 1, x, y);
    // An escapement turns the text about its top-left corner, counter-clockwise; quarter turns exactly.
    const int tenths = -wanted.Orientation() % 3600;
    if (tenths % 900 == 0) {
      const int quarter = ((tenths / 900) % 4 + 4) % 4;
      const double sine = quarter == 1 ? 1 : quarter == 3 ? -1 : 0, cosine = quarter == 0 ? 1 : quarter == 2 ? -1 : 0;
      writer_.Transform(cosine, sine, -sine, cosine, 0, 0);
    } else {
      const double angle = tenths / 10.0 * M_PI / 180.0;
      writer_.Transform(std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 0, 0);
    }
    ox = oy = 0;
  }
  if (boxed) {
    const TDeviceContext* dc = reference_ ? reference_ : ScreenDC();
    SetColor(ToQColor(brush.Color).rgb());
    writer_.Rect(ox, oy, dc->TextWidth(wanted, text), dc->TextHeight(wanted, text));
    writer_.Fill();
  }
  heldColor_ = color;
  double width = 0;
  if (!SimpleRun(font, text, ox, oy, width)) {
    const Layout& laid = LaidOut(font, text);
    for (const Run& run : laid.runs) Append(run, ox, oy);
    width = laid.width;
  }
  if (font.font.underline() || font.font.strikeOut()) {
    Flush();
    Decorate(font, ox, oy, width);
  }
  if (turned) {
    Flush();
    writer_.Restore();
    setColor_ = savedColor;
    colorKnown_ = savedKnown;
  }
}

// Underline and strike-out where Qt's painter puts them: the underline a whole
// pixel and a half below the baseline unless the descent is shorter, the
// strike-out a third of the ascent above it.
void PdfCanvas::Decorate(const TextFont& font, double x, double y, double width) {
  const QFontMetricsF metrics(font.font);
  SetColor(ToQColor(font.from.Color()).rgb());
  writer_.SetLineWidth(metrics.lineWidth());
  writer_.SetDash(nullptr, 0);
  auto line = [&](double at) {
    writer_.MoveTo(x, y + at);
    writer_.LineTo(x + std::floor(width), y + at);
    writer_.Stroke();
  };
  if (font.font.underline()) {
    const double offset = metrics.underlinePos();
    double adjusted = std::ceil(offset) + 0.5;
    if (offset <= metrics.descent()) adjusted = std::min(adjusted, metrics.descent() - 0.5);
    line(font.ascent + adjusted);
  }
  if (font.font.strikeOut()) line(font.ascent - metrics.ascent() / 3);
}

int PdfCanvas::TextWidth(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextWidth(font_, OneLine(text));
}

int PdfCanvas::TextHeight(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextHeight(font_, text);
}

// Never thinner than one device pixel, as on every other device; Qt's dash and
// dot patterns, in units of the line's width.
double PdfCanvas::SetPen(const TPen& pen) {
  SetColor(ToQColor(pen.Color).rgb());
  const double width = (pen.Width <= 0 || pen.Width * scale_ < 1.0) ? 1.0 / scale_ : double(pen.Width);
  writer_.SetLineWidth(width);
  if (pen.Style == psDash) {
    const double dashes[] = {4 * width, 2 * width};
    writer_.SetDash(dashes, 2);
  } else if (pen.Style == psDot) {
    const double dashes[] = {width, 2 * width};
    writer_.SetDash(dashes, 2);
  } else {
    writer_.SetDash(nullptr, 0);
  }
  return width;
}

void PdfCanvas::Polyline(const std::vector<QPoint>& points) { Lines(pen_, points); }

void PdfCanvas::Lines(const TPen& pen, const std::vector<QPoint>& points) {
  if (points.size() < 2 || pen.Style == psClear) return;
  Flush();
  SetPen(pen);
  writer_.MoveTo(points[0].x(), points[0].y());
  for (size_t i = 1; i < points.size(); ++i) writer_.LineTo(points[i].x(), points[i].y());
  writer_.Stroke();
}

void PdfCanvas::Rectangle(const QRect& r) { Box(pen_, brush_, r); }

void PdfCanvas::Box(const TPen& pen, const TBrush& brush, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  Fill(brush, r);
  if (pen.Style == psClear) return;
  Flush();
  // The stroke stays inside the rectangle's pixels, as the fill does.
  const double width = SetPen(pen), half = width / 2;
  writer_.Rect(r.x() + half, r.y() + half, std::max(0.0, r.width() - width), std::max(0.0, r.height() - width));
  writer_.Stroke();
}

void PdfCanvas::FillRect(const QRect& r) { Fill(brush_, r); }

void PdfCanvas::Fill(const TBrush& brush, const QRect& r) {
  if (brush.Style == bsClear || r.width() <= 0 || r.height() <= 0) return;
  Flush();
  SetColor(ToQColor(brush.Color).rgb());
  writer_.Rect(r.x(), r.y(), r.width(), r.height());
  writer_.Fill();
}

void PdfCanvas::Draw(int x, int y, const TMetafile& page) { Play(QRect(x, y, page.Width(), page.Height()), page); }

void PdfCanvas::StretchDraw(const QRect& r, const TMetafile& page) { Play(r, page); }

void PdfCanvas::Play(const QRect& dest, const TMetafile& page) {
  Flush();
  double sx = 1, sy = 1;
  // A page without a frame plays at its own size.
  if (page.Width() > 0 && page.Height() > 0 && (dest.width() != page.Width() || dest.height() != page.Height())) {
    sx = double(dest.width()) / page.Width();
    sy = double(dest.height()) / page.Height();
  }
  const bool framed = sx != 1 || sy != 1;
  const QRgb savedColor = setColor_;
  const bool savedKnown = colorKnown_;
  const double outerScale = scale_;
  if (framed && (sx == 0 || sy == 0)) return;
  writer_.Save();
  writer_.Transform(framed ? sx : 1, 0, 0, framed ? sy : 1, dest.x(), dest.y());
  if (framed) {
    scale_ *= std::sqrt(std::abs(sx * sy));
  }
  // The operations carry their own font, pen and brush; the canvas's own stay as they are.
  for (const TMetaOp& op : page.Operations()) {
    switch (op.kind) {
      case TMetaOp::Text:
        if (op.font) Text(*op.font, op.brush, op.origin.x(), op.origin.y(), op.text);
        break;
      case TMetaOp::Polyline: Lines(op.pen, op.points); break;
      case TMetaOp::Rectangle: Box(op.pen, op.brush, op.rect); break;
      case TMetaOp::FillRect: Fill(op.brush, op.rect); break;
    }
  }
  Flush();
  writer_.Restore();
  scale_ = outerScale;
  setColor_ = savedColor;
  colorKnown_ = savedKnown;
}
