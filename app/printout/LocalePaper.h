// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The paper a printed schedule goes on when nobody chose one: Save as PDF and
// the companion's files take it from the locale.
#include <QLocale>
#include <QPageSize>

// The sheet people in a locale print on: Letter in North and Central America
// and a few other places that use it, A4 everywhere else.
QPageSize::PageSizeId LocalePaperSize(const QLocale& locale);
