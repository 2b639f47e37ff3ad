// The hover label: defaults, repaint requests, mouse notifications and drawing.
// Mouse input goes through the window system layer, as a real pointer's does, so
// Qt's implicit grab, enter/leave dispatch and double-click detection take part.
#define QTEST_QPA_MOUSE_HANDLING
#include <QImage>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <cmath>
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
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) names << QString::fromLatin1(meta.property(i).name());
  const QStringList expected{"Caption", "HighlightColor", "Hover", "MouseIsDown", "NormalColor", "Transparent",
                             "TextAngle", "Color"};
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

INSTANTIATE_TEST_SUITE_P(
    All, FlashLabelSetters,
    ::testing::Values(
        SetterCase{"Caption", [](auto& l) { l.SetCaption("Caption"); }, [](auto& l) { l.SetCaption("Print"); }, false},
        SetterCase{"HighlightColor", [](auto& l) { l.SetHighlightColor(clYellow); },
                   [](auto& l) { l.SetHighlightColor(clAqua); }, false},
        SetterCase{"Hover", [](auto& l) { l.SetHover(false); }, [](auto& l) { l.SetHover(true); }, false},
        SetterCase{"MouseIsDown", [](auto& l) { l.SetMouseIsDown(false); }, [](auto& l) { l.SetMouseIsDown(true); },
                   false},
        SetterCase{"NormalColor", [](auto& l) { l.SetNormalColor(clBlack); }, [](auto& l) { l.SetNormalColor(clRed); },
                   false},
        SetterCase{"Transparent", [](auto& l) { l.SetTransparent(false); }, [](auto& l) { l.SetTransparent(true); },
                   false},
        SetterCase{"TextAngle", [](auto& l) { l.SetTextAngle(0); }, [](auto& l) { l.SetTextAngle(90); }, true}),
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
 protected:
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

// ---- drawing -------------------------------------------------------------------

QImage Blank(QSize size, QColor colour) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// Bounding box of the pixels that differ from the background colour.
QRect InkBox(const QImage& image, QColor background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

// A pixel closer to this colour than to black, white or the other label colours.
bool IsNear(QColor pixel, QColor colour) {
  return std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
             std::abs(pixel.blue() - colour.blue()) <
         60;
}

void SetDrawingFont(TQVXFlashLabel& label) {
  TFont font;
  font.SetName(QStringLiteral("Arial"));
  font.SetHeight(-13);
  font.SetStyle(fsBold);
  font.SetColor(clBlack);
  label.SetFont(font);
}

QImage Render(TQVXFlashLabel& label, QColor background = Qt::white) {
  QImage image = Blank(label.size(), background);
  QPainter painter(&image);
  label.Paint(painter);
  return image;
}

struct StateCase {
  const char* name;
  bool hover;
  bool down;
  int textOffset;
};

class FlashLabelStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(FlashLabelStates, TextAndGlowSitAtTheirOffsets) {
  const StateCase& c = GetParam();
  TQVXFlashLabel label;
  label.resize(100, 30);
  SetDrawingFont(label);
  label.SetCaption(QStringLiteral("Calculate"));
  label.SetTransparent(true);
  label.SetHighlightColor(clAqua);

  // Reference: the caption alone at rest, whose ink sits at offset 1.
  const QRect rest = InkBox(Render(label), Qt::white);
  ASSERT_TRUE(rest.isValid());

  label.SetHover(c.hover);
  label.SetMouseIsDown(c.down);
  const QImage image = Render(label);
  const QRect ink = InkBox(image, Qt::white);
  const int shift = c.textOffset - 1;
  if (c.hover) {
    // Glow copies one pixel up-left and one down-right of the text.
    EXPECT_EQ(ink, rest.translated(shift, shift).adjusted(-1, -1, 1, 1));
    int highlight = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) highlight += IsNear(image.pixelColor(x, y), QColor(0, 255, 255));
    EXPECT_GT(highlight, 20);
  } else {
    EXPECT_EQ(ink, rest.translated(shift, shift));
  }
  // The normal-coloured ink is the caption at its offset.
  QRect black;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (IsNear(image.pixelColor(x, y), Qt::black)) black |= QRect(x, y, 1, 1);
  QRect restBlack;
  const QImage restImage = [&] {
    TQVXFlashLabel plain;
    plain.resize(100, 30);
    SetDrawingFont(plain);
    plain.SetCaption(QStringLiteral("Calculate"));
    plain.SetTransparent(true);
    return Render(plain);
  }();
  for (int y = 0; y < restImage.height(); ++y)
    for (int x = 0; x < restImage.width(); ++x)
      if (IsNear(restImage.pixelColor(x, y), Qt::black)) restBlack |= QRect(x, y, 1, 1);
  EXPECT_EQ(black, restBlack.translated(shift, shift));
}

INSTANTIATE_TEST_SUITE_P(All, FlashLabelStates,
                         ::testing::Values(StateCase{"Rest", false, false, 1}, StateCase{"Hover", true, false, 1},
                                           StateCase{"PressedOutside", false, true, 3},
                                           StateCase{"PressedHovering", true, true, 3}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(FlashLabelPaint, OpaqueLabelFillsItsRectangleWithColor) {
  TQVXFlashLabel label;
  label.SetColor(clSilver);
  const QImage image = Render(label, Qt::magenta);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(192, 192, 192));
  EXPECT_EQ(image.pixelColor(44, 17), QColor(192, 192, 192));
}

TEST(FlashLabelPaint, TransparentLabelLeavesTheBackground) {
  TQVXFlashLabel label;
  label.SetTransparent(true);
  const QImage image = Render(label, Qt::magenta);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));
  EXPECT_EQ(image.pixelColor(44, 17), QColor(Qt::magenta));
}

TEST(FlashLabelPaint, OpaqueTextBackgroundCoversTheGlowInsideTheTextBox) {
  TQVXFlashLabel label;
  label.resize(100, 30);
  SetDrawingFont(label);
  label.SetCaption(QStringLiteral("Calculate"));
  label.SetColor(clWhite);
  label.SetHighlightColor(clAqua);
  label.SetHover(true);
  const QImage image = Render(label, Qt::magenta);
  const QFontMetrics metrics(label.Font().ToQFont());
  const int w = metrics.horizontalAdvance(label.Caption());
  const int h = metrics.height();
  const QRect textBox(100 / 2 - int(w * 0.5) + 1, 30 / 2 - int(h * 0.5) + 1, w, h);
  for (int y = textBox.top(); y <= textBox.bottom(); ++y)
    for (int x = textBox.left(); x <= textBox.right(); ++x)
      ASSERT_FALSE(IsNear(image.pixelColor(x, y), QColor(0, 255, 255))) << x << "," << y;
}

// The text box that one caption drawing fills, found by drawing with an opaque
// brush colour onto a different background.
QRect FilledTextBox(TQVXFlashLabel& label, int offset) {
  QImage image = Blank(label.size(), Qt::white);
  QPainter painter(&image);
  TFont font;
  font.Assign(label.Font());
  font.SetColor(clSilver);  // text in the box's own colour: only the box shows
  label.DrawCaptionAt(painter, font, offset);
  painter.end();
  return InkBox(image, Qt::white);
}

struct BoxCase {
  int angle;
  int offset;
};

class FlashLabelStartPoint : public ::testing::TestWithParam<BoxCase> {};

TEST_P(FlashLabelStartPoint, TextBoxStartsAtTheCentringFormula) {
  const BoxCase& c = GetParam();
  TQVXFlashLabel label;
  label.resize(121, 101);
  SetDrawingFont(label);
  label.SetCaption(QStringLiteral("Calculate"));
  label.SetColor(clSilver);
  label.SetTextAngle(c.angle);
  const QFontMetrics metrics(label.Font().ToQFont());
  const int w = metrics.horizontalAdvance(label.Caption());
  const int h = metrics.height();
  const double a = c.angle * M_PI / 180.0;
  const int x = 121 / 2 - int(std::trunc(w * 0.5 * std::cos(a))) - int(std::trunc(h * 0.5 * std::sin(a)));
  const int y = 101 / 2 + int(std::trunc(w * 0.5 * std::sin(a))) - int(std::trunc(h * 0.5 * std::cos(a)));
  const int px = x + c.offset;
  const int py = y + c.offset;
  QRect expected;
  switch (((c.angle % 360) + 360) % 360) {
    case 0: expected = QRect(px, py, w, h); break;                      // along +x
    case 90: expected = QRect(px, py - w, h, w); break;                 // upwards, ascent side to the left
    case 180: expected = QRect(px - w, py - h, w, h); break;            // upside down
    case 270: expected = QRect(px - h, py, h, w); break;                // downwards
  }
  EXPECT_EQ(FilledTextBox(label, c.offset), expected);
}

INSTANTIATE_TEST_SUITE_P(Angles, FlashLabelStartPoint,
                         ::testing::Values(BoxCase{0, 1}, BoxCase{0, 3}, BoxCase{90, 1}, BoxCase{180, 1},
                                           BoxCase{270, 2}, BoxCase{-90, 1}, BoxCase{450, 1}, BoxCase{-270, 4},
                                           BoxCase{720, 0}),
                         [](const auto& p) {
                           return param_names::Join("Angle", param_names::Value(p.param.angle), "Offset",
                                                    param_names::Value(p.param.offset));
                         });

QPointF InkCentre(TQVXFlashLabel& label) {
  const QRect box = InkBox(Render(label), Qt::white);
  return QRectF(box).center();
}

class FlashLabelRotation : public ::testing::TestWithParam<int> {};

TEST_P(FlashLabelRotation, RotatedCaptionStaysCentred) {
  // The ink's offset from the centre turns with the text: the text box centre is
  // held at the control's centre (plus the one-pixel rest offset).
  TQVXFlashLabel label;
  label.resize(140, 140);
  SetDrawingFont(label);
  label.SetCaption(QStringLiteral("Calculate"));
  label.SetTransparent(true);
  const QPointF centre(70 + 1, 70 + 1);
  const QPointF d0 = InkCentre(label) - centre;
  label.SetTextAngle(GetParam());
  const QPointF actual = InkCentre(label) - centre;
  const double a = GetParam() * M_PI / 180.0;
  // Counter-clockwise on a screen whose y axis points down.
  const QPointF expected(d0.x() * std::cos(a) + d0.y() * std::sin(a), -d0.x() * std::sin(a) + d0.y() * std::cos(a));
  EXPECT_NEAR(actual.x(), expected.x(), 2.0);
  EXPECT_NEAR(actual.y(), expected.y(), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Angles, FlashLabelRotation, ::testing::Values(30, 90, -90, 180, 270, 450, -45),
                         [](const auto& p) { return param_names::Join("Angle", param_names::Value(p.param)); });

TEST(FlashLabelRotation, NinetyDrawsUpwards) {
  TQVXFlashLabel label;
  label.resize(140, 140);
  SetDrawingFont(label);
  label.SetCaption(QStringLiteral("Calculate"));
  label.SetTransparent(true);
  label.SetTextAngle(90);
  const QImage up = Render(label);
  const QRect box = InkBox(up, Qt::white);
  EXPECT_GT(box.height(), 2 * box.width());
  // The capital C starts the caption at the bottom.
  int bottomInk = 0, topInk = 0;
  for (int x = box.left(); x <= box.right(); ++x) {
    bottomInk += up.pixelColor(x, box.bottom()) != QColor(Qt::white);
    topInk += up.pixelColor(x, box.top()) != QColor(Qt::white);
  }
  EXPECT_GT(bottomInk + topInk, 0);
  label.SetTextAngle(450);
  EXPECT_EQ(Render(label), up);
  label.SetTextAngle(-270);
  EXPECT_EQ(Render(label), up);
}

}  // namespace
