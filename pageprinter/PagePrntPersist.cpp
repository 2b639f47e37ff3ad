// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Stored descriptions of the page printer: writing and reading.
#include "PagePrntPersist.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <optional>
#include <vector>

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

// What the property system cannot say: a description name other than the
// property's, a value form beyond what the type gives, and "written only while".
struct Irregular {
  const char* property;
  const char* name;
  Kind kind;
  Condition condition = Condition::Always;
};

const Irregular kIrregular[] = {
    {"Footer", "Footer", Kind::String, Condition::FriendlyFooterEmpty},
    {"FooterFontText", "FooterFont", Kind::Font, Condition::AutoFooterFontOff},
    {"FooterFormat", "FooterFormat", Kind::Format, Condition::FriendlyFooterEmpty},
    {"Header", "Header", Kind::String, Condition::FriendlyHeaderEmpty},
    {"HeaderFontText", "HeaderFont", Kind::Font, Condition::AutoHeaderFontOff},
    {"HeaderFormat", "HeaderFormat", Kind::Format, Condition::FriendlyHeaderEmpty},
    {"TableFormat", "TableFormat", Kind::Format},
    {"Orientation", "Orientation", Kind::Orientation},
    {"PageBorders", "PageBorders", Kind::Borders},
    {"ShadowColor", "ShadowColor", Kind::Color},
    {"Color", "Color", Kind::Color},
    {"BodyFontText", "Font", Kind::Font},
};

struct Entry {
  QByteArray name;      // name in the description
  QByteArray property;  // the Q_PROPERTY behind it (empty: the inherited Visible)
  Kind kind;
  QVariant defaultValue;  // as a fresh component has it
  Condition condition = Condition::Always;
};

Kind KindOfType(const QMetaProperty& p) {
  if (p.isEnumType()) return Kind::Enum;
  switch (p.metaType().id()) {
    case QMetaType::Bool: return Kind::Bool;
    case QMetaType::Double: return Kind::Double;
    case QMetaType::QChar: return Kind::Char;
    case QMetaType::QStringList: return Kind::Lines;
    case QMetaType::QString: return Kind::String;
    default: return Kind::UInt;
  }
}

// The published properties in their declared order, then the inherited Visible.
std::vector<Entry> BuildEntries() {
  // The defaults come from a fresh component. It writes its title and
  // orientation to the shared printer object, which must not change here.
  TPrinter* printer = Printer();
  const QString title = printer ? printer->Title() : QString();
  std::optional<TPrinterOrientation> orientation;
  try {
    if (printer) orientation = printer->Orientation();
  } catch (const EPrinter&) {
  }
  std::vector<Entry> entries;
  {
    TPagePrinter fresh;
    const QMetaObject& meta = TPagePrinter::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
      const QMetaProperty p = meta.property(i);
      Entry e{p.name(), p.name(), KindOfType(p), p.read(&fresh)};
      for (const Irregular& s : kIrregular)
        if (e.property == s.property) {
          e.name = s.name;
          e.kind = s.kind;
          e.condition = s.condition;
        }
      entries.push_back(e);
    }
  }
  if (printer) {
    printer->SetTitle(title);
    try {
      if (orientation) printer->SetOrientation(*orientation);
    } catch (const EPrinter&) {
    }
  }
  entries.push_back(Entry{"Visible", QByteArray(), Kind::Visible, QVariant(true)});
  return entries;
}

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = BuildEntries();
  return entries;
}

const char* const kOrientationNames[] = {"poPortrait", "poLandscape"};
const char* const kBorderNames[] = {"pbTop", "pbBottom", "pbLeft", "pbRight"};

QMetaEnum EnumOf(const TPagePrinter& c, const Entry& e) {
  const QMetaObject* mo = c.metaObject();
  return mo->property(mo->indexOfProperty(e.property.constData())).enumerator();
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
  const QVariant v = e.kind == Kind::Visible ? QVariant() : c.property(e.property.constData());
  switch (e.kind) {
    case Kind::Bool:
      if (v.toBool() == e.defaultValue.toBool()) return std::nullopt;
      return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Enum: {
      const int value = v.toInt();
      if (value == e.defaultValue.toInt()) return std::nullopt;
      const char* key = EnumOf(c, e).valueToKey(value);
      return key ? QString::fromLatin1(key) : QString::number(value);
    }
    case Kind::UInt:
      if (v.toUInt() == e.defaultValue.toUInt()) return std::nullopt;
      return QString::number(v.toUInt());
    case Kind::Color:
      if (v.toUInt() == e.defaultValue.toUInt()) return std::nullopt;
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
      if (ch == e.defaultValue.value<QChar>()) return std::nullopt;
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
      if (e.condition == Condition::Always && text == e.defaultValue.toString()) return std::nullopt;
      return Quote(text);
    }
    case Kind::Orientation: {
      const int value = v.toInt();
      if (value == e.defaultValue.toInt()) return std::nullopt;
      return QString::fromLatin1(kOrientationNames[value == poLandscape ? 1 : 0]);
    }
    case Kind::Borders: {
      const uint value = v.toUInt();
      if (value == e.defaultValue.toUInt()) return std::nullopt;
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
  for (const Entry& e : Entries())
    if (name == QLatin1String(e.name)) return &e;
  return nullptr;
}

}  // namespace
// ---------------------------------------------------------------------------
// Writing and reading

QString WritePagePrinterDescription(TPagePrinter& component) {
  QString out;
  for (const Entry& e : Entries()) {
    if (!ShouldWrite(component, e)) continue;
    const auto value = ValueText(component, e);
    if (!value) continue;
    out += QString::fromLatin1(e.name) + QStringLiteral(" = ") + *value + QChar('\n');
  }
  return out;
}

void ReadPagePrinterDescription(TPagePrinter& component, const QString& description) {
  // The list is worked out from a fresh component, before the loading state
  // begins: one created inside it would be taken for part of the form.
  Entries();
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
    if (!component.setProperty(entry->property.constData(), *value))
      throw EReadError(where + QStringLiteral("Invalid property value for %1").arg(name));
  }
  loading.Finish();
}
