// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The hover label as assistive technology sees it: a push button with one action.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <gtest/gtest.h>
#include <string>

#include "QVXFlashLabel.h"

namespace {

struct NameCase {
  const char* name;
  const char* caption;
  const char* expected;
};

class FlashLabelAccessibleName : public ::testing::TestWithParam<NameCase> {};

TEST_P(FlashLabelAccessibleName, IsTheCaptionWithoutItsBlanks) {
  TQVXFlashLabel label;
  label.SetCaption(QString::fromLatin1(GetParam().caption));
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&label);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(All, FlashLabelAccessibleName,
                         ::testing::Values(NameCase{"Plain", "Calculate", "Calculate"},
                                           NameCase{"PaddedBothSides", "  Print ", "Print"},
                                           NameCase{"InnerBlanksKept", " Loan  Help", "Loan  Help"},
                                           NameCase{"BlanksOnly", "   ", ""}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(FlashLabelAccessible, PushButtonDescribedByItsHintAndOutOfTheTabChain) {
  TQVXFlashLabel label;
  label.SetHint(QStringLiteral("Calculate table"));
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&label);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Button);
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Calculate table"));
  EXPECT_FALSE(iface->state().focusable);
  EXPECT_FALSE(iface->state().disabled);
  EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
  // Later changes show through the same interface.
  label.SetCaption(QStringLiteral("Print "));
  EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Print"));
}

TEST(FlashLabelAccessible, PressRaisesOneClickAndNothingElse) {
  TQVXFlashLabel label;
  int clicks = 0, enters = 0;
  QObject* sender = nullptr;
  label.SetOnClick([&](QObject* s) { ++clicks, sender = s; });
  label.SetOnMouseEnter([&](QObject*) { ++enters; });
  QAccessibleActionInterface* action = QAccessible::queryAccessibleInterface(&label)->actionInterface();
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  const int repaints = label.RepaintCount();
  action->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &label);
  action->doAction(QAccessibleActionInterface::setFocusAction());  // not offered: ignored
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(enters, 0);
  EXPECT_EQ(label.RepaintCount(), repaints);
  EXPECT_FALSE(label.Hover());
  EXPECT_FALSE(label.MouseIsDown());
}

TEST(FlashLabelAccessible, DisabledLabelIsUnavailableAndCannotBePressed) {
  TQVXFlashLabel label;
  int clicks = 0;
  label.SetOnClick([&](QObject*) { ++clicks; });
  label.setEnabled(false);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&label);
  EXPECT_TRUE(iface->state().disabled);
  EXPECT_TRUE(iface->actionInterface()->actionNames().isEmpty());
  iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 0);
  label.setEnabled(true);
  EXPECT_FALSE(iface->state().disabled);
  iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);
}

}  // namespace
