// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Helpers of the platform printing tests: images to count pixels in, the
// Courier font by pixel height, the printer swapped for a scope, and no print server.
#include <functional>
#include <memory>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "Canvas.h"
#include "CupsServerOverride.h"
#include "Device.h"
#include "Errors.h"
#include "Metafile.h"
#include "PdfTools.h"
#include "Printer.h"
#include "TestPrinter.h"
#include "ParamNames.h"

namespace platform_printing_test {

inline QString PdfText(const QString& file) { return RunTool("pdftotext", {"-layout", file, "-"}); }

inline QImage WhiteImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

inline int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
  int n = 0;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (test(image.pixelColor(x, y))) ++n;
  return n;
}

inline bool IsDark(QColor c) { return c.lightness() < 128; }
inline bool IsWhite(QColor c) { return c == QColor(Qt::white); }
inline bool IsReddish(QColor c) { return c.red() > 150 && c.green() < 110 && c.blue() < 110; }

inline TFont CourierPixels(int height) {
  TFont f;
  f.SetName("Courier New");
  f.SetHeight(height);
  f.SetColor(clBlack);
  return f;
}

// Restores the process-wide printer whatever a test did with it.
// Making any QPrinter, a PDF one included, asks CUPS for its default queue:
// this program sees only a socket where nothing listens, never the machine's
// scheduler.
class NoPrintServer : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<QTemporaryDir>();
    override_ = std::make_unique<CupsServerOverride>(dir_->filePath(QStringLiteral("no-print-server.sock")));
  }
  void TearDown() override {
    override_.reset();
    dir_.reset();
  }

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<CupsServerOverride> override_;
};
[[maybe_unused]] inline ::testing::Environment* const kNoPrintServer =
    ::testing::AddGlobalTestEnvironment(new NoPrintServer);

}  // namespace platform_printing_test
