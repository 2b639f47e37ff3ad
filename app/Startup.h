// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Program start-up, shared by the program entry and the end-to-end tests so
// that both create exactly the same windows in the same order.
#include <QString>
#include <memory>

class TMainForm;
class TAboutBox;
class TfrmHelp;

// Fonts, regional settings from the system locale, and the application title.
void InitializeApplication();

// The main window's caption, " Tallyvane v" and the build's version.
QString WindowCaption();
// The reverse-DNS id of the desktop entry, icon and AppStream data.
QString ApplicationId();

// The three windows in creation order: main window, about box, help window.
// All three live as long as this object; the main window is shown.
class TProgramWindows {
 public:
  TProgramWindows();
  ~TProgramWindows();
  TProgramWindows(const TProgramWindows&) = delete;
  TProgramWindows& operator=(const TProgramWindows&) = delete;

  TMainForm& MainForm() const { return *mainForm_; }
  TAboutBox& AboutBox() const { return *aboutBox_; }
  TfrmHelp& HelpWindow() const { return *helpWindow_; }

 private:
  // Declared in creation order, so they are destroyed in the reverse order.
  std::unique_ptr<TMainForm> mainForm_;
  std::unique_ptr<TAboutBox> aboutBox_;
  std::unique_ptr<TfrmHelp> helpWindow_;
};
