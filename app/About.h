// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The about box: product name, version and credits.
#include <QDialog>

namespace Ui {
class TAboutBox;
}
class QFrame;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QPushButton* OKButton;
  QLabel* Label1;
  QFrame* Bevel1;
  QLabel* Label2;
  QLabel* Label3;

 public slots:
  void OKButtonClick();

 protected:
  // Only OK or Enter close the window; Esc does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Ui::TAboutBox* ui;
};
