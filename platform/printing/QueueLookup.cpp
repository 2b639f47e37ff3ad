// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "QueueLookup.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <mutex>
#include <thread>

#include "Application.h"

namespace cups {

namespace {

using Clock = std::chrono::steady_clock;

// How long the first question to the print server may take.
constexpr int kServerDeadlineMs = 3000;
// A wait this short passes without a window.
constexpr auto kQuietWait = std::chrono::milliseconds(300);

// A worker may come back from the print server after the application object
// is gone (the program ended during a lookup), and a QPrinter made then ends
// the process. The application's end is noted under this lock, which the
// worker holds while it makes the page set-up.
std::timed_mutex applicationLock;
bool applicationAlive = false;

void NoteApplicationEnd() {
  // A worker stuck in the server's questions must not hold the program's end up for long.
  const bool locked = applicationLock.try_lock_for(std::chrono::seconds(1));
  applicationAlive = false;
  if (locked) applicationLock.unlock();
}

// Called on the GUI thread before each lookup, so that a later application object is followed too.
void FollowApplication() {
  const std::lock_guard<std::timed_mutex> lock(applicationLock);
  if (applicationAlive || !QCoreApplication::instance()) return;
  applicationAlive = true;
  qAddPostRoutine(NoteApplicationEnd);
}

std::shared_ptr<QPrinter> MakeSetup(const QString& queueName, const QPageSize& paper) {
  if (!applicationAlive) return nullptr;
  const QPrinterInfo queue = QPrinterInfo::printerInfo(queueName);
  const std::lock_guard<std::timed_mutex> lock(applicationLock);
  if (queue.isNull() || !applicationAlive) return nullptr;
  auto printer = std::make_shared<QPrinter>(queue, QPrinter::HighResolution);
  printer->setFullPage(false);
  if (paper.isValid()) printer->setPageSize(paper);
  return printer;
}

}  // namespace

// Shared with the worker, which may outlive the lookup (a server that stopped
// answering in the middle of Qt's questions).
struct QueueLookup::State {
  Clock::time_point started = Clock::now();
  mutable std::mutex mutex;
  bool done = false;
  QueueAnswer answer;
};

QueueLookup::QueueLookup(Destination wanted, const QPageSize& paper) : wanted_(std::move(wanted)), paper_(paper) {}

QueueLookup::~QueueLookup() = default;

void QueueLookup::Start() {
  if (state_ && !Finished()) return;
  auto state = std::make_shared<State>();
  FollowApplication();
  std::thread([state, wanted = wanted_, paper = paper_] {
    QueueAnswer answer;
    if (wanted.queue.isEmpty()) {
      answer.lookup = FindDefault(answer.destination, kServerDeadlineMs);
    } else {
      answer.destination = wanted;
      answer.lookup = FindNamed(wanted, kServerDeadlineMs, answer.reason);
    }
    if (answer.lookup == Lookup::Found) {
      // The server has just answered: Qt may ask it for the queue's page set-up.
      answer.setup = MakeSetup(answer.destination.queue, paper);
    }
    const std::lock_guard<std::mutex> lock(state->mutex);
    state->answer = std::move(answer);
    state->done = true;
  }).detach();
  state_ = std::move(state);
}

bool QueueLookup::Started() const { return state_ != nullptr; }

bool QueueLookup::Finished() const {
  if (!state_) return false;
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->done || Clock::now() - state_->started > kDeadline;
}

void QueueLookup::Block() {
  if (!state_) Start();
  while (!Finished()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

QueueAnswer QueueLookup::Answer() const {
  QueueAnswer answer;
  if (!state_) return answer;
  const std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->done) return state_->answer;
  // Past its deadline: the server counts as not answering.
  answer.lookup = Lookup::NoAnswer;
  answer.destination = wanted_;
  return answer;
}

bool QueueLookup::Wait(QWidget* parent) {
  if (!state_) Start();
  const auto since = Clock::now();
  std::unique_ptr<QProgressDialog> window;
  while (!Finished()) {
    if (!window && Clock::now() - since >= kQuietWait) {
      window = std::make_unique<QProgressDialog>(QStringLiteral("Waiting for the print server..."),
                                                 QStringLiteral("Cancel"), 0, 0, parent);
      window->setWindowTitle(Application::Title());
      window->setWindowModality(Qt::ApplicationModal);
      window->setMinimumDuration(0);
      window->setAutoClose(false);
      window->setAutoReset(false);
      window->show();
    }
    if (window && window->wasCanceled()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace cups
