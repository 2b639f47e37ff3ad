// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The page printer's value types: its enumerations, the page-border set and the
/// list of recorded pages. Apart from PagePrnt.h because they need no widgets.
#include <QObject>
#include <cstdint>
#include <vector>

#include "tallyvane_pageprinter_export.h"
#include "Errors.h"
#include "Metafile.h"

/// The page printer's enumerations, in a Qt meta-object namespace so that forms and
/// stored descriptions name their values; callers use them unqualified (below).
namespace pageprinter {
Q_NAMESPACE_EXPORT(TALLYVANE_PAGEPRINTER_EXPORT)
/// The unit of every length of the page printer (margins, widths, offsets).
enum TMeasureUnit {
  muInches,      ///< inches
  muMillimeters  ///< millimetres
};
Q_ENUM_NS(TMeasureUnit)
/// The distance between lines, by the body font's height.
enum TLineSpacing {
  lsHalfSpace,       ///< half the font height
  lsSingleSpace,     ///< the font height
  lsSingleAndAHalf,  ///< one and a half times the font height
  lsDoubleSpace      ///< twice the font height
};
Q_ENUM_NS(TLineSpacing)
/// A border line around the content area (TPagePrinter::PageBorders).
enum TPageBorder {
  pbTop,     ///< above the content
  pbBottom,  ///< below the content
  pbLeft,    ///< left of the content
  pbRight    ///< right of the content
};
Q_ENUM_NS(TPageBorder)
/// Which part of the sheet the preview shows after a zoom or a page change.
enum TZoomLocation {
  zlTopLeft,    ///< the top-left corner
  zlTopCenter,  ///< the top edge, centred across
  zlCenter      ///< the centre
};
Q_ENUM_NS(TZoomLocation)
/// The alignment of a line or of a table cell within its column.
enum TAlignment {
  taLeftJustify,   ///< at the left edge (format character '<')
  taRightJustify,  ///< at the right edge ('>')
  taCenter         ///< centred ('^')
};
Q_ENUM_NS(TAlignment)
}  // namespace pageprinter
// Callers name the types and their values unqualified, as the published interface does.
using pageprinter::lsDoubleSpace;
using pageprinter::lsHalfSpace;
using pageprinter::lsSingleAndAHalf;
using pageprinter::lsSingleSpace;
using pageprinter::muInches;
using pageprinter::muMillimeters;
using pageprinter::pbBottom;
using pageprinter::pbLeft;
using pageprinter::pbRight;
using pageprinter::pbTop;
using pageprinter::taCenter;
using pageprinter::taLeftJustify;
using pageprinter::TAlignment;
using pageprinter::taRightJustify;
using pageprinter::TLineSpacing;
using pageprinter::TMeasureUnit;
using pageprinter::TPageBorder;
using pageprinter::TZoomLocation;
using pageprinter::zlCenter;
using pageprinter::zlTopCenter;
using pageprinter::zlTopLeft;

/// A set of page borders in one byte; bit n stands for the border with ordinal n.
using TPageBorders = uint8_t;
/// The bit of one border in TPageBorders: `BorderBit(pbTop) | BorderBit(pbBottom)`.
constexpr TPageBorders BorderBit(TPageBorder b) { return TPageBorders(1u << b); }

/// Raised by TPageList::Items (and so by TPagePrinter::Pages) outside the list's bounds.
class TALLYVANE_PAGEPRINTER_EXPORT EListError : public Exception {
 public:
  using Exception::Exception;
};

/// The document's pages in order; owns them.
class TALLYVANE_PAGEPRINTER_EXPORT TPageList {
 public:
  TPageList() = default;
  ~TPageList();  ///< Frees every page.
  TPageList(const TPageList&) = delete;
  TPageList& operator=(const TPageList&) = delete;
  /// The number of pages.
  int Count() const { return int(items_.size()); }
  /// 0-based; raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TMetafile* Items(int index) const;
  /// Appends a page; the list owns it from now on.
  void Add(TMetafile* page) { items_.push_back(page); }

 private:
  std::vector<TMetafile*> items_;
};
