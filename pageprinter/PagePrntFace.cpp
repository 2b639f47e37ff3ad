// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The published face of the document: every member that the document answers
// is handed on to it unchanged (SetPrinter and BeginDoc, which printing guards,
// are in PagePrntComponent.cpp).
#include <utility>

#include "PageDocument.h"
#include "PagePrnt.h"
#include "PagePrntPrivate.h"

// ---- The settings of the document ----

TMeasureUnit TPagePrinter::MeasureUnit() const { return d_->doc().MeasureUnit(); }
void TPagePrinter::SetMeasureUnit(TMeasureUnit unit) { d_->doc().SetMeasureUnit(unit); }
TAlignment TPagePrinter::Alignment() const { return d_->doc().Alignment(); }
void TPagePrinter::SetAlignment(TAlignment v) { d_->doc().SetAlignment(v); }
bool TPagePrinter::AutoFooterFont() const { return d_->doc().AutoFooterFont(); }
void TPagePrinter::SetAutoFooterFont(bool v) { d_->doc().SetAutoFooterFont(v); }
bool TPagePrinter::AutoHeaderFont() const { return d_->doc().AutoHeaderFont(); }
void TPagePrinter::SetAutoHeaderFont(bool v) { d_->doc().SetAutoHeaderFont(v); }
double TPagePrinter::DefaultColWidth() const { return d_->doc().DefaultColWidth(); }
void TPagePrinter::SetDefaultColWidth(double v) { d_->doc().SetDefaultColWidth(v); }
QString TPagePrinter::FileName() const { return d_->doc().FileName(); }
void TPagePrinter::SetFileName(const QString& v) { d_->doc().SetFileName(v); }
QString TPagePrinter::Footer() const { return d_->doc().Footer(); }
void TPagePrinter::SetFooter(const QString& v) { d_->doc().SetFooter(v); }
TFont& TPagePrinter::FooterFont() { return d_->doc().FooterFont(); }
void TPagePrinter::SetFooterFont(const TFont& f) { d_->doc().SetFooterFont(f); }
QString TPagePrinter::FooterFormat() const { return d_->doc().FooterFormat(); }
void TPagePrinter::SetFooterFormat(const QString& v) { d_->doc().SetFooterFormat(v); }
QString TPagePrinter::FriendlyFooter() const { return d_->doc().FriendlyFooter(); }
void TPagePrinter::SetFriendlyFooter(const QString& v) { d_->doc().SetFriendlyFooter(v); }
QString TPagePrinter::FriendlyHeader() const { return d_->doc().FriendlyHeader(); }
void TPagePrinter::SetFriendlyHeader(const QString& v) { d_->doc().SetFriendlyHeader(v); }
QString TPagePrinter::Header() const { return d_->doc().Header(); }
void TPagePrinter::SetHeader(const QString& v) { d_->doc().SetHeader(v); }
TFont& TPagePrinter::HeaderFont() { return d_->doc().HeaderFont(); }
void TPagePrinter::SetHeaderFont(const TFont& f) { d_->doc().SetHeaderFont(f); }
QString TPagePrinter::HeaderFormat() const { return d_->doc().HeaderFormat(); }
void TPagePrinter::SetHeaderFormat(const QString& v) { d_->doc().SetHeaderFormat(v); }
TLineSpacing TPagePrinter::LineSpacing() const { return d_->doc().LineSpacing(); }
void TPagePrinter::SetLineSpacing(TLineSpacing v) { d_->doc().SetLineSpacing(v); }
double TPagePrinter::MarginBottom() const { return d_->doc().MarginBottom(); }
void TPagePrinter::SetMarginBottom(double v) { d_->doc().SetMarginBottom(v); }
double TPagePrinter::MarginLeft() const { return d_->doc().MarginLeft(); }
void TPagePrinter::SetMarginLeft(double v) { d_->doc().SetMarginLeft(v); }
double TPagePrinter::MarginRight() const { return d_->doc().MarginRight(); }
void TPagePrinter::SetMarginRight(double v) { d_->doc().SetMarginRight(v); }
double TPagePrinter::MarginTop() const { return d_->doc().MarginTop(); }
void TPagePrinter::SetMarginTop(double v) { d_->doc().SetMarginTop(v); }
TNotifyEvent TPagePrinter::OnNewLine() const { return d_->doc().OnNewLine(); }
void TPagePrinter::SetOnNewLine(TNotifyEvent e) { d_->doc().SetOnNewLine(std::move(e)); }
TNotifyEvent TPagePrinter::OnNewPage() const { return d_->doc().OnNewPage(); }
void TPagePrinter::SetOnNewPage(TNotifyEvent e) { d_->doc().SetOnNewPage(std::move(e)); }
TPrinterOrientation TPagePrinter::Orientation() const { return d_->doc().Orientation(); }
void TPagePrinter::SetOrientation(TPrinterOrientation o) { d_->doc().SetOrientation(o); }
double TPagePrinter::PageBorderOffset() const { return d_->doc().PageBorderOffset(); }
void TPagePrinter::SetPageBorderOffset(double v) { d_->doc().SetPageBorderOffset(v); }
TPageBorders TPagePrinter::PageBorders() const { return d_->doc().PageBorders(); }
void TPagePrinter::SetPageBorders(TPageBorders v) { d_->doc().SetPageBorders(v); }
uint TPagePrinter::PageBordersValue() const { return d_->doc().PageBorders(); }
void TPagePrinter::SetPageBordersValue(uint v) { d_->doc().SetPageBorders(TPageBorders(v & 0x0F)); }
bool TPagePrinter::PrintToFile() const { return d_->doc().PrintToFile(); }
void TPagePrinter::SetPrintToFile(bool v) { d_->doc().SetPrintToFile(v); }
QString TPagePrinter::TableFormat() const { return d_->doc().TableFormat(); }
void TPagePrinter::SetTableFormat(const QString& v) { d_->doc().SetTableFormat(v); }
bool TPagePrinter::TableGrid() const { return d_->doc().TableGrid(); }
void TPagePrinter::SetTableGrid(bool v) { d_->doc().SetTableGrid(v); }
uint32_t TPagePrinter::TabSize() const { return d_->doc().TabSize(); }
void TPagePrinter::SetTabSize(uint32_t v) { d_->doc().SetTabSize(v); }
QString TPagePrinter::Title() const { return d_->doc().Title(); }
void TPagePrinter::SetTitle(const QString& v) { d_->doc().SetTitle(v); }
TPrinter* TPagePrinter::Printer() const { return d_->doc().Printer(); }
QChar TPagePrinter::TokenSeparator() const { return d_->doc().TokenSeparator(); }
void TPagePrinter::SetTokenSeparator(QChar v) { d_->doc().SetTokenSeparator(v); }
bool TPagePrinter::WordWrap() const { return d_->doc().WordWrap(); }
void TPagePrinter::SetWordWrap(bool v) { d_->doc().SetWordWrap(v); }
TFont& TPagePrinter::Font() { return d_->doc().Font(); }
void TPagePrinter::SetFont(const TFont& f) { d_->doc().SetFont(f); }

// ---- Its state ----

bool TPagePrinter::Printing() const { return d_->doc().Printing(); }
int TPagePrinter::PageNumber() const { return d_->doc().PageNumber(); }
void TPagePrinter::SetPageNumber(int v) { d_->doc().SetPageNumber(v); }
int TPagePrinter::PageCount() const { return d_->doc().PageCount(); }
TMetafile* TPagePrinter::Pages(int n) const { return d_->doc().Pages(n); }
TMetafileCanvas* TPagePrinter::PageCanvas() const { return d_->doc().PageCanvas(); }

// ---- Units and printer geometry ----

int TPagePrinter::UnitsToPixelsX(double v) const { return d_->doc().UnitsToPixelsX(v); }
int TPagePrinter::UnitsToPixelsY(double v) const { return d_->doc().UnitsToPixelsY(v); }
double TPagePrinter::PixelsToUnitsX(int p) const { return d_->doc().PixelsToUnitsX(p); }
double TPagePrinter::PixelsToUnitsY(int p) const { return d_->doc().PixelsToUnitsY(p); }
double TPagePrinter::MinMarginTop() const { return d_->doc().MinMarginTop(); }
double TPagePrinter::MinMarginBottom() const { return d_->doc().MinMarginBottom(); }
double TPagePrinter::MinMarginLeft() const { return d_->doc().MinMarginLeft(); }
double TPagePrinter::MinMarginRight() const { return d_->doc().MinMarginRight(); }
double TPagePrinter::PhysicalPageWidth() const { return d_->doc().PhysicalPageWidth(); }
double TPagePrinter::PhysicalPageHeight() const { return d_->doc().PhysicalPageHeight(); }
double TPagePrinter::PrintableWidth() const { return d_->doc().PrintableWidth(); }
double TPagePrinter::PrintableHeight() const { return d_->doc().PrintableHeight(); }
double TPagePrinter::ContentWidth() const { return d_->doc().ContentWidth(); }
int TPagePrinter::LeftMarginPixels() const { return d_->doc().LeftMarginPixels(); }
int TPagePrinter::RightMarginPixels() const { return d_->doc().RightMarginPixels(); }
int TPagePrinter::TopMarginPixels() const { return d_->doc().TopMarginPixels(); }
int TPagePrinter::BottomMarginPixels() const { return d_->doc().BottomMarginPixels(); }
int TPagePrinter::ContentWidthPixels() const { return d_->doc().ContentWidthPixels(); }
int TPagePrinter::ContentHeightPixels() const { return d_->doc().ContentHeightPixels(); }
TDeviceContext* TPagePrinter::PrinterHandle() const { return d_->doc().PrinterHandle(); }
void TPagePrinter::UpdatePrinterMetrics() { d_->doc().UpdatePrinterMetrics(); }
int TPagePrinter::LineHeight() const { return d_->doc().LineHeight(); }
const TTextMetric& TPagePrinter::TextMetrics() const { return d_->doc().TextMetrics(); }

// ---- Column formats ----

void TPagePrinter::SplitTokens(const QString& text, QChar separator, QStringList& target) {
  TPageDocument::SplitTokens(text, separator, target);
}
void TPagePrinter::ParseColumnFormat(QString& column, TAlignment& alignment, double& width) const {
  d_->doc().ParseColumnFormat(column, alignment, width);
}
QString TPagePrinter::NormalizeFormat(const QString& format, bool convert) const {
  return d_->doc().NormalizeFormat(format, convert);
}

// ---- Page store ----

void TPagePrinter::ClearPages(bool appendFirst) { d_->doc().ClearPages(appendFirst); }
void TPagePrinter::AddPage() { d_->doc().AddPage(); }
void TPagePrinter::OpenPage() { d_->doc().OpenPage(); }
void TPagePrinter::ClosePage() { d_->doc().ClosePage(); }
void TPagePrinter::RealizePageFont() { d_->doc().RealizePageFont(); }

// ---- Document building ----

void TPagePrinter::EndDoc() { d_->doc().EndDoc(); }
void TPagePrinter::Write(const QString& text) { d_->doc().Write(text); }
void TPagePrinter::WriteLine(const QString& text) { d_->doc().WriteLine(text); }
void TPagePrinter::WriteLineAligned(TAlignment alignment, const QString& text) {
  d_->doc().WriteLineAligned(alignment, text);
}
void TPagePrinter::WriteTableLine(const QString& row) { d_->doc().WriteTableLine(row); }
int TPagePrinter::NewLine() { return d_->doc().NewLine(); }
int TPagePrinter::NewPage() { return d_->doc().NewPage(); }
int TPagePrinter::CurrentX() const { return d_->doc().CurrentX(); }
int TPagePrinter::CurrentY() const { return d_->doc().CurrentY(); }
int TPagePrinter::LineNumber() const { return d_->doc().LineNumber(); }
bool TPagePrinter::DocumentOpen() const { return d_->doc().DocumentOpen(); }
bool TPagePrinter::FileOpen() const { return d_->doc().FileOpen(); }

// ---- Decoration ----

void TPagePrinter::DecoratePage() { d_->doc().DecoratePage(); }
QString TPagePrinter::ReplaceTokens(const QString& text) const { return d_->doc().ReplaceTokens(text); }
QString TPagePrinter::ReplaceAll(const QString& pattern, const QString& replacement, const QString& text) {
  return TPageDocument::ReplaceAll(pattern, replacement, text);
}
void TPagePrinter::ConvertFriendly(const QString& text, bool isHeader) { d_->doc().ConvertFriendly(text, isHeader); }
