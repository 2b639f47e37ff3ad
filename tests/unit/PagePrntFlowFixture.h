// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Shared set-up of the page printer's text-flow tests: a test printer (600 dpi,
// Letter, 0.1-inch unprintable offsets, fixed-pitch text) installed as the
// process-wide printer for one test, and helpers that read recorded pages.
#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <vector>

#include "Metafile.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "TestPrinter.h"

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

struct DrawnText {
  QString text;
  int x = 0;
  int y = 0;
  bool operator==(const DrawnText& o) const { return text == o.text && x == o.x && y == o.y; }
};
inline std::ostream& operator<<(std::ostream& os, const DrawnText& t) {
  return os << "\"" << t.text.toStdString() << "\"@(" << t.x << "," << t.y << ")";
}

struct DrawnLine {
  QPoint from, to;
  int width = 0;
  bool operator==(const DrawnLine& o) const { return from == o.from && to == o.to && width == o.width; }
};
inline std::ostream& operator<<(std::ostream& os, const DrawnLine& l) {
  return os << "(" << l.from.x() << "," << l.from.y() << ")-(" << l.to.x() << "," << l.to.y() << ") w" << l.width;
}

inline std::vector<DrawnText> TextsOf(const TMetafile* page) {
  std::vector<DrawnText> out;
  for (const TMetaOp* op : page->TextOperations()) out.push_back({op->text, op->origin.x(), op->origin.y()});
  return out;
}

inline std::vector<DrawnLine> LinesOf(const TMetafile* page) {
  std::vector<DrawnLine> out;
  for (const TMetaOp& op : page->Operations())
    if (op.kind == TMetaOp::Polyline && op.points.size() == 2)
      out.push_back({op.points[0], op.points[1], op.pen.Width});
  return out;
}

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
