// The PDF printer: a PDF file on a Letter sheet (or the given one), written
// by QPdfWriter. No QPrinter here: making one asks the print server for its
// default queue, and a PDF file needs no print server.
#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "Errors.h"
#include "QtPrinter.h"
#include "SafeSave.h"

namespace {

class PdfPrinter : public QtPrinter {
 public:
  PdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) : file_(fileName) {
    // Holds the page set-up between jobs; it is never painted on.
    auto setup = std::make_unique<QPdfWriter>(&unused_);
    setup->setResolution(dpi > 0 ? dpi : 600);
    setup->setPageLayout(QPageLayout(QPageSize(sheet), QPageLayout::Portrait, QMarginsF(0.25, 0.25, 0.25, 0.25),
                                     QPageLayout::Inch));
    Adopt(std::move(setup));
  }
  ~PdfPrinter() override { DiscardOpenJob(); }

 protected:
  QPagedPaintDevice* StartJob(const QString& docName) override {
    // The file named is replaced only when the document is complete.
    Checked([this] { file_.Open(); });
    writer_ = std::make_unique<QPdfWriter>(file_.Device());
    writer_->setResolution(printer_->logicalDpiX());
    writer_->setPageLayout(printer_->pageLayout());
    writer_->setTitle(docName);
    writer_->setCreator(QStringLiteral("Tallyvane"));
    return writer_.get();
  }

  [[noreturn]] void RaiseStartFailure() override {
    DiscardJob();
    throw EPrinter(QStringLiteral("Unable to write the PDF file \"%1\"").arg(file_.FileName()));
  }

  // A page fails to start when the file could not take the previous one.
  [[noreturn]] void RaisePageFailure() override {
    if (file_.Failed()) Checked([this] { file_.Commit(); });
    QtPrinter::RaisePageFailure();
  }

  void FinishJob(bool ended) override {
    writer_.reset();
    // A write that failed outranks the painter's own report.
    if (file_.Failed()) Checked([this] { file_.Commit(); });
    if (!ended) {
      file_.Cancel();
      throw EPrinter(QStringLiteral("Unable to complete the PDF file \"%1\"").arg(file_.FileName()));
    }
    // Qt's PDF engine reports no write errors: the device's state, its flush and sync decide.
    Checked([this] { file_.Commit(); });
  }

  void DiscardJob() override {
    writer_.reset();
    file_.Cancel();
  }

 private:
  // A file that cannot be written is a printer failure here, with the file's name and the reason.
  template <typename F>
  static void Checked(F action) {
    try {
      action();
    } catch (const EInOutError& e) {
      throw EPrinter(e.Message());
    }
  }

  QBuffer unused_;
  TSafeFile file_;
  std::unique_ptr<QPdfWriter> writer_;
};

}  // namespace

std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) {
  return std::make_unique<PdfPrinter>(fileName, dpi, sheet);
}
