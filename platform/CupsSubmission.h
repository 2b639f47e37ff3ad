#pragma once
// Job submission to CUPS. Qt's own CUPS engine submits whatever was drawn when
// its painter ends, even after QPrinter::abort(), and reports a refused job as
// success; so the system printer spools to a PDF file of its own and hands it
// to CUPS here.
#include <QString>

namespace cups {
// Sends a finished PDF to the queue; raises EPrinter when CUPS refuses it.
void Submit(const QString& queue, const QString& file, const QString& title, int copies, const QString& media);
}  // namespace cups
