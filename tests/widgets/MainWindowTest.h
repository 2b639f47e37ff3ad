// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The main window fixture with the focus and helpers the window tests share.
#include <QLineEdit>
#include <QStringList>

#include "MainWindowFixture.h"
#include "main.h"

class MainWindowTest : public MainWindowFixture<> {
 protected:
  // The keyboard tests need the form to hold the focus.
  MainWindowTest() : MainWindowFixture(true) {}

  void Calculate() { Click(form->flblCalculate); }
  QStringList Labels() const {
    return {form->lblPayment->text(), form->lblInterest->text(), form->lblPrincipal->text(), form->lblTotalAmt->text()};
  }
  QStringList Row(int row) const {
    QStringList cells;
    for (int c = 0; c < 5; ++c) cells << form->GridCell(c, row);
    return cells;
  }
  bool WholeTextSelected(QLineEdit* box) const {
    if (box->text().isEmpty()) return true;
    return box->selectionStart() == 0 && box->selectedText() == box->text();
  }
};

inline const QStringList kZeros = {"0.00", "0.00", "0.00", "0.00"};
