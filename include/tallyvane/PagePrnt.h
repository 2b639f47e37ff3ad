// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Callers include <tallyvane/PagePrnt.h>; installed, this is the header itself.
#include "../../pageprinter/PagePrnt.h"
