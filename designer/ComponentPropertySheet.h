// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Designer's property sheet for a component, showing its colour properties as
// colours and its font properties as fonts while forms keep storing the
// values the component's own property type takes (uint colours, font texts,
// font attributes), so QUiLoader, uic and Designer's preview still set them.
//
// How Designer uses a sheet: the property editor shows entry i only when
// indexOf(propertyName(i)) == i; the form writer writes every changed entry
// under its name with the value the sheet reports, unless the entry its name
// looks up is an attribute or unchanged; the form reader sets values by name.
// So each shown property has two entries: at its published place the entry the
// editor shows (QColor or QFont), named with a trailing space the editor shows
// as nothing and marked an attribute, so it is never written; and past the
// default sheet's entries a hidden entry under the property's own name, which
// reports the stored value and is what the name looks up, so it is what forms
// store and what forms set. Both write to the component through the default
// sheet, which answers for every other entry, index for index.
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionFactory>

#include <cstdint>
#include <functional>

class TFont;
using TColor = uint32_t;

// How one published property is shown.
struct SheetView {
  enum Kind {
    Colour,     // a TColor number shown as a QColor
    FontText,   // a font text ("Name,Height,Style,Colour") shown as a QFont
    FontParts,  // name, height and style properties shown together as one QFont
    Hidden,     // a part shown through FontParts, stored after it
  };
  QString name;
  Kind kind = Colour;
  // FontText and FontParts: the component's font behind the property.
  std::function<const TFont*(QObject* component)> font;
  // FontParts: the name, height and style properties.
  QStringList parts;
};

class ComponentPropertySheet : public QObject, public QDesignerPropertySheetExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerPropertySheetExtension)

 public:
  ComponentPropertySheet(QObject* component, QDesignerPropertySheetExtension* base, const QList<SheetView>& views,
                         QObject* parent);

  int count() const override;
  int indexOf(const QString& name) const override;
  QString propertyName(int index) const override;
  QString propertyGroup(int index) const override { return base_->propertyGroup(BaseIndex(index)); }
  void setPropertyGroup(int index, const QString& group) override;
  bool hasReset(int index) const override { return base_->hasReset(BaseIndex(index)); }
  bool reset(int index) override;
  bool isVisible(int index) const override;
  void setVisible(int index, bool visible) override;
  bool isAttribute(int index) const override;
  void setAttribute(int index, bool attribute) override;
  QVariant property(int index) const override;
  void setProperty(int index, const QVariant& value) override;
  bool isChanged(int index) const override;
  void setChanged(int index, bool changed) override;
  bool isEnabled(int index) const override { return base_->isEnabled(BaseIndex(index)); }

 private:
  struct Shown {
    SheetView view;
    int index = -1;          // in the default sheet
    QList<int> partIndexes;  // FontParts: the parts' indexes in the default sheet
  };
  // Appended to a shown property's name for the entry the editor shows.
  static constexpr QChar kShownSuffix = QChar(' ');
  // The shown entry at a default-sheet index or a stored-copy index, or null.
  const Shown* ShownAt(int index) const;
  bool IsStoredCopy(int index) const { return index >= base_->count(); }
  int BaseIndex(int index) const;
  QList<int> Indexes(const Shown& shown) const;
  QVariant Displayed(const Shown& shown) const;
  TColor CurrentColour(const Shown& shown) const;
  TColor ColourFor(const Shown& shown, const QColor& colour) const;
  void Apply(const Shown& shown, const QVariant& value);

  QObject* component_;
  QDesignerPropertySheetExtension* base_;
  // System colours each colour entry has held: a colour edited back to what one
  // of them shows (an undo, say) becomes that system colour again.
  mutable QHash<int, QList<TColor>> systemColours_;
  // One stored copy each, in this order, so forms set them in the published order.
  QList<Shown> shown_;
};

// Hands Designer a ComponentPropertySheet for every object of one class,
// wrapping the sheet Designer would otherwise give it.
class ComponentPropertySheetFactory : public QExtensionFactory {
  Q_OBJECT

 public:
  ComponentPropertySheetFactory(QExtensionManager* parent, QString className, QList<SheetView> views);

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;

 private:
  QString className_;
  QList<SheetView> views_;
  // Set while asking the manager for the default sheet, so this factory steps
  // aside and the next one answers (a null answer is not remembered).
  mutable bool askingDefault_ = false;
};
