// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing for real through CUPS: the system printer object prints to the
// default queue, which the capture queue (tests/e2e/cups/cups-capture.sh start DIR)
// turns into PDF files in DIR. The folder is named by TALLYVANE_CAPTURE_DIR;
// without it these tests are skipped.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "Canvas.h"
#include "CaptureQueue.h"
#include "Device.h"
#include "Errors.h"
#include "PdfTools.h"
#include "Printer.h"

namespace {

// A title no earlier job in the folder can have.
QString UniqueTitle(const char* what) {
  return QString("Tallyvane %1 %2-%3")
      .arg(what)
      .arg(QCoreApplication::applicationPid())
      .arg(QDateTime::currentMSecsSinceEpoch());
}

// The captured document of the job with the given title, waiting for the
// backend to store it; empty when none arrives.
QString WaitForCapturedJob(const QString& title, int seconds) {
  const QDir dir(CaptureDir());
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < seconds * 1000) {
    for (const QString& meta : dir.entryList({"job-*.meta"}, QDir::Files)) {
      const QString metaPath = dir.filePath(meta);
      if (MetaValue(metaPath, "title") != title) continue;
      const QString document = dir.filePath(MetaValue(metaPath, "document"));
      if (QFile::exists(document)) return document;
    }
    QThread::msleep(100);
  }
  return {};
}

bool QueueIdle(int seconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < seconds * 1000) {
    if (RunTool("lpstat", {"-o", kCaptureQueue}).trimmed().isEmpty()) return true;
    QThread::msleep(100);
  }
  return false;
}

class CupsCapture : public CaptureQueueTest {};

TEST_F(CupsCapture, SystemPrinterPrintsTwoPagesToTheDefaultQueue) {
  auto printer = MakeSystemPrinter();
  TDeviceContext* dc = printer->Handle();
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ASSERT_GT(dpi, 0);
  EXPECT_GT(GetDeviceCaps(dc, PHYSICALWIDTH), 0);
  EXPECT_GT(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALOFFSETX));
  EXPECT_GT(GetDeviceCaps(dc, PHYSICALHEIGHT), GetDeviceCaps(dc, PHYSICALWIDTH));
  EXPECT_EQ(printer->Orientation(), poPortrait);

  const QString title = UniqueTitle("capture");
  printer->SetTitle(title);
  printer->SetCopies(2);
  printer->BeginDoc();
  EXPECT_TRUE(printer->Printing());
  const char* lines[] = {"Captured page one", "Captured page two"};
  for (int sheet = 0; sheet < 2; ++sheet) {
    if (sheet > 0) printer->NewPage();
    TCanvas* canvas = printer->Canvas();
    canvas->Font().SetName("Courier New");
    canvas->Font().SetPixelsPerInch(dpi);
    canvas->Font().SetSize(12);
    canvas->Font().SetColor(clBlack);
    canvas->Brush().Style = bsClear;
    canvas->TextOut(dpi / 2, dpi / 2, lines[sheet]);
    canvas->MoveTo(dpi / 2, dpi);
    canvas->LineTo(dpi * 3, dpi);
  }
  printer->EndDoc();
  EXPECT_FALSE(printer->Printing());

  const QString pdf = WaitForCapturedJob(title, 60);
  ASSERT_FALSE(pdf.isEmpty()) << "no captured job titled " << title.toStdString();
  ASSERT_TRUE(pdf.endsWith(".pdf")) << pdf.toStdString();
  EXPECT_EQ(PdfPageCount(pdf), 2);
  QString meta = pdf;
  meta.replace(".pdf", ".meta");
  EXPECT_EQ(MetaValue(meta, "copies"), "2");
  // The sheet CUPS received is the one the device context described.
  const QStringList size = PdfInfo(pdf, "Page size").split(' ');
  ASSERT_GE(size.size(), 3);
  EXPECT_NEAR(size[0].toDouble(), GetDeviceCaps(dc, PHYSICALWIDTH) * 72.0 / GetDeviceCaps(dc, LOGPIXELSX), 1.0);
  EXPECT_NEAR(size[2].toDouble(), GetDeviceCaps(dc, PHYSICALHEIGHT) * 72.0 / dpi, 1.0);
  const QString page1 = RunTool("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
  const QString page2 = RunTool("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
  EXPECT_TRUE(page1.contains("Captured page one")) << page1.toStdString();
  EXPECT_TRUE(page2.contains("Captured page two")) << page2.toStdString();
  EXPECT_FALSE(page1.contains("Captured page two"));
}

TEST_F(CupsCapture, AbortedJobIsNotPrinted) {
  auto printer = MakeSystemPrinter();
  const QString title = UniqueTitle("aborted");
  printer->SetTitle(title);
  printer->BeginDoc();
  printer->Canvas()->TextOut(100, 100, "Never printed");
  printer->Abort();
  EXPECT_FALSE(printer->Printing());

  // A job that was submitted would be queued by now; once the queue is idle,
  // any job would have been captured.
  ASSERT_TRUE(QueueIdle(60));
  const QDir dir(CaptureDir());
  for (const QString& meta : dir.entryList({"job-*.meta"}, QDir::Files))
    EXPECT_NE(MetaValue(dir.filePath(meta), "title"), title) << "the aborted job reached the queue";

  // The printer object is usable again after an abort.
  printer->SetTitle(UniqueTitle("after abort"));
  printer->BeginDoc();
  printer->Canvas()->TextOut(100, 100, "After abort");
  printer->EndDoc();
  EXPECT_FALSE(WaitForCapturedJob(printer->Title(), 60).isEmpty());
}

// A default destination that is an instance ("lpoptions -p QUEUE/two -o copies=2;
// lpoptions -d QUEUE/two") prints, with the instance's options. The options file
// is the test's own (CUPS_SERVERROOT), so the machine's settings stay as they are.
TEST_F(CupsCapture, AnInstanceAsTheDefaultPrintsWithItsOptions) {
  QTemporaryDir root;
  QFile lpoptions(root.filePath("lpoptions"));
  ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
  lpoptions.write("Default " + kCaptureQueue.toUtf8() + "/two copies=2\n");
  lpoptions.close();
  const QByteArray savedRoot = qgetenv("CUPS_SERVERROOT");
  qputenv("CUPS_SERVERROOT", QFile::encodeName(root.path()));
  const auto restore =
      qScopeGuard([&] { savedRoot.isEmpty() ? qunsetenv("CUPS_SERVERROOT") : qputenv("CUPS_SERVERROOT", savedRoot); });
  auto printer = MakeSystemPrinter();
  const QString title = UniqueTitle("instance");
  printer->SetTitle(title);
  printer->BeginDoc();
  printer->Canvas()->TextOut(100, 100, "Printed on an instance");
  printer->EndDoc();
  const QString pdf = WaitForCapturedJob(title, 60);
  ASSERT_FALSE(pdf.isEmpty()) << "no captured job titled " << title.toStdString();
  QString meta = pdf;
  meta.replace(".pdf", ".meta");
  EXPECT_EQ(MetaValue(meta, "copies"), "2");
}

}  // namespace
