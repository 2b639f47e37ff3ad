// Page decoration of TPagePrinter: header and footer rows, border lines, the
// tokens of headers, footers and cells, and the friendly header/footer notation.
#include <QDateTime>
#include <QScopeGuard>
#include <algorithm>
#include <climits>
#include <utility>

#include "Conversions.h"
#include "PagePrnt.h"
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

void TPagePrinter::DrawMarginRows() {
  // A row stays on the printable area: its bottom not below the printable
  // bottom edge and, taking precedence, its top not above the printable top
  // edge. This also holds when the margin band is lower than the row.
  // Positions are worked out in 64 bits: a border offset may be as large as the
  // conversion allows.
  const long long printableBottom = static_cast<long long>(UnitsToPixelsY(PrintableHeight())) - TopMarginPixels();
  auto keepOnSheet = [&](long long y) {
    if (printableBottom < y + lineHeight_) y = printableBottom - lineHeight_;
    if (TopMarginPixels() + y < 0) y = -static_cast<long long>(TopMarginPixels());
    currentY_ = int(std::clamp<long long>(y, INT_MIN, INT_MAX));
  };
  if (!header_.isEmpty()) {
    font_->Assign(*headerFont_);
    const bool topBorder = (pageBorders_ & BorderBit(pbTop)) != 0;
    const long long band = topBorder ? UnitsToPixelsY(marginTop_ - pageBorderOffset_) : UnitsToPixelsY(marginTop_);
    keepOnSheet((band - lineHeight_) / 2 - UnitsToPixelsY(marginTop_));
    tableFormat_ = headerFormat_;
    WriteTableLine(header_);
  }
  if (!footer_.isEmpty()) {
    font_->Assign(*footerFont_);
    if (pageBorders_ & BorderBit(pbBottom))
      keepOnSheet(static_cast<long long>(UnitsToPixelsY(pageBorderOffset_)) + ContentHeightPixels() +
                  (static_cast<long long>(UnitsToPixelsY(marginBottom_ - pageBorderOffset_)) - lineHeight_) / 2);
    else
      keepOnSheet((static_cast<long long>(UnitsToPixelsY(marginBottom_)) - lineHeight_) / 2 + ContentHeightPixels());
    tableFormat_ = footerFormat_;
    WriteTableLine(footer_);
  }
}

void TPagePrinter::DecoratePage() {
  currentX_ = 0;
  currentY_ = 0;
  lineNumber_ = 0;
  const int startPage = pageNumber_;
  const bool startedFull = std::exchange(pageStartedFull_, false);
  if (TNotifyEvent handler = onNewPage_) {
    // A page that the handler's own output filled goes on with the rest of that
    // output: the same handler on the next page would fill it again, without end.
    // Pages the handler starts itself get their own call, up to a nesting bound
    // that stops a handler starting a page on every call.
    const bool ownOutputFilled = newPageHandlerDepth_ > 0 && startedFull;
    if (!ownOutputFilled && newPageHandlerDepth_ < kMaxNewPageNesting) {
      ++newPageHandlerDepth_;
      auto leave = qScopeGuard([this] { --newPageHandlerDepth_; });
      handler(this);
    }
  }
  if (pageNumber_ != startPage) {
    // The handler's output filled this page and started the next one, which was
    // decorated when it started; its header, footer and borders are not drawn twice.
    if (TNotifyEvent handler = onNewLine_) handler(this);
    return;
  }
  const int savedX = currentX_;
  const int savedY = currentY_;
  const int savedLine = lineNumber_;
  {
    const QString savedFormat = tableFormat_;
    const bool savedGrid = tableGrid_;
    tableGrid_ = false;
    TFont savedFont;
    savedFont.Assign(*font_);
    const bool savedAutoHeader = autoHeaderFont_;
    const bool savedAutoFooter = autoFooterFont_;
    autoHeaderFont_ = false;
    autoFooterFont_ = false;
    decorating_ = true;
    auto restore = [&] {
      decorating_ = false;
      tableFormat_ = savedFormat;
      tableGrid_ = savedGrid;
      font_->Assign(savedFont);
      autoHeaderFont_ = savedAutoHeader;
      autoFooterFont_ = savedAutoFooter;
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
  currentX_ = savedX;
  currentY_ = savedY;
  lineNumber_ = savedLine;
  if (TNotifyEvent handler = onNewLine_) handler(this);

  // Borders; the printer is asked for its resolution on every page.
  TDeviceContext* dc = printer_->Handle();
  const int horizontalPen = 2 * (GetDeviceCaps(dc, LOGPIXELSY) / 300);
  const int left = LeftMarginPixels();
  const int top = TopMarginPixels();
  const int right = AddClamped(left, ContentWidthPixels());
  const int bottom = AddClamped(top, ContentHeightPixels());
  TCanvas& canvas = *pageCanvas_;
  // Borders have no text form.
  const bool draw = Output().LineCanvas() != nullptr;
  int b = UnitsToPixelsY(pageBorderOffset_);
  canvas.Pen().Width = horizontalPen;
  if (draw && (pageBorders_ & BorderBit(pbTop))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(right, b), AddClamped(top, -b));
  }
  if (draw && (pageBorders_ & BorderBit(pbBottom))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(bottom, b));
    canvas.LineTo(AddClamped(right, b), AddClamped(bottom, b));
  }
  const int verticalPen = 2 * (GetDeviceCaps(printer_->Handle(), LOGPIXELSX) / 300);
  b = UnitsToPixelsX(pageBorderOffset_);
  canvas.Pen().Width = verticalPen;
  if (draw && (pageBorders_ & BorderBit(pbLeft))) {
    canvas.MoveTo(AddClamped(left, -b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(left, -b), AddClamped(bottom, b));
  }
  if (draw && (pageBorders_ & BorderBit(pbRight))) {
    canvas.MoveTo(AddClamped(right, b), AddClamped(top, -b));
    canvas.LineTo(AddClamped(right, b), AddClamped(bottom, b));
  }
}

QString TPagePrinter::ReplaceTokens(const QString& text) const {
  QString result = ReplaceAll(QStringLiteral("{$LINE}"), QString::number(lineNumber_), text);
  result = ReplaceAll(QStringLiteral("{$PAGE}"), QString::number(pageNumber_), result);
  if (result.contains(QLatin1String("{$DATE}")))
    result = ReplaceAll(QStringLiteral("{$DATE}"),
                        FormatDateTime(QStringLiteral("ddddd"), QDateTime::currentDateTime()), result);
  if (result.contains(QLatin1String("{$TIME}")))
    result = ReplaceAll(QStringLiteral("{$TIME}"),
                        FormatDateTime(QStringLiteral("tt"), QDateTime::currentDateTime()), result);
  if (result.contains(QLatin1String("{$TITLE}")))
    result = ReplaceAll(QStringLiteral("{$TITLE}"), Title(), result);
  return result;
}

QString TPagePrinter::ReplaceAll(const QString& pattern, const QString& replacement, const QString& text) {
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

void TPagePrinter::ConvertFriendly(const QString& text, bool isHeader) {
  QString alignments;
  QString cells;
  bool escape = false;
  const QDateTime now = QDateTime::currentDateTime();
  auto insert = [&](const QString& s) { cells += s.isEmpty() ? QStringLiteral(" ") : s; };
  auto startColumn = [&](QChar alignment) {
    if (!cells.isEmpty()) {
      if (alignments.isEmpty()) alignments += QLatin1Char('<');
      cells += tokenSeparator_;
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
      case 'i': insert(QStringLiteral("{$TITLE}")); break;
      case 'd': insert(FormatDateTime(QStringLiteral("ddddd"), now)); break;
      case 'D': insert(FormatDateTime(QStringLiteral("dddddd"), now)); break;
      case 't': insert(FormatDateTime(QStringLiteral("t"), now)); break;
      case 'T': insert(FormatDateTime(QStringLiteral("tt"), now)); break;
      case 'f': insert(FilePart(fileName_)); break;
      case 'F': insert(fileName_); break;
      case '&': insert(QStringLiteral("&")); break;
      default: insert(QStringLiteral(" ")); break;
    }
  }
  if (alignments.isEmpty()) alignments += QLatin1Char('<');
  const QString width = FloatToStrFixed(static_cast<long double>(ContentWidth()) / alignments.size(), 8, 2).trimmed();
  QString format;
  for (const QChar alignment : alignments) {
    if (!format.isEmpty()) format += tokenSeparator_;
    format += alignment;
    format += width;
  }
  if (isHeader) {
    header_ = cells;
    SetHeaderFormat(format);
  } else {
    footer_ = cells;
    SetFooterFormat(format);
  }
}

void TPagePrinter::SetFriendlyHeader(const QString& v) {
  friendlyHeader_ = v;
  if (!Loading()) ConvertFriendly(v, true);
}

void TPagePrinter::SetFriendlyFooter(const QString& v) {
  friendlyFooter_ = v;
  if (!Loading()) ConvertFriendly(v, false);
}
