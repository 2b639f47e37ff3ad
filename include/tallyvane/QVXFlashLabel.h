// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// A windowless-looking text label used as a flat push button: the caption glows in
/// a highlight colour while the pointer is over it, shifts while a button is held on
/// it, and raises OnClick when the button is released over it. The caption can be
/// drawn at any angle.
#include <QAccessible>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "tallyvane_controls_export.h"
#include "Graphics.h"

class QPainter;
class TAboutProperty;

/// The hover label: a caption that works as a flat command button.
///
/// The caption is drawn in NormalColor; while the pointer is over the label (Hover) a
/// glow in HighlightColor is drawn under it, and while a mouse button is held
/// (MouseIsDown) all of it shifts down and right. Releasing the button over the label
/// raises OnClick. The label never takes the keyboard focus; screen readers see a push
/// button named by the Caption, described by the Hint, with a "Press" action.
/// The accessor pairs below are also Qt properties of the same name, in this order
/// (for forms: `<property name="Caption" stdset="0">`); a write through them never
/// raises, a refused value is reported with qWarning.
class TALLYVANE_CONTROLS_EXPORT TQVXFlashLabel : public QWidget {
  Q_OBJECT
  // Published order matters for stored descriptions.
  Q_PROPERTY(QString Caption READ Caption WRITE PropertySetCaption)
  Q_PROPERTY(uint32_t HighlightColor READ HighlightColor WRITE PropertySetHighlightColor)
  Q_PROPERTY(bool Hover READ Hover WRITE PropertySetHover)
  Q_PROPERTY(bool MouseIsDown READ MouseIsDown WRITE PropertySetMouseIsDown)
  Q_PROPERTY(uint32_t NormalColor READ NormalColor WRITE PropertySetNormalColor)
  Q_PROPERTY(bool Transparent READ Transparent WRITE PropertySetTransparent)
  Q_PROPERTY(int TextAngle READ TextAngle WRITE PropertySetTextAngle)
  Q_PROPERTY(uint32_t Color READ Color WRITE PropertySetColor)
  // The label's font, one attribute each so a form can set them; every one of
  // them is a font change (NormalColor follows FontColor).
  Q_PROPERTY(QString FontName READ FontName WRITE PropertySetFontName)
  Q_PROPERTY(int FontHeight READ FontHeight WRITE PropertySetFontHeight)
  Q_PROPERTY(int FontStyle READ FontStyle WRITE PropertySetFontStyle)
  Q_PROPERTY(uint32_t FontColor READ FontColor WRITE PropertySetFontColor)
  // The hint is the widget's tool tip.
  Q_PROPERTY(QString Hint READ Hint WRITE PropertySetHint)
  // Design-time only: a form designer shows "(about)" here; never stored. The
  // setter discards what it is given (Designer lists only writable properties),
  // so the value stays read-only.
  Q_PROPERTY(QString About READ AboutText WRITE SetAboutText STORED false)

 public:
  /// A label 45 x 18 pixels with the caption "Caption", black on clWindow, clYellow glow.
  explicit TQVXFlashLabel(QWidget* parent = nullptr);
  ~TQVXFlashLabel() override;

  /// Design-time holder of the About property; never used at run time.
  TAboutProperty* About() const { return About_; }
  /// The About property's value text, as its editor gives it ("(about)").
  QString AboutText() const;
  /// Does nothing: the About property only looks writable to a form designer.
  void SetAboutText(const QString&) {}

  /// The text shown, centred ("Caption" by default); also the name screen readers read.
  QString Caption() const { return Caption_; }
  void SetCaption(const QString& value);  ///< Sets Caption (screen readers hear of it).
  /// The colour of the glow while the pointer is over the label (clYellow by default).
  TColor HighlightColor() const { return HighlightColor_; }
  void SetHighlightColor(TColor value);  ///< Sets HighlightColor.
  /// True while the pointer is over the label (the glow shows); the mouse sets it, a program may too.
  bool Hover() const { return Hover_; }
  void SetHover(bool value);  ///< Sets Hover.
  /// True while a mouse button is held on the label (the caption shifts); set by the mouse.
  bool MouseIsDown() const { return MouseIsDown_; }
  void SetMouseIsDown(bool value);  ///< Sets MouseIsDown.
  /// The caption's colour (clBlack by default); a font change sets it to the font's colour.
  TColor NormalColor() const { return NormalColor_; }
  void SetNormalColor(TColor value);  ///< Sets NormalColor.
  /// When true, no background is painted and the parent shows through (false by default).
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool value);  ///< Sets Transparent.
  /// The caption's angle in degrees, counter-clockwise about the centre (0 by default).
  int TextAngle() const { return TextAngle_; }
  void SetTextAngle(int value);  ///< Sets TextAngle.
  /// The background colour, when not Transparent (clWindow by default).
  TColor Color() const { return Color_; }
  void SetColor(TColor value);  ///< Sets Color.

  /// The label's font (name, height, style, colour). Changing any attribute, or
  /// assigning a whole font, is a font change: NormalColor := Font().Color().
  TFont& Font() { return Font_; }
  const TFont& Font() const { return Font_; }                ///< The font, read-only.
  void SetFont(const TFont& value) { Font_.Assign(value); }  ///< Copies value into Font (a font change).
  /// The font's family name (a font change).
  QString FontName() const { return Font_.Name(); }
  void SetFontName(const QString& value) { Font_.SetName(value); }  ///< Sets FontName.
  /// The font's height in pixels, negative for the character height (a font change).
  int FontHeight() const { return Font_.Height(); }
  void SetFontHeight(int value) { Font_.SetHeight(value); }  ///< Sets FontHeight.
  /// The font's style bits, TFontStyle (a font change).
  int FontStyle() const { return Font_.Style(); }
  void SetFontStyle(int value) { Font_.SetStyle(static_cast<TFontStyles>(value)); }  ///< Sets FontStyle.
  /// The font's colour (a font change, so also the NormalColor).
  TColor FontColor() const { return Font_.Color(); }
  void SetFontColor(TColor value) { Font_.SetColor(value); }  ///< Sets FontColor.

  /// The hint: the widget's tool tip, and the description screen readers read.
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& value);  ///< Sets Hint (screen readers hear of it).

  /// Event: the label was clicked (a button released over it while Hover), or pressed
  /// by assistive technology. Sender is the label.
  const TNotifyEvent& OnClick() const { return OnClick_; }
  void SetOnClick(TNotifyEvent value) { OnClick_ = std::move(value); }  ///< Sets OnClick.
  /// Event: the pointer came over the label (Hover became true).
  const TNotifyEvent& OnMouseEnter() const { return OnMouseEnter_; }
  void SetOnMouseEnter(TNotifyEvent value) { OnMouseEnter_ = std::move(value); }  ///< Sets OnMouseEnter.
  /// Event: the pointer left the label (Hover became false).
  const TNotifyEvent& OnMouseExit() const { return OnMouseExit_; }
  void SetOnMouseExit(TNotifyEvent value) { OnMouseExit_ = std::move(value); }  ///< Sets OnMouseExit.

  /// The base control's own mouse-down/up events, raised by its mouse handling
  /// after the label's (not published; lets callers observe the order).
  void SetOnMouseDown(TNotifyEvent value) { OnMouseDown_ = std::move(value); }
  void SetOnMouseUp(TNotifyEvent value) { OnMouseUp_ = std::move(value); }  ///< Sets the mouse-up event.

  /// Number of repaints requested since construction.
  int RepaintCount() const { return RepaintCount_; }

  /// Draws the whole label onto a painter whose origin is the label's top-left.
  void Paint(QPainter& painter);
  /// Draws the caption once, centred and rotated, shifted by offset pixels.
  void DrawCaptionAt(QPainter& painter, const TFont& drawingFont, int offset);

 protected:
  void paintEvent(QPaintEvent* event) override;       ///< Paints the label (Paint).
  void enterEvent(QEnterEvent* event) override;       ///< The pointer came over: Hover, OnMouseEnter.
  void leaveEvent(QEvent* event) override;            ///< The pointer left: Hover off, OnMouseExit.
  void mousePressEvent(QMouseEvent* event) override;  ///< A button pressed: MouseIsDown, then the mouse-down event.
  void mouseDoubleClickEvent(
      QMouseEvent* event) override;                  ///< The second press of a double click, a press like any other.
  void mouseMoveEvent(QMouseEvent* event) override;  ///< Follows the pointer across the edge while a button is held.
  void mouseReleaseEvent(
      QMouseEvent* event) override;  ///< A button released: OnClick when over the label, then the mouse-up event.

 private:
  // The WRITE accessors of the Qt properties: the setters, with a refused value
  // left as it was and reported as a warning instead of an exception, which Qt
  // cannot carry through setProperty or a form.
  void PropertySetCaption(const QString& v);
  void PropertySetHighlightColor(uint32_t v);
  void PropertySetHover(bool v);
  void PropertySetMouseIsDown(bool v);
  void PropertySetNormalColor(uint32_t v);
  void PropertySetTransparent(bool v);
  void PropertySetTextAngle(int v);
  void PropertySetColor(uint32_t v);
  void PropertySetFontName(const QString& v);
  void PropertySetFontHeight(int v);
  void PropertySetFontStyle(int v);
  void PropertySetFontColor(uint32_t v);
  void PropertySetHint(const QString& v);
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
