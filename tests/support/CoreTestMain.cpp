// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Main for the tests of the libraries that need only Qt Core (the loan logic,
// the conversions): no GUI library is linked or started; regional settings
// pinned to en_US as in the other tests.
#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "FormatSettings.h"

int main(int argc, char** argv) {
  qputenv("LC_ALL", "en_US.UTF-8");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QCoreApplication app(argc, argv);
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
