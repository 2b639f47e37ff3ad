// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The held-back output of documents that show the page count, and the count
// filled in when the document ends.
#include "PagePrntDeferred.h"

#include <algorithm>

#include "PageDocument.h"
#include "PagePrntInternal.h"
#include "PageDocumentPrivate.h"

using pageprinter_detail::AddClamped;
using pageprinter_detail::SubtractClamped;

void TDeferredOutput::Text(int x, int y, int indent, const QString& text, int trail, int blankWidth) {
  Call c;
  c.x = x;
  c.y = y;
  c.indent = indent;
  c.text = text;
  c.trail = trail;
  c.blankWidth = blankWidth;
  calls_.push_back(std::move(c));
}

void TDeferredOutput::LineEnd() {
  Call c;
  c.kind = Call::Kind::LineEnd;
  calls_.push_back(std::move(c));
}

void TDeferredOutput::PageEnd() {
  Call c;
  c.kind = Call::Kind::PageEnd;
  calls_.push_back(std::move(c));
}

void TDeferredOutput::Replace(std::size_t call, int indent, const QString& text, int trail) {
  Call& c = calls_.at(call);
  c.indent = indent;
  c.text = text;
  c.trail = trail;
}

void TDeferredOutput::Flush() {
  std::vector<Call> calls = std::move(calls_);
  calls_.clear();
  for (const Call& c : calls) {
    switch (c.kind) {
      case Call::Kind::Text: target_.Text(c.x, c.y, c.indent, c.text, c.trail, c.blankWidth); break;
      case Call::Kind::LineEnd: target_.LineEnd(); break;
      case Call::Kind::PageEnd: target_.PageEnd(); break;
    }
  }
}

int TPageDocument::Private::CellOffset(TAlignment alignment, int columnWidth, int textWidth, int pad) {
  int offset = 0;
  if (alignment == taRightJustify)
    offset = columnWidth - textWidth;
  else if (alignment == taCenter)
    offset = (columnWidth - textWidth) / 2;
  // A single character wider than its column starts at the column's left edge.
  offset = std::max(offset, 0);
  if (textWidth < columnWidth - pad) {
    if (alignment == taRightJustify)
      offset -= pad;
    else if (alignment == taLeftJustify)
      offset += pad;
  }
  return offset;
}

void TPageDocument::Private::FillInPageCount(int count) {
  if (!pendingCounts_.empty() && pageCanvas_) {
    const QString number = QString::number(count);
    TFont& font = pageCanvas_->Font();
    TFont saved;
    saved.Assign(font);
    for (const TPendingCount& cell : pendingCounts_) {
      const QString text = TPageDocument::ReplaceAll(kPageCountToken, number, cell.text);
      // Measured again in the cell's own font, so the alignment holds for the final text.
      font.Assign(*cell.font);
      const int width = pageCanvas_->TextWidth(text);
      const int offset = CellOffset(cell.alignment, cell.columnWidth, width, cell.pad);
      if (cell.page) {
        TMetaOp& op = cell.page->Operations().at(cell.op);
        op.text = text;
        op.origin.setX(AddClamped(cell.x, offset));
      } else if (deferredText_) {
        deferredText_->Replace(cell.op, offset, text, SubtractClamped(cell.columnWidth, AddClamped(offset, width)));
      }
    }
    font.Assign(saved);
  }
  pendingCounts_.clear();
  if (std::unique_ptr<TDeferredOutput> held = std::move(deferredText_)) held->Flush();
}
