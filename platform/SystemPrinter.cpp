// The system printer: QPrinter on CUPS's default queue, each job spooled as PDF
// and handed to CUPS by EndDoc.
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include "CupsSubmission.h"
#include "QtPrinter.h"

namespace {

class SystemPrinter : public QtPrinter {
 public:
  // The queue is looked up on first use, so that merely starting the program asks nothing of CUPS.
  SystemPrinter() = default;
  ~SystemPrinter() override { DiscardOpenJob(); }

 protected:
  void Prepare() override {
    if (probed_) return;
    probed_ = true;
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull()) return;
    queueName_ = queue.printerName();
    Adopt(std::make_unique<QPrinter>(queue, QPrinter::HighResolution));
  }

  // Spools the job as PDF with the queue's page set-up; EndDoc submits it.
  QPrinter* StartJob(const QString& docName) override {
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
    return spool_.get();
  }

  [[noreturn]] void RaiseStartFailure() override {
    DiscardJob();
    throw EPrinter(QStringLiteral("Unable to start a print job on printer \"%1\"").arg(queueName_));
  }

  void FinishJob(bool ended) override {
    // The spool file goes whatever CUPS answers: it has its own copy once it accepted the job.
    const auto dropSpool = qScopeGuard([this] { DiscardJob(); });
    if (!ended) throw EPrinter(QStringLiteral("The print job could not be completed"));
    cups::Submit(queueName_, spoolPath_, jobTitle_, jobCopies_, printer_->pageLayout().pageSize().key());
  }

  void DiscardJob() override {
    spool_.reset();
    if (!spoolPath_.isEmpty()) QFile::remove(spoolPath_);
    spoolPath_.clear();
  }

 private:
  bool probed_ = false;
  QString queueName_;
  std::unique_ptr<QPrinter> spool_;  // the job being spooled
  QString spoolPath_;
};

}  // namespace

std::unique_ptr<TPrinter> MakeSystemPrinter() { return std::make_unique<SystemPrinter>(); }
