// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The help window: a fixed text explaining the program, rebuilt each time it is shown.
#include <QDialog>
#include <QString>

namespace Ui {
class TfrmHelp;
}
class QPushButton;
class QTextEdit;

class TfrmHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmHelp(QWidget* parent = nullptr);
  ~TfrmHelp() override;

  // The help text as last assembled (CR LF line ends), exactly as set into Edit1.
  QString HelpText() const { return HelpText_; }
  // The text assembled from its pieces.
  static QString BuildHelpText();

  QPushButton* btnOK;
  QTextEdit* Edit1;

 public slots:
  void FormActivate();
  void btnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Only OK or Enter close the window; Esc does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Ui::TfrmHelp* ui;
  QString HelpText_;
};
