// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Print Preview on the 148,000-payment schedule (2,001 pages on Letter): the
// window opening (document built once, first page and thumbnails painted) and
// a page turn (the new page and its thumbnail painted).
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "Dialogs.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "PagePrnt.h"
#include "SchedulePreview.h"
#include "TestPrinterInstall.h"
#include "main.h"

namespace {

// The main window with the schedule calculated, on a Letter test printer at 600 dpi.
struct Window {
  Window() {
    SetDialogs(std::make_unique<UnattendedDialogs>());
    CalculationState() = LoanState{};
    form = std::make_unique<TMainForm>();
    form->txtAmount->setText(QStringLiteral("150000"));
    form->txtInterest->setText(QStringLiteral("0"));
    form->txtPayments->setText(QStringLiteral("148000"));
    form->flblCalculateClick(nullptr);
  }
  ~Window() {
    form.reset();
    SetDialogs(nullptr);
  }
  TestPrinterInstall<> printer;
  std::unique_ptr<TMainForm> form;
};

Window& TheWindow() {
  static Window window;
  return window;
}

void Paint(SchedulePreview& preview) {
  preview.Pages()->viewport()->repaint();
  preview.Thumbnails()->viewport()->repaint();
}

void BM_PreviewOpen148000Payments(benchmark::State& state) {
  Window& window = TheWindow();
  const QDate start(2025, 1, 15);
  int pages = 0;
  for (auto _ : state) {
    SchedulePreview preview(window.form.get(), window.form->PrintSnapshot(start));
    preview.show();
    QApplication::processEvents();
    Paint(preview);
    pages = preview.PageCount();
  }
  state.counters["pages"] = pages;
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_PreviewOpen148000Payments)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PreviewPageTurn(benchmark::State& state) {
  Window& window = TheWindow();
  SchedulePreview preview(window.form.get(), window.form->PrintSnapshot(QDate(2025, 1, 15)));
  preview.show();
  QApplication::processEvents();
  preview.FitWidth();
  int page = 1;
  for (auto _ : state) {
    // Through the pages in long strides, so that most thumbnails are new.
    page = page % preview.PageCount() + 97;
    if (page > preview.PageCount()) page -= preview.PageCount();
    preview.ShowPage(page);
    Paint(preview);
  }
  state.counters["pages"] = preview.PageCount();
}
BENCHMARK(BM_PreviewPageTurn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
