// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The PDF printer: a PDF file on a Letter sheet (or the given one), its pages
// written as they end. No QPrinter here: making one asks the print server for
// its default queue, and a PDF file needs no print server. A QPdfWriter holds
// the page set-up and answers the device capabilities; it is never painted on.
#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "Errors.h"
#include "PdfCanvas.h"
#include "PdfDocument.h"
#include "PrinterMessages.h"
#include "QtPrinter.h"
#include "SafeSave.h"

namespace {

class PdfPrinter : public TPrinter {
 public:
  PdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) : file_(fileName) {
    setup_ = std::make_unique<QPdfWriter>(&unused_);
    setup_->setResolution(dpi > 0 ? dpi : 600);
    setup_->setPageLayout(QPageLayout(QPageSize(sheet), QPageLayout::Portrait, QMarginsF(0.25, 0.25, 0.25, 0.25),
                                      QPageLayout::Inch));
    context_ = std::make_unique<QtPrinterContext>(setup_.get());
  }
  ~PdfPrinter() override {
    if (printing_) Discard();
  }

  TDeviceContext* Handle() override { return context_.get(); }

  TCanvas* Canvas() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    return canvas_.get();
  }

  TPrinterOrientation Orientation() const override {
    return setup_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  }

  void SetOrientation(TPrinterOrientation o) override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    setup_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    context_->Refresh();
  }

  void BeginDoc() override {
    if (printing_) throw EPrinter(printer_messages::PrintingInProgress());
    const QString docName = title_.isEmpty() ? QStringLiteral("Untitled") : title_;
    try {
      // The file named is replaced only when the document is complete.
      file_.Open();
      document_ = std::make_unique<TPdfDocument>([this](const QByteArray& bytes) { file_.Write(bytes); }, docName,
                                                 QStringLiteral("Tallyvane"));
    } catch (const EInOutError&) {
      Discard();
      throw EPrinter(QStringLiteral("Unable to write the PDF file \"%1\"").arg(file_.FileName()));
    }
    canvas_ = std::make_unique<TPdfCanvas>(document_.get(), context_.get());
    printing_ = true;
    StartPage();
  }

  void NewPage() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    // A page the file would not take fails the page; the job stays open for Abort.
    Checked(false, [this] { document_->EndPage(); });
    StartPage();
  }

  void EndDoc() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    Checked(true, [this] {
      document_->Finish();
      file_.Commit();
    });
    canvas_.reset();
    document_.reset();
    printing_ = false;
  }

  void Abort() override {
    if (!printing_) throw EPrinter(printer_messages::NotPrinting());
    Discard();
  }

 private:
  void StartPage() {
    const QPageLayout layout = setup_->pageLayout();
    const QRectF paper = layout.fullRectPoints();
    const QRectF paint = layout.paintRectPoints();
    document_->BeginPage(paper.size());
    canvas_->BeginPage(paper.size(), paint.topLeft() - paper.topLeft(), setup_->logicalDpiX());
  }

  void Discard() noexcept {
    canvas_.reset();
    document_.reset();
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
    }
  }

  QBuffer unused_;
  std::unique_ptr<QPdfWriter> setup_;
  std::unique_ptr<QtPrinterContext> context_;
  TSafeFile file_;
  std::unique_ptr<TPdfDocument> document_;
  std::unique_ptr<TPdfCanvas> canvas_;
};

}  // namespace

std::unique_ptr<TPrinter> MakePdfPrinter(const QString& fileName, int dpi, QPageSize::PageSizeId sheet) {
  return std::make_unique<PdfPrinter>(fileName, dpi, sheet);
}
