// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Callers include <tallyvane/Printer.h>; installed, this is the header itself.
#include "../../platform/Printer.h"
