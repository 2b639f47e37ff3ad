// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The WRITE accessors of the component's Qt properties: each runs the setter
// and turns a refusal into a warning, so that setProperty, forms and stored
// descriptions never see an exception.
#include "PagePrnt.h"
#include "PropertyWrites.h"

void TPagePrinter::PropertySetMeasureUnit(TMeasureUnit v) {
  GuardedPropertyWrite(this, "MeasureUnit", [&] { SetMeasureUnit(v); });
}

void TPagePrinter::PropertySetAbortOnCancel(bool v) {
  GuardedPropertyWrite(this, "AbortOnCancel", [&] { SetAbortOnCancel(v); });
}

void TPagePrinter::PropertySetAlignment(TAlignment v) {
  GuardedPropertyWrite(this, "Alignment", [&] { SetAlignment(v); });
}

void TPagePrinter::PropertySetAutoFooterFont(bool v) {
  GuardedPropertyWrite(this, "AutoFooterFont", [&] { SetAutoFooterFont(v); });
}

void TPagePrinter::PropertySetAutoHeaderFont(bool v) {
  GuardedPropertyWrite(this, "AutoHeaderFont", [&] { SetAutoHeaderFont(v); });
}

void TPagePrinter::PropertySetCollate(bool v) {
  GuardedPropertyWrite(this, "Collate", [&] { SetCollate(v); });
}

void TPagePrinter::PropertySetCopies(uint32_t v) {
  GuardedPropertyWrite(this, "Copies", [&] { SetCopies(v); });
}

void TPagePrinter::PropertySetDefaultColWidth(double v) {
  GuardedPropertyWrite(this, "DefaultColWidth", [&] { SetDefaultColWidth(v); });
}

void TPagePrinter::PropertySetFileName(const QString& v) {
  GuardedPropertyWrite(this, "FileName", [&] { SetFileName(v); });
}

void TPagePrinter::PropertySetFooter(const QString& v) {
  GuardedPropertyWrite(this, "Footer", [&] { SetFooter(v); });
}

void TPagePrinter::PropertySetFooterFontText(const QString& v) {
  GuardedPropertyWrite(this, "FooterFontText", [&] { SetFooterFontText(v); });
}

void TPagePrinter::PropertySetFooterFormat(const QString& v) {
  GuardedPropertyWrite(this, "FooterFormat", [&] { SetFooterFormat(v); });
}

void TPagePrinter::PropertySetFriendlyFooter(const QString& v) {
  GuardedPropertyWrite(this, "FriendlyFooter", [&] { SetFriendlyFooter(v); });
}

void TPagePrinter::PropertySetFriendlyHeader(const QString& v) {
  GuardedPropertyWrite(this, "FriendlyHeader", [&] { SetFriendlyHeader(v); });
}

void TPagePrinter::PropertySetGradientBackground(bool v) {
  GuardedPropertyWrite(this, "GradientBackground", [&] { SetGradientBackground(v); });
}

void TPagePrinter::PropertySetHeader(const QString& v) {
  GuardedPropertyWrite(this, "Header", [&] { SetHeader(v); });
}

void TPagePrinter::PropertySetHeaderFontText(const QString& v) {
  GuardedPropertyWrite(this, "HeaderFontText", [&] { SetHeaderFontText(v); });
}

void TPagePrinter::PropertySetHeaderFormat(const QString& v) {
  GuardedPropertyWrite(this, "HeaderFormat", [&] { SetHeaderFormat(v); });
}

void TPagePrinter::PropertySetLinesValue(const QStringList& v) {
  GuardedPropertyWrite(this, "Lines", [&] { SetLinesValue(v); });
}

void TPagePrinter::PropertySetLineSpacing(TLineSpacing v) {
  GuardedPropertyWrite(this, "LineSpacing", [&] { SetLineSpacing(v); });
}

void TPagePrinter::PropertySetMarginBottom(double v) {
  GuardedPropertyWrite(this, "MarginBottom", [&] { SetMarginBottom(v); });
}

void TPagePrinter::PropertySetMarginLeft(double v) {
  GuardedPropertyWrite(this, "MarginLeft", [&] { SetMarginLeft(v); });
}

void TPagePrinter::PropertySetMarginRight(double v) {
  GuardedPropertyWrite(this, "MarginRight", [&] { SetMarginRight(v); });
}

void TPagePrinter::PropertySetMarginTop(double v) {
  GuardedPropertyWrite(this, "MarginTop", [&] { SetMarginTop(v); });
}

void TPagePrinter::PropertySetOrientationValue(int v) {
  GuardedPropertyWrite(this, "Orientation", [&] { SetOrientationValue(v); });
}

void TPagePrinter::PropertySetPageBorderOffset(double v) {
  GuardedPropertyWrite(this, "PageBorderOffset", [&] { SetPageBorderOffset(v); });
}

void TPagePrinter::PropertySetPageBordersValue(uint v) {
  GuardedPropertyWrite(this, "PageBorders", [&] { SetPageBordersValue(v); });
}

void TPagePrinter::PropertySetPrintToFile(bool v) {
  GuardedPropertyWrite(this, "PrintToFile", [&] { SetPrintToFile(v); });
}

void TPagePrinter::PropertySetProgressMessage(const QString& v) {
  GuardedPropertyWrite(this, "ProgressMessage", [&] { SetProgressMessage(v); });
}

void TPagePrinter::PropertySetShadowColor(uint32_t v) {
  GuardedPropertyWrite(this, "ShadowColor", [&] { SetShadowColor(v); });
}

void TPagePrinter::PropertySetShadowOffset(uint32_t v) {
  GuardedPropertyWrite(this, "ShadowOffset", [&] { SetShadowOffset(v); });
}

void TPagePrinter::PropertySetShowCancel(bool v) {
  GuardedPropertyWrite(this, "ShowCancel", [&] { SetShowCancel(v); });
}

void TPagePrinter::PropertySetShowMargins(bool v) {
  GuardedPropertyWrite(this, "ShowMargins", [&] { SetShowMargins(v); });
}

void TPagePrinter::PropertySetShowProgress(bool v) {
  GuardedPropertyWrite(this, "ShowProgress", [&] { SetShowProgress(v); });
}

void TPagePrinter::PropertySetTableFormat(const QString& v) {
  GuardedPropertyWrite(this, "TableFormat", [&] { SetTableFormat(v); });
}

void TPagePrinter::PropertySetTableGrid(bool v) {
  GuardedPropertyWrite(this, "TableGrid", [&] { SetTableGrid(v); });
}

void TPagePrinter::PropertySetTabSize(uint32_t v) {
  GuardedPropertyWrite(this, "TabSize", [&] { SetTabSize(v); });
}

void TPagePrinter::PropertySetTitle(const QString& v) {
  GuardedPropertyWrite(this, "Title", [&] { SetTitle(v); });
}

void TPagePrinter::PropertySetTokenSeparator(QChar v) {
  GuardedPropertyWrite(this, "TokenSeparator", [&] { SetTokenSeparator(v); });
}

void TPagePrinter::PropertySetWordWrap(bool v) {
  GuardedPropertyWrite(this, "WordWrap", [&] { SetWordWrap(v); });
}

void TPagePrinter::PropertySetZoomLocation(TZoomLocation v) {
  GuardedPropertyWrite(this, "ZoomLocation", [&] { SetZoomLocation(v); });
}

void TPagePrinter::PropertySetZoomPercent(uint32_t v) {
  GuardedPropertyWrite(this, "ZoomPercent", [&] { SetZoomPercent(v); });
}

void TPagePrinter::PropertySetColor(uint32_t v) {
  GuardedPropertyWrite(this, "Color", [&] { SetColor(v); });
}

void TPagePrinter::PropertySetBodyFontText(const QString& v) {
  GuardedPropertyWrite(this, "BodyFontText", [&] { SetBodyFontText(v); });
}
