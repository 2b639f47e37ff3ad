// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Shared main for every test program: a QApplication on the offscreen platform,
// regional settings pinned to en_US, and the fonts the layouts rely on checked.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>
#include <gtest/gtest.h>

#include "Conversions.h"
#include "Graphics.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "en_US.UTF-8");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication app(argc, argv);
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
  InstallFontSubstitutions();
  for (const char* family : {"Courier New", "Arial", "MS Sans Serif"}) {
    QFont f(QString::fromLatin1(family));
    QFontInfo info(f);
    if (!info.exactMatch() && info.family().isEmpty()) {
      fprintf(stderr, "font %s did not resolve\n", family);
      return 2;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
