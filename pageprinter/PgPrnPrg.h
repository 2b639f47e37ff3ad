// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The modeless progress dialog the page printer shows while it sends pages to
// the printer. Its whole layout comes from PgPrnPrg.ui; the page printer fills
// the labels, steps the bar and binds the Cancel button.
#include <QDialog>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QKeyEvent;
class QCloseEvent;

namespace Ui {
class TPPPrnPrgDlg;
}

class TPPPrnPrgDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TPPPrnPrgDlg(QWidget* parent = nullptr);
  ~TPPPrnPrgDlg() override;

  // The form's controls, in the form's order.
  QFrame* Bevel = nullptr;
  QLabel* lblStatus = nullptr;
  QLabel* lblPageNumber = nullptr;
  QProgressBar* ProgBar = nullptr;
  QPushButton* btnCancel = nullptr;

  // One step of the bar (its step is 1).
  void StepIt();
  // Places the dialog in the middle of the screen.
  void CenterOnScreen();

 protected:
  // Esc and Enter press the Cancel button (when it can be pressed); they never close the dialog.
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  // Closing from the window system counts as pressing Cancel; close() from code just closes.
  void closeEvent(QCloseEvent* event) override;

 private:
  Ui::TPPPrnPrgDlg* ui_;
};
