// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// Device contexts: what a printer or the screen reports about itself, and how
/// text is measured on it. Layout code only ever asks through these calls.
#include <QString>
#include <memory>
#include <vector>

#include "tallyvane_platform_export.h"
#include "Graphics.h"

/// What GetDeviceCaps asks a device; lengths in the device's pixels.
enum TDeviceCap {
  HORZRES = 8,            ///< printable width
  VERTRES = 10,           ///< printable height
  LOGPIXELSX = 88,        ///< horizontal resolution, pixels per inch
  LOGPIXELSY = 90,        ///< vertical resolution, pixels per inch
  PHYSICALWIDTH = 110,    ///< width of the whole sheet
  PHYSICALHEIGHT = 111,   ///< height of the whole sheet
  PHYSICALOFFSETX = 112,  ///< unprintable left offset
  PHYSICALOFFSETY = 113,  ///< unprintable top offset
};

/// A font's metrics on a device, in the device's pixels.
struct TALLYVANE_PLATFORM_EXPORT TTextMetric {
  int tmHeight = 0;           ///< ascent plus descent
  int tmAscent = 0;           ///< above the baseline
  int tmDescent = 0;          ///< below the baseline
  int tmInternalLeading = 0;  ///< room for accents inside tmHeight
  int tmExternalLeading = 0;  ///< extra room the font suggests between lines
  int tmAveCharWidth = 0;     ///< average character width
};

/// A device (a printer, the screen) as layout code sees it: its capabilities and text measures.
class TALLYVANE_PLATFORM_EXPORT TDeviceContext {
 public:
  virtual ~TDeviceContext() = default;
  /// The value the device reports for index (see TDeviceCap).
  virtual int Caps(TDeviceCap index) const = 0;
  /// Width in this device's pixels of text in the given font (its height already in device pixels).
  /// Exactly what a full layout measures, from per-font caches.
  virtual int TextWidth(const TFont& font, const QString& text) const;
  /// Height in this device's pixels of text in the given font.
  virtual int TextHeight(const TFont& font, const QString& text) const;
  /// The font's metrics on this device.
  virtual TTextMetric TextMetrics(const TFont& font) const;
  /// The font the context holds (what GetTextMetrics reports on).
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
/// The device's value for index; 0 when dc is nullptr (no device).
TALLYVANE_PLATFORM_EXPORT int GetDeviceCaps(const TDeviceContext* dc, TDeviceCap index);
/// The metrics of the device's selected font; false, metrics untouched, when dc is nullptr.
TALLYVANE_PLATFORM_EXPORT bool GetTextMetrics(TDeviceContext* dc, TTextMetric& metrics);

/// The screen's logical resolution (96 on the offscreen platform).
TALLYVANE_PLATFORM_EXPORT int ScreenPixelsPerInch();
/// The screen's device context, for measuring text on the screen; owned by the platform.
TALLYVANE_PLATFORM_EXPORT TDeviceContext* ScreenDC();
