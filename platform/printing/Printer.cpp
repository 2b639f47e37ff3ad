// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The process-wide printer object. The system and PDF printers live in their
// own files; this one only holds whichever printer is installed.
#include "Printer.h"

#include <QCoreApplication>

namespace {

std::shared_ptr<TPrinter>& PrinterSlot() {
  static std::shared_ptr<TPrinter> printer;
  return printer;
}

// A QPrinter must not outlive the application object: drop the printer object with it.
void ReleasePrinterAtExit() { PrinterSlot().reset(); }

void ReleaseWithApplication() {
  static bool registered = false;
  if (registered || !QCoreApplication::instance()) return;
  registered = true;
  qAddPostRoutine(ReleasePrinterAtExit);
}

}  // namespace

std::shared_ptr<TPrinter> SharedPrinter() {
  auto& slot = PrinterSlot();
  if (!slot) slot = MakeSystemPrinter();
  ReleaseWithApplication();
  return slot;
}

TPrinter* Printer() { return SharedPrinter().get(); }

std::shared_ptr<TPrinter> SetPrinter(std::shared_ptr<TPrinter> printer) {
  ReleaseWithApplication();
  std::shared_ptr<TPrinter> previous = std::move(PrinterSlot());
  PrinterSlot() = std::move(printer);
  return previous;
}
