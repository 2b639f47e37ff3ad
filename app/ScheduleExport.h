// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Taking the schedule out of the window: clipboard contents, files written
// safely, and the printed document rendered to PDF without a printer.
#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <functional>
#include <memory>

#include "LocalePaper.h"
#include "SafeSave.h"

class QMimeData;
class ScheduleModel;
class TPrinter;

// The table as it shows: the heading row and every schedule row, cells
// separated by tabs, each row ending in a line feed.
QString ScheduleClipboardText(const ScheduleModel& model);
// The same cells as an HTML table, for rich paste.
QString ScheduleClipboardHtml(const ScheduleModel& model);
// Both, ready for the clipboard (the caller takes ownership).
QMimeData* ScheduleMimeData(const ScheduleModel& model);

// Hands `print` a PDF printer on the sheet; it lays out and prints the document
// through a page printer made on that printer (and returns the page printer's
// Print result: false after a cancel). The PDF is then saved with
// SaveFileSafely. A cancel or a failure leaves the target untouched and raises
// an error naming the file.
void SaveSchedulePdf(const QString& fileName, QPageSize::PageSizeId sheet,
                     const std::function<bool(std::shared_ptr<TPrinter> pdf)>& print);
