#pragma once
// The application object: its title, pending-message processing, termination,
// and the default error report. Exceptions never cross Qt's event loop: every
// command runs through Run(), which reports what escapes and carries on.
#include <QString>
#include <exception>
#include <functional>

class Application {
 public:
  static QString Title();
  static void SetTitle(const QString& title);
  static void ProcessMessages();
  // Ends the message loop; the program exits when it returns.
  static void Terminate();
  // Shows the error's text in a message box under the application title.
  static void ShowException(const std::exception& error);
  // Runs a command; an exception it lets out goes to the default error report.
  // Returns false when one did.
  static bool Run(const std::function<void()>& command);
};
