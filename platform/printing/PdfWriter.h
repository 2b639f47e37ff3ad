// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A PDF file written as it is made: each page's content goes to the sink when
// the page ends, and the fonts, the page tree and the cross-reference table
// when the document is complete. Page content is in points with (0, 0) at the
// sheet's top-left and y growing down, as on every other device.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class PdfFontSet;
struct PdfFontFace;

// A glyph of a face at a position of the current frame.
struct PdfGlyph {
  unsigned long index = 0;
  double x = 0;
  double y = 0;
};
// Bytes of text and the glyphs drawn for them, in order.
struct PdfCluster {
  int bytes = 0;
  int glyphs = 0;
};

class PdfWriter {
 public:
  // Takes every byte of the file in order; what it raises goes back to the caller.
  using Sink = std::function<void(const char* data, size_t size)>;
  PdfWriter(Sink sink, const QString& title, const QString& creator);
  ~PdfWriter();
  PdfWriter(const PdfWriter&) = delete;
  PdfWriter& operator=(const PdfWriter&) = delete;

  PdfFontSet& Fonts() { return *fonts_; }

  void BeginPage(double widthPoints, double heightPoints);
  void EndPage();
  // The fonts, the page tree and the cross references; nothing may follow.
  void Finish();

  // The page's drawing, in the operators' own terms.
  void Save();
  void Restore();
  void Transform(double a, double b, double c, double d, double e, double f);
  void SetColor(double r, double g, double b);
  void SetLineWidth(double width);
  void SetDash(const double* dashes, int count);
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void Rect(double x, double y, double w, double h);
  void Stroke();
  void Fill();
  // Glyphs of one face, the text behind them and how they pair up. size is the
  // em in units of the frame; oblique slants a face without an italic and
  // embolden strokes a face without a bold round its outline.
  void ShowGlyphs(PdfFontFace& face, double size, bool oblique, bool embolden, const PdfGlyph* glyphs, int count,
                  const char* utf8, int bytes, const PdfCluster* clusters, int clusterCount);

  // For the fonts: objects of their own, written now or when reserved.
  int Reserve();
  void WriteObject(int id, const QByteArray& body);
  void WriteStream(int id, QByteArray dictionary, const QByteArray& data, bool compress);

 private:
  void Write(const QByteArray& bytes);
  void Number(double v);
  void FlushText();
  // Texts in a row share one text object; anything else ends it.
  void EndText();

  Sink sink_;
  qint64 offset_ = 0;
  std::vector<qint64> offsets_;  // by object number, from 1
  std::vector<int> pages_;
  std::unique_ptr<PdfFontSet> fonts_;
  QByteArray content_;
  QByteArray title_;
  QByteArray creator_;
  double pageWidth_ = 0;
  double pageHeight_ = 0;
  bool inPage_ = false;
  // The text object open: its font, its matrix's size and slant, its line
  // and where the last glyph's advance left the pen; and the text array being
  // built, its glyph codes and spacing.
  bool inText_ = false;
  bool stroking_ = false;
  bool placed_ = false;
  int font_ = -1;
  double textSize_ = 0;
  bool textOblique_ = false;
  double lineY_ = 0;
  double pen_ = 0;
  QByteArray array_;
};

// How a number is written in a content stream: at most three decimals, no exponent.
void AppendPdfNumber(QByteArray& out, double v);
// A code of bytes bytes in hexadecimal, as character codes are written.
void AppendPdfHex(QByteArray& out, unsigned code, int bytes);
// A text string as UTF-16BE in hexadecimal, with its byte-order mark.
QByteArray PdfTextString(const QString& text);
