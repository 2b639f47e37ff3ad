// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The hover label: defaults, repaint requests and mouse notifications.
// Mouse input goes through the window system layer, as a real pointer's does, so
// Qt's implicit grab, enter/leave dispatch and double-click detection take part.
#define QTEST_QPA_MOUSE_HANDLING
#include <QMetaProperty>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <tuple>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "QVXFlashLabel.h"
#include "ParamNames.h"

namespace {

TEST(FlashLabelDefaults, ConstructorSetsTheStatedValues) {
  TQVXFlashLabel label;
  EXPECT_EQ(label.Caption(), QStringLiteral("Caption"));
  EXPECT_EQ(label.HighlightColor(), clYellow);
  EXPECT_EQ(label.HighlightColor(), 65535u);
  EXPECT_FALSE(label.Hover());
  EXPECT_FALSE(label.MouseIsDown());
  EXPECT_EQ(label.NormalColor(), clBlack);
  EXPECT_FALSE(label.Transparent());
  EXPECT_EQ(label.TextAngle(), 0);
  EXPECT_EQ(label.Color(), clWindow);
  EXPECT_EQ(label.size(), QSize(45, 18));
  EXPECT_EQ(label.About(), nullptr);
  EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
  EXPECT_FALSE(label.OnClick());
  EXPECT_FALSE(label.OnMouseEnter());
  EXPECT_FALSE(label.OnMouseExit());
}

TEST(FlashLabelDefaults, PropertiesArePublishedInOrder) {
  const QMetaObject& meta = TQVXFlashLabel::staticMetaObject;
  QStringList names;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
    names << QString::fromLatin1(meta.property(i).name());
  const QStringList expected{"Caption",     "HighlightColor", "Hover",     "MouseIsDown",
                             "NormalColor", "Transparent",    "TextAngle", "Color"};
  ASSERT_GE(names.size(), expected.size());
  EXPECT_EQ(names.mid(0, expected.size()), expected);
}

// One setter, a value different from the default, and whether an equal value repaints.
struct SetterCase {
  const char* name;
  std::function<void(TQVXFlashLabel&)> setDefault;
  std::function<void(TQVXFlashLabel&)> setOther;
  bool equalRepaints;
};

class FlashLabelSetters : public ::testing::TestWithParam<SetterCase> {};

TEST_P(FlashLabelSetters, RepaintOnlyOnChange) {
  const SetterCase& c = GetParam();
  TQVXFlashLabel label;
  const int before = label.RepaintCount();
  c.setDefault(label);
  EXPECT_EQ(label.RepaintCount() - before, c.equalRepaints ? 1 : 0) << "equal value";
  c.setOther(label);
  EXPECT_EQ(label.RepaintCount() - before, c.equalRepaints ? 2 : 1) << "changed value";
  c.setOther(label);
  EXPECT_EQ(label.RepaintCount() - before, c.equalRepaints ? 3 : 1) << "same changed value again";
}

INSTANTIATE_TEST_SUITE_P(All, FlashLabelSetters,
                         ::testing::Values(SetterCase{"Caption", [](auto& l) { l.SetCaption("Caption"); },
                                                      [](auto& l) { l.SetCaption("Print"); }, false},
                                           SetterCase{"HighlightColor", [](auto& l) { l.SetHighlightColor(clYellow); },
                                                      [](auto& l) { l.SetHighlightColor(clAqua); }, false},
                                           SetterCase{"Hover", [](auto& l) { l.SetHover(false); },
                                                      [](auto& l) { l.SetHover(true); }, false},
                                           SetterCase{"MouseIsDown", [](auto& l) { l.SetMouseIsDown(false); },
                                                      [](auto& l) { l.SetMouseIsDown(true); }, false},
                                           SetterCase{"NormalColor", [](auto& l) { l.SetNormalColor(clBlack); },
                                                      [](auto& l) { l.SetNormalColor(clRed); }, false},
                                           SetterCase{"Transparent", [](auto& l) { l.SetTransparent(false); },
                                                      [](auto& l) { l.SetTransparent(true); }, false},
                                           SetterCase{"TextAngle", [](auto& l) { l.SetTextAngle(0); },
                                                      [](auto& l) { l.SetTextAngle(90); }, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(FlashLabelFont, FontColourChangeSetsNormalColor) {
  TQVXFlashLabel label;
  label.Font().SetColor(clRed);
  EXPECT_EQ(label.NormalColor(), clRed);
  // A later NormalColor wins until the next font change of any kind.
  label.SetNormalColor(clGreen);
  EXPECT_EQ(label.NormalColor(), clGreen);
  label.Font().SetHeight(-13);
  EXPECT_EQ(label.NormalColor(), clRed);
}

TEST(FlashLabelFont, FontChangeRequestsARepaint) {
  TQVXFlashLabel label;
  const int before = label.RepaintCount();
  label.Font().SetStyle(fsBold);  // colour unchanged, still repainted
  EXPECT_GT(label.RepaintCount(), before);
  EXPECT_TRUE(label.font().bold());
}

TEST(FlashLabelFont, AssigningAWholeFontIsAFontChange) {
  TQVXFlashLabel label;
  TFont font;
  font.SetName(QStringLiteral("Arial"));
  font.SetHeight(-13);
  font.SetColor(clNavy);
  label.SetFont(font);
  EXPECT_EQ(label.NormalColor(), clNavy);
  EXPECT_EQ(label.Font().Height(), -13);
  EXPECT_EQ(label.font().pixelSize(), 13);
}

TEST(FlashLabelFont, FormPropertiesReachTheSetters) {
  // As a compiled form sets them: unsigned colour values, font attributes one by one.
  TQVXFlashLabel label;
  ASSERT_TRUE(label.setProperty("NormalColor", QVariant(2147483656u)));
  ASSERT_TRUE(label.setProperty("HighlightColor", QVariant(16776960u)));
  ASSERT_TRUE(label.setProperty("Transparent", QVariant(true)));
  ASSERT_TRUE(label.setProperty("Caption", QVariant(QStringLiteral("Calculate"))));
  ASSERT_TRUE(label.setProperty("FontName", QVariant(QStringLiteral("MS Sans Serif"))));
  ASSERT_TRUE(label.setProperty("FontHeight", QVariant(-13)));
  ASSERT_TRUE(label.setProperty("FontStyle", QVariant(int(fsBold))));
  ASSERT_TRUE(label.setProperty("FontColor", QVariant(uint(clMaroon))));
  ASSERT_TRUE(label.setProperty("Hint", QVariant(QStringLiteral("Calculate table"))));
  EXPECT_EQ(label.NormalColor(), clMaroon);  // the font came after NormalColor
  EXPECT_EQ(label.HighlightColor(), clAqua);
  EXPECT_TRUE(label.Transparent());
  EXPECT_EQ(label.Caption(), QStringLiteral("Calculate"));
  EXPECT_EQ(label.Font().Style(), fsBold);
  EXPECT_EQ(label.toolTip(), QStringLiteral("Calculate table"));
}

// ---- mouse notifications -------------------------------------------------------

class FlashLabelMouse : public ::testing::Test {
 public:
  void SetUp() override {
    host = std::make_unique<QWidget>();
    host->resize(200, 100);
    label = new TQVXFlashLabel(host.get());
    label->setGeometry(20, 20, 73, 17);
    label->SetCaption(QStringLiteral("Calculate"));
    label->SetOnMouseEnter([this](QObject* s) { Record("enter", s); });
    label->SetOnMouseExit([this](QObject* s) { Record("exit", s); });
    label->SetOnClick([this](QObject* s) {
      Record("click", s);
      clickSawDown = label->MouseIsDown();
      clickRepaints = label->RepaintCount();
    });
    label->SetOnMouseDown([this](QObject*) {
      log.push_back("base-down");
      downRepaints = label->RepaintCount();
    });
    label->SetOnMouseUp([this](QObject*) { log.push_back("base-up"); });
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    QTest::mouseMove(host.get(), QPoint(150, 80));
    QCoreApplication::processEvents();
    log.clear();
  }
  void TearDown() override { host.reset(); }

  void Record(const char* what, QObject* sender) {
    EXPECT_EQ(sender, label) << what;
    log.push_back(what);
  }
  void MoveInto() {
    QTest::mouseMove(host.get(), QPoint(50, 28));
    QCoreApplication::processEvents();
  }

  std::unique_ptr<QWidget> host;
  TQVXFlashLabel* label = nullptr;
  std::vector<std::string> log;
  bool clickSawDown = true;
  int clickRepaints = -1;
  int downRepaints = -1;
};

using Log = std::vector<std::string>;

TEST_F(FlashLabelMouse, EnterAndLeaveRaiseTheirEventsOnce) {
  MoveInto();
  EXPECT_TRUE(label->Hover());
  QTest::mouseMove(host.get(), QPoint(60, 30));  // still inside
  QTest::mouseMove(host.get(), QPoint(150, 80));
  QCoreApplication::processEvents();
  EXPECT_FALSE(label->Hover());
  EXPECT_EQ(log, (Log{"enter", "exit"}));
}

TEST_F(FlashLabelMouse, HoverAloneRaisesNoClick) {
  MoveInto();
  EXPECT_EQ(log, (Log{"enter"}));
}

TEST_F(FlashLabelMouse, ClickComesAfterTheRepaintAndBeforeTheBaseMouseUp) {
  MoveInto();
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(30, 8));
  EXPECT_TRUE(label->MouseIsDown());
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(30, 8));
  EXPECT_FALSE(label->MouseIsDown());
  EXPECT_EQ(log, (Log{"enter", "base-down", "click", "base-up"}));
  EXPECT_FALSE(clickSawDown);
  EXPECT_EQ(clickRepaints, downRepaints + 1);
}

TEST_F(FlashLabelMouse, PressDragOffReleaseGivesExitAndNoClick) {
  MoveInto();
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(30, 8));
  QTest::mouseMove(host.get(), QPoint(150, 80));
  QTest::mouseRelease(host.get(), Qt::LeftButton, {}, QPoint(150, 80));
  QCoreApplication::processEvents();
  EXPECT_EQ(log, (Log{"enter", "base-down", "exit", "base-up"}));
  EXPECT_FALSE(label->Hover());
  EXPECT_FALSE(label->MouseIsDown());
}

TEST_F(FlashLabelMouse, ReleaseOutsideWithoutAMoveGivesNoClick) {
  // The pointer position of the release decides, even when no move was reported.
  MoveInto();
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(30, 8));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(130, 60));
  QCoreApplication::processEvents();
  EXPECT_EQ(log, (Log{"enter", "base-down", "exit", "base-up"}));
}

TEST_F(FlashLabelMouse, DraggingBackOnBeforeReleaseClicks) {
  MoveInto();
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(30, 8));
  QTest::mouseMove(host.get(), QPoint(150, 80));
  QTest::mouseMove(host.get(), QPoint(50, 28));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(30, 8));
  QCoreApplication::processEvents();
  EXPECT_EQ(log, (Log{"enter", "base-down", "exit", "enter", "click", "base-up"}));
}

TEST_F(FlashLabelMouse, RightAndMiddleButtonsClickToo) {
  MoveInto();
  QTest::mouseClick(label, Qt::RightButton, {}, QPoint(30, 8));
  QTest::mouseClick(label, Qt::MiddleButton, Qt::ShiftModifier, QPoint(30, 8));
  const auto clicks = std::count(log.begin(), log.end(), "click");
  EXPECT_EQ(clicks, 2);
}

TEST_F(FlashLabelMouse, DoubleClickGivesTwoClicks) {
  MoveInto();
  QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(30, 8));
  QCoreApplication::processEvents();
  const auto clicks = std::count(log.begin(), log.end(), "click");
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(label->MouseIsDown());
}

TEST_F(FlashLabelMouse, PressWithoutEnterNoticeStillClicks) {
  // The enter notice can lag behind a press; a press on the label means the pointer is on it.
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(30, 8));
  QCoreApplication::processEvents();
  EXPECT_EQ(std::count(log.begin(), log.end(), "click"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "enter"), 1);
}

TEST_F(FlashLabelMouse, LateLeaveAfterAReleaseOutsideIsNotASecondExit) {
  // Events delivered straight to the label: no enter notice before the press, and
  // Qt's held-back leave arriving after the release.
  auto send = [this](QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, label->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(label, &event);
  };
  send(QEvent::MouseButtonPress, QPoint(30, 8), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, QPoint(120, 50), Qt::NoButton);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(label, &leave);
  EXPECT_EQ(log, (Log{"enter", "base-down", "exit", "base-up"}));
}

// Every crossing raises its event whatever Hover was set to beforehand: Hover is a
// published, settable value and does not record where the pointer is.
struct CrossingCase {
  const char* name;
  bool startInside;
  std::function<void(FlashLabelMouse&)> act;
  Log expected[2];                 // with Hover preset false, true
  std::optional<bool> hoverAfter;  // none: Hover keeps its preset value
};
void PrintTo(const CrossingCase& c, std::ostream* os) { *os << c.name; }

class FlashLabelCrossings : public FlashLabelMouse,
                            public ::testing::WithParamInterface<std::tuple<CrossingCase, bool>> {};

TEST_P(FlashLabelCrossings, EveryCrossingRaisesItsEvent) {
  const auto& [c, preset] = GetParam();
  if (c.startInside) MoveInto();
  log.clear();
  label->SetHover(preset);
  c.act(*this);
  QCoreApplication::processEvents();
  EXPECT_EQ(log, c.expected[preset]);
  EXPECT_EQ(label->Hover(), c.hoverAfter.value_or(preset));
  EXPECT_FALSE(label->MouseIsDown());
}

const QPoint kOutside(150, 80);
const QPoint kOnLabel(30, 8);

INSTANTIATE_TEST_SUITE_P(
    All, FlashLabelCrossings,
    ::testing::
        Combine(
            ::testing::
                Values(CrossingCase{"Enter",
                                    false,
                                    [](auto& fixture) { fixture.MoveInto(); },
                                    {{"enter"}, {"enter"}},
                                    true},
                       CrossingCase{"Leave",
                                    true,
                                    [](auto& fixture) { QTest::mouseMove(fixture.host.get(), kOutside); },
                                    {{"exit"}, {"exit"}},
                                    false},
                       // Already inside: no second enter; the click follows the published Hover.
                       CrossingCase{
                           "ClickInside",
                           true,
                           [](auto& fixture) { QTest::mouseClick(fixture.label, Qt::LeftButton, {}, kOnLabel); },
                           {{"base-down", "base-up"}, {"base-down", "click", "base-up"}},
                           std::nullopt},
                       CrossingCase{
                           "DragOffAndRelease",
                           true,
                           [](auto& fixture) {
                             QTest::mousePress(fixture.label, Qt::LeftButton, {}, kOnLabel);
                             QTest::mouseMove(fixture.host.get(), kOutside);
                             QTest::mouseRelease(fixture.host.get(), Qt::LeftButton, {}, kOutside);
                           },
                           {{"base-down", "exit", "base-up"}, {"base-down", "exit", "base-up"}},
                           false},
                       CrossingCase{
                           "DragOffAndBack",
                           true,
                           [](auto& fixture) {
                             QTest::mousePress(fixture.label, Qt::LeftButton, {}, kOnLabel);
                             QTest::mouseMove(fixture.host.get(), kOutside);
                             fixture.MoveInto();
                             QTest::mouseRelease(fixture.label, Qt::LeftButton, {}, kOnLabel);
                           },
                           {{"base-down", "exit", "enter", "click", "base-up"},
                            {"base-down", "exit", "enter", "click", "base-up"}},
                           true},
                       CrossingCase{
                           "ClickFromOutside",
                           false,
                           [](auto& fixture) { QTest::mouseClick(fixture.label, Qt::LeftButton, {}, kOnLabel); },
                           {{"enter", "base-down", "click", "base-up"}, {"enter", "base-down", "click", "base-up"}},
                           true}),
            ::testing::Bool()),
    [](const auto& p) {
      return std::string(std::get<0>(p.param).name) + (std::get<1>(p.param) ? "_HoverTrue" : "_HoverFalse");
    });

}  // namespace
