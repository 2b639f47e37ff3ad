// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The printer, fixture and helpers of the page printer's printing tests.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "PagePrinterFixture.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"

// A test printer that calls back after every sheet has been drawn, so a test
// can look at the dialog or press Cancel while a run is in progress.
class HookPrinter : public TTestPrinter {
 public:
  explicit HookPrinter(Setup setup) : TTestPrinter(setup), canvas_(this) {}
  std::function<void()> afterSheet;
  TCanvas* Canvas() override {
    canvas_.inner = TTestPrinter::Canvas();
    return &canvas_;
  }

 private:
  // Passes everything to the recording canvas; calls the hook after a page is drawn.
  class HookCanvas : public TCanvas {
   public:
    explicit HookCanvas(HookPrinter* owner) : owner_(owner) {}
    TCanvas* inner = nullptr;
    void TextOut(int x, int y, const QString& text) override { inner->TextOut(x, y, text); }
    int TextWidth(const QString& text) override { return inner->TextWidth(text); }
    int TextHeight(const QString& text) override { return inner->TextHeight(text); }
    void Polyline(const std::vector<QPoint>& points) override { inner->Polyline(points); }
    void Rectangle(const QRect& r) override { inner->Rectangle(r); }
    void FillRect(const QRect& r) override { inner->FillRect(r); }
    void Draw(int x, int y, const TMetafile& page) override {
      inner->Draw(x, y, page);
      if (owner_->afterSheet) owner_->afterSheet();
    }
    void StretchDraw(const QRect& r, const TMetafile& page) override { inner->StretchDraw(r, page); }

   private:
    HookPrinter* owner_;
  };
  HookCanvas canvas_;
};

struct DialogState {
  bool exists = false;
  bool visible = false;
  QString caption, status, label;
  int value = 0, maximum = 0;
  bool buttonVisible = false, buttonEnabled = false;
  int height = 0;
};

class PrintTest : public PagePrinterFixture<HookPrinter> {
 protected:
  // Fills n pages by drawing on the page canvas, as the document flow would.
  void MakePages(int n) {
    pp->ClearPages(true);
    for (int i = 1; i <= n; ++i) {
      if (i > 1) pp->AddPage();
      pp->PageCanvas()->TextOut(100, 100 + i, QStringLiteral("page %1").arg(i));
      for (int k = 1; k < i; ++k) pp->PageCanvas()->TextOut(100, 200 + 50 * k, QStringLiteral("line"));
    }
    pp->OpenPage();  // completes the last page, as ending a document does
    pp->SetPageNumber(1);
  }
  // The page number drawn on each sheet.
  std::vector<int> SheetPages() const {
    std::vector<int> result;
    for (const auto& sheet : printer->Sheets()) {
      int number = 0;
      for (int n = 1; n <= pp->PageCount(); ++n)
        if (pp->Pages(n) == sheet.page) number = n;
      result.push_back(number);
    }
    return result;
  }
  DialogState Dialog() const {
    DialogState s;
    TPPPrnPrgDlg* d = pp->ProgressDialog();
    if (!d) return s;
    s.exists = true;
    s.visible = d->isVisible();
    s.caption = d->windowTitle();
    s.status = d->lblStatus->text();
    s.label = d->lblPageNumber->text();
    s.value = d->ProgBar->value();
    s.maximum = d->ProgBar->maximum();
    s.buttonVisible = d->btnCancel->isVisible();
    s.buttonEnabled = d->btnCancel->isEnabled();
    s.height = d->height();
    return s;
  }
  // Records the dialog after every sheet.
  std::vector<DialogState> RecordDialog() {
    std::vector<DialogState> seen;
    printer->afterSheet = [&] { seen.push_back(Dialog()); };
    pp->Print();
    printer->afterSheet = nullptr;
    return seen;
  }
  std::vector<QString> Events() const { return printer->Events(); }
};

inline std::vector<QString> JobEvents(int sheets, const char* last = "EndDoc") {
  std::vector<QString> e{QStringLiteral("BeginDoc")};
  for (int i = 1; i < sheets; ++i) e.push_back(QStringLiteral("NewPage"));
  e.push_back(QString::fromLatin1(last));
  return e;
}
