// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleGrid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QPointer>

namespace {

// One place of the grid: the corner, a column heading, a row number or a cell.
class GridPlace : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridPlace(TScheduleGrid* grid, int gridRow, int gridColumn) : grid_(grid), row_(gridRow), column_(gridColumn) {}

  bool isValid() const override {
    return grid_ && grid_->model() && row_ <= grid_->model()->rowCount() && column_ <= grid_->model()->columnCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TableCellInterface && IsCell() ? static_cast<QAccessibleTableCellInterface*>(this)
                                                            : nullptr;
  }

  QAccessible::Role role() const override {
    if (row_ == 0) return QAccessible::ColumnHeader;
    return column_ == 0 ? QAccessible::RowHeader : QAccessible::Cell;
  }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return QString();
    if (row_ == 0 && column_ == 0) return grid_->CornerHeading().trimmed();
    const QAbstractItemModel* model = grid_->model();
    if (row_ == 0 || column_ == 0) {
      const auto orientation = row_ == 0 ? Qt::Horizontal : Qt::Vertical;
      const int section = row_ == 0 ? column_ - 1 : row_ - 1;
      const QString spoken = model->headerData(section, orientation, Qt::AccessibleTextRole).toString();
      return spoken.isEmpty() ? model->headerData(section, orientation, Qt::DisplayRole).toString().trimmed() : spoken;
    }
    return model->data(Index(), Qt::DisplayRole).toString();
  }
  QRect rect() const override {
    if (!isValid()) return QRect();
    QHeaderView* columns = grid_->horizontalHeader();
    QHeaderView* rows = grid_->verticalHeader();
    if (row_ == 0 && column_ == 0)
      return QRect(rows->mapToGlobal(QPoint(0, -columns->height())), QSize(rows->width(), columns->height()));
    if (row_ == 0) {
      const QPoint at(columns->sectionViewportPosition(column_ - 1), 0);
      return QRect(columns->viewport()->mapToGlobal(at), QSize(columns->sectionSize(column_ - 1), columns->height()));
    }
    if (column_ == 0) {
      const QPoint at(0, rows->sectionViewportPosition(row_ - 1));
      return QRect(rows->viewport()->mapToGlobal(at), QSize(rows->width(), rows->sectionSize(row_ - 1)));
    }
    const QRect cell = grid_->visualRect(Index());
    return QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) return state;
    const QRect shown = grid_->viewport()->rect();
    if (IsCell()) {
      const QModelIndex index = Index();
      state.selectable = true;
      state.focusable = true;
      state.selected = grid_->selectionModel() && grid_->selectionModel()->isSelected(index);
      state.focused = grid_->hasFocus() && grid_->currentIndex() == index;
      state.invisible = !shown.intersects(grid_->visualRect(index));
    } else if (column_ == 0 && row_ > 0) {
      const int y = grid_->verticalHeader()->sectionViewportPosition(row_ - 1);
      state.invisible = y < 0 || y >= shown.height();
    }
    return state;
  }

  // The cell interface serves the payments' cells; the headings are only named.
  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return Around(0, column_); }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return Around(row_, 0); }
  int columnIndex() const override { return column_ - 1; }
  int rowIndex() const override { return row_ - 1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool IsCell() const { return row_ > 0 && column_ > 0; }
  QModelIndex Index() const { return grid_->model()->index(row_ - 1, column_ - 1); }
  QList<QAccessibleInterface*> Around(int gridRow, int gridColumn) const {
    auto* table = static_cast<TScheduleGridAccessible*>(parent());
    QAccessibleInterface* place = table ? table->GridChild(gridRow, gridColumn) : nullptr;
    return place ? QList<QAccessibleInterface*>{place} : QList<QAccessibleInterface*>{};
  }

  QPointer<TScheduleGrid> grid_;
  int row_;
  int column_;
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  if (key == QLatin1StringView(TScheduleGrid::staticMetaObject.className()))
    if (auto* grid = qobject_cast<TScheduleGrid*>(object)) return new TScheduleGridAccessible(grid);
  return nullptr;
}

}  // namespace

TScheduleGrid::TScheduleGrid(QWidget* parent) : QTableView(parent) { TScheduleGridAccessible::Install(); }

void TScheduleGridAccessible::Install() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  (void)installed;
}

TScheduleGridAccessible::TScheduleGridAccessible(TScheduleGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

TScheduleGridAccessible::~TScheduleGridAccessible() { ForgetChildren(); }

void* TScheduleGridAccessible::interface_cast(QAccessible::InterfaceType t) {
  if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(t);
}

int TScheduleGridAccessible::columnCount() const { return Grid()->model() ? Grid()->model()->columnCount() : 0; }
int TScheduleGridAccessible::rowCount() const { return Grid()->model() ? Grid()->model()->rowCount() : 0; }

int TScheduleGridAccessible::childCount() const { return Grid()->model() ? (rowCount() + 1) * (columnCount() + 1) : 0; }

QAccessibleInterface* TScheduleGridAccessible::GridChild(int gridRow, int gridColumn) const {
  if (gridRow < 0 || gridColumn < 0 || gridRow > rowCount() || gridColumn > columnCount()) return nullptr;
  const int index = gridRow * (columnCount() + 1) + gridColumn;
  // Made when first asked for and kept until the table's content changes.
  if (const auto known = children_.constFind(index); known != children_.constEnd())
    return QAccessible::accessibleInterface(*known);
  auto* place = new GridPlace(Grid(), gridRow, gridColumn);
  children_.insert(index, QAccessible::registerAccessibleInterface(place));
  return place;
}

QAccessibleInterface* TScheduleGridAccessible::child(int index) const {
  const int width = columnCount() + 1;
  return index < 0 || index >= childCount() ? nullptr : GridChild(index / width, index % width);
}

int TScheduleGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
  for (auto it = children_.constBegin(); it != children_.constEnd(); ++it)
    if (it.value() == id) return it.key();
  return -1;
}

QAccessibleInterface* TScheduleGridAccessible::childAt(int x, int y) const {
  const QPoint inView = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
  const QModelIndex index = Grid()->indexAt(inView);
  return index.isValid() ? GridChild(index.row() + 1, index.column() + 1) : nullptr;
}

QAccessibleInterface* TScheduleGridAccessible::cellAt(int row, int column) const {
  return row < 0 || column < 0 || row >= rowCount() || column >= columnCount() ? nullptr
                                                                               : GridChild(row + 1, column + 1);
}

int TScheduleGridAccessible::selectedCellCount() const { return int(selectedCells().size()); }

QList<QAccessibleInterface*> TScheduleGridAccessible::selectedCells() const {
  QList<QAccessibleInterface*> cells;
  if (QItemSelectionModel* selection = Grid()->selectionModel())
    for (const QModelIndex& index : selection->selectedIndexes())
      if (QAccessibleInterface* cell = cellAt(index.row(), index.column())) cells << cell;
  return cells;
}

QString TScheduleGridAccessible::columnDescription(int column) const {
  QAccessibleInterface* heading = GridChild(0, column + 1);
  return heading ? heading->text(QAccessible::Name) : QString();
}

QString TScheduleGridAccessible::rowDescription(int row) const {
  QAccessibleInterface* number = GridChild(row + 1, 0);
  return number ? number->text(QAccessible::Name) : QString();
}

void TScheduleGridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
  // The schedule is replaced as a whole; every place is made anew when asked for.
  ForgetChildren();
}

void TScheduleGridAccessible::ForgetChildren() {
  const QList<QAccessible::Id> ids = children_.values();
  children_.clear();
  for (QAccessible::Id id : ids) QAccessible::deleteAccessibleInterface(id);
}
