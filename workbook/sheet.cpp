#include "workbook/sheet.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "workbook/tab_text.h"

namespace {

[[noreturn]] void Refuse(const QString& message) { throw Exception(message.toStdString()); }

}  // namespace

WorkbookSheet::WorkbookSheet(QObject* parent)
    : QAbstractTableModel(parent),
      rows_(kInitialRows),
      came_in_as_text_(kInitialRows),
      headings_(kInitialCols) {}

void WorkbookSheet::SetMaxRow(int rows) {
  if (rows < 1 || rows > kMaxRows)
    Refuse(QString("Число строк таблицы должно быть от 1 до %1").arg(kMaxRows));
  if (rows > max_row_) {
    beginInsertRows(QModelIndex(), max_row_, rows - 1);
    rows_.resize(rows);
    came_in_as_text_.resize(rows);
    max_row_ = rows;
    endInsertRows();
  } else if (rows < max_row_) {
    beginRemoveRows(QModelIndex(), rows, max_row_ - 1);
    rows_.resize(rows);
    came_in_as_text_.resize(rows);
    max_row_ = rows;
    endRemoveRows();
  }
  if (ClipSelection()) emit SelectionChanged();
}

void WorkbookSheet::SetMaxCol(int cols) {
  if (cols < 1 || cols > kMaxCols) {
    Refuse(QString("Число столбцов таблицы должно быть от 1 до %1").arg(kMaxCols));
  }
  if (cols > max_col_) {
    beginInsertColumns(QModelIndex(), max_col_, cols - 1);
    headings_.resize(cols);
    max_col_ = cols;
    endInsertColumns();
  } else if (cols < max_col_) {
    beginRemoveColumns(QModelIndex(), cols, max_col_ - 1);
    for (QStringList& row : rows_) {
      if (row.size() > cols) row.resize(cols);
    }
    for (std::vector<bool>& marks : came_in_as_text_) {
      if (marks.size() > static_cast<std::size_t>(cols)) marks.resize(cols);
    }
    headings_.resize(cols);
    max_col_ = cols;
    endRemoveColumns();
  }
  if (ClipSelection()) emit SelectionChanged();
}

void WorkbookSheet::CheckRow(int row) const {
  if (row < 1 || row > max_row_) Refuse(QString("Строка %1 лежит вне таблицы").arg(row));
}

void WorkbookSheet::CheckCol(int col) const {
  if (col < 1 || col > max_col_) Refuse(QString("Столбец %1 лежит вне таблицы").arg(col));
}

QString WorkbookSheet::Text(int row, int col) const {
  if (row < 1 || row > max_row_ || col < 1) return {};
  const QStringList& cells = rows_[row - 1];
  return col <= cells.size() ? cells[col - 1] : QString();
}

void WorkbookSheet::SetText(int row, int col, const QString& text) {
  CheckRow(row);
  CheckCol(col);
  QStringList& cells = rows_[row - 1];
  if (cells.size() < col) {
    if (text.isEmpty()) return;
    cells.resize(col);
  }
  // An edit that leaves the text as it was leaves its mark too.
  if (cells[col - 1] != text) DropTextMarks(row, col, row, col);
  cells[col - 1] = text;
  ReportCellsChanged(row, col, row, col);
}

bool WorkbookSheet::CameInAsText(int row, int col) const {
  if (row < 1 || row > max_row_ || col < 1) return false;
  const std::vector<bool>& marks = came_in_as_text_[row - 1];
  return static_cast<std::size_t>(col) <= marks.size() && marks[col - 1];
}

void WorkbookSheet::DropTextMarks(int top, int left, int bottom, int right) {
  for (int row = top; row <= bottom; ++row) {
    std::vector<bool>& marks = came_in_as_text_[row - 1];
    const int last = std::min(right, static_cast<int>(marks.size()));
    for (int col = left; col <= last; ++col) marks[col - 1] = false;
  }
}

void WorkbookSheet::SetSelection(const CellRange& range) {
  selection_ = range;
  ClipSelection();
  emit SelectionChanged();
}

bool WorkbookSheet::ClipSelection() {
  const CellRange before = selection_;
  selection_.top = std::clamp(selection_.top, 1, max_row_);
  selection_.left = std::clamp(selection_.left, 1, max_col_);
  selection_.bottom = std::clamp(selection_.bottom, 0, max_row_);
  selection_.right = std::clamp(selection_.right, 0, max_col_);
  return !(selection_ == before);
}

void WorkbookSheet::ClearRange(const CellRange& range) {
  const int bottom = std::min(range.bottom, max_row_);
  const int right = std::min(range.right, max_col_);
  const int top = std::max(range.top, 1);
  const int left = std::max(range.left, 1);
  if (bottom < top || right < left) return;
  for (int row = top; row <= bottom; ++row) {
    QStringList& cells = rows_[row - 1];
    for (int col = left; col <= std::min<int>(right, cells.size()); ++col) cells[col - 1].clear();
  }
  DropTextMarks(top, left, bottom, right);
  ReportCellsChanged(top, left, bottom, right);
}

bool WorkbookSheet::RowsHoldText(int first, int last) const {
  for (int row = std::max(first, 1); row <= last; ++row) {
    for (const QString& cell : rows_[row - 1]) {
      if (!cell.isEmpty()) return true;
    }
  }
  return false;
}

bool WorkbookSheet::ColumnsHoldText(int first, int last) const {
  for (const QStringList& cells : rows_) {
    for (int col = std::max(first, 1); col <= std::min<int>(last, cells.size()); ++col) {
      if (!cells[col - 1].isEmpty()) return true;
    }
  }
  return false;
}

void WorkbookSheet::InsertRows(int row, int count) {
  CheckRow(row);
  count = std::min(count, max_row_ - row + 1);
  if (count < 1) return;
  if (RowsHoldText(max_row_ - count + 1, max_row_)) {
    Refuse("Строки не вставлены: заполненные ячейки внизу таблицы вышли бы за ее пределы");
  }
  rows_.erase(rows_.end() - count, rows_.end());
  rows_.insert(rows_.begin() + (row - 1), count, QStringList());
  came_in_as_text_.erase(came_in_as_text_.end() - count, came_in_as_text_.end());
  came_in_as_text_.insert(came_in_as_text_.begin() + (row - 1), count, std::vector<bool>());
  ReportCellsChanged(row, 1, max_row_, max_col_);
}

void WorkbookSheet::InsertColumns(int col, int count) {
  CheckCol(col);
  count = std::min(count, max_col_ - col + 1);
  if (count < 1) return;
  if (ColumnsHoldText(max_col_ - count + 1, max_col_)) {
    Refuse("Столбцы не вставлены: заполненные ячейки справа вышли бы за пределы таблицы");
  }
  for (QStringList& cells : rows_) {
    if (cells.size() < col) continue;
    for (int i = 0; i < count; ++i) cells.insert(col - 1, QString());
    if (cells.size() > max_col_) cells.resize(max_col_);
  }
  for (std::vector<bool>& marks : came_in_as_text_) {
    if (marks.size() < static_cast<std::size_t>(col)) continue;
    marks.insert(marks.begin() + (col - 1), count, false);
    if (marks.size() > static_cast<std::size_t>(max_col_)) marks.resize(max_col_);
  }
  for (int i = 0; i < count; ++i) headings_.insert(col - 1, QString());
  headings_.resize(max_col_);
  ReportCellsChanged(1, col, max_row_, max_col_);
  emit headerDataChanged(Qt::Horizontal, col - 1, max_col_ - 1);
}

void WorkbookSheet::DeleteRows(int row, int count) {
  CheckRow(row);
  count = std::min(count, max_row_ - row + 1);
  if (count < 1) return;
  rows_.erase(rows_.begin() + (row - 1), rows_.begin() + (row - 1 + count));
  rows_.resize(max_row_);
  came_in_as_text_.erase(came_in_as_text_.begin() + (row - 1), came_in_as_text_.begin() + (row - 1 + count));
  came_in_as_text_.resize(max_row_);
  ReportCellsChanged(row, 1, max_row_, max_col_);
}

void WorkbookSheet::DeleteColumns(int col, int count) {
  CheckCol(col);
  count = std::min(count, max_col_ - col + 1);
  if (count < 1) return;
  for (QStringList& cells : rows_) {
    if (cells.size() >= col) cells.remove(col - 1, std::min<qsizetype>(count, cells.size() - col + 1));
  }
  for (std::vector<bool>& marks : came_in_as_text_) {
    if (marks.size() < static_cast<std::size_t>(col)) continue;
    const auto first = marks.begin() + (col - 1);
    marks.erase(first, first + std::min<std::ptrdiff_t>(count, marks.end() - first));
  }
  headings_.remove(col - 1, count);
  headings_.resize(max_col_);
  ReportCellsChanged(1, col, max_row_, max_col_);
  emit headerDataChanged(Qt::Horizontal, col - 1, max_col_ - 1);
}

QString WorkbookSheet::CopyText(const CellRange& range) const {
  QList<QStringList> rows;
  for (int row = range.top; row <= range.bottom; ++row) {
    QStringList cells;
    for (int col = range.left; col <= range.right; ++col) cells.append(Text(row, col));
    rows.append(cells);
  }
  return workbook::EncodeTabText(rows);
}

void WorkbookSheet::PasteText(int row, int col, const QString& text) {
  const QList<QStringList> rows = workbook::DecodeTabText(text);
  if (rows.isEmpty()) return;
  qsizetype width = 0;
  for (const QStringList& cells : rows) width = std::max(width, cells.size());
  if (row < 1 || col < 1 || row - 1 + rows.size() > max_row_ || col - 1 + width > max_col_) {
    Refuse("Данные из буфера обмена не помещаются в таблицу");
  }
  for (qsizetype i = 0; i < rows.size(); ++i) {
    QStringList& cells = rows_[row - 1 + i];
    const qsizetype needed = col - 1 + rows[i].size();
    if (cells.size() < needed) cells.resize(needed);
    for (qsizetype j = 0; j < rows[i].size(); ++j) cells[col - 1 + j] = rows[i][j];
  }
  DropTextMarks(row, col, row - 1 + static_cast<int>(rows.size()), col - 1 + static_cast<int>(width));
  ReportCellsChanged(row, col, row - 1 + static_cast<int>(rows.size()), col - 1 + static_cast<int>(width));
}

QString WorkbookSheet::ColumnHeading(int col) const {
  if (col < 1 || col > max_col_) return {};
  return headings_[col - 1].isEmpty() ? ColumnLetters(col) : headings_[col - 1];
}

void WorkbookSheet::SetColumnHeading(int col, const QString& text) {
  CheckCol(col);
  headings_[col - 1] = text;
  emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
}

QString WorkbookSheet::ColumnLetters(int col) {
  QString letters;
  for (int n = col; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
  return letters;
}

void WorkbookSheet::SetHint(const QString& hint) {
  hint_ = hint;
  emit HintChanged();
}

void WorkbookSheet::Assign(int rows, int cols, std::vector<QStringList> cells,
                           std::vector<std::vector<bool>> came_in_as_text) {
  if (rows < 1 || rows > kMaxRows || cols < 1 || cols > kMaxCols) {
    Refuse(
        QString("Таблица размером %1 x %2 не помещается на лист: допустимо не более %3 строк и %4 столбцов")
            .arg(rows)
            .arg(cols)
            .arg(kMaxRows)
            .arg(kMaxCols));
  }
  cells.resize(rows);
  came_in_as_text.resize(rows);
  for (int row = 0; row < rows; ++row) {
    if (cells[row].size() > cols || came_in_as_text[row].size() > static_cast<std::size_t>(cols)) {
      Refuse("Строка таблицы длиннее числа столбцов");
    }
  }
  beginResetModel();
  max_row_ = rows;
  max_col_ = cols;
  rows_ = std::move(cells);
  came_in_as_text_ = std::move(came_in_as_text);
  headings_.resize(cols);
  endResetModel();
  SetSelection(CellRange{});
}

void WorkbookSheet::ReportCellsChanged(int top, int left, int bottom, int right) {
  emit dataChanged(index(top - 1, left - 1), index(bottom - 1, right - 1), {Qt::DisplayRole, Qt::EditRole});
}

int WorkbookSheet::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : max_row_; }

int WorkbookSheet::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : max_col_; }

QVariant WorkbookSheet::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return Text(index.row() + 1, index.column() + 1);
}

bool WorkbookSheet::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  SetText(index.row() + 1, index.column() + 1, value.toString());
  return true;
}

Qt::ItemFlags WorkbookSheet::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant WorkbookSheet::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return section + 1;
  return ColumnHeading(section + 1);
}
