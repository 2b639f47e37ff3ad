// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The schedule table's commands: Copy Schedule, Save as CSV..., Save as
// PDF..., Print Setup... and Print Preview..., offered in the table's context menu and by keyboard shortcuts
// anywhere in the main window. They are enabled only while the table holds a
// calculated schedule.
#include <QDate>
#include <QObject>
#include <QPointer>

#include "ExtraPaymentsWindow.h"

class QAction;
class QMenu;
class QPoint;
class TMainForm;
struct ScheduleDocument;

class ScheduleMenu : public QObject {
  Q_OBJECT
 public:
  explicit ScheduleMenu(TMainForm* form);

  QAction* CopyAction() const { return copy_; }
  QAction* CsvAction() const { return csv_; }
  QAction* PdfAction() const { return pdf_; }
  QAction* PrintSetupAction() const { return setup_; }
  QAction* PreviewAction() const { return preview_; }
  QMenu* Menu() const { return menu_; }
  QAction* ExtraPaymentsAction() const { return extra_; }
  // The "Extra Payments..." window once opened, else null.
  ExtraPaymentsWindow* ExtraPayments() const { return extraWindow_; }

  void CopySchedule();
  void SaveCsv();
  void SavePdf();
  void PrintSetup();
  void PrintPreview();
  void OpenExtraPayments();

 protected:
  // Ctrl+C in an edit box copies the box's selection; without one it is the
  // window's Copy Schedule.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateEnabled();
  void ShowMenu(const QPoint& viewportPos);

  TMainForm* form_;
  QMenu* menu_;
  QAction* copy_;
  QAction* csv_;
  QAction* pdf_;
  QAction* setup_;
  QAction* preview_;
  QAction* extra_;
  QPointer<ExtraPaymentsWindow> extraWindow_;
};
