// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ExtraPaymentsWindow.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <functional>

#include "Application.h"
#include "Dialogs.h"
#include "DueDates.h"
#include "ExtraScheduleDocument.h"
#include "LocalePaper.h"
#include "PagePrnt.h"
#include "SafeSave.h"
#include "ScheduleCsv.h"
#include "ScheduleDocument.h"
#include "ScheduleExport.h"
#include "main.h"

namespace {

const QString kResultCaptions[6] = {QStringLiteral("Number of payments"), QStringLiteral("Payment"),
                                    QStringLiteral("Total interest"),     QStringLiteral("Interest saved"),
                                    QStringLiteral("Total paid"),         QStringLiteral("Payoff date")};

// The new schedule, formatted a cell at a time as the view asks: a million
// rows cost their values only. Payment numbers are the vertical header.
class ExtraScheduleModel : public QAbstractTableModel {
 public:
  ExtraScheduleModel(const ExtraSchedule& schedule, QObject* parent)
      : QAbstractTableModel(parent), schedule_(schedule) {}
  void Replace(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : schedule_.PaymentCount(); }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return QVariant();
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return QVariant();
    const ExtraRow& r = schedule_.rows[size_t(index.row())];
    switch (index.column()) {
      case 0: return FormatMoney(r.payment);
      case 1: return FormatMoney(r.principal);
      case 2: return FormatMoney(r.extra);
      case 3: return FormatMoney(r.interest);
      default: break;
    }
    return index.row() + 1 == schedule_.PaymentCount() ? ScheduleText::kLastBalance : FormatMoney(r.balance);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return QVariant();
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    if (section < 0 || section >= 5) return QVariant();
    return ExtraScheduleText::kHeadings[section + 1].trimmed();
  }

 private:
  const ExtraSchedule& schedule_;
};

class YearTotalsModel : public QAbstractTableModel {
 public:
  YearTotalsModel(const std::vector<YearTotals>& years, QObject* parent) : QAbstractTableModel(parent), years_(years) {}
  void Replace(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(years_.size()); }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 6; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return QVariant();
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return QVariant();
    const YearTotals& y = years_[size_t(index.row())];
    switch (index.column()) {
      case 0: return QString::number(y.year);
      case 1: return QString::number(y.payments);
      case 2: return FormatMoney(y.payment);
      case 3: return FormatMoney(y.principal);
      case 4: return FormatMoney(y.interest);
      default: break;
    }
    return FormatMoney(y.extra);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return QVariant();
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    return section >= 0 && section < 6 ? ExtraScheduleText::kYearHeadings[section] : QVariant();
  }

 private:
  const std::vector<YearTotals>& years_;
};

// The table as tab-separated text; numbered: the payment numbers (the
// vertical header) lead each row, under "#".
QString TableText(const QAbstractItemModel& model, bool numbered) {
  QString text = numbered ? QStringLiteral("#\t") : QString();
  const int columns = model.columnCount();
  for (int c = 0; c < columns; ++c) {
    if (c) text += u'\t';
    text += model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  text += u'\n';
  const int rows = model.rowCount();
  for (int r = 0; r < rows; ++r) {
    if (numbered) text += QString::number(r + 1) + u'\t';
    for (int c = 0; c < columns; ++c) {
      if (c) text += u'\t';
      text += model.data(model.index(r, c), Qt::DisplayRole).toString();
    }
    text += u'\n';
  }
  return text;
}

QLineSeries* AddSeries(QChart* chart, const QString& name, Qt::PenStyle style) {
  auto* series = new QLineSeries(chart);
  series->setName(name);
  QPen pen = series->pen();
  pen.setStyle(style);
  pen.setWidth(2);
  series->setPen(pen);
  chart->addSeries(series);
  return series;
}

QChartView* MakeChart(const QString& title, const QString& xTitle, const QString& yTitle, QWidget* parent) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->legend()->setAlignment(Qt::AlignBottom);
  // The legend draws each line in its own style, so it reads without colour.
  chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  auto* x = new QValueAxis(chart);
  x->setTitleText(xTitle);
  x->setLabelFormat(QStringLiteral("%d"));
  auto* y = new QValueAxis(chart);
  y->setTitleText(yTitle);
  y->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  auto* view = new QChartView(chart, parent);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(320, 220);
  view->setFocusPolicy(Qt::TabFocus);
  return view;
}

void Attach(QChart* chart, QLineSeries* series) {
  for (QAbstractAxis* axis : chart->axes()) series->attachAxis(axis);
}

double MoneyValue(Money m) { return double(m.count) / 10000.0; }

void FitAxes(QChart* chart, double xMax, double yMin, double yMax) {
  const QList<QAbstractAxis*> x = chart->axes(Qt::Horizontal), y = chart->axes(Qt::Vertical);
  if (!x.isEmpty()) static_cast<QValueAxis*>(x[0])->setRange(0, std::max(1.0, xMax));
  if (!y.isEmpty()) static_cast<QValueAxis*>(y[0])->setRange(std::min(0.0, yMin), std::max(1.0, yMax) * 1.05);
}

}  // namespace

std::vector<int> SampleIndexes(int count, int limit) {
  std::vector<int> indexes;
  if (count <= 0) return indexes;
  if (limit < 2) limit = 2;
  const int step = count <= limit ? 1 : (count - 2) / (limit - 2) + 1;
  indexes.reserve(size_t(std::min(count, limit)));
  for (int i = 0; i < count - 1; i += step) indexes.push_back(i);
  indexes.push_back(count - 1);
  return indexes;
}

ExtraPaymentsWindow::ExtraPaymentsWindow(const ExtraPaymentsLoan& loan, TMainForm* form, QWidget* parent)
    : QDialog(parent), form_(form) {
  setWindowTitle(QStringLiteral("Extra Payments"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);
  Build();
  SetLoan(loan);
}

ExtraPaymentsWindow::~ExtraPaymentsWindow() = default;

void ExtraPaymentsWindow::Build() {
  auto* inputs = new QGroupBox(QStringLiteral("Extra payments"), this);
  auto* form = new QFormLayout(inputs);
  loanLine_ = new QLabel(inputs);
  loanLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(QStringLiteral("Loan:"), loanLine_);

  recurring_ = new QLineEdit(QStringLiteral("0"), inputs);
  recurring_->setObjectName(QStringLiteral("recurring"));
  recurringFrom_ = new QLineEdit(QStringLiteral("1"), inputs);
  recurringFrom_->setObjectName(QStringLiteral("recurringFrom"));
  auto* recurringRow = new QHBoxLayout;
  recurringRow->addWidget(recurring_, 2);
  auto* fromLabel = new QLabel(QStringLiteral("&from payment:"), inputs);
  fromLabel->setBuddy(recurringFrom_);
  recurringRow->addWidget(fromLabel);
  recurringRow->addWidget(recurringFrom_, 1);
  auto* recurringLabel = new QLabel(QStringLiteral("E&xtra with every payment:"), inputs);
  recurringLabel->setBuddy(recurring_);
  form->addRow(recurringLabel, recurringRow);

  oneTime_ = new QTableWidget(0, 2, inputs);
  oneTime_->setObjectName(QStringLiteral("oneTime"));
  oneTime_->setHorizontalHeaderLabels({QStringLiteral("Payment"), QStringLiteral("Amount")});
  oneTime_->horizontalHeader()->setStretchLastSection(true);
  oneTime_->verticalHeader()->hide();
  oneTime_->setSelectionBehavior(QAbstractItemView::SelectRows);
  oneTime_->setSelectionMode(QAbstractItemView::SingleSelection);
  oneTime_->setTabKeyNavigation(false);
  oneTime_->setMinimumHeight(90);
  oneTime_->setMaximumHeight(130);
  oneTime_->setAccessibleName(QStringLiteral("One-time extra payments"));
  add_ = new QPushButton(QStringLiteral("&Add"), inputs);
  remove_ = new QPushButton(QStringLiteral("Re&move"), inputs);
  auto* oneTimeButtons = new QVBoxLayout;
  oneTimeButtons->addWidget(add_);
  oneTimeButtons->addWidget(remove_);
  oneTimeButtons->addStretch();
  auto* oneTimeRow = new QHBoxLayout;
  oneTimeRow->addWidget(oneTime_, 1);
  oneTimeRow->addLayout(oneTimeButtons);
  auto* oneTimeLabel = new QLabel(QStringLiteral("&One-time extras:"), inputs);
  oneTimeLabel->setBuddy(oneTime_);
  form->addRow(oneTimeLabel, oneTimeRow);
  // Delete removes the chosen one-time extra, Insert adds one.
  auto* removeKey = new QAction(oneTime_);
  removeKey->setShortcut(QKeySequence::Delete);
  removeKey->setShortcutContext(Qt::WidgetShortcut);
  oneTime_->addAction(removeKey);
  connect(removeKey, &QAction::triggered, this, &ExtraPaymentsWindow::RemoveOneTime);
  auto* addKey = new QAction(oneTime_);
  addKey->setShortcut(QKeySequence(Qt::Key_Insert));
  addKey->setShortcutContext(Qt::WidgetShortcut);
  oneTime_->addAction(addKey);
  connect(addKey, &QAction::triggered, this, &ExtraPaymentsWindow::AddOneTime);

  keepPayment_ = new QRadioButton(QStringLiteral("Keep the payment, end &sooner"), inputs);
  keepTerm_ = new QRadioButton(QStringLiteral("Keep the &term, lower the payment"), inputs);
  keepPayment_->setChecked(true);
  auto* modes = new QVBoxLayout;
  modes->addWidget(keepPayment_);
  modes->addWidget(keepTerm_);
  form->addRow(QStringLiteral("The extra:"), modes);

  firstDueBox_ = new QLineEdit(inputs);
  firstDueBox_->setObjectName(QStringLiteral("firstDueDate"));
  firstDueBox_->setPlaceholderText(QStringLiteral("optional"));
  auto* dueLabel = new QLabel(QStringLiteral("F&irst due date:"), inputs);
  dueLabel->setBuddy(firstDueBox_);
  form->addRow(dueLabel, firstDueBox_);

  message_ = new QLabel(inputs);
  message_->setObjectName(QStringLiteral("refusal"));
  message_->setWordWrap(true);
  QFont bold = message_->font();
  bold.setBold(true);
  message_->setFont(bold);
  form->addRow(message_);

  auto* resultBox = new QGroupBox(QStringLiteral("Result"), this);
  auto* grid = new QGridLayout(resultBox);
  grid->addWidget(new QLabel(QStringLiteral("Original"), resultBox), 0, 1, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("With extras"), resultBox), 0, 2, Qt::AlignRight);
  for (int row = 0; row < 6; ++row) {
    grid->addWidget(new QLabel(kResultCaptions[row] + u':', resultBox), row + 1, 0);
    for (int column = 0; column < 2; ++column) {
      auto* value = new QLabel(resultBox);
      value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      value->setAccessibleName(kResultCaptions[row] +
                               (column ? QStringLiteral(" with extras") : QStringLiteral(" original")));
      grid->addWidget(value, row + 1, column + 1);
      results_[row][column] = value;
    }
  }
  grid->setRowStretch(7, 1);

  scheduleModel_ = new ExtraScheduleModel(schedule_, this);
  yearsModel_ = new YearTotalsModel(years_, this);
  const auto makeView = [this](QAbstractTableModel* model, const QString& name) {
    auto* view = new QTableView(this);
    view->setModel(model);
    view->setAccessibleName(name);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->setAlternatingRowColors(true);
    // Fixed row heights keep a million rows cheap.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return view;
  };
  scheduleView_ = makeView(scheduleModel_, QStringLiteral("Schedule with extra payments"));
  yearsView_ = makeView(yearsModel_, QStringLiteral("Yearly totals"));
  yearsView_->verticalHeader()->hide();

  balanceChart_ =
      MakeChart(QStringLiteral("Balance over time"), QStringLiteral("Payment"), QStringLiteral("Balance"), this);
  balanceChart_->setAccessibleName(QStringLiteral("Balance over time"));
  balanceWithout_ = AddSeries(balanceChart_->chart(), QStringLiteral("Without extras"), Qt::SolidLine);
  balanceWith_ = AddSeries(balanceChart_->chart(), QStringLiteral("With extras"), Qt::DashLine);
  for (QLineSeries* s : {balanceWithout_, balanceWith_}) Attach(balanceChart_->chart(), s);
  yearsChart_ = MakeChart(QStringLiteral("Interest and principal per year"), QStringLiteral("Year"),
                          QStringLiteral("Amount"), this);
  yearsChart_->setAccessibleName(QStringLiteral("Interest and principal per year"));
  yearInterest_ = AddSeries(yearsChart_->chart(), QStringLiteral("Interest"), Qt::SolidLine);
  yearPrincipal_ = AddSeries(yearsChart_->chart(), QStringLiteral("Principal and extra"), Qt::DashDotLine);
  for (QLineSeries* s : {yearInterest_, yearPrincipal_}) Attach(yearsChart_->chart(), s);
  chartSummary_ = new QLabel(this);
  chartSummary_->setObjectName(QStringLiteral("chartSummary"));
  chartSummary_->setWordWrap(true);
  chartSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  chartSummary_->setFocusPolicy(Qt::TabFocus);
  auto* chartPage = new QWidget(this);
  auto* chartLayout = new QVBoxLayout(chartPage);
  auto* charts = new QHBoxLayout;
  charts->addWidget(balanceChart_);
  charts->addWidget(yearsChart_);
  chartLayout->addLayout(charts, 1);
  chartLayout->addWidget(chartSummary_);

  tabs_ = new QTabWidget(this);
  tabs_->addTab(scheduleView_, QStringLiteral("Sc&hedule"));
  tabs_->addTab(yearsView_, QStringLiteral("&Yearly totals"));
  tabs_->addTab(chartPage, QStringLiteral("Cha&rt"));

  auto* buttons = new QHBoxLayout;
  const auto command = [this, buttons](const QString& text, const QKeySequence& keys,
                                       void (ExtraPaymentsWindow::*run)()) {
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    buttons->addWidget(button);
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    const auto go = [this, run] { Application::Run([&] { (this->*run)(); }); };
    connect(button, &QPushButton::clicked, this, go);
    connect(action, &QAction::triggered, this, go);
    button->setToolTip(keys.toString(QKeySequence::NativeText));
    return button;
  };
  command(QStringLiteral("&Copy"), QKeySequence::Copy, &ExtraPaymentsWindow::CopyTables);
  command(QStringLiteral("Save as CS&V..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
          &ExtraPaymentsWindow::SaveCsv);
  command(QStringLiteral("Save as &PDF..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
          &ExtraPaymentsWindow::SavePdf);
  command(QStringLiteral("Pri&nt..."), QKeySequence::Print, &ExtraPaymentsWindow::PrintSchedule);
  buttons->addStretch();
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  for (QPushButton* b : {add_, remove_}) b->setAutoDefault(false);

  auto* top = new QHBoxLayout;
  top->addWidget(inputs, 3);
  top->addWidget(resultBox, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(tabs_, 1);
  layout->addLayout(buttons);
  resize(960, 720);

  recomputeTimer_ = new QTimer(this);
  recomputeTimer_->setSingleShot(true);
  // Long enough to take a burst of keys as one change, short enough to feel immediate.
  recomputeTimer_->setInterval(40);
  connect(recomputeTimer_, &QTimer::timeout, this, [this] { Application::Run([this] { Recompute(); }); });
  for (QLineEdit* box : {recurring_, recurringFrom_, firstDueBox_})
    connect(box, &QLineEdit::textChanged, this, &ExtraPaymentsWindow::ScheduleRecompute);
  connect(keepPayment_, &QRadioButton::toggled, this, &ExtraPaymentsWindow::ScheduleRecompute);
  connect(oneTime_, &QTableWidget::itemChanged, this, &ExtraPaymentsWindow::ScheduleRecompute);
  connect(add_, &QPushButton::clicked, this, &ExtraPaymentsWindow::AddOneTime);
  connect(remove_, &QPushButton::clicked, this, &ExtraPaymentsWindow::RemoveOneTime);

  setTabOrder(recurring_, recurringFrom_);
  setTabOrder(recurringFrom_, oneTime_);
  setTabOrder(oneTime_, add_);
  setTabOrder(add_, remove_);
  setTabOrder(remove_, keepPayment_);
  setTabOrder(keepPayment_, keepTerm_);
  setTabOrder(keepTerm_, firstDueBox_);
  setTabOrder(firstDueBox_, tabs_);
  recurring_->setFocus();
}

void ExtraPaymentsWindow::SetLoan(const ExtraPaymentsLoan& loan) {
  loan_ = loan;
  level_ = BuildSchedule(loan_.state);
  const LoanLineParts parts{loan_.state.LoanAmount, loan_.interestText, FormatMoney(loan_.state.PaymentAmount),
                            loan_.frequency};
  loanLine_->setText(LoanLine(parts) + QStringLiteral("   Count: %1").arg(loan_.state.PaymentCount));
  // The new loan without extras until its inputs are accepted: no result of
  // the previous loan stays on show.
  static_cast<ExtraScheduleModel*>(scheduleModel_)->Replace([&] {
    schedule_ = ExtraSchedule{};
    schedule_.regularPayment = schedule_.finalRegularPayment = level_.paymentAmount;
    schedule_.levelInterest = level_.totalInterest;
    schedule_.totalPaid = level_.totalPaid;
    schedule_.totalInterest = level_.totalInterest;
    schedule_.totalPrincipal = level_.totalPrincipal;
    schedule_.rows.reserve(level_.rows.size());
    for (const ScheduleRow& r : level_.rows)
      schedule_.rows.push_back(ExtraRow{r.payment, r.principal, Money{}, r.interest, r.balance});
  });
  static_cast<YearTotalsModel*>(yearsModel_)->Replace([&] { years_ = YearlyTotals(schedule_, loan_.frequency); });
  firstDue_ = QDate();
  ShowResult();
  UpdateCharts();
  Recompute();
}

void ExtraPaymentsWindow::ScheduleRecompute() { recomputeTimer_->start(); }

QString ExtraPaymentsWindow::Refusal() const { return message_->text(); }

bool ExtraPaymentsWindow::ReadInputs(ExtraPlan& plan, QDate& firstDue, QString& error) const {
  // An empty box is no extra.
  if (!recurring_->text().trimmed().isEmpty() &&
      !ParseExtraAmount(recurring_->text(), ExtraField::Recurring, plan.recurring, error))
    return false;
  if (!ParseExtraPaymentNumber(recurringFrom_->text(), ExtraField::RecurringFrom, plan.recurringFrom, error))
    return false;
  for (int row = 0; row < oneTime_->rowCount(); ++row) {
    const auto text = [&](int column) {
      const QTableWidgetItem* item = oneTime_->item(row, column);
      return item ? item->text() : QString();
    };
    OneTimeExtra extra;
    if (!ParseExtraPaymentNumber(text(0), ExtraField::OneTimePayment, extra.payment, error) ||
        !ParseExtraAmount(text(1), ExtraField::OneTimeAmount, extra.amount, error)) {
      error += QStringLiteral(" (row %1)").arg(row + 1);
      return false;
    }
    plan.oneTime.push_back(extra);
  }
  plan.mode = keepTerm_->isChecked() ? ExtraMode::KeepTerm : ExtraMode::KeepPayment;
  firstDue = QDate();
  const QString date = firstDueBox_->text().trimmed();
  if (!date.isEmpty() && !TryStrToDate(date, firstDue)) {
    error = QStringLiteral("First due date: \"%1\" is not a date.").arg(firstDueBox_->text());
    return false;
  }
  if (const std::optional<QString> refusal = CheckExtraPlan(plan, loan_.state)) {
    error = *refusal;
    return false;
  }
  return true;
}

void ExtraPaymentsWindow::ShowRefusal(const QString& error) {
  message_->setText(error);
  message_->setAccessibleName(error);
}

void ExtraPaymentsWindow::Recompute() {
  recomputeTimer_->stop();
  ExtraPlan plan;
  QDate firstDue;
  QString error;
  if (!ReadInputs(plan, firstDue, error)) {
    ShowRefusal(error);
    return;
  }
  ExtraSchedule schedule;
  std::vector<YearTotals> years;
  try {
    // Computed whole before anything is shown, so a failure keeps the last result.
    schedule = BuildExtraSchedule(loan_.state, plan);
    years = YearlyTotals(schedule, loan_.frequency, firstDue);
  } catch (const std::exception& e) {
    ShowRefusal(QString::fromLocal8Bit(e.what()));
    return;
  }
  ShowRefusal(QString());
  firstDue_ = firstDue;
  static_cast<ExtraScheduleModel*>(scheduleModel_)->Replace([&] { schedule_ = std::move(schedule); });
  static_cast<YearTotalsModel*>(yearsModel_)->Replace([&] { years_ = std::move(years); });
  ShowResult();
  UpdateCharts();
}

void ExtraPaymentsWindow::ShowResult() {
  const auto lastDue = [this](int count) {
    if (!firstDue_.isValid() || count <= 0) return QStringLiteral("-");
    QDate due = firstDue_;
    for (int i = 1; i < count; ++i) due = NextDueDate(due, loan_.frequency);
    return FormatDueDate(due);
  };
  const int original = int(level_.rows.size()), extra = schedule_.PaymentCount();
  const QString texts[6][2] = {
      {QString::number(original), QString::number(extra)},
      {FormatMoney(level_.paymentAmount), FormatMoney(schedule_.finalRegularPayment)},
      {FormatMoney(level_.totalInterest), FormatMoney(schedule_.totalInterest)},
      {FormatMoney(Money{}), FormatMoney(schedule_.interestSaved)},
      {FormatMoney(level_.totalPaid), FormatMoney(schedule_.totalPaid)},
      {lastDue(original), lastDue(extra)},
  };
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 2; ++column) results_[row][column]->setText(texts[row][column]);
}

void ExtraPaymentsWindow::UpdateCharts() {
  const Money amount = loan_.state.LoanAmount;
  // Point 0 is the loan before any payment; point i the balance after payment i.
  const auto balances = [&](QLineSeries* series, int count, const auto& balanceAfter) {
    QList<QPointF> points;
    for (const int i : SampleIndexes(count + 1, kMaxChartPoints))
      points.append(QPointF(i, MoneyValue(i == 0 ? amount : balanceAfter(i - 1))));
    series->replace(points);
  };
  balances(balanceWithout_, int(level_.rows.size()), [&](int i) { return level_.rows[size_t(i)].balance; });
  balances(balanceWith_, schedule_.PaymentCount(), [&](int i) { return schedule_.rows[size_t(i)].balance; });
  FitAxes(balanceChart_->chart(), double(level_.rows.size()), 0, MoneyValue(amount));

  QList<QPointF> interest, principal;
  double top = 0;
  for (const int i : SampleIndexes(int(years_.size()), kMaxChartPoints)) {
    const YearTotals& y = years_[size_t(i)];
    interest.append(QPointF(y.year, MoneyValue(y.interest)));
    principal.append(QPointF(y.year, MoneyValue(y.principal + y.extra)));
    top = std::max({top, interest.back().y(), principal.back().y()});
  }
  yearInterest_->replace(interest);
  yearPrincipal_->replace(principal);
  auto* x = static_cast<QValueAxis*>(yearsChart_->chart()->axes(Qt::Horizontal).value(0));
  FitAxes(yearsChart_->chart(), 1, 0, top);
  if (x && !years_.empty()) x->setRange(years_.front().year, std::max(years_.back().year, years_.front().year + 1));

  // What the charts show, in words: the label reads it out and the charts carry it.
  QString balance = QStringLiteral(
                        "Balance over time: the loan of %1 is paid off after %2 payments with the extras "
                        "instead of %3; total interest %4 instead of %5, %6 saved.")
                        .arg(FormatMoney(amount))
                        .arg(schedule_.PaymentCount())
                        .arg(level_.rows.size())
                        .arg(FormatMoney(schedule_.totalInterest), FormatMoney(level_.totalInterest),
                             FormatMoney(schedule_.interestSaved));
  QString perYear;
  if (!years_.empty()) {
    const YearTotals &first = years_.front(), &last = years_.back();
    perYear = QStringLiteral(
                  "Interest against principal per year, %1 to %2: interest %3 in %1 and %4 in %2; "
                  "principal and extra %5 in %1 and %6 in %2.")
                  .arg(QString::number(first.year), QString::number(last.year), FormatMoney(first.interest),
                       FormatMoney(last.interest), FormatMoney(first.principal + first.extra),
                       FormatMoney(last.principal + last.extra));
  }
  chartSummary_->setText(balance + u' ' + perYear);
  chartSummary_->setAccessibleName(QStringLiteral("Chart summary"));
  chartSummary_->setAccessibleDescription(chartSummary_->text());
  balanceChart_->setAccessibleDescription(balance);
  yearsChart_->setAccessibleDescription(perYear);
}

void ExtraPaymentsWindow::AddOneTime() {
  const int row = oneTime_->rowCount();
  {
    const QSignalBlocker quiet(oneTime_);
    oneTime_->insertRow(row);
    oneTime_->setItem(row, 0, new QTableWidgetItem(QStringLiteral("1")));
    oneTime_->setItem(row, 1, new QTableWidgetItem(QStringLiteral("0")));
  }
  oneTime_->setCurrentCell(row, 0);
  oneTime_->setFocus();
  oneTime_->editItem(oneTime_->item(row, 0));
  ScheduleRecompute();
}

void ExtraPaymentsWindow::RemoveOneTime() {
  const int row = oneTime_->currentRow();
  if (row < 0 || row >= oneTime_->rowCount()) return;
  oneTime_->removeRow(row);
  ScheduleRecompute();
}

bool ExtraPaymentsWindow::Busy() const { return printing_ || (form_ && form_->PrintRunning()); }

void ExtraPaymentsWindow::CopyTables() {
  const bool years = tabs_->currentWidget() == yearsView_;
  QApplication::clipboard()->setText(years ? TableText(*yearsModel_, false) : TableText(*scheduleModel_, true));
}

void ExtraPaymentsWindow::SaveCsv() {
  if (Busy()) return;
  const bool years = tabs_->currentWidget() == yearsView_;
  QString fileName = years ? QStringLiteral("yearly-totals.csv") : QStringLiteral("extra-payments.csv");
  if (!TheDialogs().SaveFileQuery(QStringLiteral("Save as CSV"), QStringLiteral("CSV files (*.csv)"), fileName) ||
      fileName.isEmpty())
    return;
  SaveFileSafely(fileName, years ? YearlyTotalsCsv(years_) : ExtraScheduleCsv(schedule_, firstDue_, loan_.frequency));
}

bool ExtraPaymentsWindow::DocumentDate(QDate& date) {
  if (firstDue_.isValid()) {
    date = firstDue_;
    return true;
  }
  QString text;
  if (!TheDialogs().InputQuery(QStringLiteral("Starting Date"), QStringLiteral("Enter payment starting date:"), text) ||
      text.isEmpty())
    return false;
  if (!TryStrToDate(text, date)) {
    TheDialogs().ShowMessage(Application::Title(), QStringLiteral(" Invalid starting date! Printing canceled."));
    return false;
  }
  return true;
}

void ExtraPaymentsWindow::PrintTo(TPagePrinter& printer, const QDate& start) {
  ApplySchedulePrinterSettings(printer);
  // The body font carries over from the main window's printer, as Save as PDF's does.
  if (form_) printer.Font().Assign(form_->PgPrint->Font());
  ExtraScheduleDocument document;
  document.loan = {loan_.state.LoanAmount, loan_.interestText, FormatMoney(schedule_.regularPayment), loan_.frequency};
  document.schedule = &schedule_;
  // The last page's totals follow the printed due dates' calendar years.
  document.years = YearlyTotals(schedule_, loan_.frequency, start);
  document.firstDueDate = start;
  document.frequency = loan_.frequency;
  BuildExtraScheduleDocument(printer, document);
}

void ExtraPaymentsWindow::SavePdf() {
  if (Busy()) return;
  printing_ = true;
  const auto done = qScopeGuard([this] { printing_ = false; });
  QDate start;
  if (!DocumentDate(start)) return;
  QString fileName = QStringLiteral("extra-payments.pdf");
  if (!TheDialogs().SaveFileQuery(QStringLiteral("Save as PDF"), QStringLiteral("PDF files (*.pdf)"), fileName) ||
      fileName.isEmpty())
    return;
  SaveSchedulePdf(fileName, LocalePaperSize(QLocale::system()), [&](std::shared_ptr<TPrinter> pdf) {
    TPagePrinter printer(std::move(pdf));
    PrintTo(printer, start);
    return printer.Print();
  });
}

void ExtraPaymentsWindow::PrintSchedule() {
  if (Busy()) return;
  printing_ = true;
  const auto done = qScopeGuard([this] { printing_ = false; });
  QDate start;
  if (!DocumentDate(start)) return;
  // A page printer of its own on the process's printer, never shown.
  TPagePrinter printer;
  PrintTo(printer, start);
  printer.Print();
}
