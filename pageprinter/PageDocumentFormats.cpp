// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Column format strings: a TokenSeparator-separated list of column
// descriptions, each an alignment character and a width in MeasureUnit.
// Every format is kept in canonical form and parsed again wherever a row is laid out.
#include <cfloat>
#include <cmath>

#include "Conversions.h"
#include "MeasureUnits.h"
#include "PageDocument.h"
#include "PageDocumentPrivate.h"

namespace {

using measure_units::kInchesPerMillimeter;
using measure_units::kMillimetersPerInch;

QChar AlignmentChar(TAlignment a) {
  switch (a) {
    case taRightJustify: return QChar('>');
    case taCenter: return QChar('^');
    default: return QChar('<');
  }
}

QString WidthText(double w, const FormatSettings& fs) { return FloatToStrGeneral(static_cast<long double>(w), fs); }

}  // namespace

void TPageDocument::SplitTokens(const QString& text, QChar separator, QStringList& target) {
  target.clear();
  QString piece;
  for (const QChar ch : text) {
    if (ch == separator) {
      target.append(piece);
      piece.clear();
    } else {
      piece.append(ch);
    }
  }
  target.append(piece);
}

// Stored descriptions are independent of the user's regional settings: while the
// component is being loaded, widths are read with the decimal point.
const FormatSettings& TPageDocument::FormatInputSettings() const {
  static const FormatSettings storedSettings = [] {
    FormatSettings fs;
    fs.decimalSeparator = QChar('.');
    fs.thousandSeparator = QChar(',');
    return fs;
  }();
  return Loading() ? storedSettings : FormatSettings::Current();
}

void TPageDocument::ParseColumnFormat(QString& column, TAlignment& alignment, double& width) const {
  ParseColumnFormatWith(column, alignment, width, FormatSettings::Current());
}

void TPageDocument::ParseColumnFormatWith(QString& column, TAlignment& alignment, double& width,
                                          const FormatSettings& in) const {
  if (column.isEmpty()) column = QStringLiteral("<") + WidthText(d_->defaultColWidth_, in);
  if (column.size() == 1 && (column[0] == '<' || column[0] == '>' || column[0] == '^'))
    column += WidthText(d_->defaultColWidth_, in);

  const QChar first = column[0];
  if (first == '<') {
    alignment = taLeftJustify;
    column.remove(0, 1);
  } else if (first == '>') {
    alignment = taRightJustify;
    column.remove(0, 1);
  } else if (first == '^') {
    alignment = taCenter;
    column.remove(0, 1);
  } else {
    alignment = taLeftJustify;
  }

  long double value = 0;
  if (TryTextToFloat(column, value, in)) {
    // A width beyond the double range saturates (the 15-digit text of the largest
    // double reads back above it), so that a canonical format always reads back unchanged.
    if (value > static_cast<long double>(DBL_MAX))
      width = DBL_MAX;
    else if (value < -static_cast<long double>(DBL_MAX))
      width = -DBL_MAX;
    else
      width = static_cast<double>(value);
  } else {
    width = d_->defaultColWidth_;
  }
}

QString TPageDocument::NormalizeFormat(const QString& format, bool convert) const {
  return NormalizeFormatWith(format, convert, FormatInputSettings(), FormatSettings::Current());
}

QString TPageDocument::NormalizeFormatWith(const QString& format, bool convert, const FormatSettings& in,
                                           const FormatSettings& out) const {
  if (format.isEmpty()) return QString();
  QStringList pieces;
  SplitTokens(format, d_->tokenSeparator_, pieces);
  QString result;
  for (QString& piece : pieces) {
    TAlignment alignment = taLeftJustify;
    double width = 0;
    ParseColumnFormatWith(piece, alignment, width, in);
    if (!result.isEmpty()) result += d_->tokenSeparator_;
    if (convert) {
      width *= d_->measureUnit_ == muInches ? kInchesPerMillimeter : kMillimetersPerInch;
      // Keep the width a number that reads back (no infinity in a stored format).
      if (width > DBL_MAX) width = DBL_MAX;
      if (width < -DBL_MAX) width = -DBL_MAX;
    }
    result += AlignmentChar(alignment);
    result += WidthText(width, out);
  }
  return result;
}

void TPageDocument::SetFooterFormat(const QString& v) { d_->footerFormat_ = NormalizeFormat(v, false); }
void TPageDocument::SetHeaderFormat(const QString& v) { d_->headerFormat_ = NormalizeFormat(v, false); }
void TPageDocument::SetTableFormat(const QString& v) { d_->tableFormat_ = NormalizeFormat(v, false); }
