// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The PDF printer: a PDF file on a Letter sheet (or the given one), written
// page by page as the pages end. No QPrinter here: making one asks
// the print server for its default queue, and a PDF file needs no print server.
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "PdfJob.h"
#include "Errors.h"
#include "PrinterMessages.h"
#include "Printer.h"
#include "SafeSave.h"

namespace {

class PdfPrinter : public TPrinter {
 public:
  PdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet)
      : layout_(QPageSize(sheet), QPageLayout::Portrait, QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch),
        dpi_(dpi > 0 ? dpi : 600),
        file_(fileName) {
    context_.Set(layout_, dpi_);
  }
  ~PdfPrinter() override {
    if (printing_) Discard();
  }

  TDeviceContext* Handle() override { return &context_; }

  TCanvas* Canvas() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    return job_->Canvas();
  }

  TPrinterOrientation Orientation() const override {
    return layout_.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  }

  void SetOrientation(TPrinterOrientation o) override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    layout_.setOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    context_.Set(layout_, dpi_);
  }

  void BeginDoc() override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    const QString docName = title_.isEmpty() ? QStringLiteral("Untitled") : title_;
    try {
      // The file named is replaced only when the document is complete.
      file_.Open();
      job_ = std::make_unique<PdfJob>([this](const char* data, size_t size) { file_.Write(data, qint64(size)); },
                                      docName, layout_, dpi_, &context_);
    } catch (const Exception&) {
      Discard();
      throw EPrinter(QStringLiteral("Unable to write the PDF file \"%1\"").arg(file_.FileName()));
    }
    printing_ = true;
  }

  void NewPage() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // A page the file would not take fails the page; the job stays open for Abort.
    Checked(false, [this] { job_->NewPage(); });
  }

  void EndDoc() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    Checked(true, [this] {
      job_->Finish();
      file_.Commit();
    });
    job_.reset();
    printing_ = false;
  }

  void Abort() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    Discard();
  }

 private:
  void Discard() noexcept {
    job_.reset();
    file_.Cancel();
    printing_ = false;
  }

  // A file that cannot be written is a printer failure naming the file and the
  // reason; the old file stays as it was.
  template <typename F>
  void Checked(bool ending, F action) {
    try {
      action();
    } catch (const EInOutError& e) {
      if (ending) Discard();
      throw EPrinter(e.Message());
    } catch (const EPrinter&) {
      if (ending) Discard();
      throw;
    }
  }

  QPageLayout layout_;
  int dpi_;
  PageSetupContext context_;
  TSafeFile file_;
  std::unique_ptr<PdfJob> job_;
};

}  // namespace

std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) {
  return std::make_unique<PdfPrinter>(fileName, dpi, sheet);
}
