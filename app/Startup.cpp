#include "Startup.h"

#include <QLocale>

#include "About.h"
#include "Application.h"
#include "Conversions.h"
#include "Graphics.h"
#include "Help.h"
#include "main.h"

void InitializeApplication() {
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale::system()));
  Application::SetTitle(QStringLiteral("Tallyvane"));
}

TProgramWindows::TProgramWindows() {
  mainForm_ = std::make_unique<TMainForm>();
  aboutBox_ = std::make_unique<TAboutBox>(mainForm_.get());
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
