// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What the PDF printer and the system printer share: the device capabilities
// of a page set-up, and one PDF document written while its pages are played,
// each page handed to the sink as it ends.
#include <QPageLayout>
#include <QString>
#include <array>
#include <exception>
#include <functional>
#include <memory>

#include "Canvas.h"
#include "Device.h"

class PdfCanvas;
class PdfWriter;

// Device capabilities of a page set-up at a resolution, worked out once per
// change: layout code asks for them inside its per-line loops.
class PageSetupContext : public TDeviceContext {
 public:
  void Set(const QPageLayout& layout, int dpi);
  int Caps(TDeviceCap index) const override;

 private:
  enum { kLogPixelsX, kLogPixelsY, kPhysicalWidth, kPhysicalHeight, kOffsetX, kOffsetY, kHorzRes, kVertRes, kCount };
  std::array<int, kCount> caps_{};
};

class PdfJob {
 public:
  // Takes every byte of the file in order; raises (EInOutError) when it cannot.
  using Sink = std::function<void(const char* data, size_t size)>;
  // Opens the document on its first page; reference measures the texts' background boxes.
  PdfJob(Sink sink, const QString& title, const QPageLayout& layout, int dpi, TDeviceContext* reference);
  // Without Finish the document is left incomplete: the caller throws its bytes away.
  ~PdfJob();
  PdfJob(const PdfJob&) = delete;
  PdfJob& operator=(const PdfJob&) = delete;

  TCanvas* Canvas();
  // Ends the page (written out now) and starts the next; raises what the sink raised.
  void NewPage();
  // Ends the last page and completes the file; raises what the sink raised.
  void Finish();

 private:
  void StartPage();

  QPageLayout layout_;
  int dpi_;
  std::unique_ptr<PdfWriter> writer_;
  std::unique_ptr<PdfCanvas> canvas_;
};
