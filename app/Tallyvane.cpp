// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Program entry: the application object, its title, the three windows in the
// order main window, about box, help window, and the message loop.
#include <QApplication>

#include "CupsSubmission.h"
#include "HeapTuning.h"
#include "Startup.h"

int main(int argc, char** argv) {
  KeepHeapTopForPrinting();
  QApplication app(argc, argv);
  InitializeApplication();
  QGuiApplication::setDesktopFileName(ApplicationId());
  TProgramWindows windows;
  const int code = app.exec();
  // A print given up on just before quitting gets a moment to withdraw its half-made job.
  cups::WaitForGivenUpRequests(3000);
  return code;
}
