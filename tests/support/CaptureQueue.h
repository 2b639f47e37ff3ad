// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The CUPS capture queue the end-to-end printing tests read jobs back from:
// tests/e2e/cups/cups-capture.sh start DIR makes it the default queue and
// stores each job's document and a meta file in DIR (TALLYVANE_CAPTURE_DIR).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QString>

inline const QString kCaptureQueue = QStringLiteral("tallyvane-capture");

inline QString CaptureDir() { return QString::fromLocal8Bit(qgetenv("TALLYVANE_CAPTURE_DIR")); }

// A "key=value" line of a job's meta file; empty when absent.
inline QString MetaValue(const QString& metaFile, const QString& key) {
  QFile f(metaFile);
  if (!f.open(QIODevice::ReadOnly)) return {};
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(key.toUtf8() + '=')) return QString::fromUtf8(line.mid(key.size() + 1));
  return {};
}

// Skips the test without the capture folder and stops it unless the capture
// queue is the default printer.
class CaptureQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CaptureDir().isEmpty())
      GTEST_SKIP() << "TALLYVANE_CAPTURE_DIR is not set; start the capture queue with "
                      "tests/e2e/cups/cups-capture.sh start DIR and export TALLYVANE_CAPTURE_DIR=DIR";
    ASSERT_TRUE(QDir(CaptureDir()).exists()) << CaptureDir().toStdString();
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    ASSERT_FALSE(queue.isNull()) << "Qt finds no default printer";
    ASSERT_EQ(queue.printerName(), kCaptureQueue);
  }
  // For a fixture's own SetUp after this one: go on only when this one passed.
  bool QueueReady() { return !IsSkipped() && !HasFatalFailure(); }
};
