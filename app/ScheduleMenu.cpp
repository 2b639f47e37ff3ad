// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>

#include "Application.h"
#include "Dialogs.h"
#include "ExtraPaymentsWindow.h"
#include "PagePrnt.h"
#include "PrintChoice.h"
#include "PrintSetup.h"
#include "ScheduleCsv.h"
#include "ScheduleDocument.h"
#include "ScheduleExport.h"
#include "SchedulePreview.h"
#include "main.h"

ScheduleMenu::ScheduleMenu(TMainForm* form) : QObject(form), form_(form) {
  menu_ = new QMenu(form);
  const auto add = [this](const QString& text, const QKeySequence& keys, void (ScheduleMenu::*command)()) {
    QAction* action = menu_->addAction(text);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    // The window carries the actions so their shortcuts work wherever its focus is.
    form_->addAction(action);
    connect(action, &QAction::triggered, this, [this, command] { Application::Run([&] { (this->*command)(); }); });
    return action;
  };
  copy_ = add(QStringLiteral("Copy Schedule"), QKeySequence::Copy, &ScheduleMenu::CopySchedule);
  csv_ = add(QStringLiteral("Save as CSV..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &ScheduleMenu::SaveCsv);
  pdf_ = add(QStringLiteral("Save as PDF..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &ScheduleMenu::SavePdf);
  setup_ =
      add(QStringLiteral("Print Setup..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &ScheduleMenu::PrintSetup);
  preview_ = add(QStringLiteral("Print Preview..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                 &ScheduleMenu::PrintPreview);
  menu_->addSeparator();
  extra_ =
      add(QStringLiteral("Extra Payments..."), QKeySequence(Qt::CTRL | Qt::Key_E), &ScheduleMenu::OpenExtraPayments);

  QTableView* grid = form_->grdAmort;
  grid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid, &QWidget::customContextMenuRequested, this, &ScheduleMenu::ShowMenu);
  // From the keyboard: Shift+F10, and the Menu key where the platform does
  // not turn it into a context-menu request itself.
  auto* keyboard = new QAction(grid);
  keyboard->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
  keyboard->setShortcutContext(Qt::WidgetShortcut);
  grid->addAction(keyboard);
  connect(keyboard, &QAction::triggered, this, [this, grid] {
    const QRect cell = grid->visualRect(grid->currentIndex());
    ShowMenu(cell.isValid() ? cell.center() : QPoint(0, 0));
  });

  for (QLineEdit* box : form_->findChildren<QLineEdit*>()) box->installEventFilter(this);
  connect(form_->GridModel(), &QAbstractItemModel::modelReset, this, &ScheduleMenu::UpdateEnabled);
  UpdateEnabled();
}

void ScheduleMenu::UpdateEnabled() {
  const bool calculated = !form_->GridModel()->Blank();
  for (QAction* action : {copy_, csv_, pdf_, setup_, preview_, extra_}) action->setEnabled(calculated);
}

void ScheduleMenu::ShowMenu(const QPoint& viewportPos) {
  // One key can arrive both as a shortcut and as a context-menu request.
  if (menu_->isVisible()) return;
  menu_->popup(form_->grdAmort->viewport()->mapToGlobal(viewportPos));
}

bool ScheduleMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    // Ctrl+E is the window's too, not the box's end of line (End still is).
    if (box && ((!box->hasSelectedText() && key->matches(QKeySequence::Copy)) ||
                QKeySequence(key->keyCombination()) == extra_->shortcut())) {
      // Not taken by the box: the shortcut goes to the window.
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void ScheduleMenu::CopySchedule() {
  if (form_->GridModel()->Blank()) return;
  QApplication::clipboard()->setMimeData(ScheduleMimeData(*form_->GridModel()));
}

void ScheduleMenu::SaveCsv() {
  if (form_->GridModel()->Blank() || form_->PrintRunning()) return;
  QString fileName = QStringLiteral("loan-schedule.csv");
  if (!TheDialogs().SaveFileQuery(QStringLiteral("Save as CSV"), QStringLiteral("CSV files (*.csv)"), fileName) ||
      fileName.isEmpty())
    return;
  SaveFileSafely(fileName, ScheduleCsv(form_->GridModel()->CurrentSchedule()));
}

void ScheduleMenu::SavePdf() {
  if (form_->GridModel()->Blank()) return;
  form_->RunDocumentCommand([this](const QDate& start) {
    QString fileName = QStringLiteral("loan-schedule.pdf");
    if (!TheDialogs().SaveFileQuery(QStringLiteral("Save as PDF"), QStringLiteral("PDF files (*.pdf)"), fileName) ||
        fileName.isEmpty())
      return;
    const ScheduleDocument document = form_->PrintSnapshot(start);
    SaveSchedulePdf(fileName, ChosenOrLocalePaper(), [&](std::shared_ptr<TPrinter> pdf) {
      // A page printer of its own on the PDF printer, set up as the window's;
      // the body font carries over as it stands, size changes of earlier prints included.
      TPagePrinter printer(std::move(pdf));
      ApplySchedulePrinterSettings(printer);
      printer.Font().Assign(form_->PgPrint->Font());
      BuildScheduleDocument(printer, document);
      return printer.Print();
    });
  });
}

void ScheduleMenu::PrintSetup() {
  if (form_->GridModel()->Blank() || form_->PrintRunning()) return;
  std::optional<PrintChoice> choice = AskPrintSetup(form_);
  if (choice) SetChosenPrint(std::move(choice));
}

void ScheduleMenu::PrintPreview() {
  if (form_->GridModel()->Blank()) return;
  form_->RunDocumentCommand([this](const QDate& start) {
    // The pages are laid out on the printer's page set-up, which may still be on its way.
    if (!WaitForPrintPrinter(*form_->PgPrint)) return;
    SchedulePreview preview(form_, form_->PrintSnapshot(start));
    preview.exec();
  });
}

void ScheduleMenu::OpenExtraPayments() {
  if (form_->GridModel()->Blank() || form_->PrintRunning()) return;
  ExtraPaymentsLoan loan;
  loan.state = CalculationState();
  loan.frequency = form_->rbtnWeekly->isChecked() ? PaymentFrequency::Weekly : PaymentFrequency::Monthly;
  loan.interestText = form_->txtInterest->text();
  if (extraWindow_) {
    extraWindow_->SetLoan(loan);
  } else {
    extraWindow_ = new ExtraPaymentsWindow(loan, form_, form_);
    extraWindow_->setAttribute(Qt::WA_DeleteOnClose);
  }
  extraWindow_->show();
  extraWindow_->raise();
  extraWindow_->activateWindow();
}
