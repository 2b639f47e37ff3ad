// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The page printer's errors.
#include "tallyvane_pageprinter_export.h"
#include "Errors.h"

/// Misuse of the page printer, such as changing a margin while printing; fixed
/// English messages ("Unable to change top margin while printing").
class TALLYVANE_PAGEPRINTER_EXPORT EPagePrinter : public EPrinter {
 public:
  using EPrinter::EPrinter;
};

/// The user cancelled printing ("Printing Cancelled"); TPagePrinter::Print catches it and returns false.
class TALLYVANE_PAGEPRINTER_EXPORT ECancelPrinting : public EPagePrinter {
 public:
  /// The error with its fixed message.
  ECancelPrinting() : EPagePrinter(QStringLiteral("Printing Cancelled")) {}
};
