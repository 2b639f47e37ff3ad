// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Reading printed PDF files back with the poppler tools (pdfinfo, pdftotext).
#include <QProcess>
#include <QString>
#include <QStringList>

// The tool's standard output; empty when it does not finish within a minute.
inline QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// A field of pdfinfo's report ("Pages", "Page size"); empty when absent.
inline QString PdfInfo(const QString& file, const QString& field) {
  for (const QString& line : RunTool("pdfinfo", {file}).split('\n'))
    if (line.startsWith(field + ':')) return line.mid(field.size() + 1).trimmed();
  return {};
}

// -1 when pdfinfo cannot read the file.
inline int PdfPageCount(const QString& file) {
  const QString pages = PdfInfo(file, "Pages");
  return pages.isEmpty() ? -1 : pages.toInt();
}
