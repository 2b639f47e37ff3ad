// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// TPagePrinter: construction and destruction of the widget around its
// document, the document's hooks, repaint requests, Loaded, and the guards
// that printing puts on the document.
#include <QScrollBar>

#include "PageDocument.h"
#include "PagePrnt.h"
#include "PagePrntInternals.h"
#include "PagePrntPrivate.h"

// ---------------------------------------------------------------------------
// Construction and destruction

TPagePrinter::TPagePrinter(QWidget* owner) : TPagePrinter(SharedPrinter(), owner) {}

TPagePrinter::TPagePrinter(std::shared_ptr<TPrinter> printer, QWidget* owner)
    : QScrollArea(owner), d_(std::make_unique<Private>()) {
  d_->constructing_ = true;
  // The control takes no children from a form designer: its only child is the preview.
  setAcceptDrops(false);

  d_->lines_ = std::make_unique<QStringList>();
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setTracking(true);
    bar->setSingleStep(16);
  }
  d_->document_ = std::make_unique<TPageDocument>(std::move(printer));
  d_->printJob_ = std::make_unique<TPrintJob>(*this);

  d_->zoomPercent_ = 25;
  d_->zoomLocation_ = zlTopLeft;
  d_->shadowOffset_ = 5;

  // The preview box makes itself the scroll area's content, laid out over the client area.
  d_->previewBox_ = new TPreviewBox(this);
  d_->previewBox_->OnPaint = [this](QPainter& painter) { PaintPreview(painter); };

  resize(89, 115);

  TPageDocument::THooks hooks;
  hooks.sender = this;
  hooks.repaint = [this] { Invalidate(); };
  hooks.layout = [this] { UpdateScrollRanges(); };
  // The base control's own handling: the widget font follows the body font.
  hooks.fontChanged = [this](const TFont& font) { QWidget::setFont(font.ToQFont()); };
  hooks.loading = [this] { return Loading(); };
  d_->doc().SetHooks(std::move(hooks));
  d_->doc().Initialize();

  d_->showProgress_ = true;
  d_->showCancel_ = true;
  d_->shadowColor_ = clBtnShadow;
  d_->showMargins_ = true;
  d_->gradientBackground_ = true;
  d_->collate_ = true;
  d_->copies_ = 1;
  d_->toPage_ = 0;
  d_->fromPage_ = 0;
  d_->abortOnCancel_ = false;

  d_->constructing_ = false;
}

TPagePrinter::~TPagePrinter() {
  if (d_->previewBox_) d_->previewBox_->OnPaint = nullptr;
  // The document goes first: its font no longer calls back, an open text file
  // keeps what was written, the pages are freed.
  d_->document_.reset();
  delete d_->previewBox_;
  d_->previewBox_ = nullptr;
  d_->lines_.reset();
}

TPageDocument& DocumentOf(TPagePrinter& component) { return component.d_->doc(); }
const TPageDocument& DocumentOf(const TPagePrinter& component) { return component.d_->doc(); }
int InvalidateCountOf(const TPagePrinter& component) { return component.d_->invalidateCount_; }

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

// ---------------------------------------------------------------------------
// What printing forbids

void TPagePrinter::SetPrinter(std::shared_ptr<TPrinter> printer) {
  if (Printing() || PrintRunning()) throw EPagePrinter(QStringLiteral("Unable to change printer while printing"));
  d_->doc().SetPrinter(std::move(printer));
}

void TPagePrinter::BeginDoc() {
  // A new page document would free the pages that a running Print is drawing.
  if (PrintRunning() && !PrintToFile())
    throw EPagePrinter(QStringLiteral("Cannot start a new document while printing"));
  d_->doc().BeginDoc();
}

// ---------------------------------------------------------------------------
// The widget's own settings

void TPagePrinter::SetCopies(uint32_t v) { d_->copies_ = (v == 0 || (v & 0x80000000u)) ? 1 : v; }

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
