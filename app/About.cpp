// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "About.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "Graphics.h"
#include "WindowHelpers.h"
#include "ui_About.h"

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui(new Ui::TAboutBox) {
  // The pictures live in the application library's resources, which a static
  // library only links in when asked for.
  Q_INIT_RESOURCE(resources);
  ui->setupUi(this);
  Panel1 = ui->Panel1;
  ProgramIcon = ui->ProgramIcon;
  ProductName = ui->ProductName;
  Version = ui->Version;
  Copyright = ui->Copyright;
  OKButton = ui->OKButton;
  Label1 = ui->Label1;
  Bevel1 = ui->Bevel1;
  Label2 = ui->Label2;
  Label3 = ui->Label3;
  UseFormPixelFonts(this);
  setFixedSize(298, 188);
  for (QLabel* label : {ProductName, Version}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQColor(clBlack));
    label->setPalette(palette);
  }
  // The bevel is a single line along its top edge, not across its middle.
  Bevel1->setFrameRect(QRect(0, 0, Bevel1->width(), 2));
  connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
  CentreOnScreen(this);
}

TAboutBox::~TAboutBox() { delete ui; }

void TAboutBox::OKButtonClick() { done(QDialog::Accepted); }

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  // QDialog would reject on Esc; the box closes by its OK button only.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
