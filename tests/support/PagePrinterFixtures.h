// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The fixtures of the page printer's tests, and the test printers they stand on:
// a component on a test printer of its own (the plain one, a 600-dpi Letter one,
// none at all), on one that counts text measurements (the text-flow tests) or on
// one that calls back after each sheet (the printing tests, which also read the
// progress dialog), and the regional settings swapped for a scope.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QString>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "Conversions.h"
#include "Metafile.h"
#include "PagePrnt.h"
#include "PgPrnPrg.h"
#include "Printer.h"
#include "RecordedPages.h"
#include "TestPrinter.h"
#include "TestPrinterInstall.h"

// Switches the regional settings for a scope (decimal comma tests) and puts the old ones back.
class FormatSettingsScope {
 public:
  explicit FormatSettingsScope(const FormatSettings& settings) : saved_(FormatSettings::Current()) {
    FormatSettings::SetCurrent(settings);
  }
  ~FormatSettingsScope() { FormatSettings::SetCurrent(saved_); }

  static FormatSettings DecimalComma() {
    FormatSettings fs = FormatSettings::Current();
    fs.decimalSeparator = QChar(',');
    fs.thousandSeparator = QChar('.');
    return fs;
  }

 private:
  FormatSettings saved_;
};

inline TTestPrinter::Setup Printer600(int offsetX = 60, int offsetY = 60) {
  TTestPrinter::Setup s;
  s.dpiX = s.dpiY = 600;
  s.physicalWidth = 5100;
  s.physicalHeight = 6600;
  s.offsetX = offsetX;
  s.offsetY = offsetY;
  return s;
}

// Expects an EPagePrinter with exactly this message.
template <typename F>
void ExpectRefused(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const EPagePrinter& e) {
    EXPECT_EQ(e.Message(), QString::fromLatin1(message));
  }
}

// A page printer on its own test printer: the test printer replaces the
// process's printer for each test and the previous one comes back afterwards.
// PrinterT: TTestPrinter or a class made from one, built from a Setup.
template <class PrinterT = TTestPrinter>
class PagePrinterFixture : public ::testing::Test {
 protected:
  void SetUp() override { Install(TTestPrinter::Setup{}); }
  void TearDown() override {
    pp.reset();
    install_.reset();
  }
  // A fresh printer with this setup and a fresh page printer on it.
  void Install(TTestPrinter::Setup setup) {
    pp.reset();
    if (install_)
      printer = install_->Replace(setup);
    else
      printer = (install_ = std::make_unique<TestPrinterInstall<PrinterT>>(setup))->get();
    pp = std::make_unique<TPagePrinter>();
  }

  std::unique_ptr<TestPrinterInstall<PrinterT>> install_;
  PrinterT* printer = nullptr;
  std::unique_ptr<TPagePrinter> pp;
};

class PagePrinterOn600 : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{Printer600()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

class PagePrinterWithoutPrinter : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{TestPrinterInstall<>::NoPrinter()};
  std::unique_ptr<TPagePrinter> pp = std::make_unique<TPagePrinter>();
  void TearDown() override { pp.reset(); }
};

// A test printer whose device context counts the text measurements made on it.
class CountingPrinter : public TTestPrinter {
 public:
  explicit CountingPrinter(Setup setup) : TTestPrinter(setup), counting_(this) {}
  TDeviceContext* Handle() override {
    inner_ = TTestPrinter::Handle();
    return &counting_;
  }
  int measurements = 0;

 private:
  class Counting : public TDeviceContext {
   public:
    explicit Counting(CountingPrinter* owner) : owner_(owner) {}
    int Caps(TDeviceCap index) const override { return owner_->inner_->Caps(index); }
    int TextWidth(const TFont& font, const QString& text) const override {
      ++owner_->measurements;
      return owner_->inner_->TextWidth(font, text);
    }
    int TextHeight(const TFont& font, const QString& text) const override {
      return owner_->inner_->TextHeight(font, text);
    }
    TTextMetric TextMetrics(const TFont& font) const override { return owner_->inner_->TextMetrics(font); }

   private:
    CountingPrinter* owner_;
  };
  TDeviceContext* inner_ = nullptr;
  Counting counting_;
};

// The text-flow tests: a test printer (600 dpi, Letter, 0.1-inch unprintable
// offsets, fixed-pitch text) that counts measurements, given to the component
// as its own printer.
class PagePrinterFlowTest : public ::testing::Test {
 protected:
  void SetUp() override { Install(TTestPrinter::Setup{}); }
  void TearDown() override { pp.reset(); }
  // A fresh component on a new test printer of its own.
  void Install(const TTestPrinter::Setup& setup) {
    pp.reset();
    auto next = std::make_shared<CountingPrinter>(setup);
    printer = next.get();
    pp = std::make_unique<TPagePrinter>(std::move(next));
  }
  std::vector<DrawnText> PageTexts(int page) const { return TextsOf(pp->Pages(page)); }
  std::vector<DrawnLine> PageLines(int page) const { return LinesOf(pp->Pages(page)); }

  CountingPrinter* printer = nullptr;
  std::unique_ptr<TPagePrinter> pp;
};

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
