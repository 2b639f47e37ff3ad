// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A canvas that writes PDF page content directly: device pixels in, PDF
// operators out, glyphs from the fonts Qt chooses for the same text. Texts
// made of digits, signs and blanks (the bulk of a schedule) are drawn from
// per-font glyph tables; any other text is laid out by Qt once and kept.
#include <QFont>
#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QSizeF>
#include <memory>
#include <vector>

#include "Canvas.h"

class TPdfDocument;
class TPdfFontSubset;

class TPdfCanvas : public TCanvas {
 public:
  TPdfCanvas(TPdfDocument* document, TDeviceContext* reference);
  ~TPdfCanvas() override;
  // Starts a page of the given size; device pixels at dpi, (0, 0) at origin (in points from the top-left).
  void BeginPage(QSizeF page, QPointF origin, int dpi);

  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Polyline(const std::vector<QPoint>& points) override;
  void Rectangle(const QRect& r) override;
  void FillRect(const QRect& r) override;
  void Draw(int x, int y, const TMetafile& page) override;
  void StretchDraw(const QRect& r, const TMetafile& page) override;

 private:
  struct Glyph {
    TPdfFontSubset* font = nullptr;  // null: drawn as an outline (a face that cannot be embedded)
    quint32 original = 0;            // the glyph in its own face
    quint16 number = 0;              // the glyph in the document's subset
    QPointF position;                // from the text's origin on the baseline
    QRawFont* raw = nullptr;         // the face, for outlines
  };
  struct Layout {
    std::vector<Glyph> glyphs;
    qreal width = 0;  // Qt's advance of the whole text
  };
  struct TextFont;
  // What the last operators set, so the next ones only say what changed.
  struct State {
    QRgb fill = 0;
    QRgb stroke = 0;
    qreal lineWidth = -1;
    int dash = -1;
    bool fillKnown = false;
    bool strokeKnown = false;
  };

  TextFont& Realized(const TFont& wanted);
  void Text(const TFont& font, const TBrush& brush, int x, int y, const QString& text);
  void Lines(const TPen& pen, const std::vector<QPoint>& points);
  void Box(const TPen& pen, const TBrush& brush, const QRect& r);
  void Fill(const TBrush& brush, const QRect& r);
  const Layout& LaidOut(TextFont& font, const QString& text);
  quint16 SimpleGlyph(TextFont& font, QChar ch);
  // Appends the text's glyph operators; false (with part of them appended) when it needs a full layout.
  bool SimpleRun(TextFont& font, const QString& text, qreal ascent, QByteArray& out, qreal& width);
  void DrawText(TextFont& font, const QString& text);
  void Decorate(const TextFont& font, qreal width);
  void SetFill(QColor color);
  void SetStroke(const TPen& pen);
  void FillBox(qreal x, qreal y, qreal w, qreal h);
  void Play(const QRect& r, const TMetafile& page);

  TPdfDocument* document_;
  TDeviceContext* reference_;
  std::vector<std::unique_ptr<TextFont>> fonts_;  // most recent first
  State state_;
  qreal scale_ = 1.0;  // device pixels per unit of the current frame
};
