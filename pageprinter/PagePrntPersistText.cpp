// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Text forms shared by the stored descriptions: colours, fonts, quoted strings,
// lists and numbers.
#include "PagePrntPersistText.h"

#include <QLocale>
#include <QStringList>

#include "Conversions.h"
#include "Device.h"
#include "PagePrnt.h"
#include "PagePrntInternals.h"
#include "PagePrntPrivate.h"
#include "PagePrntPersist.h"

namespace pageprinter_detail {

// ---------------------------------------------------------------------------
// Colours and fonts as text

struct NamedColor {
  const char* name;
  TColor value;
};
// The sixteen standard colours, then the system colours; a value is written
// by its first name, so the aliases of grey and silver come last.
constexpr NamedColor kColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clNone", clNone},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clWindow", clWindow},
    {"clWindowText", clWindowText},
    {"clHighlight", clHighlight},
    {"clLtGray", clSilver},
    {"clDkGray", clGray},
};

QString ColorToText(TColor c) {
  for (const NamedColor& n : kColorNames)
    if (n.value == c) return QString::fromLatin1(n.name);
  return QStringLiteral("0x%1").arg(c, 8, 16, QChar('0')).toUpper().replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

std::optional<TColor> TextToColor(const QString& text) {
  const QString t = text.trimmed();
  for (const NamedColor& n : kColorNames)
    if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) return n.value;
  bool ok = false;
  uint value = 0;
  if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    value = t.mid(2).toUInt(&ok, 16);
  else if (t.startsWith(QChar('$')))
    value = t.mid(1).toUInt(&ok, 16);
  else
    value = t.toUInt(&ok, 10);
  if (!ok) return std::nullopt;
  return TColor(value);
}

struct NamedStyle {
  const char* name;
  TFontStyle bit;
};
constexpr NamedStyle kStyleNames[] = {
    {"bold", fsBold}, {"italic", fsItalic}, {"underline", fsUnderline}, {"strikeout", fsStrikeOut}};

// ---------------------------------------------------------------------------
// Values of a description line

QString Quote(const QString& s) {
  QString out = QStringLiteral("\"");
  for (const QChar ch : s) {
    switch (ch.unicode()) {
      case '"': out += QStringLiteral("\\\""); break;
      case '\\': out += QStringLiteral("\\\\"); break;
      case '\n': out += QStringLiteral("\\n"); break;
      case '\r': out += QStringLiteral("\\r"); break;
      case '\t': out += QStringLiteral("\\t"); break;
      default:
        if (ch.unicode() < 32)
          out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QChar('0'));
        else
          out += ch;
    }
  }
  out += QChar('"');
  return out;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<QString> Unquote(const QString& text, qsizetype& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  QString out;
  ++pos;
  while (pos < text.size()) {
    const QChar ch = text[pos++];
    if (ch == '"') return out;
    if (ch != '\\') {
      out += ch;
      continue;
    }
    if (pos >= text.size()) return std::nullopt;
    const QChar e = text[pos++];
    switch (e.unicode()) {
      case '"': out += QChar('"'); break;
      case '\\': out += QChar('\\'); break;
      case 'n': out += QChar('\n'); break;
      case 'r': out += QChar('\r'); break;
      case 't': out += QChar('\t'); break;
      case 'x': {
        if (pos + 2 > text.size()) return std::nullopt;
        bool ok = false;
        const uint code = text.mid(pos, 2).toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        out += QChar(char16_t(code));
        pos += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return std::nullopt;  // no closing quote
}

void SkipBlanks(const QString& text, qsizetype& pos) {
  while (pos < text.size() && text[pos].isSpace()) ++pos;
}

std::optional<QString> ParseString(const QString& value) {
  qsizetype pos = 0;
  SkipBlanks(value, pos);
  auto s = Unquote(value, pos);
  if (!s) return std::nullopt;
  SkipBlanks(value, pos);
  if (pos != value.size()) return std::nullopt;
  return s;
}

// "[a, b]" with quoted strings (Lines) or bare names (sets).
std::optional<QStringList> ParseList(const QString& value, bool quoted) {
  qsizetype pos = 0;
  SkipBlanks(value, pos);
  if (pos >= value.size() || value[pos] != '[') return std::nullopt;
  ++pos;
  QStringList items;
  SkipBlanks(value, pos);
  if (pos < value.size() && value[pos] == ']') {
    ++pos;
  } else {
    for (;;) {
      SkipBlanks(value, pos);
      if (quoted) {
        auto s = Unquote(value, pos);
        if (!s) return std::nullopt;
        items.append(*s);
      } else {
        const qsizetype start = pos;
        while (pos < value.size() && (value[pos].isLetterOrNumber() || value[pos] == '_')) ++pos;
        if (pos == start) return std::nullopt;
        items.append(value.mid(start, pos - start));
      }
      SkipBlanks(value, pos);
      if (pos >= value.size()) return std::nullopt;
      if (value[pos] == ']') {
        ++pos;
        break;
      }
      if (value[pos] != ',') return std::nullopt;
      ++pos;
    }
  }
  SkipBlanks(value, pos);
  if (pos != value.size()) return std::nullopt;
  return items;
}

QString DoubleToText(double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); }

std::optional<double> TextToDouble(const QString& text) {
  bool ok = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace pageprinter_detail

using namespace pageprinter_detail;

// ---------------------------------------------------------------------------
// Fonts as text

QString FontToText(const TFont& font) {
  QStringList styles;
  for (const NamedStyle& s : kStyleNames)
    if (font.Style() & s.bit) styles.append(QString::fromLatin1(s.name));
  const QString style = styles.isEmpty() ? QStringLiteral("regular") : styles.join(QChar('+'));
  return QStringLiteral("%1,%2,%3,%4").arg(font.Name()).arg(font.Height()).arg(style, ColorToText(font.Color()));
}

bool TextToFont(const QString& text, TFont& font) {
  const QStringList parts = text.split(QChar(','));
  if (parts.size() < 2 || parts.size() > 4) return false;
  TFont result;
  result.Assign(font);
  const QString name = parts[0].trimmed();
  if (name.isEmpty()) return false;
  result.SetName(name);

  const QString height = parts[1].trimmed();
  bool ok = false;
  if (height.endsWith(QLatin1String("pt"), Qt::CaseInsensitive)) {
    const int points = height.chopped(2).trimmed().toInt(&ok);
    if (!ok || points <= 0 || points > 1638) return false;
    result.SetSize(points);
  } else {
    const int pixels = height.toInt(&ok);
    if (!ok || pixels == 0 || pixels < -32767 || pixels > 32767) return false;
    result.SetHeight(pixels);
  }

  TFontStyles style = 0;
  if (parts.size() >= 3) {
    const QString styleText = parts[2].trimmed();
    if (!styleText.isEmpty() && styleText.compare(QLatin1String("regular"), Qt::CaseInsensitive) != 0) {
      for (const QString& word : styleText.split(QChar('+'))) {
        bool found = false;
        for (const NamedStyle& s : kStyleNames) {
          if (word.trimmed().compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) {
            style |= s.bit;
            found = true;
          }
        }
        if (!found) return false;
      }
    }
  }
  result.SetStyle(style);

  if (parts.size() == 4) {
    const auto color = TextToColor(parts[3]);
    if (!color) return false;
    result.SetColor(*color);
  }
  font.Assign(result);
  return true;
}

QString TPagePrinter::BodyFontText() const { return FontToText(d_->doc().Font()); }
QString TPagePrinter::HeaderFontText() const { return FontToText(d_->doc().HeaderFont()); }
QString TPagePrinter::FooterFontText() const { return FontToText(d_->doc().FooterFont()); }

namespace {
void ApplyFontText(TFont& target, const QString& text) {
  TFont parsed;
  parsed.Assign(target);
  if (!TextToFont(text, parsed)) throw EConvertError(QStringLiteral("'%1' is not a valid font description").arg(text));
  target.Assign(parsed);
}
}  // namespace

void TPagePrinter::SetBodyFontText(const QString& text) { ApplyFontText(d_->doc().Font(), text); }
void TPagePrinter::SetHeaderFontText(const QString& text) { ApplyFontText(d_->doc().HeaderFont(), text); }
void TPagePrinter::SetFooterFontText(const QString& text) { ApplyFontText(d_->doc().FooterFont(), text); }

QString StoredFormatText(const TPagePrinter& component, const QString& format) {
  FormatSettings stored;
  stored.decimalSeparator = QChar('.');
  stored.thousandSeparator = QChar(',');
  return DocumentOf(component).NormalizeFormatWith(format, false, FormatSettings::Current(), stored);
}
