// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The document: construction, destruction, the hooks to its view, the body
// font's change handling and the settings' setters.
#include <climits>
#include <cmath>

#include "Conversions.h"
#include "Device.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"
#include "PagePrntErrors.h"
#include "PagePrntOutput.h"
#include "PagePrntInternal.h"

namespace {

using measure_units::kInchesPerMillimeter;
using measure_units::kMillimetersPerInch;

using pageprinter_detail::AddClamped;

}  // namespace

// ---------------------------------------------------------------------------
// Construction and destruction

TPageDocument::TPageDocument(std::shared_ptr<TPrinter> printer) : d_(std::make_unique<Private>()) {
  d_->font_ = std::make_unique<TFont>();
  d_->headerFont_ = std::make_unique<TFont>();
  d_->footerFont_ = std::make_unique<TFont>();
  d_->currentX_ = d_->currentY_ = 0;
  d_->lineNumber_ = 0;
  d_->pageNumber_ = 0;
  d_->fileOpen_ = false;
  d_->pagesOutput_ = std::make_unique<TRecordedPagesOutput>(*this);

  d_->ownPrinter_ = printer ? std::move(printer) : SharedPrinter();
  d_->printer_ = d_->ownPrinter_.get();

  d_->tokenSeparator_ = QChar('|');
  d_->documentOpen_ = false;
}

void TPageDocument::Initialize() {
  d_->constructing_ = true;
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

  SetOrientation(poPortrait);
  SetTitle(QString());

  SetLineSpacing(lsSingleSpace);
  d_->tabSize_ = 8;
  d_->wordWrap_ = true;
  d_->alignment_ = taLeftJustify;
  d_->pageBorders_ = 0;

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

  SetMarginTop(MinMarginTop());
  SetMarginBottom(MinMarginBottom());
  SetMarginLeft(MinMarginLeft());
  SetMarginRight(MinMarginRight());

  d_->constructing_ = false;
}

TPageDocument::~TPageDocument() {
  // The body font must not call back into a half-destroyed document.
  if (d_->font_) d_->font_->OnChange = nullptr;
  // A text document still open keeps what was written; the handle is not leaked.
  d_->textFile_.reset();
  ClosePage();
  d_->pageList_.reset();
  d_->openPage_ = nullptr;
  d_->headerFont_.reset();
  d_->footerFont_.reset();
}

void TPageDocument::SetHooks(THooks hooks) { d_->hooks_ = std::move(hooks); }

bool TPageDocument::Loading() const { return d_->hooks_.loading && d_->hooks_.loading(); }

void TPageDocument::NotifyRepaint() const {
  if (d_->hooks_.repaint) d_->hooks_.repaint();
}

void TPageDocument::NotifyLayout() const {
  if (d_->hooks_.layout) d_->hooks_.layout();
}

void TPageDocument::FontChanged() {
  // The view's own handling first: its font follows the body font.
  if (d_->hooks_.fontChanged) d_->hooks_.fontChanged(*d_->font_);
  if (d_->pageCanvas_) {
    d_->pageCanvas_->Font().Assign(*d_->font_);
    RealizePageFont();
  }
  GetTextMetrics(PrinterHandle(), d_->textMetrics_);
  RecomputeLineHeight();
  if (d_->autoHeaderFont_) d_->headerFont_->Assign(*d_->font_);
  if (d_->autoFooterFont_) d_->footerFont_->Assign(*d_->font_);
}

void TPageDocument::RecomputeLineHeight() {
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

void TPageDocument::SetMargin(double& field, double value, double minimum, double bound, const char* message) {
  if (Printing()) throw EPagePrinter(QString::fromLatin1(message));
  // A NaN compares false with both bounds: it gives the minimum, which keeps the margin usable.
  if (std::isnan(value) || minimum > value)
    field = minimum;
  else if (bound < value)
    field = bound;
  else
    field = value;
  NotifyRepaint();
}

void TPageDocument::SetMarginTop(double v) {
  SetMargin(d_->marginTop_, v, MinMarginTop(), PhysicalPageHeight() - MinMarginBottom(),
            "Unable to change top margin while printing");
}

void TPageDocument::SetMarginBottom(double v) {
  SetMargin(d_->marginBottom_, v, MinMarginBottom(), PhysicalPageHeight() - MinMarginTop(),
            "Unable to change bottom margin while printing");
}

void TPageDocument::SetMarginLeft(double v) {
  SetMargin(d_->marginLeft_, v, MinMarginLeft(), PhysicalPageWidth() - MinMarginRight(),
            "Unable to change left margin while printing");
}

void TPageDocument::SetMarginRight(double v) {
  SetMargin(d_->marginRight_, v, MinMarginRight(), PhysicalPageWidth() - MinMarginLeft(),
            "Unable to change right margin while printing");
}

void TPageDocument::SetMeasureUnit(TMeasureUnit unit) {
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

void TPageDocument::SetAutoFooterFont(bool v) {
  if (v == d_->autoFooterFont_) return;
  d_->autoFooterFont_ = v;
  if (v && !Loading()) d_->footerFont_->Assign(*d_->font_);
}

void TPageDocument::SetAutoHeaderFont(bool v) {
  if (v == d_->autoHeaderFont_) return;
  d_->autoHeaderFont_ = v;
  if (v && !Loading()) d_->headerFont_->Assign(*d_->font_);
}

void TPageDocument::SetFileName(const QString& v) {
  // Leading and trailing blanks and control characters (codes below 33) are removed.
  qsizetype first = 0, last = v.size();
  while (first < last && v.at(first).unicode() < 33) ++first;
  while (last > first && v.at(last - 1).unicode() < 33) --last;
  // The refusal compares the value as given with the stored, trimmed name.
  if (Printing() && v != d_->fileName_) throw EPagePrinter(QStringLiteral("Can't change FileName while printing"));
  d_->fileName_ = v.mid(first, last - first);
}

void TPageDocument::SetPrintToFile(bool v) {
  if (v == d_->printToFile_) return;
  if (Printing()) throw EPagePrinter(QStringLiteral("Can't change PrintToFile while printing"));
  d_->printToFile_ = v;
}

void TPageDocument::SetLineSpacing(TLineSpacing v) {
  d_->lineSpacing_ = v;
  RecomputeLineHeight();
}

TPrinterOrientation TPageDocument::Orientation() const {
  if (!d_->printer_) return poPortrait;
  try {
    return d_->printer_->Orientation();
  } catch (const EPrinter&) {
    return poPortrait;
  }
}

void TPageDocument::SetOrientation(TPrinterOrientation o) {
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change orientation while printing"));
  if (o != poPortrait && o != poLandscape) o = poPortrait;
  if (d_->printer_) {
    try {
      d_->printer_->SetOrientation(o);
    } catch (const EPrinter&) {
      // No usable printer: the page keeps its fallback shape.
    }
  }
  NotifyLayout();
  NotifyRepaint();
}

TPrinter* TPageDocument::Printer() const { return d_->printer_; }

void TPageDocument::SetPrinter(std::shared_ptr<TPrinter> printer) {
  if (Printing()) throw EPagePrinter(QStringLiteral("Unable to change printer while printing"));
  if (!printer) printer = SharedPrinter();
  if (printer == d_->ownPrinter_) return;
  // Title and orientation are the document's settings: they go with it to the new printer.
  const QString title = Title();
  const TPrinterOrientation orientation = Orientation();
  d_->ownPrinter_ = std::move(printer);
  d_->printer_ = d_->ownPrinter_.get();
  d_->printer_->SetTitle(title);
  SetOrientation(orientation);
}

QString TPageDocument::Title() const { return d_->printer_ ? d_->printer_->Title() : QString(); }

void TPageDocument::SetTitle(const QString& v) {
  if (d_->printer_) d_->printer_->SetTitle(v);
}
