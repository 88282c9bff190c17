#include "workbook/xls_file.h"

#include <sys/stat.h>

#include <QFile>
#include <string_view>

#include "platform/exceptions.h"
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
constexpr off_t kMaxFileMegabytes = 256;

std::string Quoted(const QString& path) { return ("«" + path + "»").toStdString(); }

[[noreturn]] void NotReadable(const QString& path, const std::string& why) {
  throw EReadError("Файл " + Quoted(path) + " не удается прочитать как книгу Microsoft Excel: " + why);
}

std::string FileBytes(const QString& path) {
  const std::string native = QFile::encodeName(path).toStdString();
  const std::string open_error = "Невозможно открыть файл " + Quoted(path) + " !";
  struct stat status {};
  if (::stat(native.c_str(), &status) != 0) throw EFOpenError(open_error);
  if (!S_ISREG(status.st_mode)) NotReadable(path, "это не файл, а папка, канал или устройство");
  if (status.st_size > kMaxFileMegabytes * 1024 * 1024) {
    NotReadable(path, "файл больше " + std::to_string(kMaxFileMegabytes) + " МБ");
  }
  return platform::ReadWholeFile(native, open_error);
}

}  // namespace

XlsBook ReadXlsFile(const QString& path) {
  const std::string file = FileBytes(path);
  try {
    const QByteArray stream = WorkbookStream(file);
    return ReadBiffWorkbook(stream);
  } catch (const EReadError& error) {
    NotReadable(path, error.Message());
  }
}

void WriteXlsFile(const QString& path, const XlsGrid& grid) {
  const QByteArray file_bytes = CompoundFile(kBookStream, Biff5Workbook(grid, kSheetName));
  platform::WriteWholeFile(QFile::encodeName(path).toStdString(),
                           std::string_view(file_bytes.constData(), file_bytes.size()),
                           "Невозможно создать файл " + Quoted(path) + " !");
}

QStringList ReadXlsToSheet(WorkbookSheet& sheet, const QString& path) {
  XlsBook book = ReadXlsFile(path);
  const XlsGrid& grid = book.first;
  // Each row is sized once, to its last cell.
  std::vector<int> widths(static_cast<size_t>(grid.rows), 0);
  for (const XlsCell& cell : grid.cells) widths[cell.row] = std::max(widths[cell.row], cell.col + 1);
  std::vector<QStringList> cells(widths.size());
  for (size_t row = 0; row < widths.size(); ++row) cells[row].resize(widths[row]);
  for (const XlsCell& cell : grid.cells) {
    QString& text = cells[cell.row][cell.col];
    if (const double* number = std::get_if<double>(&cell.value)) {
      text = NumberText(*number);
    } else {
      text = std::get<QString>(cell.value);
    }
  }
  // An empty worksheet comes back as one empty cell.
  sheet.Assign(std::max(grid.rows, 1), std::max(grid.cols, 1), std::move(cells));
  return std::move(book.worksheets);
}

void WriteSheetToXls(const WorkbookSheet& sheet, const QString& path) {
  XlsGrid grid;
  grid.rows = sheet.MaxRow();
  grid.cols = sheet.MaxCol();
  for (int row = 1; row <= sheet.MaxRow(); ++row) {
    for (int col = 1; col <= sheet.MaxCol(); ++col) {
      const QString text = sheet.Text(row, col);
      if (text.isEmpty()) continue;
      XlsCell cell{row - 1, col - 1, text};
      if (const auto number = ParseCellNumber(text)) cell.value = *number;
      grid.cells.push_back(std::move(cell));
    }
  }
  WriteXlsFile(path, grid);
}

}  // namespace workbook
