// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "WindowHelpers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

void UseFormPixelFonts(QWidget* form) {
  auto apply = [](QWidget* w) {
    if (!w->testAttribute(Qt::WA_SetFont)) return;
    QFont f = w->font();
    if (f.pointSizeF() <= 0) return;  // already in pixels
    f.setPixelSize(static_cast<int>(std::lround(f.pointSizeF() * 96.0 / 72.0)));
    w->setFont(f);
  };
  apply(form);
  for (QWidget* child : form->findChildren<QWidget*>()) apply(child);
}

void CentreOnScreen(QWidget* window) {
  // Moving it marks the window as placed, so Qt does not centre it over its parent instead.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
  }
}
