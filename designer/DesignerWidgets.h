// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// One Designer widget-box entry per component: how Designer names, draws,
// describes and creates it, and the form snippet it drops onto a form.
#include <QIcon>
#include <QObject>
#include <QString>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>

class QDesignerFormEditorInterface;

// What tells the two entries apart; everything else they share.
struct DesignerWidgetInfo {
  QString className;
  QString includeFile;
  QString toolTip;
  QString whatsThis;
  QString domXml;
  QIcon icon;
  std::function<QWidget*(QWidget* parent)> create;
  // Runs once when Designer first initializes the entry (extensions, for instance).
  std::function<void(QDesignerFormEditorInterface* core)> setUp;
};

class DesignerWidget : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  DesignerWidget(DesignerWidgetInfo info, QObject* parent);

  QString name() const override { return info_.className; }
  QString group() const override { return QStringLiteral("Tallyvane"); }
  QString toolTip() const override { return info_.toolTip; }
  QString whatsThis() const override { return info_.whatsThis; }
  QString includeFile() const override { return info_.includeFile; }
  QIcon icon() const override { return info_.icon; }
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override { return info_.create(parent); }
  bool isInitialized() const override { return initialized_; }
  void initialize(QDesignerFormEditorInterface* core) override;
  QString domXml() const override { return info_.domXml; }

 private:
  DesignerWidgetInfo info_;
  bool initialized_ = false;
};

DesignerWidgetInfo PagePrinterEntry();
DesignerWidgetInfo FlashLabelEntry();
