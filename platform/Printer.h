// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The process-wide printer object and its realizations: the system printer
// (CUPS's default queue through QPrinter) and a PDF file. Tests have a printer
// of their own (TestPrinter.h, in the testing library).
#include <QPageSize>
#include <QString>
#include <memory>

#include "tallyvane_platform_export.h"
#include "Canvas.h"
#include "Device.h"
#include "Errors.h"

enum TPrinterOrientation { poPortrait, poLandscape };

class TALLYVANE_PLATFORM_EXPORT TPrinter {
 public:
  virtual ~TPrinter() = default;
  // The device context; raises EPrinter when no printer is usable.
  virtual TDeviceContext* Handle() = 0;
  // The canvas of the open job; raises EPrinter when no job is open.
  virtual TCanvas* Canvas() = 0;
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  virtual TPrinterOrientation Orientation() const = 0;  // may raise EPrinter
  virtual void SetOrientation(TPrinterOrientation o) = 0;  // may raise EPrinter
  virtual int Copies() const { return copies_; }
  virtual void SetCopies(int copies) { copies_ = copies; }
  // Job control; BeginDoc raises EPrinter when a job is already open or none can start.
  // EndDoc, NewPage and Abort raise EPrinter when no job is open.
  virtual void BeginDoc() = 0;
  virtual void EndDoc() = 0;
  virtual void NewPage() = 0;
  virtual void Abort() = 0;
  bool Printing() const { return printing_; }

 protected:
  QString title_;
  int copies_ = 1;
  bool printing_ = false;
};

// The process-wide printer: the default that each new component takes (CUPS's
// default queue until a program installs another). Components keep the printer
// they were given, so replacing this one never pulls it from under them.
TALLYVANE_PLATFORM_EXPORT TPrinter* Printer();
TALLYVANE_PLATFORM_EXPORT std::shared_ptr<TPrinter> SharedPrinter();
// Replaces the process-wide printer; returns the previous one (still held by any
// component that took it).
TALLYVANE_PLATFORM_EXPORT std::shared_ptr<TPrinter> SetPrinter(std::shared_ptr<TPrinter> printer);

class QPrinter;

// QPrinter on CUPS's default queue (an instance "queue/instance" included). Without
// a usable queue Handle() raises EPrinter ("There is no default printer currently
// selected"), and so do Orientation, SetOrientation and BeginDoc. The queue is looked
// up once, at first use, with a deadline of a few seconds: a print server that does not
// answer counts as no printer, and printing then says so. A job is spooled as PDF
// with the queue's page set-up and handed to CUPS by EndDoc (which raises EPrinter
// when CUPS refuses it or does not answer); Abort discards it, so nothing is printed.
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakeSystemPrinter();
// A PDF file at the given resolution on a Letter sheet (or the given one) with 0.25-inch
// offsets; asks nothing of the print server. The title becomes the document's title.
// The file is replaced when EndDoc completes it (EInOutError names it and the reason
// when it cannot be written); Abort or a failure leaves the earlier file as it was.
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi = 600,
                                         QPageSize::PageSizeId sheet = QPageSize::Letter);
