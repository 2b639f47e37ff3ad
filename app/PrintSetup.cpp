// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PrintSetup.h"

#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPushButton>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>

namespace {

PrintSetupQuery& QuerySlot() {
  static PrintSetupQuery query;
  return query;
}

// The dialog cannot know the page count before the document is built.
constexpr int kLastPossiblePage = 999999;

}  // namespace

PrintChoice ChoiceFromPrinter(const QPrinter& printer) {
  PrintChoice choice;
  choice.destination = printer.printerName();
  const QPageLayout layout = printer.pageLayout();
  choice.paper = layout.pageSize();
  choice.orientation = layout.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
  choice.copies = std::max(1, printer.copyCount());
  choice.collate = printer.collateCopies();
  switch (printer.duplex()) {
    case QPrinter::DuplexLongSide: choice.sides = PrintChoice::Sides::LongEdge; break;
    case QPrinter::DuplexShortSide: choice.sides = PrintChoice::Sides::ShortEdge; break;
    default: choice.sides = PrintChoice::Sides::OneSided; break;
  }
  if (printer.printRange() == QPrinter::PageRange && !printer.pageRanges().isEmpty()) {
    // Several ranges print as the span from the first page to the last.
    choice.fromPage = printer.pageRanges().firstPage();
    choice.toPage = printer.pageRanges().lastPage();
  }
  return choice;
}

void PutChoiceOnPrinter(const PrintChoice& choice, QPrinter& printer) {
  if (!choice.destination.isEmpty()) printer.setPrinterName(choice.destination);
  if (choice.paper.isValid()) printer.setPageSize(choice.paper);
  printer.setPageOrientation(choice.orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setCopyCount(choice.copies);
  printer.setCollateCopies(choice.collate);
  switch (choice.sides) {
    case PrintChoice::Sides::LongEdge: printer.setDuplex(QPrinter::DuplexLongSide); break;
    case PrintChoice::Sides::ShortEdge: printer.setDuplex(QPrinter::DuplexShortSide); break;
    case PrintChoice::Sides::OneSided: printer.setDuplex(QPrinter::DuplexNone); break;
  }
  if (choice.fromPage > 0) {
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(choice.fromPage, std::max(choice.fromPage, choice.toPage));
  }
}

PrintSetupQuery SetPrintSetupQuery(PrintSetupQuery query) {
  PrintSetupQuery previous = std::move(QuerySlot());
  QuerySlot() = std::move(query);
  return previous;
}

std::optional<PrintChoice> AskPrintSetup(QWidget* parent) {
  if (QuerySlot()) return QuerySlot()(parent);
  QPrinter printer(QPrinter::HighResolution);
  if (const auto& current = ChosenPrint()) PutChoiceOnPrinter(*current, printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print Setup"));
  // Printing goes to a queue; Save as PDF writes files.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOptions(dialog.options() | QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(1, kLastPossiblePage);
  // The dialog only chooses; Print prints.
  for (auto* buttons : dialog.findChildren<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // The dialog's own "print to file" entry has no queue behind it.
  if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) return std::nullopt;
  return ChoiceFromPrinter(printer);
}
