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
  QStringList positional;  // AMOUNT RATE PAYMENTS
};

// Reads the arguments as the program got them (file names keep their bytes);
// false with `error` set for a usage error.
bool ParseScheduleOptions(const QList<QByteArray>& raw, ScheduleOptions& options, QString& error);
