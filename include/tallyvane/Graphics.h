// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// Colours, fonts, pens and brushes as the drawing code expects them, realized on Qt,
/// and the event handler type the components share.
#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>

#include "tallyvane_platform_export.h"

class QObject;

/// An event handler of the components (the page printer's OnNewPage, the hover label's
/// OnClick, ...); Sender is the component that raises the event.
using TNotifyEvent = std::function<void(QObject* Sender)>;

/// A colour value (0x00BBGGRR) or a system colour constant (top bit set).
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;    ///< black
constexpr TColor clMaroon = 0x000080;   ///< maroon (dark red)
constexpr TColor clGreen = 0x008000;    ///< green
constexpr TColor clNavy = 0x800000;     ///< navy (dark blue)
constexpr TColor clRed = 0x0000FF;      ///< red
constexpr TColor clYellow = 0x00FFFF;   ///< yellow
constexpr TColor clAqua = 0xFFFF00;     ///< aqua (cyan)
constexpr TColor clSilver = 0xC0C0C0;   ///< silver (light grey)
constexpr TColor clGray = 0x808080;     ///< grey
constexpr TColor clWhite = 0xFFFFFF;    ///< white
constexpr TColor clOlive = 0x008080;    ///< olive
constexpr TColor clPurple = 0x800080;   ///< purple
constexpr TColor clTeal = 0x808000;     ///< teal
constexpr TColor clLime = 0x00FF00;     ///< lime (bright green)
constexpr TColor clBlue = 0xFF0000;     ///< blue
constexpr TColor clFuchsia = 0xFF00FF;  ///< fuchsia (magenta)
constexpr TColor clNone = 0x1FFFFFFF;   ///< no colour
// System colours: 0x80000000 | index of the system colour.
constexpr TColor clBtnFace = 0x8000000F;     ///< system colour: button face (silver)
constexpr TColor clBtnShadow = 0x80000010;   ///< system colour: button shadow (grey)
constexpr TColor clWindow = 0x80000005;      ///< system colour: window background (white)
constexpr TColor clWindowText = 0x80000008;  ///< system colour: window text (black)
constexpr TColor clHighlight = 0x8000000D;   ///< system colour: selection highlight

/// Resolves system colour constants to RGB (0x00BBGGRR); other colours lose their top byte.
TALLYVANE_PLATFORM_EXPORT TColor ColorToRGB(TColor color);
/// The Qt colour of a colour value or system colour constant.
TALLYVANE_PLATFORM_EXPORT QColor ToQColor(TColor color);
/// The colour value (0x00BBGGRR) of a Qt colour; alpha is dropped.
TALLYVANE_PLATFORM_EXPORT TColor FromQColor(const QColor& color);

/// A font style bit.
enum TFontStyle : uint8_t {
  fsBold = 1,       ///< bold
  fsItalic = 2,     ///< italic
  fsUnderline = 4,  ///< underlined
  fsStrikeOut = 8   ///< struck out
};
/// A set of TFontStyle bits (0: regular).
using TFontStyles = uint8_t;

/// Rounds a*b/c half away from zero, as the platform's MulDiv does; -1 when c is 0.
TALLYVANE_PLATFORM_EXPORT int MulDiv(int a, int b, int c);

/// A font description: name, height in pixels (negative = character height),
/// the resolution that relates height and point size, style and colour.
/// A new font is "MS Sans Serif", 8 points at the screen's resolution, clWindowText.
class TALLYVANE_PLATFORM_EXPORT TFont {
 public:
  /// The default font (see above).
  TFont();
  /// The family name, such as "Courier New" (mapped to an installed font, see InstallFontSubstitutions).
  QString Name() const { return name_; }
  void SetName(const QString& name);  ///< Sets Name.
  /// Point size: -Height * 72 / PixelsPerInch, rounded; setting it sets Height.
  int Size() const;
  void SetSize(int points);  ///< Sets Size.
  /// Height in pixels at PixelsPerInch: negative for the character height, positive for the cell height.
  int Height() const { return height_; }
  void SetHeight(int height);  ///< Sets Height.
  /// The resolution that relates Height and Size (the screen's by default); setting it changes neither.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }  ///< Sets PixelsPerInch.
  /// The style bits (TFontStyle), 0 for regular.
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);  ///< Sets Style.
  /// The text colour.
  TColor Color() const { return color_; }
  void SetColor(TColor color);  ///< Sets Color.
  /// The escapement (text angle), in tenths of a degree counter-clockwise.
  int Orientation() const { return orientation_; }
  void SetOrientation(int tenths);  ///< Sets Orientation.
  /// Copies every attribute (name, height, resolution, style, colour, escapement); a change.
  void Assign(const TFont& other);
  /// True when every attribute equals the other font's.
  bool SameAs(const TFont& other) const;
  /// A QFont whose pixel size is the absolute height, so it measures in device pixels.
  QFont ToQFont() const;
  /// Called after any attribute changed (by a setter that changes it, or Assign).
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

/// How a pen draws its line.
enum TPenStyle {
  psSolid,  ///< a solid line
  psDash,   ///< dashes
  psDot,    ///< dots
  psClear   ///< nothing
};
/// The pen lines and outlines are drawn with.
struct TALLYVANE_PLATFORM_EXPORT TPen {
  TColor Color = clBlack;     ///< line colour
  int Width = 1;              ///< line width in device pixels
  TPenStyle Style = psSolid;  ///< line style
};

/// How a brush fills.
enum TBrushStyle {
  bsSolid,  ///< filled with the colour
  bsClear   ///< not filled (text has no background box)
};
/// The brush areas and text backgrounds are filled with.
struct TALLYVANE_PLATFORM_EXPORT TBrush {
  TColor Color = clWhite;       ///< fill colour
  TBrushStyle Style = bsSolid;  ///< fill style
};

/// Maps the window font names of the original layouts (MS Sans Serif, Courier New, Arial)
/// to installed fonts (Liberation, DejaVu), once.
TALLYVANE_PLATFORM_EXPORT void InstallFontSubstitutions();
