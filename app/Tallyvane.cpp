// Program entry: the application object, its title, the three windows in the
// order main window, about box, help window, and the message loop.
#include <QApplication>
#include <QLocale>

#include "About.h"
#include "Application.h"
#include "Conversions.h"
#include "Graphics.h"
#include "Help.h"
#include "main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale::system()));
  Application::SetTitle(QStringLiteral("Tallyvane"));

  TMainForm mainForm;
  TAboutBox aboutBox(&mainForm);
  TfrmHelp helpWindow(&mainForm);
  aboutBox.hide();
  helpWindow.hide();
  mainForm.SetCompanionWindows(&aboutBox, &helpWindow);
  mainForm.show();
  return app.exec();
}
