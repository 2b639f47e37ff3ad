// Printing: the component makes copies and collation itself, shows a modeless
// progress dialog and notices a cancel between sheets.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <climits>
#include <exception>

#include "Application.h"
#include "PagePrnt.h"
#include "PagePrntPrivate.h"
#include "PgPrnPrg.h"

namespace {

const QString kFinish = QStringLiteral("<FINISH>");
// The progress form's layout is in pixels at this resolution.
constexpr int kFormPixelsPerInch = 96;

// Clears the run flag on every way out of Print.
class RunGuard {
 public:
  explicit RunGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunGuard() { flag_ = false; }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool TPagePrinter::Print() {
  // Print processes window messages between sheets; a second Print started from
  // there would replay (or free) the very pages being sent.
  if (d_->printingPages_) return false;

  bool result = true;
  if (Printing()) EndDoc();
  const int count = PageCount();
  if (count == 0) return true;

  const uint32_t pages = uint32_t(count);
  const int first = d_->fromPage_ == 0 ? 1 : int(std::min(d_->fromPage_, pages));
  const int last = d_->toPage_ == 0 ? count : int(std::min(d_->toPage_, pages));
  // The loop bounds are fixed when the run starts, as the user may change
  // Copies or Collate while the dialog is up.
  const uint32_t copies = std::max<uint32_t>(d_->copies_, 1);
  const bool collate = d_->collate_;

  RunGuard running(d_->printingPages_);
  d_->runCopies_ = copies;
  const int savedCopies = d_->printer_->Copies();
  d_->printer_->SetCopies(1);
  d_->cancelFlag_ = false;
  d_->newPagePending_ = false;

  bool cancelled = false;
  bool jobStarted = false;
  std::exception_ptr failure;
  try {
    d_->printer_->BeginDoc();
    jobStarted = true;
    if (collate) {
      for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo)
        for (int p = first; p <= last; ++p) PrintPage(p, first, last, p == last && copyNo == copies);
    } else {
      for (int p = first; p <= last; ++p)
        for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo)
          PrintPage(p, first, last, p == last && copyNo == copies);
    }
    d_->printer_->EndDoc();
  } catch (const ECancelPrinting&) {
    cancelled = true;
  } catch (...) {
    failure = std::current_exception();
  }

  // Cleanup, in every case: the dialog goes; the copy count comes back only
  // when no job is open any more (so a cancelled run leaves it at 1).
  UpdateProgress(kFinish, 0, 0, 0);
  if (!d_->printer_->Printing()) d_->printer_->SetCopies(savedCopies);

  if (cancelled) {
    result = false;
    if (d_->printer_->Printing()) {
      // A cancel before the first sheet leaves a job without pages; ending it
      // normally could still feed a blank sheet, so it is discarded instead.
      // (A sheet has been drawn exactly when its page end is still pending.)
      const bool sheetDrawn = d_->newPagePending_;
      if (d_->abortOnCancel_ || !sheetDrawn)
        d_->printer_->Abort();
      else
        d_->printer_->EndDoc();
    }
  }
  if (failure) {
    // A job left open would block every later print with "already printing":
    // discard it, then report the original error. A job that this run did not
    // start (BeginDoc refused because someone else's is open) is not ours to discard.
    if (jobStarted && d_->printer_->Printing()) {
      try {
        d_->printer_->Abort();
      } catch (...) {
      }
    }
    std::rethrow_exception(failure);
  }
  return result;
}

void TPagePrinter::ProgressCancelClick() { d_->cancelFlag_ = true; }

void TPagePrinter::PrintPage(int pageNo, int first, int last, bool isLastSheet) {
  // Only with a Cancel button to press is it worth letting messages through.
  if (d_->showProgress_ && d_->showCancel_) Application::ProcessMessages();
  if (d_->cancelFlag_) throw ECancelPrinting();
  // The previous sheet is ended only now that another one follows: a cancel
  // noticed above then ends the job after the last drawn sheet, instead of
  // after a blank sheet that the printer would still feed.
  if (d_->newPagePending_) {
    d_->newPagePending_ = false;
    d_->printer_->NewPage();
  }
  UpdateProgress(d_->progressMessage_, pageNo, first, last);
  d_->printer_->Canvas()->Draw(0, 0, *Pages(pageNo));
  d_->newPagePending_ = !isLastSheet;
}

void TPagePrinter::UpdateProgress(const QString& msg, int pageNo, int first, int last) {
  if (d_->showProgress_ && msg != kFinish) {
    if (!d_->progressDialog_) {
      // Owned by the application, not by this control: no parent; freed at the end of the run.
      d_->progressDialog_ = new TPPPrnPrgDlg(nullptr);
      QObject::connect(d_->progressDialog_->btnCancel, &QPushButton::clicked, this,
                       [this] { ProgressCancelClick(); });
      if (!d_->showCancel_) {
        d_->progressDialog_->btnCancel->setEnabled(false);
        d_->progressDialog_->btnCancel->hide();
        // Cut off the button strip: 98 pixels at the form's resolution, which is
        // the 96 pixels per inch its layout is stored in (it is not rescaled).
        const int height = kFormPixelsPerInch * 98 / 96;
        d_->progressDialog_->setFixedSize(d_->progressDialog_->width(), height);
        d_->progressDialog_->CenterOnScreen();
      }
    }
    TPPPrnPrgDlg* dialog = d_->progressDialog_;
    dialog->show();
    dialog->raise();
    dialog->setWindowTitle(Title());
    dialog->lblStatus->setText(msg.isEmpty() ? QStringLiteral("Sending Pages To Printer") : msg);

    // The copies the run is making, even if Copies changed while the dialog was up.
    const uint32_t copies = d_->printingPages_ ? d_->runCopies_ : d_->copies_;
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
  } else if (d_->progressDialog_) {
    TPPPrnPrgDlg* dialog = d_->progressDialog_;
    d_->progressDialog_ = nullptr;
    if (dialog->isVisible()) dialog->close();
    delete dialog;
  }
}

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
