// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Startup.h"

#include <QLabel>
#include <QLocale>

#include "About.h"
#include "Application.h"
#include "Conversions.h"
#include "Graphics.h"
#include "Help.h"
#include "TallyvaneVersion.h"
#include "main.h"

void InitializeApplication() {
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale::system()));
  Application::SetTitle(QStringLiteral("Tallyvane"));
}

// The caption carries the build's version, so that it always agrees with the packages.
QString WindowCaption() { return QStringLiteral(" Tallyvane v" TALLYVANE_VERSION); }

QString ApplicationId() { return QStringLiteral(TALLYVANE_APP_ID); }

TProgramWindows::TProgramWindows() {
  mainForm_ = std::make_unique<TMainForm>();
  mainForm_->setWindowTitle(WindowCaption());
  aboutBox_ = std::make_unique<TAboutBox>(mainForm_.get());
  aboutBox_->Version->setText(QStringLiteral("Version " TALLYVANE_VERSION));
  helpWindow_ = std::make_unique<TfrmHelp>(mainForm_.get());
  aboutBox_->hide();
  helpWindow_->hide();
  mainForm_->SetCompanionWindows(aboutBox_.get(), helpWindow_.get());
  mainForm_->show();
}

TProgramWindows::~TProgramWindows() {
  // The companions are children of the main window: release them before it goes.
  helpWindow_.reset();
  aboutBox_.reset();
  mainForm_.reset();
}
