// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "main.h"

#include <QAbstractButton>
#include <QScopeGuard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTimer>
#include <QFrame>
#include <limits>

#include "Application.h"
#include "Dialogs.h"
#include "Errors.h"
#include "FormLoading.h"
#include "PagePrnt.h"
#include "PrintChoice.h"
#include "ScheduleDocument.h"
#include "ScheduleMenu.h"
#include "ScheduleGrid.h"
#include "QVXFlashLabel.h"
#include "ui_main.h"

LoanState& CalculationState() {
  static LoanState state;
  return state;
}

namespace {
// Paints the grid's top-left corner as the heading of the row-number column.
class CornerHeadingPainter : public QObject {
 public:
  CornerHeadingPainter(QAbstractButton* corner, QString text)
      : QObject(corner), corner_(corner), text_(std::move(text)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != corner_ || event->type() != QEvent::Paint) return false;
    QStyleOptionHeader option;
    option.initFrom(corner_);
    option.rect = corner_->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = text_;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    // The corner button is disabled so it cannot select the table; its heading
    // is still drawn like the other headings, not greyed.
    option.state |= QStyle::State_Raised | QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(corner_->isActiveWindow() ? QPalette::Active : QPalette::Inactive);
    QStylePainter painter(corner_);
    painter.drawControl(QStyle::CE_Header, option);
    return true;
  }

 private:
  QAbstractButton* corner_;
  QString text_;
};
}  // namespace

static void InitAppResources() { Q_INIT_RESOURCE(resources); }

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
  // The artwork lives in a static library; make sure its resources are registered.
  InitAppResources();
  // "MS Sans Serif" at a character height of 11 pixels (8 points at 96 dpi);
  // the font substitutions map it to an installed sans. Set before the controls
  // exist so their partial fonts (the bold summary values) resolve against it.
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  {
    FormLoading loading;
    ui_ = std::make_unique<Ui::TMainForm>();
    ui_->setupUi(this);
    loading.Finish();
  }
  GroupBox1 = ui_->GroupBox1;
  Label1 = ui_->Label1;
  Label2 = ui_->Label2;
  Label3 = ui_->Label3;
  GroupBox2 = ui_->GroupBox2;
  rbtnMonthly = ui_->rbtnMonthly;
  rbtnWeekly = ui_->rbtnWeekly;
  Panel1 = ui_->Panel1;
  flblCalculate = ui_->flblCalculate;
  flblPrint = ui_->flblPrint;
  flblHelp = ui_->flblHelp;
  flblAbout = ui_->flblAbout;
  txtAmount = ui_->txtAmount;
  txtInterest = ui_->txtInterest;
  txtPayments = ui_->txtPayments;
  Panel2 = ui_->Panel2;
  grdAmort = ui_->grdAmort;
  GroupBox3 = ui_->GroupBox3;
  Label4 = ui_->Label4;
  Label6 = ui_->Label6;
  Label7 = ui_->Label7;
  lblPayment = ui_->lblPayment;
  lblInterest = ui_->lblInterest;
  lblPrincipal = ui_->lblPrincipal;
  flblExit = ui_->flblExit;
  Image1 = ui_->Image1;
  Bevel1 = ui_->Bevel1;
  Bevel2 = ui_->Bevel2;
  Label5 = ui_->Label5;
  lblTotalAmt = ui_->lblTotalAmt;
  PgPrint = ui_->PgPrint;
  // The captions size themselves to their text, as labels do by default.
  for (QLabel* caption : {Label1, Label2, Label3, Label4, Label5, Label6, Label7}) caption->adjustSize();
  // The bevels draw one line along their top edge.
  for (QFrame* bevel : {Bevel1, Bevel2}) bevel->setFrameRect(QRect(0, 0, bevel->width(), 2));
  for (QLabel* value : {lblPayment, lblInterest, lblPrincipal, lblTotalAmt}) {
    QPalette palette = value->palette();
    palette.setColor(QPalette::WindowText, ToQColor(clRed));
    value->setPalette(palette);
  }
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(605, 350);
  LoadArtwork();

  model_ = new ScheduleModel(this);
  SetupGrid();

  flblCalculate->SetOnClick([this](QObject* s) { Application::Run([&] { flblCalculateClick(s); }); });
  flblPrint->SetOnClick([this](QObject* s) { Application::Run([&] { flblPrintClick(s); }); });
  flblHelp->SetOnClick([this](QObject* s) { Application::Run([&] { flblHelpClick(s); }); });
  flblAbout->SetOnClick([this](QObject* s) { Application::Run([&] { flblAboutClick(s); }); });
  flblExit->SetOnClick([this](QObject* s) { Application::Run([&] { flblExitClick(s); }); });

  for (QLineEdit* box : {txtAmount, txtInterest, txtPayments}) {
    box->installEventFilter(this);
    // The boxes take free text of any length; Qt would cut it at 32,767 characters.
    box->setMaxLength(std::numeric_limits<int>::max());
  }
  connect(txtAmount, &QLineEdit::textChanged, this, [this] { txtAmountChange(txtAmount); });
  connect(rbtnMonthly, &QRadioButton::toggled, this, [this] { UpdateRadioTabStops(); });
  UpdateRadioTabStops();
  PgPrint->hide();
  PgPrint->SetOnNewPage([this](QObject* s) { PgPrintNewPage(s); });

  InstallCommandKeys();
  DescribeForAssistiveTechnology();

  FormCreate();
  scheduleMenu_ = new ScheduleMenu(this);
  txtAmount->setFocus();
}

TMainForm::~TMainForm() = default;

void TMainForm::SetCompanionWindows(QDialog* aboutBox, QDialog* helpWindow) {
  aboutBox_ = aboutBox;
  helpWindow_ = helpWindow;
}

void TMainForm::SetupGrid() {
  grdAmort->setModel(model_);
  grdAmort->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdAmort->setSelectionMode(QAbstractItemView::SingleSelection);
  grdAmort->setSelectionBehavior(QAbstractItemView::SelectItems);
  grdAmort->setShowGrid(true);
  grdAmort->setWordWrap(false);
  grdAmort->setTabKeyNavigation(false);
  grdAmort->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grdAmort->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grdAmort->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  grdAmort->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  grdAmort->setFocusPolicy(Qt::StrongFocus);

  // The row-number column is the vertical header: it stays in view while the
  // money columns scroll sideways. Fixed sizes keep a million rows cheap.
  QHeaderView* rows = grdAmort->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(16);
  rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  rows->setHighlightSections(false);
  rows->setSectionsClickable(false);

  QHeaderView* columns = grdAmort->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setMinimumSectionSize(1);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->setHighlightSections(false);
  columns->setSectionsClickable(false);
  columns->setStretchLastSection(false);
  columns->setFixedHeight(17);

  grdAmort->setCornerButtonEnabled(false);
  if (auto* corner = grdAmort->findChild<QAbstractButton*>())
    corner->installEventFilter(new CornerHeadingPainter(corner, ScheduleText::kHeadings[0]));
  static_cast<TScheduleGrid*>(grdAmort)->SetCornerHeading(ScheduleText::kHeadings[0]);
}

void TMainForm::FormCreate() {
  // Column 0 is the vertical header; the money columns share the rest.
  grdAmort->verticalHeader()->setFixedWidth(30);
  const int moneyWidth = (grdAmort->width() - 40) / 4;
  for (int c = 0; c < 4; ++c) grdAmort->setColumnWidth(c, moneyWidth);
  // Headings come from the model; two grid rows: the heading and one empty row.
  model_->Clear();
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    if (QScreen* screen = this->screen()) {
      const QRect area = screen->availableGeometry();
      const QSize frame = frameGeometry().size();
      move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
    }
  }
}

void TMainForm::UpdateRadioTabStops() {
  // Tab reaches only the checked button of the group, like a dialog's radio group.
  rbtnMonthly->setFocusPolicy(rbtnMonthly->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  rbtnWeekly->setFocusPolicy(rbtnWeekly->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

// ---- Commands of the command bar ----

void TMainForm::flblExitClick(QObject*) { Application::Terminate(); }

void TMainForm::flblHelpClick(QObject*) {
  if (helpWindow_) helpWindow_->exec();
}

void TMainForm::flblAboutClick(QObject*) {
  if (aboutBox_) aboutBox_->exec();
}

// ---- The edit boxes ----

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box && (box == txtAmount || box == txtInterest || box == txtPayments)) {
    switch (event->type()) {
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) break;
        QChar ch(13);
        if (box == txtAmount)
          txtAmountKeyPress(box, ch);
        else if (box == txtInterest)
          txtInterestKeyPress(box, ch);
        else
          txtPaymentsKeyPress(box, ch);
        if (ch.isNull()) return true;  // the box never sees the Enter
        break;
      }
      case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The focus only coming back after another window or a popup menu had
        // it is no entry into the box: its text and selection stay as they were.
        if ((reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) && focusKeptAway_ == box) {
          focusKeptAway_ = nullptr;
          break;
        }
        focusKeptAway_ = nullptr;
        const bool byMouse = reason == Qt::MouseFocusReason;
        // Let the box take the focus first, then select over whatever it did.
        box->event(event);
        if (box == txtAmount)
          txtAmountEnter(box);
        else if (box == txtInterest)
          txtInterestEnter(box);
        else
          txtPaymentsEnter(box);
        // The click that gave the focus would place the caret; select again after it.
        selectOnRelease_ = byMouse ? box : nullptr;
        return true;
      }
      case QEvent::MouseButtonRelease:
        if (selectOnRelease_ == box) {
          selectOnRelease_ = nullptr;
          box->event(event);
          SelectWholeText(box);
          return true;
        }
        break;
      case QEvent::FocusOut: {
        if (selectOnRelease_ == box) selectOnRelease_ = nullptr;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        focusKeptAway_ = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ? box : nullptr;
        break;
      }
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMainForm::txtAmountKeyPress(QObject*, QChar& Key) {
  if (Key.unicode() == 13) {
    focusNextChild();
    Key = QChar();
  }
}

void TMainForm::txtInterestKeyPress(QObject*, QChar& Key) {
  if (Key.unicode() == 13) {
    focusNextChild();
    Key = QChar();
  }
}

void TMainForm::txtPaymentsKeyPress(QObject*, QChar& Key) {
  if (Key.unicode() == 13) {
    txtAmount->setFocus(Qt::TabFocusReason);
    Key = QChar();
  }
}

void TMainForm::txtAmountChange(QObject*) {
  model_->Clear();
  for (QLabel* label : {lblPayment, lblInterest, lblPrincipal, lblTotalAmt}) label->setText(QStringLiteral("0.00"));
}

void TMainForm::SelectWholeText(QLineEdit* box) { box->setSelection(0, int(box->text().length())); }

void TMainForm::txtAmountEnter(QObject*) { SelectWholeText(txtAmount); }
void TMainForm::txtInterestEnter(QObject*) { SelectWholeText(txtInterest); }
void TMainForm::txtPaymentsEnter(QObject*) { SelectWholeText(txtPayments); }

// ---- Checking and calculating ----

LoanInputTexts TMainForm::InputTexts() const {
  LoanInputTexts texts;
  texts.amount = txtAmount->text();
  texts.interest = txtInterest->text();
  texts.payments = txtPayments->text();
  texts.frequency = rbtnMonthly->isChecked() ? PaymentFrequency::Monthly : PaymentFrequency::Weekly;
  return texts;
}

QLineEdit* TMainForm::Box(LoanField field) const {
  switch (field) {
    case LoanField::Amount: return txtAmount;
    case LoanField::Interest: return txtInterest;
    case LoanField::Payments: break;
  }
  return txtPayments;
}

bool TMainForm::InputsPass() {
  const std::optional<LoanField> failing = CheckInputs(InputTexts());
  if (!failing) return true;
  TheDialogs().MessageBeep(1);
  TheDialogs().ShowMessage(Application::Title(), InputErrorMessage(*failing));
  // The box is entered anew even when it had the focus before the message,
  // so its whole text is selected; while this window is still inactive the
  // entry happens when it becomes active again.
  QLineEdit* box = Box(*failing);
  focusKeptAway_ = nullptr;
  box->setFocus(Qt::OtherFocusReason);
  if (box->hasFocus()) SelectWholeText(box);
  return false;
}

void TMainForm::flblCalculateClick(QObject*) {
  if (PrintRunning()) return;
  if (!InputsPass()) return;
  Calculate();
}

void TMainForm::Calculate() {
  ReadInputsAndComputePayment(InputTexts(), CalculationState());
  FillGrid();
}

void TMainForm::FillGrid() {
  // The whole schedule is computed before anything is shown, so an overflow in
  // an extreme case leaves the previous table and labels intact.
  ShowSchedule(BuildSchedule(CalculationState()));
}

void TMainForm::ShowSchedule(Schedule schedule) {
  lblPayment->setText(FormatMoney(schedule.paymentAmount));
  lblInterest->setText(FormatMoney(schedule.totalInterest));
  lblPrincipal->setText(FormatMoney(schedule.totalPrincipal));
  lblTotalAmt->setText(FormatMoney(schedule.totalPaid));
  model_->SetSchedule(std::move(schedule));
}

// ---- Printing ----

bool TMainForm::PrintRunning() const { return printRunning_ || PgPrint->PrintRunning(); }

// The printout is written from plain data: a snapshot of what the window shows,
// taken when a document command starts (the rate as typed, the summary texts,
// the frequency, the first due date, the table's schedule).
ScheduleDocument TMainForm::PrintSnapshot(const QDate& firstDueDate) const {
  const PaymentFrequency frequency = rbtnWeekly->isChecked() ? PaymentFrequency::Weekly : PaymentFrequency::Monthly;
  ScheduleDocument document;
  document.loan = LoanLineParts{CalculationState().LoanAmount, txtInterest->text(), lblPayment->text(), frequency};
  document.rows.schedule = model_->Blank() ? nullptr : &model_->CurrentSchedule();
  document.rows.firstDueDate = firstDueDate;
  document.rows.frequency = frequency;
  document.totals = ScheduleTotalsText{lblTotalAmt->text(), lblPrincipal->text(), lblInterest->text()};
  return document;
}

// Outside a document command (a caller's own BeginDoc) the handlers write what
// the window shows at that moment.
ScheduleDocument TMainForm::CurrentPrintDocument() const {
  return printDocument_ ? *printDocument_ : PrintSnapshot(QDate());
}

void TMainForm::PgPrintNewPage(QObject*) {
  const ScheduleDocument document = CurrentPrintDocument();
  WriteScheduleHeading(*PgPrint, document.loan, document.rows.format);
}

void TMainForm::PrintLoanDetail() { WriteLoanDetail(*PgPrint, CurrentPrintDocument().totals); }

void TMainForm::BuildPrintDocument(const QDate& start) {
  printDocument_ = PrintSnapshot(start);
  const auto forget = qScopeGuard([this] { printDocument_.reset(); });
  BuildScheduleDocument(*PgPrint, *printDocument_,
                        ScheduleDocumentWriters{[this] { PgPrintNewPage(PgPrint); }, [this] { PrintLoanDetail(); }});
}

void TMainForm::flblPrintClick(QObject*) {
  RunDocumentCommand([this](const QDate& start) {
    // The printer's queue is looked up in the background and the document is
    // laid out on its page set-up: wait for it here (a Cancel ends it quietly).
    if (!WaitForPrintPrinter(*PgPrint)) return;
    // A set-up chosen in Print Setup: its printer, copies and pages.
    ChoiceInEffect choice(*PgPrint);
    BuildPrintDocument(start);
    QString outside;
    if (!choice.SelectPages(outside)) {
      TheDialogs().ShowMessage(Application::Title(), outside);
      return;
    }
    PgPrint->Print();
  });
}

void TMainForm::RunDocumentCommand(const std::function<void(const QDate& start)>& output) {
  // The command processes window messages (after the date query and while
  // sheets go out); a second Calculate or Print meanwhile would change the
  // table being printed or re-enter the page printer, so both are ignored.
  if (PrintRunning()) return;
  printRunning_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{printRunning_};

  if (!InputsPass()) return;
  if (GridRowCount() < 3) Calculate();

  QString text;
  if (!TheDialogs().InputQuery(QStringLiteral("Starting Date"), QStringLiteral("Enter payment starting date:"), text))
    return;
  if (text.isEmpty()) return;
  QDate start;
  if (!TryStrToDate(text, start)) {
    TheDialogs().ShowMessage(Application::Title(), QStringLiteral(" Invalid starting date! Printing canceled."));
    return;
  }
  Application::ProcessMessages();
  output(start);
}
