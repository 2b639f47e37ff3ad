// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What the system and PDF printers share: a paged device holding the page
// set-up, its device capabilities, and a job drawn through a QPainter onto a
// target the realization chooses. Each realization says where a job goes and what ending
// or discarding it means.
#include <QPainter>
#include <QPagedPaintDevice>
#include <array>
#include <memory>

#include "Canvas.h"
#include "Device.h"
#include "Printer.h"

// Device capabilities of a paged device, read once per page set-up change: layout
// code asks for them inside its per-line loops.
class QtPrinterContext : public TDeviceContext {
 public:
  explicit QtPrinterContext(QPagedPaintDevice* printer) : printer_(printer) { Refresh(); }
  void Refresh();
  int Caps(TDeviceCap index) const override;

 private:
  enum { kLogPixelsX, kLogPixelsY, kPhysicalWidth, kPhysicalHeight, kOffsetX, kOffsetY, kHorzRes, kVertRes, kCount };
  QPagedPaintDevice* printer_;
  std::array<int, kCount> caps_{};
};

class QtPrinter : public TPrinter {
 public:
  ~QtPrinter() override;
  TDeviceContext* Handle() override;
  TCanvas* Canvas() override;
  TPrinterOrientation Orientation() const override;
  void SetOrientation(TPrinterOrientation o) override;
  void BeginDoc() override;
  void EndDoc() override;
  void NewPage() override;
  void Abort() override;

 protected:
  // Looks the device up when it is first needed; leaves printer_ empty when there is none.
  virtual void Prepare() {}
  // The device the job draws on (printer_ or a spool of the realization's own).
  virtual QPagedPaintDevice* StartJob(const QString& docName) = 0;
  // Cleans up what StartJob made and raises the realization's EPrinter, for a
  // painter that would not begin on the target.
  [[noreturn]] virtual void RaiseStartFailure() = 0;
  // After the painter ended (ended: whether it ended cleanly); may raise EPrinter.
  virtual void FinishJob(bool ended) = 0;
  // Raises EPrinter for a page the target would not start.
  [[noreturn]] virtual void RaisePageFailure();
  // Throws away whatever the job produced.
  virtual void DiscardJob() = 0;
  // Realizations call this from their destructors: an open job at destruction
  // is discarded rather than half-submitted.
  void DiscardOpenJob() noexcept;
  void Adopt(std::unique_ptr<QPagedPaintDevice> printer);

  std::unique_ptr<QPagedPaintDevice> printer_;
  QString jobTitle_;
  int jobCopies_ = 1;

 private:
  void EndPainter(bool& ended);
  std::unique_ptr<QtPrinterContext> context_;
  QPagedPaintDevice* target_ = nullptr;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TPainterCanvas> canvas_;
};
