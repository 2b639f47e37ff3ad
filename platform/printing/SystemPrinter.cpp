// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The system printer: CUPS's default queue. A QPrinter on the queue holds its
// page set-up (paper, printable area, resolution) and is never painted on;
// each job is written as PDF with cairo while its pages are played, into a
// spool file that EndDoc hands to CUPS.
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <unistd.h>

#include "CairoPdfJob.h"
#include "CupsSubmission.h"
#include "Errors.h"
#include "PrinterMessages.h"
#include "Printer.h"

namespace {

// How long the first question to the print server may take.
constexpr int kLookupDeadlineMs = 3000;

// The folder for spool files: TMPDIR when it names a folder, else the system's.
QString SpoolFolder() {
  QString temp = QDir::tempPath();
  if (QFileInfo(temp).isDir()) return temp;
  return QStringLiteral("/tmp");
}

class SystemPrinter : public TPrinter {
 public:
  // The queue is looked up on first use, so that merely starting the program asks nothing of CUPS.
  SystemPrinter() = default;
  // A named queue, and a sheet that replaces the queue's own paper when valid.
  SystemPrinter(const QString& destination, const QPageSize& paper)
      : wanted_(cups::Destination::FromName(destination)), paper_(paper) {}
  ~SystemPrinter() override {
    if (printing_) DiscardJob();
  }

  TDeviceContext* Handle() override {
    Prepare();
    if (!setup_) throw EPrinter(NoPrinterMessage());
    return &context_;
  }

  TCanvas* Canvas() override {
    if (!printing_ || !job_) throw EPrinter(printer_messages::NotPrinting());
    return job_->Canvas();
  }

  TPrinterOrientation Orientation() const override {
    const_cast<SystemPrinter*>(this)->Prepare();
    if (!setup_) throw EPrinter(NoPrinterMessage());
    return setup_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  }

  void SetOrientation(TPrinterOrientation o) override {
    Prepare();
    if (!setup_) throw EPrinter(NoPrinterMessage());
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    setup_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    Refresh();
  }

  void BeginDoc() override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    // A server that did not answer before is asked again when the user prints.
    if (!setup_ && lookup_ == cups::Lookup::NoAnswer) probed_ = false;
    Prepare();
    if (!setup_ && lookup_ == cups::Lookup::NoAnswer) throw EPrinter(cups::NoAnswerMessage());
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
    Refresh();
    try {
      job_ = std::make_unique<CairoPdfJob>([this](const char* data, size_t size) { Spool(data, size); }, docName,
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
      throw EPrinter(QStringLiteral("Unable to start a new page on the printer"));
    }
  }

  void EndDoc() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // The spool goes whatever CUPS answers: it has its own copy once it accepted the job.
    const auto dropSpool = qScopeGuard([this] { DiscardJob(); });
    printing_ = false;
    try {
      job_->Finish();
    } catch (const Exception&) {
      throw EPrinter(QStringLiteral("The print job could not be completed: %1").arg(spoolFile_->errorString()));
    }
    job_.reset();
    if (spoolFile_->error() != QFileDevice::NoError || !spoolFile_->flush() || !spoolFile_->seek(0))
      throw EPrinter(QStringLiteral("The print job could not be completed: %1").arg(spoolFile_->errorString()));
    cups::Submit(destination_, *spoolFile_, jobTitle_, jobCopies_, setup_->pageLayout().pageSize().key());
  }

  void Abort() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // Nothing has reached a queue yet: discarding the document is the whole abort.
    DiscardJob();
  }

 private:
  void Prepare() {
    if (probed_) return;
    probed_ = true;
    if (wanted_.queue.isEmpty()) {
      lookup_ = cups::FindDefault(destination_, kLookupDeadlineMs);
    } else {
      destination_ = wanted_;
      lookup_ = cups::FindNamed(wanted_, kLookupDeadlineMs, reason_);
    }
    if (lookup_ != cups::Lookup::Found) return;
    // The server has just answered: Qt may ask it for the queue's page set-up.
    const QPrinterInfo queue = QPrinterInfo::printerInfo(destination_.queue);
    if (queue.isNull()) return;
    auto printer = std::make_unique<QPrinter>(queue, QPrinter::HighResolution);
    printer->setFullPage(false);
    if (paper_.isValid()) printer->setPageSize(paper_);
    setup_ = std::move(printer);
    Refresh();
  }

  // The default queue keeps the specified sentence; a queue asked for by name says which and why.
  QString NoPrinterMessage() const {
    if (wanted_.queue.isEmpty()) return printer_messages::NoPrinter();
    if (lookup_ == cups::Lookup::NoAnswer) return cups::NoAnswerMessage();
    return QStringLiteral("There is no printer \"%1\"%2")
        .arg(wanted_.Name(), reason_.isEmpty() ? QString() : QStringLiteral(": ") + reason_);
  }

  void Refresh() { context_.Set(setup_->pageLayout(), setup_->logicalDpiX()); }

  void Spool(const char* data, size_t size) {
    if (spoolFile_->write(data, qint64(size)) != qint64(size))
      throw EInOutError(QStringLiteral("The print job could not be completed: %1").arg(spoolFile_->errorString()));
  }

  void DiscardJob() noexcept {
    job_.reset();
    spoolFile_.reset();
    printing_ = false;
  }

  cups::Destination wanted_;  // empty: the default queue
  QPageSize paper_;           // invalid: the queue's own paper
  QString reason_;            // why the print server refused the named queue
  bool probed_ = false;
  cups::Lookup lookup_ = cups::Lookup::NoDefault;
  cups::Destination destination_;
  std::unique_ptr<QPrinter> setup_;  // the queue's page set-up, never painted on
  PageSetupContext context_;
  QString jobTitle_;
  int jobCopies_ = 1;
  std::unique_ptr<QTemporaryFile> spoolFile_;
  std::unique_ptr<CairoPdfJob> job_;  // the job being spooled
};

}  // namespace

std::unique_ptr<TPrinter> MakeSystemPrinter() { return std::make_unique<SystemPrinter>(); }

std::unique_ptr<TPrinter> MakeSystemPrinter(const QString& destination, const QPageSize& paper) {
  return std::make_unique<SystemPrinter>(destination, paper);
}
