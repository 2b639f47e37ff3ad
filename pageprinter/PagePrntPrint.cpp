// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Printing: the component makes copies and collation itself, shows a modeless
// progress dialog and notices a cancel between sheets.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <algorithm>
#include <climits>
#include <exception>

#include "Application.h"
#include "PagePrnt.h"
#include "PagePrntJob.h"
#include "PagePrntPrivate.h"
#include "PgPrnPrg.h"

namespace {

const QString kFinish = QStringLiteral("<FINISH>");
// The progress form's layout is in pixels at this resolution.
constexpr int kFormPixelsPerInch = 96;

std::chrono::nanoseconds SteadyNow() { return std::chrono::steady_clock::now().time_since_epoch(); }

}  // namespace

TPrintJob::TPrintJob(TPagePrinter& owner)
    : owner_(owner), clock_(SteadyNow), pump_([] { Application::ProcessMessages(); }) {}

TPrintJob::~TPrintJob() { delete dialog_; }

TPrinter* TPrintJob::printer() const { return owner_.Printer(); }

void TPrintJob::SetClock(Clock clock) { clock_ = clock ? std::move(clock) : Clock(SteadyNow); }

void TPrintJob::SetMessagePump(MessagePump pump) {
  pump_ = pump ? std::move(pump) : MessagePump([] { Application::ProcessMessages(); });
}

// Only with a Cancel button to press is it worth letting messages through.
bool TPrintJob::ProcessesMessages() const { return owner_.ShowProgress() && owner_.ShowCancel(); }

void TPrintJob::ProcessMessages() {
  pump_();
  lastMessages_ = clock_();
}

void TPrintJob::KeepResponsive() {
  if (ProcessesMessages() && clock_() - lastMessages_ >= kMessageInterval) ProcessMessages();
}

bool TPrintJob::Run() {
  // Print processes window messages between sheets; a second Print started from
  // there would replay (or free) the very pages being sent.
  if (running_) return false;

  bool result = true;
  if (owner_.Printing()) owner_.EndDoc();
  const int count = owner_.PageCount();
  if (count == 0) return true;

  const uint32_t pages = uint32_t(count);
  const int first = owner_.FromPage() == 0 ? 1 : int(std::min(owner_.FromPage(), pages));
  const int last = owner_.ToPage() == 0 ? count : int(std::min(owner_.ToPage(), pages));
  // The loop bounds are fixed when the run starts, as the user may change
  // Copies or Collate while the dialog is up.
  const uint32_t copies = std::max<uint32_t>(owner_.Copies(), 1);
  const bool collate = owner_.Collate();

  running_ = true;
  const auto notRunning = qScopeGuard([this] { running_ = false; });
  runCopies_ = copies;
  const int savedCopies = printer()->Copies();
  printer()->SetCopies(1);
  cancelFlag_ = false;
  newPagePending_ = false;
  lastMessages_ = clock_();

  bool cancelled = false;
  bool jobStarted = false;
  std::exception_ptr failure;
  try {
    // The printer may still be looking its queue up: a cancel there is the user's too.
    if (!printer()->WaitUntilReady()) throw ECancelPrinting();
    printer()->BeginDoc();
    jobStarted = true;
    if (collate) {
      for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo)
        for (int p = first; p <= last; ++p) PrintPage(p, first, last, p == last && copyNo == copies);
    } else {
      for (int p = first; p <= last; ++p)
        for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo) PrintPage(p, first, last, p == last && copyNo == copies);
    }
    // The hand-over keeps the windows responsive: a Cancel meanwhile withdraws the job.
    handingOver_ = true;
    const auto handedOver = qScopeGuard([this] { handingOver_ = false; });
    printer()->EndDoc();
    if (printer()->HandOverCancelled()) throw ECancelPrinting();
  } catch (const ECancelPrinting&) {
    cancelled = true;
  } catch (...) {
    failure = std::current_exception();
  }

  // Cleanup, in every case: the dialog goes; the copy count comes back only
  // when no job is open any more (so a cancelled run leaves it at 1).
  UpdateProgress(kFinish, 0, 0, 0);
  if (!printer()->Printing()) printer()->SetCopies(savedCopies);

  if (cancelled) {
    result = false;
    if (printer()->Printing()) {
      // A cancel before the first sheet leaves a job without pages; ending it
      // normally could still feed a blank sheet, so it is discarded instead.
      // (A sheet has been drawn exactly when its page end is still pending.)
      const bool sheetDrawn = newPagePending_;
      if (owner_.AbortOnCancel() || !sheetDrawn)
        printer()->Abort();
      else
        printer()->EndDoc();
    }
  }
  if (failure) {
    // A job left open would block every later print with "already printing":
    // discard it, then report the original error. A job that this run did not
    // start (BeginDoc refused because someone else's is open) is not ours to discard.
    if (jobStarted && printer()->Printing()) {
      try {
        printer()->Abort();
      } catch (...) {
      }
    }
    std::rethrow_exception(failure);
  }
  return result;
}

void TPrintJob::PrintPage(int pageNo, int first, int last, bool isLastSheet) {
  if (ProcessesMessages()) ProcessMessages();
  if (cancelFlag_) throw ECancelPrinting();
  // The previous sheet is ended only now that another one follows: a cancel
  // noticed above then ends the job after the last drawn sheet, instead of
  // after a blank sheet that the printer would still feed.
  if (newPagePending_) {
    newPagePending_ = false;
    printer()->NewPage();
    KeepResponsive();
  }
  UpdateProgress(owner_.ProgressMessage(), pageNo, first, last);
  printer()->Canvas()->Draw(0, 0, *owner_.Pages(pageNo));
  newPagePending_ = !isLastSheet;
  KeepResponsive();
}

void TPrintJob::UpdateProgress(const QString& msg, int pageNo, int first, int last) {
  if (owner_.ShowProgress() && msg != kFinish) {
    if (!dialog_) {
      // Owned by the application, not by the control: no parent; freed at the end of the run.
      dialog_ = new TPPPrnPrgDlg(nullptr);
      QObject::connect(dialog_->btnCancel, &QPushButton::clicked, &owner_, [this] { owner_.ProgressCancelClick(); });
      if (!owner_.ShowCancel()) {
        dialog_->btnCancel->setEnabled(false);
        dialog_->btnCancel->hide();
        // Cut off the button strip: 98 pixels at the form's resolution, which is
        // the 96 pixels per inch its layout is stored in (it is not rescaled).
        const int height = kFormPixelsPerInch * 98 / 96;
        dialog_->setFixedSize(dialog_->width(), height);
        dialog_->CenterOnScreen();
      }
    }
    TPPPrnPrgDlg* dialog = dialog_;
    dialog->show();
    dialog->raise();
    dialog->setWindowTitle(owner_.Title());
    dialog->lblStatus->setText(msg.isEmpty() ? QStringLiteral("Sending Pages To Printer") : msg);

    // The copies the run is making, even if Copies changed while the dialog was up.
    const uint32_t copies = running_ ? runCopies_ : owner_.Copies();
    const long long sheets = (long long)copies * ((long long)last - first + 1);
    dialog->ProgBar->setMaximum(int(std::clamp<long long>(sheets, 0, INT_MAX)));
    dialog->StepIt();

    QString label = QStringLiteral("Page ") + QString::number(pageNo);
    // The count of pages and copies is shown only for a range that starts at page 1.
    if (first == 1) {
      label += QStringLiteral(" of ") + QString::number(last - first + 1);
      if (copies > 1) label += QStringLiteral(" x ") + QString::number(copies) + QStringLiteral(" Copies");
    }
    dialog->lblPageNumber->setText(label);

    // Messages may not be processed before the next sheet: paint now.
    if (dialog->isVisible()) dialog->repaint();
  } else if (dialog_) {
    TPPPrnPrgDlg* dialog = dialog_;
    dialog_ = nullptr;
    if (dialog->isVisible()) dialog->close();
    delete dialog;
  }
}

// ---- The component's face ----

bool TPagePrinter::Print() { return d_->printJob_->Run(); }

void TPagePrinter::ProgressCancelClick() { d_->printJob_->Cancel(); }

TPPPrnPrgDlg* TPagePrinter::ProgressDialog() const { return d_->printJob_->Dialog(); }

bool TPagePrinter::PrintRunning() const { return d_->printJob_->Running(); }

void TPagePrinter::SetFromPage(uint32_t v) {
  if (v == d_->fromPage_) return;
  d_->fromPage_ = v;
  if (v > d_->toPage_) d_->toPage_ = v;
}

void TPagePrinter::SetToPage(uint32_t v) {
  if (v == d_->toPage_) return;
  d_->toPage_ = v;
  if (v < d_->fromPage_) d_->fromPage_ = v;
}
