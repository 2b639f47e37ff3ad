// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// A recorded page: plain data, a list of drawing operations in the pixels of
/// the reference device it was recorded against. One paint path plays it onto
/// any QPainter (printer, PDF, preview, image), 1:1 or stretched.
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "tallyvane_platform_export.h"
#include "Canvas.h"

class QPainter;

/// One recorded drawing operation; which fields count depends on its kind.
struct TALLYVANE_PLATFORM_EXPORT TMetaOp {
  /// The operation (the TCanvas call it records).
  enum Kind {
    Text,                             ///< TCanvas::TextOut
    Polyline,                         ///< TCanvas::Polyline (and LineTo)
    Rectangle,                        ///< TCanvas::Rectangle
    FillRect                          ///< TCanvas::FillRect
  } kind = Text;                      ///< what this operation draws
  QString text;                       ///< Text
  QPoint origin;                      ///< Text: top-left of the text
  std::vector<QPoint> points;         ///< Polyline
  QRect rect;                         ///< Rectangle, FillRect (pixels as TCanvas::Rectangle)
  std::shared_ptr<const TFont> font;  ///< Text; shared between operations with the same font
  TPen pen;                           ///< Polyline, Rectangle
  TBrush brush;                       ///< Text background, Rectangle, FillRect
};

/// A recorded page: its size and its drawing operations, in the reference device's pixels.
class TALLYVANE_PLATFORM_EXPORT TMetafile {
 public:
  /// The page's width in the reference device's pixels.
  int Width() const { return width_; }
  /// The page's height in the reference device's pixels.
  int Height() const { return height_; }
  /// Sets the Width.
  void SetWidth(int w) { width_ = w; }
  /// Sets the Height.
  void SetHeight(int h) { height_ = h; }
  /// The operations in recording order.
  const std::vector<TMetaOp>& Operations() const { return ops_; }
  std::vector<TMetaOp>& Operations() { return ops_; }  ///< The operations, to change them.
  /// Plays the page so that its (0, 0)..(Width, Height) lands on dest.
  void Play(QPainter& painter, const QRect& dest) const;
  /// Convenience for tests: all text operations in recording order.
  std::vector<const TMetaOp*> TextOperations() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<TMetaOp> ops_;
};

/// Records into a metafile; measures text on the reference device, the screen
/// when no reference is given. Freeing the canvas ends the recording.
class TALLYVANE_PLATFORM_EXPORT TMetafileCanvas : public TCanvas {
 public:
  /// Records into page (not owned), measuring on reference (the screen when nullptr).
  TMetafileCanvas(TMetafile* page, TDeviceContext* reference);
  /// Ends the recording.
  ~TMetafileCanvas() override;
  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Polyline(const std::vector<QPoint>& points) override;
  void Rectangle(const QRect& r) override;
  void FillRect(const QRect& r) override;
  void Draw(int x, int y, const TMetafile& page) override;
  void StretchDraw(const QRect& r, const TMetafile& page) override;
  /// The device text is measured on, as given.
  TDeviceContext* Reference() const { return reference_; }

 private:
  std::shared_ptr<const TFont> CurrentFont();
  TMetafile* page_;
  TDeviceContext* reference_;
  std::shared_ptr<const TFont> lastFont_;
};
