// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ComponentPropertySheet.h"

#include <QColor>
#include <QFont>
#include <QtDesigner/QExtensionManager>

#include <cstdlib>
#include <exception>

#include "Graphics.h"

namespace {

// Designer's font editor works in points; the component's fonts in pixels at
// their own resolution, which the font converts.
QFont DesignerFont(const TFont& font) {
  QFont shown(font.Name());
  shown.setPointSize(std::max(1, std::abs(font.Size())));
  shown.setBold(font.Style() & fsBold);
  shown.setItalic(font.Style() & fsItalic);
  shown.setUnderline(font.Style() & fsUnderline);
  shown.setStrikeOut(font.Style() & fsStrikeOut);
  return shown;
}

// Takes the edited font's family, size and style into font; its colour and
// resolution stay. The height is kept when the size in points did not change,
// so an odd pixel height is not rounded away. False when the family cannot be
// stored (font texts separate their fields with commas).
bool TakeDesignerFont(TFont& font, const QFont& edited) {
  const QString family = edited.family().trimmed();
  if (family.isEmpty() || family.contains(QChar(','))) return false;
  font.SetName(family);
  if (edited.pointSize() > 0 && edited.pointSize() != std::abs(font.Size())) font.SetSize(edited.pointSize());
  TFontStyles style = 0;
  if (edited.bold()) style |= fsBold;
  if (edited.italic()) style |= fsItalic;
  if (edited.underline()) style |= fsUnderline;
  if (edited.strikeOut()) style |= fsStrikeOut;
  font.SetStyle(style);
  return true;
}

QString StyleText(TFontStyles style) {
  static const struct {
    TFontStyles bit;
    const char* name;
  } names[] = {{fsBold, "bold"}, {fsItalic, "italic"}, {fsUnderline, "underline"}, {fsStrikeOut, "strikeout"}};
  QStringList words;
  for (const auto& n : names)
    if (style & n.bit) words.append(QString::fromLatin1(n.name));
  return words.isEmpty() ? QStringLiteral("regular") : words.join(QChar('+'));
}

}  // namespace

ComponentPropertySheet::ComponentPropertySheet(QObject* component, QDesignerPropertySheetExtension* base,
                                               const QList<SheetView>& views, QObject* parent)
    : QObject(parent), component_(component), base_(base) {
  for (const SheetView& view : views) {
    const int index = base_->indexOf(view.name);
    if (index < 0) continue;
    Shown shown{view, index, {}};
    for (const QString& part : view.parts) shown.partIndexes.append(base_->indexOf(part));
    const bool needsFont = view.kind == SheetView::FontText || view.kind == SheetView::FontParts;
    if (shown.partIndexes.contains(-1) || (needsFont && !view.font)) continue;
    shown_.append(shown);
    if (view.kind == SheetView::Colour) CurrentColour(shown);
  }
}

int ComponentPropertySheet::count() const { return base_->count() + static_cast<int>(shown_.size()); }

int ComponentPropertySheet::indexOf(const QString& name) const {
  const bool shownName = name.endsWith(kShownSuffix);
  const int index = base_->indexOf(shownName ? name.chopped(1) : name);
  for (int copy = 0; copy < shown_.size(); ++copy)
    if (shown_[copy].index == index) return shownName ? index : base_->count() + copy;
  return shownName ? -1 : index;
}

QString ComponentPropertySheet::propertyName(int index) const {
  const QString name = base_->propertyName(BaseIndex(index));
  return !IsStoredCopy(index) && ShownAt(index) ? name + kShownSuffix : name;
}

const ComponentPropertySheet::Shown* ComponentPropertySheet::ShownAt(int index) const {
  if (IsStoredCopy(index)) {
    const int copy = index - base_->count();
    return copy < shown_.size() ? &shown_[copy] : nullptr;
  }
  for (const Shown& shown : shown_)
    if (shown.index == index) return &shown;
  return nullptr;
}

int ComponentPropertySheet::BaseIndex(int index) const {
  if (!IsStoredCopy(index)) return index;
  const Shown* shown = ShownAt(index);
  return shown ? shown->index : -1;
}

QList<int> ComponentPropertySheet::Indexes(const Shown& shown) const {
  return shown.view.kind == SheetView::FontParts ? shown.partIndexes : QList<int>{shown.index};
}

void ComponentPropertySheet::setPropertyGroup(int index, const QString& group) {
  base_->setPropertyGroup(BaseIndex(index), group);
}

bool ComponentPropertySheet::reset(int index) {
  const Shown* shown = ShownAt(index);
  if (!shown) return base_->reset(index);
  bool done = true;
  for (int part : Indexes(*shown)) done = base_->reset(part) && done;
  return done;
}

bool ComponentPropertySheet::isVisible(int index) const {
  if (IsStoredCopy(index)) return false;
  const Shown* shown = ShownAt(index);
  return shown && shown->view.kind == SheetView::Hidden ? false : base_->isVisible(index);
}

void ComponentPropertySheet::setVisible(int index, bool visible) {
  if (!IsStoredCopy(index)) base_->setVisible(index, visible);
}

bool ComponentPropertySheet::isAttribute(int index) const {
  if (IsStoredCopy(index)) return false;
  return ShownAt(index) ? true : base_->isAttribute(index);
}

void ComponentPropertySheet::setAttribute(int index, bool attribute) {
  if (!IsStoredCopy(index)) base_->setAttribute(index, attribute);
}

QVariant ComponentPropertySheet::property(int index) const {
  const Shown* shown = ShownAt(index);
  if (!shown) return base_->property(index);
  return IsStoredCopy(index) ? base_->property(shown->index) : Displayed(*shown);
}

void ComponentPropertySheet::setProperty(int index, const QVariant& value) {
  const Shown* shown = ShownAt(index);
  if (!shown) return base_->setProperty(index, value);
  // A form may carry a font text the component refuses; Designer must not
  // end on it: the property keeps its value and the refusal is logged.
  try {
    Apply(*shown, value);
  } catch (const std::exception& refused) {
    qWarning("%s: %s", qPrintable(shown->view.name), refused.what());
  }
}

bool ComponentPropertySheet::isChanged(int index) const {
  const Shown* shown = ShownAt(index);
  if (!shown) return base_->isChanged(index);
  if (IsStoredCopy(index)) return base_->isChanged(shown->index);
  for (int part : Indexes(*shown))
    if (base_->isChanged(part)) return true;
  return false;
}

void ComponentPropertySheet::setChanged(int index, bool changed) {
  const Shown* shown = ShownAt(index);
  if (!shown) return base_->setChanged(index, changed);
  for (int part : Indexes(*shown)) base_->setChanged(part, changed);
}

QVariant ComponentPropertySheet::Displayed(const Shown& shown) const {
  if (shown.view.kind == SheetView::Hidden) return base_->property(shown.index);
  // System colours show as the colour they stand for.
  if (shown.view.kind == SheetView::Colour) return QVariant(ToQColor(CurrentColour(shown)));
  const TFont* font = shown.view.font(component_);
  return font ? QVariant(DesignerFont(*font)) : QVariant();
}

void ComponentPropertySheet::Apply(const Shown& shown, const QVariant& value) {
  // Values read from a form arrive in their stored form and go straight through.
  if (shown.view.kind == SheetView::Hidden) return base_->setProperty(shown.index, value);
  if (shown.view.kind == SheetView::Colour) {
    if (value.typeId() != QMetaType::QColor) return base_->setProperty(shown.index, value);
    const QColor colour = value.value<QColor>();
    if (colour.isValid()) base_->setProperty(shown.index, QVariant(static_cast<uint>(ColourFor(shown, colour))));
    return;
  }
  if (value.typeId() != QMetaType::QFont) return base_->setProperty(shown.index, value);
  const TFont* current = shown.view.font(component_);
  if (!current) return;
  TFont edited;
  edited.Assign(*current);
  if (!TakeDesignerFont(edited, value.value<QFont>())) return;
  if (shown.view.kind == SheetView::FontParts) {
    base_->setProperty(shown.partIndexes.value(0), edited.Name());
    base_->setProperty(shown.partIndexes.value(1), edited.Height());
    base_->setProperty(shown.partIndexes.value(2), static_cast<int>(edited.Style()));
    return;
  }
  // The colour field stays as the component wrote it (a name such as clWindowText).
  const QString colourField =
      component_->property(qPrintable(shown.view.name)).toString().section(QChar(','), 3, 3).trimmed();
  QString text = QStringLiteral("%1,%2,%3").arg(edited.Name()).arg(edited.Height()).arg(StyleText(edited.Style()));
  if (!colourField.isEmpty()) text += QChar(',') + colourField;
  base_->setProperty(shown.index, text);
}

TColor ComponentPropertySheet::CurrentColour(const Shown& shown) const {
  const auto colour = static_cast<TColor>(component_->property(qPrintable(shown.view.name)).toUInt());
  QList<TColor>& held = systemColours_[shown.index];
  if ((colour & 0x80000000u) && !held.contains(colour)) held.append(colour);
  return colour;
}

TColor ComponentPropertySheet::ColourFor(const Shown& shown, const QColor& colour) const {
  CurrentColour(shown);
  for (TColor system : systemColours_.value(shown.index))
    if (ToQColor(system) == colour) return system;
  return FromQColor(colour);
}

ComponentPropertySheetFactory::ComponentPropertySheetFactory(QExtensionManager* parent, QString className,
                                                             QList<SheetView> views)
    : QExtensionFactory(parent), className_(std::move(className)), views_(std::move(views)) {}

QObject* ComponentPropertySheetFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const {
  if (askingDefault_ || iid != QLatin1String(Q_TYPEID(QDesignerPropertySheetExtension))) return nullptr;
  if (!object->inherits(qPrintable(className_))) return nullptr;
  askingDefault_ = true;
  auto* base = qt_extension<QDesignerPropertySheetExtension*>(extensionManager(), object);
  askingDefault_ = false;
  if (!base) return nullptr;
  return new ComponentPropertySheet(object, base, views_, parent);
}
