// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Graphics.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <cmath>
#include <cstdlib>

#include "Device.h"

namespace {
// Windows system colour indices that the program uses, with the values of the
// classic desktop scheme; the widget palette decides where Qt offers one.
TColor SystemColor(uint32_t index) {
  switch (index) {
    case 0x05: return 0xFFFFFF;  // window
    case 0x08: return 0x000000;  // window text
    case 0x0D: return 0x6A240A;  // highlight
    case 0x0F: return 0xC0C0C0;  // button face
    case 0x10: return 0x808080;  // button shadow
    default: return 0x000000;
  }
}
}  // namespace

TColor ColorToRGB(TColor color) {
  if (color & 0x80000000u) return SystemColor(color & 0xFFu);
  return color & 0x00FFFFFFu;
}

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c) { return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16); }

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long num = static_cast<long long>(a) * b;
  long long q = num / c;
  const long long r = num % c;
  if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) q += ((num < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

TFont::TFont() : name_(QStringLiteral("MS Sans Serif")), pixelsPerInch_(ScreenPixelsPerInch()) {
  height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::SetName(const QString& name) {
  if (name_ == name) return;
  name_ = name;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

void TFont::SetHeight(int height) {
  if (height_ == height) return;
  height_ = height;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style_ == style) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

void TFont::SetOrientation(int tenths) {
  if (orientation_ == tenths) return;
  orientation_ = tenths;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (this == &other) return;
  name_ = other.name_;
  height_ = other.height_;
  pixelsPerInch_ = other.pixelsPerInch_;
  style_ = other.style_;
  color_ = other.color_;
  orientation_ = other.orientation_;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && pixelsPerInch_ == o.pixelsPerInch_ && style_ == o.style_ &&
         color_ == o.color_ && orientation_ == o.orientation_;
}

QFont TFont::ToQFont() const {
  QFont f(name_);
  // A positive height is a cell height; Qt sizes by character height, close enough for both.
  f.setPixelSize(std::max(1, std::abs(height_)));
  f.setBold(style_ & fsBold);
  f.setItalic(style_ & fsItalic);
  f.setUnderline(style_ & fsUnderline);
  f.setStrikeOut(style_ & fsStrikeOut);
  f.setKerning(false);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

void InstallFontSubstitutions() {
  static bool done = false;
  if (done) return;
  done = true;
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Courier New"),
                             {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
  QFont::insertSubstitutions(QStringLiteral("Arial"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}
