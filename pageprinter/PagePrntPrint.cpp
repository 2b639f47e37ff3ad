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
  if (printingPages_) return false;

  bool result = true;
  if (Printing()) EndDoc();
  const int count = PageCount();
  if (count == 0) return true;

  const uint32_t pages = uint32_t(count);
  const int first = fromPage_ == 0 ? 1 : int(std::min(fromPage_, pages));
  const int last = toPage_ == 0 ? count : int(std::min(toPage_, pages));
  // The loop bounds are fixed when the run starts, as the user may change
  // Copies or Collate while the dialog is up.
  const uint32_t copies = std::max<uint32_t>(copies_, 1);
  const bool collate = collate_;

  RunGuard running(printingPages_);
  runCopies_ = copies;
  const int savedCopies = printer_->Copies();
  printer_->SetCopies(1);
  cancelFlag_ = false;
  newPagePending_ = false;

  bool cancelled = false;
  bool jobStarted = false;
  std::exception_ptr failure;
  try {
    printer_->BeginDoc();
    jobStarted = true;
    if (collate) {
      for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo)
        for (int p = first; p <= last; ++p) PrintPage(p, first, last, p == last && copyNo == copies);
    } else {
      for (int p = first; p <= last; ++p)
        for (uint32_t copyNo = 1; copyNo <= copies; ++copyNo)
          PrintPage(p, first, last, p == last && copyNo == copies);
    }
    printer_->EndDoc();
  } catch (const ECancelPrinting&) {
    cancelled = true;
  } catch (...) {
    failure = std::current_exception();
  }

  // Cleanup, in every case: the dialog goes; the copy count comes back only
  // when no job is open any more (so a cancelled run leaves it at 1).
  UpdateProgress(kFinish, 0, 0, 0);
  if (!printer_->Printing()) printer_->SetCopies(savedCopies);

  if (cancelled) {
    result = false;
    if (printer_->Printing()) {
      // A cancel before the first sheet leaves a job without pages; ending it
      // normally could still feed a blank sheet, so it is discarded instead.
      // (A sheet has been drawn exactly when its page end is still pending.)
      const bool sheetDrawn = newPagePending_;
      if (abortOnCancel_ || !sheetDrawn)
        printer_->Abort();
      else
        printer_->EndDoc();
    }
  }
  if (failure) {
    // A job left open would block every later print with "already printing":
    // discard it, then report the original error. A job that this run did not
    // start (BeginDoc refused because someone else's is open) is not ours to discard.
    if (jobStarted && printer_->Printing()) {
      try {
        printer_->Abort();
      } catch (...) {
      }
    }
    std::rethrow_exception(failure);
  }
  return result;
}

void TPagePrinter::ProgressCancelClick() { cancelFlag_ = true; }

void TPagePrinter::PrintPage(int pageNo, int first, int last, bool isLastSheet) {
  // Only with a Cancel button to press is it worth letting messages through.
  if (showProgress_ && showCancel_) Application::ProcessMessages();
  if (cancelFlag_) throw ECancelPrinting();
  // The previous sheet is ended only now that another one follows: a cancel
  // noticed above then ends the job after the last drawn sheet, instead of
  // after a blank sheet that the printer would still feed.
  if (newPagePending_) {
    newPagePending_ = false;
    printer_->NewPage();
  }
  UpdateProgress(progressMessage_, pageNo, first, last);
  printer_->Canvas()->Draw(0, 0, *Pages(pageNo));
  newPagePending_ = !isLastSheet;
}

void TPagePrinter::UpdateProgress(const QString& msg, int pageNo, int first, int last) {
  if (showProgress_ && msg != kFinish) {
    if (!progressDialog_) {
      // Owned by the application, not by this control: no parent; freed at the end of the run.
      progressDialog_ = new TPPPrnPrgDlg(nullptr);
      QObject::connect(progressDialog_->btnCancel, &QPushButton::clicked, this,
                       [this] { ProgressCancelClick(); });
      if (!showCancel_) {
        progressDialog_->btnCancel->setEnabled(false);
        progressDialog_->btnCancel->hide();
        // Cut off the button strip: 98 pixels at the form's resolution, which is
        // the 96 pixels per inch its layout is stored in (it is not rescaled).
        const int height = kFormPixelsPerInch * 98 / 96;
        progressDialog_->setFixedSize(progressDialog_->width(), height);
        progressDialog_->CenterOnScreen();
      }
    }
    TPPPrnPrgDlg* dialog = progressDialog_;
    dialog->show();
    dialog->raise();
    dialog->setWindowTitle(Title());
    dialog->lblStatus->setText(msg.isEmpty() ? QStringLiteral("Sending Pages To Printer") : msg);

    // The copies the run is making, even if Copies changed while the dialog was up.
    const uint32_t copies = printingPages_ ? runCopies_ : copies_;
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
  } else if (progressDialog_) {
    TPPPrnPrgDlg* dialog = progressDialog_;
    progressDialog_ = nullptr;
    if (dialog->isVisible()) dialog->close();
    delete dialog;
  }
}

void TPagePrinter::SetFromPage(uint32_t v) {
  if (v == fromPage_) return;
  fromPage_ = v;
  if (v > toPage_) toPage_ = v;
}

void TPagePrinter::SetToPage(uint32_t v) {
  if (v == toPage_) return;
  toPage_ = v;
  if (v < fromPage_) fromPage_ = v;
}
