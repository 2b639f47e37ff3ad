// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The document's units and printer page geometry. Geometry is read from the
// printer at every call; only LineHeight and TextMetrics are kept between calls.
#include <climits>

#include "Device.h"
#include "MeasureUnits.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"
#include "PagePrntInternal.h"

namespace {

using measure_units::kInchesPerMillimeter;
using measure_units::kMillimetersPerInch;
constexpr int kFallbackPixelsPerInch = 300;

using pageprinter_detail::RoundHalfEven;

// A difference of pixel values; a result beyond the 32-bit range counts as 0.
int DifferenceOrZero(long long value) { return (value > INT_MAX || value < INT_MIN) ? 0 : int(value); }

}  // namespace

TDeviceContext* TPageDocument::PrinterHandle() const {
  // A printer still looking its queue up counts as none: building the window never waits for it.
  if (!d_->printer_ || !d_->printer_->Ready()) return nullptr;
  try {
    return d_->printer_->Handle();
  } catch (const EPrinter&) {
    return nullptr;
  }
}

int TPageDocument::PrinterCaps(TDeviceCap index, bool& available) const {
  TDeviceContext* dc = PrinterHandle();
  available = dc != nullptr;
  return dc ? GetDeviceCaps(dc, index) : 0;
}

int TPageDocument::UnitsToPixelsX(double v) const {
  bool available = false;
  const int caps = PrinterCaps(LOGPIXELSX, available);
  const int dpi = available ? caps : kFallbackPixelsPerInch;
  const double inches = d_->measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

int TPageDocument::UnitsToPixelsY(double v) const {
  bool available = false;
  const int caps = PrinterCaps(LOGPIXELSY, available);
  const int dpi = available ? caps : kFallbackPixelsPerInch;
  const double inches = d_->measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

double TPageDocument::PixelsToUnits(int p, TDeviceCap index) const {
  bool available = false;
  const int dpi = PrinterCaps(index, available);
  const double inches = (available && dpi != 0) ? double(p) / dpi : p * 0.0033333333333333335;
  return d_->measureUnit_ == muInches ? inches : inches * kMillimetersPerInch;
}

double TPageDocument::PixelsToUnitsX(int p) const { return PixelsToUnits(p, LOGPIXELSX); }
double TPageDocument::PixelsToUnitsY(int p) const { return PixelsToUnits(p, LOGPIXELSY); }

double TPageDocument::FallbackOffset() const { return d_->measureUnit_ == muInches ? 0.25 : 6.0; }

double TPageDocument::MinMarginTop() const {
  bool available = false;
  const int offset = PrinterCaps(PHYSICALOFFSETY, available);
  return available ? PixelsToUnitsY(offset) : FallbackOffset();
}

// The printer reports only its top and left unprintable offsets.
double TPageDocument::MinMarginBottom() const { return MinMarginTop(); }

double TPageDocument::MinMarginLeft() const {
  bool available = false;
  const int offset = PrinterCaps(PHYSICALOFFSETX, available);
  return available ? PixelsToUnitsX(offset) : FallbackOffset();
}

double TPageDocument::MinMarginRight() const { return MinMarginLeft(); }

double TPageDocument::PhysicalPageWidth() const {
  bool available = false;
  const int width = PrinterCaps(PHYSICALWIDTH, available);
  if (available) return PixelsToUnitsX(width);
  return d_->measureUnit_ == muInches ? 8.5 : 210.0;
}

double TPageDocument::PhysicalPageHeight() const {
  bool available = false;
  const int height = PrinterCaps(PHYSICALHEIGHT, available);
  if (available) return PixelsToUnitsY(height);
  return d_->measureUnit_ == muInches ? 11.0 : 297.0;
}

double TPageDocument::PrintableWidth() const { return PhysicalPageWidth() - MinMarginLeft() - MinMarginRight(); }
double TPageDocument::PrintableHeight() const { return PhysicalPageHeight() - MinMarginTop() - MinMarginBottom(); }
double TPageDocument::ContentWidth() const { return PhysicalPageWidth() - d_->marginLeft_ - d_->marginRight_; }

int TPageDocument::LeftMarginPixels() const { return UnitsToPixelsX(d_->marginLeft_ - MinMarginLeft()); }
int TPageDocument::RightMarginPixels() const { return UnitsToPixelsX(d_->marginRight_ - MinMarginRight()); }
int TPageDocument::TopMarginPixels() const { return UnitsToPixelsY(d_->marginTop_ - MinMarginTop()); }
int TPageDocument::BottomMarginPixels() const { return UnitsToPixelsY(d_->marginBottom_ - MinMarginBottom()); }

int TPageDocument::ContentWidthPixels() const {
  return DifferenceOrZero(static_cast<long long>(UnitsToPixelsX(PrintableWidth())) - LeftMarginPixels() -
                          RightMarginPixels());
}

int TPageDocument::ContentHeightPixels() const {
  return DifferenceOrZero(static_cast<long long>(UnitsToPixelsY(PrintableHeight())) - TopMarginPixels() -
                          BottomMarginPixels());
}

void TPageDocument::UpdatePrinterMetrics() {
  if (!Printing()) {
    // Clamp each margin against the printer selected now.
    SetMarginTop(d_->marginTop_);
    SetMarginBottom(d_->marginBottom_);
    SetMarginLeft(d_->marginLeft_);
    SetMarginRight(d_->marginRight_);
  }
  GetTextMetrics(PrinterHandle(), d_->textMetrics_);
  RealizePageFont();
  RecomputeLineHeight();
  if (!d_->friendlyHeader_.isEmpty()) SetFriendlyHeader(d_->friendlyHeader_);
  if (!d_->friendlyFooter_.isEmpty()) SetFriendlyFooter(d_->friendlyFooter_);
}
