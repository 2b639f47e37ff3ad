// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// A windowless-looking text label used as a flat push button: the caption glows in
// a highlight colour while the pointer is over it, shifts while a button is held on
// it, and raises OnClick when the button is released over it. The caption can be
// drawn at any angle.
#include <QAccessible>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "tallyvane_controls_export.h"
#include "Graphics.h"

class QPainter;
class TAboutProperty;

using TNotifyEvent = std::function<void(QObject* Sender)>;

class TALLYVANE_CONTROLS_EXPORT TQVXFlashLabel : public QWidget {
  Q_OBJECT
  // Published order matters for stored descriptions.
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(uint32_t HighlightColor READ HighlightColor WRITE SetHighlightColor)
  Q_PROPERTY(bool Hover READ Hover WRITE SetHover)
  Q_PROPERTY(bool MouseIsDown READ MouseIsDown WRITE SetMouseIsDown)
  Q_PROPERTY(uint32_t NormalColor READ NormalColor WRITE SetNormalColor)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(int TextAngle READ TextAngle WRITE SetTextAngle)
  Q_PROPERTY(uint32_t Color READ Color WRITE SetColor)
  // The label's font, one attribute each so a form can set them; every one of
  // them is a font change (NormalColor follows FontColor).
  Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
  Q_PROPERTY(int FontHeight READ FontHeight WRITE SetFontHeight)
  Q_PROPERTY(int FontStyle READ FontStyle WRITE SetFontStyle)
  Q_PROPERTY(uint32_t FontColor READ FontColor WRITE SetFontColor)
  // The hint is the widget's tool tip.
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  // Design-time only: a form designer shows "(about)" here; never stored. The
  // setter discards what it is given (Designer lists only writable properties),
  // so the value stays read-only.
  Q_PROPERTY(QString About READ AboutText WRITE SetAboutText STORED false)

 public:
  explicit TQVXFlashLabel(QWidget* parent = nullptr);
  ~TQVXFlashLabel() override;

  // Design-time holder of the About property; never used at run time.
  TAboutProperty* About() const { return About_; }
  // The About property's value text, as its editor gives it.
  QString AboutText() const;
  void SetAboutText(const QString&) {}

  QString Caption() const { return Caption_; }
  void SetCaption(const QString& value);
  TColor HighlightColor() const { return HighlightColor_; }
  void SetHighlightColor(TColor value);
  bool Hover() const { return Hover_; }
  void SetHover(bool value);
  bool MouseIsDown() const { return MouseIsDown_; }
  void SetMouseIsDown(bool value);
  TColor NormalColor() const { return NormalColor_; }
  void SetNormalColor(TColor value);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool value);
  int TextAngle() const { return TextAngle_; }
  void SetTextAngle(int value);
  TColor Color() const { return Color_; }
  void SetColor(TColor value);

  // The label's font (name, height, style, colour). Changing any attribute, or
  // assigning a whole font, is a font change: NormalColor := Font().Color().
  TFont& Font() { return Font_; }
  const TFont& Font() const { return Font_; }
  void SetFont(const TFont& value) { Font_.Assign(value); }
  QString FontName() const { return Font_.Name(); }
  void SetFontName(const QString& value) { Font_.SetName(value); }
  int FontHeight() const { return Font_.Height(); }
  void SetFontHeight(int value) { Font_.SetHeight(value); }
  int FontStyle() const { return Font_.Style(); }
  void SetFontStyle(int value) { Font_.SetStyle(static_cast<TFontStyles>(value)); }
  TColor FontColor() const { return Font_.Color(); }
  void SetFontColor(TColor value) { Font_.SetColor(value); }

  QString Hint() const { return toolTip(); }
  void SetHint(const QString& value);

  const TNotifyEvent& OnClick() const { return OnClick_; }
  void SetOnClick(TNotifyEvent value) { OnClick_ = std::move(value); }
  const TNotifyEvent& OnMouseEnter() const { return OnMouseEnter_; }
  void SetOnMouseEnter(TNotifyEvent value) { OnMouseEnter_ = std::move(value); }
  const TNotifyEvent& OnMouseExit() const { return OnMouseExit_; }
  void SetOnMouseExit(TNotifyEvent value) { OnMouseExit_ = std::move(value); }

  // The base control's own mouse-down/up events, raised by its mouse handling
  // after the label's (not published; lets callers observe the order).
  void SetOnMouseDown(TNotifyEvent value) { OnMouseDown_ = std::move(value); }
  void SetOnMouseUp(TNotifyEvent value) { OnMouseUp_ = std::move(value); }

  // Number of repaints requested since construction.
  int RepaintCount() const { return RepaintCount_; }

  // Draws the whole label onto a painter whose origin is the label's top-left.
  void Paint(QPainter& painter);
  // Draws the caption once, centred and rotated, shifted by offset pixels.
  void DrawCaptionAt(QPainter& painter, const TFont& drawingFont, int offset);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Repaint();
  void FontChanged();
  void MouseEntered();
  void MouseLeft();
  // Raises OnClick; shared by the mouse release and the assistive "Press" action.
  void Click();
  // Tells assistive technology, when any is listening, that the name or description changed.
  void NotifyAccessibility(QAccessible::Event what);

  friend class TQVXFlashLabelAccessible;

  TAboutProperty* About_ = nullptr;
  QString Caption_;
  TColor HighlightColor_;
  bool Hover_ = false;
  bool MouseIsDown_ = false;
  TColor NormalColor_;
  bool Transparent_ = false;
  TNotifyEvent OnClick_;
  TNotifyEvent OnMouseEnter_;
  TNotifyEvent OnMouseExit_;
  int TextAngle_ = 0;
  TColor Color_ = clWindow;
  TFont Font_;
  TNotifyEvent OnMouseDown_;
  TNotifyEvent OnMouseUp_;
  int RepaintCount_ = 0;
  // Where the pointer was last seen. Kept apart from Hover, which is a settable
  // published value, so that every crossing raises its event whatever Hover holds.
  bool PointerInside_ = false;
};
