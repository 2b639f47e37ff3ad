// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The widget's state behind its interface: the document it shows, and what the
// preview, printing and loading keep; shared by the widget's files only.
//
// The page printer by file. The document, without widgets:
//   PageDocument.h/.cpp       TPageDocument: construction, hooks to its view, settings
//   PageDocumentPrivate.h     the document's state
//   PageDocumentAccess.cpp    its plain accessors
//   PageDocumentGeometry.cpp  units and printer page geometry
//   PageDocumentFormats.cpp   column format strings
//   PageDocumentStore.cpp     page list, open page and its canvas
//   PageDocumentFlow.cpp      document building and text flow
//   PageDocumentDecorate.cpp  headers, footers, borders, tokens, friendly texts
//   PagePrntOutput.h/.cpp     the flow's outputs: recorded pages, the text file
//   PagePrntDeferred.h/.cpp   output held back until the page count is known
// The widget, TPagePrinter, the published face (PagePrnt.h, PagePrntTypes.h):
//   PagePrntPrivate.h         its state (this file)
//   PagePrntInternals.h       the document behind it, for the library and its tests
//   PagePrntComponent.cpp     construction, hooks, repaint requests, Loaded, guards
//   PagePrntAccess.cpp        its own accessors (printing, preview, lines)
//   PagePrntFace.cpp          the members it hands on to the document
//   PagePrntPersist*.cpp      stored descriptions, value texts, fonts as text
//   PagePrntJob.h             the print-job driver: copies, collation, progress, cancel
//   PagePrntPrint.cpp         printing and the progress dialog
//   PagePrntPreview.h/.cpp    the preview widget: painting, zoom and scroll ranges
#include <memory>

#include "PageDocument.h"
#include "PagePrnt.h"
#include "PagePrntJob.h"
#include "PgPrnPrg.h"

struct TPagePrinter::Private {
  // Set up after the widget parts, which its hooks reach.
  std::unique_ptr<TPageDocument> document_;
  TPageDocument& doc() const { return *document_; }
  bool constructing_ = false;

  bool abortOnCancel_ = false;
  bool collate_ = true;
  uint32_t copies_ = 1;
  bool gradientBackground_ = true;
  std::unique_ptr<QStringList> lines_;
  QString progressMessage_;
  TColor shadowColor_ = clBtnShadow;
  uint32_t shadowOffset_ = 5;
  bool showCancel_ = true;
  bool showMargins_ = true;
  bool showProgress_ = true;
  TZoomLocation zoomLocation_ = zlTopLeft;
  uint32_t zoomPercent_ = 25;
  TColor color_ = clBtnFace;

  // Printing
  uint32_t fromPage_ = 0, toPage_ = 0;
  std::unique_ptr<TPrintJob> printJob_;

  // Preview
  TPreviewBox* previewBox_ = nullptr;
  int horzRange_ = 0, vertRange_ = 0;
  int invalidateCount_ = 0;
  // The preview surface's pen colour, taken from Color when loading ends.
  TColor previewPenColor_ = clBlack;
};
