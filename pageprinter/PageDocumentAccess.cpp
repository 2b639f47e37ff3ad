// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The document's plain accessors, over its private state.
#include "PageDocument.h"
#include "PageDocumentPrivate.h"

TMeasureUnit TPageDocument::MeasureUnit() const { return d_->measureUnit_; }
TAlignment TPageDocument::Alignment() const { return d_->alignment_; }
void TPageDocument::SetAlignment(TAlignment v) { d_->alignment_ = v; }
bool TPageDocument::AutoFooterFont() const { return d_->autoFooterFont_; }
bool TPageDocument::AutoHeaderFont() const { return d_->autoHeaderFont_; }
double TPageDocument::DefaultColWidth() const { return d_->defaultColWidth_; }
void TPageDocument::SetDefaultColWidth(double v) { d_->defaultColWidth_ = v; }
QString TPageDocument::FileName() const { return d_->fileName_; }
QString TPageDocument::Footer() const { return d_->footer_; }
void TPageDocument::SetFooter(const QString& v) { d_->footer_ = v; }
TFont& TPageDocument::FooterFont() { return *d_->footerFont_; }
void TPageDocument::SetFooterFont(const TFont& f) { d_->footerFont_->Assign(f); }
QString TPageDocument::FooterFormat() const { return d_->footerFormat_; }
QString TPageDocument::FriendlyFooter() const { return d_->friendlyFooter_; }
QString TPageDocument::FriendlyHeader() const { return d_->friendlyHeader_; }
QString TPageDocument::Header() const { return d_->header_; }
void TPageDocument::SetHeader(const QString& v) { d_->header_ = v; }
TFont& TPageDocument::HeaderFont() { return *d_->headerFont_; }
void TPageDocument::SetHeaderFont(const TFont& f) { d_->headerFont_->Assign(f); }
QString TPageDocument::HeaderFormat() const { return d_->headerFormat_; }
TLineSpacing TPageDocument::LineSpacing() const { return d_->lineSpacing_; }
double TPageDocument::MarginBottom() const { return d_->marginBottom_; }
double TPageDocument::MarginLeft() const { return d_->marginLeft_; }
double TPageDocument::MarginRight() const { return d_->marginRight_; }
double TPageDocument::MarginTop() const { return d_->marginTop_; }
TNotifyEvent TPageDocument::OnNewLine() const { return d_->onNewLine_; }
void TPageDocument::SetOnNewLine(TNotifyEvent e) { d_->onNewLine_ = std::move(e); }
TNotifyEvent TPageDocument::OnNewPage() const { return d_->onNewPage_; }
void TPageDocument::SetOnNewPage(TNotifyEvent e) { d_->onNewPage_ = std::move(e); }
double TPageDocument::PageBorderOffset() const { return d_->pageBorderOffset_; }
void TPageDocument::SetPageBorderOffset(double v) { d_->pageBorderOffset_ = v; }
TPageBorders TPageDocument::PageBorders() const { return d_->pageBorders_; }
void TPageDocument::SetPageBorders(TPageBorders v) { d_->pageBorders_ = v; }
bool TPageDocument::PrintToFile() const { return d_->printToFile_; }
QString TPageDocument::TableFormat() const { return d_->tableFormat_; }
bool TPageDocument::TableGrid() const { return d_->tableGrid_; }
void TPageDocument::SetTableGrid(bool v) { d_->tableGrid_ = v; }
uint32_t TPageDocument::TabSize() const { return d_->tabSize_; }
void TPageDocument::SetTabSize(uint32_t v) { d_->tabSize_ = v; }
QChar TPageDocument::TokenSeparator() const { return d_->tokenSeparator_; }
void TPageDocument::SetTokenSeparator(QChar v) { d_->tokenSeparator_ = v; }
bool TPageDocument::WordWrap() const { return d_->wordWrap_; }
void TPageDocument::SetWordWrap(bool v) { d_->wordWrap_ = v; }
TFont& TPageDocument::Font() { return *d_->font_; }
void TPageDocument::SetFont(const TFont& f) { d_->font_->Assign(f); }
bool TPageDocument::Printing() const { return d_->printToFile_ ? d_->fileOpen_ : d_->documentOpen_; }
int TPageDocument::PageNumber() const { return d_->pageNumber_; }
TMetafileCanvas* TPageDocument::PageCanvas() const { return d_->pageCanvas_.get(); }
int TPageDocument::LineHeight() const { return d_->lineHeight_; }
const TTextMetric& TPageDocument::TextMetrics() const { return d_->textMetrics_; }
int TPageDocument::CurrentX() const { return d_->currentX_; }
int TPageDocument::CurrentY() const { return d_->currentY_; }
int TPageDocument::LineNumber() const { return d_->lineNumber_; }
bool TPageDocument::DocumentOpen() const { return d_->documentOpen_; }
bool TPageDocument::FileOpen() const { return d_->fileOpen_; }
