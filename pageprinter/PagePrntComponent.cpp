// TPagePrinter: construction, destruction, property setters, units and the
// printer page geometry. Geometry is read from the printer at every call; only
// LineHeight and TextMetrics are kept between calls.
#include <QScrollBar>
#include <climits>
#include <cmath>

#include "Conversions.h"
#include "Device.h"
#include "PagePrnt.h"
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

TPagePrinter::TPagePrinter(QWidget* owner) : QScrollArea(owner) {
  constructing_ = true;
  // The control takes no children from a form designer: its only child is the preview.
  setAcceptDrops(false);

  font_ = std::make_unique<TFont>();
  headerFont_ = std::make_unique<TFont>();
  footerFont_ = std::make_unique<TFont>();
  lines_ = std::make_unique<QStringList>();
  progressDialog_ = nullptr;
  cancelFlag_ = false;
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setTracking(true);
    bar->setSingleStep(16);
  }
  currentX_ = currentY_ = 0;
  lineNumber_ = 0;
  pageNumber_ = 0;
  fileOpen_ = false;
  pagesOutput_ = std::make_unique<TRecordedPagesOutput>(*this);

  printer_ = Printer();

  tokenSeparator_ = QChar('|');
  zoomPercent_ = 25;
  zoomLocation_ = zlTopLeft;
  documentOpen_ = false;
  shadowOffset_ = 5;

  // The preview box makes itself the scroll area's content, laid out over the client area.
  previewBox_ = new TPreviewBox(this);
  previewBox_->OnPaint = [this](QPainter& painter) { PaintPreview(painter); };

  ClearPages(false);

  // Every change of the body font runs the font-change handling.
  font_->OnChange = [this] { FontChanged(); };
  font_->SetName(QStringLiteral("Courier New"));
  font_->SetSize(10);
  font_->SetStyle(0);

  headerFont_->Assign(*font_);
  footerFont_->Assign(*font_);
  autoHeaderFont_ = true;
  autoFooterFont_ = true;

  resize(89, 115);

  SetOrientation(poPortrait);
  SetTitle(QString());

  SetLineSpacing(lsSingleSpace);
  tabSize_ = 8;
  wordWrap_ = true;
  alignment_ = taLeftJustify;
  pageBorders_ = 0;
  showProgress_ = true;
  showCancel_ = true;

  header_.clear();
  headerFormat_.clear();
  footer_.clear();
  footerFormat_.clear();
  tableFormat_.clear();

  pageBorderOffset_ = 0;
  defaultColWidth_ = 0;
  SetMeasureUnit(muInches);
  tableGrid_ = false;
  printToFile_ = false;
  shadowColor_ = clBtnShadow;
  showMargins_ = true;
  gradientBackground_ = true;
  collate_ = true;
  copies_ = 1;
  toPage_ = 0;
  fromPage_ = 0;
  abortOnCancel_ = false;

  SetMarginTop(MinMarginTop());
  SetMarginBottom(MinMarginBottom());
  SetMarginLeft(MinMarginLeft());
  SetMarginRight(MinMarginRight());

  constructing_ = false;
}

TPagePrinter::~TPagePrinter() {
  // The body font must not call back into a half-destroyed component.
  if (font_) font_->OnChange = nullptr;
  // A text document still open keeps what was written; the handle is not leaked.
  textFile_.reset();
  ClosePage();
  if (previewBox_) previewBox_->OnPaint = nullptr;
  delete previewBox_;
  previewBox_ = nullptr;
  lines_.reset();
  pageList_.reset();
  openPage_ = nullptr;
  headerFont_.reset();
  footerFont_.reset();
}

void TPagePrinter::Invalidate() {
  ++invalidateCount_;
  if (previewBox_) previewBox_->update();
  update();
}

void TPagePrinter::Loaded() {
  TLoadable::Loaded();
  UpdatePrinterMetrics();
  ClearPages(false);
  UpdateScrollRanges();
  previewPenColor_ = color_;
  Invalidate();
}

void TPagePrinter::FontChanged() {
  // The base control's own handling: the widget font follows the body font.
  QWidget::setFont(font_->ToQFont());
  if (pageCanvas_) {
    pageCanvas_->Font().Assign(*font_);
    RealizePageFont();
  }
  GetTextMetrics(PrinterHandle(), textMetrics_);
  RecomputeLineHeight();
  if (autoHeaderFont_) headerFont_->Assign(*font_);
  if (autoFooterFont_) footerFont_->Assign(*font_);
}

void TPagePrinter::RecomputeLineHeight() {
  const int height = pageCanvas_ ? pageCanvas_->Font().Height() : 0;
  const int h = height == INT_MIN ? INT_MAX : std::abs(height);
  switch (lineSpacing_) {
    case lsHalfSpace: lineHeight_ = h / 2; break;
    case lsSingleSpace: lineHeight_ = h; break;
    case lsSingleAndAHalf: lineHeight_ = AddClamped(h, h / 2); break;
    case lsDoubleSpace: lineHeight_ = AddClamped(h, h); break;
    default: lineHeight_ = h; break;
  }
}

// ---------------------------------------------------------------------------
// Property setters

void TPagePrinter::SetMargin(double& field, double value, double minimum, double bound, const char* message) {
  if (Printing()) throw EPagePrinter(QString::fromLatin1(message));
  if (minimum > value)
    field = minimum;
  else if (bound < value)
    field = bound;
  else if (std::isnan(value))
    field = minimum;  // a NaN compares false with both bounds; keep the margin usable
  else
    field = value;
  Invalidate();
}

void TPagePrinter::SetMarginTop(double v) {
  SetMargin(marginTop_, v, MinMarginTop(), PhysicalPageHeight() - MinMarginBottom(),
            "Unable to change top margin while printing");
}

void TPagePrinter::SetMarginBottom(double v) {
  SetMargin(marginBottom_, v, MinMarginBottom(), PhysicalPageHeight() - MinMarginTop(),
            "Unable to change bottom margin while printing");
}

void TPagePrinter::SetMarginLeft(double v) {
  SetMargin(marginLeft_, v, MinMarginLeft(), PhysicalPageWidth() - MinMarginRight(),
            "Unable to change left margin while printing");
}

void TPagePrinter::SetMarginRight(double v) {
  SetMargin(marginRight_, v, MinMarginRight(), PhysicalPageWidth() - MinMarginLeft(),
            "Unable to change right margin while printing");
}

void TPagePrinter::SetMeasureUnit(TMeasureUnit unit) {
  if (unit == measureUnit_) return;
  // The message names the top margin: that is the first length the change would touch.
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change top margin while printing"));
  measureUnit_ = unit;
  if (constructing_) return;
  const double f = unit == muInches ? kInchesPerMillimeter : kMillimetersPerInch;
  SetMarginTop(marginTop_ * f);
  SetMarginBottom(marginBottom_ * f);
  SetMarginLeft(marginLeft_ * f);
  SetMarginRight(marginRight_ * f);
  SetPageBorderOffset(pageBorderOffset_ * f);
  SetDefaultColWidth(defaultColWidth_ * f);
  UpdatePrinterMetrics();
  // The stored formats are in the user's regional form, also while loading.
  const FormatSettings& fs = FormatSettings::Current();
  if (friendlyFooter_.isEmpty()) footerFormat_ = NormalizeFormatWith(footerFormat_, true, fs, fs);
  if (friendlyHeader_.isEmpty()) headerFormat_ = NormalizeFormatWith(headerFormat_, true, fs, fs);
  tableFormat_ = NormalizeFormatWith(tableFormat_, true, fs, fs);
}

void TPagePrinter::SetAutoFooterFont(bool v) {
  if (v == autoFooterFont_) return;
  autoFooterFont_ = v;
  if (v && !Loading()) footerFont_->Assign(*font_);
}

void TPagePrinter::SetAutoHeaderFont(bool v) {
  if (v == autoHeaderFont_) return;
  autoHeaderFont_ = v;
  if (v && !Loading()) headerFont_->Assign(*font_);
}

void TPagePrinter::SetCopies(uint32_t v) { copies_ = (v == 0 || (v & 0x80000000u)) ? 1 : v; }

void TPagePrinter::SetFileName(const QString& v) {
  // Leading and trailing blanks and control characters (codes below 33) are removed.
  qsizetype first = 0, last = v.size();
  while (first < last && v.at(first).unicode() < 33) ++first;
  while (last > first && v.at(last - 1).unicode() < 33) --last;
  // The refusal compares the value as given with the stored, trimmed name.
  if (Printing() && v != fileName_) throw EPagePrinter(QStringLiteral("Can't change FileName while printing"));
  fileName_ = v.mid(first, last - first);
}

void TPagePrinter::SetPrintToFile(bool v) {
  if (v == printToFile_) return;
  if (Printing()) throw EPagePrinter(QStringLiteral("Can't change PrintToFile while printing"));
  printToFile_ = v;
}

QStringList* TPagePrinter::Lines() {
  if (!lines_) lines_ = std::make_unique<QStringList>();
  return lines_.get();
}

void TPagePrinter::SetLines(const QStringList* lines) {
  if (!lines) {
    lines_.reset();
    return;
  }
  if (lines == lines_.get()) return;
  *Lines() = *lines;
}

void TPagePrinter::SetLineSpacing(TLineSpacing v) {
  lineSpacing_ = v;
  RecomputeLineHeight();
}

TPrinterOrientation TPagePrinter::Orientation() const {
  if (!printer_) return poPortrait;
  try {
    return printer_->Orientation();
  } catch (const EPrinter&) {
    return poPortrait;
  }
}

void TPagePrinter::SetOrientation(TPrinterOrientation o) {
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change orientation while printing"));
  if (o != poPortrait && o != poLandscape) o = poPortrait;
  if (printer_) {
    try {
      printer_->SetOrientation(o);
    } catch (const EPrinter&) {
      // No usable printer: the page keeps its fallback shape.
    }
  }
  UpdateScrollRanges();
  Invalidate();
}

QString TPagePrinter::Title() const { return printer_ ? printer_->Title() : QString(); }

void TPagePrinter::SetTitle(const QString& v) {
  if (printer_) printer_->SetTitle(v);
}

// ---------------------------------------------------------------------------
// Units and printer geometry

TDeviceContext* TPagePrinter::PrinterHandle() const {
  if (!printer_) return nullptr;
  try {
    return printer_->Handle();
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
  const double inches = measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

int TPagePrinter::UnitsToPixelsY(double v) const {
  bool available = false;
  const int caps = PrinterCaps(LOGPIXELSY, available);
  const int dpi = available ? caps : kFallbackPixelsPerInch;
  const double inches = measureUnit_ == muInches ? v : v * kInchesPerMillimeter;
  return RoundHalfEven(inches * dpi);
}

double TPagePrinter::PixelsToUnits(int p, TDeviceCap index) const {
  bool available = false;
  const int dpi = PrinterCaps(index, available);
  const double inches = (available && dpi != 0) ? double(p) / dpi : p * 0.0033333333333333335;
  return measureUnit_ == muInches ? inches : inches * kMillimetersPerInch;
}

double TPagePrinter::PixelsToUnitsX(int p) const { return PixelsToUnits(p, LOGPIXELSX); }
double TPagePrinter::PixelsToUnitsY(int p) const { return PixelsToUnits(p, LOGPIXELSY); }

double TPagePrinter::FallbackOffset() const { return measureUnit_ == muInches ? 0.25 : 6.0; }

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
  return measureUnit_ == muInches ? 8.5 : 210.0;
}

double TPagePrinter::PhysicalPageHeight() const {
  bool available = false;
  const int height = PrinterCaps(PHYSICALHEIGHT, available);
  if (available) return PixelsToUnitsY(height);
  return measureUnit_ == muInches ? 11.0 : 297.0;
}

double TPagePrinter::PrintableWidth() const { return PhysicalPageWidth() - MinMarginLeft() - MinMarginRight(); }
double TPagePrinter::PrintableHeight() const { return PhysicalPageHeight() - MinMarginTop() - MinMarginBottom(); }
double TPagePrinter::ContentWidth() const { return PhysicalPageWidth() - marginLeft_ - marginRight_; }

int TPagePrinter::LeftMarginPixels() const { return UnitsToPixelsX(marginLeft_ - MinMarginLeft()); }
int TPagePrinter::RightMarginPixels() const { return UnitsToPixelsX(marginRight_ - MinMarginRight()); }
int TPagePrinter::TopMarginPixels() const { return UnitsToPixelsY(marginTop_ - MinMarginTop()); }
int TPagePrinter::BottomMarginPixels() const { return UnitsToPixelsY(marginBottom_ - MinMarginBottom()); }

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
    SetMarginTop(marginTop_);
    SetMarginBottom(marginBottom_);
    SetMarginLeft(marginLeft_);
    SetMarginRight(marginRight_);
  }
  GetTextMetrics(PrinterHandle(), textMetrics_);
  RealizePageFont();
  RecomputeLineHeight();
  if (!friendlyHeader_.isEmpty()) SetFriendlyHeader(friendlyHeader_);
  if (!friendlyFooter_.isEmpty()) SetFriendlyFooter(friendlyFooter_);
}
