// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The preview widget inside the page printer's scroll area: it shows the
/// current page as a sheet of paper at the zoom, works out the scroll ranges and
/// paints. The component keeps the published face (its methods forward here)
/// and the settings; the widget reads them from it.
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

#include "Graphics.h"
#include "PagePrnt.h"

class QPainter;
class QPaintEvent;
class TCanvas;

/// The page printer's preview surface, the content of its scroll area (TPagePrinter::PreviewBox).
/// Callers use the TPagePrinter methods of the same names, which forward here.
class TALLYVANE_PAGEPRINTER_EXPORT TPreviewBox : public QWidget {
  Q_OBJECT
 public:
  /// Makes itself the scroll area content of its component, which makes one itself.
  explicit TPreviewBox(TPagePrinter* owner);
  /// What a paint request runs: the component's (virtual) PaintPreview.
  std::function<void(QPainter&)> OnPaint;

  /// See TPagePrinter::UnitsToScreen.
  int UnitsToScreen(bool horizontal, double value) const;
  /// See TPagePrinter::UnitsToZoomedScreen.
  int UnitsToZoomedScreen(bool horizontal, double value) const;
  /// See TPagePrinter::PrinterScreenRatio.
  double PrinterScreenRatio(bool horizontal) const;
  /// See TPagePrinter::PageExtentOnScreen.
  int PageExtentOnScreen(bool horizontal) const;
  /// Sets both ranges and, by the zoom location, the component's scroll positions.
  void UpdateScrollRanges();
  /// The sheet, its shadow, the page and the margins over the background.
  void PaintSheet(QPainter& painter);
  /// See TPagePrinter::GradientFill.
  static void GradientFill(TCanvas& canvas, QRect rect, TColor startColor, TColor endColor, bool vertical);

 protected:
  void paintEvent(QPaintEvent* event) override;  ///< Runs OnPaint; a failure waits for the next paint.

 private:
  void ApplyScrollRanges();
  TPagePrinter* owner_;
  TPagePrinter::Private* d_;  // the component's state
};
