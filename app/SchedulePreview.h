// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Print Preview: the printed schedule, built once, shown in a window of its
// own through the page printer's preview, with page navigation, zoom, a strip
// of thumbnails, and Print and Save as PDF of exactly the pages shown.
#include <QDialog>

#include "ScheduleDocument.h"

class QLabel;
class QListView;
class QPushButton;
class QSpinBox;
class TMainForm;
class TPagePrinter;
class PageThumbnails;

class SchedulePreview : public QDialog {
  Q_OBJECT
 public:
  // Builds the document on the chosen printer (or the process's) with the
  // window's page printer settings and body font.
  SchedulePreview(TMainForm* form, const ScheduleDocument& document);
  ~SchedulePreview() override;

  TPagePrinter* Pages() const { return pages_; }
  QSpinBox* PageBox() const { return pageBox_; }
  QListView* Thumbnails() const { return thumbnails_; }
  int CurrentPage() const;
  int PageCount() const;

  void ShowPage(int page);
  void FitPage();
  void FitWidth();
  void ActualSize();
  void ZoomIn();
  void ZoomOut();
  void SetZoom(int percent);
  // Print and Save as PDF of the pages shown.
  void PrintPages();
  void SavePdf();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QPushButton* Button(const QString& text, const QString& accessibleName, void (SchedulePreview::*command)());

  TMainForm* form_;
  TPagePrinter* pages_;
  QSpinBox* pageBox_;
  QLabel* zoomLabel_;
  QListView* thumbnails_;
  PageThumbnails* thumbnailModel_;
  bool fitted_ = false;
};
