#include "ferrant/ferrant.h"

#include <QFile>
#include <string_view>

#include "ferrant/sds_format.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"
#include "workbook/cell_number.h"
#include "workbook/sheet.h"

namespace Ferrant {

void LoadFromFileToBook(WorkbookSheet* book, const QString& path) {
  const QByteArray bytes = QByteArray::fromStdString(platform::ReadWholeFile(
      QFile::encodeName(path).toStdString(),
      "Невозможно открыть файл набора данных " + platform::Quoted(path.toStdString()) + " !",
      ferrant::kMaxFileBytes));
  const ferrant::DataSet data_set = ferrant::DecodeDataSet(bytes, path);

  std::vector<QStringList> cells(static_cast<std::size_t>(data_set.rows));
  auto value = data_set.values.begin();
  for (QStringList& row : cells) {
    row.reserve(data_set.cols);
    for (int col = 0; col < data_set.cols; ++col) row.append(workbook::NumberText(*value++));
  }
  book->Assign(data_set.rows, data_set.cols, std::move(cells));
  book->SetHint(data_set.description);
}

void SaveToFileFromBook(WorkbookSheet* book, const QString& path) {
  const CellRange range = book->Selection();
  if (range.IsEmpty()) throw Exception("Не выбрано ни одной ячейки: набор данных пуст");
  ferrant::DataSet data_set;
  data_set.rows = range.Rows();
  data_set.cols = range.Columns();
  data_set.description = book->Hint();
  data_set.values.reserve(static_cast<std::size_t>(data_set.rows) * static_cast<std::size_t>(data_set.cols));
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int col = range.left; col <= range.right; ++col) {
      const QString text = book->Text(row, col);
      const auto number = workbook::ParseCellNumber(text);
      if (!number) {
        throw Exception(
            QString("Ячейка (строка %1, столбец %2) не содержит числа: ").arg(row).arg(col).toStdString() +
            platform::Quoted(text.toStdString()));
      }
      data_set.values.push_back(*number);
    }
  }
  const QByteArray bytes = ferrant::EncodeDataSet(data_set);
  platform::WriteWholeFile(
      QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), bytes.size()),
      "Невозможно создать файл набора данных " + platform::Quoted(path.toStdString()) + " !");
}

}  // namespace Ferrant
