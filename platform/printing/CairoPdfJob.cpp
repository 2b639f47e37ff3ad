// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "CairoPdfJob.h"

#include <cairo-pdf.h>
#include <cmath>

#include "CairoPdfCanvas.h"
#include "Errors.h"

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

// Cairo calls back from C: the sink's exception waits here until the call returns.
int CairoPdfJob::Write(void* closure, const unsigned char* data, unsigned int length) {
  auto* job = static_cast<CairoPdfJob*>(closure);
  if (job->failure_) return CAIRO_STATUS_WRITE_ERROR;
  try {
    job->sink_(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    job->failure_ = std::current_exception();
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

CairoPdfJob::CairoPdfJob(Sink sink, const QString& title, const QPageLayout& layout, int dpi, TDeviceContext* reference)
    : sink_(std::move(sink)), layout_(layout), dpi_(dpi) {
  const QRectF paper = layout_.fullRectPoints();
  surface_ = cairo_pdf_surface_create_for_stream(
      [](void* closure, const unsigned char* data, unsigned int length) {
        return cairo_status_t(Write(closure, data, length));
      },
      this, paper.width(), paper.height());
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.toUtf8().constData());
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Tallyvane");
  cr_ = cairo_create(surface_);
  canvas_ = std::make_unique<CairoPdfCanvas>(cr_, reference);
  Check();
  StartPage();
}

CairoPdfJob::~CairoPdfJob() {
  canvas_.reset();
  if (cr_) cairo_destroy(cr_);
  if (surface_) {
    // Nothing more reaches the sink: the caller is throwing the document away.
    failure_ = std::make_exception_ptr(EPrinter(QStringLiteral("discarded")));
    cairo_surface_destroy(surface_);
  }
}

TCanvas* CairoPdfJob::Canvas() { return canvas_.get(); }

void CairoPdfJob::StartPage() {
  const QRectF paper = layout_.fullRectPoints();
  const QRectF paint = layout_.paintRectPoints();
  canvas_->BeginPage(paint.topLeft() - paper.topLeft(), dpi_);
}

void CairoPdfJob::Check() {
  if (failure_) std::rethrow_exception(failure_);
  const cairo_status_t status = cairo_status(cr_);
  if (status != CAIRO_STATUS_SUCCESS)
    throw EPrinter(QStringLiteral("The PDF document could not be written: %1").arg(cairo_status_to_string(status)));
}

void CairoPdfJob::NewPage() {
  canvas_->Flush();
  cairo_show_page(cr_);
  Check();
  StartPage();
}

void CairoPdfJob::Finish() {
  canvas_->Flush();
  // Shown explicitly: cairo would drop a last page left blank.
  cairo_show_page(cr_);
  Check();
  canvas_.reset();
  cairo_destroy(cr_);
  cr_ = nullptr;
  cairo_surface_finish(surface_);
  const cairo_status_t status = cairo_surface_status(surface_);
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  if (failure_) std::rethrow_exception(failure_);
  if (status != CAIRO_STATUS_SUCCESS)
    throw EPrinter(QStringLiteral("The PDF document could not be written: %1").arg(cairo_status_to_string(status)));
}
