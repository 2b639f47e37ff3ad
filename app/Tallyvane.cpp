// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Program entry: the application object, its title, the three windows in the
// order main window, about box, help window, and the message loop.
#include <QApplication>

#include "HeapTuning.h"
#include "Startup.h"

int main(int argc, char** argv) {
  KeepHeapTopForPrinting();
  QApplication app(argc, argv);
  InitializeApplication();
  QGuiApplication::setDesktopFileName(ApplicationId());
  TProgramWindows windows;
  return app.exec();
}
