// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The schedule table's view and what assistive technology reads of it. Qt's
// own table interface offers the corner above the row numbers as an unnamed
// button; this one reads it as the heading of the row-number column, like the
// other headings, and otherwise presents the same table: headings first, then
// one row header and four cells per payment.
#include <QAccessibleWidget>
#include <QHash>
#include <QTableView>

class TScheduleGrid : public QTableView {
  Q_OBJECT
 public:
  explicit TScheduleGrid(QWidget* parent = nullptr);
  // The heading of the row-number column, painted in the corner.
  QString CornerHeading() const { return cornerHeading_; }
  void SetCornerHeading(const QString& text) { cornerHeading_ = text; }

 private:
  QString cornerHeading_;
};

class TScheduleGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TScheduleGridAccessible(TScheduleGrid* grid);
  ~TScheduleGridAccessible() override;
  static void Install();

  TScheduleGrid* Grid() const { return static_cast<TScheduleGrid*>(widget()); }
  void* interface_cast(QAccessible::InterfaceType t) override;

  // The children, row by row of the grid: the corner and the column headings,
  // then for each payment its row header and its cells.
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  // Rows and columns are not selected as a whole in this table.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

  // Grid coordinates: row 0 the headings, column 0 the row numbers.
  QAccessibleInterface* GridChild(int gridRow, int gridColumn) const;

 private:
  void ForgetChildren();
  mutable QHash<int, QAccessible::Id> children_;
};
