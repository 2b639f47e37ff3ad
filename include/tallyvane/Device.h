// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Device contexts: what a printer or the screen reports about itself, and how
// text is measured on it. Layout code only ever asks through these calls.
#include <QString>
#include <memory>
#include <vector>

#include "tallyvane_platform_export.h"
#include "Graphics.h"

enum TDeviceCap {
  HORZRES = 8,
  VERTRES = 10,
  LOGPIXELSX = 88,
  LOGPIXELSY = 90,
  PHYSICALWIDTH = 110,
  PHYSICALHEIGHT = 111,
  PHYSICALOFFSETX = 112,
  PHYSICALOFFSETY = 113,
};

struct TALLYVANE_PLATFORM_EXPORT TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
};

class TALLYVANE_PLATFORM_EXPORT TDeviceContext {
 public:
  virtual ~TDeviceContext() = default;
  virtual int Caps(TDeviceCap index) const = 0;
  // Width in this device's pixels of text in the given font (its height already in device pixels).
  // Exactly what a full layout measures, from per-font caches.
  virtual int TextWidth(const TFont& font, const QString& text) const;
  virtual int TextHeight(const TFont& font, const QString& text) const;
  virtual TTextMetric TextMetrics(const TFont& font) const;
  // The font the context holds (what GetTextMetrics reports on).
  TFont& SelectedFont() { return selectedFont_; }

 private:
  // Layout measures cell after cell in one font: the font's metrics are kept
  // until a different font is measured.
  struct MetricsCache;
  static constexpr size_t kFontsKept = 8;
  const MetricsCache& Metrics(const TFont& font) const;
  MetricsCache& MutableMetrics(const TFont& font) const;
  TFont selectedFont_;
  mutable std::vector<std::shared_ptr<MetricsCache>> metrics_;
};

// A handle of 0 stands for "no device"; both calls then report nothing.
TALLYVANE_PLATFORM_EXPORT int GetDeviceCaps(const TDeviceContext* dc, TDeviceCap index);
TALLYVANE_PLATFORM_EXPORT bool GetTextMetrics(TDeviceContext* dc, TTextMetric& metrics);

// The screen's logical resolution (96 on the offscreen platform).
TALLYVANE_PLATFORM_EXPORT int ScreenPixelsPerInch();
TALLYVANE_PLATFORM_EXPORT TDeviceContext* ScreenDC();
