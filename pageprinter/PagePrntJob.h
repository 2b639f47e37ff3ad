// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The print-job driver behind TPagePrinter::Print: copies and collation, the
// progress dialog, cancel, and the per-sheet send loop. The component owns one
// and hands it its settings through its public accessors.
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

class TPagePrinter;
class TPPPrnPrgDlg;
class TPrinter;

class TPrintJob {
 public:
  using Clock = std::function<std::chrono::nanoseconds()>;
  using MessagePump = std::function<void()>;
  // While sheets are sent with a Cancel button up, window messages are
  // processed before every sheet and, within a sheet, whenever this much time
  // has passed since they last were: a slow sheet keeps the dialog live.
  static constexpr std::chrono::milliseconds kMessageInterval{50};

  explicit TPrintJob(TPagePrinter& owner);
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // Sends the component's pages; false when the user cancelled.
  bool Run();
  // Notes a cancel; the run notices it before the next sheet.
  void Cancel() {
    cancelFlag_ = true;
    if (handingOver_) printer()->CancelHandOver();
  }
  bool Running() const { return running_; }
  TPPPrnPrgDlg* Dialog() const { return dialog_; }

  // Creates, updates or (with "<FINISH>") closes the progress dialog.
  void UpdateProgress(const QString& msg, int pageNo, int first, int last);
  // One sheet: messages, cancel check, progress, the page drawn.
  void PrintPage(int pageNo, int first, int last, bool isLastSheet);

  // Seams for measuring responsiveness: the time source and what processes
  // window messages (the steady clock and the application's by default).
  void SetClock(Clock clock);
  void SetMessagePump(MessagePump pump);

 private:
  bool ProcessesMessages() const;
  void ProcessMessages();
  // Processes messages when the interval has passed since they last were.
  void KeepResponsive();

  // The component's printer; it cannot change while a run is sending sheets.
  TPrinter* printer() const;

  TPagePrinter& owner_;
  Clock clock_;
  MessagePump pump_;
  std::chrono::nanoseconds lastMessages_{0};
  bool cancelFlag_ = false;
  bool handingOver_ = false;  // EndDoc is handing the job over
  TPPPrnPrgDlg* dialog_ = nullptr;
  bool running_ = false;         // Run is sending sheets (re-entry guard)
  bool newPagePending_ = false;  // a drawn sheet waits for the next one to end it
  uint32_t runCopies_ = 1;       // Copies as read when the run started
};
