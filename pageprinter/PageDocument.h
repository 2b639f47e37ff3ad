// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// TPageDocument: the page printer's document without its widget. It measures
// against the printer, keeps the column formats, lays lines and table rows out
// into recorded pages (or a text file) and frames every page with its header,
// footer and borders. TPagePrinter is its published face: it forwards there and
// adds the preview, printing and loading. The members mean what the face's
// members of the same names mean (PagePrnt.h); not installed.
#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "Device.h"
#include "Graphics.h"
#include "Metafile.h"
#include "PagePrntErrors.h"
#include "PagePrntTypes.h"
#include "Printer.h"

class TPageOutput;
struct FormatSettings;

class TPageDocument {
 public:
  // What the document needs of whoever shows it; any hook may be empty.
  struct THooks {
    // The Sender of OnNewPage and OnNewLine.
    QObject* sender = nullptr;
    // The pages, the margins or the page shown changed: the view repaints.
    std::function<void()> repaint;
    // The sheet's shape or the page shown changed: the view sets its scroll ranges.
    std::function<void()> layout;
    // The body font changed; runs before the document follows the change.
    std::function<void(const TFont&)> fontChanged;
    // Settings are being loaded: friendly texts and automatic fonts wait for the end,
    // column widths are read with the decimal point.
    std::function<bool()> loading;
  };

  // An empty pointer gives the document the process-wide printer.
  explicit TPageDocument(std::shared_ptr<TPrinter> printer);
  ~TPageDocument();
  TPageDocument(const TPageDocument&) = delete;
  TPageDocument& operator=(const TPageDocument&) = delete;

  void SetHooks(THooks hooks);
  // Sets the defaults (fonts, orientation, spacing, the printer's minimum margins).
  // Apart from construction: setting them runs the hooks, which may reach the
  // document through its owner.
  void Initialize();

  // ---- Settings ----
  TMeasureUnit MeasureUnit() const;
  void SetMeasureUnit(TMeasureUnit unit);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment v);
  bool AutoFooterFont() const;
  void SetAutoFooterFont(bool v);
  bool AutoHeaderFont() const;
  void SetAutoHeaderFont(bool v);
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
  QString Header() const;
  void SetHeader(const QString& v);
  TFont& HeaderFont();
  void SetHeaderFont(const TFont& f);
  QString HeaderFormat() const;
  void SetHeaderFormat(const QString& v);
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
  double PageBorderOffset() const;
  void SetPageBorderOffset(double v);
  TPageBorders PageBorders() const;
  void SetPageBorders(TPageBorders v);
  bool PrintToFile() const;
  void SetPrintToFile(bool v);
  QString TableFormat() const;
  void SetTableFormat(const QString& v);
  bool TableGrid() const;
  void SetTableGrid(bool v);
  uint32_t TabSize() const;
  void SetTabSize(uint32_t v);
  QString Title() const;
  void SetTitle(const QString& v);
  TPrinter* Printer() const;
  // The caller refuses the change while a print runs.
  void SetPrinter(std::shared_ptr<TPrinter> printer);
  QChar TokenSeparator() const;
  void SetTokenSeparator(QChar v);
  bool WordWrap() const;
  void SetWordWrap(bool v);
  TFont& Font();
  void SetFont(const TFont& f);

  // ---- State ----
  bool Printing() const;
  int PageNumber() const;
  void SetPageNumber(int v);
  int PageCount() const;
  TMetafile* Pages(int n) const;  // 1-based
  TMetafileCanvas* PageCanvas() const;

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
  TDeviceContext* PrinterHandle() const;
  void UpdatePrinterMetrics();
  int LineHeight() const;
  const TTextMetric& TextMetrics() const;

  // ---- Column formats ----
  static void SplitTokens(const QString& text, QChar separator, QStringList& target);
  void ParseColumnFormat(QString& column, TAlignment& alignment, double& width) const;
  QString NormalizeFormat(const QString& format, bool convert) const;
  // Read with one set of regional settings and written with another: stored
  // descriptions always use the decimal point, the document's own strings the user's separator.
  QString NormalizeFormatWith(const QString& format, bool convert, const FormatSettings& in,
                              const FormatSettings& out) const;

  // ---- Page store ----
  void ClearPages(bool appendFirst);
  void AddPage();
  void OpenPage();
  void ClosePage();
  void RealizePageFont();

  // ---- Document building ----
  // The caller refuses a page document while a print runs.
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

  // ---- Text routines of the flow ----
  // s with its tabs turned into blanks up to the next tab stop (every tabSize characters).
  static QString ExpandTabs(const QString& s, uint32_t tabSize);
  // n blanks (none when n is not positive).
  static QString Spaces(int n);
  // s up to and including its last blank or control character (s itself when it has none).
  static QString CutAtLastBlank(const QString& s);
  // The longest start of s that fits width printer pixels in the page's font.
  QString FitToWidth(const QString& s, int width);
  // Moves from rest into piece what fits width, broken at a blank when it can; dropBlank
  // also drops the blank it breaks at.
  void TakeFittingPart(QString& piece, QString& rest, int width, bool dropBlank);

  // ---- Decoration ----
  void DecoratePage();
  QString ReplaceTokens(const QString& text) const;
  static QString ReplaceAll(const QString& pattern, const QString& replacement, const QString& text);
  void ConvertFriendly(const QString& text, bool isHeader);

 private:
  // Settings
  void FontChanged();
  void SetMargin(double& field, double value, double minimum, double bound, const char* message);
  void RecomputeLineHeight();
  bool Loading() const;
  void NotifyRepaint() const;
  void NotifyLayout() const;
  // Geometry
  int PrinterCaps(TDeviceCap index, bool& available) const;
  double PixelsToUnits(int p, TDeviceCap index) const;
  double FallbackOffset() const;
  // Formats
  void ParseColumnFormatWith(QString& column, TAlignment& alignment, double& width, const FormatSettings& in) const;
  const FormatSettings& FormatInputSettings() const;
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
  // Decoration: the header and footer rows.
  void DrawMarginRows();

  struct Private;
  std::unique_ptr<Private> d_;
};
