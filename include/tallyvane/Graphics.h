// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Colours, fonts, pens and brushes as the drawing code expects them, realized on Qt.
#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>

#include "tallyvane_platform_export.h"

// A colour value (0x00BBGGRR) or a system colour constant (top bit set).
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
// System colours: 0x80000000 | index of the system colour.
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;

// Resolves system colour constants to RGB (0x00BBGGRR).
TALLYVANE_PLATFORM_EXPORT TColor ColorToRGB(TColor color);
TALLYVANE_PLATFORM_EXPORT QColor ToQColor(TColor color);
TALLYVANE_PLATFORM_EXPORT TColor FromQColor(const QColor& color);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// Rounds a*b/c half away from zero, as the platform's MulDiv does.
TALLYVANE_PLATFORM_EXPORT int MulDiv(int a, int b, int c);

// A font description: name, height in pixels (negative = character height),
// the resolution that relates height and point size, style and colour.
class TALLYVANE_PLATFORM_EXPORT TFont {
 public:
  TFont();
  QString Name() const { return name_; }
  void SetName(const QString& name);
  // Point size: -Height * 72 / PixelsPerInch, rounded.
  int Size() const;
  void SetSize(int points);
  int Height() const { return height_; }
  void SetHeight(int height);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Orientation() const { return orientation_; }  // escapement in tenths of a degree
  void SetOrientation(int tenths);
  // Copies every attribute (name, height, resolution, style, colour, escapement).
  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;
  // A QFont whose pixel size is the absolute height, so it measures in device pixels.
  QFont ToQFont() const;
  // Called after any attribute changed.
  std::function<void()> OnChange;

 private:
  void Changed();
  QString name_;
  int height_;
  int pixelsPerInch_;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  int orientation_ = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };
struct TALLYVANE_PLATFORM_EXPORT TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };
struct TALLYVANE_PLATFORM_EXPORT TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

// Maps the window font names of the original layouts to installed fonts, once.
TALLYVANE_PLATFORM_EXPORT void InstallFontSubstitutions();
