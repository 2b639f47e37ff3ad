// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The printed document read back from the capture folder (pdftotext, pdfinfo)
// and what it must show, worked out independently of the program.
#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

#include "Application.h"
#include "CaptureQueue.h"
#include "Conversions.h"
#include "Device.h"
#include "Dialogs.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"
#include "QVXFlashLabel.h"
#include "Startup.h"
#include "main.h"

namespace print_e2e {

inline const QString kJobTitle = QStringLiteral("Amortization Schedule");

struct ToolResult {
  int exitCode = -1;
  QString out, err;
};

inline ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env = {}) {
  QProcess p;
  if (!env.isEmpty()) p.setProcessEnvironment(env);
  p.start(program, args);
  ToolResult r;
  if (!p.waitForFinished(180000)) {
    p.kill();
    p.waitForFinished();
    r.err = QStringLiteral("timed out");
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

inline QSet<QString> JobsInCaptureFolder() {
  const QStringList metas = QDir(CaptureDir()).entryList({QStringLiteral("job-*.meta")}, QDir::Files);
  return QSet<QString>(metas.begin(), metas.end());
}

// The document of a job that was not in the folder before and carries the
// schedule's title; empty when none arrives in time.
inline QString WaitForNewJob(const QSet<QString>& before, int seconds) {
  const QDir dir(CaptureDir());
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < seconds * 1000) {
    for (const QString& meta : dir.entryList({QStringLiteral("job-*.meta")}, QDir::Files)) {
      if (before.contains(meta)) continue;
      const QString metaPath = dir.filePath(meta);
      if (MetaValue(metaPath, QStringLiteral("title")) != kJobTitle) continue;
      const QString document = MetaValue(metaPath, QStringLiteral("document"));
      // The backend writes the meta file first and renames the whole document into place.
      if (!document.isEmpty() && QFile::exists(dir.filePath(document))) return dir.filePath(document);
    }
    QThread::msleep(5);
  }
  return {};
}

inline QString PdfInfo(const QString& file, const QString& field) {
  for (const QString& line : RunTool(QStringLiteral("pdfinfo"), {file}).out.split(u'\n'))
    if (line.startsWith(field + u':')) return line.mid(field.size() + 1).trimmed();
  return {};
}

// ---- The printed document as pdftotext -layout reads it ----

struct PrintedRow {
  QString date, payment, principal, interest, balance;
  int page = 0;
};

struct PrintedPage {
  QStringList lines;  // non-blank lines, blanks runs collapsed to one
  int rows = 0;
};

struct PrintedDocument {
  std::vector<PrintedPage> pages;
  std::vector<PrintedRow> rows;
  QStringList totals;  // the simplified totals lines
  int totalsPage = 0;
};

inline PrintedDocument ReadPdf(const QString& pdf) {
  PrintedDocument doc;
  const ToolResult text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  QStringList pages = text.out.split(u'\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();  // after the last form feed
  static const QRegularExpression row(QStringLiteral("^(\\d\\d/\\d\\d/\\d{4}) (\\S+) (\\S+) (\\S+) (\\S+)$"));
  for (int p = 0; p < pages.size(); ++p) {
    PrintedPage page;
    for (const QString& raw : pages[p].split(u'\n')) {
      const QString line = raw.simplified();
      if (line.isEmpty()) continue;
      page.lines << line;
      const QRegularExpressionMatch m = row.match(line);
      if (m.hasMatch()) {
        doc.rows.push_back({m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5), p + 1});
        ++page.rows;
      } else if (line.startsWith(QStringLiteral("Totals "))) {
        doc.totals << line;
        doc.totalsPage = p + 1;
      }
    }
    doc.pages.push_back(page);
  }
  return doc;
}

// ---- Expectations worked out independently of the program ----

// Monthly due dates step by a fixed month table in which February has 28 days;
// weekly ones by 7 days.
inline QStringList ExpectedDueDates(QDate first, int count, bool weekly) {
  static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  QStringList dates;
  QDate due = first;
  for (int i = 0; i < count; ++i) {
    dates << due.toString(QStringLiteral("MM/dd/yyyy"));
    due = due.addDays(weekly ? 7 : kMonthDays[due.month() - 1]);
  }
  return dates;
}

// Rows per page from the page printer's flow rule: every line end moves the
// cursor down one line height, and when the next line would reach the bottom
// margin a page starts with its heading (a blank, the loan line, a blank, the
// column heading, a blank). On the first page of the first print the blank and
// the loan line are in the 10-point font, everything else in 9 points.
inline std::vector<int> ExpectedRowsPerPage(int contentHeight, int dpi, int rows, bool firstPrint) {
  const int h10 = int(std::lround(10.0 * dpi / 72.0));
  const int h9 = int(std::lround(9.0 * dpi / 72.0));
  std::vector<int> perPage{0};
  int y = firstPrint ? 2 * h10 + 3 * h9 : 5 * h9;
  auto lineEnd = [&] {
    y += h9;
    if (y + h9 >= contentHeight) {
      perPage.push_back(0);
      y = 5 * h9;
    }
  };
  for (int i = 0; i < rows; ++i) {
    ++perPage.back();
    lineEnd();
  }
  lineEnd();  // the blank line before the totals
  lineEnd();  // the totals row
  return perPage;
}

}  // namespace print_e2e
