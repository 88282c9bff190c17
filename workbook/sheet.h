// The sheet behind the data-set editor: a grid of cell texts with its size,
// its selection, its column headings and its hint, offered to views as a
// table model. Rows and columns are counted from 1, as the editor counts them.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/export.h"
#include "workbook/cell_range.h"

class WB_EXPORT WorkbookSheet : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The limits of an Excel 5.0 worksheet.
  static constexpr int kMaxRows = 16384;
  static constexpr int kMaxCols = 256;
  // The size of a fresh sheet.
  static constexpr int kInitialRows = 50;
  static constexpr int kInitialCols = 10;

  explicit WorkbookSheet(QObject* parent = nullptr);

  int MaxRow() const { return max_row_; }
  int MaxCol() const { return max_col_; }
  // A size outside 1 to the limit is refused. Cells beyond a smaller size are
  // dropped.
  void SetMaxRow(int rows);
  void SetMaxCol(int cols);

  // "" for an empty cell or one outside the sheet.
  QString Text(int row, int col) const;
  // Throws for a cell outside the sheet.
  void SetText(int row, int col, const QString& text);
  // Whether the cell's text came in as a text from a workbook file and has
  // not been changed since: it goes back to a workbook as a text even when it
  // reads as a number, so that a code such as "007" keeps its zeros. Cells
  // typed, pasted or loaded from a data set carry no such mark; the mark
  // moves with its cell when rows or columns move.
  bool CameInAsText(int row, int col) const;

  // The selected range, always within the sheet; it may be empty.
  CellRange Selection() const { return selection_; }
  // The range is clipped to the sheet; what is left may be empty.
  void SetSelection(const CellRange& range);

  void ClearRange(const CellRange& range);

  // Rows from `row` on move down by `count`; the size stays. Refused, with
  // nothing changed, when a cell holding text would be pushed off the sheet.
  void InsertRows(int row, int count);
  void InsertColumns(int col, int count);
  // Rows `row` to row + count - 1 go; the rows below move up and empty rows
  // fill the bottom. The size stays.
  void DeleteRows(int row, int count);
  void DeleteColumns(int col, int count);

  // The range's cells as tab-separated text.
  QString CopyText(const CellRange& range) const;
  // Puts tab-separated text into the cells from (row, col) on. Refused, with
  // nothing changed, when it does not fit into the sheet.
  void PasteText(int row, int col, const QString& text);

  // A heading of "" shows the column's letters (A, B, ..., IV).
  QString ColumnHeading(int col) const;
  void SetColumnHeading(int col, const QString& text);
  static QString ColumnLetters(int col);

  QString Hint() const { return hint_; }
  void SetHint(const QString& hint);

  // Replaces the whole sheet, as reading a file does: the size, the cells
  // given row by row (a row may be shorter than the sheet is wide) and, in
  // the same layout, which of them came in as texts. The selection goes back
  // to the first cell; headings and hint stay.
  void Assign(int rows, int cols, std::vector<QStringList> cells,
              std::vector<std::vector<bool>> came_in_as_text = {});

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  void SelectionChanged();
  void HintChanged();

 private:
  void CheckRow(int row) const;
  void CheckCol(int col) const;
  bool RowsHoldText(int first, int last) const;
  bool ColumnsHoldText(int first, int last) const;
  void ReportCellsChanged(int top, int left, int bottom, int right);
  void DropTextMarks(int top, int left, int bottom, int right);
  // Keeps the selection within the sheet; true when that changed it.
  bool ClipSelection();

  int max_row_ = kInitialRows;
  int max_col_ = kInitialCols;
  // One entry per row; a row holds its cells up to its last non-empty one
  // at most, so an empty sheet costs one empty list per row.
  std::vector<QStringList> rows_;
  // Beside rows_, row for row: which cells came in as texts, up to the last
  // such cell of the row at most.
  std::vector<std::vector<bool>> came_in_as_text_;
  QStringList headings_;
  CellRange selection_;
  QString hint_;
};
