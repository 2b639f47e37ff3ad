// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The process-wide printer object and its realizations: the system printer
/// (CUPS's default queue through QPrinter) and a PDF file. Tests have a printer
/// of their own (TestPrinter.h, in the testing library).
#include <QPageSize>
#include <QString>
#include <memory>

#include "tallyvane_platform_export.h"
#include "Canvas.h"
#include "Device.h"
#include "Errors.h"

/// The sheet's orientation.
enum TPrinterOrientation {
  poPortrait,  ///< upright
  poLandscape  ///< on its side
};

/// A printer: where printed pages go (see Printer, SetPrinter, MakeSystemPrinter,
/// MakePdfPrinter). Lengths are the device's pixels; its Handle tells their size.
class TALLYVANE_PLATFORM_EXPORT TPrinter {
 public:
  virtual ~TPrinter() = default;
  /// The device context; raises EPrinter when no printer is usable.
  virtual TDeviceContext* Handle() = 0;
  /// The canvas of the open job; raises EPrinter when no job is open.
  virtual TCanvas* Canvas() = 0;
  /// The job's title (the print queue's job name, a PDF's document title); empty by default.
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }  ///< Sets Title.
  /// The sheet's orientation; may raise EPrinter.
  virtual TPrinterOrientation Orientation() const = 0;
  /// Sets the sheet's orientation; may raise EPrinter.
  virtual void SetOrientation(TPrinterOrientation o) = 0;
  /// How many copies the device makes of each job (1 by default; TPagePrinter makes its own copies).
  virtual int Copies() const { return copies_; }
  virtual void SetCopies(int copies) { copies_ = copies; }  ///< Sets Copies.
  // Job control.
  /// Opens a job on its first sheet; raises EPrinter when a job is already open or none can start.
  virtual void BeginDoc() = 0;
  /// Completes the job and hands it on (to the print server, to the file); raises EPrinter when no job is open.
  virtual void EndDoc() = 0;
  /// Ends the sheet and starts the next one; raises EPrinter when no job is open.
  virtual void NewPage() = 0;
  /// Discards the open job, so nothing of it is printed or written; raises EPrinter when no job is open.
  virtual void Abort() = 0;
  /// True while a job is open (from BeginDoc to EndDoc or Abort).
  bool Printing() const { return printing_; }
  /// Waits until the printer can answer (the system printer looks its queue up in
  /// the background), keeping the windows responsive with a Cancel offered; false
  /// when the user cancelled. Commands that print, set up or preview call it
  /// first; the queries above never wait, and answer as without a printer meanwhile.
  virtual bool WaitUntilReady() { return true; }
  /// Whether the printer answers at once; until then Handle waits for the answer
  /// (without window events), so that a component that must not wait asks this first.
  virtual bool Ready() { return true; }
  /// Asks the hand-over that EndDoc is running (while it keeps the windows
  /// responsive) to stop: a job the print server has not confirmed is withdrawn
  /// there, and EndDoc returns with HandOverCancelled() true. Ignored otherwise.
  void CancelHandOver() { cancelHandOver_ = true; }
  /// Whether the last EndDoc ended on CancelHandOver, so that nothing was printed.
  bool HandOverCancelled() const { return handOverCancelled_; }

 protected:
  QString title_;                   ///< the Title
  int copies_ = 1;                  ///< the Copies
  bool printing_ = false;           ///< the Printing state, kept by the realizations
  bool cancelHandOver_ = false;     ///< CancelHandOver was called; cleared by EndDoc as it starts
  bool handOverCancelled_ = false;  ///< the HandOverCancelled state, kept by the realizations
};

/// The process-wide printer: the default that each new TPagePrinter takes. Until
/// SetPrinter installs another, it is the system printer (MakeSystemPrinter), made
/// at the first call. A component keeps the printer it was given (see
/// TPagePrinter::SetPrinter), so replacing this one never pulls it from under one.
TALLYVANE_PLATFORM_EXPORT TPrinter* Printer();
/// The process-wide printer, shared with the components that took it.
TALLYVANE_PLATFORM_EXPORT std::shared_ptr<TPrinter> SharedPrinter();
/// Replaces the process-wide printer and returns the previous one, which stays
/// alive as long as a component or the caller still holds it. Components made
/// later take the new one; components made earlier keep theirs.
TALLYVANE_PLATFORM_EXPORT std::shared_ptr<TPrinter> SetPrinter(std::shared_ptr<TPrinter> printer);

class QPrinter;

/// CUPS's default queue (an instance "queue/instance" included), its page set-up read through QPrinter. Without
/// a usable queue Handle() raises EPrinter ("There is no default printer currently
/// selected"), and so do Orientation, SetOrientation and BeginDoc. The queue is looked
/// up in the background from first use, with a deadline of a few seconds; until the answer
/// is in, Ready() is false, Handle() waits for it, Orientation and SetOrientation answer as
/// without a printer (keeping the orientation for the queue), and WaitUntilReady (which
/// BeginDoc calls) waits for it with the windows responsive. A print server that does not answer makes BeginDoc say so,
/// and the next print asks it again. A job is written as PDF while its pages are played, on the queue's page
/// set-up, and handed to CUPS by EndDoc (which raises EPrinter when CUPS refuses it or does not answer); Abort discards
/// it, so nothing is printed.
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakeSystemPrinter();
/// A CUPS queue by name ("queue" or "queue/instance"; empty: the default queue, as
/// MakeSystemPrinter), on the given sheet (an invalid QPageSize: the queue's own paper).
/// A named queue the print server does not know makes Handle() and BeginDoc raise
/// EPrinter with the server's reason.
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakeSystemPrinter(const QString& destination,
                                                                      const QPageSize& paper = QPageSize());
/// The same, printing on both sides or one as the IPP "sides" value says
/// ("one-sided", "two-sided-long-edge", "two-sided-short-edge"; empty: the queue's own).
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakeSystemPrinter(const QString& destination,
                                                                      const QPageSize& paper, const QString& sides);
/// A PDF file at the given resolution (pixels per inch) on a Letter sheet (or the given one)
/// with 0.25-inch offsets; asks nothing of the print server. The title becomes the document's title.
/// The file is replaced when EndDoc completes it (EInOutError names it and the reason
/// when it cannot be written); Abort or a failure leaves the earlier file as it was.
TALLYVANE_PLATFORM_EXPORT std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi = 600,
                                                                   QPageSize::PageSizeId sheet = QPageSize::Letter);
