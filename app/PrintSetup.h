// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Print Setup: Qt's print dialog over the print server's queues and instances,
// read into the process's PrintChoice.
#include <functional>
#include <optional>

#include "PrintChoice.h"

class QPrinter;
class QWidget;

// What the dialog's printer says: its queue, paper, orientation, copies,
// collation, sides and page range.
PrintChoice ChoiceFromPrinter(const QPrinter& printer);
// Sets a dialog's printer up as the choice was.
void PutChoiceOnPrinter(const PrintChoice& choice, QPrinter& printer);

// Asks for a set-up, starting from the current choice; std::nullopt on Cancel.
std::optional<PrintChoice> AskPrintSetup(QWidget* parent);
// Tests answer the dialog themselves; returns the previous way of asking
// (an empty function is Qt's dialog).
using PrintSetupQuery = std::function<std::optional<PrintChoice>(QWidget* parent)>;
PrintSetupQuery SetPrintSetupQuery(PrintSetupQuery query);
