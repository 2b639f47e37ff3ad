// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfJob.h"

#include <cmath>

#include "PdfCanvas.h"
#include "PdfWriter.h"

void PageSetupContext::Set(const QPageLayout& layout, int dpi) {
  // What a printer reports as its page and paper rectangles in device pixels (full-page mode off).
  const QRectF page = layout.paintRectPixels(dpi);
  const QRectF paper = layout.fullRectPixels(dpi);
  caps_[kLogPixelsX] = dpi;
  caps_[kLogPixelsY] = dpi;
  caps_[kPhysicalWidth] = int(std::lround(paper.width()));
  caps_[kPhysicalHeight] = int(std::lround(paper.height()));
  caps_[kOffsetX] = int(std::lround(page.left() - paper.left()));
  caps_[kOffsetY] = int(std::lround(page.top() - paper.top()));
  caps_[kHorzRes] = int(std::lround(page.width()));
  caps_[kVertRes] = int(std::lround(page.height()));
}

int PageSetupContext::Caps(TDeviceCap index) const {
  switch (index) {
    case LOGPIXELSX: return caps_[kLogPixelsX];
    case LOGPIXELSY: return caps_[kLogPixelsY];
    case PHYSICALWIDTH: return caps_[kPhysicalWidth];
    case PHYSICALHEIGHT: return caps_[kPhysicalHeight];
    case PHYSICALOFFSETX: return caps_[kOffsetX];
    case PHYSICALOFFSETY: return caps_[kOffsetY];
    case HORZRES: return caps_[kHorzRes];
    case VERTRES: return caps_[kVertRes];
  }
  return 0;
}

PdfJob::PdfJob(Sink sink, const QString& title, const QPageLayout& layout, int dpi, TDeviceContext* reference)
    : layout_(layout), dpi_(dpi) {
  writer_ = std::make_unique<PdfWriter>(std::move(sink), title, QStringLiteral("Tallyvane"));
  canvas_ = std::make_unique<PdfCanvas>(*writer_, reference);
  StartPage();
}

PdfJob::~PdfJob() = default;

TCanvas* PdfJob::Canvas() { return canvas_.get(); }

void PdfJob::StartPage() {
  const QRectF paper = layout_.fullRectPoints();
  const QRectF paint = layout_.paintRectPoints();
  writer_->BeginPage(paper.width(), paper.height());
  canvas_->BeginPage(paint.topLeft() - paper.topLeft(), dpi_);
}

void PdfJob::NewPage() {
  canvas_->Flush();
  writer_->EndPage();
  StartPage();
}

void PdfJob::Finish() {
  canvas_->Flush();
  writer_->Finish();
}
