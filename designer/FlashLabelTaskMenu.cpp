// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "FlashLabelTaskMenu.h"

#include <QAction>
#include <QtDesigner/QExtensionManager>

#include "QVXAbout.h"
#include "QVXFlashLabel.h"

FlashLabelTaskMenu::FlashLabelTaskMenu(QObject* parent) : QObject(parent), about_(new QAction(tr("About..."), this)) {
  connect(about_, &QAction::triggered, this, [] { TAboutProperty().Edit(); });
}

QList<QAction*> FlashLabelTaskMenu::taskActions() const { return {about_}; }

FlashLabelTaskMenuFactory::FlashLabelTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

QObject* FlashLabelTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const {
  if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension))) return nullptr;
  if (!qobject_cast<TQVXFlashLabel*>(object)) return nullptr;
  return new FlashLabelTaskMenu(parent);
}
