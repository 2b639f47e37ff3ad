// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The widget's own property accessors: printing, the preview and the stored
// lines, over its private state.
#include "PagePrnt.h"
#include "PagePrntPrivate.h"

bool TPagePrinter::AbortOnCancel() const { return d_->abortOnCancel_; }
void TPagePrinter::SetAbortOnCancel(bool v) { d_->abortOnCancel_ = v; }
bool TPagePrinter::Collate() const { return d_->collate_; }
void TPagePrinter::SetCollate(bool v) { d_->collate_ = v; }
uint32_t TPagePrinter::Copies() const { return d_->copies_; }
bool TPagePrinter::GradientBackground() const { return d_->gradientBackground_; }
QString TPagePrinter::ProgressMessage() const { return d_->progressMessage_; }
void TPagePrinter::SetProgressMessage(const QString& v) { d_->progressMessage_ = v; }
TColor TPagePrinter::ShadowColor() const { return d_->shadowColor_; }
uint32_t TPagePrinter::ShadowOffset() const { return d_->shadowOffset_; }
bool TPagePrinter::ShowCancel() const { return d_->showCancel_; }
void TPagePrinter::SetShowCancel(bool v) { d_->showCancel_ = v; }
bool TPagePrinter::ShowMargins() const { return d_->showMargins_; }
bool TPagePrinter::ShowProgress() const { return d_->showProgress_; }
void TPagePrinter::SetShowProgress(bool v) { d_->showProgress_ = v; }
TZoomLocation TPagePrinter::ZoomLocation() const { return d_->zoomLocation_; }
void TPagePrinter::SetZoomLocation(TZoomLocation v) { d_->zoomLocation_ = v; }
uint32_t TPagePrinter::ZoomPercent() const { return d_->zoomPercent_; }
TColor TPagePrinter::Color() const { return d_->color_; }
uint32_t TPagePrinter::FromPage() const { return d_->fromPage_; }
uint32_t TPagePrinter::ToPage() const { return d_->toPage_; }
TPreviewBox* TPagePrinter::PreviewBox() const { return d_->previewBox_; }
int TPagePrinter::HorzRange() const { return d_->horzRange_; }
int TPagePrinter::VertRange() const { return d_->vertRange_; }
TColor TPagePrinter::PreviewPenColor() const { return d_->previewPenColor_; }
