// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The document's state behind its interface; shared by the document's files only.
#include <cstddef>
#include <memory>
#include <vector>

#include "PageDocument.h"
#include "PagePrntDeferred.h"
#include "PagePrntOutput.h"

struct TPageDocument::Private {
  THooks hooks_;

  // The document's own printer: the process-wide one when it was created,
  // or the one given to SetPrinter. Shared, so that replacing the process-wide
  // printer never leaves the document with a dangling one.
  std::shared_ptr<TPrinter> ownPrinter_;
  TPrinter* printer_ = nullptr;  // ownPrinter_.get(), for the many readers
  bool constructing_ = false;

  TMeasureUnit measureUnit_ = muInches;
  TAlignment alignment_ = taLeftJustify;
  bool autoFooterFont_ = true;
  bool autoHeaderFont_ = true;
  double defaultColWidth_ = 0;
  QString fileName_;
  QString footer_;
  QString footerFormat_;
  QString friendlyFooter_;
  QString friendlyHeader_;
  QString header_;
  QString headerFormat_;
  TLineSpacing lineSpacing_ = lsSingleSpace;
  double marginBottom_ = 0, marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0;
  TNotifyEvent onNewLine_;
  TNotifyEvent onNewPage_;
  double pageBorderOffset_ = 0;
  TPageBorders pageBorders_ = 0;
  bool printToFile_ = false;
  QString tableFormat_;
  bool tableGrid_ = false;
  uint32_t tabSize_ = 8;
  QChar tokenSeparator_ = QChar('|');
  bool wordWrap_ = true;

  std::unique_ptr<TFont> font_;
  std::unique_ptr<TFont> headerFont_;
  std::unique_ptr<TFont> footerFont_;

  // Page store
  std::unique_ptr<TPageList> pageList_;
  TMetafile* openPage_ = nullptr;
  std::unique_ptr<TMetafileCanvas> pageCanvas_;
  bool openPageOwned_ = false;
  int pageNumber_ = 0;

  // Flow
  int currentX_ = 0, currentY_ = 0, lineNumber_ = 0;
  int lineHeight_ = 0;
  TTextMetric textMetrics_;
  bool documentOpen_ = false;
  bool decorating_ = false;
  bool fileOpen_ = false;
  std::unique_ptr<TRecordedPagesOutput> pagesOutput_;
  std::unique_ptr<TTextFileOutput> textFile_;
  // OnNewPage calls in progress; a page break that the handler's own output
  // causes (a full page) starts the next page without firing it again.
  static constexpr int kMaxNewPageNesting = 64;
  int newPageHandlerDepth_ = 0;
  bool pageFull_ = false;         // the next NewPage ends a full page
  bool pageStartedFull_ = false;  // the page being decorated follows a full one
  // The table format as last parsed for a row, with all the parse depends on:
  // rows repeat one format thousands of times.
  struct TParsedColumn {
    TAlignment alignment = taLeftJustify;
    double width = 0;
  };
  struct TParsedFormat {
    QString format;
    QChar separator, decimalSeparator;
    double defaultWidth = 0;
    std::vector<TParsedColumn> columns;
  };
  std::unique_ptr<TParsedFormat> parsedTableFormat_;

  // The page count: a table cell that shows it, drawn with the token in its
  // place (the token is wider than any count, so the cell never outgrows its
  // column) and filled in when the document ends.
  struct TPendingCount {
    TMetafile* page = nullptr;  // the recorded page, or none for the text file
    std::size_t op = 0;         // the text operation, or the held text-file call
    int x = 0;                  // the column's left edge
    int columnWidth = 0;
    int pad = 0;
    TAlignment alignment = taLeftJustify;
    QString text;
    std::shared_ptr<TFont> font;
  };
  static inline const QString kPageCountToken = QStringLiteral("{$PAGECOUNT}");
  std::vector<TPendingCount> pendingCounts_;
  // Declared after the text file it writes to, so it goes first.
  std::unique_ptr<TDeferredOutput> deferredText_;

  // A cell's offset within its column: aligned, then moved off the grid line by the pad.
  static int CellOffset(TAlignment alignment, int columnWidth, int textWidth, int pad);
  // Writes the count into every cell that shows it; hands held text-file output on.
  void FillInPageCount(int count);
};
