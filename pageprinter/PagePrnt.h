// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// TPagePrinter: builds paged output from lines and table rows into recorded
// pages with headers, footers and borders, prints them with copies, collation
// and a progress dialog, previews them, or writes them as plain text to a file.
//
// The class is implemented over several files by concern:
//   PagePrntPrivate.h      the component's state (private implementation)
//   PagePrntAccess.cpp     plain property accessors
//   PagePrntComponent.cpp  construction, properties, units, printer geometry, Loaded
//   PagePrntFormats.cpp    column format strings
//   PagePrntStore.cpp      page list, open page and its canvas
//   PagePrntPersist.cpp    stored descriptions (write and read)
//   PagePrntPersistText.cpp value texts of stored descriptions, fonts as text
//   PagePrntFlow.cpp       document building and text flow
//   PagePrntOutput.cpp     the flow's outputs: recorded pages, the text file
//   PagePrntDecorate.cpp   headers, footers, borders, tokens, friendly texts
//   PagePrntJob.h          the print-job driver: copies, collation, progress, cancel
//   PagePrntPrint.cpp      printing and the progress dialog
//   PagePrntPreview.h/.cpp the preview widget: painting, zoom and scroll ranges
#include <QScrollArea>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "tallyvane_pageprinter_export.h"
#include "FormLoading.h"
#include "Graphics.h"
#include "Metafile.h"
#include "PagePrntErrors.h"
#include "Printer.h"

class TPPPrnPrgDlg;
class TPageOutput;
struct FormatSettings;
class QPaintEvent;

using TNotifyEvent = std::function<void(QObject* Sender)>;

namespace pageprinter {
Q_NAMESPACE_EXPORT(TALLYVANE_PAGEPRINTER_EXPORT)
enum TMeasureUnit { muInches, muMillimeters };
Q_ENUM_NS(TMeasureUnit)
enum TLineSpacing { lsHalfSpace, lsSingleSpace, lsSingleAndAHalf, lsDoubleSpace };
Q_ENUM_NS(TLineSpacing)
enum TPageBorder { pbTop, pbBottom, pbLeft, pbRight };
Q_ENUM_NS(TPageBorder)
enum TZoomLocation { zlTopLeft, zlTopCenter, zlCenter };
Q_ENUM_NS(TZoomLocation)
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
}  // namespace pageprinter
// Callers name the types and their values unqualified, as the published interface does.
using pageprinter::TMeasureUnit;
using pageprinter::muInches;
using pageprinter::muMillimeters;
using pageprinter::TLineSpacing;
using pageprinter::lsHalfSpace;
using pageprinter::lsSingleSpace;
using pageprinter::lsSingleAndAHalf;
using pageprinter::lsDoubleSpace;
using pageprinter::TPageBorder;
using pageprinter::pbTop;
using pageprinter::pbBottom;
using pageprinter::pbLeft;
using pageprinter::pbRight;
using pageprinter::TZoomLocation;
using pageprinter::zlTopLeft;
using pageprinter::zlTopCenter;
using pageprinter::zlCenter;
using pageprinter::TAlignment;
using pageprinter::taLeftJustify;
using pageprinter::taRightJustify;
using pageprinter::taCenter;

// One byte; bit n stands for the border with ordinal n.
using TPageBorders = uint8_t;
constexpr TPageBorders BorderBit(TPageBorder b) { return TPageBorders(1u << b); }

// ---- Core owner's addition: the list's index error ----
// Raised by TPageList::Items (and so by TPagePrinter::Pages) outside the list's bounds.
class TALLYVANE_PAGEPRINTER_EXPORT EListError : public Exception {
 public:
  using Exception::Exception;
};

// The document's pages in order; owns them.
class TALLYVANE_PAGEPRINTER_EXPORT TPageList {
 public:
  TPageList() = default;
  ~TPageList();
  TPageList(const TPageList&) = delete;
  TPageList& operator=(const TPageList&) = delete;
  int Count() const { return int(items_.size()); }
  // 0-based; raises EListError-like Exception "List index out of bounds (%d)" outside 0..Count-1.
  TMetafile* Items(int index) const;
  void Add(TMetafile* page) { items_.push_back(page); }

 private:
  std::vector<TMetafile*> items_;
};

// The preview: the page shown as a sheet of paper (PagePrntPreview.h).
class TPreviewBox;

class TALLYVANE_PAGEPRINTER_EXPORT TPagePrinter : public QScrollArea, public TLoadable {
  Q_OBJECT
  // Published properties, in the published order (the order of stored descriptions).
  Q_PROPERTY(pageprinter::TMeasureUnit MeasureUnit READ MeasureUnit WRITE SetMeasureUnit)
  Q_PROPERTY(bool AbortOnCancel READ AbortOnCancel WRITE SetAbortOnCancel)
  Q_PROPERTY(pageprinter::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(bool AutoFooterFont READ AutoFooterFont WRITE SetAutoFooterFont)
  Q_PROPERTY(bool AutoHeaderFont READ AutoHeaderFont WRITE SetAutoHeaderFont)
  Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)
  Q_PROPERTY(uint32_t Copies READ Copies WRITE SetCopies)
  Q_PROPERTY(double DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
  Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
  Q_PROPERTY(QString Footer READ Footer WRITE SetFooter)
  // FooterFont, as text (format below)
  Q_PROPERTY(QString FooterFontText READ FooterFontText WRITE SetFooterFontText)
  Q_PROPERTY(QString FooterFormat READ FooterFormat WRITE SetFooterFormat)
  Q_PROPERTY(QString FriendlyFooter READ FriendlyFooter WRITE SetFriendlyFooter)
  Q_PROPERTY(QString FriendlyHeader READ FriendlyHeader WRITE SetFriendlyHeader)
  Q_PROPERTY(bool GradientBackground READ GradientBackground WRITE SetGradientBackground)
  Q_PROPERTY(QString Header READ Header WRITE SetHeader)
  // HeaderFont, as text (format below)
  Q_PROPERTY(QString HeaderFontText READ HeaderFontText WRITE SetHeaderFontText)
  Q_PROPERTY(QString HeaderFormat READ HeaderFormat WRITE SetHeaderFormat)
  Q_PROPERTY(QStringList Lines READ LinesValue WRITE SetLinesValue)
  Q_PROPERTY(pageprinter::TLineSpacing LineSpacing READ LineSpacing WRITE SetLineSpacing)
  Q_PROPERTY(double MarginBottom READ MarginBottom WRITE SetMarginBottom)
  Q_PROPERTY(double MarginLeft READ MarginLeft WRITE SetMarginLeft)
  Q_PROPERTY(double MarginRight READ MarginRight WRITE SetMarginRight)
  Q_PROPERTY(double MarginTop READ MarginTop WRITE SetMarginTop)
  Q_PROPERTY(int Orientation READ OrientationValue WRITE SetOrientationValue)
  Q_PROPERTY(double PageBorderOffset READ PageBorderOffset WRITE SetPageBorderOffset)
  Q_PROPERTY(uint PageBorders READ PageBordersValue WRITE SetPageBordersValue)
  Q_PROPERTY(bool PrintToFile READ PrintToFile WRITE SetPrintToFile)
  Q_PROPERTY(QString ProgressMessage READ ProgressMessage WRITE SetProgressMessage)
  Q_PROPERTY(uint32_t ShadowColor READ ShadowColor WRITE SetShadowColor)
  Q_PROPERTY(uint32_t ShadowOffset READ ShadowOffset WRITE SetShadowOffset)
  Q_PROPERTY(bool ShowCancel READ ShowCancel WRITE SetShowCancel)
  Q_PROPERTY(bool ShowMargins READ ShowMargins WRITE SetShowMargins)
  Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)
  Q_PROPERTY(QString TableFormat READ TableFormat WRITE SetTableFormat)
  Q_PROPERTY(bool TableGrid READ TableGrid WRITE SetTableGrid)
  Q_PROPERTY(uint32_t TabSize READ TabSize WRITE SetTabSize)
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)
  Q_PROPERTY(QChar TokenSeparator READ TokenSeparator WRITE SetTokenSeparator)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(pageprinter::TZoomLocation ZoomLocation READ ZoomLocation WRITE SetZoomLocation)
  Q_PROPERTY(uint32_t ZoomPercent READ ZoomPercent WRITE SetZoomPercent)
  // ---- Core owner's addition: the three fonts as text, for forms (.ui, stdset="0") and
  // stored descriptions; the header and footer fonts stand at their published places
  // above, the inherited body font below. Format: "Name,Height[,Style[,Color]]"
  //   Name    font family, e.g. Courier New (no comma)
  //   Height  the TFont height in pixels at the screen's 96 pixels per inch, negative for the
  //           character height (-13 = 10 points); "10pt" gives a size in points instead
  //   Style   "regular" or styles joined by '+': bold, italic, underline, strikeout
  //   Color   a colour name (clWindowText, clBlack, clRed, ...) or a number (0x00BBGGRR)
  // Example: "Courier New,-13,bold,clWindowText". Reading gives the same form with every field.
  // The inherited colour, published again (0x00BBGGRR or a system colour constant).
  Q_PROPERTY(uint32_t Color READ Color WRITE SetColor)
  // The inherited body font, published again after the colour.
  Q_PROPERTY(QString BodyFontText READ BodyFontText WRITE SetBodyFontText)

 public:
  explicit TPagePrinter(QWidget* owner = nullptr);
  // A component on a printer of its own (an empty pointer: the process-wide printer).
  explicit TPagePrinter(std::shared_ptr<TPrinter> printer, QWidget* owner = nullptr);
  ~TPagePrinter() override;

  // ---- Properties (component) ----
  TMeasureUnit MeasureUnit() const;
  void SetMeasureUnit(TMeasureUnit unit);
  bool AbortOnCancel() const;
  void SetAbortOnCancel(bool v);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment v);
  bool AutoFooterFont() const;
  void SetAutoFooterFont(bool v);
  bool AutoHeaderFont() const;
  void SetAutoHeaderFont(bool v);
  bool Collate() const;
  void SetCollate(bool v);
  uint32_t Copies() const;
  void SetCopies(uint32_t v);
  double DefaultColWidth() const;
  void SetDefaultColWidth(double v);
  QString FileName() const;
  void SetFileName(const QString& v);
  QString Footer() const;
  void SetFooter(const QString& v);
  TFont& FooterFont();
  void SetFooterFont(const TFont& f);
  QString FooterFormat() const;
  void SetFooterFormat(const QString& v);
  QString FriendlyFooter() const;
  void SetFriendlyFooter(const QString& v);
  QString FriendlyHeader() const;
  void SetFriendlyHeader(const QString& v);
  bool GradientBackground() const;
  void SetGradientBackground(bool v);
  QString Header() const;
  void SetHeader(const QString& v);
  TFont& HeaderFont();
  void SetHeaderFont(const TFont& f);
  QString HeaderFormat() const;
  void SetHeaderFormat(const QString& v);
  // The list is created again when it was discarded; assigning nullptr discards it.
  QStringList* Lines();
  void SetLines(const QStringList* lines);
  QStringList LinesValue() { return *Lines(); }
  void SetLinesValue(const QStringList& lines) { SetLines(&lines); }
  TLineSpacing LineSpacing() const;
  void SetLineSpacing(TLineSpacing v);
  double MarginBottom() const;
  void SetMarginBottom(double v);
  double MarginLeft() const;
  void SetMarginLeft(double v);
  double MarginRight() const;
  void SetMarginRight(double v);
  double MarginTop() const;
  void SetMarginTop(double v);
  TNotifyEvent OnNewLine() const;
  void SetOnNewLine(TNotifyEvent e);
  TNotifyEvent OnNewPage() const;
  void SetOnNewPage(TNotifyEvent e);
  TPrinterOrientation Orientation() const;
  void SetOrientation(TPrinterOrientation o);
  int OrientationValue() const { return int(Orientation()); }
  void SetOrientationValue(int o) { SetOrientation(TPrinterOrientation(o)); }
  double PageBorderOffset() const;
  void SetPageBorderOffset(double v);
  TPageBorders PageBorders() const;
  void SetPageBorders(TPageBorders v);
  uint PageBordersValue() const;
  void SetPageBordersValue(uint v);
  bool PrintToFile() const;
  void SetPrintToFile(bool v);
  QString ProgressMessage() const;
  void SetProgressMessage(const QString& v);
  TColor ShadowColor() const;
  void SetShadowColor(TColor v);
  uint32_t ShadowOffset() const;
  void SetShadowOffset(uint32_t v);
  bool ShowCancel() const;
  void SetShowCancel(bool v);
  bool ShowMargins() const;
  void SetShowMargins(bool v);
  bool ShowProgress() const;
  void SetShowProgress(bool v);
  QString TableFormat() const;
  void SetTableFormat(const QString& v);
  bool TableGrid() const;
  void SetTableGrid(bool v);
  uint32_t TabSize() const;
  void SetTabSize(uint32_t v);
  QString Title() const;
  void SetTitle(const QString& v);
  // The printer this component measures against and prints to: the process-wide
  // printer when the component was created, or the one given here. Refused with
  // EPagePrinter "Unable to change printer while printing" while a document is
  // open or a print runs; an empty pointer gives it the process-wide printer.
  // The title and orientation carry over to the new printer.
  TPrinter* Printer() const;
  void SetPrinter(std::shared_ptr<TPrinter> printer);
  QChar TokenSeparator() const;
  void SetTokenSeparator(QChar v);
  bool WordWrap() const;
  void SetWordWrap(bool v);
  TZoomLocation ZoomLocation() const;
  void SetZoomLocation(TZoomLocation v);
  uint32_t ZoomPercent() const;
  void SetZoomPercent(uint32_t v);
  // The body-text font (the control's Font). Changing any attribute runs the font-change handling.
  TFont& Font();
  void SetFont(const TFont& f);
  // The control's colour: end of the preview gradient, plain background otherwise.
  TColor Color() const;
  void SetColor(TColor c);

  // ---- Public, not published ----
  bool Printing() const;
  int PageNumber() const;
  void SetPageNumber(int v);
  int PageCount() const;
  TMetafile* Pages(int n) const;  // 1-based
  TMetafileCanvas* PageCanvas() const;
  uint32_t FromPage() const;
  void SetFromPage(uint32_t v);
  uint32_t ToPage() const;
  void SetToPage(uint32_t v);

  // ---- Units and printer geometry (recomputed at every call) ----
  int UnitsToPixelsX(double v) const;
  int UnitsToPixelsY(double v) const;
  double PixelsToUnitsX(int p) const;
  double PixelsToUnitsY(int p) const;
  double MinMarginTop() const;
  double MinMarginBottom() const;
  double MinMarginLeft() const;
  double MinMarginRight() const;
  double PhysicalPageWidth() const;
  double PhysicalPageHeight() const;
  double PrintableWidth() const;
  double PrintableHeight() const;
  double ContentWidth() const;
  int LeftMarginPixels() const;
  int RightMarginPixels() const;
  int TopMarginPixels() const;
  int BottomMarginPixels() const;
  int ContentWidthPixels() const;
  int ContentHeightPixels() const;
  // The printer's device context, nullptr when no printer is usable.
  TDeviceContext* PrinterHandle() const;
  void UpdatePrinterMetrics();
  int LineHeight() const;
  const TTextMetric& TextMetrics() const;

  // ---- Column formats ----
  static void SplitTokens(const QString& text, QChar separator, QStringList& target);
  void ParseColumnFormat(QString& column, TAlignment& alignment, double& width) const;
  QString NormalizeFormat(const QString& format, bool convert) const;

  // ---- Page store ----
  void ClearPages(bool appendFirst);
  void AddPage();
  void OpenPage();
  void ClosePage();
  void RealizePageFont();

  // ---- Document building ----
  void BeginDoc();
  void EndDoc();
  void Write(const QString& text);
  void WriteLine(const QString& text);
  void WriteLineAligned(TAlignment alignment, const QString& text);
  void WriteTableLine(const QString& row);
  int NewLine();
  int NewPage();
  int CurrentX() const;
  int CurrentY() const;
  int LineNumber() const;
  bool DocumentOpen() const;
  bool FileOpen() const;
  // Text routines of the flow (exposed for tests and fuzzing).
  static QString ExpandTabs(const QString& s, uint32_t tabSize);
  static QString Spaces(int n);
  static QString CutAtLastBlank(const QString& s);
  QString FitToWidth(const QString& s, int width);
  void TakeFittingPart(QString& piece, QString& rest, int width, bool dropBlank);

  // ---- Decoration ----
  void DecoratePage();
  QString ReplaceTokens(const QString& text) const;
  static QString ReplaceAll(const QString& pattern, const QString& replacement, const QString& text);
  void ConvertFriendly(const QString& text, bool isHeader);

  // ---- Printing ----
  bool Print();
  void ProgressCancelClick();
  TPPPrnPrgDlg* ProgressDialog() const;
  // True while Print sends pages (it processes window messages then); a nested
  // Print is refused and the pages must not be replaced meanwhile.
  bool PrintRunning() const;

  // ---- Preview ----
  virtual void PaintPreview(QPainter& painter);
  void UpdateScrollRanges();
  int UnitsToScreen(bool horizontal, double value) const;
  int UnitsToZoomedScreen(bool horizontal, double value) const;
  double PrinterScreenRatio(bool horizontal) const;
  int PageExtentOnScreen(bool horizontal) const;
  static void GradientFill(TCanvas& canvas, QRect rect, TColor startColor, TColor endColor, bool vertical);
  TPreviewBox* PreviewBox() const;
  int HorzRange() const;
  int VertRange() const;

  // ---- Loading ----
  void Loaded() override;

  // Incremented on every repaint request (tests check "repaints only on a change").
  int InvalidateCount() const;
  void Invalidate();

  // ---- Core owner's additions ----
  // The fonts as text (format above the property declarations); setters copy into the font objects.
  QString BodyFontText() const;
  void SetBodyFontText(const QString& text);
  QString HeaderFontText() const;
  void SetHeaderFontText(const QString& text);
  QString FooterFontText() const;
  void SetFooterFontText(const QString& text);
  // The preview surface's pen colour, set to Color by Loaded.
  TColor PreviewPenColor() const;

 private:
  // Component
  void FontChanged();
  void SetMargin(double& field, double value, double minimum, double bound, const char* message);
  // Core owner's private helpers
  void RecomputeLineHeight();
  int PrinterCaps(TDeviceCap index, bool& available) const;
  double PixelsToUnits(int p, TDeviceCap index) const;
  double FallbackOffset() const;
  // Column formats read with one set of regional settings and written with another: stored
  // descriptions always use the decimal point, the component's own strings the user's separator.
  void ParseColumnFormatWith(QString& column, TAlignment& alignment, double& width, const FormatSettings& in) const;
  QString NormalizeFormatWith(const QString& format, bool convert, const FormatSettings& in,
                              const FormatSettings& out) const;
  const FormatSettings& FormatInputSettings() const;
  friend QString StoredFormatText(const TPagePrinter& component, const QString& format);
  // Flow
  QString PrepareLine(const QString& text, int& width);
  void BreakPageIfLineDoesNotFit();
  void DrawAtCursor(const QString& text);
  void WriteWrapped(const QString& text, bool continuing);
  void DrawCellGrid(int columnWidth, bool top, bool bottom);
  // The output the flow writes to: the text file while one is open, else the pages.
  TPageOutput& Output() const;
  void OpenOutputFile();
  void CloseOutputFile();
  // Decoration helper of the text-flow implementation: the header and footer rows.
  void DrawMarginRows();
  // Printing
  void PrintPage(int pageNo, int first, int last, bool isLastSheet);
  void UpdateProgress(const QString& msg, int pageNo, int first, int last);
  // Preview
  QSize ClientSizeForRanges() const;

  // The state lives in the implementation files only.
  struct Private;
  std::unique_ptr<Private> d_;
  friend class TPreviewBox;
};

#include "PagePrntPreview.h"
