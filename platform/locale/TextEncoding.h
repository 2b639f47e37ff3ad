// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The character set plain-text files are written in: the user's own.
#include <QByteArray>
#include <QStringView>
#include <memory>

#include "tallyvane_platform_export.h"

// The character set of the user's locale for text, as the C library names it
// (nl_langinfo(CODESET): "UTF-8", "ISO-8859-1", ...), from LC_ALL, LC_CTYPE and
// LANG. It is read from the environment, not from the process's own LC_CTYPE,
// which Qt switches to UTF-8 at start-up. A locale that is not installed is
// taken at the character set its name gives (de_DE.ISO-8859-1); none at all,
// C and POSIX give UTF-8, the character set Qt itself then runs in.
TALLYVANE_PLATFORM_EXPORT QByteArray UserCodeset();

// Encodes text in one character set; a character the set cannot hold becomes
// '?' (one for a surrogate pair). UTF-8 and ISO-8859-1 are encoded directly,
// any other set through iconv; one iconv does not know is taken as UTF-8.
class TALLYVANE_PLATFORM_EXPORT TTextEncoder {
 public:
  explicit TTextEncoder(const QByteArray& codeset);
  ~TTextEncoder();
  TTextEncoder(const TTextEncoder&) = delete;
  TTextEncoder& operator=(const TTextEncoder&) = delete;
  // The encoded text replaces out's contents.
  void Encode(QStringView text, QByteArray& out);

 private:
  enum class Kind { Utf8, Latin1, Iconv } kind_ = Kind::Utf8;
  struct Converter;
  std::unique_ptr<Converter> converter_;
};
