// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The page store: the document's recorded pages in order, the one page open
// for drawing and its canvas, and the current page number.
#include "Device.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"

TPageList::~TPageList() {
  for (TMetafile* page : items_) delete page;  // deleting a null item is a no-op
  items_.clear();
}

TMetafile* TPageList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  return items_[size_t(index)];
}

void TPageDocument::ClearPages(bool appendFirst) {
  ClosePage();
  // Cells waiting for the page count belong to the pages going away.
  std::erase_if(d_->pendingCounts_, [](const Private::TPendingCount& cell) { return cell.page != nullptr; });
  d_->pageList_.reset();
  d_->openPage_ = nullptr;
  d_->openPageOwned_ = false;
  d_->pageList_ = std::make_unique<TPageList>();
  d_->pageNumber_ = 0;
  if (appendFirst)
    AddPage();
  else
    OpenPage();
}

void TPageDocument::AddPage() {
  OpenPage();
  d_->pageList_->Add(d_->openPage_);
  // Only once the list holds the page does the list own it.
  d_->openPageOwned_ = false;
}

void TPageDocument::OpenPage() {
  ClosePage();
  auto page = std::make_unique<TMetafile>();
  // The page's origin is the printable origin: the sheet less the unprintable offsets.
  page->SetWidth(UnitsToPixelsX(PhysicalPageWidth() - MinMarginLeft()));
  page->SetHeight(UnitsToPixelsY(PhysicalPageHeight() - MinMarginTop()));
  auto canvas = std::make_unique<TMetafileCanvas>(page.get(), PrinterHandle());
  d_->openPage_ = page.release();
  d_->openPageOwned_ = true;
  d_->pageCanvas_ = std::move(canvas);
  d_->pageCanvas_->Brush().Style = bsClear;
  d_->pageCanvas_->Font().Assign(*d_->font_);
  RealizePageFont();
}

void TPageDocument::ClosePage() {
  d_->pageCanvas_.reset();  // ends the recording of the open page
  if (d_->openPageOwned_) {
    delete d_->openPage_;
    d_->openPage_ = nullptr;
    d_->openPageOwned_ = false;
  }
}

void TPageDocument::RealizePageFont() {
  if (!d_->pageCanvas_) return;
  TFont& font = d_->pageCanvas_->Font();
  const int size = font.Size();
  TDeviceContext* dc = PrinterHandle();
  int ppi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 300;
  if (ppi <= 0) ppi = 300;  // a device without a resolution would give a zero-height font
  font.SetPixelsPerInch(ppi);
  // Setting an unchanged size has no effect; a step away and back forces the new pixel height.
  font.SetSize(size < 144 ? size + 1 : size - 1);
  font.SetSize(size);
}

void TPageDocument::SetPageNumber(int v) {
  const int count = PageCount();
  if (v >= 1 && v <= count) {
    d_->pageNumber_ = v;
    NotifyLayout();
    NotifyRepaint();
  } else if (Loading() || count == 0) {
    d_->pageNumber_ = 0;
  } else {
    throw EPagePrinter(QStringLiteral("PageNumber must be between 1 and ") + QString::number(count));
  }
}

int TPageDocument::PageCount() const { return d_->pageList_ ? d_->pageList_->Count() : 0; }

TMetafile* TPageDocument::Pages(int n) const {
  if (!d_->pageList_) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(n - 1));
  return d_->pageList_->Items(n - 1);
}
