// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The schedule table's model. It keeps the schedule's money values and formats
// a cell only when the view asks for it, so a million rows cost their values
// and nothing more. The row-number column is served as the vertical header so
// the view keeps it in place while the money columns scroll.
#include <QAbstractTableModel>
#include <QString>

#include "Loan.h"

class ScheduleModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ScheduleModel(QObject* parent = nullptr);

  // Grid terms: row 0 is the heading row, column 0 the row number.
  int GridRowCount() const { return 1 + DataRows(); }
  QString Cell(int column, int gridRow) const;

  // The heading row and one empty row.
  void Clear();
  void SetSchedule(Schedule schedule);
  const Schedule& CurrentSchedule() const { return schedule_; }
  bool Blank() const { return blank_; }

  // QAbstractTableModel: the four money columns; rows are payments.
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  int DataRows() const { return blank_ ? 1 : int(schedule_.rows.size()); }
  Schedule schedule_;
  bool blank_ = true;
};
