// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "CairoPdfCanvas.h"

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

// A text's UTF-8 as cairo takes it: cairo refuses noncharacters (U+FFFE,
// U+FDD0, ...) and lone surrogates, which are given back as U+FFFD.
QByteArray ClusterText(QStringView text) {
  QList<uint> units = text.toUcs4();
  for (uint& c : units)
    if (QChar::isNonCharacter(c)) c = QChar::ReplacementCharacter;
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(units.constData()), units.size()).toUtf8();
}

// The size, and for a face without an italic the slant that stands for it
// (the shear of a typical oblique, the top to the right).
void SetFontSize(cairo_t* cr, const CairoFaceRef& face) {
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, face.size, face.size);
  if (face.oblique) matrix.xy = -0.2 * face.size;
  cairo_set_font_matrix(cr, &matrix);
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

bool SameGlyph(const cairo_glyph_t& a, const cairo_glyph_t& b) {
  return a.index == b.index && a.x == b.x && a.y == b.y;
}

}  // namespace

// A font as the canvas draws it: Qt's font and what is known about its characters and texts.
struct CairoPdfCanvas::TextFont {
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

CairoPdfCanvas::CairoPdfCanvas(cairo_t* cr, TDeviceContext* reference) : cr_(cr), reference_(reference) {
  cairo_font_options_t* options = cairo_font_options_create();
  // Qt lays out unhinted (see TFont::ToQFont): the glyphs drawn are the outlines it measured.
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
}

CairoPdfCanvas::~CairoPdfCanvas() {
  for (const Scaled& s : std::as_const(scaled_)) cairo_scaled_font_destroy(s.font);
}

void CairoPdfCanvas::BeginPage(QPointF origin, int dpi) {
  heldGlyphs_.clear();
  heldText_.clear();
  heldClusters_.clear();
  heldFace_ = nullptr;
  setFace_ = nullptr;
  colorKnown_ = false;
  scale_ = 1.0;
  cairo_identity_matrix(cr_);
  cairo_translate(cr_, origin.x(), origin.y());
  const double s = 72.0 / std::max(1, dpi);
  cairo_scale(cr_, s, s);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  // The sheet painted white first: cairo then knows the whole page is drawn
  // natively, instead of adding up the box of every call, which costs more
  // with each call a page already has.
  cairo_set_source_rgb(cr_, 1, 1, 1);
  cairo_paint(cr_);
}

CairoPdfCanvas::TextFont& CairoPdfCanvas::Realized(const TFont& wanted) {
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
const CairoPdfCanvas::Simple& CairoPdfCanvas::SimpleGlyph(TextFont& font, char16_t c) {
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
  const CairoFaceRef* face = faces_.Face(raw, font.bold, font.italic);
  if (!face->face) return s;
  quint32 glyph = run.glyphIndexes()[0];
  QPointF advance;
  if (!raw.advancesForGlyphIndexes(&glyph, &advance, 1)) return s;
  s.face = face;
  s.glyph = glyph;
  s.advance = advance.x();
  return s;
}

bool CairoPdfCanvas::SimpleRun(TextFont& font, const QString& text, double x, double y, double& width) {
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
const CairoPdfCanvas::Layout& CairoPdfCanvas::LaidOut(TextFont& font, const QString& text) {
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
      const CairoFaceRef* face = faces_.Face(run.rawFont(), font.bold, font.italic);
      const QList<quint32> indexes = run.glyphIndexes();
      const QList<QPointF> positions = run.positions();
      if (indexes.isEmpty()) continue;
      if (laid.runs.empty() || laid.runs.back().face != face) laid.runs.push_back(Run{face, {}, {}, {}});
      Run& target = laid.runs.back();
      int added = 0;
      for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        const cairo_glyph_t g{indexes[i], positions[i].x(), positions[i].y() + baselineShift};
        if (std::any_of(target.glyphs.begin(), target.glyphs.end(),
                        [&](const cairo_glyph_t& o) { return SameGlyph(o, g); }))
          continue;
        target.glyphs.push_back(g);
        ++added;
      }
      const QByteArray bytes = textPlaced ? QByteArray() : pendingText + utf8;
      if (added == 0 && !target.clusters.empty()) {
        // Part of a glyph already drawn: the earlier cluster grows by this text.
        target.clusters.back().num_bytes += int(bytes.size());
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

void CairoPdfCanvas::Hold(const CairoFaceRef* face, unsigned long glyph, double x, double y, const char* utf8,
                          int bytes) {
  if (face != heldFace_) Flush();
  heldFace_ = face;
  heldGlyphs_.push_back({glyph, x, y});
  heldText_.append(utf8, bytes);
  heldClusters_.push_back({bytes, 1});
}

void CairoPdfCanvas::Append(const Run& run, double x, double y) {
  if (run.face != heldFace_) Flush();
  heldFace_ = run.face;
  for (const cairo_glyph_t& g : run.glyphs) heldGlyphs_.push_back({g.index, g.x + x, g.y + y});
  heldText_ += run.utf8;
  heldClusters_.insert(heldClusters_.end(), run.clusters.begin(), run.clusters.end());
}

void CairoPdfCanvas::Flush() {
  if (heldFace_ && heldFace_->face && !heldClusters_.empty()) {
    SetColor(heldColor_);
    if (setFace_ != heldFace_) {
      UseFace(*heldFace_);
      setFace_ = heldFace_;
    }
    cairo_show_text_glyphs(cr_, heldText_.constData(), int(heldText_.size()), heldGlyphs_.data(),
                           int(heldGlyphs_.size()), heldClusters_.data(), int(heldClusters_.size()),
                           cairo_text_cluster_flags_t(0));
    if (heldFace_->bitmap) PaintBitmapGlyphs();
  }
  heldFace_ = nullptr;
  heldGlyphs_.clear();
  heldText_.clear();
  heldClusters_.clear();
}

// A sized font stands for its face only in a frame of the same scale and
// turn (cairo leaves the offset out of it).
void CairoPdfCanvas::UseFace(const CairoFaceRef& face) {
  cairo_matrix_t frame;
  cairo_get_matrix(cr_, &frame);
  Scaled& known = scaled_[&face];
  if (known.font && known.frame.xx == frame.xx && known.frame.yx == frame.yx && known.frame.xy == frame.xy &&
      known.frame.yy == frame.yy) {
    cairo_set_scaled_font(cr_, known.font);
    return;
  }
  cairo_set_font_face(cr_, face.face);
  SetFontSize(cr_, face);
  cairo_scaled_font_t* made = cairo_get_scaled_font(cr_);
  if (cairo_scaled_font_status(made) != CAIRO_STATUS_SUCCESS) return;
  if (known.font) cairo_scaled_font_destroy(known.font);
  known.font = cairo_scaled_font_reference(made);
  known.frame = frame;
}

// cairo scales a bitmap face's strike down to the page's size in points,
// which leaves its Type 3 glyphs a pixel or two high: the text stays there
// for search and copy, and the strike's own pixels are painted over it as a
// mask at the frame's resolution.
void CairoPdfCanvas::PaintBitmapGlyphs() {
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* measure = cairo_create(probe);
  cairo_set_font_face(measure, heldFace_->face);
  SetFontSize(measure, *heldFace_);
  cairo_text_extents_t box{};
  cairo_glyph_extents(measure, heldGlyphs_.data(), int(heldGlyphs_.size()), &box);
  cairo_destroy(measure);
  cairo_surface_destroy(probe);
  // The extents are measured from the first glyph's origin.
  const int left = int(std::floor(heldGlyphs_.front().x + box.x_bearing));
  const int top = int(std::floor(heldGlyphs_.front().y + box.y_bearing));
  const int width = int(std::ceil(heldGlyphs_.front().x + box.x_bearing + box.width)) - left;
  const int height = int(std::ceil(heldGlyphs_.front().y + box.y_bearing + box.height)) - top;
  if (width <= 0 || height <= 0 || qint64(width) * height > (qint64(1) << 26)) return;
  cairo_surface_t* ink = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* draw = cairo_create(ink);
  cairo_translate(draw, -left, -top);
  cairo_set_font_face(draw, heldFace_->face);
  SetFontSize(draw, *heldFace_);
  cairo_show_glyphs(draw, heldGlyphs_.data(), int(heldGlyphs_.size()));
  cairo_destroy(draw);
  cairo_pattern_t* mask = cairo_pattern_create_for_surface(ink);
  cairo_pattern_set_filter(mask, CAIRO_FILTER_NEAREST);
  cairo_matrix_t placed;
  cairo_matrix_init_translate(&placed, -left, -top);
  cairo_pattern_set_matrix(mask, &placed);
  cairo_mask(cr_, mask);
  cairo_pattern_destroy(mask);
  cairo_surface_destroy(ink);
}

void CairoPdfCanvas::SetColor(QRgb rgb) {
  if (colorKnown_ && setColor_ == rgb) return;
  cairo_set_source_rgb(cr_, qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0);
  setColor_ = rgb;
  colorKnown_ = true;
}

void CairoPdfCanvas::TextOut(int x, int y, const QString& text) { Text(font_, brush_, x, y, text); }

void CairoPdfCanvas::Text(const TFont& wanted, const TBrush& brush, int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  TextFont& font = Realized(wanted);
  const QRgb color = ToQColor(wanted.Color()).rgb();
  const bool turned = wanted.Orientation() != 0;
  const bool boxed = brush.Style != bsClear;
  if (turned || boxed || color != heldColor_) Flush();
  const QRgb savedColor = setColor_;
  const bool savedKnown = colorKnown_;
  const CairoFaceRef* savedFace = setFace_;
  double ox = x, oy = y;
  if (turned) {
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    // An escapement turns the text about its top-left corner, counter-clockwise; quarter turns exactly.
    const int tenths = -wanted.Orientation() % 3600;
    if (tenths % 900 == 0) {
      const int quarter = ((tenths / 900) % 4 + 4) % 4;
      const double sine = quarter == 1 ? 1 : quarter == 3 ? -1 : 0, cosine = quarter == 0 ? 1 : quarter == 2 ? -1 : 0;
      cairo_matrix_t turn;
      cairo_matrix_init(&turn, cosine, sine, -sine, cosine, 0, 0);
      cairo_transform(cr_, &turn);
    } else {
      cairo_rotate(cr_, tenths / 10.0 * M_PI / 180.0);
    }
    ox = oy = 0;
  }
  if (boxed) {
    const TDeviceContext* dc = reference_ ? reference_ : ScreenDC();
    SetColor(ToQColor(brush.Color).rgb());
    cairo_rectangle(cr_, ox, oy, dc->TextWidth(wanted, text), dc->TextHeight(wanted, text));
    cairo_fill(cr_);
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
    cairo_restore(cr_);
    setColor_ = savedColor;
    colorKnown_ = savedKnown;
    setFace_ = savedFace;
  }
}

// Underline and strike-out where Qt's painter puts them: the underline a whole
// pixel and a half below the baseline unless the descent is shorter, the
// strike-out a third of the ascent above it.
void CairoPdfCanvas::Decorate(const TextFont& font, double x, double y, double width) {
  const QFontMetricsF metrics(font.font);
  SetColor(ToQColor(font.from.Color()).rgb());
  cairo_set_line_width(cr_, metrics.lineWidth());
  cairo_set_dash(cr_, nullptr, 0, 0);
  auto line = [&](double at) {
    cairo_move_to(cr_, x, y + at);
    cairo_line_to(cr_, x + std::floor(width), y + at);
    cairo_stroke(cr_);
  };
  if (font.font.underline()) {
    const double offset = metrics.underlinePos();
    double adjusted = std::ceil(offset) + 0.5;
    if (offset <= metrics.descent()) adjusted = std::min(adjusted, metrics.descent() - 0.5);
    line(font.ascent + adjusted);
  }
  if (font.font.strikeOut()) line(font.ascent - metrics.ascent() / 3);
}

int CairoPdfCanvas::TextWidth(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextWidth(font_, OneLine(text));
}

int CairoPdfCanvas::TextHeight(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextHeight(font_, text);
}

// Never thinner than one device pixel, as on every other device; Qt's dash and
// dot patterns, in units of the line's width.
double CairoPdfCanvas::SetPen(const TPen& pen) {
  SetColor(ToQColor(pen.Color).rgb());
  const double width = (pen.Width <= 0 || pen.Width * scale_ < 1.0) ? 1.0 / scale_ : double(pen.Width);
  cairo_set_line_width(cr_, width);
  if (pen.Style == psDash) {
    const double dashes[] = {4 * width, 2 * width};
    cairo_set_dash(cr_, dashes, 2, 0);
  } else if (pen.Style == psDot) {
    const double dashes[] = {width, 2 * width};
    cairo_set_dash(cr_, dashes, 2, 0);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
  return width;
}

void CairoPdfCanvas::Polyline(const std::vector<QPoint>& points) { Lines(pen_, points); }

void CairoPdfCanvas::Lines(const TPen& pen, const std::vector<QPoint>& points) {
  if (points.size() < 2 || pen.Style == psClear) return;
  Flush();
  SetPen(pen);
  cairo_move_to(cr_, points[0].x(), points[0].y());
  for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x(), points[i].y());
  cairo_stroke(cr_);
}

void CairoPdfCanvas::Rectangle(const QRect& r) { Box(pen_, brush_, r); }

void CairoPdfCanvas::Box(const TPen& pen, const TBrush& brush, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  Fill(brush, r);
  if (pen.Style == psClear) return;
  Flush();
  // The stroke stays inside the rectangle's pixels, as the fill does.
  const double width = SetPen(pen), half = width / 2;
  cairo_rectangle(cr_, r.x() + half, r.y() + half, std::max(0.0, r.width() - width), std::max(0.0, r.height() - width));
  cairo_stroke(cr_);
}

void CairoPdfCanvas::FillRect(const QRect& r) { Fill(brush_, r); }

void CairoPdfCanvas::Fill(const TBrush& brush, const QRect& r) {
  if (brush.Style == bsClear || r.width() <= 0 || r.height() <= 0) return;
  Flush();
  SetColor(ToQColor(brush.Color).rgb());
  cairo_rectangle(cr_, r.x(), r.y(), r.width(), r.height());
  cairo_fill(cr_);
}

void CairoPdfCanvas::Draw(int x, int y, const TMetafile& page) { Play(QRect(x, y, page.Width(), page.Height()), page); }

void CairoPdfCanvas::StretchDraw(const QRect& r, const TMetafile& page) { Play(r, page); }

void CairoPdfCanvas::Play(const QRect& dest, const TMetafile& page) {
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
  const CairoFaceRef* savedFace = setFace_;
  const double outerScale = scale_;
  cairo_save(cr_);
  cairo_translate(cr_, dest.x(), dest.y());
  if (framed) {
    if (sx == 0 || sy == 0) {
      cairo_restore(cr_);
      return;
    }
    cairo_scale(cr_, sx, sy);
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
  cairo_restore(cr_);
  scale_ = outerScale;
  setColor_ = savedColor;
  colorKnown_ = savedKnown;
  setFace_ = savedFace;
}
