#pragma once
// The process-wide printer object and its three realizations: the system
// printer (CUPS's default queue through QPrinter), a PDF file, and a test
// printer that records what it is asked to do.
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

#include "Canvas.h"
#include "Device.h"
#include "Errors.h"

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
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

// The printer object every component uses; the platform owns it.
TPrinter* Printer();
// Replaces the printer object (tests, the companion's PDF output); returns the previous one,
// which the caller now owns.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

class QPrinter;

// QPrinter on CUPS's default queue. Without a usable queue Handle() raises EPrinter
// ("There is no default printer currently selected"), and so do Orientation,
// SetOrientation and BeginDoc. The queue is looked up once, at first use. A job is
// spooled as PDF with the queue's page set-up and handed to CUPS by EndDoc (which
// raises EPrinter when CUPS refuses it); Abort discards it, so nothing is printed.
std::unique_ptr<TPrinter> MakeSystemPrinter();
// QPrinter writing a PDF file at the given resolution on a Letter sheet with 0.25-inch offsets.
// The title becomes the document's title; Abort removes the file.
std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi = 600);

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
    int offsetX = 60, offsetY = 60;                    // 0.1 inch
    int externalLeading = 0;
    bool available = true;     // false: Handle() raises EPrinter ("no printer")
    int failAtSheet = 0;       // > 0: the n-th NewPage/EndDoc of a job raises EPrinter
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
