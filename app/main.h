// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The main window: the loan inputs, the command bar of hover labels, the
// summary and the schedule table. Its handlers check and read the inputs and
// hand the work to the loan logic (Loan.h, LoanInputs.h) and the schedule
// printout (ScheduleDocument.h).
#include <QDate>
#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "Loan.h"
#include "LoanInputs.h"
#include "ScheduleDocument.h"
#include "ScheduleModel.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;
class TQVXFlashLabel;
class TPagePrinter;
class ScheduleMenu;
namespace Ui {
class TMainForm;
}

// The calculation state, one set for the process; zero before the first Calculate.
LoanState& CalculationState();

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The help window and the about box, created after the main window.
  void SetCompanionWindows(QDialog* aboutBox, QDialog* helpWindow);

  // Controls, in declaration order.
  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QGroupBox* GroupBox2;
  QRadioButton* rbtnMonthly;
  QRadioButton* rbtnWeekly;
  QFrame* Panel1;
  TQVXFlashLabel* flblCalculate;
  TQVXFlashLabel* flblPrint;
  TQVXFlashLabel* flblHelp;
  TQVXFlashLabel* flblAbout;
  QLineEdit* txtAmount;
  QLineEdit* txtInterest;
  QLineEdit* txtPayments;
  QFrame* Panel2;
  QTableView* grdAmort;
  QGroupBox* GroupBox3;
  QLabel* Label4;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* lblPayment;
  QLabel* lblInterest;
  QLabel* lblPrincipal;
  TQVXFlashLabel* flblExit;
  QLabel* Image1;
  QFrame* Bevel1;
  QFrame* Bevel2;
  QLabel* Label5;
  QLabel* lblTotalAmt;
  TPagePrinter* PgPrint;

  ScheduleModel* GridModel() const { return model_; }
  // Grid terms: row 0 holds the headings.
  int GridRowCount() const { return model_->GridRowCount(); }
  QString GridCell(int column, int row) const { return model_->Cell(column, row); }
  // True while a print is being prepared, built or sent; Calculate and Print
  // are ignored meanwhile.
  bool PrintRunning() const;
  // What the printout shows, read once from the window: the loan line's parts,
  // the table's schedule with the first due date, the totals' texts.
  ScheduleDocument PrintSnapshot(const QDate& firstDueDate) const;
  // Builds the printed document for a first due date (BeginDoc .. EndDoc) from
  // a snapshot taken now, through PgPrintNewPage and PrintLoanDetail.
  void BuildPrintDocument(const QDate& start);
  // Print's way to a document, shared with Save as PDF: the input check, a
  // calculation when needed, the first due date's query and check; then output.
  void RunDocumentCommand(const std::function<void(const QDate& start)>& output);
  // Copy, Save as CSV and Save as PDF of the schedule table.
  ScheduleMenu* ScheduleCommands() const { return scheduleMenu_; }

  // Event handlers.
  void FormCreate();
  void flblExitClick(QObject* Sender);
  void flblHelpClick(QObject* Sender);
  void flblAboutClick(QObject* Sender);
  void txtAmountKeyPress(QObject* Sender, QChar& Key);
  void txtInterestKeyPress(QObject* Sender, QChar& Key);
  void txtPaymentsKeyPress(QObject* Sender, QChar& Key);
  void txtAmountChange(QObject* Sender);
  void txtAmountEnter(QObject* Sender);
  void txtInterestEnter(QObject* Sender);
  void txtPaymentsEnter(QObject* Sender);
  void flblCalculateClick(QObject* Sender);
  void FillGrid();
  void PgPrintNewPage(QObject* Sender);
  void PrintLoanDetail();
  void flblPrintClick(QObject* Sender);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  LoanInputTexts InputTexts() const;
  // The check Calculate and Print share; false after reporting the failing box.
  bool InputsPass();
  QLineEdit* Box(LoanField field) const;
  void SetupGrid();
  void SelectWholeText(QLineEdit* box);
  void UpdateRadioTabStops();
  // The command keys, what assistive technology is told and the artwork for
  // plain and doubled screens (MainAccess.cpp).
  void InstallCommandKeys();
  void DescribeForAssistiveTechnology();
  void LoadArtwork();
  void ShowSchedule(Schedule schedule);
  void Calculate();

  std::unique_ptr<Ui::TMainForm> ui_;
  ScheduleModel* model_ = nullptr;
  QDialog* aboutBox_ = nullptr;
  QDialog* helpWindow_ = nullptr;
  QLineEdit* selectOnRelease_ = nullptr;
  // The box that lost the focus to another window or a popup, not to another control.
  QLineEdit* focusKeptAway_ = nullptr;
  ScheduleMenu* scheduleMenu_ = nullptr;
  ScheduleDocument CurrentPrintDocument() const;

  bool printRunning_ = false;
  bool centred_ = false;
  // The snapshot the handlers write from while BuildPrintDocument runs.
  std::optional<ScheduleDocument> printDocument_;
};
