// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// "What if I pay more?": the main window's loan with a recurring extra from a
// payment on and one-time extras, ending sooner or keeping the term. The result
// stands beside the original, with the new schedule, its yearly totals and a
// chart; it is recomputed as the user types. Refused input shows a message
// naming the field and leaves the last result as it was.
#include <QDate>
#include <QDialog>
#include <QString>
#include <vector>

#include "ExtraPayments.h"
#include "Loan.h"

class QAbstractTableModel;
class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;
class QTabWidget;
class QTimer;
class TMainForm;

// The loan the window starts from, as the main window last calculated it.
struct ExtraPaymentsLoan {
  LoanState state;
  PaymentFrequency frequency = PaymentFrequency::Monthly;
  QString interestText;  // the annual rate as typed, for the printed loan line
};

class ExtraPaymentsWindow : public QDialog {
  Q_OBJECT
 public:
  // form: the main window, whose page printer font and print state the
  // window's printing follows (may be null).
  ExtraPaymentsWindow(const ExtraPaymentsLoan& loan, TMainForm* form, QWidget* parent = nullptr);
  ~ExtraPaymentsWindow() override;

  // A new loan from the main window; the extras entered stay.
  void SetLoan(const ExtraPaymentsLoan& loan);
  // Reads the inputs and shows the result now (typing schedules this after a short pause).
  void Recompute();

  // The last accepted inputs' result.
  const ExtraSchedule& Result() const { return schedule_; }
  const Schedule& Original() const { return level_; }
  const std::vector<YearTotals>& Years() const { return years_; }
  QDate FirstDueDate() const { return firstDue_; }
  // The message of the refused input; empty when the inputs are accepted.
  QString Refusal() const;

  // Controls.
  QLineEdit* RecurringBox() const { return recurring_; }
  QLineEdit* RecurringFromBox() const { return recurringFrom_; }
  QTableWidget* OneTimeTable() const { return oneTime_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }
  QRadioButton* KeepPaymentButton() const { return keepPayment_; }
  QRadioButton* KeepTermButton() const { return keepTerm_; }
  QLineEdit* FirstDueBox() const { return firstDueBox_; }
  QTabWidget* Tabs() const { return tabs_; }
  QTableView* ScheduleView() const { return scheduleView_; }
  QTableView* YearsView() const { return yearsView_; }
  QChartView* BalanceChart() const { return balanceChart_; }
  QChartView* YearsChart() const { return yearsChart_; }
  QLabel* ChartSummary() const { return chartSummary_; }
  // The result labels: row 0..5 (payments, payment, total interest, interest
  // saved, total paid, payoff date), column 0 original, 1 with extras.
  QLabel* ResultLabel(int row, int column) const { return results_[row][column]; }

  // Commands (buttons and keys).
  void CopyTables();
  void SaveCsv();
  void SavePdf();
  void PrintSchedule();

  // Most points a chart series holds; longer series are sampled, first and last kept.
  static constexpr int kMaxChartPoints = 2000;

 private:
  void Build();
  void ScheduleRecompute();
  bool ReadInputs(ExtraPlan& plan, QDate& firstDue, QString& error) const;
  void ShowRefusal(const QString& error);
  void ShowResult();
  void UpdateCharts();
  void AddOneTime();
  void RemoveOneTime();
  bool Busy() const;
  // The date for the printed due dates: the first due date, or the one the
  // main printout's query asks for. False when there is none.
  bool DocumentDate(QDate& date);
  void PrintTo(class TPagePrinter& printer, const QDate& start);

  ExtraPaymentsLoan loan_;
  TMainForm* form_;
  Schedule level_;
  ExtraSchedule schedule_;
  std::vector<YearTotals> years_;
  QDate firstDue_;
  bool printing_ = false;

  QLabel* loanLine_ = nullptr;
  QLineEdit* recurring_ = nullptr;
  QLineEdit* recurringFrom_ = nullptr;
  QTableWidget* oneTime_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QRadioButton* keepPayment_ = nullptr;
  QRadioButton* keepTerm_ = nullptr;
  QLineEdit* firstDueBox_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* results_[6][2] = {};
  QTabWidget* tabs_ = nullptr;
  QTableView* scheduleView_ = nullptr;
  QTableView* yearsView_ = nullptr;
  QAbstractTableModel* scheduleModel_ = nullptr;
  QAbstractTableModel* yearsModel_ = nullptr;
  QChartView* balanceChart_ = nullptr;
  QChartView* yearsChart_ = nullptr;
  QLineSeries* balanceWithout_ = nullptr;
  QLineSeries* balanceWith_ = nullptr;
  QLineSeries* yearInterest_ = nullptr;
  QLineSeries* yearPrincipal_ = nullptr;
  QLabel* chartSummary_ = nullptr;
  QTimer* recomputeTimer_ = nullptr;
};

// The points of a series of `count` values, at most `limit` of them: every
// step-th index with the first and the last always kept.
std::vector<int> SampleIndexes(int count, int limit);
