// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Metafile.h"

#include <QPainter>
#include <cmath>

#include "Device.h"
#include "OneLine.h"

void TMetafile::Play(QPainter& painter, const QRect& dest) const {
  painter.save();
  painter.translate(dest.topLeft());
  // A page without a frame plays at its own size.
  if (width_ > 0 && height_ > 0 && (dest.width() != width_ || dest.height() != height_))
    painter.scale(qreal(dest.width()) / width_, qreal(dest.height()) / height_);
  TPainterCanvas canvas(&painter);
  canvas.LeaveTextStateSet();  // restored below with the rest of the painter
  const TFont* selected = nullptr;
  for (const TMetaOp& op : ops_) {
    switch (op.kind) {
      case TMetaOp::Text:
        if (!op.font) break;
        if (op.font.get() != selected) {
          canvas.Font().Assign(*op.font);
          selected = op.font.get();
        }
        canvas.Brush() = op.brush;
        canvas.TextOut(op.origin.x(), op.origin.y(), op.text);
        break;
      case TMetaOp::Polyline:
        canvas.Pen() = op.pen;
        canvas.Polyline(op.points);
        break;
      case TMetaOp::Rectangle:
        canvas.Pen() = op.pen;
        canvas.Brush() = op.brush;
        canvas.Rectangle(op.rect);
        break;
      case TMetaOp::FillRect:
        canvas.Brush() = op.brush;
        canvas.FillRect(op.rect);
        break;
    }
  }
  painter.restore();
}

std::vector<const TMetaOp*> TMetafile::TextOperations() const {
  std::vector<const TMetaOp*> result;
  for (const TMetaOp& op : ops_)
    if (op.kind == TMetaOp::Text) result.push_back(&op);
  return result;
}

TMetafileCanvas::TMetafileCanvas(TMetafile* page, TDeviceContext* reference)
    : page_(page), reference_(reference ? reference : ScreenDC()) {}

TMetafileCanvas::~TMetafileCanvas() {
  // The recording is complete: give back what the growing list reserved.
  if (page_) page_->Operations().shrink_to_fit();
}

std::shared_ptr<const TFont> TMetafileCanvas::CurrentFont() {
  // Consecutive texts in one font share one immutable copy of it.
  if (!lastFont_ || !lastFont_->SameAs(font_)) {
    auto copy = std::make_shared<TFont>();
    copy->Assign(font_);
    lastFont_ = std::move(copy);
  }
  return lastFont_;
}

void TMetafileCanvas::TextOut(int x, int y, const QString& text) {
  if (!page_ || text.isEmpty()) return;
  TMetaOp op;
  op.kind = TMetaOp::Text;
  op.text = OneLine(text);
  // Texts built by concatenation carry spare capacity; a page keeps only the characters.
  if (op.text.capacity() > op.text.size() + 8) op.text.squeeze();
  op.origin = QPoint(x, y);
  op.font = CurrentFont();
  op.brush = brush_;
  page_->Operations().push_back(std::move(op));
}

int TMetafileCanvas::TextWidth(const QString& text) { return reference_->TextWidth(font_, OneLine(text)); }

int TMetafileCanvas::TextHeight(const QString& text) { return reference_->TextHeight(font_, text); }

void TMetafileCanvas::Polyline(const std::vector<QPoint>& points) {
  if (!page_ || points.size() < 2) return;
  TMetaOp op;
  op.kind = TMetaOp::Polyline;
  op.points = points;
  op.pen = pen_;
  page_->Operations().push_back(std::move(op));
}

void TMetafileCanvas::Rectangle(const QRect& r) {
  if (!page_) return;
  TMetaOp op;
  op.kind = TMetaOp::Rectangle;
  op.rect = r;
  op.pen = pen_;
  op.brush = brush_;
  page_->Operations().push_back(std::move(op));
}

void TMetafileCanvas::FillRect(const QRect& r) {
  if (!page_) return;
  TMetaOp op;
  op.kind = TMetaOp::FillRect;
  op.rect = r;
  op.brush = brush_;
  page_->Operations().push_back(std::move(op));
}

void TMetafileCanvas::Draw(int x, int y, const TMetafile& page) {
  StretchDraw(QRect(x, y, page.Width(), page.Height()), page);
}

void TMetafileCanvas::StretchDraw(const QRect& r, const TMetafile& page) {
  if (!page_ || &page == page_) return;
  const bool scaled =
      page.Width() > 0 && page.Height() > 0 && (r.width() != page.Width() || r.height() != page.Height());
  const double sx = scaled ? double(r.width()) / page.Width() : 1.0;
  const double sy = scaled ? double(r.height()) / page.Height() : 1.0;
  auto mapX = [&](int x) { return r.x() + int(std::lround(x * sx)); };
  auto mapY = [&](int y) { return r.y() + int(std::lround(y * sy)); };
  auto mapPoint = [&](const QPoint& p) { return QPoint(mapX(p.x()), mapY(p.y())); };
  auto mapRect = [&](const QRect& q) {
    const int left = mapX(q.x()), top = mapY(q.y());
    return QRect(left, top, mapX(q.x() + q.width()) - left, mapY(q.y() + q.height()) - top);
  };
  // Fonts of the embedded page, scaled once each and shared again.
  std::vector<std::pair<const TFont*, std::shared_ptr<const TFont>>> fonts;
  auto mapFont = [&](const std::shared_ptr<const TFont>& f) -> std::shared_ptr<const TFont> {
    if (!f || !scaled) return f;
    for (const auto& [from, to] : fonts)
      if (from == f.get()) return to;
    auto copy = std::make_shared<TFont>();
    copy->Assign(*f);
    copy->SetHeight(int(std::lround(f->Height() * sy)));
    fonts.emplace_back(f.get(), copy);
    return copy;
  };
  auto& ops = page_->Operations();
  ops.reserve(ops.size() + page.Operations().size());
  for (const TMetaOp& source : page.Operations()) {
    TMetaOp op = source;
    op.origin = mapPoint(source.origin);
    for (QPoint& p : op.points) p = mapPoint(p);
    op.rect = mapRect(source.rect);
    op.font = mapFont(source.font);
    ops.push_back(std::move(op));
  }
}
