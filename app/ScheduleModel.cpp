// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleModel.h"

ScheduleModel::ScheduleModel(QObject* parent) : QAbstractTableModel(parent) {}

QString ScheduleModel::Cell(int column, int gridRow) const {
  if (column < 0 || column > 4 || gridRow < 0 || gridRow >= GridRowCount()) return QString();
  if (gridRow == 0) return ScheduleText::kHeadings[column];
  if (blank_) return QString();
  return ScheduleText::Cell(schedule_, gridRow - 1, column);
}

void ScheduleModel::Clear() {
  beginResetModel();
  schedule_ = Schedule{};
  blank_ = true;
  endResetModel();
}

void ScheduleModel::SetSchedule(Schedule schedule) {
  beginResetModel();
  schedule_ = std::move(schedule);
  // A schedule without payments still shows one (empty) row below the heading.
  blank_ = schedule_.rows.empty();
  endResetModel();
}

int ScheduleModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : DataRows(); }

int ScheduleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  if (role == Qt::DisplayRole) return Cell(index.column() + 1, index.row() + 1);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  return QVariant();
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole) {
    if (orientation == Qt::Horizontal)
      return section >= 0 && section < 4 ? ScheduleText::kHeadings[section + 1] : QString();
    return Cell(0, section + 1);
  }
  // Screen readers get the headings without the blanks that place them.
  if (role == Qt::AccessibleTextRole) return headerData(section, orientation, Qt::DisplayRole).toString().trimmed();
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return QVariant();
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
