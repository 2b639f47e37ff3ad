// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The hover label's drawing: background, text and glow offsets, rotation.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "ParamNames.h"
#include "QVXFlashLabel.h"

namespace {

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
    case 0: expected = QRect(px, py, w, h); break;            // along +x
    case 90: expected = QRect(px, py - w, h, w); break;       // upwards, ascent side to the left
    case 180: expected = QRect(px - w, py - h, w, h); break;  // upside down
    case 270: expected = QRect(px - h, py, h, w); break;      // downwards
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
