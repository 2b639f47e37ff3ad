// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "PrintChoice.h"

#include <QLocale>
#include <algorithm>

#include "LocalePaper.h"
#include "PagePrnt.h"

namespace {

std::optional<PrintChoice>& ChoiceSlot() {
  static std::optional<PrintChoice> choice;
  return choice;
}

// The IPP "sides" value of what the dialog showed.
QString SidesValue(PrintChoice::Sides sides) {
  switch (sides) {
    case PrintChoice::Sides::LongEdge: return QStringLiteral("two-sided-long-edge");
    case PrintChoice::Sides::ShortEdge: return QStringLiteral("two-sided-short-edge");
    case PrintChoice::Sides::OneSided: break;
  }
  return QStringLiteral("one-sided");
}

ChoicePrinterMaker& MakerSlot() {
  static ChoicePrinterMaker maker = [](const PrintChoice& choice) -> std::shared_ptr<TPrinter> {
    return MakeSystemPrinter(choice.destination, choice.paper, SidesValue(choice.sides));
  };
  return maker;
}

}  // namespace

const std::optional<PrintChoice>& ChosenPrint() { return ChoiceSlot(); }

void SetChosenPrint(std::optional<PrintChoice> choice) {
  if (choice) {
    choice->copies = std::max(1, choice->copies);
    choice->printer = MakerSlot()(*choice);
    // The orientation belongs to the printer; a printer that cannot tell yet says so when used.
    try {
      if (choice->printer) choice->printer->SetOrientation(choice->orientation);
    } catch (const Exception&) {
    }
  }
  ChoiceSlot() = std::move(choice);
}

ChoicePrinterMaker SetChoicePrinterMaker(ChoicePrinterMaker maker) {
  ChoicePrinterMaker previous = std::move(MakerSlot());
  MakerSlot() = std::move(maker);
  return previous;
}

QPageSize::PageSizeId ChosenOrLocalePaper() {
  const auto& choice = ChosenPrint();
  if (choice && choice->paper.isValid() && choice->paper.id() != QPageSize::Custom) return choice->paper.id();
  return LocalePaperSize(QLocale::system());
}

bool WaitForPrintPrinter(const TPagePrinter& printer) {
  const auto& choice = ChosenPrint();
  TPrinter* target = choice && choice->printer ? choice->printer.get() : printer.Printer();
  return !target || target->WaitUntilReady();
}

ChoiceInEffect::ChoiceInEffect(TPagePrinter& printer) : printer_(printer) {
  const auto& choice = ChosenPrint();
  if (!choice || !choice->printer) return;
  if (printer_.Printer() != choice->printer.get()) printer_.SetPrinter(choice->printer);
  // SetPrinter carries the old printer's orientation over; the choice's wins.
  printer_.SetOrientation(choice->orientation);
  copies_ = printer_.Copies();
  collate_ = printer_.Collate();
  fromPage_ = printer_.FromPage();
  toPage_ = printer_.ToPage();
  printer_.SetCopies(uint32_t(choice->copies));
  printer_.SetCollate(choice->collate);
  applied_ = true;
}

ChoiceInEffect::~ChoiceInEffect() {
  if (!applied_ || printer_.PrintRunning()) return;
  printer_.SetCopies(copies_);
  printer_.SetCollate(collate_);
  // From 0 up, so that neither end drags the other.
  printer_.SetFromPage(0);
  printer_.SetToPage(toPage_);
  printer_.SetFromPage(fromPage_);
}

bool ChoiceInEffect::SelectPages(QString& message) {
  if (!applied_) return true;
  const auto& choice = ChosenPrint();
  if (choice->fromPage <= 0) return true;
  const int count = printer_.PageCount();
  if (choice->fromPage > count) {
    message = QStringLiteral("The document has %1 pages; pages %2 to %3 are not in it. Nothing was printed.")
                  .arg(count)
                  .arg(choice->fromPage)
                  .arg(choice->toPage);
    return false;
  }
  printer_.SetFromPage(0);
  printer_.SetToPage(uint32_t(std::min(std::max(choice->toPage, choice->fromPage), count)));
  printer_.SetFromPage(uint32_t(choice->fromPage));
  return true;
}
