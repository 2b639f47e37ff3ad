// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "TextEncoding.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <cerrno>
#include <cstdint>
#include <QtEndian>
#include <locale.h>
#include <iconv.h>
#include <langinfo.h>
#include <vector>

namespace {

// "UTF-8", "utf8" and "UTF8" are one set; so are "ISO-8859-1" and "iso88591".
QByteArray Normalized(const QByteArray& codeset) {
  QByteArray out;
  for (const char c : codeset)
    if (c != '-' && c != '_') out += char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return out;
}

// The locale name the C library takes for LC_CTYPE.
QByteArray LocaleName() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    QByteArray value = qgetenv(variable);
    if (!value.isEmpty()) return value;
  }
  return QByteArray();
}

// The character set part of a locale name: "de_DE.ISO-8859-1@euro" gives ISO-8859-1.
QByteArray CodesetOfName(const QByteArray& name) {
  const qsizetype dot = name.indexOf('.');
  if (dot < 0) return QByteArray();
  QByteArray codeset = name.mid(dot + 1);
  const qsizetype at = codeset.indexOf('@');
  if (at >= 0) codeset.truncate(at);
  return codeset;
}

bool IsUtf8OrAscii(const QByteArray& codeset) {
  const QByteArray n = Normalized(codeset);
  return n.isEmpty() || n == "UTF8" || n == "ANSIX3.41968" || n == "ASCII" || n == "USASCII";
}

}  // namespace

QByteArray UserCodeset() {
  QByteArray codeset;
  if (locale_t user = newlocale(LC_CTYPE_MASK, "", locale_t(nullptr))) {
    codeset = nl_langinfo_l(CODESET, user);
    freelocale(user);
  } else {
    codeset = CodesetOfName(LocaleName());
  }
  return IsUtf8OrAscii(codeset) ? QByteArrayLiteral("UTF-8") : codeset;
}

struct TTextEncoder::Converter {
  iconv_t cd = nullptr;
  std::vector<char32_t> units;
};

TTextEncoder::TTextEncoder(const QByteArray& codeset) {
  const QByteArray n = Normalized(codeset);
  if (IsUtf8OrAscii(codeset)) return;
  if (n == "ISO88591" || n == "LATIN1") {
    kind_ = Kind::Latin1;
    return;
  }
  // Fixed-width input, so a character iconv refuses is skipped by one unit.
  iconv_t cd = iconv_open(codeset.constData(), "UTF-32LE");
  // iconv_open reports failure as (iconv_t)-1.
  if (reinterpret_cast<std::intptr_t>(cd) == -1) return;
  converter_ = std::make_unique<Converter>();
  converter_->cd = cd;
  kind_ = Kind::Iconv;
}

TTextEncoder::~TTextEncoder() {
  if (converter_) iconv_close(converter_->cd);
}

void TTextEncoder::Encode(QStringView text, QByteArray& out) {
  out.clear();
  if (kind_ == Kind::Utf8) {
    out = text.toUtf8();
    return;
  }
  if (kind_ == Kind::Latin1) {
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t unit = text[i].unicode();
      if (unit <= 0xFF) {
        out += char(unit);
      } else {
        out += '?';
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
      }
    }
    return;
  }
  std::vector<char32_t>& units = converter_->units;
  units.clear();
  for (const uint c : text.toUcs4()) units.push_back(qToLittleEndian(char32_t(c)));
  char* in = reinterpret_cast<char*>(units.data());
  size_t inLeft = units.size() * sizeof(char32_t);
  out.resize(qsizetype(units.size()) * 2 + 16);
  char* put = out.data();
  size_t outLeft = size_t(out.size());
  const auto grow = [&] {
    const qsizetype used = put - out.data();
    out.resize(out.size() * 2);
    put = out.data() + used;
    outLeft = size_t(out.size() - used);
  };
  iconv(converter_->cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(converter_->cd, &in, &inLeft, &put, &outLeft) != size_t(-1)) break;
    if (errno == E2BIG) {
      grow();
      continue;
    }
    // A character the set cannot hold: '?' in its place.
    if (outLeft == 0) grow();
    *put++ = '?';
    --outLeft;
    in += sizeof(char32_t);
    inLeft -= sizeof(char32_t);
  }
  // The closing bytes of a set with shift states (ISO-2022-JP).
  while (iconv(converter_->cd, nullptr, nullptr, &put, &outLeft) == size_t(-1) && errno == E2BIG) grow();
  out.resize(put - out.data());
}
