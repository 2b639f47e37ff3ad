// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Page decoration of the document: header and footer rows, border lines, the
// tokens of headers, footers and cells, and the friendly header/footer notation.
#include <QDateTime>
#include <QScopeGuard>
#include <algorithm>
#include <climits>
#include <utility>

#include "Conversions.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"
#include "PagePrntInternal.h"
#include "PagePrntOutput.h"

namespace {

using pageprinter_detail::AddClamped;

// The part of a path after its last directory separator or drive colon.
QString FilePart(const QString& path) {
  qsizetype start = 0;
  for (qsizetype i = path.size() - 1; i >= 0; --i) {
    const QChar ch = path[i];
    if (ch == QLatin1Char('\\') || ch == QLatin1Char(':') || ch == QLatin1Char('/')) {
      start = i + 1;
      break;
    }
  }
  return path.mid(start);
}

}  // namespace

void TPageDocument::DrawMarginRows() {
  // A row stays on the printable area: its bottom not below the printable
  // bottom edge and, taking precedence, its top not above the printable top
  // edge. This also holds when the margin band is lower than the row.
  // Positions are worked out in 64 bits: a border offset may be as large as the
  // conversion allows.
  const long long printableBottom = static_cast<long long>(UnitsToPixelsY(PrintableHeight())) - TopMarginPixels();
  auto keepOnSheet = [&](long long y) {
    if (printableBottom < y + d_->lineHeight_) y = printableBottom - d_->lineHeight_;
    if (TopMarginPixels() + y < 0) y = -static_cast<long long>(TopMarginPixels());
    d_->currentY_ = int(std::clamp<long long>(y, INT_MIN, INT_MAX));
  };
  if (!d_->header_.isEmpty()) {
    d_->font_->Assign(*d_->headerFont_);
    const bool topBorder = (d_->pageBorders_ & BorderBit(pbTop)) != 0;
    const long long band =
        topBorder ? UnitsToPixelsY(d_->marginTop_ - d_->pageBorderOffset_) : UnitsToPixelsY(d_->marginTop_);
    keepOnSheet((band - d_->lineHeight_) / 2 - UnitsToPixelsY(d_->marginTop_));
    d_->tableFormat_ = d_->headerFormat_;
    WriteTableLine(d_->header_);
  }
  if (!d_->footer_.isEmpty()) {
    d_->font_->Assign(*d_->footerFont_);
    if (d_->pageBorders_ & BorderBit(pbBottom))
      keepOnSheet(
          static_cast<long long>(UnitsToPixelsY(d_->pageBorderOffset_)) + ContentHeightPixels() +
          (static_cast<long long>(UnitsToPixelsY(d_->marginBottom_ - d_->pageBorderOffset_)) - d_->lineHeight_) / 2);
    else
      keepOnSheet((static_cast<long long>(UnitsToPixelsY(d_->marginBottom_)) - d_->lineHeight_) / 2 +
                  ContentHeightPixels());
    d_->tableFormat_ = d_->footerFormat_;
    WriteTableLine(d_->footer_);
  }
}

void TPageDocument::DecoratePage() {
  d_->currentX_ = 0;
  d_->currentY_ = 0;
  d_->lineNumber_ = 0;
  const int startPage = d_->pageNumber_;
  const bool startedFull = std::exchange(d_->pageStartedFull_, false);
  if (TNotifyEvent handler = d_->onNewPage_) {
    // A page that the handler's own output filled goes on with the rest of that
    // output: the same handler on the next page would fill it again, without end.
    // Pages the handler starts itself get their own call, up to a nesting bound
    // that stops a handler starting a page on every call.
    const bool ownOutputFilled = d_->newPageHandlerDepth_ > 0 && startedFull;
    if (!ownOutputFilled && d_->newPageHandlerDepth_ < d_->kMaxNewPageNesting) {
      ++d_->newPageHandlerDepth_;
      auto leave = qScopeGuard([this] { --d_->newPageHandlerDepth_; });
      handler(d_->hooks_.sender);
    }
  }
  if (d_->pageNumber_ != startPage) {
    // The handler's output filled this page and started the next one, which was
    // decorated when it started; its header, footer and borders are not drawn twice.
    if (TNotifyEvent handler = d_->onNewLine_) handler(d_->hooks_.sender);
    return;
  }
  const int savedX = d_->currentX_;
  const int savedY = d_->currentY_;
  const int savedLine = d_->lineNumber_;
  {
    const QString savedFormat = d_->tableFormat_;
    const bool savedGrid = d_->tableGrid_;
    d_->tableGrid_ = false;
    TFont savedFont;
    savedFont.Assign(*d_->font_);
    const bool savedAutoHeader = d_->autoHeaderFont_;
    const bool savedAutoFooter = d_->autoFooterFont_;
    d_->autoHeaderFont_ = false;
    d_->autoFooterFont_ = false;
    d_->decorating_ = true;
    auto restore = [&] {
      d_->decorating_ = false;
      d_->tableFormat_ = savedFormat;
      d_->tableGrid_ = savedGrid;
      d_->font_->Assign(savedFont);
      d_->autoHeaderFont_ = savedAutoHeader;
      d_->autoFooterFont_ = savedAutoFooter;
    };
    // Runs also when a row fails; the first failure is the one reported, a
    // second one while restoring is dropped.
    auto guard = qScopeGuard([&] {
      try {
        restore();
      } catch (...) {
      }
    });
    DrawMarginRows();
    guard.dismiss();
    restore();
  }
  d_->currentX_ = savedX;
  d_->currentY_ = savedY;
  d_->lineNumber_ = savedLine;
  if (TNotifyEvent handler = d_->onNewLine_) handler(d_->hooks_.sender);

  // Borders; the printer is asked for its resolution on every page.
  TDeviceContext* dc = d_->printer_->Handle();
  const int horizontalPen = 2 * (GetDeviceCaps(dc, LOGPIXELSY) / 300);
  const int left = LeftMarginPixels();
  const int top = TopMarginPixels();
  const int right = AddClamped(left, ContentWidthPixels());
  const int bottom = AddClamped(top, ContentHeightPixels());
  TCanvas& canvas = *d_->pageCanvas_;
  // Borders have no text form.
  const bool draw = Output().LineCanvas() != nullptr;
  int b = UnitsToPixelsY(d_->pageBorderOffset_);
  canvas.Pen().Width = horizontalPen;
  if (draw && (d_->pageBorders_ & BorderBit(pbTop))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(right, b), AddClamped(top, -b));
  }
  if (draw && (d_->pageBorders_ & BorderBit(pbBottom))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(bottom, b));
    canvas.LineTo(AddClamped(right, b), AddClamped(bottom, b));
  }
  const int verticalPen = 2 * (GetDeviceCaps(d_->printer_->Handle(), LOGPIXELSX) / 300);
  b = UnitsToPixelsX(d_->pageBorderOffset_);
  canvas.Pen().Width = verticalPen;
  if (draw && (d_->pageBorders_ & BorderBit(pbLeft))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(left, -b), AddClamped(bottom, b));
  }
  if (draw && (d_->pageBorders_ & BorderBit(pbRight))) {
    canvas.MoveTo(AddClamped(right, b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(right, b), AddClamped(bottom, b));
  }
}

namespace {

// The tokens of headers, footers and table cells, in their order of replacement.
enum class TToken { Line, Page, PageCount, Date, Time, Title };

struct TTokenEntry {
  TToken token;
  QLatin1StringView text;
};

constexpr TTokenEntry kTokens[] = {
    {TToken::Line, QLatin1StringView("{$LINE}")},           {TToken::Page, QLatin1StringView("{$PAGE}")},
    {TToken::PageCount, QLatin1StringView("{$PAGECOUNT}")}, {TToken::Date, QLatin1StringView("{$DATE}")},
    {TToken::Time, QLatin1StringView("{$TIME}")},           {TToken::Title, QLatin1StringView("{$TITLE}")},
};

}  // namespace

QString TPageDocument::ReplaceTokens(const QString& text) const {
  QString result = text;
  for (const TTokenEntry& entry : kTokens) {
    if (!result.contains(entry.text)) continue;
    QString value;
    switch (entry.token) {
      case TToken::Line: value = QString::number(d_->lineNumber_); break;
      case TToken::Page: value = QString::number(d_->pageNumber_); break;
      // Known only when the document ends: the token stays for EndDoc to fill in.
      case TToken::PageCount: continue;
      case TToken::Date: value = FormatDateTime(QStringLiteral("ddddd"), QDateTime::currentDateTime()); break;
      case TToken::Time: value = FormatDateTime(QStringLiteral("tt"), QDateTime::currentDateTime()); break;
      case TToken::Title: value = Title(); break;
    }
    result = ReplaceAll(QString(entry.text), value, result);
  }
  return result;
}

QString TPageDocument::ReplaceAll(const QString& pattern, const QString& replacement, const QString& text) {
  // An empty pattern occurs nowhere.
  if (pattern.isEmpty()) return text;
  QString result;
  qsizetype from = 0;
  for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern, from)) {
    result += QStringView(text).mid(from, at - from);
    result += replacement;
    from = at + pattern.size();
  }
  result += QStringView(text).mid(from);
  return result;
}

void TPageDocument::ConvertFriendly(const QString& text, bool isHeader) {
  QString alignments;
  QString cells;
  bool escape = false;
  const QDateTime now = QDateTime::currentDateTime();
  auto insert = [&](const QString& s) { cells += s.isEmpty() ? QStringLiteral(" ") : s; };
  auto startColumn = [&](QChar alignment) {
    if (!cells.isEmpty()) {
      if (alignments.isEmpty()) alignments += QLatin1Char('<');
      cells += d_->tokenSeparator_;
    }
    alignments += alignment;
  };
  for (const QChar ch : text) {
    if (!escape) {
      if (ch == QLatin1Char('&'))
        escape = true;
      else
        cells += ch;
      continue;
    }
    escape = false;
    switch (ch.unicode()) {
      case 'l': startColumn(QLatin1Char('<')); break;
      case 'c': startColumn(QLatin1Char('^')); break;
      case 'r': startColumn(QLatin1Char('>')); break;
      case 'p': insert(QStringLiteral("{$PAGE}")); break;
      case 'n': insert(QStringLiteral("{$PAGECOUNT}")); break;
      case 'i': insert(QStringLiteral("{$TITLE}")); break;
      case 'd': insert(FormatDateTime(QStringLiteral("ddddd"), now)); break;
      case 'D': insert(FormatDateTime(QStringLiteral("dddddd"), now)); break;
      case 't': insert(FormatDateTime(QStringLiteral("t"), now)); break;
      case 'T': insert(FormatDateTime(QStringLiteral("tt"), now)); break;
      case 'f': insert(FilePart(d_->fileName_)); break;
      case 'F': insert(d_->fileName_); break;
      case '&': insert(QStringLiteral("&")); break;
      default: insert(QStringLiteral(" ")); break;
    }
  }
  if (alignments.isEmpty()) alignments += QLatin1Char('<');
  const QString width = FloatToStrFixed(static_cast<long double>(ContentWidth()) / alignments.size(), 8, 2).trimmed();
  QString format;
  for (const QChar alignment : alignments) {
    if (!format.isEmpty()) format += d_->tokenSeparator_;
    format += alignment;
    format += width;
  }
  if (isHeader) {
    d_->header_ = cells;
    SetHeaderFormat(format);
  } else {
    d_->footer_ = cells;
    SetFooterFormat(format);
  }
}

void TPageDocument::SetFriendlyHeader(const QString& v) {
  d_->friendlyHeader_ = v;
  if (!Loading()) ConvertFriendly(v, true);
}

void TPageDocument::SetFriendlyFooter(const QString& v) {
  d_->friendlyFooter_ = v;
  if (!Loading()) ConvertFriendly(v, false);
}
