// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The component's property accessors, over its private state.
#include "PagePrnt.h"
#include "PagePrntPrivate.h"

TMeasureUnit TPagePrinter::MeasureUnit() const { return d_->measureUnit_; }
bool TPagePrinter::AbortOnCancel() const { return d_->abortOnCancel_; }
void TPagePrinter::SetAbortOnCancel(bool v) { d_->abortOnCancel_ = v; }
TAlignment TPagePrinter::Alignment() const { return d_->alignment_; }
void TPagePrinter::SetAlignment(TAlignment v) { d_->alignment_ = v; }
bool TPagePrinter::AutoFooterFont() const { return d_->autoFooterFont_; }
bool TPagePrinter::AutoHeaderFont() const { return d_->autoHeaderFont_; }
bool TPagePrinter::Collate() const { return d_->collate_; }
void TPagePrinter::SetCollate(bool v) { d_->collate_ = v; }
uint32_t TPagePrinter::Copies() const { return d_->copies_; }
double TPagePrinter::DefaultColWidth() const { return d_->defaultColWidth_; }
void TPagePrinter::SetDefaultColWidth(double v) { d_->defaultColWidth_ = v; }
QString TPagePrinter::FileName() const { return d_->fileName_; }
QString TPagePrinter::Footer() const { return d_->footer_; }
void TPagePrinter::SetFooter(const QString& v) { d_->footer_ = v; }
TFont& TPagePrinter::FooterFont() { return *d_->footerFont_; }
void TPagePrinter::SetFooterFont(const TFont& f) { d_->footerFont_->Assign(f); }
QString TPagePrinter::FooterFormat() const { return d_->footerFormat_; }
QString TPagePrinter::FriendlyFooter() const { return d_->friendlyFooter_; }
QString TPagePrinter::FriendlyHeader() const { return d_->friendlyHeader_; }
bool TPagePrinter::GradientBackground() const { return d_->gradientBackground_; }
QString TPagePrinter::Header() const { return d_->header_; }
void TPagePrinter::SetHeader(const QString& v) { d_->header_ = v; }
TFont& TPagePrinter::HeaderFont() { return *d_->headerFont_; }
void TPagePrinter::SetHeaderFont(const TFont& f) { d_->headerFont_->Assign(f); }
QString TPagePrinter::HeaderFormat() const { return d_->headerFormat_; }
TLineSpacing TPagePrinter::LineSpacing() const { return d_->lineSpacing_; }
double TPagePrinter::MarginBottom() const { return d_->marginBottom_; }
double TPagePrinter::MarginLeft() const { return d_->marginLeft_; }
double TPagePrinter::MarginRight() const { return d_->marginRight_; }
double TPagePrinter::MarginTop() const { return d_->marginTop_; }
TNotifyEvent TPagePrinter::OnNewLine() const { return d_->onNewLine_; }
void TPagePrinter::SetOnNewLine(TNotifyEvent e) { d_->onNewLine_ = std::move(e); }
TNotifyEvent TPagePrinter::OnNewPage() const { return d_->onNewPage_; }
void TPagePrinter::SetOnNewPage(TNotifyEvent e) { d_->onNewPage_ = std::move(e); }
double TPagePrinter::PageBorderOffset() const { return d_->pageBorderOffset_; }
void TPagePrinter::SetPageBorderOffset(double v) { d_->pageBorderOffset_ = v; }
TPageBorders TPagePrinter::PageBorders() const { return d_->pageBorders_; }
void TPagePrinter::SetPageBorders(TPageBorders v) { d_->pageBorders_ = v; }
uint TPagePrinter::PageBordersValue() const { return d_->pageBorders_; }
void TPagePrinter::SetPageBordersValue(uint v) { d_->pageBorders_ = TPageBorders(v & 0x0F); }
bool TPagePrinter::PrintToFile() const { return d_->printToFile_; }
QString TPagePrinter::ProgressMessage() const { return d_->progressMessage_; }
void TPagePrinter::SetProgressMessage(const QString& v) { d_->progressMessage_ = v; }
TColor TPagePrinter::ShadowColor() const { return d_->shadowColor_; }
uint32_t TPagePrinter::ShadowOffset() const { return d_->shadowOffset_; }
bool TPagePrinter::ShowCancel() const { return d_->showCancel_; }
void TPagePrinter::SetShowCancel(bool v) { d_->showCancel_ = v; }
bool TPagePrinter::ShowMargins() const { return d_->showMargins_; }
bool TPagePrinter::ShowProgress() const { return d_->showProgress_; }
void TPagePrinter::SetShowProgress(bool v) { d_->showProgress_ = v; }
QString TPagePrinter::TableFormat() const { return d_->tableFormat_; }
bool TPagePrinter::TableGrid() const { return d_->tableGrid_; }
void TPagePrinter::SetTableGrid(bool v) { d_->tableGrid_ = v; }
uint32_t TPagePrinter::TabSize() const { return d_->tabSize_; }
void TPagePrinter::SetTabSize(uint32_t v) { d_->tabSize_ = v; }
QChar TPagePrinter::TokenSeparator() const { return d_->tokenSeparator_; }
void TPagePrinter::SetTokenSeparator(QChar v) { d_->tokenSeparator_ = v; }
bool TPagePrinter::WordWrap() const { return d_->wordWrap_; }
void TPagePrinter::SetWordWrap(bool v) { d_->wordWrap_ = v; }
TZoomLocation TPagePrinter::ZoomLocation() const { return d_->zoomLocation_; }
void TPagePrinter::SetZoomLocation(TZoomLocation v) { d_->zoomLocation_ = v; }
uint32_t TPagePrinter::ZoomPercent() const { return d_->zoomPercent_; }
TFont& TPagePrinter::Font() { return *d_->font_; }
void TPagePrinter::SetFont(const TFont& f) { d_->font_->Assign(f); }
TColor TPagePrinter::Color() const { return d_->color_; }
bool TPagePrinter::Printing() const { return d_->printToFile_ ? d_->fileOpen_ : d_->documentOpen_; }
int TPagePrinter::PageNumber() const { return d_->pageNumber_; }
TMetafileCanvas* TPagePrinter::PageCanvas() const { return d_->pageCanvas_.get(); }
uint32_t TPagePrinter::FromPage() const { return d_->fromPage_; }
uint32_t TPagePrinter::ToPage() const { return d_->toPage_; }
int TPagePrinter::LineHeight() const { return d_->lineHeight_; }
const TTextMetric& TPagePrinter::TextMetrics() const { return d_->textMetrics_; }
int TPagePrinter::CurrentX() const { return d_->currentX_; }
int TPagePrinter::CurrentY() const { return d_->currentY_; }
int TPagePrinter::LineNumber() const { return d_->lineNumber_; }
bool TPagePrinter::DocumentOpen() const { return d_->documentOpen_; }
bool TPagePrinter::FileOpen() const { return d_->fileOpen_; }
TPreviewBox* TPagePrinter::PreviewBox() const { return d_->previewBox_; }
int TPagePrinter::HorzRange() const { return d_->horzRange_; }
int TPagePrinter::VertRange() const { return d_->vertRange_; }
int TPagePrinter::InvalidateCount() const { return d_->invalidateCount_; }
TColor TPagePrinter::PreviewPenColor() const { return d_->previewPenColor_; }
