// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The locale-aware conversions between text and numbers, money and dates.
// Every conversion takes the regional settings it uses.
#include "Dates.h"
#include "DecimalFormat.h"
#include "FormatSettings.h"
#include "Numbers.h"
