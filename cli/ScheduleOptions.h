// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The companion's command line, read with QCommandLineParser: the options, the
// three numbers, and the checks of which options need which.
#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "Conversions.h"
#include "ExtraPayments.h"

struct ScheduleOptions {
  bool weekly = false;
  bool help = false;
  bool version = false;
  QString start, pdf, text, csv;
  std::optional<QString> footer;  // the window's footer unless given
  bool print = false;             // --print: to CUPS
  QString queue;                  // its queue ("queue/instance"); empty: the default queue
  int copies = 1;                 // --copies
  // --paper; unset: the locale's for the files, the queue's own for --print
  std::optional<QPageSize::PageSizeId> paper;
  QStringList positional;        // AMOUNT RATE PAYMENTS
  std::optional<QString> extra;  // AMOUNT[@N]
  QStringList lumps;             // N:AMOUNT each
  bool keepTerm = false;
  bool yearly = false;
  // Any of --extra, --lump, --keep-term, --yearly: the schedule with extras is shown.
  bool WithExtras() const { return extra || !lumps.isEmpty() || keepTerm || yearly; }
};

// Reads the arguments as the program got them (file names keep their bytes);
// false with `error` set for a usage error.
bool ParseScheduleOptions(const QList<QByteArray>& raw, ScheduleOptions& options, QString& error);

// The extras of the command line as a plan; false with `error` naming the field
// for an amount or payment number that cannot be read. Their range is checked
// with the loan (CheckExtraPlan).
bool ReadExtraPlan(const ScheduleOptions& options, ExtraPlan& plan, QString& error,
                   const FormatSettings& fs = FormatSettings::Current());
