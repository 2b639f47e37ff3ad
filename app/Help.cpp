// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Help.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>

#include "WindowHelpers.h"
#include "ui_Help.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

TfrmHelp::TfrmHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui(new Ui::TfrmHelp) {
  ui->setupUi(this);
  btnOK = ui->btnOK;
  Edit1 = ui->Edit1;
  UseFormPixelFonts(this);
  setFixedSize(427, 241);
  // The box is disabled only so that it cannot be focused or selected; the text
  // must still read as ordinary text, not greyed out.
  QPalette palette = Edit1->palette();
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::Base, QPalette::WindowText})
    palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
  Edit1->setPalette(palette);
  connect(btnOK, &QPushButton::clicked, this, &TfrmHelp::btnOKClick);
  CentreOnScreen(this);
}

TfrmHelp::~TfrmHelp() { delete ui; }

QString TfrmHelp::BuildHelpText() {
  QString text;
  text += CrLf;
  text += QStringLiteral(" Enter the loan amount, annual interest rate, ");
  text += QStringLiteral("and the number of monthly/weekly payments to be made. ");
  text += QStringLiteral("Select whether these are monthly or weekly payments.");
  text += CrLf + CrLf + CrLf;
  text += QStringLiteral(" Click CALCULATE to have the ");
  text += QStringLiteral("Payment and Amortization Schedule calculated.");
  text += CrLf + CrLf + CrLf;
  text += QStringLiteral(" Any changes to the above information will ");
  text += QStringLiteral("have to be recalculated.");
  text += CrLf + CrLf + CrLf;
  text += QStringLiteral(" Click PRINT to print the Amortization ");
  text += QStringLiteral("Schedule by providing the date on which the first");
  text += QStringLiteral(" payment is to be made.");
  return text;
}

void TfrmHelp::FormActivate() {
  // Rebuilt from scratch, so showing the window again never doubles the text.
  HelpText_ = BuildHelpText();
  Edit1->setPlainText(HelpText_);
}

void TfrmHelp::btnOKClick() { close(); }

void TfrmHelp::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TfrmHelp::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TfrmHelp::keyPressEvent(QKeyEvent* event) {
  // QDialog would reject on Esc; the window has no cancel, so the key is swallowed.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
