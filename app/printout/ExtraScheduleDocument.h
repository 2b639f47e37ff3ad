// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The printed schedule with extra payments: the main printout's pages (the same
// settings, header, footer, heading block and due dates) with an Extra column,
// the totals row, and a last page with the yearly totals.
#include <QDate>
#include <vector>

#include "ExtraPayments.h"
#include "ScheduleDocument.h"

struct ExtraScheduleDocument {
  LoanLineParts loan;  // the payment caption is the regular payment the loan starts with
  const ExtraSchedule* schedule = nullptr;
  std::vector<YearTotals> years;
  FormatSettings format = FormatSettings::Current();
  QDate firstDueDate;
  PaymentFrequency frequency = PaymentFrequency::Monthly;
};

// The column headings of the two tables, cells separated by bars.
QString ExtraScheduleColumnHeading();
QString YearlyTotalsColumnHeading();

// BeginDoc .. EndDoc of the whole document on a printer set up with
// ApplySchedulePrinterSettings. The table format is widened to six columns of
// the same total width for the document only; the printer's OnNewPage handler
// and table format are restored afterwards, and a failure leaves no document open.
void BuildExtraScheduleDocument(TPagePrinter& printer, const ExtraScheduleDocument& document);
