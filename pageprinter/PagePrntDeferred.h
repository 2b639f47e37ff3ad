// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Holds output back until the document's page count is known: the text file
// cannot take back what it has written, so from the first cell that shows the
// count on, its calls wait here and are handed on in order at the end.
#include <QString>
#include <cstddef>
#include <vector>

#include "PagePrntOutput.h"

class TDeferredOutput final : public TPageOutput {
 public:
  explicit TDeferredOutput(TPageOutput& target) : target_(target) {}
  bool Paged() const override { return target_.Paged(); }
  void Text(int x, int y, int indent, const QString& text, int trail, int blankWidth) override;
  void LineEnd() override;
  void PageEnd() override;
  TCanvas* LineCanvas() override { return target_.LineCanvas(); }
  // The position of the latest call, for Replace.
  std::size_t LastCall() const { return calls_.size() - 1; }
  // A text call given again with its final text and blanks.
  void Replace(std::size_t call, int indent, const QString& text, int trail);
  // Hands every held call on to the target, in order.
  void Flush();

 private:
  struct Call {
    enum class Kind { Text, LineEnd, PageEnd } kind = Kind::Text;
    int x = 0, y = 0, indent = 0;
    QString text;
    int trail = 0, blankWidth = 0;
  };
  TPageOutput& target_;
  std::vector<Call> calls_;
};
