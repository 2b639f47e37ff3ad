// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PdfDocument.h"

#include <QDateTime>
#include <zlib.h>

namespace {

QByteArray Number(qreal value) {
  // Three decimals are far below what a printer can place (1/24000 inch at 72 units).
  return QByteArray::number(value, 'f', 3);
}

// A text string in UTF-16 with its byte order mark, hex-encoded so no character needs escaping.
QByteArray TextString(const QString& text) {
  QByteArray hex = "<FEFF";
  for (QChar c : text) hex += QByteArray::number(c.unicode() + 0x10000, 16).mid(1).toUpper();
  return hex + '>';
}

}  // namespace

TPdfDocument::TPdfDocument(Sink sink, const QString& title, const QString& creator) : sink_(std::move(sink)) {
  // The marker line's high bytes tell transfer programs the file is binary.
  Emit("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  infoObject_ = NewObject();
  const int catalog = NewObject();
  pagesObject_ = NewObject();
  resourcesObject_ = NewObject();
  StartObject(infoObject_);
  const QByteArray now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
  Emit("<<\n/Title " + TextString(title) + "\n/Creator " + TextString(creator) + "\n/Producer " +
       TextString(creator) + "\n/CreationDate (D:" + now + "Z)\n>>\nendobj\n");
  StartObject(catalog);
  Emit("<<\n/Type /Catalog\n/Pages " + QByteArray::number(pagesObject_) + " 0 R\n>>\nendobj\n");
}

TPdfDocument::~TPdfDocument() {
  if (deflater_) deflateEnd(deflater_.get());
}

// One deflater and one output buffer for the whole document: a page's stream
// then costs no allocation. Level 1: content streams are long runs of similar
// operators, which the fastest level already shrinks to within a few per cent
// of the default one, at a fraction of the time.
const QByteArray& TPdfDocument::Deflated(const QByteArray& data) {
  if (!deflater_) {
    deflater_ = std::make_unique<z_stream>();
    if (deflateInit(deflater_.get(), 1) != Z_OK) {
      deflater_.reset();
      throw std::bad_alloc();
    }
  } else {
    deflateReset(deflater_.get());
  }
  z_stream& z = *deflater_;
  const auto bound = qsizetype(deflateBound(&z, uLong(data.size())));
  if (deflated_.size() < bound) deflated_.resize(bound);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(deflated_.data());
  z.avail_out = uInt(deflated_.size());
  deflate(&z, Z_FINISH);  // the output has room for all of it: one call finishes
  deflatedView_ = QByteArray::fromRawData(deflated_.constData(), qsizetype(z.total_out));
  return deflatedView_;
}

int TPdfDocument::NewObject() {
  offsets_.push_back(-1);
  return int(offsets_.size());
}

void TPdfDocument::StartObject(int object) {
  offsets_[size_t(object - 1)] = written_;
  Emit(QByteArray::number(object) + " 0 obj\n");
}

void TPdfDocument::Emit(const QByteArray& bytes) {
  sink_(bytes);
  written_ += bytes.size();
}

void TPdfDocument::WriteStream(int object, const QByteArray& data, bool compress, const QByteArray& extraKeys) {
  const QByteArray& body = compress ? Deflated(data) : data;
  StartObject(object);
  Emit("<<\n/Length " + QByteArray::number(body.size()) + (compress ? "\n/Filter /FlateDecode" : "") + extraKeys +
       "\n>>\nstream\n");
  Emit(body);
  Emit("\nendstream\nendobj\n");
}

void TPdfDocument::BeginPage(QSizeF points) {
  if (pageOpen_) EndPage();
  pageSize_ = points;
  pageOpen_ = true;
  content_.resize(0);  // keeps the room the pages before needed
}

void TPdfDocument::EndPage() {
  if (!pageOpen_) return;
  pageOpen_ = false;
  const int page = NewObject();
  const int contents = NewObject();
  pageObjects_.push_back(page);
  StartObject(page);
  Emit("<<\n/Type /Page\n/Parent " + QByteArray::number(pagesObject_) + " 0 R\n/Contents " +
       QByteArray::number(contents) + " 0 R\n/Resources " + QByteArray::number(resourcesObject_) +
       " 0 R\n/MediaBox [0 0 " + Number(pageSize_.width()) + ' ' + Number(pageSize_.height()) + "]\n>>\nendobj\n");
  WriteStream(contents, content_, true);
  content_.resize(0);
}

QString TPdfDocument::FaceOf(const QRawFont& font) {
  // Qt's stand-in for characters no face has answers no family (asking it
  // crashes) and has no tables: all such faces are one face without a name.
  if (!font.isValid() || font.fontTable("head").isEmpty()) return {};
  return font.familyName() + QLatin1Char('\n') + font.styleName() + QLatin1Char('\n') +
         QString::number(font.weight()) + QLatin1Char('\n') + QString::number(int(font.style()));
}

TPdfFontSubset& TPdfDocument::Font(const QRawFont& font) {
  const QString face = FaceOf(font);
  if (TPdfFontSubset* known = fontsByFace_.value(face)) return *known;
  fonts_.push_back(std::make_unique<TPdfFontSubset>(font, int(fonts_.size()) + 1));
  fontsByFace_.insert(face, fonts_.back().get());
  return *fonts_.back();
}

void TPdfDocument::Finish() {
  EndPage();
  QByteArray fontDictionary;
  for (const auto& font : fonts_) {
    if (!font->Usable()) continue;  // its glyphs were drawn as outlines
    const int object = font->Write([this] { return NewObject(); },
                                   [this](int number, const QByteArray& body) {
                                     StartObject(number);
                                     Emit(body + "\nendobj\n");
                                   },
                                   [this](int number, const QByteArray& data, const QByteArray& keys) {
                                     WriteStream(number, data, true, keys);
                                   });
    fontDictionary += font->Resource() + ' ' + QByteArray::number(object) + " 0 R\n";
  }
  StartObject(resourcesObject_);
  Emit("<<\n/ProcSet [/PDF /Text]\n/Font <<\n" + fontDictionary + ">>\n>>\nendobj\n");
  StartObject(pagesObject_);
  QByteArray kids;
  kids.reserve(qsizetype(pageObjects_.size()) * 10);
  for (int page : pageObjects_) kids += QByteArray::number(page) + " 0 R\n";
  Emit("<<\n/Type /Pages\n/Kids [\n" + kids + "]\n/Count " + QByteArray::number(qsizetype(pageObjects_.size())) +
       "\n>>\nendobj\n");
  const qint64 xref = written_;
  QByteArray table = "xref\n0 " + QByteArray::number(qsizetype(offsets_.size()) + 1) + "\n0000000000 65535 f \n";
  table.reserve(table.size() + qsizetype(offsets_.size()) * 20);
  for (qint64 offset : offsets_) table += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
  Emit(table);
  Emit("trailer\n<<\n/Size " + QByteArray::number(qsizetype(offsets_.size()) + 1) + "\n/Info " +
       QByteArray::number(infoObject_) + " 0 R\n/Root 2 0 R\n>>\nstartxref\n" + QByteArray::number(xref) +
       "\n%%EOF\n");
}
