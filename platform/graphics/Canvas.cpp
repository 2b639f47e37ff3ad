// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <cmath>

#include "Device.h"
#include "Metafile.h"
#include "OneLine.h"

namespace {
// How many device pixels one unit of the painter's coordinates is.
qreal DeviceScale(const QPainter& painter) {
  const QTransform t = painter.combinedTransform();
  const qreal s = std::sqrt(std::abs(t.determinant()));
  return s > 0 ? s : 1.0;
}

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
  switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psClear: return Qt::NoPen;
    case psSolid: break;
  }
  return Qt::SolidLine;
}

// A pen never draws thinner than one device pixel: width 0, and any width that
// a reduced playback would shrink below a pixel, becomes Qt's cosmetic hairline.
QPen ToQPen(const TPen& pen, qreal scale, qreal* logicalWidth) {
  QPen result(ToQColor(pen.Color));
  result.setStyle(ToQtPenStyle(pen.Style));
  result.setCapStyle(Qt::FlatCap);
  result.setJoinStyle(Qt::MiterJoin);
  if (pen.Width <= 0 || pen.Width * scale < 1.0) {
    result.setWidth(0);
    result.setCosmetic(true);
    *logicalWidth = 1.0 / scale;
  } else {
    result.setWidth(pen.Width);
    result.setCosmetic(false);
    *logicalWidth = pen.Width;
  }
  return result;
}
}  // namespace

void TCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  Polyline({penPos_, to});
  penPos_ = to;
}

TPainterCanvas::TPainterCanvas(QPainter* painter, TDeviceContext* reference)
    : painter_(painter), reference_(reference) {}

const QFont& TPainterCanvas::RealizedFont() {
  if (!realizedValid_ || !realizedFrom_.SameAs(font_)) {
    realizedFrom_.Assign(font_);
    realized_ = font_.ToQFont();
    realizedAscent_ = QFontMetrics(realized_).ascent();
    realizedValid_ = true;
    ++realizedVersion_;
  }
  return realized_;
}

void TPainterCanvas::TextOut(int x, int y, const QString& given) {
  if (!painter_ || given.isEmpty()) return;
  const QString text = OneLine(given);
  const QFont& font = RealizedFont();
  if (leaveTextState_ && font_.Orientation() == 0) {
    // Upright text keeps the font and pen of the text before whenever they
    // fit, so the painter (and a PDF engine behind it) is not told the same
    // state for every cell; only the move to the text's place is undone.
    if (appliedVersion_ != realizedVersion_) {
      painter_->setFont(font);
      appliedVersion_ = realizedVersion_;
    }
    const QColor color = ToQColor(font_.Color());
    if (color != appliedColor_) {
      painter_->setPen(QPen(color));
      appliedColor_ = color;
    }
    painter_->save();
    painter_->translate(x, y);
    if (brush_.Style != bsClear)
      painter_->fillRect(QRect(0, 0, TextWidth(text), TextHeight(text)), ToQColor(brush_.Color));
    painter_->drawText(QPoint(0, realizedAscent_), text);
    painter_->restore();
    return;
  }
  painter_->save();
  painter_->translate(x, y);
  // An escapement turns the text about its top-left corner, counter-clockwise.
  if (font_.Orientation() != 0) painter_->rotate(-font_.Orientation() / 10.0);
  if (brush_.Style != bsClear) {
    const QRect box(0, 0, TextWidth(text), TextHeight(text));
    painter_->fillRect(box, ToQColor(brush_.Color));
  }
  painter_->setFont(font);
  painter_->setPen(QPen(ToQColor(font_.Color())));
  painter_->drawText(QPoint(0, realizedAscent_), text);
  painter_->restore();
}

// Without a reference the painter's fonts measure as on the screen, whose
// context keeps the measurements of the fonts it has seen.
int TPainterCanvas::TextWidth(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextWidth(font_, OneLine(text));
}

int TPainterCanvas::TextHeight(const QString& text) {
  return (reference_ ? reference_ : ScreenDC())->TextHeight(font_, text);
}

void TPainterCanvas::Polyline(const std::vector<QPoint>& points) {
  if (!painter_ || points.size() < 2 || pen_.Style == psClear) return;
  qreal width = 0;
  painter_->save();
  painter_->setPen(ToQPen(pen_, DeviceScale(*painter_), &width));
  painter_->setBrush(Qt::NoBrush);
  painter_->drawPolyline(points.data(), int(points.size()));
  painter_->restore();
}

void TPainterCanvas::Rectangle(const QRect& r) {
  if (!painter_ || r.width() <= 0 || r.height() <= 0) return;
  painter_->save();
  if (brush_.Style != bsClear) painter_->fillRect(QRectF(r), ToQColor(brush_.Color));
  if (pen_.Style != psClear) {
    qreal width = 0;
    painter_->setPen(ToQPen(pen_, DeviceScale(*painter_), &width));
    painter_->setBrush(Qt::NoBrush);
    // The stroke is centred on its path: inset it by half its width so that it
    // stays inside the rectangle's pixels, as the fill does.
    const qreal half = width / 2;
    const QRectF path(r.x() + half, r.y() + half, std::max<qreal>(0, r.width() - width),
                      std::max<qreal>(0, r.height() - width));
    painter_->drawRect(path);
  }
  painter_->restore();
}

void TPainterCanvas::FillRect(const QRect& r) {
  if (!painter_ || brush_.Style == bsClear || r.width() <= 0 || r.height() <= 0) return;
  painter_->fillRect(QRectF(r), ToQColor(brush_.Color));
}

void TPainterCanvas::Draw(int x, int y, const TMetafile& page) {
  if (!painter_) return;
  page.Play(*painter_, QRect(x, y, page.Width(), page.Height()));
}

void TPainterCanvas::StretchDraw(const QRect& r, const TMetafile& page) {
  if (!painter_) return;
  page.Play(*painter_, r);
}
