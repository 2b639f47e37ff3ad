// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "QVXFlashLabelAccessible.h"

#include "QVXFlashLabel.h"

namespace {
QAccessibleInterface* Factory(const QString& key, QObject* object) {
  if (key == QLatin1StringView(TQVXFlashLabel::staticMetaObject.className()))
    if (auto* label = qobject_cast<TQVXFlashLabel*>(object)) return new TQVXFlashLabelAccessible(label);
  return nullptr;
}
}  // namespace

void TQVXFlashLabelAccessible::Install() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  (void)installed;
}

TQVXFlashLabelAccessible::TQVXFlashLabelAccessible(TQVXFlashLabel* label)
    : QAccessibleWidget(label, QAccessible::Button) {}

TQVXFlashLabel* TQVXFlashLabelAccessible::Label() const { return static_cast<TQVXFlashLabel*>(widget()); }

QString TQVXFlashLabelAccessible::text(QAccessible::Text t) const {
  // A name or description a program set explicitly wins, as for Qt's own widgets.
  switch (t) {
    case QAccessible::Name: {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? Label()->Caption().trimmed() : name;
    }
    case QAccessible::Description: {
      const QString description = widget()->accessibleDescription();
      return description.isEmpty() ? Label()->Hint() : description;
    }
    default: return QAccessibleWidget::text(t);
  }
}

QAccessible::State TQVXFlashLabelAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();  // disabled, invisible, ...
  state.pressed = Label()->MouseIsDown();
  state.hotTracked = Label()->Hover();
  return state;
}

QStringList TQVXFlashLabelAccessible::actionNames() const {
  // A disabled label takes no clicks, so it offers nothing to press.
  if (!widget()->isEnabled()) return {};
  return {pressAction()};
}

void TQVXFlashLabelAccessible::doAction(const QString& actionName) {
  if (actionName == pressAction() && widget()->isEnabled()) Label()->Click();
}

QStringList TQVXFlashLabelAccessible::keyBindingsForAction(const QString&) const { return {}; }
