// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Placement and fonts shared by the program's fixed-layout windows.
#include "tallyvane_platform_export.h"

class QWidget;

// Form layouts are stored with point sizes; the windows are laid out for 96 pixels
// per inch, so every font set on the form (the form's own included) gets the pixel
// height its point size has at 96 dpi, whatever the screen's resolution.
TALLYVANE_PLATFORM_EXPORT void UseFormPixelFonts(QWidget* form);

// Places a window in the middle of the primary screen's work area.
TALLYVANE_PLATFORM_EXPORT void CentreOnScreen(QWidget* window);
