// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The set-up chosen in Print Setup: where the schedule prints, on what paper,
// how many copies of which pages. It lasts for the process and nothing stores
// it; without one every command keeps its own defaults.
#include <QPageSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "Printer.h"

class TPagePrinter;

struct PrintChoice {
  enum class Sides { OneSided, LongEdge, ShortEdge };
  QString destination;  // "queue" or "queue/instance"
  QPageSize paper;      // invalid: the queue's own paper
  TPrinterOrientation orientation = poPortrait;
  int copies = 1;
  bool collate = true;
  Sides sides = Sides::OneSided;
  int fromPage = 0;  // 0 .. 0: every page
  int toPage = 0;
  // The printer the choice names, made once when it was chosen.
  std::shared_ptr<TPrinter> printer;
};

// The process's choice; empty until Print Setup is accepted.
const std::optional<PrintChoice>& ChosenPrint();
// Replaces the choice (a new printer is made for it); std::nullopt forgets it.
void SetChosenPrint(std::optional<PrintChoice> choice);

// Waits, with Cancel live, until the printer a print would use (the chosen
// one, else the page printer's own) knows its queue; false when the user cancelled.
bool WaitForPrintPrinter(const TPagePrinter& printer);

// How a choice becomes a printer: the system printer on the destination and
// paper by default. Tests install their own; returns the previous maker.
using ChoicePrinterMaker = std::function<std::shared_ptr<TPrinter>(const PrintChoice&)>;
ChoicePrinterMaker SetChoicePrinterMaker(ChoicePrinterMaker maker);

// The paper Save as PDF uses: the chosen one, else the locale's.
QPageSize::PageSizeId ChosenOrLocalePaper();

// Puts the choice on a page printer for one print and takes its copies,
// collation and page range back afterwards; the chosen printer stays. Without
// a choice it does nothing.
class ChoiceInEffect {
 public:
  explicit ChoiceInEffect(TPagePrinter& printer);
  ~ChoiceInEffect();
  ChoiceInEffect(const ChoiceInEffect&) = delete;
  ChoiceInEffect& operator=(const ChoiceInEffect&) = delete;
  // Narrows the print to the chosen pages once the document exists; false
  // (with the reason in `message`) when none of them is in it.
  bool SelectPages(QString& message);

 private:
  TPagePrinter& printer_;
  bool applied_ = false;
  uint32_t copies_ = 1, fromPage_ = 0, toPage_ = 0;
  bool collate_ = true;
};
