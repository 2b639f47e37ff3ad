#include "Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <array>
#include <cmath>
#include <dlfcn.h>

#include "Metafile.h"

namespace {
const QString kNoPrinter = QStringLiteral("There is no default printer currently selected");
const QString kPrintingInProgress = QStringLiteral("Printing in progress");
const QString kNotPrinting = QStringLiteral("Printer is not currently printing");

std::unique_ptr<TPrinter>& PrinterSlot() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}

// A QPrinter must not outlive the application object: drop the printer object with it.
void ReleasePrinterAtExit() { PrinterSlot().reset(); }

void ReleaseWithApplication() {
  static bool registered = false;
  if (registered || !QCoreApplication::instance()) return;
  registered = true;
  qAddPostRoutine(ReleasePrinterAtExit);
}

// ---------------------------------------------------------------------------
// Job submission to CUPS. Qt's own CUPS engine submits whatever was drawn when
// its painter ends, even after QPrinter::abort(), and reports a refused job as
// success; so the system printer spools to a PDF file of its own and hands it
// to CUPS itself. libcups is the library Qt's CUPS support already loads.
namespace cups {
struct Option {
  char* name;
  char* value;
};
using PrintFileFn = int (*)(const char* printer, const char* file, const char* title, int optionCount,
                            Option* options);
using LastErrorStringFn = const char* (*)();

struct Library {
  PrintFileFn printFile = nullptr;
  LastErrorStringFn lastErrorString = nullptr;
};

const Library& Load() {
  static const Library library = [] {
    Library lib;
    void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return lib;
    lib.printFile = reinterpret_cast<PrintFileFn>(dlsym(handle, "cupsPrintFile"));
    lib.lastErrorString = reinterpret_cast<LastErrorStringFn>(dlsym(handle, "cupsLastErrorString"));
    return lib;
  }();
  return library;
}

// Sends a finished PDF to the queue; raises EPrinter when CUPS refuses it.
void Submit(const QString& queue, const QString& file, const QString& title, int copies, const QString& media) {
  const Library& lib = Load();
  if (!lib.printFile) throw EPrinter(QStringLiteral("The CUPS library (libcups.so.2) is not available"));
  QByteArray copiesValue = QByteArray::number(std::max(1, copies));
  QByteArray mediaValue = media.toUtf8();
  QByteArray copiesName("copies"), mediaName("media");
  std::vector<Option> options;
  if (!mediaValue.isEmpty()) options.push_back({mediaName.data(), mediaValue.data()});
  if (copies > 1) options.push_back({copiesName.data(), copiesValue.data()});
  const int job = lib.printFile(queue.toLocal8Bit().constData(), QFile::encodeName(file).constData(),
                                title.toUtf8().constData(), int(options.size()), options.data());
  if (job <= 0) {
    const QString reason = lib.lastErrorString ? QString::fromUtf8(lib.lastErrorString()) : QString();
    throw EPrinter(QStringLiteral("The print job could not be sent to printer \"%1\"%2")
                       .arg(queue, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
  }
}
}  // namespace cups

// ---------------------------------------------------------------------------
// QPrinter-based printers: the system queue and PDF files.

class QtPrinter;

// Device capabilities of a QPrinter, read once per page set-up change: layout
// code asks for them inside its per-line loops.
class QtPrinterContext : public TDeviceContext {
 public:
  explicit QtPrinterContext(QPrinter* printer) : printer_(printer) { Refresh(); }

  void Refresh() {
    caps_ = {};
    const int dpi = printer_->resolution();
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    const QRectF paperF = printer_->paperRect(QPrinter::DevicePixel);
    caps_[kLogPixelsX] = dpi;
    caps_[kLogPixelsY] = dpi;
    caps_[kPhysicalWidth] = int(std::lround(paperF.width()));
    caps_[kPhysicalHeight] = int(std::lround(paperF.height()));
    caps_[kOffsetX] = int(std::lround(page.left() - paperF.left()));
    caps_[kOffsetY] = int(std::lround(page.top() - paperF.top()));
    caps_[kHorzRes] = int(std::lround(page.width()));
    caps_[kVertRes] = int(std::lround(page.height()));
  }

  int Caps(TDeviceCap index) const override {
    switch (index) {
      case LOGPIXELSX: return caps_[kLogPixelsX];
      case LOGPIXELSY: return caps_[kLogPixelsY];
      case PHYSICALWIDTH: return caps_[kPhysicalWidth];
      case PHYSICALHEIGHT: return caps_[kPhysicalHeight];
      case PHYSICALOFFSETX: return caps_[kOffsetX];
      case PHYSICALOFFSETY: return caps_[kOffsetY];
      case HORZRES: return caps_[kHorzRes];
      case VERTRES: return caps_[kVertRes];
    }
    return 0;
  }

 private:
  enum { kLogPixelsX, kLogPixelsY, kPhysicalWidth, kPhysicalHeight, kOffsetX, kOffsetY, kHorzRes, kVertRes, kCount };
  QPrinter* printer_;
  std::array<int, kCount> caps_{};
};

class QtPrinter : public TPrinter {
 public:
  enum class Kind { System, Pdf };

  // System: the queue is looked up on first use, so that merely starting the
  // program asks nothing of CUPS.
  QtPrinter() : kind_(Kind::System) {}

  QtPrinter(const QString& fileName, int dpi) : kind_(Kind::Pdf), fileName_(fileName) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(fileName);
    printer_->setResolution(dpi > 0 ? dpi : 600);
    printer_->setFullPage(false);
    printer_->setPageSize(QPageSize(QPageSize::Letter));
    printer_->setPageOrientation(QPageLayout::Portrait);
    printer_->setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    context_ = std::make_unique<QtPrinterContext>(printer_.get());
    probed_ = true;
  }

  ~QtPrinter() override {
    // An open job at destruction is discarded rather than half-submitted.
    if (printing_) {
      try {
        Abort();
      } catch (...) {
      }
    }
  }

  TDeviceContext* Handle() override {
    Probe();
    if (!context_) throw EPrinter(kNoPrinter);
    return context_.get();
  }

  TCanvas* Canvas() override {
    if (!printing_ || !canvas_) throw EPrinter(kNotPrinting);
    return canvas_.get();
  }

  TPrinterOrientation Orientation() const override {
    const_cast<QtPrinter*>(this)->Probe();
    if (!printer_) throw EPrinter(kNoPrinter);
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  }

  void SetOrientation(TPrinterOrientation o) override {
    Probe();
    if (!printer_) throw EPrinter(kNoPrinter);
    if (printing_) throw EPrinter(kPrintingInProgress);
    printer_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    context_->Refresh();
  }

  void BeginDoc() override {
    if (printing_) throw EPrinter(kPrintingInProgress);
    Probe();
    if (!printer_) throw EPrinter(kNoPrinter);
    const QString docName = title_.isEmpty() ? QStringLiteral("Untitled") : title_;
    QPrinter* target = printer_.get();
    if (kind_ == Kind::System) {
      // Spool the job as PDF with the queue's page set-up; EndDoc submits it.
      QTemporaryFile spoolFile(QDir::tempPath() + QStringLiteral("/tallyvane-job-XXXXXX.pdf"));
      spoolFile.setAutoRemove(false);
      if (!spoolFile.open())
        throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\": no spool file in %2")
                           .arg(queueName_, QDir::tempPath()));
      spoolPath_ = spoolFile.fileName();
      spoolFile.close();
      spool_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      spool_->setOutputFormat(QPrinter::PdfFormat);
      spool_->setOutputFileName(spoolPath_);
      spool_->setResolution(printer_->resolution());
      spool_->setFullPage(false);
      spool_->setPageLayout(printer_->pageLayout());
      spool_->setDocName(docName);
      target = spool_.get();
    } else {
      printer_->setDocName(docName);
      printer_->setCopyCount(std::max(1, copies_));
      printer_->setFullPage(false);
    }
    context_->Refresh();
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(target)) {
      DropSpool();
      if (kind_ == Kind::Pdf)
        throw EPrinter(QStringLiteral("Unable to write the PDF file \"%1\"").arg(fileName_));
      throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\"").arg(queueName_));
    }
    painter_ = std::move(painter);
    canvas_ = std::make_unique<TPainterCanvas>(painter_.get(), context_.get());
    jobTitle_ = docName;
    jobCopies_ = std::max(1, copies_);
    printing_ = true;
  }

  void NewPage() override {
    if (!printing_) throw EPrinter(kNotPrinting);
    QPrinter* target = spool_ ? spool_.get() : printer_.get();
    if (!target->newPage()) throw EPrinter(QStringLiteral("Unable to start a new page on the printer"));
  }

  void EndDoc() override {
    if (!printing_) throw EPrinter(kNotPrinting);
    canvas_.reset();
    const bool ended = painter_->end();
    painter_.reset();
    printing_ = false;
    if (kind_ == Kind::Pdf) {
      if (!ended) throw EPrinter(QStringLiteral("Unable to complete the PDF file \"%1\"").arg(fileName_));
      return;
    }
    // The spool file goes whatever CUPS answers: it has its own copy once it accepted the job.
    struct SpoolGuard {
      QtPrinter* self;
      ~SpoolGuard() { self->DropSpool(); }
    } guard{this};
    if (!ended) throw EPrinter(QStringLiteral("The print job could not be completed"));
    cups::Submit(queueName_, spoolPath_, jobTitle_, jobCopies_, printer_->pageLayout().pageSize().key());
  }

  void Abort() override {
    if (!printing_) throw EPrinter(kNotPrinting);
    canvas_.reset();
    painter_->end();
    painter_.reset();
    printing_ = false;
    // Nothing has reached the queue yet: discarding the spooled document is the whole abort.
    if (kind_ == Kind::Pdf)
      QFile::remove(fileName_);
    else
      DropSpool();
  }

 private:
  void Probe() {
    if (probed_) return;
    probed_ = true;
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull()) return;
    queueName_ = queue.printerName();
    printer_ = std::make_unique<QPrinter>(queue, QPrinter::HighResolution);
    printer_->setFullPage(false);
    context_ = std::make_unique<QtPrinterContext>(printer_.get());
  }

  void DropSpool() {
    spool_.reset();
    if (!spoolPath_.isEmpty()) QFile::remove(spoolPath_);
    spoolPath_.clear();
  }

  Kind kind_;
  QString fileName_;
  QString queueName_;
  std::unique_ptr<QPrinter> spool_;  // system printer: the job being spooled
  QString spoolPath_;
  QString jobTitle_;
  int jobCopies_ = 1;
  bool probed_ = false;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QtPrinterContext> context_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TPainterCanvas> canvas_;
};
}  // namespace

TPrinter* Printer() {
  auto& slot = PrinterSlot();
  if (!slot) slot = MakeSystemPrinter();
  ReleaseWithApplication();
  return slot.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
  ReleaseWithApplication();
  std::unique_ptr<TPrinter> previous = std::move(PrinterSlot());
  PrinterSlot() = std::move(printer);
  return previous;
}

std::unique_ptr<TPrinter> MakeSystemPrinter() { return std::make_unique<QtPrinter>(); }

std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi) {
  return std::make_unique<QtPrinter>(fileName, dpi);
}

// ---------------------------------------------------------------------------
// The test printer.

class TTestPrinter::Context : public TDeviceContext {
 public:
  explicit Context(TTestPrinter* owner) : owner_(owner) {}

  int Caps(TDeviceCap index) const override {
    const Setup& s = owner_->setup_;
    const bool landscape = owner_->orientation_ == poLandscape;
    switch (index) {
      case LOGPIXELSX: return landscape ? s.dpiY : s.dpiX;
      case LOGPIXELSY: return landscape ? s.dpiX : s.dpiY;
      case PHYSICALWIDTH: return landscape ? s.physicalHeight : s.physicalWidth;
      case PHYSICALHEIGHT: return landscape ? s.physicalWidth : s.physicalHeight;
      case PHYSICALOFFSETX: return landscape ? s.offsetY : s.offsetX;
      case PHYSICALOFFSETY: return landscape ? s.offsetX : s.offsetY;
      case HORZRES: return Caps(PHYSICALWIDTH) - 2 * Caps(PHYSICALOFFSETX);
      case VERTRES: return Caps(PHYSICALHEIGHT) - 2 * Caps(PHYSICALOFFSETY);
    }
    return 0;
  }

  static int Pitch(const TFont& font) { return int(std::lround(0.6 * std::abs(font.Height()))); }

  int TextWidth(const TFont& font, const QString& text) const override {
    return Pitch(font) * int(text.size());
  }

  int TextHeight(const TFont& font, const QString&) const override { return std::abs(font.Height()); }

  TTextMetric TextMetrics(const TFont& font) const override {
    TTextMetric tm;
    const int h = std::abs(font.Height());
    tm.tmHeight = h;
    tm.tmAscent = 4 * h / 5;
    tm.tmDescent = h - tm.tmAscent;
    tm.tmInternalLeading = 0;
    tm.tmExternalLeading = owner_->setup_.externalLeading;
    tm.tmAveCharWidth = Pitch(font);
    return tm;
  }

 private:
  TTestPrinter* owner_;
};

// Draws nothing; notes which page each sheet received.
class TTestPrinter::RecordingCanvas : public TCanvas {
 public:
  explicit RecordingCanvas(TTestPrinter* owner) : owner_(owner) {}
  void TextOut(int, int, const QString&) override {}
  int TextWidth(const QString& text) override { return owner_->context_->TextWidth(font_, text); }
  int TextHeight(const QString& text) override { return owner_->context_->TextHeight(font_, text); }
  void Polyline(const std::vector<QPoint>&) override {}
  void Rectangle(const QRect&) override {}
  void FillRect(const QRect&) override {}
  void Draw(int x, int y, const TMetafile& page) override { Record(QPoint(x, y), page); }
  void StretchDraw(const QRect& r, const TMetafile& page) override { Record(r.topLeft(), page); }

 private:
  void Record(const QPoint& at, const TMetafile& page) {
    if (owner_->sheets_.empty()) return;
    TTestPrinter::Sheet& sheet = owner_->sheets_.back();
    sheet.page = &page;
    sheet.operations = int(page.Operations().size());
    sheet.origin = at;
  }
  TTestPrinter* owner_;
};

TTestPrinter::TTestPrinter(Setup setup)
    : setup_(setup), context_(std::make_unique<Context>(this)), canvas_(std::make_unique<RecordingCanvas>(this)) {}

TTestPrinter::~TTestPrinter() = default;

TDeviceContext* TTestPrinter::Handle() {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  return context_.get();
}

TCanvas* TTestPrinter::Canvas() {
  if (!printing_) throw EPrinter(kNotPrinting);
  return canvas_.get();
}

TPrinterOrientation TTestPrinter::Orientation() const {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  return orientation_;
}

void TTestPrinter::SetOrientation(TPrinterOrientation o) {
  if (!setup_.available) throw EPrinter(kNoPrinter);
  if (printing_) throw EPrinter(kPrintingInProgress);
  orientation_ = o;
}

void TTestPrinter::BeginDoc() {
  if (printing_) throw EPrinter(kPrintingInProgress);
  if (!setup_.available) throw EPrinter(kNoPrinter);
  events_.push_back(QStringLiteral("BeginDoc"));
  copiesAtBeginDoc_ = copies_;
  titleAtBeginDoc_ = title_;
  sheetEnds_ = 0;
  sheets_.push_back(Sheet{});
  printing_ = true;
}

void TTestPrinter::CountSheetEnd() {
  ++sheetEnds_;
  if (setup_.failAtSheet > 0 && sheetEnds_ == setup_.failAtSheet)
    throw EPrinter(QStringLiteral("The printer failed at sheet %1").arg(sheetEnds_));
}

void TTestPrinter::NewPage() {
  if (!printing_) throw EPrinter(kNotPrinting);
  CountSheetEnd();
  events_.push_back(QStringLiteral("NewPage"));
  sheets_.push_back(Sheet{});
}

void TTestPrinter::EndDoc() {
  if (!printing_) throw EPrinter(kNotPrinting);
  CountSheetEnd();
  events_.push_back(QStringLiteral("EndDoc"));
  printing_ = false;
}

void TTestPrinter::Abort() {
  if (!printing_) throw EPrinter(kNotPrinting);
  events_.push_back(QStringLiteral("Abort"));
  printing_ = false;
}

void TTestPrinter::ClearRecord() {
  events_.clear();
  sheets_.clear();
  copiesAtBeginDoc_ = 0;
  titleAtBeginDoc_.clear();
}
