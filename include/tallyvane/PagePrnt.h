// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// TPagePrinter: builds paged output from lines and table rows into recorded
/// pages with headers, footers and borders, prints them with copies, collation
/// and a progress dialog, previews them, or writes them as plain text to a file.
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
#include "PagePrntTypes.h"
#include "Printer.h"

class TPPPrnPrgDlg;
class TPageDocument;
class QPaintEvent;

// The preview: the page shown as a sheet of paper (PagePrntPreview.h).
class TPreviewBox;

/// The page printer: builds a document from lines and table rows, then prints it,
/// previews it or writes it as text.
///
/// BeginDoc starts a document; Write, WriteLine and WriteTableLine add text at the
/// cursor, breaking pages when the content area is full; every page gets the Header
/// and Footer rows and the PageBorders. EndDoc finishes it: the pages are recorded
/// (Pages, PageCount) and shown in the preview, and Print sends them to the printer
/// object (::Printer, chosen with ::SetPrinter before the component is made). With
/// PrintToFile the document goes to the text file FileName instead.
///
/// Lengths (margins, column widths, offsets) are in MeasureUnit, inches or
/// millimetres; positions on the page (CurrentX, CurrentY, LineHeight) are printer
/// pixels. A setter that cannot act while Printing raises EPagePrinter.
/// The accessor pairs of the first group are also Qt properties of the same name, in
/// that order (for forms: `<property name="Footer" stdset="0">`; Lines, Orientation and
/// PageBorders through their ...Value accessors, the fonts as text). A write through
/// Qt's property system (setProperty, a form) never raises: a value the setter refuses
/// leaves the property as it was and is reported with qWarning.
class TALLYVANE_PAGEPRINTER_EXPORT TPagePrinter : public QScrollArea, public TLoadable {
  Q_OBJECT
  // Published properties, in the published order (the order of stored descriptions).
  Q_PROPERTY(pageprinter::TMeasureUnit MeasureUnit READ MeasureUnit WRITE PropertySetMeasureUnit)
  Q_PROPERTY(bool AbortOnCancel READ AbortOnCancel WRITE PropertySetAbortOnCancel)
  Q_PROPERTY(pageprinter::TAlignment Alignment READ Alignment WRITE PropertySetAlignment)
  Q_PROPERTY(bool AutoFooterFont READ AutoFooterFont WRITE PropertySetAutoFooterFont)
  Q_PROPERTY(bool AutoHeaderFont READ AutoHeaderFont WRITE PropertySetAutoHeaderFont)
  Q_PROPERTY(bool Collate READ Collate WRITE PropertySetCollate)
  Q_PROPERTY(uint32_t Copies READ Copies WRITE PropertySetCopies)
  Q_PROPERTY(double DefaultColWidth READ DefaultColWidth WRITE PropertySetDefaultColWidth)
  Q_PROPERTY(QString FileName READ FileName WRITE PropertySetFileName)
  Q_PROPERTY(QString Footer READ Footer WRITE PropertySetFooter)
  // FooterFont, as text (format at BodyFontText)
  Q_PROPERTY(QString FooterFontText READ FooterFontText WRITE PropertySetFooterFontText)
  Q_PROPERTY(QString FooterFormat READ FooterFormat WRITE PropertySetFooterFormat)
  Q_PROPERTY(QString FriendlyFooter READ FriendlyFooter WRITE PropertySetFriendlyFooter)
  Q_PROPERTY(QString FriendlyHeader READ FriendlyHeader WRITE PropertySetFriendlyHeader)
  Q_PROPERTY(bool GradientBackground READ GradientBackground WRITE PropertySetGradientBackground)
  Q_PROPERTY(QString Header READ Header WRITE PropertySetHeader)
  // HeaderFont, as text (format at BodyFontText)
  Q_PROPERTY(QString HeaderFontText READ HeaderFontText WRITE PropertySetHeaderFontText)
  Q_PROPERTY(QString HeaderFormat READ HeaderFormat WRITE PropertySetHeaderFormat)
  Q_PROPERTY(QStringList Lines READ LinesValue WRITE PropertySetLinesValue)
  Q_PROPERTY(pageprinter::TLineSpacing LineSpacing READ LineSpacing WRITE PropertySetLineSpacing)
  Q_PROPERTY(double MarginBottom READ MarginBottom WRITE PropertySetMarginBottom)
  Q_PROPERTY(double MarginLeft READ MarginLeft WRITE PropertySetMarginLeft)
  Q_PROPERTY(double MarginRight READ MarginRight WRITE PropertySetMarginRight)
  Q_PROPERTY(double MarginTop READ MarginTop WRITE PropertySetMarginTop)
  Q_PROPERTY(int Orientation READ OrientationValue WRITE PropertySetOrientationValue)
  Q_PROPERTY(double PageBorderOffset READ PageBorderOffset WRITE PropertySetPageBorderOffset)
  Q_PROPERTY(uint PageBorders READ PageBordersValue WRITE PropertySetPageBordersValue)
  Q_PROPERTY(bool PrintToFile READ PrintToFile WRITE PropertySetPrintToFile)
  Q_PROPERTY(QString ProgressMessage READ ProgressMessage WRITE PropertySetProgressMessage)
  Q_PROPERTY(uint32_t ShadowColor READ ShadowColor WRITE PropertySetShadowColor)
  Q_PROPERTY(uint32_t ShadowOffset READ ShadowOffset WRITE PropertySetShadowOffset)
  Q_PROPERTY(bool ShowCancel READ ShowCancel WRITE PropertySetShowCancel)
  Q_PROPERTY(bool ShowMargins READ ShowMargins WRITE PropertySetShowMargins)
  Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE PropertySetShowProgress)
  Q_PROPERTY(QString TableFormat READ TableFormat WRITE PropertySetTableFormat)
  Q_PROPERTY(bool TableGrid READ TableGrid WRITE PropertySetTableGrid)
  Q_PROPERTY(uint32_t TabSize READ TabSize WRITE PropertySetTabSize)
  Q_PROPERTY(QString Title READ Title WRITE PropertySetTitle)
  Q_PROPERTY(QChar TokenSeparator READ TokenSeparator WRITE PropertySetTokenSeparator)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE PropertySetWordWrap)
  Q_PROPERTY(pageprinter::TZoomLocation ZoomLocation READ ZoomLocation WRITE PropertySetZoomLocation)
  Q_PROPERTY(uint32_t ZoomPercent READ ZoomPercent WRITE PropertySetZoomPercent)
  // The three fonts as text, for forms (.ui, stdset="0") and
  // stored descriptions; the header and footer fonts stand at their published places
  // above, the inherited body font below. Format: at BodyFontText, below.
  // The inherited colour, published again (0x00BBGGRR or a system colour constant).
  Q_PROPERTY(uint32_t Color READ Color WRITE PropertySetColor)
  // The inherited body font, published again after the colour.
  Q_PROPERTY(QString BodyFontText READ BodyFontText WRITE PropertySetBodyFontText)

 public:
  /// A page printer with the defaults: inches, the printer's minimum margins, Courier New
  /// 10 pt, single spacing, word wrap, '|' separator, preview at 25 %.
  explicit TPagePrinter(QWidget* owner = nullptr);
  /// A component on a printer of its own; an empty pointer gives it the
  /// process-wide printer (::Printer()).
  explicit TPagePrinter(std::shared_ptr<TPrinter> printer, QWidget* owner = nullptr);
  ~TPagePrinter() override;

  // ---- Properties (component) ----
  /// The unit of every length (muInches by default). Changing it converts the margins, the
  /// border offset, the default column width and the format widths; raises EPagePrinter
  /// "Unable to change top margin while printing" while Printing.
  TMeasureUnit MeasureUnit() const;
  void SetMeasureUnit(TMeasureUnit unit);  ///< See MeasureUnit.
  /// On a cancel after sheets were sent: true discards the job, false (the default) ends it there.
  bool AbortOnCancel() const;
  void SetAbortOnCancel(bool v);  ///< Sets AbortOnCancel.
  /// The alignment of WriteLine's lines (taLeftJustify by default).
  TAlignment Alignment() const;
  void SetAlignment(TAlignment v);  ///< Sets Alignment.
  /// When true (the default), FooterFont follows Font; setting it true copies Font.
  bool AutoFooterFont() const;
  void SetAutoFooterFont(bool v);  ///< Sets AutoFooterFont.
  /// When true (the default), HeaderFont follows Font; setting it true copies Font.
  bool AutoHeaderFont() const;
  void SetAutoHeaderFont(bool v);  ///< Sets AutoHeaderFont.
  /// With several Copies: true (the default) prints whole copies in turn, false each page's copies together.
  bool Collate() const;
  void SetCollate(bool v);  ///< Sets Collate.
  /// The copies Print makes of the document itself (1 by default).
  uint32_t Copies() const;
  void SetCopies(uint32_t v);  ///< Sets Copies; 0 or a value above 2^31 - 1 gives 1.
  /// The width of a column whose format gives none, in MeasureUnit (0 by default).
  double DefaultColWidth() const;
  void SetDefaultColWidth(double v);  ///< Sets DefaultColWidth.
  /// The text file that a PrintToFile document is written to (empty by default).
  QString FileName() const;
  /// Sets FileName, without leading and trailing blanks and control characters; raises
  /// EPagePrinter "Can't change FileName while printing" while Printing.
  void SetFileName(const QString& v);
  /// The footer row, at the foot of every page: cells separated by TokenSeparator, laid
  /// out by FooterFormat, with tokens such as "Page {$PAGE} of {$PAGECOUNT}"; empty: none.
  QString Footer() const;
  void SetFooter(const QString& v);  ///< Sets Footer.
  /// The footer's font (the body Font while AutoFooterFont).
  TFont& FooterFont();
  void SetFooterFont(const TFont& f);  ///< Copies f into FooterFont.
  /// The footer's column format, as TableFormat.
  QString FooterFormat() const;
  void SetFooterFormat(const QString& v);  ///< Sets FooterFormat, kept in canonical form.
  /// The footer in friendly notation: "&l", "&c", "&r" start a left, centred or right column,
  /// "&p" the page, "&n" the page count, "&i" the title, "&d"/"&D" the date, "&t"/"&T" the time,
  /// "&f"/"&F" the file name, "&&" an ampersand. Setting it sets Footer and FooterFormat.
  QString FriendlyFooter() const;
  void SetFriendlyFooter(const QString& v);  ///< Sets FriendlyFooter (converted once loaded).
  /// The header in friendly notation (as FriendlyFooter); setting it sets Header and HeaderFormat.
  QString FriendlyHeader() const;
  void SetFriendlyHeader(const QString& v);  ///< Sets FriendlyHeader (converted once loaded).
  /// The preview's background: true (the default) a gradient from black to Color, false plain Color.
  bool GradientBackground() const;
  void SetGradientBackground(bool v);  ///< Sets GradientBackground.
  /// The header row, at the top of every page (as Footer, laid out by HeaderFormat); empty: none.
  QString Header() const;
  void SetHeader(const QString& v);  ///< Sets Header.
  /// The header's font (the body Font while AutoHeaderFont).
  TFont& HeaderFont();
  void SetHeaderFont(const TFont& f);  ///< Copies f into HeaderFont.
  /// The header's column format, as TableFormat.
  QString HeaderFormat() const;
  void SetHeaderFormat(const QString& v);  ///< Sets HeaderFormat, kept in canonical form.
  /// Text lines kept with the component (stored with it, not printed by it).
  /// The list is created again when it was discarded; assigning nullptr discards it.
  QStringList* Lines();
  void SetLines(const QStringList* lines);                            ///< Copies the lines; nullptr discards the list.
  QStringList LinesValue() { return *Lines(); }                       ///< The Lines, as the property Lines gives them.
  void SetLinesValue(const QStringList& lines) { SetLines(&lines); }  ///< Sets the Lines (property Lines).
  /// The distance between lines (lsSingleSpace by default).
  TLineSpacing LineSpacing() const;
  void SetLineSpacing(TLineSpacing v);  ///< Sets LineSpacing; LineHeight follows.
  /// The bottom margin from the sheet's edge, in MeasureUnit (the printer's minimum by default).
  double MarginBottom() const;
  /// Sets MarginBottom, kept between the minimum and the sheet; raises EPagePrinter
  /// "Unable to change bottom margin while printing" while Printing.
  void SetMarginBottom(double v);
  /// The left margin from the sheet's edge, in MeasureUnit (the printer's minimum by default).
  double MarginLeft() const;
  /// Sets MarginLeft, kept between the minimum and the sheet; raises EPagePrinter
  /// "Unable to change left margin while printing" while Printing.
  void SetMarginLeft(double v);
  /// The right margin from the sheet's edge, in MeasureUnit (the printer's minimum by default).
  double MarginRight() const;
  /// Sets MarginRight, kept between the minimum and the sheet; raises EPagePrinter
  /// "Unable to change right margin while printing" while Printing.
  void SetMarginRight(double v);
  /// The top margin from the sheet's edge, in MeasureUnit (the printer's minimum by default).
  double MarginTop() const;
  /// Sets MarginTop, kept between the minimum and the sheet; raises EPagePrinter
  /// "Unable to change top margin while printing" while Printing.
  void SetMarginTop(double v);
  /// Event: a line ended (NewLine), and a page's header and footer are done.
  TNotifyEvent OnNewLine() const;
  void SetOnNewLine(TNotifyEvent e);  ///< Sets OnNewLine.
  /// Event: a page starts, before its header; what the handler writes (column headings)
  /// goes at the top of the page.
  TNotifyEvent OnNewPage() const;
  void SetOnNewPage(TNotifyEvent e);  ///< Sets OnNewPage.
  /// The printer's sheet orientation (poPortrait when there is no printer).
  TPrinterOrientation Orientation() const;
  /// Sets the printer's orientation; raises EPagePrinter "Unable to change orientation while printing"
  /// while Printing.
  void SetOrientation(TPrinterOrientation o);
  int OrientationValue() const { return int(Orientation()); }  ///< Orientation as a number (property Orientation).
  void SetOrientationValue(int o) { SetOrientation(TPrinterOrientation(o)); }  ///< Sets it from a number.
  /// How far outside the content area the PageBorders are drawn, in MeasureUnit (0 by default).
  double PageBorderOffset() const;
  void SetPageBorderOffset(double v);  ///< Sets PageBorderOffset.
  /// The border lines drawn around every page's content area (none by default).
  TPageBorders PageBorders() const;
  void SetPageBorders(TPageBorders v);  ///< Sets PageBorders.
  uint PageBordersValue() const;        ///< PageBorders as a number (property PageBorders).
  void SetPageBordersValue(uint v);     ///< Sets PageBorders from a number; bits above the four borders are dropped.
  /// When true, BeginDoc..EndDoc writes the text file FileName instead of pages (false by default).
  bool PrintToFile() const;
  /// Sets PrintToFile; raises EPagePrinter "Can't change PrintToFile while printing" while Printing.
  void SetPrintToFile(bool v);
  /// The progress dialog's message while Print sends pages (empty: "Sending Pages To Printer").
  QString ProgressMessage() const;
  void SetProgressMessage(const QString& v);  ///< Sets ProgressMessage.
  /// The colour of the sheet's shadow in the preview (clBtnShadow by default).
  TColor ShadowColor() const;
  void SetShadowColor(TColor v);  ///< Sets ShadowColor.
  /// The width of the sheet's shadow in the preview, in screen pixels (5 by default).
  uint32_t ShadowOffset() const;
  void SetShadowOffset(uint32_t v);  ///< Sets ShadowOffset.
  /// Whether the progress dialog has a Cancel button (true by default).
  bool ShowCancel() const;
  void SetShowCancel(bool v);  ///< Sets ShowCancel.
  /// Whether the preview outlines the margins (true by default).
  bool ShowMargins() const;
  void SetShowMargins(bool v);  ///< Sets ShowMargins.
  /// Whether Print shows a progress dialog (true by default).
  bool ShowProgress() const;
  void SetShowProgress(bool v);  ///< Sets ShowProgress.
  /// The columns of WriteTableLine's rows: per column an alignment ('<', '>', '^') and a width
  /// in MeasureUnit, separated by TokenSeparator, such as ">1.5|^2|<1"; a negative width has no grid.
  QString TableFormat() const;
  void SetTableFormat(const QString& v);  ///< Sets TableFormat, kept in canonical form.
  /// Whether table rows are drawn with cell lines (false by default).
  bool TableGrid() const;
  void SetTableGrid(bool v);  ///< Sets TableGrid.
  /// The distance of tab stops, in characters (8 by default).
  uint32_t TabSize() const;
  void SetTabSize(uint32_t v);  ///< Sets TabSize.
  /// The document's title: the printer object's job title and the token {$TITLE}.
  QString Title() const;
  void SetTitle(const QString& v);  ///< Sets the printer object's title.
  /// The printer this component measures against and prints to: the process-wide
  /// printer when the component was created, or the one given to SetPrinter.
  TPrinter* Printer() const;
  /// Gives the component a printer of its own; an empty pointer gives it the
  /// process-wide printer. The title and orientation carry over to the new printer.
  /// Raises EPagePrinter "Unable to change printer while printing" while a document
  /// is open or a print runs.
  void SetPrinter(std::shared_ptr<TPrinter> printer);
  /// The character between cells of rows and formats ('|' by default).
  QChar TokenSeparator() const;
  void SetTokenSeparator(QChar v);  ///< Sets TokenSeparator.
  /// Whether text too wide for its line or cell goes on in the next line (true by default)
  /// or is cut at the edge.
  bool WordWrap() const;
  void SetWordWrap(bool v);  ///< Sets WordWrap.
  /// Which part of the sheet the preview shows after a change (zlTopLeft by default).
  TZoomLocation ZoomLocation() const;
  void SetZoomLocation(TZoomLocation v);  ///< Sets ZoomLocation.
  /// The preview's scale in percent of the sheet's real size (25 by default).
  uint32_t ZoomPercent() const;
  void SetZoomPercent(uint32_t v);  ///< Sets ZoomPercent and the scroll ranges.
  /// The body-text font (the control's Font). Changing any attribute runs the font-change handling.
  TFont& Font();
  void SetFont(const TFont& f);  ///< Copies f into Font.
  /// The control's colour: end of the preview gradient, plain background otherwise (clBtnFace).
  TColor Color() const;
  void SetColor(TColor c);  ///< Sets Color.

  // ---- Public, not published ----
  /// True while a document is open (BeginDoc..EndDoc), or its text file with PrintToFile.
  bool Printing() const;
  /// The page shown in the preview (0 with no pages); while building, the page being written.
  int PageNumber() const;
  /// Shows page v; raises EPagePrinter "PageNumber must be between 1 and " and the PageCount
  /// outside 1..PageCount (with no pages, or while loading, it sets 0).
  void SetPageNumber(int v);
  /// The number of recorded pages.
  int PageCount() const;
  /// Page n, 1-based; raises EListError "List index out of bounds (%d)" outside 1..PageCount.
  TMetafile* Pages(int n) const;  // 1-based
  /// The canvas of the open page, in printer pixels from the printable origin (nullptr when none).
  TMetafileCanvas* PageCanvas() const;
  /// The first page Print sends, 1-based (0, the default: from the first).
  uint32_t FromPage() const;
  void SetFromPage(uint32_t v);  ///< Sets FromPage; ToPage moves up to it when lower.
  /// The last page Print sends (0, the default: to the last).
  uint32_t ToPage() const;
  void SetToPage(uint32_t v);  ///< Sets ToPage; FromPage moves down to it when higher.

  // ---- Units and printer geometry (recomputed at every call) ----
  /// A horizontal length in MeasureUnit in printer pixels (at 300 pixels per inch without a printer).
  int UnitsToPixelsX(double v) const;
  /// A vertical length in MeasureUnit in printer pixels.
  int UnitsToPixelsY(double v) const;
  /// A horizontal length in printer pixels in MeasureUnit.
  double PixelsToUnitsX(int p) const;
  /// A vertical length in printer pixels in MeasureUnit.
  double PixelsToUnitsY(int p) const;
  /// The printer's unprintable top offset, the least MarginTop, in MeasureUnit (0.25 in or 6 mm without a printer).
  double MinMarginTop() const;
  /// The least MarginBottom: the top offset (the printer reports only its top and left offsets).
  double MinMarginBottom() const;
  /// The printer's unprintable left offset, the least MarginLeft, in MeasureUnit.
  double MinMarginLeft() const;
  /// The least MarginRight: the left offset.
  double MinMarginRight() const;
  /// The sheet's width in MeasureUnit (Letter, 8.5 in, or A4, 210 mm, without a printer).
  double PhysicalPageWidth() const;
  /// The sheet's height in MeasureUnit (11 in or 297 mm without a printer).
  double PhysicalPageHeight() const;
  /// The sheet's width less the unprintable offsets, in MeasureUnit.
  double PrintableWidth() const;
  /// The sheet's height less the unprintable offsets, in MeasureUnit.
  double PrintableHeight() const;
  /// The sheet's width less the left and right margins, in MeasureUnit.
  double ContentWidth() const;
  int LeftMarginPixels() const;     ///< The left margin beyond the unprintable offset, in printer pixels.
  int RightMarginPixels() const;    ///< The right margin beyond the unprintable offset, in printer pixels.
  int TopMarginPixels() const;      ///< The top margin beyond the unprintable offset, in printer pixels.
  int BottomMarginPixels() const;   ///< The bottom margin beyond the unprintable offset, in printer pixels.
  int ContentWidthPixels() const;   ///< The width between the margins, in printer pixels.
  int ContentHeightPixels() const;  ///< The height between the margins, in printer pixels.
  /// The printer's device context, nullptr when no printer is usable.
  TDeviceContext* PrinterHandle() const;
  /// Reads the printer again (margins kept on its sheet unless Printing, font metrics, line
  /// height, friendly header and footer); for after a change of printer settings.
  void UpdatePrinterMetrics();
  /// The height of a line in printer pixels: the body font's height by LineSpacing.
  int LineHeight() const;
  /// The body font's metrics on the printer.
  const TTextMetric& TextMetrics() const;

  // ---- Column formats ----
  /// Splits text at every separator into target (n separators give n + 1 pieces).
  static void SplitTokens(const QString& text, QChar separator, QStringList& target);
  /// Reads one column description ("<1.5", "^", "") into its alignment and width in MeasureUnit
  /// (DefaultColWidth when it gives none); column is left without its alignment character.
  void ParseColumnFormat(QString& column, TAlignment& alignment, double& width) const;
  /// The canonical form of a format, every column with alignment and width; convert also
  /// converts the widths from the other unit into MeasureUnit.
  QString NormalizeFormat(const QString& format, bool convert) const;

  // ---- Page store ----
  /// Discards every page; appendFirst starts the first page of the list, else an open page outside it.
  void ClearPages(bool appendFirst);
  /// Opens a new page and appends it to the pages.
  void AddPage();
  /// Opens a new blank page (not in the list) the size of the printable area.
  void OpenPage();
  /// Ends the recording of the open page; one that is not in the list is freed.
  void ClosePage();
  /// Sets the open page's font to the printer's resolution.
  void RealizePageFont();

  // ---- Document building ----
  /// Starts a document: the pages (or, with PrintToFile, the text file) start afresh on page 1.
  /// Raises EPagePrinter "Cannot start a new document while printing" while Print sends pages,
  /// EInOutError when the text file cannot be opened.
  void BeginDoc();
  /// Ends the document: fills in {$PAGECOUNT}, then shows page 1 or closes the text file.
  void EndDoc();
  /// Writes text at the cursor and leaves the cursor after it (wrapping as WordWrap says).
  void Write(const QString& text);
  /// Writes text as a line by Alignment and moves to the next line.
  void WriteLine(const QString& text);
  /// Writes one line as WriteLine does, with this alignment for this line only.
  void WriteLineAligned(TAlignment alignment, const QString& text);
  /// Writes a table row: its cells, separated by TokenSeparator, in the columns of TableFormat,
  /// with their tokens replaced; cells too wide wrap within their column.
  void WriteTableLine(const QString& row);
  /// Moves the cursor to the next line (a new page when this one is full); returns LineNumber.
  int NewLine();
  /// Ends the page and starts the next one with its header and footer; returns the page number.
  int NewPage();
  /// The cursor across the line, in printer pixels.
  int CurrentX() const;
  /// The cursor down the page, in printer pixels from the top margin.
  int CurrentY() const;
  /// The lines written on this page so far (the token {$LINE}).
  int LineNumber() const;
  /// True between BeginDoc and EndDoc.
  bool DocumentOpen() const;
  /// True while a PrintToFile document's text file is open.
  bool FileOpen() const;

  // ---- Decoration ----
  /// Starts a page: OnNewPage, the header and footer rows, the borders, OnNewLine.
  void DecoratePage();
  /// text with {$LINE}, {$PAGE}, {$DATE}, {$TIME} and {$TITLE} replaced; {$PAGECOUNT} is left
  /// for EndDoc to fill in.
  QString ReplaceTokens(const QString& text) const;
  /// text with every occurrence of pattern replaced (unchanged for an empty pattern).
  static QString ReplaceAll(const QString& pattern, const QString& replacement, const QString& text);
  /// Sets Header and HeaderFormat (isHeader) or Footer and FooterFormat from friendly
  /// notation (see FriendlyFooter), in columns of equal width.
  void ConvertFriendly(const QString& text, bool isHeader);

  // ---- Printing ----
  /// Prints the pages FromPage..ToPage, Copies times, collated by Collate, with the progress
  /// dialog; ends an open document first. False when cancelled (or while already printing);
  /// raises what the printer raises (EPrinter, or EInOutError for a PDF file).
  bool Print();
  /// Cancels the running Print before its next sheet (the progress dialog's Cancel button).
  void ProgressCancelClick();
  /// The progress dialog while Print shows it, else nullptr.
  TPPPrnPrgDlg* ProgressDialog() const;
  /// True while Print sends pages (it processes window messages then); a nested
  /// Print is refused and the pages must not be replaced meanwhile.
  bool PrintRunning() const;

  // ---- Preview ----
  /// Paints the preview: the sheet, its shadow, the page shown and the margins.
  virtual void PaintPreview(QPainter& painter);
  /// Sets the scroll ranges for the sheet at the zoom, and scrolls by ZoomLocation.
  void UpdateScrollRanges();
  /// A length in MeasureUnit in screen pixels (at 100 %).
  int UnitsToScreen(bool horizontal, double value) const;
  /// A length in MeasureUnit in screen pixels at ZoomPercent.
  int UnitsToZoomedScreen(bool horizontal, double value) const;
  /// Printer pixels per screen pixel (1 without a printer).
  double PrinterScreenRatio(bool horizontal) const;
  /// The sheet's width (horizontal) or height on the screen at ZoomPercent, in screen pixels.
  int PageExtentOnScreen(bool horizontal) const;
  /// Fills rect with a gradient from startColor to endColor, downwards (vertical) or rightwards.
  static void GradientFill(TCanvas& canvas, QRect rect, TColor startColor, TColor endColor, bool vertical);
  /// The preview widget inside the scroll area.
  TPreviewBox* PreviewBox() const;
  /// The horizontal scroll range: the sheet's width on the screen and its shadow, in screen pixels.
  int HorzRange() const;
  /// The vertical scroll range, in screen pixels.
  int VertRange() const;

  // ---- Loading ----
  /// Ends loading from a form: reads the printer, starts with no pages, sets the scroll ranges.
  void Loaded() override;

  /// Requests a repaint of the preview.
  void Invalidate();

  // ---- Fonts as text, and the preview's pen ----
  /// The fonts as text; setters copy into the font objects and raise EConvertError
  /// "'%1' is not a valid font description" for a text they cannot read.
  /// Format: "Name,Height[,Style[,Color]]"
  ///  - Name: font family, such as Courier New (no comma)
  ///  - Height: the TFont height in pixels at the screen's 96 pixels per inch, negative for the
  ///    character height (-13 = 10 points); "10pt" gives a size in points instead
  ///  - Style: "regular" or styles joined by '+': bold, italic, underline, strikeout
  ///  - Color: a colour name (clWindowText, clBlack, clRed, ...) or a number (0x00BBGGRR)
  ///
  /// Example: "Courier New,-13,bold,clWindowText". Reading gives the same form with every field.
  QString BodyFontText() const;
  void SetBodyFontText(const QString& text);    ///< Sets Font from text (see BodyFontText).
  QString HeaderFontText() const;               ///< HeaderFont as text (see BodyFontText).
  void SetHeaderFontText(const QString& text);  ///< Sets HeaderFont from text (see BodyFontText).
  QString FooterFontText() const;               ///< FooterFont as text (see BodyFontText).
  void SetFooterFontText(const QString& text);  ///< Sets FooterFont from text (see BodyFontText).
  /// The preview surface's pen colour, set to Color by Loaded.
  TColor PreviewPenColor() const;

 private:
  // The document, and the repaint count, for the library's own files and its
  // tests (PagePrntInternals.h).
  friend TPageDocument& DocumentOf(TPagePrinter& component);
  friend const TPageDocument& DocumentOf(const TPagePrinter& component);
  friend int InvalidateCountOf(const TPagePrinter& component);
  // The client size the scroll ranges leave (the preview sets its scroll positions by it).
  QSize ClientSizeForRanges() const;

  // The WRITE accessors of the Qt properties: the setters, with a refused value
  // left as it was and reported as a warning instead of an exception, which Qt
  // cannot carry through setProperty or a form.
  void PropertySetMeasureUnit(TMeasureUnit v);
  void PropertySetAbortOnCancel(bool v);
  void PropertySetAlignment(TAlignment v);
  void PropertySetAutoFooterFont(bool v);
  void PropertySetAutoHeaderFont(bool v);
  void PropertySetCollate(bool v);
  void PropertySetCopies(uint32_t v);
  void PropertySetDefaultColWidth(double v);
  void PropertySetFileName(const QString& v);
  void PropertySetFooter(const QString& v);
  void PropertySetFooterFontText(const QString& v);
  void PropertySetFooterFormat(const QString& v);
  void PropertySetFriendlyFooter(const QString& v);
  void PropertySetFriendlyHeader(const QString& v);
  void PropertySetGradientBackground(bool v);
  void PropertySetHeader(const QString& v);
  void PropertySetHeaderFontText(const QString& v);
  void PropertySetHeaderFormat(const QString& v);
  void PropertySetLinesValue(const QStringList& v);
  void PropertySetLineSpacing(TLineSpacing v);
  void PropertySetMarginBottom(double v);
  void PropertySetMarginLeft(double v);
  void PropertySetMarginRight(double v);
  void PropertySetMarginTop(double v);
  void PropertySetOrientationValue(int v);
  void PropertySetPageBorderOffset(double v);
  void PropertySetPageBordersValue(uint v);
  void PropertySetPrintToFile(bool v);
  void PropertySetProgressMessage(const QString& v);
  void PropertySetShadowColor(uint32_t v);
  void PropertySetShadowOffset(uint32_t v);
  void PropertySetShowCancel(bool v);
  void PropertySetShowMargins(bool v);
  void PropertySetShowProgress(bool v);
  void PropertySetTableFormat(const QString& v);
  void PropertySetTableGrid(bool v);
  void PropertySetTabSize(uint32_t v);
  void PropertySetTitle(const QString& v);
  void PropertySetTokenSeparator(QChar v);
  void PropertySetWordWrap(bool v);
  void PropertySetZoomLocation(TZoomLocation v);
  void PropertySetZoomPercent(uint32_t v);
  void PropertySetColor(uint32_t v);
  void PropertySetBodyFontText(const QString& v);
  // The state lives in the implementation files only.
  struct Private;
  std::unique_ptr<Private> d_;
  friend class TPreviewBox;
};

#include "PagePrntPreview.h"
