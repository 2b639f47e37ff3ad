// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Document building and text flow: the writing cursor, line and table-row
// layout, word wrap, page breaks and the plain-text file output.
#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

#include "FormatSettings.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"
#include "PagePrntInternal.h"
#include "PagePrntOutput.h"

namespace {

using pageprinter_detail::AddClamped;
using pageprinter_detail::PrinterResolution;
using pageprinter_detail::RoundHalfEven;
using pageprinter_detail::SubtractClamped;

// Tab stops further apart than this are not useful on any sheet, and a huge
// TabSize must not make one tab cost gigabytes.
constexpr uint32_t kMaxTabSize = 1024;

// The page-break test: the line whose top is at y does not fit when its bottom
// would reach or cross the bottom margin.
bool LineDoesNotFit(int contentHeight, int y, int lineHeight) { return contentHeight <= AddClamped(y, lineHeight); }

// More than one character: a surrogate pair is one character and is never split,
// so a text that is too wide and holds just one is written as it is.
bool MoreThanOneCharacter(const QString& s) {
  if (s.size() != 2) return s.size() > 2;
  return !(s[0].isHighSurrogate() && s[1].isLowSurrogate());
}

}  // namespace

// ---------------------------------------------------------------------------
// Document

void TPageDocument::BeginDoc() {
  UpdatePrinterMetrics();
  d_->documentOpen_ = true;
  d_->decorating_ = false;
  if (d_->printToFile_) {
    RealizePageFont();
    // A file document still open is finished first, so its handle is never lost.
    if (d_->fileOpen_) CloseOutputFile();
    OpenOutputFile();
    d_->fileOpen_ = true;
  } else {
    ClearPages(true);
  }
  d_->pendingCounts_.clear();
  RealizePageFont();
  d_->pageNumber_ = 1;
  DecoratePage();
}

void TPageDocument::EndDoc() {
  d_->documentOpen_ = false;
  if (d_->printToFile_) {
    CloseOutputFile();
  } else {
    d_->FillInPageCount(PageCount());
    ClosePage();
    OpenPage();
    SetPageNumber(1);
    NotifyLayout();
    NotifyRepaint();
  }
}

// ---------------------------------------------------------------------------
// Lines and pages

int TPageDocument::NewLine() {
  d_->currentX_ = 0;
  d_->currentY_ = AddClamped(d_->currentY_, d_->lineHeight_);
  TPageOutput& out = Output();
  if (out.Paged() && !d_->decorating_ && LineDoesNotFit(ContentHeightPixels(), d_->currentY_, d_->lineHeight_)) {
    d_->pageFull_ = true;
    NewPage();
  } else {
    out.LineEnd();
    ++d_->lineNumber_;
  }
  if (TNotifyEvent handler = d_->onNewLine_) handler(d_->hooks_.sender);
  return d_->lineNumber_;
}

int TPageDocument::NewPage() {
  // Whether the page ended because it was full is the news of this page start only.
  d_->pageStartedFull_ = std::exchange(d_->pageFull_, false);
  Output().PageEnd();
  ++d_->pageNumber_;
  DecoratePage();
  return d_->pageNumber_;
}

// A page break happens only on pages, never in file output.
void TPageDocument::BreakPageIfLineDoesNotFit() {
  if (Output().Paged() && LineDoesNotFit(ContentHeightPixels(), d_->currentY_, d_->lineHeight_)) {
    d_->pageFull_ = true;
    NewPage();
  }
}

// A body line's text goes at the cursor, measured from the margins.
void TPageDocument::DrawAtCursor(const QString& text) {
  Output().Text(AddClamped(LeftMarginPixels(), d_->currentX_), AddClamped(TopMarginPixels(), d_->currentY_), 0, text, 0,
                0);
}

QString TPageDocument::PrepareLine(const QString& text, int& width) {
  QString line = text.contains(QLatin1Char('\t')) ? ExpandTabs(text, d_->tabSize_) : text;
  width = d_->pageCanvas_->TextWidth(line);
  return line;
}

void TPageDocument::Write(const QString& text) {
  int width = 0;
  const QString line = PrepareLine(text, width);
  const int room = SubtractClamped(ContentWidthPixels(), d_->currentX_);
  if (width > room && MoreThanOneCharacter(line)) {
    if (room <= 0 && d_->currentX_ > 0) {
      // The cursor already stands at or beyond the right edge (after a single
      // character wider than the room left): nothing of the text fits here.
      // Wrapping continues on the next line; without wrap the text is cut at
      // the edge, which leaves nothing of it.
      if (!d_->wordWrap_) return;
      NewLine();
      Write(line);
      return;
    }
    if (d_->wordWrap_)
      WriteWrapped(line, true);
    else
      Write(FitToWidth(line, room));
    return;
  }
  BreakPageIfLineDoesNotFit();
  DrawAtCursor(line);
  d_->currentX_ = AddClamped(d_->currentX_, width);
}

void TPageDocument::WriteLine(const QString& text) {
  int width = 0;
  const QString line = PrepareLine(text, width);
  const int contentWidth = ContentWidthPixels();
  if (width > contentWidth && MoreThanOneCharacter(line)) {
    d_->currentX_ = 0;
    if (d_->wordWrap_)
      WriteWrapped(line, false);
    else
      WriteLine(FitToWidth(line, contentWidth));
    return;
  }
  // The page break comes before the line is placed: a new page resets the
  // cursor, and the alignment offset must survive it.
  BreakPageIfLineDoesNotFit();
  int offset = 0;
  if (d_->alignment_ == taRightJustify)
    offset = SubtractClamped(contentWidth, width);
  else if (d_->alignment_ == taCenter)
    offset = SubtractClamped(contentWidth, width) / 2;
  // A single character wider than the whole line starts left of the left
  // margin (right-aligned) or reaches past it on both sides (centred).
  d_->currentX_ = offset;
  TPageOutput& out = Output();
  // Text forms reproduce the offset with blanks.
  const int space = out.Paged() ? 0 : d_->pageCanvas_->TextWidth(QStringLiteral(" "));
  out.Text(LeftMarginPixels(), AddClamped(TopMarginPixels(), d_->currentY_), d_->currentX_, line, 0, space);
  NewLine();
}

void TPageDocument::WriteLineAligned(TAlignment alignment, const QString& text) {
  const TAlignment previous = d_->alignment_;
  const auto restore = qScopeGuard([&] { d_->alignment_ = previous; });
  d_->alignment_ = alignment;
  WriteLine(text);
}

void TPageDocument::WriteWrapped(const QString& text, bool continuing) {
  QString rest = text;
  while (!rest.isEmpty()) {
    const int room = SubtractClamped(ContentWidthPixels(), d_->currentX_);
    QString piece;
    TakeFittingPart(piece, rest, room, !continuing);
    if (continuing) {
      Write(piece);
      if (!rest.isEmpty()) NewLine();
    } else {
      WriteLine(piece);
    }
  }
}

// ---------------------------------------------------------------------------
// Text routines

QString TPageDocument::ExpandTabs(const QString& s, uint32_t tabSize) {
  const qsizetype size = std::min(tabSize, kMaxTabSize);
  QString result;
  result.reserve(s.size());
  for (const QChar ch : s) {
    if (ch != QLatin1Char('\t')) {
      result.append(ch);
    } else if (size == 0) {
      // No tab stops: the tab still separates what stands around it.
      result.append(QLatin1Char(' '));
    } else {
      result.append(QString(size - result.size() % size, QLatin1Char(' ')));
    }
  }
  return result;
}

QString TPageDocument::Spaces(int n) { return n > 0 ? QString(n, QLatin1Char(' ')) : QString(); }

QString TPageDocument::CutAtLastBlank(const QString& s) {
  for (qsizetype i = s.size() - 1; i >= 0; --i)
    if (s[i].unicode() < 33) return s.left(i + 1);
  return s;
}

QString TPageDocument::FitToWidth(const QString& s, int width) {
  if (d_->pageCanvas_->TextWidth(s) <= width) return s;
  qsizetype lo = 1, hi = s.size(), mid = 0, prev = 0;
  do {
    prev = mid;
    mid = (lo + hi) / 2;
    const int w = d_->pageCanvas_->TextWidth(s.left(mid));
    if (w > width)
      hi = mid;
    else if (w < width)
      lo = mid;
    else
      lo = hi;
  } while (mid != prev && hi > lo);
  // Never split a character made of two UTF-16 units.
  if (mid > 0 && mid < s.size() && s[mid - 1].isHighSurrogate() && s[mid].isLowSurrogate())
    mid = mid > 1 ? mid - 1 : mid + 1;
  return s.left(mid);
}

void TPageDocument::TakeFittingPart(QString& piece, QString& rest, int width, bool dropBlank) {
  piece = FitToWidth(rest, width);
  qsizetype length = piece.size();
  if (length < rest.size()) {
    if (rest[length].unicode() >= 33) {
      piece = CutAtLastBlank(piece);
      length = piece.size();
    } else if (dropBlank) {
      ++length;
    }
  }
  rest.remove(0, length);
}

// ---------------------------------------------------------------------------
// Table rows

void TPageDocument::WriteTableLine(const QString& row) {
  // Parsed once for as long as the format and what it is read with stay;
  // copied, since a page break inside this row lays out the decoration's rows.
  const QChar decimal = FormatSettings::Current().decimalSeparator;
  std::unique_ptr<Private::TParsedFormat>& parsed = d_->parsedTableFormat_;
  if (!parsed || parsed->format != d_->tableFormat_ || parsed->separator != d_->tokenSeparator_ ||
      parsed->decimalSeparator != decimal || parsed->defaultWidth != d_->defaultColWidth_) {
    auto fresh = std::make_unique<Private::TParsedFormat>();
    fresh->format = d_->tableFormat_;
    fresh->separator = d_->tokenSeparator_;
    fresh->decimalSeparator = decimal;
    fresh->defaultWidth = d_->defaultColWidth_;
    QStringList pieces;
    SplitTokens(d_->tableFormat_, d_->tokenSeparator_, pieces);
    for (QString& piece : pieces) {
      Private::TParsedColumn column;
      ParseColumnFormat(piece, column.alignment, column.width);
      fresh->columns.push_back(column);
    }
    parsed = std::move(fresh);
  }
  const std::vector<Private::TParsedColumn> formats = parsed->columns;
  QStringList cells;
  SplitTokens(row, d_->tokenSeparator_, cells);
  const int spaceWidth = Output().Paged() ? 0 : d_->pageCanvas_->TextWidth(QStringLiteral(" "));
  bool topLine = d_->tableGrid_;
  bool more = false;
  do {
    more = false;
    d_->currentX_ = LeftMarginPixels();
    for (qsizetype i = 0; i < qsizetype(formats.size()); ++i) {
      const TAlignment alignment = formats[size_t(i)].alignment;
      const double width = formats[size_t(i)].width;
      const bool columnGrid = d_->tableGrid_ && width >= 0;
      const int columnWidth = UnitsToPixelsX(std::fabs(width));
      QString cell = i < cells.size() ? cells[i] : QString();
      if (cell.contains(QLatin1String("{$"))) cell = ReplaceTokens(cell);
      if (d_->wordWrap_) {
        QString rest = cell;
        TakeFittingPart(cell, rest, columnWidth, false);
        const qsizetype lineFeed = cell.indexOf(QLatin1Char('\n'));
        if (lineFeed >= 0) {
          if (!rest.isEmpty()) rest.prepend(QLatin1Char(' '));
          rest.prepend(cell.mid(lineFeed + 1));
          cell.truncate(lineFeed);
        }
        if (i < cells.size()) cells[i] = rest;
        if (!rest.isEmpty()) more = true;
      } else {
        cell = FitToWidth(cell, columnWidth);
      }
      const int textWidth = d_->pageCanvas_->TextWidth(cell);
      const int pad = 6 * (PrinterResolution(d_->printer_, LOGPIXELSX) / 300);
      const int offset = Private::CellOffset(alignment, columnWidth, textWidth, pad);
      // The page count is known only when the document ends; the text file
      // holds its output back from here on.
      const bool showsCount = cell.contains(Private::kPageCountToken);
      if (showsCount && !Output().Paged() && !d_->deferredText_)
        d_->deferredText_ = std::make_unique<TDeferredOutput>(Output());
      TPageOutput& out = Output();
      const std::size_t recorded = d_->openPage_ ? d_->openPage_->Operations().size() : 0;
      out.Text(d_->currentX_, AddClamped(TopMarginPixels(), d_->currentY_), offset, cell,
               SubtractClamped(columnWidth, AddClamped(offset, textWidth)), spaceWidth);
      if (showsCount) {
        Private::TPendingCount pending;
        pending.x = d_->currentX_;
        pending.columnWidth = columnWidth;
        pending.pad = pad;
        pending.alignment = alignment;
        pending.text = cell;
        pending.font = std::make_shared<TFont>();
        pending.font->Assign(d_->pageCanvas_->Font());
        if (!out.Paged()) {
          pending.op = d_->deferredText_->LastCall();
          d_->pendingCounts_.push_back(std::move(pending));
        } else if (d_->openPage_ && d_->openPage_->Operations().size() > recorded) {
          pending.page = d_->openPage_;
          pending.op = recorded;
          d_->pendingCounts_.push_back(std::move(pending));
        }
      }
      if (columnGrid) DrawCellGrid(columnWidth, topLine, false);
      d_->currentX_ = AddClamped(d_->currentX_, columnWidth);
    }
    topLine = false;
    if (more) NewLine();
  } while (more);

  if (d_->tableGrid_) {
    d_->currentX_ = LeftMarginPixels();
    for (const Private::TParsedColumn& column : formats) {
      const double width = column.width;
      const int columnWidth = UnitsToPixelsX(std::fabs(width));
      if (width >= 0) DrawCellGrid(columnWidth, false, true);
      d_->currentX_ = AddClamped(d_->currentX_, columnWidth);
    }
  }
  if (!d_->decorating_ || !Output().Paged()) NewLine();
}

void TPageDocument::DrawCellGrid(int columnWidth, bool top, bool bottom) {
  const int x0 = d_->currentX_;
  const int leading = d_->textMetrics_.tmExternalLeading;
  int gap = leading;
  switch (d_->lineSpacing_) {
    case lsHalfSpace: gap = leading / 2; break;
    case lsSingleSpace: gap = leading; break;
    case lsSingleAndAHalf: gap = RoundHalfEven(leading * 1.5); break;
    case lsDoubleSpace: gap = 2 * leading; break;
  }
  const int y0 = AddClamped(AddClamped(TopMarginPixels(), d_->currentY_), -gap);
  const int x1 = AddClamped(x0, columnWidth);
  const int y1 = AddClamped(y0, d_->lineHeight_);
  const int horizontalPen = 2 * (PrinterResolution(d_->printer_, LOGPIXELSY) / 300);
  const int verticalPen = 2 * (PrinterResolution(d_->printer_, LOGPIXELSX) / 300);
  // Grid lines have no text form.
  TCanvas* lines = Output().LineCanvas();
  if (!lines) return;
  TCanvas& canvas = *lines;
  canvas.Pen().Width = horizontalPen;
  if (top) canvas.Polyline({QPoint(x0, y0), QPoint(x1, y0)});
  if (bottom) canvas.Polyline({QPoint(x0, y1), QPoint(x1, y1)});
  canvas.Pen().Width = verticalPen;
  canvas.Polyline({QPoint(x0, y0), QPoint(x0, y1)});
  canvas.Polyline({QPoint(x1, y0), QPoint(x1, y1)});
}

// ---------------------------------------------------------------------------
// Output

TPageOutput& TPageDocument::Output() const {
  if (d_->fileOpen_ && d_->textFile_) {
    if (d_->deferredText_) return *d_->deferredText_;
    return *d_->textFile_;
  }
  return *d_->pagesOutput_;
}

void TPageDocument::OpenOutputFile() {
  auto file = std::make_unique<TTextFileOutput>(d_->fileName_.left(259));
  file->Open();
  d_->textFile_ = std::move(file);
}

void TPageDocument::CloseOutputFile() {
  const QString name = d_->fileName_.left(259);
  if (!d_->fileOpen_) throw EInOutError(QStringLiteral("Cannot close file \"%1\": file not open").arg(name));
  d_->fileOpen_ = false;
  if (d_->deferredText_) {
    // The document ends here, so its page count is known: the held output goes out first.
    try {
      d_->FillInPageCount(d_->pageNumber_);
    } catch (...) {
      d_->pendingCounts_.clear();
      d_->deferredText_.reset();
      d_->textFile_.reset();
      throw;
    }
  }
  std::unique_ptr<TTextFileOutput> file = std::move(d_->textFile_);
  if (file) file->Close();
}
