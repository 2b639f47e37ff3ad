// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The preview: the page shown as a sheet of paper with a drop shadow, zoomed,
// centred on a gradient (or plain) background, margins outlined in dotted silver.
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>

#include "Canvas.h"
#include "Device.h"
#include "MeasureUnits.h"
#include "PagePrnt.h"
#include "PagePrntPrivate.h"

namespace {

using measure_units::kInchesPerMillimeterL;
// Screen positions: nearest, halves to even, saturating at the int range.
int RoundEven(long double v) { return measure_units::RoundHalfEven(v); }

// The scroll area cannot size its content beyond this.
constexpr long long kMaxExtent = QWIDGETSIZE_MAX;

// Drawing coordinates are worked out in 64 bits (a huge ZoomPercent or
// ShadowOffset would overflow int) and kept within a range far outside any
// preview surface, where QRect's own arithmetic cannot overflow either.
constexpr long long kCoordLimit = 1LL << 28;
int Coord(long long v) { return int(std::clamp(v, -kCoordLimit, kCoordLimit)); }
QRect GdiRect64(long long left, long long top, long long right, long long bottom) {
  return GdiRect(Coord(left), Coord(top), Coord(right), Coord(bottom));
}

}  // namespace

// ---- Preview surface ----

TPreviewBox::TPreviewBox(TPagePrinter* owner) : QWidget(owner), owner_(owner), d_(owner ? owner->d_.get() : nullptr) {
  // Content of the scroll area: it is laid out over the larger of the visible
  // area and the scroll range, and moves with the scroll bars.
  if (owner) {
    owner->setWidgetResizable(true);
    owner->setWidget(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(owner->Color()));
    setPalette(pal);
    OnPaint = [owner](QPainter& painter) { owner->PaintPreview(painter); };
  }
  setAutoFillBackground(true);
}

void TPreviewBox::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter painter(this);
  try {
    OnPaint(painter);
  } catch (const std::exception&) {
    // A paint request has nobody to report to; the next one tries again.
  }
}

// ---- Conversions ----

namespace {
int PreviewPixelsPerInch(const QWidget* box, bool horizontal) {
  if (box) {
    const int dpi = horizontal ? box->logicalDpiX() : box->logicalDpiY();
    if (dpi > 0) return dpi;
  }
  return ScreenPixelsPerInch();
}
}  // namespace

int TPreviewBox::UnitsToScreen(bool horizontal, double value) const {
  long double v = value;
  if (d_->doc().MeasureUnit() == muMillimeters) v *= kInchesPerMillimeterL;
  if (d_->constructing_) return RoundEven(v * ScreenPixelsPerInch());
  return RoundEven(v * PreviewPixelsPerInch(this, horizontal));
}

int TPreviewBox::UnitsToZoomedScreen(bool horizontal, double value) const {
  const long long product = (long long)UnitsToScreen(horizontal, value) * (long long)d_->zoomPercent_;
  return RoundEven((long double)product * 0.01L);
}

double TPreviewBox::PrinterScreenRatio(bool horizontal) const {
  if (d_->constructing_) return 1.0;
  int printerDpi = 0;
  try {
    // Painting never waits for a printer still looking its queue up.
    if (!d_->doc().Printer()->Ready()) return 1.0;
    printerDpi = GetDeviceCaps(d_->doc().Printer()->Handle(), horizontal ? LOGPIXELSX : LOGPIXELSY);
  } catch (const EPrinter&) {
    return 1.0;
  }
  const int screenDpi = PreviewPixelsPerInch(this, horizontal);
  // A device reporting no resolution would divide by zero further on.
  if (printerDpi <= 0 || screenDpi <= 0) return 1.0;
  return double(printerDpi) / double(screenDpi);
}

int TPreviewBox::PageExtentOnScreen(bool horizontal) const {
  long double p = 0;
  try {
    if (!d_->doc().Printer()->Ready()) throw EPrinter(QString());
    p = GetDeviceCaps(d_->doc().Printer()->Handle(), horizontal ? PHYSICALWIDTH : PHYSICALHEIGHT);
  } catch (const EPrinter&) {
    // A Letter or A4 sheet by unit, already in screen pixels.
    const double fallback =
        d_->doc().MeasureUnit() == muInches ? (horizontal ? 8.5 : 11.0) : (horizontal ? 210.0 : 297.0);
    p = UnitsToScreen(horizontal, fallback);
  }
  return RoundEven((long double)d_->zoomPercent_ * p / (long double)PrinterScreenRatio(horizontal) * 0.01L);
}

// ---- Scroll ranges ----

void TPreviewBox::UpdateScrollRanges() {
  const long long border = ((long long)d_->shadowOffset_ + 1) * 2;
  d_->horzRange_ = int(std::clamp<long long>(PageExtentOnScreen(true) + border, 0, kMaxExtent));
  d_->vertRange_ = int(std::clamp<long long>(PageExtentOnScreen(false) + border, 0, kMaxExtent));
  ApplyScrollRanges();
  if (d_->constructing_) return;

  QScrollBar* horz = owner_->horizontalScrollBar();
  QScrollBar* vert = owner_->verticalScrollBar();
  // Setting 1 and then 0 moves the view even when a bar already stands at 0.
  auto toStart = [](QScrollBar* bar) {
    bar->setValue(1);
    bar->setValue(0);
  };
  // The client size that the new ranges leave: the scroll bars they need are
  // laid out only later, so the viewport still has its old size here.
  const QSize client = owner_->ClientSizeForRanges();
  const int clientWidth = client.width();
  const int clientHeight = client.height();
  switch (d_->zoomLocation_) {
    case zlTopLeft:
      toStart(horz);
      toStart(vert);
      break;
    case zlTopCenter:
      horz->setValue((d_->horzRange_ - clientWidth) / 2);
      toStart(vert);
      break;
    case zlCenter:
      horz->setValue((d_->horzRange_ - clientWidth) / 2);
      vert->setValue((d_->vertRange_ - clientHeight) / 2);
      break;
  }
}

QSize TPagePrinter::ClientSizeForRanges() const {
  const QSize full = maximumViewportSize();  // the viewport without any scroll bar
  const int barWidth = verticalScrollBar()->sizeHint().width();
  const int barHeight = horizontalScrollBar()->sizeHint().height();
  int width = full.width();
  int height = full.height();
  // One bar narrows the client, which may call for the other one too.
  bool horz = false, vert = false;
  for (int pass = 0; pass < 2; ++pass) {
    horz = d_->horzRange_ > width;
    vert = d_->vertRange_ > height;
    width = full.width() - (vert ? barWidth : 0);
    height = full.height() - (horz ? barHeight : 0);
  }
  return QSize(std::max(width, 0), std::max(height, 0));
}

void TPreviewBox::ApplyScrollRanges() {
  // The scroll area sizes the preview to the larger of the viewport and this
  // minimum; the scroll bars cover the difference.
  setMinimumSize(std::max(d_->horzRange_, 0), std::max(d_->vertRange_, 0));
  // Re-lays the content out at once, so that positions set next are clamped to the new ranges.
  owner_->setWidgetResizable(true);
}

// ---- Painting ----

void TPreviewBox::GradientFill(TCanvas& canvas, QRect rect, TColor startColor, TColor endColor, bool vertical) {
  const TColor c1 = ColorToRGB(startColor);
  const TColor c2 = ColorToRGB(endColor);
  const int r1 = c1 & 0xFF, g1 = (c1 >> 8) & 0xFF, b1 = (c1 >> 16) & 0xFF;
  const int r2 = c2 & 0xFF, g2 = (c2 >> 8) & 0xFF, b2 = (c2 >> 16) & 0xFF;
  const long long n = (long long)(vertical ? rect.height() : rect.width()) - 1;
  if (n <= 0) return;
  // Bands outside the painter's clip would not show; on a tall preview surface
  // skipping them keeps a repaint from filling millions of rows.
  long long from = 0, to = n;
  if (auto* painterCanvas = dynamic_cast<TPainterCanvas*>(&canvas);
      painterCanvas && painterCanvas->Painter() && painterCanvas->Painter()->hasClipping()) {
    const QRect clip = painterCanvas->Painter()->clipBoundingRect().toAlignedRect();
    const long long lo = vertical ? (long long)clip.top() - rect.top() : (long long)clip.left() - rect.left();
    const long long hi = vertical ? (long long)clip.bottom() - rect.top() : (long long)clip.right() - rect.left();
    from = std::max(from, lo);
    to = std::min(to, hi);
  }
  canvas.Brush().Style = bsSolid;
  for (long long i = from; i <= to; ++i) {
    const int r = int((r1 * (n - i) + r2 * i) / n);
    const int g = int((g1 * (n - i) + g2 * i) / n);
    const int b = int((b1 * (n - i) + b2 * i) / n);
    canvas.Brush().Color = TColor(r) | TColor(g) << 8 | TColor(b) << 16;
    if (vertical)
      canvas.FillRect(QRect(rect.left(), int(rect.top() + i), rect.width(), 1));
    else
      canvas.FillRect(QRect(int(rect.left() + i), rect.top(), 1, rect.height()));
  }
}

void TPreviewBox::PaintSheet(QPainter& painter) {
  if (!d_) return;
  TPainterCanvas canvas(&painter);
  const int boxWidth = width();
  const int boxHeight = height();

  if (d_->gradientBackground_) GradientFill(canvas, QRect(0, 0, boxWidth, boxHeight), clBlack, d_->color_, true);

  const long long w = PageExtentOnScreen(true);
  const long long h = PageExtentOnScreen(false);
  const long long left = (boxWidth - w) / 2;
  const long long top = (boxHeight - h) / 2;
  const long long right = left + w;
  const long long bottom = top + h;

  canvas.Pen().Style = psSolid;
  const int32_t s = int32_t(d_->shadowOffset_);
  if (s > 0) {
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = d_->shadowColor_;
    canvas.Pen().Color = d_->shadowColor_;
    canvas.FillRect(GdiRect64(right, top + s, right + s, bottom + s));  // right shadow
    canvas.FillRect(GdiRect64(left + s, bottom, right, bottom + s));    // bottom shadow
  }

  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWhite;
  canvas.Pen().Color = clBlack;
  canvas.Rectangle(GdiRect64(left, top, right, bottom));

  if (d_->doc().PageNumber() >= 1 && d_->doc().PageNumber() <= owner_->PageCount()) {
    // The recording starts at the printable origin, inside the sheet by the unprintable offsets.
    const long long pageLeft = left + UnitsToZoomedScreen(true, owner_->MinMarginLeft()) + 1;
    const long long pageTop = top + UnitsToZoomedScreen(false, owner_->MinMarginTop()) + 1;
    canvas.StretchDraw(GdiRect64(pageLeft, pageTop, right + 1, bottom + 1), *owner_->Pages(d_->doc().PageNumber()));
  }

  if (d_->showMargins_) {
    canvas.Pen().Style = psDot;
    canvas.Pen().Color = clSilver;
    canvas.Brush().Style = bsClear;
    const long long ml = left + UnitsToZoomedScreen(true, d_->doc().MarginLeft());
    const long long mt = top + UnitsToZoomedScreen(false, d_->doc().MarginTop());
    const long long mr = right - UnitsToZoomedScreen(true, d_->doc().MarginRight());
    const long long mb = bottom - UnitsToZoomedScreen(false, d_->doc().MarginBottom());
    canvas.Rectangle(GdiRect64(ml, mt, mr, mb));
  }
}

// ---- The component's face: the preview's own view of it ----

int TPagePrinter::UnitsToScreen(bool horizontal, double value) const {
  return d_->previewBox_->UnitsToScreen(horizontal, value);
}
int TPagePrinter::UnitsToZoomedScreen(bool horizontal, double value) const {
  return d_->previewBox_->UnitsToZoomedScreen(horizontal, value);
}
double TPagePrinter::PrinterScreenRatio(bool horizontal) const {
  return d_->previewBox_->PrinterScreenRatio(horizontal);
}
int TPagePrinter::PageExtentOnScreen(bool horizontal) const { return d_->previewBox_->PageExtentOnScreen(horizontal); }
void TPagePrinter::UpdateScrollRanges() { d_->previewBox_->UpdateScrollRanges(); }
void TPagePrinter::GradientFill(TCanvas& canvas, QRect rect, TColor startColor, TColor endColor, bool vertical) {
  TPreviewBox::GradientFill(canvas, rect, startColor, endColor, vertical);
}
void TPagePrinter::PaintPreview(QPainter& painter) { d_->previewBox_->PaintSheet(painter); }

// ---- Preview properties ----

void TPagePrinter::SetZoomPercent(uint32_t v) {
  d_->zoomPercent_ = v;
  UpdateScrollRanges();
  Invalidate();
}

void TPagePrinter::SetShadowOffset(uint32_t v) {
  if (v == d_->shadowOffset_) return;
  d_->shadowOffset_ = v;
  UpdateScrollRanges();
  Invalidate();
}

void TPagePrinter::SetShadowColor(TColor v) {
  if (v == d_->shadowColor_) return;
  d_->shadowColor_ = v;
  Invalidate();
}

void TPagePrinter::SetShowMargins(bool v) {
  if (v == d_->showMargins_) return;
  d_->showMargins_ = v;
  Invalidate();
}

void TPagePrinter::SetGradientBackground(bool v) {
  if (v == d_->gradientBackground_) return;
  d_->gradientBackground_ = v;
  Invalidate();
}

void TPagePrinter::SetColor(TColor c) {
  if (c == d_->color_) return;
  d_->color_ = c;
  // The control's background is what shows around the sheet without the gradient.
  const QColor background = ToQColor(c);
  for (QWidget* w : {static_cast<QWidget*>(this), viewport(), static_cast<QWidget*>(d_->previewBox_)}) {
    if (!w) continue;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, background);
    w->setPalette(pal);
  }
  Invalidate();
}
