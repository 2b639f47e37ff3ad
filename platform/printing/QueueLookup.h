// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Looking a print queue up in the background. Asking the print server, and
// Qt's reading of the queue's page set-up after it (a minute per question on a
// server that answered and then fell silent), never run on the GUI thread:
// the window comes up at once, and only the commands that need the printer
// (Print, Print Setup, the preview) wait for the answer, with Cancel live.
#include <QPageSize>
#include <QString>
#include <chrono>
#include <memory>

#include "CupsSubmission.h"

class QPrinter;
class QWidget;

namespace cups {

// What a lookup found.
struct QueueAnswer {
  Lookup lookup = Lookup::NoDefault;
  Destination destination;
  QString reason;                   // why the server refused a named queue
  std::shared_ptr<QPrinter> setup;  // the queue's page set-up; null without a usable queue
};

class QueueLookup {
 public:
  // wanted: a queue by name, or empty for the default queue; paper: a sheet that
  // replaces the queue's own when valid. Nothing is asked until Start.
  QueueLookup(Destination wanted, const QPageSize& paper);
  ~QueueLookup();
  QueueLookup(const QueueLookup&) = delete;
  QueueLookup& operator=(const QueueLookup&) = delete;

  // Starts a lookup on a worker thread, replacing a finished one; a lookup
  // still running is left to finish.
  void Start();
  bool Started() const;
  // Whether the running lookup has an answer (one past its deadline counts as
  // the server not answering); never waits.
  bool Finished() const;
  // Waits for the answer while window events are processed; after a moment a
  // small window says what is awaited and offers Cancel. False when the user
  // cancelled (the lookup goes on in the background).
  bool Wait(QWidget* parent = nullptr);
  // Waits for the answer without processing events (bounded by the deadline).
  void Block();
  // The answer of a finished lookup.
  QueueAnswer Answer() const;

  // How long an answer may take in all before the server counts as not answering.
  static constexpr std::chrono::milliseconds kDeadline{8000};

 private:
  struct State;
  Destination wanted_;
  QPageSize paper_;
  std::shared_ptr<State> state_;
};

}  // namespace cups
