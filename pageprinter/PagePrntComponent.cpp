// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TPagePrinter: construction, destruction, property setters, units and the
// printer page geometry. Geometry is read from the printer at every call; only
// LineHeight and TextMetrics are kept between calls.
#include <QScrollBar>
#include <climits>
#include <cmath>

#include "Conversions.h"
#include "Device.h"
#include "PagePrnt.h"
#include "PagePrntPrivate.h"
#include "PagePrntOutput.h"
#include "PagePrntInternal.h"

namespace {

using measure_units::kInchesPerMillimeter;
using measure_units::kMillimetersPerInch;
constexpr int kFallbackPixelsPerInch = 300;

using pageprinter_detail::AddClamped;
using pageprinter_detail::RoundHalfEven;

// A difference of pixel values; a result beyond the 32-bit range counts as 0.
int DifferenceOrZero(long long value) { return (value > INT_MAX || value < INT_MIN) ? 0 : int(value); }

}  // namespace

// ---------------------------------------------------------------------------
// Construction and destruction

TPagePrinter::TPagePrinter(QWidget* owner) : TPagePrinter(SharedPrinter(), owner) {}

TPagePrinter::TPagePrinter(std::shared_ptr<TPrinter> printer, QWidget* owner)
    : QScrollArea(owner), d_(std::make_unique<Private>()) {
  d_->constructing_ = true;
  // The control takes no children from a form designer: its only child is the preview.
  setAcceptDrops(false);

  d_->font_ = std::make_unique<TFont>();
  d_->headerFont_ = std::make_unique<TFont>();
  d_->footerFont_ = std::make_unique<TFont>();
  d_->lines_ = std::make_unique<QStringList>();
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setTracking(true);
    bar->setSingleStep(16);
  }
  d_->currentX_ = d_->currentY_ = 0;
  d_->lineNumber_ = 0;
  d_->pageNumber_ = 0;
  d_->fileOpen_ = false;
  d_->pagesOutput_ = std::make_unique<TRecordedPagesOutput>(*this);

  d_->ownPrinter_ = printer ? std::move(printer) : SharedPrinter();
  d_->printer_ = d_->ownPrinter_.get();
  d_->printJob_ = std::make_unique<TPrintJob>(*this);

  d_->tokenSeparator_ = QChar('|');
  d_->zoomPercent_ = 25;
  d_->zoomLocation_ = zlTopLeft;
  d_->documentOpen_ = false;
  d_->shadowOffset_ = 5;

  // The preview box makes itself the scroll area's content, laid out over the client area.
  d_->previewBox_ = new TPreviewBox(this);
  d_->previewBox_->OnPaint = [this](QPainter& painter) { PaintPreview(painter); };

  ClearPages(false);

  // Every change of the body font runs the font-change handling.
  d_->font_->OnChange = [this] { FontChanged(); };
  d_->font_->SetName(QStringLiteral("Courier New"));
  d_->font_->SetSize(10);
  d_->font_->SetStyle(0);

  d_->headerFont_->Assign(*d_->font_);
  d_->footerFont_->Assign(*d_->font_);
  d_->autoHeaderFont_ = true;
  d_->autoFooterFont_ = true;

  resize(89, 115);

  SetOrientation(poPortrait);
  SetTitle(QString());

  SetLineSpacing(lsSingleSpace);
  d_->tabSize_ = 8;
  d_->wordWrap_ = true;
  d_->alignment_ = taLeftJustify;
  d_->pageBorders_ = 0;
  d_->showProgress_ = true;
  d_->showCancel_ = true;

  d_->header_.clear();
  d_->headerFormat_.clear();
  d_->footer_.clear();
  d_->footerFormat_.clear();
  d_->tableFormat_.clear();

  d_->pageBorderOffset_ = 0;
  d_->defaultColWidth_ = 0;
  SetMeasureUnit(muInches);
  d_->tableGrid_ = false;
  d_->printToFile_ = false;
  d_->shadowColor_ = clBtnShadow;
  d_->showMargins_ = true;
  d_->gradientBackground_ = true;
  d_->collate_ = true;
  d_->copies_ = 1;
  d_->toPage_ = 0;
  d_->fromPage_ = 0;
  d_->abortOnCancel_ = false;

  SetMarginTop(MinMarginTop());
  SetMarginBottom(MinMarginBottom());
  SetMarginLeft(MinMarginLeft());
  SetMarginRight(MinMarginRight());

  d_->constructing_ = false;
}

TPagePrinter::~TPagePrinter() {
  // The body font must not call back into a half-destroyed component.
  if (d_->font_) d_->font_->OnChange = nullptr;
  // A text document still open keeps what was written; the handle is not leaked.
  d_->textFile_.reset();
  ClosePage();
  if (d_->previewBox_) d_->previewBox_->OnPaint = nullptr;
  delete d_->previewBox_;
  d_->previewBox_ = nullptr;
  d_->lines_.reset();
  d_->pageList_.reset();
  d_->openPage_ = nullptr;
  d_->headerFont_.reset();
  d_->footerFont_.reset();
}

void TPagePrinter::Invalidate() {
  ++d_->invalidateCount_;
  if (d_->previewBox_) d_->previewBox_->update();
  update();
}

void TPagePrinter::Loaded() {
  TLoadable::Loaded();
  UpdatePrinterMetrics();
  ClearPages(false);
  UpdateScrollRanges();
  d_->previewPenColor_ = d_->color_;
  Invalidate();
}

void TPagePrinter::FontChanged() {
  // The base control's own handling: the widget font follows the body font.
  QWidget::setFont(d_->font_->ToQFont());
  if (d_->pageCanvas_) {
    d_->pageCanvas_->Font().Assign(*d_->font_);
    RealizePageFont();
  }
  GetTextMetrics(PrinterHandle(), d_->textMetrics_);
  RecomputeLineHeight();
  if (d_->autoHeaderFont_) d_->headerFont_->Assign(*d_->font_);
  if (d_->autoFooterFont_) d_->footerFont_->Assign(*d_->font_);
}

void TPagePrinter::RecomputeLineHeight() {
  const int height = d_->pageCanvas_ ? d_->pageCanvas_->Font().Height() : 0;
  const int h = height == INT_MIN ? INT_MAX : std::abs(height);
  switch (d_->lineSpacing_) {
    case lsHalfSpace: d_->lineHeight_ = h / 2; break;
    case lsSingleSpace: d_->lineHeight_ = h; break;
    case lsSingleAndAHalf: d_->lineHeight_ = AddClamped(h, h / 2); break;
    case lsDoubleSpace: d_->lineHeight_ = AddClamped(h, h); break;
    default: d_->lineHeight_ = h; break;
  }
}

// ---------------------------------------------------------------------------
// Property setters

void TPagePrinter::SetMargin(double& field, double value, double minimum, double bound, const char* message) {
  if (Printing()) throw EPagePrinter(QString::fromLatin1(message));
  // A NaN compares false with both bounds: it gives the minimum, which keeps the margin usable.
  if (std::isnan(value) || minimum > value)
    field = minimum;
  else if (bound < value)
    field = bound;
  else
    field = value;
  Invalidate();
}

void TPagePrinter::SetMarginTop(double v) {
  SetMargin(d_->marginTop_, v, MinMarginTop(), PhysicalPageHeight() - MinMarginBottom(),
            "Unable to change top margin while printing");
}

void TPagePrinter::SetMarginBottom(double v) {
  SetMargin(d_->marginBottom_, v, MinMarginBottom(), PhysicalPageHeight() - MinMarginTop(),
            "Unable to change bottom margin while printing");
}

void TPagePrinter::SetMarginLeft(double v) {
  SetMargin(d_->marginLeft_, v, MinMarginLeft(), PhysicalPageWidth() - MinMarginRight(),
            "Unable to change left margin while printing");
}

void TPagePrinter::SetMarginRight(double v) {
  SetMargin(d_->marginRight_, v, MinMarginRight(), PhysicalPageWidth() - MinMarginLeft(),
            "Unable to change right margin while printing");
}

void TPagePrinter::SetMeasureUnit(TMeasureUnit unit) {
  if (unit == d_->measureUnit_) return;
  // The message names the top margin: that is the first length the change would touch.
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change top margin while printing"));
  d_->measureUnit_ = unit;
  if (d_->constructing_) return;
  const double f = unit == muInches ? kInchesPerMillimeter : kMillimetersPerInch;
  SetMarginTop(d_->marginTop_ * f);
  SetMarginBottom(d_->marginBottom_ * f);
  SetMarginLeft(d_->marginLeft_ * f);
  SetMarginRight(d_->marginRight_ * f);
  SetPageBorderOffset(d_->pageBorderOffset_ * f);
  SetDefaultColWidth(d_->defaultColWidth_ * f);
  UpdatePrinterMetrics();
  // The stored formats are in the user's regional form, also while loading.
  const FormatSettings& fs = FormatSettings::Current();
  if (d_->friendlyFooter_.isEmpty()) d_->footerFormat_ = NormalizeFormatWith(d_->footerFormat_, true, fs, fs);
  if (d_->friendlyHeader_.isEmpty()) d_->headerFormat_ = NormalizeFormatWith(d_->headerFormat_, true, fs, fs);
  d_->tableFormat_ = NormalizeFormatWith(d_->tableFormat_, true, fs, fs);
}

void TPagePrinter::SetAutoFooterFont(bool v) {
  if (v == d_->autoFooterFont_) return;
  d_->autoFooterFont_ = v;
  if (v && !Loading()) d_->footerFont_->Assign(*d_->font_);
}

void TPagePrinter::SetAutoHeaderFont(bool v) {
  if (v == d_->autoHeaderFont_) return;
  d_->autoHeaderFont_ = v;
  if (v && !Loading()) d_->headerFont_->Assign(*d_->font_);
}

void TPagePrinter::SetCopies(uint32_t v) { d_->copies_ = (v == 0 || (v & 0x80000000u)) ? 1 : v; }

void TPagePrinter::SetFileName(const QString& v) {
  // Leading and trailing blanks and control characters (codes below 33) are removed.
  qsizetype first = 0, last = v.size();
  while (first < last && v.at(first).unicode() < 33) ++first;
  while (last > first && v.at(last - 1).unicode() < 33) --last;
  // The refusal compares the value as given with the stored, trimmed name.
  if (Printing() && v != d_->fileName_) throw EPagePrinter(QStringLiteral("Can't change FileName while printing"));
  d_->fileName_ = v.mid(first, last - first);
}

void TPagePrinter::SetPrintToFile(bool v) {
  if (v == d_->printToFile_) return;
  if (Printing()) throw EPagePrinter(QStringLiteral("Can't change PrintToFile while printing"));
  d_->printToFile_ = v;
}

QStringList* TPagePrinter::Lines() {
  if (!d_->lines_) d_->lines_ = std::make_unique<QStringList>();
  return d_->lines_.get();
}

void TPagePrinter::SetLines(const QStringList* lines) {
  if (!lines) {
    d_->lines_.reset();
    return;
  }
  if (lines == d_->lines_.get()) return;
  *Lines() = *lines;
}

void TPagePrinter::SetLineSpacing(TLineSpacing v) {
  d_->lineSpacing_ = v;
  RecomputeLineHeight();
}

TPrinterOrientation TPagePrinter::Orientation() const {
  if (!d_->printer_) return poPortrait;
  try {
    return d_->printer_->Orientation();
  } catch (const EPrinter&) {
    return poPortrait;
  }
}

void TPagePrinter::SetOrientation(TPrinterOrientation o) {
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change orientation while printing"));
  if (o != poPortrait && o != poLandscape) o = poPortrait;
  if (d_->printer_) {
    try {
      d_->printer_->SetOrientation(o);
    } catch (const EPrinter&) {
      // No usable printer: the page keeps its fallback shape.
    }
  }
  UpdateScrollRanges();
  Invalidate();
}

TPrinter* TPagePrinter::Printer() const { return d_->printer_; }

void TPagePrinter::SetPrinter(std::shared_ptr<TPrinter> printer) {
  if (Printing() || PrintRunning()) throw EPagePrinter(QStringLiteral("Unable to change printer while printing"));
  if (!printer) printer = SharedPrinter();
  if (printer == d_->ownPrinter_) return;
  // Title and orientation are the component's properties: they go with it to the new printer.
  const QString title = Title();
  const TPrinterOrientation orientation = Orientation();
  d_->ownPrinter_ = std::move(printer);
  d_->printer_ = d_->ownPrinter_.get();
  d_->printer_->SetTitle(title);
  SetOrientation(orientation);
}

QString TPagePrinter::Title() const { return d_->printer_ ? d_->printer_->Title() : QString(); }

void TPagePrinter::SetTitle(const QString& v) {
  if (d_->printer_) d_->printer_->SetTitle(v);
}

// ---------------------------------------------------------------------------
// Units and printer geometry

TDeviceContext* TPagePrinter::PrinterHandle() const {
  if (!d_->printer_) return nullptr;
  try {
    return d_->printer_->Handle();
  } catch (const EPrinter&) {
    return nullptr;
  }
}

int TPagePrinter::PrinterCaps(TDeviceCap index, bool& available) const {
  TDeviceContext* dc = PrinterHandle();
  available = dc != nullptr;
  return dc ? GetDeviceCaps(dc, index) : 0;
}

int TPagePrinter::UnitsToPixelsX(double v) const {
  bool available = false;
  const int caps = PrinterCaps(LOGPIXELSX, available);
  const int dpi = available ? caps : kFallbackPixelsPerInch;
  const double inches = d_->measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

int TPagePrinter::UnitsToPixelsY(double v) const {
  bool available = false;
  const int caps = PrinterCaps(LOGPIXELSY, available);
  const int dpi = available ? caps : kFallbackPixelsPerInch;
  const double inches = d_->measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

double TPagePrinter::PixelsToUnits(int p, TDeviceCap index) const {
  bool available = false;
  const int dpi = PrinterCaps(index, available);
  const double inches = (available && dpi != 0) ? double(p) / dpi : p * 0.0033333333333333335;
  return d_->measureUnit_ == muInches ? inches : inches * kMillimetersPerInch;
}

double TPagePrinter::PixelsToUnitsX(int p) const { return PixelsToUnits(p, LOGPIXELSX); }
double TPagePrinter::PixelsToUnitsY(int p) const { return PixelsToUnits(p, LOGPIXELSY); }

double TPagePrinter::FallbackOffset() const { return d_->measureUnit_ == muInches ? 0.25 : 6.0; }

double TPagePrinter::MinMarginTop() const {
  bool available = false;
  const int offset = PrinterCaps(PHYSICALOFFSETY, available);
  return available ? PixelsToUnitsY(offset) : FallbackOffset();
}

// The printer reports only its top and left unprintable offsets.
double TPagePrinter::MinMarginBottom() const { return MinMarginTop(); }

double TPagePrinter::MinMarginLeft() const {
  bool available = false;
  const int offset = PrinterCaps(PHYSICALOFFSETX, available);
  return available ? PixelsToUnitsX(offset) : FallbackOffset();
}

double TPagePrinter::MinMarginRight() const { return MinMarginLeft(); }

double TPagePrinter::PhysicalPageWidth() const {
  bool available = false;
  const int width = PrinterCaps(PHYSICALWIDTH, available);
  if (available) return PixelsToUnitsX(width);
  return d_->measureUnit_ == muInches ? 8.5 : 210.0;
}

double TPagePrinter::PhysicalPageHeight() const {
  bool available = false;
  const int height = PrinterCaps(PHYSICALHEIGHT, available);
  if (available) return PixelsToUnitsY(height);
  return d_->measureUnit_ == muInches ? 11.0 : 297.0;
}

double TPagePrinter::PrintableWidth() const { return PhysicalPageWidth() - MinMarginLeft() - MinMarginRight(); }
double TPagePrinter::PrintableHeight() const { return PhysicalPageHeight() - MinMarginTop() - MinMarginBottom(); }
double TPagePrinter::ContentWidth() const { return PhysicalPageWidth() - d_->marginLeft_ - d_->marginRight_; }

int TPagePrinter::LeftMarginPixels() const { return UnitsToPixelsX(d_->marginLeft_ - MinMarginLeft()); }
int TPagePrinter::RightMarginPixels() const { return UnitsToPixelsX(d_->marginRight_ - MinMarginRight()); }
int TPagePrinter::TopMarginPixels() const { return UnitsToPixelsY(d_->marginTop_ - MinMarginTop()); }
int TPagePrinter::BottomMarginPixels() const { return UnitsToPixelsY(d_->marginBottom_ - MinMarginBottom()); }

int TPagePrinter::ContentWidthPixels() const {
  return DifferenceOrZero(static_cast<long long>(UnitsToPixelsX(PrintableWidth())) - LeftMarginPixels() -
                          RightMarginPixels());
}

int TPagePrinter::ContentHeightPixels() const {
  return DifferenceOrZero(static_cast<long long>(UnitsToPixelsY(PrintableHeight())) - TopMarginPixels() -
                          BottomMarginPixels());
}

void TPagePrinter::UpdatePrinterMetrics() {
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
