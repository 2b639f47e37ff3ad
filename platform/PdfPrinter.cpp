// The PDF printer: QPrinter writing a PDF file on a Letter sheet.
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "QtPrinter.h"

namespace {

class PdfPrinter : public QtPrinter {
 public:
  PdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) : fileName_(fileName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(fileName);
    printer->setResolution(dpi > 0 ? dpi : 600);
    printer->setPageSize(QPageSize(sheet));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    Adopt(std::move(printer));
  }
  ~PdfPrinter() override { DiscardOpenJob(); }

 protected:
  QPrinter* StartJob(const QString& docName) override {
    printer_->setDocName(docName);
    printer_->setCopyCount(std::max(1, copies_));
    printer_->setFullPage(false);
    return printer_.get();
  }

  [[noreturn]] void RaiseStartFailure() override {
    throw EPrinter(QStringLiteral("Unable to write the PDF file \"%1\"").arg(fileName_));
  }

  void FinishJob(bool ended) override {
    if (!ended) throw EPrinter(QStringLiteral("Unable to complete the PDF file \"%1\"").arg(fileName_));
  }

  void DiscardJob() override { QFile::remove(fileName_); }

 private:
  QString fileName_;
};

}  // namespace

std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) {
  return std::make_unique<PdfPrinter>(fileName, dpi, sheet);
}
