// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PgPrnPrg.h"

#include <QGuiApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "ui_PgPrnPrg.h"

TPPPrnPrgDlg::TPPPrnPrgDlg(QWidget* parent) : QDialog(parent), ui_(new Ui::TPPPrnPrgDlg) {
  ui_->setupUi(this);
  Bevel = ui_->Bevel;
  lblStatus = ui_->lblStatus;
  lblPageNumber = ui_->lblPageNumber;
  ProgBar = ui_->ProgBar;
  btnCancel = ui_->btnCancel;
  // The layout is in pixels at 96 pixels per inch, so the form's 8-point font is
  // given as the 11 pixels it has there, whatever the screen's resolution.
  QFont formFont = font();
  formFont.setPixelSize(11);
  setFont(formFont);
  // A fixed dialog frame with a caption only: no system menu, no close, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());
  CenterOnScreen();
}

void TPPPrnPrgDlg::CenterOnScreen() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

TPPPrnPrgDlg::~TPPPrnPrgDlg() { delete ui_; }

void TPPPrnPrgDlg::StepIt() {
  int next = ProgBar->value() < ProgBar->minimum() ? ProgBar->minimum() + 1 : ProgBar->value() + 1;
  // The bar starts over once it has passed its maximum.
  if (next > ProgBar->maximum()) next = ProgBar->minimum() + (next - ProgBar->maximum());
  ProgBar->setValue(next);
}

void TPPPrnPrgDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (btnCancel->isVisible() && btnCancel->isEnabled()) btnCancel->click();
        event->accept();
        return;
      }
      break;
    default: break;
  }
  QDialog::keyPressEvent(event);
}

// The dialog is closed only by its owner when the run ends.
void TPPPrnPrgDlg::reject() {
  if (btnCancel->isVisible() && btnCancel->isEnabled()) btnCancel->click();
}

void TPPPrnPrgDlg::closeEvent(QCloseEvent* event) {
  if (event->spontaneous()) {
    if (btnCancel->isVisible() && btnCancel->isEnabled()) btnCancel->click();
    event->ignore();
    return;
  }
  event->accept();
}
