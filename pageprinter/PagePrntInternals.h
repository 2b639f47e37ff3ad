// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What lies behind the page printer's published face, for the library's own
// files and its tests: the document it shows and its repaint count.
#include "PageDocument.h"
#include "PagePrnt.h"

TPageDocument& DocumentOf(TPagePrinter& component);
const TPageDocument& DocumentOf(const TPagePrinter& component);
// The repaint requests so far (tests check "repaints only on a change").
int InvalidateCountOf(const TPagePrinter& component);
