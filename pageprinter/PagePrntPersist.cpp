// Stored descriptions of the page printer: writing and reading.
#include "PagePrntPersist.h"

#include <QMetaEnum>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <optional>

#include "Conversions.h"
#include "Device.h"

#include "PagePrnt.h"
#include "PagePrntPrivate.h"
#include "PagePrntPersistText.h"

namespace {

using namespace pageprinter_detail;

// ---------------------------------------------------------------------------
// The published properties in their published order

enum class Kind { Bool, Enum, UInt, Color, Double, String, Format, Char, Lines, Font, Orientation, Borders, Visible };

enum class Condition { Always, FriendlyHeaderEmpty, FriendlyFooterEmpty, AutoHeaderFontOff, AutoFooterFontOff };

struct Entry {
  const char* name;      // name in the description
  const char* property;  // the Q_PROPERTY behind it
  Kind kind;
  uint defaultValue;     // Bool, Enum, UInt, Color, Char, Orientation, Borders
  Condition condition = Condition::Always;
};

const Entry kEntries[] = {
    {"MeasureUnit", "MeasureUnit", Kind::Enum, muInches},
    {"AbortOnCancel", "AbortOnCancel", Kind::Bool, false},
    {"Alignment", "Alignment", Kind::Enum, taLeftJustify},
    {"AutoFooterFont", "AutoFooterFont", Kind::Bool, true},
    {"AutoHeaderFont", "AutoHeaderFont", Kind::Bool, true},
    {"Collate", "Collate", Kind::Bool, true},
    {"Copies", "Copies", Kind::UInt, 1},
    {"DefaultColWidth", "DefaultColWidth", Kind::Double, 0},
    {"FileName", "FileName", Kind::String, 0},
    {"Footer", "Footer", Kind::String, 0, Condition::FriendlyFooterEmpty},
    {"FooterFont", "FooterFontText", Kind::Font, 0, Condition::AutoFooterFontOff},
    {"FooterFormat", "FooterFormat", Kind::Format, 0, Condition::FriendlyFooterEmpty},
    {"FriendlyFooter", "FriendlyFooter", Kind::String, 0},
    {"FriendlyHeader", "FriendlyHeader", Kind::String, 0},
    {"GradientBackground", "GradientBackground", Kind::Bool, true},
    {"Header", "Header", Kind::String, 0, Condition::FriendlyHeaderEmpty},
    {"HeaderFont", "HeaderFontText", Kind::Font, 0, Condition::AutoHeaderFontOff},
    {"HeaderFormat", "HeaderFormat", Kind::Format, 0, Condition::FriendlyHeaderEmpty},
    {"Lines", "Lines", Kind::Lines, 0},
    {"LineSpacing", "LineSpacing", Kind::Enum, lsSingleSpace},
    {"MarginBottom", "MarginBottom", Kind::Double, 0},
    {"MarginLeft", "MarginLeft", Kind::Double, 0},
    {"MarginRight", "MarginRight", Kind::Double, 0},
    {"MarginTop", "MarginTop", Kind::Double, 0},
    {"Orientation", "Orientation", Kind::Orientation, poPortrait},
    {"PageBorderOffset", "PageBorderOffset", Kind::Double, 0},
    {"PageBorders", "PageBorders", Kind::Borders, 0},
    {"PrintToFile", "PrintToFile", Kind::Bool, false},
    {"ProgressMessage", "ProgressMessage", Kind::String, 0},
    {"ShadowColor", "ShadowColor", Kind::Color, clBtnShadow},
    {"ShadowOffset", "ShadowOffset", Kind::UInt, 5},
    {"ShowCancel", "ShowCancel", Kind::Bool, true},
    {"ShowMargins", "ShowMargins", Kind::Bool, true},
    {"ShowProgress", "ShowProgress", Kind::Bool, true},
    {"TableFormat", "TableFormat", Kind::Format, 0},
    {"TableGrid", "TableGrid", Kind::Bool, false},
    {"TabSize", "TabSize", Kind::UInt, 8},
    {"Title", "Title", Kind::String, 0},
    {"TokenSeparator", "TokenSeparator", Kind::Char, '|'},
    {"WordWrap", "WordWrap", Kind::Bool, true},
    {"ZoomLocation", "ZoomLocation", Kind::Enum, zlTopLeft},
    {"ZoomPercent", "ZoomPercent", Kind::UInt, 25},
    // Inherited properties published again.
    {"Color", "Color", Kind::Color, clBtnFace},
    {"Font", "BodyFontText", Kind::Font, 0},
    {"Visible", "", Kind::Visible, true},
};

const char* const kOrientationNames[] = {"poPortrait", "poLandscape"};
const char* const kBorderNames[] = {"pbTop", "pbBottom", "pbLeft", "pbRight"};

QMetaEnum EnumOf(const TPagePrinter& c, const Entry& e) {
  const QMetaObject* mo = c.metaObject();
  return mo->property(mo->indexOfProperty(e.property)).enumerator();
}

// The body font as construction leaves it.
QString DefaultBodyFontText() {
  TFont f;
  f.SetName(QStringLiteral("Courier New"));
  f.SetSize(10);
  f.SetStyle(0);
  return FontToText(f);
}

bool ShouldWrite(TPagePrinter& c, const Entry& e) {
  switch (e.condition) {
    case Condition::FriendlyHeaderEmpty: return c.FriendlyHeader().isEmpty();
    case Condition::FriendlyFooterEmpty: return c.FriendlyFooter().isEmpty();
    case Condition::AutoHeaderFontOff: return !c.AutoHeaderFont();
    case Condition::AutoFooterFontOff: return !c.AutoFooterFont();
    case Condition::Always: return true;
  }
  return true;
}

// The value text of one entry, or nothing when the value is not written.
std::optional<QString> ValueText(TPagePrinter& c, const Entry& e) {
  const QVariant v = e.kind == Kind::Visible ? QVariant() : c.property(e.property);
  switch (e.kind) {
    case Kind::Bool:
      if (v.toBool() == bool(e.defaultValue)) return std::nullopt;
      return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Enum: {
      const int value = v.toInt();
      if (uint(value) == e.defaultValue) return std::nullopt;
      const char* key = EnumOf(c, e).valueToKey(value);
      return key ? QString::fromLatin1(key) : QString::number(value);
    }
    case Kind::UInt:
      if (v.toUInt() == e.defaultValue) return std::nullopt;
      return QString::number(v.toUInt());
    case Kind::Color:
      if (v.toUInt() == e.defaultValue) return std::nullopt;
      return ColorToText(v.toUInt());
    case Kind::Double:
      if (v.toDouble() == 0) return std::nullopt;
      return DoubleToText(v.toDouble());
    case Kind::String:
      if (v.toString().isEmpty()) return std::nullopt;
      return Quote(v.toString());
    case Kind::Format:
      if (v.toString().isEmpty()) return std::nullopt;
      return Quote(StoredFormatText(c, v.toString()));
    case Kind::Char: {
      const QChar ch = v.value<QChar>();
      if (ch.unicode() == e.defaultValue) return std::nullopt;
      return Quote(QString(ch));
    }
    case Kind::Lines: {
      const QStringList lines = v.toStringList();
      if (lines.isEmpty()) return std::nullopt;
      QStringList quoted;
      for (const QString& line : lines) quoted.append(Quote(line));
      return QStringLiteral("[") + quoted.join(QStringLiteral(", ")) + QStringLiteral("]");
    }
    case Kind::Font: {
      const QString text = v.toString();
      if (e.condition == Condition::Always && text == DefaultBodyFontText()) return std::nullopt;
      return Quote(text);
    }
    case Kind::Orientation: {
      const int value = v.toInt();
      if (uint(value) == e.defaultValue) return std::nullopt;
      return QString::fromLatin1(kOrientationNames[value == poLandscape ? 1 : 0]);
    }
    case Kind::Borders: {
      const uint value = v.toUInt();
      if (value == e.defaultValue) return std::nullopt;
      QStringList names;
      for (uint bit = 0; bit < 4; ++bit)
        if (value & (1u << bit)) names.append(QString::fromLatin1(kBorderNames[bit]));
      return QStringLiteral("[") + names.join(QStringLiteral(", ")) + QStringLiteral("]");
    }
    case Kind::Visible:
      // Only a control hidden on purpose; a window not yet shown is not.
      if (!c.isHidden() || !c.testAttribute(Qt::WA_WState_ExplicitShowHide)) return std::nullopt;
      return QStringLiteral("False");
  }
  return std::nullopt;
}

std::optional<bool> ParseBool(const QString& t) {
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

std::optional<uint> ParseUInt(const QString& t) {
  bool ok = false;
  const uint v = t.toUInt(&ok, 10);
  if (!ok) return std::nullopt;
  return v;
}

// Converts one value text to what the property's setter takes; nothing when malformed.
std::optional<QVariant> ParseValue(TPagePrinter& c, const Entry& e, const QString& t) {
  switch (e.kind) {
    case Kind::Bool:
    case Kind::Visible:
      if (auto b = ParseBool(t)) return QVariant(*b);
      return std::nullopt;
    case Kind::Enum: {
      bool ok = false;
      const int value = EnumOf(c, e).keyToValue(t.toLatin1().constData(), &ok);
      if (!ok) return std::nullopt;
      return QVariant(value);
    }
    case Kind::UInt:
      if (auto u = ParseUInt(t)) return QVariant(*u);
      return std::nullopt;
    case Kind::Color:
      if (auto col = TextToColor(t)) return QVariant(uint(*col));
      return std::nullopt;
    case Kind::Double:
      if (auto d = TextToDouble(t)) return QVariant(*d);
      return std::nullopt;
    case Kind::String:
    case Kind::Format:
      if (auto s = ParseString(t)) return QVariant(*s);
      return std::nullopt;
    case Kind::Font: {
      auto s = ParseString(t);
      TFont probe;
      if (!s || !TextToFont(*s, probe)) return std::nullopt;
      return QVariant(*s);
    }
    case Kind::Char: {
      auto s = ParseString(t);
      if (!s || s->size() != 1) return std::nullopt;
      return QVariant::fromValue(s->at(0));
    }
    case Kind::Lines:
      if (auto list = ParseList(t, true)) return QVariant(*list);
      return std::nullopt;
    case Kind::Orientation:
      for (int i = 0; i < 2; ++i)
        if (t == QLatin1String(kOrientationNames[i])) return QVariant(i);
      return std::nullopt;
    case Kind::Borders: {
      auto names = ParseList(t, false);
      if (!names) return std::nullopt;
      uint set = 0;
      for (const QString& name : *names) {
        int bit = -1;
        for (int i = 0; i < 4; ++i)
          if (name == QLatin1String(kBorderNames[i])) bit = i;
        if (bit < 0) return std::nullopt;
        set |= 1u << bit;
      }
      return QVariant(set);
    }
  }
  return std::nullopt;
}

const Entry* FindEntry(const QString& name) {
  for (const Entry& e : kEntries)
    if (name == QLatin1String(e.name)) return &e;
  return nullptr;
}

}  // namespace
// ---------------------------------------------------------------------------
// Writing and reading

QString WritePagePrinterDescription(TPagePrinter& component) {
  QString out;
  for (const Entry& e : kEntries) {
    if (!ShouldWrite(component, e)) continue;
    const auto value = ValueText(component, e);
    if (!value) continue;
    out += QString::fromLatin1(e.name) + QStringLiteral(" = ") + *value + QChar('\n');
  }
  return out;
}

void ReadPagePrinterDescription(TPagePrinter& component, const QString& description) {
  FormLoading loading;
  loading.Adopt(&component);
  const QStringList lines = description.split(QChar('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(QChar('#'))) continue;
    const QString where = QStringLiteral("Line %1: ").arg(i + 1);
    const qsizetype eq = line.indexOf(QChar('='));
    if (eq < 0) throw EReadError(where + QStringLiteral("'=' expected"));
    const QString name = line.left(eq).trimmed();
    const QString valueText = line.mid(eq + 1).trimmed();
    const Entry* entry = FindEntry(name);
    if (!entry) throw EReadError(where + QStringLiteral("Property %1 does not exist").arg(name));
    const auto value = ParseValue(component, *entry, valueText);
    if (!value) throw EReadError(where + QStringLiteral("Invalid property value for %1").arg(name));
    if (entry->kind == Kind::Visible) {
      component.setHidden(!value->toBool());
      continue;
    }
    if (!component.setProperty(entry->property, *value))
      throw EReadError(where + QStringLiteral("Invalid property value for %1").arg(name));
  }
  loading.Finish();
}
