// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfCanvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainterPath>
#include <QTextLayout>
#include <charconv>
#include <cmath>

#include "Device.h"
#include "Metafile.h"
#include "PdfDocument.h"

namespace {

constexpr size_t kFontsKept = 8;
constexpr qsizetype kLayoutsKept = 4096;

void Put(QByteArray& out, qreal value) {
  const qreal rounded = std::round(value);
  if (std::abs(value - rounded) < 0.0005 && std::abs(rounded) < 1e15) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, qint64(rounded)).ptr;
    out.append(digits, end - digits);
  } else {
    out += QByteArray::number(value, 'f', 3);
  }
}

void Put(QByteArray& out, std::initializer_list<qreal> values, const char* op) {
  for (qreal v : values) {
    Put(out, v);
    out += ' ';
  }
  out += op;
  out += '\n';
}

void PutHex4(QByteArray& out, quint16 value) {
  static const char digits[] = "0123456789ABCDEF";
  const char hex[4] = {digits[(value >> 12) & 0xF], digits[(value >> 8) & 0xF], digits[(value >> 4) & 0xF],
                       digits[value & 0xF]};
  out.append(hex, 4);
}

// A number as written, read back to the same double: positions are multiples
// of 1/64 pixel, which seven decimals hold exactly.
QByteArray Exact(qreal value) {
  QByteArray text = QByteArray::number(value, 'f', 7);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text == "-0" ? QByteArray("0") : text;
}

void PutColor(QByteArray& out, QRgb rgb, const char* op) {
  Put(out, {qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0}, op);
}

}  // namespace

// A font as the canvas draws it: Qt's font, its primary face, and what is
// known about its characters and texts.
struct TPdfCanvas::TextFont {
  TFont from;
  QFont font;
  QRawFont raw;
  TPdfFontSubset* subset = nullptr;
  qreal ascent = 0;
  int pixelSize = 0;
  // Per character below 0x3000: the subset's glyph, or 0 when the character
  // needs a full layout; its advance in pixels.
  std::vector<quint16> glyphs;
  std::vector<qreal> advances;
  std::vector<QByteArray> moves;  // "advance 0 Td <", what follows the character's glyph
  std::vector<bool> known;
  QHash<QString, Layout> layouts;
  std::vector<std::unique_ptr<QRawFont>> faces;  // fallback faces for outlines
};

TPdfCanvas::TPdfCanvas(TPdfDocument* document, TDeviceContext* reference)
    : document_(document), reference_(reference) {}

TPdfCanvas::~TPdfCanvas() = default;

void TPdfCanvas::BeginPage(QSizeF page, QPointF origin, int dpi) {
  state_ = State{};
  scale_ = 1.0;
  const qreal s = 72.0 / std::max(1, dpi);
  QByteArray& out = document_->Content();
  // Device pixels with y growing downwards, as every recorded page is drawn.
  const QByteArray scale = QByteArray::number(s, 'g', 9);
  out += scale + " 0 0 -" + scale + ' ';
  Put(out, {origin.x(), page.height() - origin.y()}, "cm");
  out += "0 J 0 j\n";
}

TPdfCanvas::TextFont& TPdfCanvas::Realized(const TFont& wanted) {
  for (size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i]->from.SameAs(wanted)) {
      if (i) std::rotate(fonts_.begin(), fonts_.begin() + qsizetype(i), fonts_.begin() + qsizetype(i) + 1);
      return *fonts_.front();
    }
  }
  auto made = std::make_unique<TextFont>();
  made->from.Assign(wanted);
  made->font = wanted.ToQFont();
  made->raw = QRawFont::fromFont(made->font);
  made->subset = &document_->Font(made->raw);
  made->ascent = QFontMetrics(made->font).ascent();
  made->pixelSize = int(std::lround(made->raw.pixelSize()));
  made->glyphs.assign(0x3000, 0);
  made->advances.assign(0x3000, 0);
  made->moves.assign(0x3000, {});
  made->known.assign(0x3000, false);
  if (fonts_.size() == kFontsKept) fonts_.pop_back();
  fonts_.insert(fonts_.begin(), std::move(made));
  return *fonts_.front();
}

// Digits, signs, punctuation and blanks map one character to one glyph of the
// primary face and are placed at the sum of the advances before them; a character
// is taken as such only after a full layout of it agrees.
quint16 TPdfCanvas::SimpleGlyph(TextFont& font, QChar ch) {
  const char16_t c = ch.unicode();
  if (c < 0x20 || (c >= 0x7F && c < 0xA0) || ch.isLetter() || ch.isMark() || ch.isSurrogate()) return 0;
  quint32 original = 0;
  int count = 1;
  if (!font.raw.glyphIndexesForChars(&ch, 1, &original, &count) || count != 1 || original == 0) return 0;
  QTextLayout layout(QString(ch), font.font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs[0].glyphIndexes() != QList<quint32>{original} ||
      TPdfDocument::FaceOf(runs[0].rawFont()) != TPdfDocument::FaceOf(font.raw))
    return 0;
  QPointF advance;
  font.raw.advancesForGlyphIndexes(&original, &advance, 1);
  font.advances[c] = advance.x();
  font.moves[c] = Exact(advance.x()) + " 0 Td <";
  return font.subset->Glyph(original);
}

// Each glyph moves from the one before by that one's advance, as Qt's own
// PDF output does: readers then compute every position along the same path.
bool TPdfCanvas::SimpleRun(TextFont& font, const QString& text, qreal ascent, QByteArray& out, qreal& width) {
  if (!font.subset->Usable()) return false;
  width = 0;
  char16_t previous = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= 0x3000) return false;
    if (!font.known[c]) {
      font.known[c] = true;
      font.glyphs[c] = SimpleGlyph(font, text[i]);
    }
    if (!font.glyphs[c]) return false;
    if (i == 0) {
      out += "0 ";
      out += Exact(-ascent);
      out += " Td <";
    } else {
      out += font.moves[previous];
    }
    PutHex4(out, font.glyphs[c]);
    out += "> Tj\n";
    width += font.advances[c];
    previous = c;
  }
  return true;
}

const TPdfCanvas::Layout& TPdfCanvas::LaidOut(TextFont& font, const QString& text) {
  const auto known = font.layouts.constFind(text);
  if (known != font.layouts.constEnd()) return known.value();
  if (font.layouts.size() >= kLayoutsKept) font.layouts.clear();
  QTextLayout layout(text, font.font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  const qreal lineAscent = line.isValid() ? line.ascent() : font.ascent;
  Layout laid;
  laid.width = line.isValid() ? line.naturalTextWidth() : 0;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont raw = run.rawFont();
    TPdfFontSubset* subset = &document_->Font(raw);
    QRawFont* face = nullptr;
    if (!subset->Usable()) {
      font.faces.push_back(std::make_unique<QRawFont>(raw));
      face = font.faces.back().get();
    }
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
      Glyph g;
      g.original = indexes[i];
      g.position = QPointF(positions[i].x(), positions[i].y() - lineAscent);
      if (face) {
        g.raw = face;
      } else {
        g.font = subset;
        g.number = subset->Glyph(indexes[i]);
      }
      laid.glyphs.push_back(g);
    }
  }
  return font.layouts.insert(text, laid).value();
}

void TPdfCanvas::SetFill(QColor color) {
  const QRgb rgb = color.rgb();
  if (state_.fillKnown && state_.fill == rgb) return;
  PutColor(document_->Content(), rgb, "rg");
  state_.fill = rgb;
  state_.fillKnown = true;
}

void TPdfCanvas::SetStroke(const TPen& pen) {
  QByteArray& out = document_->Content();
  const QRgb rgb = ToQColor(pen.Color).rgb();
  if (!state_.strokeKnown || state_.stroke != rgb) {
    PutColor(out, rgb, "RG");
    state_.stroke = rgb;
    state_.strokeKnown = true;
  }
  // Never thinner than one device pixel, as on every other device.
  const qreal width = (pen.Width <= 0 || pen.Width * scale_ < 1.0) ? 1.0 / scale_ : qreal(pen.Width);
  if (width != state_.lineWidth) {
    Put(out, {width}, "w");
    state_.lineWidth = width;
    state_.dash = -1;
  }
  if (int(pen.Style) != state_.dash) {
    // Qt's dash and dot patterns, in units of the line's width.
    auto pattern = [&](qreal on, qreal off) {
      out += '[';
      Put(out, on * width);
      out += ' ';
      Put(out, off * width);
      out += "] 0 d\n";
    };
    if (pen.Style == psDash) pattern(4, 2);
    else if (pen.Style == psDot) pattern(1, 2);
    else out += "[] 0 d\n";
    state_.dash = int(pen.Style);
  }
}

void TPdfCanvas::FillBox(qreal x, qreal y, qreal w, qreal h) { Put(document_->Content(), {x, y, w, h}, "re f"); }

// A text in the text's own frame (its top-left corner at the origin), one text
// object per text, glyph after glyph.
void TPdfCanvas::DrawText(TextFont& font, const QString& text) {
  QByteArray& out = document_->Content();
  qreal width = 0;
  const qsizetype mark = out.size();
  out += "BT\n";
  out += font.subset->Resource();
  out += ' ';
  Put(out, {qreal(font.pixelSize)}, "Tf 1 0 0 -1 0 0 Tm");
  if (SimpleRun(font, text, font.ascent, out, width)) {
    out += "ET\n";
  } else {
    out.truncate(mark);
    const Layout& laid = LaidOut(font, text);
    const TPdfFontSubset* selected = nullptr;
    qreal lastX = 0, lastY = 0;
    bool inText = false;
    for (const Glyph& g : laid.glyphs) {
      const qreal gx = g.position.x(), gy = font.ascent + g.position.y();
      if (g.font) {
        if (!inText || g.font != selected) {
          if (inText) out += "ET\n";
          out += "BT\n";
          out += g.font->Resource();
          out += ' ';
          Put(out, {qreal(font.pixelSize)}, "Tf 1 0 0 -1 0 0 Tm");
          selected = g.font;
          inText = true;
          lastX = lastY = 0;
        }
        out += Exact(gx - lastX) + ' ' + Exact(lastY - gy) + " Td <";
        PutHex4(out, g.number);
        out += "> Tj\n";
        lastX = gx;
        lastY = gy;
      } else {
        // A face that cannot be embedded is drawn as outlines: visible, though not text.
        if (inText) out += "ET\n";
        inText = false;
        const QPainterPath path = g.raw->pathForGlyph(g.original).translated(gx, gy);
        for (int i = 0; i < path.elementCount(); ++i) {
          const QPainterPath::Element e = path.elementAt(i);
          if (e.isMoveTo()) Put(out, {e.x, e.y}, "m");
          else if (e.isLineTo()) Put(out, {e.x, e.y}, "l");
          else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            Put(out, {e.x, e.y, c2.x, c2.y, end.x, end.y}, "c");
            i += 2;
          }
        }
        if (path.elementCount()) out += "f\n";
      }
    }
    if (inText) out += "ET\n";
    width = laid.width;
  }
  if (font.font.underline() || font.font.strikeOut()) Decorate(font, width);
}

// Underline and strike-out lines where Qt's painter puts them: the underline
// a whole pixel and a half below the baseline unless the descent is shorter,
// the strike-out a third of the ascent above it.
void TPdfCanvas::Decorate(const TextFont& font, qreal width) {
  const QFontMetricsF metrics(font.font);
  TPen pen;
  pen.Color = font.from.Color();
  pen.Width = 0;
  SetStroke(pen);
  QByteArray& out = document_->Content();
  const qreal thickness = metrics.lineWidth();
  Put(out, {thickness}, "w");
  state_.lineWidth = thickness;
  auto line = [&](qreal y) {
    Put(out, {0, y}, "m");
    Put(out, {std::floor(width), y}, "l");
    out += "S\n";
  };
  const qreal baseline = font.ascent;
  if (font.font.underline()) {
    const qreal offset = metrics.underlinePos();
    qreal adjusted = std::ceil(offset) + 0.5;
    if (offset <= metrics.descent()) adjusted = std::min(adjusted, metrics.descent() - 0.5);
    line(baseline + adjusted);
  }
  if (font.font.strikeOut()) line(baseline - metrics.ascent() / 3);
}

void TPdfCanvas::TextOut(int x, int y, const QString& text) { Text(font_, brush_, x, y, text); }

void TPdfCanvas::Text(const TFont& wanted, const TBrush& brush, int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  TextFont& font = Realized(wanted);
  QByteArray& out = document_->Content();
  // The text's colour is set outside its frame, so the next text in the same colour needs none.
  SetFill(ToQColor(wanted.Color()));
  const QRgb textColor = state_.fill;
  out += "q\n";
  if (wanted.Orientation() != 0) {
    // An escapement turns the text about its top-left corner, counter-clockwise.
    // Quarter turns are exact, as in Qt's own rotation.
    const int tenths = -wanted.Orientation() % 3600;
    const qreal angle = tenths / 10.0 * M_PI / 180.0;
    qreal sine = std::sin(angle), cosine = std::cos(angle);
    if (tenths % 900 == 0) {
      const int quarter = ((tenths / 900) % 4 + 4) % 4;
      sine = quarter == 1 ? 1 : quarter == 3 ? -1 : 0;
      cosine = quarter == 0 ? 1 : quarter == 2 ? -1 : 0;
    }
    Put(out, {cosine, sine, -sine, cosine, qreal(x), qreal(y)}, "cm");
  } else {
    Put(out, {1, 0, 0, 1, qreal(x), qreal(y)}, "cm");
  }
  const State outer = state_;
  if (brush.Style != bsClear) {
    const TDeviceContext* dc = reference_ ? reference_ : ScreenDC();
    SetFill(ToQColor(brush.Color));
    FillBox(0, 0, dc->TextWidth(wanted, text), dc->TextHeight(wanted, text));
    SetFill(QColor::fromRgb(textColor));
  }
  DrawText(font, text);
  out += "Q\n";
  state_ = outer;
}

int TPdfCanvas::TextWidth(const QString& text) { return (reference_ ? reference_ : ScreenDC())->TextWidth(font_, text); }

int TPdfCanvas::TextHeight(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextHeight(font_, text);
}

void TPdfCanvas::Polyline(const std::vector<QPoint>& points) { Lines(pen_, points); }

void TPdfCanvas::Lines(const TPen& pen, const std::vector<QPoint>& points) {
  if (points.size() < 2 || pen.Style == psClear) return;
  SetStroke(pen);
  QByteArray& out = document_->Content();
  Put(out, {qreal(points[0].x()), qreal(points[0].y())}, "m");
  for (size_t i = 1; i < points.size(); ++i) Put(out, {qreal(points[i].x()), qreal(points[i].y())}, "l");
  out += "S\n";
}

void TPdfCanvas::Rectangle(const QRect& r) { Box(pen_, brush_, r); }

void TPdfCanvas::Box(const TPen& pen, const TBrush& brush, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  Fill(brush, r);
  if (pen.Style == psClear) return;
  SetStroke(pen);
  // The stroke stays inside the rectangle's pixels, as the fill does.
  const qreal width = state_.lineWidth, half = width / 2;
  Put(document_->Content(),
      {r.x() + half, r.y() + half, std::max<qreal>(0, r.width() - width), std::max<qreal>(0, r.height() - width)},
      "re S");
}

void TPdfCanvas::FillRect(const QRect& r) { Fill(brush_, r); }

void TPdfCanvas::Fill(const TBrush& brush, const QRect& r) {
  if (brush.Style == bsClear || r.width() <= 0 || r.height() <= 0) return;
  SetFill(ToQColor(brush.Color));
  FillBox(r.x(), r.y(), r.width(), r.height());
}

void TPdfCanvas::Draw(int x, int y, const TMetafile& page) { Play(QRect(x, y, page.Width(), page.Height()), page); }

void TPdfCanvas::StretchDraw(const QRect& r, const TMetafile& page) { Play(r, page); }

void TPdfCanvas::Play(const QRect& dest, const TMetafile& page) {
  QByteArray& out = document_->Content();
  out += "q\n";
  qreal sx = 1, sy = 1;
  // A page without a frame plays at its own size.
  if (page.Width() > 0 && page.Height() > 0 && (dest.width() != page.Width() || dest.height() != page.Height())) {
    sx = qreal(dest.width()) / page.Width();
    sy = qreal(dest.height()) / page.Height();
  }
  Put(out, {sx, 0, 0, sy, qreal(dest.x()), qreal(dest.y())}, "cm");
  const qreal outerScale = scale_;
  scale_ *= std::sqrt(std::abs(sx * sy));
  const State savedState = state_;
  state_.lineWidth = -1;  // the frame changed what a device pixel is
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
  out += "Q\n";
  scale_ = outerScale;
  state_ = savedState;
}
