// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The version the windows show is the one the build (and so the packages) carries.
#include <QLabel>
#include <QString>
#include <gtest/gtest.h>

#include "About.h"
#include "Startup.h"
#include "main.h"

namespace {

const QString kBuildVersion = QStringLiteral(TALLYVANE_BUILD_VERSION);

TEST(ShownVersion, BuildVersionExtendsTheProjectVersion) {
  // The release letter follows the project's numeric version.
  EXPECT_TRUE(kBuildVersion.startsWith(QStringLiteral(TALLYVANE_PROJECT_VERSION) + QStringLiteral("a")));
}

TEST(ShownVersion, CaptionAndAboutBoxShowTheBuildVersion) {
  TProgramWindows windows;
  EXPECT_EQ(windows.MainForm().windowTitle(), QStringLiteral(" Tallyvane v") + kBuildVersion);
  EXPECT_EQ(windows.AboutBox().Version->text(), QStringLiteral("Version ") + kBuildVersion);
  EXPECT_EQ(WindowCaption(), windows.MainForm().windowTitle());
}

TEST(ShownVersion, ApplicationIdIsTheDesktopEntryName) {
  EXPECT_EQ(ApplicationId(), QStringLiteral(TALLYVANE_BUILD_APP_ID));
}

}  // namespace
