// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The application object: its title, pending-message processing, termination,
/// and the default error report. Exceptions never cross Qt's event loop: every
/// command runs through Run(), which reports what escapes and carries on.
#include <QString>
#include <exception>
#include <functional>

#include "tallyvane_platform_export.h"

/// The application object (all static): title, messages, termination, error report.
class TALLYVANE_PLATFORM_EXPORT Application {
 public:
  /// The title of message boxes. Kept here only: window captions are not touched.
  /// Until set, the Qt application name.
  static QString Title();
  static void SetTitle(const QString& title);  ///< Sets Title.
  /// Processes pending window messages (events); does nothing without a Qt application.
  static void ProcessMessages();
  /// Ends the message loop; the program exits when it returns.
  static void Terminate();
  /// True once Terminate was called.
  static bool Terminated();
  /// Shows the error's text in a message box under the application title
  /// (what() for exceptions that are not ours; a generic text when empty).
  static void ShowException(const std::exception& error);
  /// Runs a command; an exception it lets out goes to the default error report.
  /// Returns false when one did. Exceptions of any type are caught.
  static bool Run(const std::function<void()>& command);
};
