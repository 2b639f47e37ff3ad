// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Stored descriptions of a TPagePrinter: the component's non-default settings
// as text, one "Name = Value" line per property in the published order.
//
//   MeasureUnit = muMillimeters
//   HeaderFont = "Courier New,-13,bold,clWindowText"
//   Lines = ["first line", "second line"]
//   MarginTop = 12.7
//
// Values: True/False; enumeration names (muInches, lsDoubleSpace, taCenter, zlCenter,
// poLandscape); decimal integers; colours as names (clBtnShadow) or 0x00BBGGRR; doubles
// with a decimal point and up to 17 significant digits; strings in double quotes with
// \" \\ \n \r \t \xHH escapes; PageBorders as a set ([pbTop, pbLeft]); Lines as a list of
// strings. Blank lines and lines starting with '#' are ignored. Numbers in column formats
// are written with the decimal point, whatever the user's regional settings.
//
// What is written: only values that differ from the declared defaults; strings when not
// empty, doubles when not zero, Lines when it holds strings; Header and HeaderFormat only
// while FriendlyHeader is empty (Footer, FooterFormat likewise); HeaderFont only while
// AutoHeaderFont is false (FooterFont likewise); Font when it differs from the body font
// after construction.
#include <QString>

#include "Errors.h"

class TPagePrinter;
class TFont;

// A stored description could not be read (unknown property, malformed value).
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

QString WritePagePrinterDescription(TPagePrinter& component);

// Reads a description into the component through its setters, in the order of the text,
// with the component in its loading state; then runs Loaded. Raises EReadError on a
// malformed description; the settings read before the fault stay.
void ReadPagePrinterDescription(TPagePrinter& component, const QString& description);

// The font text form used by the font properties: "Name,Height[,Style[,Color]]".
QString FontToText(const TFont& font);
// Applies a font text onto a copy of the given font; false when the text is malformed.
bool TextToFont(const QString& text, TFont& font);

// A canonical column format rewritten with the decimal point (the stored form).
QString StoredFormatText(const TPagePrinter& component, const QString& format);
