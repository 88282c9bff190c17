#include "workbook/f2book.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <optional>

#include "platform/exceptions.h"
#include "workbook/cell_number.h"
#include "workbook/xls_file.h"

namespace {

// A cell holds at most what an Excel 5.0 cell holds.
constexpr int kMaxCellText = 255;

// A number too wide for its cell is shown rounded to as many significant
// digits as fit, with the decimal point the cell was written with, so that
// 5.1e-05 and 5.0 never look alike; the cell keeps its whole text.
QString ShownText(const QString& text, const QStyleOptionViewItem& option) {
  const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
  const int room = option.rect.width() - 2 * margin;
  if (room <= 0 || option.fontMetrics.horizontalAdvance(text) <= room) return text;
  const std::optional<double> value = workbook::ParseCellNumber(text);
  if (!value) return text;
  const bool comma = text.contains(u',');
  QString shown;
  for (int digits = 16; digits >= 1; --digits) {
    shown = workbook::RoundedNumberText(*value, digits);
    if (comma) shown.replace(u'.', u',');
    if (option.fontMetrics.horizontalAdvance(shown) <= room) break;
  }
  return shown;
}

// Hands every finished cell edit to the book before the text reaches the
// sheet, so that the book's end-of-edit event can see it and cancel it.
// Shows numbers to fit their cells.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(TF2Book* book) : QStyledItemDelegate(book), book_(book) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(kMaxCellText);
    return editor;
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) return;
    QString text = line->text();
    if (book_->EndEdit(text)) model->setData(index, text, Qt::EditRole);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = ShownText(option->text, *option);
  }

 private:
  TF2Book* book_;
};

}  // namespace

TF2Book::TF2Book(QWidget* parent) : QTableView(parent), sheet_(new WorkbookSheet(this)) {
  setModel(sheet_);
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SelectionFromView(); });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { SelectionFromView(); });
  connect(sheet_, &WorkbookSheet::SelectionChanged, this, [this] { SelectionToView(); });
  connect(sheet_, &WorkbookSheet::HintChanged, this, [this] { setToolTip(sheet_->Hint()); });
  connect(sheet_, &QAbstractItemModel::modelReset, this, [this] { SelectionToView(); });
  SelectionToView();
}

qint32 TF2Book::TopRow() const {
  const int row = rowAt(0);
  return row < 0 ? 1 : row + 1;
}

qint32 TF2Book::LeftCol() const {
  const int col = columnAt(0);
  return col < 0 ? 1 : col + 1;
}

void TF2Book::EditCut() {
  EditCopy();
  EditDelete(kClearCells);
}

void TF2Book::EditCopy() {
  const CellRange range = sheet_->Selection();
  if (range.IsEmpty()) return;
  QGuiApplication::clipboard()->setText(sheet_->CopyText(range));
}

void TF2Book::EditPaste() {
  const CellRange range = sheet_->Selection();
  sheet_->PasteText(range.top, range.left, QGuiApplication::clipboard()->text());
}

void TF2Book::EditDelete(qint16 type) {
  const CellRange range = sheet_->Selection();
  if (range.IsEmpty()) return;
  switch (type) {
    case kClearCells:
      sheet_->ClearRange(range);
      break;
    case kShiftRows:
      sheet_->DeleteRows(range.top, range.Rows());
      break;
    case kShiftCols:
      sheet_->DeleteColumns(range.left, range.Columns());
      break;
    default:
      throw Exception("Неизвестный способ удаления ячеек: " + std::to_string(type));
  }
}

void TF2Book::EditInsert(qint16 type) {
  const CellRange range = sheet_->Selection();
  if (range.IsEmpty()) return;
  switch (type) {
    case kShiftRows:
      sheet_->InsertRows(range.top, range.Rows());
      break;
    case kShiftCols:
      sheet_->InsertColumns(range.left, range.Columns());
      break;
    default:
      throw Exception("Неизвестный способ вставки ячеек: " + std::to_string(type));
  }
}

void TF2Book::GetSelection(qint16 number, qint32& top, qint32& left, qint32& bottom, qint32& right) const {
  if (number != 0) throw Exception("Выделенной области с номером " + std::to_string(number) + " нет");
  const CellRange range = sheet_->Selection();
  top = range.top;
  left = range.left;
  bottom = range.bottom;
  right = range.right;
}

void TF2Book::SetSelection(qint32 top, qint32 left, qint32 bottom, qint32 right) {
  sheet_->SetSelection(CellRange{top, left, bottom, right});
}

void TF2Book::DeleteRange(qint32 top, qint32 left, qint32 bottom, qint32 right, qint16 type) {
  if (type != kShiftRows) throw Exception("Неизвестный способ удаления ячеек: " + std::to_string(type));
  if (bottom < top || right < left) return;
  sheet_->DeleteRows(top, bottom - top + 1);
}

void TF2Book::CheckFileType(qint16 type) const {
  if (type != kExcel5) throw Exception("Тип файла " + std::to_string(type) + " не поддерживается");
}

QStringList TF2Book::Read(const QString& path, qint16& type) {
  CheckFileType(type);
  return workbook::ReadXlsToSheet(*sheet_, path);
}

void TF2Book::Write(const QString& path, qint16 type) const {
  CheckFileType(type);
  workbook::WriteSheetToXls(*sheet_, path);
}

bool TF2Book::EndEdit(QString& text) {
  qint16 cancel = 0;
  if (on_end_edit_) on_end_edit_(text, cancel);
  return cancel == 0;
}

// The view's first selected range, or its current cell when nothing is
// selected, becomes the sheet's selection.
void TF2Book::SelectionFromView() {
  if (syncing_selection_) return;
  const QItemSelection selection = selectionModel()->selection();
  CellRange range;
  if (!selection.isEmpty()) {
    const QItemSelectionRange& first = selection.first();
    range = {first.top() + 1, first.left() + 1, first.bottom() + 1, first.right() + 1};
  } else if (const QModelIndex current = currentIndex(); current.isValid()) {
    range = {current.row() + 1, current.column() + 1, current.row() + 1, current.column() + 1};
  } else {
    return;
  }
  syncing_selection_ = true;
  sheet_->SetSelection(range);
  syncing_selection_ = false;
}

void TF2Book::SelectionToView() {
  if (syncing_selection_) return;
  syncing_selection_ = true;
  const CellRange range = sheet_->Selection();
  const QModelIndex top_left = sheet_->index(range.top - 1, range.left - 1);
  selectionModel()->setCurrentIndex(top_left, QItemSelectionModel::NoUpdate);
  if (range.IsEmpty()) {
    selectionModel()->clearSelection();
  } else {
    selectionModel()->select(QItemSelection(top_left, sheet_->index(range.bottom - 1, range.right - 1)),
                             QItemSelectionModel::ClearAndSelect);
  }
  syncing_selection_ = false;
}
