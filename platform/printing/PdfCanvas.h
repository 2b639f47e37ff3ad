// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A canvas drawing on a PDF page: device pixels in, paths and glyphs out.
// Qt lays every text out (the faces it picks, its glyphs and their places);
// the page gets the glyphs with the text and its clusters, so a reader
// extracts what the page shows. Texts of digits, signs and blanks (the bulk of a
// schedule) come from per-font glyph tables; any other text is laid out once
// and kept. Consecutive texts in one face and colour go out in one call.
#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QPointF>
#include <memory>
#include <vector>

#include "Canvas.h"
#include "PdfFaces.h"
#include "PdfWriter.h"

class PdfCanvas : public TCanvas {
 public:
  PdfCanvas(PdfWriter& writer, TDeviceContext* reference);
  ~PdfCanvas() override;
  // Starts a page: device pixels at dpi, (0, 0) at origin (in points from the sheet's top-left).
  void BeginPage(QPointF origin, int dpi);
  // Draws the texts still held back; before the page ends.
  void Flush();

  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Polyline(const std::vector<QPoint>& points) override;
  void Rectangle(const QRect& r) override;
  void FillRect(const QRect& r) override;
  void Draw(int x, int y, const TMetafile& page) override;
  void StretchDraw(const QRect& r, const TMetafile& page) override;

 private:
  // Glyphs of one face with the text behind them; positions from the text's top-left.
  struct Run {
    const PdfFaceRef* face = nullptr;
    std::vector<PdfGlyph> glyphs;
    QByteArray utf8;
    std::vector<PdfCluster> clusters;
  };
  struct Layout {
    std::vector<Run> runs;
    double width = 0;
  };
  // A character drawn as one glyph of one face, whatever surrounds it.
  struct Simple {
    const PdfFaceRef* face = nullptr;  // null: the character needs a full layout
    unsigned long glyph = 0;
    double advance = 0;
    bool known = false;
  };
  struct TextFont;

  TextFont& Realized(const TFont& wanted);
  const Simple& SimpleGlyph(TextFont& font, char16_t c);
  bool SimpleRun(TextFont& font, const QString& text, double x, double y, double& width);
  const Layout& LaidOut(TextFont& font, const QString& text);
  void Text(const TFont& font, const TBrush& brush, int x, int y, const QString& text);
  void Append(const Run& run, double x, double y);
  void Hold(const PdfFaceRef* face, unsigned long glyph, double x, double y, const char* utf8, int bytes);
  void Lines(const TPen& pen, const std::vector<QPoint>& points);
  void Box(const TPen& pen, const TBrush& brush, const QRect& r);
  void Fill(const TBrush& brush, const QRect& r);
  void Decorate(const TextFont& font, double x, double y, double width);
  void SetColor(QRgb rgb);
  double SetPen(const TPen& pen);
  void Play(const QRect& dest, const TMetafile& page);

  PdfWriter& writer_;
  TDeviceContext* reference_;
  PdfFaceCache faces_;
  std::vector<std::unique_ptr<TextFont>> fonts_;  // most recent first
  double scale_ = 1.0;                            // device pixels per unit of the current frame
  // What the texts held back draw with, and their glyphs and text.
  const PdfFaceRef* heldFace_ = nullptr;
  QRgb heldColor_ = 0;
  std::vector<PdfGlyph> heldGlyphs_;
  QByteArray heldText_;
  std::vector<PdfCluster> heldClusters_;
  // The colour last set on the page.
  QRgb setColor_ = 0;
  bool colorKnown_ = false;
};
