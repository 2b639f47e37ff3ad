// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Writes that reach a component through Qt's property system (setProperty, a
// form built by uic or QUiLoader, a stored description) cannot carry an
// exception back through Qt: a value the setter refuses leaves the property as
// it was and is reported as one warning naming the component, the property and
// the reason. The setters called directly still raise.
#include <QString>
#include <exception>

#include "tallyvane_platform_export.h"
#include "Errors.h"

class QObject;

// The warning for a refused property write: class "objectName": property: reason.
TALLYVANE_PLATFORM_EXPORT void WarnRefusedPropertyWrite(const QObject* component, const char* property,
                                                        const QString& reason);

template <typename Write>
void GuardedPropertyWrite(const QObject* component, const char* property, Write&& write) noexcept {
  try {
    write();
  } catch (const Exception& refused) {
    WarnRefusedPropertyWrite(component, property, refused.Message());
  } catch (const std::exception& refused) {
    WarnRefusedPropertyWrite(component, property, QString::fromUtf8(refused.what()));
  } catch (...) {
    WarnRefusedPropertyWrite(component, property, QStringLiteral("unknown error"));
  }
}
