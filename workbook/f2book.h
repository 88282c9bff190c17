// The workbook control of the data-set editor: a table view over one
// WorkbookSheet with the operations the editor calls by the control's names.
// Cut, copy and paste go through the system clipboard as tab-separated text.
#pragma once

#include <QString>
#include <QTableView>
#include <functional>

#include "platform/export.h"
#include "workbook/sheet.h"

class WB_EXPORT TF2Book : public QTableView {
  Q_OBJECT

 public:
  // EditDelete and EditInsert types.
  static constexpr qint16 kClearCells = 1;
  static constexpr qint16 kShiftRows = 3;
  static constexpr qint16 kShiftCols = 4;
  // The file type of Read and Write: Excel 5.0 workbooks as written, Excel
  // 5.0/95 and 97-2003 ones as read.
  static constexpr qint16 kExcel5 = 4;

  // Raised when the user ends a cell edit, with the entered text; setting the
  // cancel flag to non-zero drops the edit.
  using EndEditHandler = std::function<void(QString& text, qint16& cancel)>;

  explicit TF2Book(QWidget* parent = nullptr);

  WorkbookSheet& Sheet() { return *sheet_; }
  const WorkbookSheet& Sheet() const { return *sheet_; }

  qint32 MaxRow() const { return sheet_->MaxRow(); }
  qint32 MaxCol() const { return sheet_->MaxCol(); }
  void SetMaxRow(qint32 rows) { sheet_->SetMaxRow(rows); }
  void SetMaxCol(qint32 cols) { sheet_->SetMaxCol(cols); }

  // The row and the column at the top left of the view.
  qint32 TopRow() const;
  qint32 LeftCol() const;

  void EditCut();
  void EditCopy();
  void EditPaste();
  void EditDelete(qint16 type);
  void EditInsert(qint16 type);

  // Selection number 0 is the only one kept: the first selected range.
  void GetSelection(qint16 number, qint32& top, qint32& left, qint32& bottom, qint32& right) const;
  void SetSelection(qint32 top, qint32 left, qint32 bottom, qint32 right);
  // Type kShiftRows removes whole rows top to bottom, moving the rows below up.
  void DeleteRange(qint32 top, qint32 left, qint32 bottom, qint32 right, qint16 type);

  QString Get_TextRC(qint32 row, qint32 col) const { return sheet_->Text(row, col); }
  void Set_ColText(qint32 col, const QString& text) { sheet_->SetColumnHeading(col, text); }

  // Only kExcel5 files are known; `type` is left as given. Returns the names
  // of the workbook's worksheets, of which the first was read.
  QStringList Read(const QString& path, qint16& type);
  void Write(const QString& path, qint16 type) const;

  void SetHint(const QString& hint) { sheet_->SetHint(hint); }

  void SetOnEndEdit(EndEditHandler handler) { on_end_edit_ = std::move(handler); }
  // Hands a finished edit to the handler; false when the handler cancelled it.
  bool EndEdit(QString& text);

 private:
  void SelectionFromView();
  void SelectionToView();
  void CheckFileType(qint16 type) const;

  WorkbookSheet* sheet_;
  EndEditHandler on_end_edit_;
  bool syncing_selection_ = false;
};
