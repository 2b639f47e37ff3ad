// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PropertyWrites.h"

#include <QDebug>
#include <QObject>

void WarnRefusedPropertyWrite(const QObject* component, const char* property, const QString& reason) {
  const char* className = component ? component->metaObject()->className() : "(none)";
  const QString name = component ? component->objectName() : QString();
  qWarning().noquote() << QStringLiteral("%1 \"%2\": property %3 not set: %4")
                              .arg(QString::fromLatin1(className), name, QString::fromLatin1(property), reason);
}
