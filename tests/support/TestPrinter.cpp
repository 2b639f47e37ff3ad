// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "TestPrinter.h"

#include <cmath>
#include <cstdlib>

#include "Metafile.h"
#include "PrinterMessages.h"

namespace {
const QString kNoPrinter = printer_messages::NoPrinter();
const QString kPrintingInProgress = printer_messages::PrintingInProgress();
const QString kNotPrinting = printer_messages::NotPrinting();
}  // namespace

class TTestPrinter::Context : public TDeviceContext {
 public:
  explicit Context(TTestPrinter* owner) : owner_(owner) {}

  int Caps(TDeviceCap index) const override {
    const Setup& s = owner_->setup_;
    const bool landscape = owner_->orientation_ == poLandscape;
    switch (index) {
      case LOGPIXELSX: return landscape ? s.dpiY : s.dpiX;
      case LOGPIXELSY: return landscape ? s.dpiX : s.dpiY;
      case PHYSICALWIDTH: return landscape ? s.physicalHeight : s.physicalWidth;
      case PHYSICALHEIGHT: return landscape ? s.physicalWidth : s.physicalHeight;
      case PHYSICALOFFSETX: return landscape ? s.offsetY : s.offsetX;
      case PHYSICALOFFSETY: return landscape ? s.offsetX : s.offsetY;
      case HORZRES: return Caps(PHYSICALWIDTH) - 2 * Caps(PHYSICALOFFSETX);
      case VERTRES: return Caps(PHYSICALHEIGHT) - 2 * Caps(PHYSICALOFFSETY);
    }
    return 0;
  }

  static int Pitch(const TFont& font) { return int(std::lround(0.6 * std::abs(font.Height()))); }

  int TextWidth(const TFont& font, const QString& text) const override { return Pitch(font) * int(text.size()); }

  int TextHeight(const TFont& font, const QString&) const override { return std::abs(font.Height()); }

  TTextMetric TextMetrics(const TFont& font) const override {
    TTextMetric tm;
    const int h = std::abs(font.Height());
    tm.tmHeight = h;
    tm.tmAscent = 4 * h / 5;
    tm.tmDescent = h - tm.tmAscent;
    tm.tmInternalLeading = 0;
    tm.tmExternalLeading = owner_->setup_.externalLeading;
    tm.tmAveCharWidth = Pitch(font);
    return tm;
  }

 private:
  TTestPrinter* owner_;
};

// Draws nothing; notes which page each sheet received.
class TTestPrinter::RecordingCanvas : public TCanvas {
 public:
  explicit RecordingCanvas(TTestPrinter* owner) : owner_(owner) {}
  void TextOut(int, int, const QString&) override {}
  int TextWidth(const QString& text) override { return owner_->context_->TextWidth(font_, text); }
  int TextHeight(const QString& text) override { return owner_->context_->TextHeight(font_, text); }
  void Polyline(const std::vector<QPoint>&) override {}
  void Rectangle(const QRect&) override {}
  void FillRect(const QRect&) override {}
  void Draw(int x, int y, const TMetafile& page) override { Record(QPoint(x, y), page); }
  void StretchDraw(const QRect& r, const TMetafile& page) override { Record(r.topLeft(), page); }

 private:
  void Record(const QPoint& at, const TMetafile& page) {
    if (owner_->sheets_.empty()) return;
    TTestPrinter::Sheet& sheet = owner_->sheets_.back();
    sheet.page = &page;
    sheet.operations = int(page.Operations().size());
    sheet.origin = at;
  }
  TTestPrinter* owner_;
};

TTestPrinter::TTestPrinter(Setup setup)
    : setup_(setup), context_(std::make_unique<Context>(this)), canvas_(std::make_unique<RecordingCanvas>(this)) {}

TTestPrinter::~TTestPrinter() = default;

TDeviceContext* TTestPrinter::Handle() {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  return context_.get();
}

TCanvas* TTestPrinter::Canvas() {
  if (!printing_) throw EPrinter(kNotPrinting);
  return canvas_.get();
}

TPrinterOrientation TTestPrinter::Orientation() const {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  return orientation_;
}

void TTestPrinter::SetOrientation(TPrinterOrientation o) {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  if (printing_) throw EPrinter(kPrintingInProgress);
  orientation_ = o;
}

void TTestPrinter::BeginDoc() {
  if (printing_) throw EPrinter(kPrintingInProgress);
  if (!setup_.available) throw EPrinter(kNoPrinter);
  events_.push_back(QStringLiteral("BeginDoc"));
  copiesAtBeginDoc_ = copies_;
  titleAtBeginDoc_ = title_;
  sheetEnds_ = 0;
  sheets_.push_back(Sheet{});
  printing_ = true;
}

void TTestPrinter::CountSheetEnd() {
  ++sheetEnds_;
  if (setup_.failAtSheet > 0 && sheetEnds_ == setup_.failAtSheet)
    throw EPrinter(QStringLiteral("The printer failed at sheet %1").arg(sheetEnds_));
}

void TTestPrinter::NewPage() {
  if (!printing_) throw EPrinter(kNotPrinting);
  CountSheetEnd();
  events_.push_back(QStringLiteral("NewPage"));
  sheets_.push_back(Sheet{});
}

void TTestPrinter::EndDoc() {
  if (!printing_) throw EPrinter(kNotPrinting);
  CountSheetEnd();
  events_.push_back(QStringLiteral("EndDoc"));
  printing_ = false;
}

void TTestPrinter::Abort() {
  if (!printing_) throw EPrinter(kNotPrinting);
  events_.push_back(QStringLiteral("Abort"));
  printing_ = false;
}

void TTestPrinter::ClearRecord() {
  events_.clear();
  sheets_.clear();
  copiesAtBeginDoc_ = 0;
  titleAtBeginDoc_.clear();
}
