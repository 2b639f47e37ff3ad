// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "QtPrinter.h"

#include <QPageLayout>
#include <QPainter>
#include <cmath>

#include "PrinterMessages.h"

void QtPrinterContext::Refresh() {
  caps_ = {};
  // What QPrinter reports as its page and paper rectangles in device pixels (full-page mode off).
  const int dpi = printer_->logicalDpiX();
  const QPageLayout layout = printer_->pageLayout();
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

int QtPrinterContext::Caps(TDeviceCap index) const {
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

QtPrinter::~QtPrinter() = default;

void QtPrinter::Adopt(std::unique_ptr<QPagedPaintDevice> printer) {
  printer_ = std::move(printer);
  context_ = std::make_unique<QtPrinterContext>(printer_.get());
}

TDeviceContext* QtPrinter::Handle() {
  Prepare();
  if (!context_) throw EPrinter(printer_messages::NoPrinter());
  return context_.get();
}

TCanvas* QtPrinter::Canvas() {
  if (!printing_ || !canvas_) throw EPrinter(printer_messages::NotPrinting());
  return canvas_.get();
}

TPrinterOrientation QtPrinter::Orientation() const {
  const_cast<QtPrinter*>(this)->Prepare();
  if (!printer_) throw EPrinter(printer_messages::NoPrinter());
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void QtPrinter::SetOrientation(TPrinterOrientation o) {
  Prepare();
  if (!printer_) throw EPrinter(printer_messages::NoPrinter());
  if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
  printer_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  context_->Refresh();
}

void QtPrinter::BeginDoc() {
  if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
  Prepare();
  if (!printer_) throw EPrinter(printer_messages::NoPrinter());
  const QString docName = title_.isEmpty() ? QStringLiteral("Untitled") : title_;
  QPagedPaintDevice* target = StartJob(docName);
  context_->Refresh();
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(target)) RaiseStartFailure();
  target_ = target;
  painter_ = std::move(painter);
  canvas_ = std::make_unique<TPainterCanvas>(painter_.get(), context_.get());
  jobTitle_ = docName;
  jobCopies_ = std::max(1, copies_);
  printing_ = true;
}

void QtPrinter::NewPage() {
  if (!printing_) throw EPrinter(printer_messages::NotPrinting());
  if (!target_->newPage()) RaisePageFailure();
}

void QtPrinter::RaisePageFailure() { throw EPrinter(QStringLiteral("Unable to start a new page on the printer")); }

void QtPrinter::EndPainter(bool& ended) {
  canvas_.reset();
  ended = painter_->end();
  painter_.reset();
  target_ = nullptr;
  printing_ = false;
}

void QtPrinter::EndDoc() {
  if (!printing_) throw EPrinter(printer_messages::NotPrinting());
  bool ended = false;
  EndPainter(ended);
  FinishJob(ended);
}

void QtPrinter::Abort() {
  if (!printing_) throw EPrinter(printer_messages::NotPrinting());
  bool ended = false;
  EndPainter(ended);
  // Nothing has reached a queue or a reader yet: discarding the document is the whole abort.
  DiscardJob();
}

void QtPrinter::DiscardOpenJob() noexcept {
  if (!printing_) return;
  try {
    Abort();
  } catch (...) {
  }
}
