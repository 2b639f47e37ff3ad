// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
#include "tallyvane_pageprinter_export.h"
#include "Errors.h"

// Misuse of the page printer; fixed English messages.
class TALLYVANE_PAGEPRINTER_EXPORT EPagePrinter : public EPrinter {
 public:
  using EPrinter::EPrinter;
};

// The user cancelled printing; Print catches it and returns false.
class TALLYVANE_PAGEPRINTER_EXPORT ECancelPrinting : public EPagePrinter {
 public:
  ECancelPrinting() : EPagePrinter(QStringLiteral("Printing Cancelled")) {}
};
