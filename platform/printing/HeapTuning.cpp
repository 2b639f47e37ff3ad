// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "HeapTuning.h"

#include <malloc.h>

void KeepHeapTopForPrinting() {
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
}
