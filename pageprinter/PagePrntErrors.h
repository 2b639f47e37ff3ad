#pragma once
#include "Errors.h"

// Misuse of the page printer; fixed English messages.
class EPagePrinter : public EPrinter {
 public:
  using EPrinter::EPrinter;
};

// The user cancelled printing; Print catches it and returns false.
class ECancelPrinting : public EPagePrinter {
 public:
  ECancelPrinting() : EPagePrinter(QStringLiteral("Printing Cancelled")) {}
};
