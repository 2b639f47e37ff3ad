// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "LocalePaper.h"

QPageSize::PageSizeId LocalePaperSize(const QLocale& locale) {
  switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Belize:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::CostaRica:
    case QLocale::DominicanRepublic:
    case QLocale::ElSalvador:
    case QLocale::Guatemala:
    case QLocale::Honduras:
    case QLocale::Nicaragua:
    case QLocale::Panama:
    case QLocale::Philippines:
    case QLocale::PuertoRico:
    case QLocale::Venezuela: return QPageSize::Letter;
    default: return QPageSize::A4;
  }
}
