// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The texts every printer realization raises EPrinter with, so that they read alike.
#include <QString>

namespace printer_messages {
inline QString NoPrinter() { return QStringLiteral("There is no default printer currently selected"); }
inline QString PrintingInProgress() { return QStringLiteral("Printing in progress"); }
inline QString NotPrinting() { return QStringLiteral("Printer is not currently printing"); }
}  // namespace printer_messages
