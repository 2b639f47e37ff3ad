// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The system printer: QPrinter on CUPS's default queue for the page set-up,
// each job spooled as PDF and handed to CUPS by EndDoc.
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <unistd.h>

#include "CupsSubmission.h"
#include "PrinterMessages.h"
#include "QtPrinter.h"

namespace {

// How long the first question to the print server may take.
constexpr int kLookupDeadlineMs = 3000;

// The folder for spool files: TMPDIR when it names a folder, else the system's.
QString SpoolFolder() {
  QString temp = QDir::tempPath();
  if (QFileInfo(temp).isDir()) return temp;
  return QStringLiteral("/tmp");
}

class SystemPrinter : public QtPrinter {
 public:
  // The queue is looked up on first use, so that merely starting the program asks nothing of CUPS.
  SystemPrinter() = default;
  ~SystemPrinter() override { DiscardOpenJob(); }

  void BeginDoc() override {
    // A server that did not answer before is asked again when the user prints.
    if (!printer_ && lookup_ == cups::Lookup::NoAnswer) probed_ = false;
    Prepare();
    if (!printing_ && !printer_ && lookup_ == cups::Lookup::NoAnswer) throw EPrinter(cups::NoAnswerMessage());
    QtPrinter::BeginDoc();
  }

 protected:
  void Prepare() override {
    if (probed_) return;
    probed_ = true;
    lookup_ = cups::FindDefault(destination_, kLookupDeadlineMs);
    if (lookup_ != cups::Lookup::Found) return;
    // The server has just answered: Qt may ask it for the queue's page set-up.
    const QPrinterInfo queue = QPrinterInfo::printerInfo(destination_.queue);
    if (queue.isNull()) return;
    auto printer = std::make_unique<QPrinter>(queue, QPrinter::HighResolution);
    printer->setFullPage(false);
    Adopt(std::move(printer));
  }

  // Spools the job as PDF with the queue's page set-up; EndDoc submits it. The
  // spool file's name goes at once: the open file is all the job needs, and a
  // program that is killed leaves nothing behind.
  QPagedPaintDevice* StartJob(const QString& docName) override {
    const QString folder = SpoolFolder();
    auto spoolFile = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/tallyvane-job-XXXXXX.pdf"));
    if (!spoolFile->open())
      throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\": no spool file in %2")
                         .arg(destination_.Name(), folder));
    ::unlink(QFile::encodeName(spoolFile->fileName()).constData());
    spoolFile->setAutoRemove(false);
    spoolFile_ = std::move(spoolFile);
    spool_ = std::make_unique<QPdfWriter>(spoolFile_.get());
    spool_->setResolution(printer_->logicalDpiX());
    spool_->setPageLayout(printer_->pageLayout());
    spool_->setTitle(docName);
    return spool_.get();
  }

  [[noreturn]] void RaiseStartFailure() override {
    DiscardJob();
    throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\"").arg(destination_.Name()));
  }

  void FinishJob(bool ended) override {
    // The spool goes whatever CUPS answers: it has its own copy once it accepted the job.
    const auto dropSpool = qScopeGuard([this] { DiscardJob(); });
    spool_.reset();
    // Qt's PDF engine reports no write errors: a cut-short spool is not sent.
    if (!ended || spoolFile_->error() != QFileDevice::NoError || !spoolFile_->flush())
      throw EPrinter(QStringLiteral("The print job could not be completed: %1").arg(spoolFile_->errorString()));
    if (!spoolFile_->seek(0))
      throw EPrinter(QStringLiteral("The print job could not be completed: %1").arg(spoolFile_->errorString()));
    cups::Submit(destination_, *spoolFile_, jobTitle_, jobCopies_,
                 printer_->pageLayout().pageSize().key());
  }

  void DiscardJob() override {
    spool_.reset();
    spoolFile_.reset();
  }

 private:
  bool probed_ = false;
  cups::Lookup lookup_ = cups::Lookup::NoDefault;
  cups::Destination destination_;
  std::unique_ptr<QTemporaryFile> spoolFile_;
  std::unique_ptr<QPdfWriter> spool_;  // the job being spooled
};

}  // namespace

std::unique_ptr<TPrinter> MakeSystemPrinter() { return std::make_unique<SystemPrinter>(); }
