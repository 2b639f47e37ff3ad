// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "TallyvaneDesignerPlugin.h"

#include "DesignerWidgets.h"

TallyvaneDesignerPlugin::TallyvaneDesignerPlugin(QObject* parent) : QObject(parent) {
  widgets_ << new DesignerWidget(PagePrinterEntry(), this) << new DesignerWidget(FlashLabelEntry(), this);
}
