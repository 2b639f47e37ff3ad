// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "QVXFlashLabel.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "PropertyWrites.h"
#include "QVXAbout.h"
#include "QVXFlashLabelAccessible.h"

TQVXFlashLabel::TQVXFlashLabel(QWidget* parent)
    : QWidget(parent), Caption_(QStringLiteral("Caption")), HighlightColor_(clYellow), NormalColor_(clBlack) {
  resize(45, 18);
  // A flat command: never takes the keyboard focus, and lets the parent show through
  // where nothing is painted.
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover, false);
  setAutoFillBackground(false);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setFont(Font_.ToQFont());
  Font_.OnChange = [this] { FontChanged(); };
  // Assistive technology sees the label as a push button it can press.
  TQVXFlashLabelAccessible::Install();
}

TQVXFlashLabel::~TQVXFlashLabel() { Font_.OnChange = nullptr; }

void TQVXFlashLabel::Repaint() {
  ++RepaintCount_;
  update();
}

void TQVXFlashLabel::SetCaption(const QString& value) {
  if (Caption_ == value) return;
  Caption_ = value;
  Repaint();
  NotifyAccessibility(QAccessible::NameChanged);
}

void TQVXFlashLabel::SetHint(const QString& value) {
  if (toolTip() == value) return;
  setToolTip(value);
  NotifyAccessibility(QAccessible::DescriptionChanged);
}

void TQVXFlashLabel::NotifyAccessibility(QAccessible::Event what) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(this, what);
  QAccessible::updateAccessibility(&event);
}

void TQVXFlashLabel::SetHighlightColor(TColor value) {
  if (HighlightColor_ == value) return;
  HighlightColor_ = value;
  Repaint();
}

void TQVXFlashLabel::SetHover(bool value) {
  if (Hover_ == value) return;
  Hover_ = value;
  Repaint();
}

void TQVXFlashLabel::SetMouseIsDown(bool value) {
  if (MouseIsDown_ == value) return;
  MouseIsDown_ = value;
  Repaint();
}

void TQVXFlashLabel::SetNormalColor(TColor value) {
  if (NormalColor_ == value) return;
  NormalColor_ = value;
  Repaint();
}

void TQVXFlashLabel::SetTransparent(bool value) {
  if (Transparent_ == value) return;
  Transparent_ = value;
  Repaint();
}

void TQVXFlashLabel::SetTextAngle(int value) {
  // Always repainted, even for the same angle.
  TextAngle_ = value;
  Repaint();
}

void TQVXFlashLabel::SetColor(TColor value) {
  if (Color_ == value) return;
  Color_ = value;
  Repaint();
}

void TQVXFlashLabel::FontChanged() {
  // Also runs while the label is loaded from its form, so the caption colour
  // follows the stored font colour.
  setFont(Font_.ToQFont());
  SetNormalColor(Font_.Color());
  Repaint();
}

void TQVXFlashLabel::MouseEntered() {
  PointerInside_ = true;
  Hover_ = true;
  Repaint();
  if (OnMouseEnter_) OnMouseEnter_(this);
}

void TQVXFlashLabel::MouseLeft() {
  PointerInside_ = false;
  Hover_ = false;
  Repaint();
  if (OnMouseExit_) OnMouseExit_(this);
}

void TQVXFlashLabel::Click() {
  if (OnClick_) OnClick_(this);
}

// Qt holds enter and leave back while a button is held (implicit grab) and sends
// them after the release. The label produces one notification per crossing from
// whichever arrives first: the enter/leave events, the moves during a press, or the
// position of the press and the release. PointerInside_ records which side the
// pointer was last seen on.
void TQVXFlashLabel::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (!PointerInside_) MouseEntered();
}

void TQVXFlashLabel::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (PointerInside_) MouseLeft();
}

void TQVXFlashLabel::mouseMoveEvent(QMouseEvent* event) {
  const bool inside = rect().contains(event->position().toPoint());
  if (inside != PointerInside_) inside ? MouseEntered() : MouseLeft();
  QWidget::mouseMoveEvent(event);
}

void TQVXFlashLabel::mousePressEvent(QMouseEvent* event) {
  // A press on the label means the pointer is over it, even if the enter
  // notification has not come yet.
  if (!PointerInside_ && rect().contains(event->position().toPoint())) MouseEntered();
  MouseIsDown_ = true;
  Repaint();
  if (OnMouseDown_) OnMouseDown_(this);
  QWidget::mousePressEvent(event);
}

void TQVXFlashLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press like any other.
  mousePressEvent(event);
}

void TQVXFlashLabel::mouseReleaseEvent(QMouseEvent* event) {
  // Released off the label: the pointer has left it, so no click, even if a
  // program set Hover meanwhile.
  const bool inside = rect().contains(event->position().toPoint());
  if (PointerInside_ && !inside) MouseLeft();
  MouseIsDown_ = false;
  Repaint();
  if (Hover_ && inside) Click();
  if (OnMouseUp_) OnMouseUp_(this);
  QWidget::mouseReleaseEvent(event);
}

void TQVXFlashLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void TQVXFlashLabel::Paint(QPainter& painter) {
  const QRect r(0, 0, width(), height());
  TFont drawingFont;
  drawingFont.Assign(Font_);
  if (!Transparent_) painter.fillRect(r, ToQColor(Color_));
  if (Hover_) {
    drawingFont.SetColor(HighlightColor_);
    if (MouseIsDown_) {
      DrawCaptionAt(painter, drawingFont, 2);
      DrawCaptionAt(painter, drawingFont, 4);
    } else {
      DrawCaptionAt(painter, drawingFont, 0);
      DrawCaptionAt(painter, drawingFont, 2);
    }
  }
  drawingFont.SetColor(NormalColor_);
  DrawCaptionAt(painter, drawingFont, MouseIsDown_ ? 3 : 1);
}

void TQVXFlashLabel::DrawCaptionAt(QPainter& painter, const TFont& drawingFont, int offset) {
  const QFont font = drawingFont.ToQFont();
  const QFontMetrics metrics(font);
  const double a = TextAngle_ * std::numbers::pi * (1.0 / 180.0);
  const double c = std::cos(a);
  const double s = std::sin(a);
  // Extents along and across the baseline.
  const int w = metrics.horizontalAdvance(Caption_);
  const int h = metrics.height();
  const int x = width() / 2 - static_cast<int>(std::trunc(w * 0.5 * c)) - static_cast<int>(std::trunc(h * 0.5 * s));
  const int y = height() / 2 + static_cast<int>(std::trunc(w * 0.5 * s)) - static_cast<int>(std::trunc(h * 0.5 * c));

  painter.save();
  // The start point is the top-left of the unrotated text box; the text turns
  // counter-clockwise about it.
  painter.translate(x + offset, y + offset);
  painter.rotate(-static_cast<double>(TextAngle_ % 360));
  if (!Transparent_) painter.fillRect(QRect(0, 0, w, h), ToQColor(Color_));
  painter.setFont(font);
  painter.setPen(ToQColor(drawingFont.Color()));
  painter.drawText(QPoint(0, metrics.ascent()), Caption_);
  painter.restore();
}

QString TQVXFlashLabel::AboutText() const { return TAboutProperty().GetValue(); }

// The WRITE accessors of the Qt properties (see PropertyWrites.h).
void TQVXFlashLabel::PropertySetCaption(const QString& v) {
  GuardedPropertyWrite(this, "Caption", [&] { SetCaption(v); });
}

void TQVXFlashLabel::PropertySetHighlightColor(uint32_t v) {
  GuardedPropertyWrite(this, "HighlightColor", [&] { SetHighlightColor(v); });
}

void TQVXFlashLabel::PropertySetHover(bool v) {
  GuardedPropertyWrite(this, "Hover", [&] { SetHover(v); });
}

void TQVXFlashLabel::PropertySetMouseIsDown(bool v) {
  GuardedPropertyWrite(this, "MouseIsDown", [&] { SetMouseIsDown(v); });
}

void TQVXFlashLabel::PropertySetNormalColor(uint32_t v) {
  GuardedPropertyWrite(this, "NormalColor", [&] { SetNormalColor(v); });
}

void TQVXFlashLabel::PropertySetTransparent(bool v) {
  GuardedPropertyWrite(this, "Transparent", [&] { SetTransparent(v); });
}

void TQVXFlashLabel::PropertySetTextAngle(int v) {
  GuardedPropertyWrite(this, "TextAngle", [&] { SetTextAngle(v); });
}

void TQVXFlashLabel::PropertySetColor(uint32_t v) {
  GuardedPropertyWrite(this, "Color", [&] { SetColor(v); });
}

void TQVXFlashLabel::PropertySetFontName(const QString& v) {
  GuardedPropertyWrite(this, "FontName", [&] { SetFontName(v); });
}

void TQVXFlashLabel::PropertySetFontHeight(int v) {
  GuardedPropertyWrite(this, "FontHeight", [&] { SetFontHeight(v); });
}

void TQVXFlashLabel::PropertySetFontStyle(int v) {
  GuardedPropertyWrite(this, "FontStyle", [&] { SetFontStyle(v); });
}

void TQVXFlashLabel::PropertySetFontColor(uint32_t v) {
  GuardedPropertyWrite(this, "FontColor", [&] { SetFontColor(v); });
}

void TQVXFlashLabel::PropertySetHint(const QString& v) {
  GuardedPropertyWrite(this, "Hint", [&] { SetHint(v); });
}
