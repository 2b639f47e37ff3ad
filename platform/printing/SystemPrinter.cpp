// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The system printer: CUPS's default queue. A QPrinter on the queue holds its
// page set-up (paper, printable area, resolution) and is never painted on;
// each job is written as PDF while its pages are played, into a
// spool file that EndDoc hands to CUPS.
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <unistd.h>

#include "PdfJob.h"
#include "CupsSubmission.h"
#include "Errors.h"
#include "PrinterMessages.h"
#include "Printer.h"
#include "QueueLookup.h"

namespace {

// An answer this recent serves the command that waited for it.
constexpr auto kFreshAnswer = std::chrono::seconds(2);

// The folder for spool files: TMPDIR when it names a folder, else the system's.
QString SpoolFolder() {
  QString temp = QDir::tempPath();
  if (QFileInfo(temp).isDir()) return temp;
  return QStringLiteral("/tmp");
}

class SystemPrinter : public TPrinter {
 public:
  // The queue is looked up from first use on, so that merely starting the program asks nothing of CUPS.
  SystemPrinter() : lookup_(cups::Destination(), QPageSize()) {}
  // A named queue, and a sheet that replaces the queue's own paper when valid.
  SystemPrinter(const QString& destination, const QPageSize& paper, QString sides = {})
      : wanted_(cups::Destination::FromName(destination)), lookup_(wanted_, paper), sides_(std::move(sides)) {}
  ~SystemPrinter() override {
    if (printing_) DiscardJob();
  }

  TDeviceContext* Handle() override {
    Prepare();
    if (!adopted_) {
      lookup_.Block();
      Prepare();
    }
    if (!setup_) throw EPrinter(NoPrinterMessage());
    return &context_;
  }

  TCanvas* Canvas() override {
    if (!printing_ || !job_) throw EPrinter(printer_messages::NotPrinting());
    return job_->Canvas();
  }

  TPrinterOrientation Orientation() const override {
    const_cast<SystemPrinter*>(this)->Prepare();
    if (!adopted_) return orientation_;
    if (!setup_) throw EPrinter(NoPrinterMessage());
    return setup_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  }

  void SetOrientation(TPrinterOrientation o) override {
    Prepare();
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    // Until the queue is known it answers as without a printer, and keeps the
    // orientation for the queue's set-up when it comes.
    orientation_ = o;
    if (!setup_) throw EPrinter(NoPrinterMessage());
    setup_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    Refresh();
  }

  void BeginDoc() override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    if (!WaitUntilReady()) throw EPrinter(QStringLiteral("Printing Cancelled"));
    Prepare();
    if (!setup_ && answer_ == cups::Lookup::NoAnswer) throw EPrinter(cups::NoAnswerMessage());
    if (!setup_) throw EPrinter(NoPrinterMessage());
    const QString docName = title_.isEmpty() ? QStringLiteral("Untitled") : title_;
    // The spool file's name goes at once: the open file is all the job needs,
    // and a program that is killed leaves nothing behind.
    const QString folder = SpoolFolder();
    auto spoolFile = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/tallyvane-job-XXXXXX.pdf"));
    if (!spoolFile->open())
      throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\": no spool file in %2")
                         .arg(destination_.Name(), folder));
    ::unlink(QFile::encodeName(spoolFile->fileName()).constData());
    spoolFile->setAutoRemove(false);
    spoolFile_ = std::move(spoolFile);
    spoolFolder_ = folder;
    spoolFailure_.clear();
    Refresh();
    try {
      job_ = std::make_unique<PdfJob>([this](const char* data, size_t size) { Spool(data, size); }, docName,
                                      setup_->pageLayout(), setup_->logicalDpiX(), &context_);
    } catch (const Exception&) {
      DiscardJob();
      throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\"").arg(destination_.Name()));
    }
    jobTitle_ = docName;
    jobCopies_ = std::max(1, copies_);
    printing_ = true;
  }

  void NewPage() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    try {
      job_->NewPage();
    } catch (const EInOutError&) {
      if (!spoolFailure_.isEmpty()) throw EPrinter(SpoolFailure());
      throw EPrinter(QStringLiteral("Unable to start a new page on the printer"));
    }
  }

  void EndDoc() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // The spool goes whatever CUPS answers: it has its own copy once it accepted the job.
    const auto dropSpool = qScopeGuard([this] { DiscardJob(); });
    printing_ = false;
    cancelHandOver_ = false;
    handOverCancelled_ = false;
    try {
      job_->Finish();
    } catch (const Exception&) {
      throw EPrinter(SpoolFailure());
    }
    job_.reset();
    if (!spoolFailure_.isEmpty() || !spoolFile_->seek(0)) throw EPrinter(SpoolFailure());
    handOverCancelled_ = !cups::Submit(
        destination_, *spoolFile_, jobTitle_, jobCopies_, setup_->pageLayout().pageSize().key(),
        [this] { return cancelHandOver_; }, sides_);
  }

  void Abort() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // Nothing has reached a queue yet: discarding the document is the whole abort.
    DiscardJob();
  }

  bool Ready() override {
    Prepare();
    return adopted_;
  }

  bool WaitUntilReady() override {
    if (printing_) return true;
    Prepare();
    // Without a usable queue the server is asked again when the user prints,
    // unless the answer has only just come (for this very command).
    if (adopted_ && !setup_ && std::chrono::steady_clock::now() - answeredAt_ > kFreshAnswer) {
      adopted_ = false;
      lookup_.Start();
    }
    if (!lookup_.Wait()) return false;
    Prepare();
    return true;
  }

 private:
  // Starts the lookup at first use and takes its answer once it is in; never waits.
  void Prepare() {
    if (!lookup_.Started()) lookup_.Start();
    if (adopted_ || !lookup_.Finished()) return;
    adopted_ = true;
    answeredAt_ = std::chrono::steady_clock::now();
    cups::QueueAnswer answer = lookup_.Answer();
    answer_ = answer.lookup;
    destination_ = answer.destination;
    reason_ = answer.reason;
    setup_ = std::move(answer.setup);
    if (!setup_) return;
    setup_->setPageOrientation(orientation_ == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    Refresh();
  }

  // The default queue keeps the specified sentence; a queue asked for by name says which and why.
  QString NoPrinterMessage() const {
    if (answer_ == cups::Lookup::NoAnswer) return cups::NoAnswerMessage();
    if (wanted_.queue.isEmpty()) return printer_messages::NoPrinter();
    return QStringLiteral("There is no printer \"%1\"%2")
        .arg(wanted_.Name(), reason_.isEmpty() ? QString() : QStringLiteral(": ") + reason_);
  }

  void Refresh() { context_.Set(setup_->pageLayout(), setup_->logicalDpiX()); }

  // Written straight to the file, so that a full folder is noticed at the
  // write that fails and with the system's reason (a short write has none).
  void Spool(const char* data, size_t size) {
    const int fd = spoolFile_->handle();
    while (size > 0) {
      const ssize_t n = ::write(fd, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        spoolFailure_ = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC));
        throw EInOutError(SpoolFailure());
      }
      data += n;
      size -= size_t(n);
    }
  }

  QString SpoolFailure() const {
    const QString reason = spoolFailure_.isEmpty() ? spoolFile_->errorString() : spoolFailure_;
    return QStringLiteral("The print job could not be completed: the temporary folder %1 could not take it: %2")
        .arg(QDir::toNativeSeparators(spoolFolder_), reason);
  }

  void DiscardJob() noexcept {
    job_.reset();
    spoolFile_.reset();
    printing_ = false;
  }

  cups::Destination wanted_;  // empty: the default queue
  cups::QueueLookup lookup_;  // runs in the background
  QString sides_;             // the IPP "sides" value; empty: the queue's own
  bool adopted_ = false;      // the lookup's answer has been taken
  std::chrono::steady_clock::time_point answeredAt_;
  QString reason_;  // why the print server refused the named queue
  cups::Lookup answer_ = cups::Lookup::NoDefault;
  cups::Destination destination_;
  TPrinterOrientation orientation_ = poPortrait;
  std::shared_ptr<QPrinter> setup_;  // the queue's page set-up, never painted on
  PageSetupContext context_;
  QString jobTitle_;
  int jobCopies_ = 1;
  std::unique_ptr<QTemporaryFile> spoolFile_;
  QString spoolFolder_;
  QString spoolFailure_;         // the system's reason when writing the spool file failed
  std::unique_ptr<PdfJob> job_;  // the job being spooled
};

}  // namespace

std::unique_ptr<TPrinter> MakeSystemPrinter() { return std::make_unique<SystemPrinter>(); }

std::unique_ptr<TPrinter> MakeSystemPrinter(const QString& destination, const QPageSize& paper) {
  return std::make_unique<SystemPrinter>(destination, paper);
}

std::unique_ptr<TPrinter> MakeSystemPrinter(const QString& destination, const QPageSize& paper, const QString& sides) {
  return std::make_unique<SystemPrinter>(destination, paper, sides);
}
