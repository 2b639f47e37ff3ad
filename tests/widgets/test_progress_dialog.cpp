// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The print progress dialog: its form layout and the keys that press Cancel.
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "PgPrnPrg.h"
#include "ParamNames.h"

namespace {

TEST(ProgressDialog, FormHasItsCaptionAndFixedClientSize) {
  TPPPrnPrgDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print Progress"));
  EXPECT_EQ(dialog.size(), QSize(293, 133));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // fixed dialog frame
  EXPECT_FALSE(dialog.isModal());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

struct ControlCase {
  const char* name;
  QRect geometry;
};

class ProgressDialogLayout : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ProgressDialogLayout, ControlSitsWhereTheFormPutsIt) {
  TPPPrnPrgDlg dialog;
  QWidget* control = dialog.findChild<QWidget*>(QString::fromLatin1(GetParam().name));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->geometry(), GetParam().geometry);
}

INSTANTIATE_TEST_SUITE_P(Form, ProgressDialogLayout,
                         ::testing::Values(ControlCase{"Bevel", QRect(8, 8, 277, 57)},
                                           ControlCase{"lblStatus", QRect(20, 20, 249, 13)},
                                           ControlCase{"lblPageNumber", QRect(20, 40, 253, 13)},
                                           ControlCase{"ProgBar", QRect(8, 76, 277, 13)},
                                           ControlCase{"btnCancel", QRect(109, 100, 75, 25)}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ProgressDialog, ControlsAreSetUpAsTheFormSays) {
  TPPPrnPrgDlg dialog;
  EXPECT_EQ(dialog.Bevel->frameShape(), QFrame::Box);
  EXPECT_TRUE(dialog.lblStatus->alignment() & Qt::AlignHCenter);
  EXPECT_TRUE(dialog.lblPageNumber->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(dialog.ProgBar->minimum(), 0);
  EXPECT_EQ(dialog.ProgBar->maximum(), 10);
  EXPECT_EQ(dialog.ProgBar->value(), 0);
  EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("&Cancel"));
  EXPECT_TRUE(dialog.btnCancel->isDefault());
  EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(dialog.font().pixelSize(), 11);  // height -11 at the layout's 96 pixels per inch
  EXPECT_EQ(dialog.lblStatus->font().pixelSize(), 11);
}

TEST(ProgressDialog, StepItAdvancesByOne) {
  TPPPrnPrgDlg dialog;
  dialog.ProgBar->setMaximum(3);
  dialog.StepIt();
  dialog.StepIt();
  EXPECT_EQ(dialog.ProgBar->value(), 2);
}

class ProgressDialogKeys : public ::testing::TestWithParam<Qt::Key> {};

TEST_P(ProgressDialogKeys, KeyPressesCancelAndKeepsTheDialogOpen) {
  TPPPrnPrgDlg dialog;
  dialog.show();
  QSignalSpy clicked(dialog.btnCancel, &QPushButton::clicked);
  QTest::keyClick(&dialog, GetParam());
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_TRUE(dialog.isVisible());  // only its owner closes it
}

TEST_P(ProgressDialogKeys, KeyDoesNothingWithoutTheButton) {
  TPPPrnPrgDlg dialog;
  dialog.btnCancel->setEnabled(false);
  dialog.btnCancel->hide();
  dialog.show();
  QSignalSpy clicked(dialog.btnCancel, &QPushButton::clicked);
  QTest::keyClick(&dialog, GetParam());
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, ProgressDialogKeys, ::testing::Values(Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter),
                         [](const auto& p) {
                           return param_names::Words(QKeySequence(p.param).toString().toStdString());
                         });

TEST(ProgressDialog, MouseClickOnCancelDoesNotCloseTheDialog) {
  TPPPrnPrgDlg dialog;
  dialog.show();
  QSignalSpy clicked(dialog.btnCancel, &QPushButton::clicked);
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_TRUE(dialog.isVisible());
}

}  // namespace

namespace {

// The owner closes the dialog at the end of a run; that must not count as a Cancel.
TEST(ProgressDialog, CloseFromCodeDoesNotPressCancel) {
  TPPPrnPrgDlg dialog;
  dialog.show();
  QSignalSpy clicked(dialog.btnCancel, &QPushButton::clicked);
  dialog.close();
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
