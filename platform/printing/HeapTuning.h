// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Each PDF page is built and compressed in memory and freed when it is written:
// the heap's top grows and shrinks once a page, and handing the memory back to
// the system every time costs a third as much as drawing the page. The
// program and the companion keep a little at the top for the whole process.
// Called from their main functions only: a library must not retune the heap of
// the program that loads it.
void KeepHeapTopForPrinting();
