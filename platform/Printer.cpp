// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The process-wide printer object. The system and PDF printers live in their
// own files; this one only holds whichever printer is installed.
#include "Printer.h"

#include <QCoreApplication>

namespace {

std::unique_ptr<TPrinter>& PrinterSlot() {
  static std::unique_ptr<TPrinter> printer;
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

TPrinter* Printer() {
  auto& slot = PrinterSlot();
  if (!slot) slot = MakeSystemPrinter();
  ReleaseWithApplication();
  return slot.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
  ReleaseWithApplication();
  std::unique_ptr<TPrinter> previous = std::move(PrinterSlot());
  PrinterSlot() = std::move(printer);
  return previous;
}
