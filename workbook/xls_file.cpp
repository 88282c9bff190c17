#include "workbook/xls_file.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"
#include "workbook/biff5_writer.h"
#include "workbook/biff_reader.h"
#include "workbook/cell_number.h"
#include "workbook/compound_file.h"
#include "workbook/sheet.h"

namespace workbook {
namespace {

// Excel 5.0 names its workbook stream "Book" (later versions "Workbook").
constexpr char kBookStream[] = "Book";
const QString kSheetName = "Лист1";
// Well above a full worksheet of numbers or of formulas (about 80 MB and
// 200 MB); a larger file is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} << 20;

// The sheet's rows as the cells come, with which of them came in as texts;
// numbers get their shortest exact texts.
class RowsSink : public CellSink {
 public:
  void Number(int row, int col, double value) override {
    Cell(row, col) = NumberText(value);
    Mark(row, col, false);
  }
  void Text(int row, int col, QString text) override {
    Mark(row, col, !text.isEmpty());
    Cell(row, col) = std::move(text);
  }

  std::vector<QStringList> rows;
  std::vector<std::vector<bool>> came_in_as_text;

 private:
  QString& Cell(int row, int col) {
    if (rows.size() <= static_cast<std::size_t>(row)) rows.resize(static_cast<std::size_t>(row) + 1);
    QStringList& cells = rows[row];
    if (cells.size() <= col) {
      // A row is mostly as wide as the widest before it.
      if (cells.isEmpty()) cells.reserve(std::max(col + 1, widest_));
      cells.resize(col + 1);
      widest_ = std::max(widest_, col + 1);
    }
    return cells[col];
  }

  // Rows without texts keep no marks.
  void Mark(int row, int col, bool text) {
    if (came_in_as_text.size() <= static_cast<std::size_t>(row)) {
      if (!text) return;
      came_in_as_text.resize(static_cast<std::size_t>(row) + 1);
    }
    std::vector<bool>& marks = came_in_as_text[row];
    if (marks.size() <= static_cast<std::size_t>(col)) {
      if (!text) return;
      marks.resize(static_cast<std::size_t>(col) + 1);
    }
    marks[col] = text;
  }

  int widest_ = 0;
};

}  // namespace

QStringList ReadXlsToSheet(WorkbookSheet& sheet, const QString& path) {
  const std::string quoted = platform::Quoted(path.toStdString());
  const std::string file = platform::ReadWholeFile(QFile::encodeName(path).toStdString(),
                                                   "Невозможно открыть файл " + quoted + " !", kMaxFileBytes);
  RowsSink sink;
  BiffWorkbook book;
  try {
    ReadWorkbookStream(file, [&](QByteArrayView stream) { book = ReadBiffWorkbook(stream, sink); });
  } catch (const EReadError& error) {
    throw EReadError("Файл " + quoted +
                     " не удается прочитать как книгу Microsoft Excel: " + error.Message());
  }
  // An empty worksheet comes back as one empty cell.
  sheet.Assign(std::max(book.rows, 1), std::max(book.cols, 1), std::move(sink.rows),
               std::move(sink.came_in_as_text));
  return std::move(book.worksheets);
}

// The stream goes to the file as it is built, cell by cell; a cell that
// cannot be written leaves the previous file as it was.
void WriteSheetToXls(const WorkbookSheet& sheet, const QString& path) {
  const auto write = [&](int fd) {
    CompoundFileWriter file(kBookStream, fd);
    Biff5Writer writer(sheet.MaxRow(), sheet.MaxCol(), kSheetName,
                       [&](QByteArrayView piece) { file.Write(piece); });
    for (int row = 1; row <= sheet.MaxRow(); ++row) {
      for (int col = 1; col <= sheet.MaxCol(); ++col) {
        const QString text = sheet.Text(row, col);
        if (text.isEmpty()) continue;
        const auto number = sheet.CameInAsText(row, col) ? std::nullopt : ParseCellNumber(text);
        if (number) {
          writer.Number(row - 1, col - 1, *number);
        } else {
          writer.Text(row - 1, col - 1, text);
        }
      }
    }
    writer.Finish();
    return file.Finish();
  };
  platform::WriteWholeFileFrom(QFile::encodeName(path).toStdString(), write,
                               "Невозможно создать файл " + platform::Quoted(path.toStdString()) + " !");
}

}  // namespace workbook
