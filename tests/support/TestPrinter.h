// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The test printer: chosen device capabilities and a record of what it was asked to do.
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

#include "Printer.h"

class TMetafile;

// A printer with a chosen resolution, sheet and offsets. Text is measured at a
// fixed pitch: every character advances round(0.6 x |font height|) pixels, and the
// text metrics are height |h|, ascent 4|h|/5, external leading ExternalLeading.
// Its canvas draws nothing: Draw/StretchDraw note the page on the current sheet.
// BeginDoc starts sheet 1, each NewPage the next one.
class TTestPrinter : public TPrinter {
 public:
  struct Setup {
    int dpiX = 600, dpiY = 600;
    int physicalWidth = 5100, physicalHeight = 6600;  // Letter at 600 dpi
    int offsetX = 60, offsetY = 60;                   // 0.1 inch
    int externalLeading = 0;
    bool available = true;  // false: Handle() raises EPrinter ("no printer")
    int failAtSheet = 0;    // > 0: the n-th NewPage/EndDoc of a job raises EPrinter
                            // (not recorded as an event; the job stays open)
  };
  struct Sheet {
    const TMetafile* page = nullptr;  // the page drawn on the sheet (nullptr: none)
    int operations = 0;               // operations that page held when drawn
    QPoint origin;                    // where it was drawn (top-left of the rectangle when stretched)
  };
  explicit TTestPrinter(Setup setup);
  ~TTestPrinter() override;
  TDeviceContext* Handle() override;
  TCanvas* Canvas() override;
  TPrinterOrientation Orientation() const override;
  void SetOrientation(TPrinterOrientation o) override;
  void BeginDoc() override;
  void EndDoc() override;
  void NewPage() override;
  void Abort() override;

  Setup& Config() { return setup_; }
  // "BeginDoc", "NewPage", "EndDoc", "Abort" in the order asked.
  const std::vector<QString>& Events() const { return events_; }
  const std::vector<Sheet>& Sheets() const { return sheets_; }
  int CopiesAtBeginDoc() const { return copiesAtBeginDoc_; }
  QString TitleAtBeginDoc() const { return titleAtBeginDoc_; }
  void ClearRecord();

 private:
  void CountSheetEnd();
  class Context;
  class RecordingCanvas;
  Setup setup_;
  TPrinterOrientation orientation_ = poPortrait;
  std::unique_ptr<Context> context_;
  std::unique_ptr<RecordingCanvas> canvas_;
  std::vector<QString> events_;
  std::vector<Sheet> sheets_;
  int copiesAtBeginDoc_ = 0;
  QString titleAtBeginDoc_;
  int sheetEnds_ = 0;
  friend class RecordingCanvas;
};
