// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// A drawing surface with a pen, a brush and a font. Coordinates are device pixels.
#include <QPoint>
#include <QRect>
#include <QFont>
#include <QString>
#include <vector>

#include "tallyvane_platform_export.h"
#include "Graphics.h"

class TMetafile;
class QPainter;
class TDeviceContext;

/// The rectangle from (left, top) to (right, bottom) with right and bottom excluded.
inline QRect GdiRect(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

/// A drawing surface: a recorded page (TMetafileCanvas), a printer's or the screen's
/// painter (TPainterCanvas). Coordinates are the device's pixels.
class TALLYVANE_PLATFORM_EXPORT TCanvas {
 public:
  virtual ~TCanvas() = default;
  /// The font text is drawn in.
  TFont& Font() { return font_; }
  /// The pen of lines and outlines.
  TPen& Pen() { return pen_; }
  /// The brush of fills and text backgrounds.
  TBrush& Brush() { return brush_; }

  /// Text with its top-left corner at (x, y); the background box follows the brush style.
  virtual void TextOut(int x, int y, const QString& text) = 0;
  /// Width of the text in the current font, in device pixels.
  virtual int TextWidth(const QString& text) = 0;
  /// Height of the text in the current font, in device pixels.
  virtual int TextHeight(const QString& text) = 0;
  /// Moves the pen to (x, y) without drawing.
  void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
  /// Draws a line with the pen from the pen position to (x, y), which becomes the pen position.
  void LineTo(int x, int y);
  /// Where the pen stands.
  QPoint PenPos() const { return penPos_; }
  /// Connected lines through the points, with the pen.
  virtual void Polyline(const std::vector<QPoint>& points) = 0;
  /// Outline with the pen, inside filled with the brush. The figure covers the pixels
  /// r.x() .. r.x()+r.width()-1 and r.y() .. r.y()+r.height()-1, so a rectangle given as
  /// (left, top, right, bottom) with right and bottom excluded is GdiRect(l, t, r, b).
  virtual void Rectangle(const QRect& r) = 0;
  /// Fills the same pixels as Rectangle with the brush only (nothing with a bsClear brush).
  virtual void FillRect(const QRect& r) = 0;
  /// Plays a recorded page at its own size with its origin at (x, y).
  virtual void Draw(int x, int y, const TMetafile& page) = 0;
  /// Plays a recorded page scaled into r.
  virtual void StretchDraw(const QRect& r, const TMetafile& page) = 0;

 protected:
  TFont font_;     ///< the Font
  TPen pen_;       ///< the Pen
  TBrush brush_;   ///< the Brush
  QPoint penPos_;  ///< the PenPos
};

/// A canvas over a QPainter; text is measured on the painter's device unless a
/// reference device context is given.
class TALLYVANE_PLATFORM_EXPORT TPainterCanvas : public TCanvas {
 public:
  /// Draws with the painter (not owned); measures on the reference device when one is given.
  explicit TPainterCanvas(QPainter* painter, TDeviceContext* reference = nullptr);
  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Polyline(const std::vector<QPoint>& points) override;
  void Rectangle(const QRect& r) override;
  void FillRect(const QRect& r) override;
  void Draw(int x, int y, const TMetafile& page) override;
  void StretchDraw(const QRect& r, const TMetafile& page) override;
  /// The painter drawn with.
  QPainter* Painter() const { return painter_; }
  /// For a caller that saves the painter before drawing and restores it after:
  /// text then leaves its font and pen set on the painter, and the next text in
  /// the same font and colour sets neither again.
  void LeaveTextStateSet() { leaveTextState_ = true; }

 private:
  // The QFont of the current TFont, rebuilt only when the font changes.
  const QFont& RealizedFont();
  QPainter* painter_;
  TDeviceContext* reference_;
  TFont realizedFrom_;
  QFont realized_;
  int realizedAscent_ = 0;
  bool realizedValid_ = false;
  bool leaveTextState_ = false;
  int realizedVersion_ = 0;  // counts rebuilds of realized_
  int appliedVersion_ = -1;  // the rebuild last set on the painter
  QColor appliedColor_;
};
