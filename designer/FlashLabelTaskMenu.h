// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The hover label's entry in Designer's context menu: "About..." opens the
// component's about dialog through its About property editor.
#include <QList>
#include <QObject>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;

class FlashLabelTaskMenu : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  explicit FlashLabelTaskMenu(QObject* parent);
  QAction* preferredEditAction() const override { return nullptr; }
  QList<QAction*> taskActions() const override;

 private:
  QAction* about_;
};

// Hands Designer a FlashLabelTaskMenu for every hover label on a form.
class FlashLabelTaskMenuFactory : public QExtensionFactory {
  Q_OBJECT

 public:
  explicit FlashLabelTaskMenuFactory(QExtensionManager* parent);

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};
