// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What assistive technology sees of a hover label: a push button named by its
// caption, described by its hint, with one "Press" action that clicks it.
#include <QAccessibleWidget>

class TQVXFlashLabel;

class TQVXFlashLabelAccessible : public QAccessibleWidget {
 public:
  explicit TQVXFlashLabelAccessible(TQVXFlashLabel* label);

  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;

  // Registers the interface with Qt's accessibility layer; later calls do nothing.
  static void Install();

 private:
  TQVXFlashLabel* Label() const;
};
