// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A PDF file written page by page: each page's content stream is compressed
// and handed to the sink as soon as the page ends, so a long document never
// sits in memory; fonts are embedded as subsets of the glyphs used, and the
// page tree, fonts and cross-reference table follow when the document ends.
#include <QByteArray>
#include <QHash>
#include <QRawFont>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TPdfFontSubset;
struct z_stream_s;

class TPdfDocument {
 public:
  // The sink takes every byte of the file in order; it raises when it cannot.
  using Sink = std::function<void(const QByteArray&)>;
  TPdfDocument(Sink sink, const QString& title, const QString& creator);
  ~TPdfDocument();
  TPdfDocument(const TPdfDocument&) = delete;
  TPdfDocument& operator=(const TPdfDocument&) = delete;

  // A new page of the given size in points; its content is built in Content().
  void BeginPage(QSizeF points);
  QByteArray& Content() { return content_; }
  void EndPage();
  // Writes what every page refers to; nothing may be added afterwards.
  void Finish();

  // The font resource for the face of a raw font (any size), e.g. "/F1"; the
  // same face always answers the same resource.
  TPdfFontSubset& Font(const QRawFont& font);
  // What tells faces apart; empty for a face that cannot be embedded.
  static QString FaceOf(const QRawFont& font);

 private:
  int NewObject();
  void StartObject(int object);
  void Emit(const QByteArray& bytes);
  void WriteStream(int object, const QByteArray& data, bool compress, const QByteArray& extraKeys = {});
  const QByteArray& Deflated(const QByteArray& data);

  Sink sink_;
  qint64 written_ = 0;
  std::vector<qint64> offsets_;  // by object number - 1
  int pagesObject_ = 0;
  int resourcesObject_ = 0;
  int infoObject_ = 0;
  std::vector<int> pageObjects_;
  QSizeF pageSize_;
  bool pageOpen_ = false;
  QByteArray content_;
  std::vector<std::unique_ptr<TPdfFontSubset>> fonts_;
  QHash<QString, TPdfFontSubset*> fontsByFace_;
  std::unique_ptr<z_stream_s> deflater_;
  QByteArray deflated_;
  QByteArray deflatedView_;
};

// One embedded font face: the glyphs a document used, numbered in the order
// of first use (glyph 0 stays the missing glyph), written at the end as a
// TrueType subset with its widths and the characters behind its glyphs.
class TPdfFontSubset {
 public:
  TPdfFontSubset(const QRawFont& font, int number);
  const QByteArray& Resource() const { return resource_; }
  // The subset's number of a glyph of the original font.
  quint16 Glyph(quint32 original);
  // Writes the font's objects with numbers from allocate(); returns the font's object.
  int Write(const std::function<int()>& allocate, const std::function<void(int, const QByteArray&)>& object,
            const std::function<void(int, const QByteArray&, const QByteArray&)>& stream) const;
  bool Usable() const { return usable_; }

 private:
  QByteArray SubsetFont(std::vector<quint32>& glyphs) const;
  QByteArray ToUnicode(const std::vector<quint32>& glyphs) const;

  QRawFont font_;
  QByteArray resource_;
  QByteArray baseName_;
  std::vector<quint32> originals_;  // by subset number
  QHash<quint32, quint16> numbers_;
  bool usable_ = false;
};
