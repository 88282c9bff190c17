#include "workbook/xls_file.h"

#include <freexl.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <QFile>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/exceptions.h"
#include "platform/whole_file.h"
#include "workbook/biff5_writer.h"
#include "workbook/cell_number.h"
#include "workbook/sheet.h"

namespace workbook {
namespace {

// Excel 5.0 names its workbook stream "Book" (later versions "Workbook").
constexpr char kBookStream[] = "Book";
const QString kSheetName = "Лист1";
// The limits of an Excel 5.0 worksheet.
constexpr unsigned int kMaxRows = 16384;
constexpr unsigned int kMaxCols = 256;

std::string Quoted(const QString& path) { return ("«" + path + "»").toStdString(); }

[[noreturn]] void NotReadable(const QString& path, const std::string& why) {
  throw EReadError("Файл " + Quoted(path) + " не удается прочитать как книгу Microsoft Excel: " + why);
}

struct FreeXlCloser {
  void operator()(const void* handle) const { freexl_close(handle); }
};
using FreeXlHandle = std::unique_ptr<const void, FreeXlCloser>;

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

void InitGsfOnce() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

unsigned int InfoOf(const void* handle, unsigned short what) {
  unsigned int value = 0;
  return freexl_get_info(handle, what, &value) == FREEXL_OK ? value : 0;
}

XlsCell CellFrom(const QString& path, unsigned int row, unsigned short col, const FreeXL_CellValue& value) {
  XlsCell cell{static_cast<int>(row), static_cast<int>(col), 0.0};
  switch (value.type) {
    case FREEXL_CELL_INT:
      cell.value = static_cast<double>(value.value.int_value);
      break;
    case FREEXL_CELL_DOUBLE:
      cell.value = value.value.double_value;
      break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      if (value.value.text_value == nullptr) NotReadable(path, "ячейка без текста");
      cell.value = QString::fromUtf8(value.value.text_value);
      break;
    default:
      NotReadable(path, "неизвестный тип ячейки");
  }
  return cell;
}

void CheckDimensions(const QString& path, unsigned int rows, unsigned short cols) {
  if (rows > kMaxRows || cols > kMaxCols) {
    NotReadable(path,
                QString("лист больше %1 строк или %2 столбцов").arg(kMaxRows).arg(kMaxCols).toStdString());
  }
}

void CheckSheetSize(const QString& path, const QByteArray& native_path) {
  const void* raw = nullptr;
  const int opened = freexl_open_info(native_path.constData(), &raw);
  FreeXlHandle handle(raw);
  if (opened != FREEXL_OK || raw == nullptr || InfoOf(raw, FREEXL_BIFF_SHEET_COUNT) == 0 ||
      freexl_select_active_worksheet(raw, 0) != FREEXL_OK) {
    return;  // the full open names the fault
  }
  unsigned int rows = 0;
  unsigned short cols = 0;
  if (freexl_worksheet_dimensions(raw, &rows, &cols) == FREEXL_OK) CheckDimensions(path, rows, cols);
}

}  // namespace

XlsGrid ReadXlsFile(const QString& path) {
  if (!QFile::exists(path)) throw EFOpenError("Невозможно открыть файл " + Quoted(path) + " !");
  const QByteArray native_path = QFile::encodeName(path);
  // FreeXL holds a cell for every position of the sheet while it reads, so
  // the size is checked first with the abbreviated parse, which holds none.
  CheckSheetSize(path, native_path);
  const void* raw = nullptr;
  const int opened = freexl_open(native_path.constData(), &raw);
  // FreeXL wants its handle closed even after a failed open.
  FreeXlHandle handle(raw);
  if (opened == FREEXL_FILE_NOT_FOUND) throw EFOpenError("Невозможно открыть файл " + Quoted(path) + " !");
  if (opened != FREEXL_OK || raw == nullptr) NotReadable(path, "файл поврежден или имеет другой формат");
  if (InfoOf(raw, FREEXL_BIFF_PASSWORD) == FREEXL_BIFF_OBFUSCATED)
    NotReadable(path, "книга защищена паролем");
  // FreeXL can report success for a file in which it found no worksheet, and
  // reading a cell without a selected sheet crashes it.
  if (InfoOf(raw, FREEXL_BIFF_SHEET_COUNT) == 0) NotReadable(path, "в книге нет ни одного листа");
  if (freexl_select_active_worksheet(raw, 0) != FREEXL_OK) NotReadable(path, "первый лист книги не читается");
  unsigned int rows = 0;
  unsigned short cols = 0;
  if (freexl_worksheet_dimensions(raw, &rows, &cols) != FREEXL_OK) {
    NotReadable(path, "размеры листа не читаются");
  }
  XlsGrid grid;
  CheckDimensions(path, rows, cols);
  grid.rows = static_cast<int>(rows);
  grid.cols = cols;
  for (unsigned int row = 0; row < rows; ++row) {
    for (unsigned short col = 0; col < cols; ++col) {
      FreeXL_CellValue value;
      if (freexl_get_cell_value(raw, row, col, &value) != FREEXL_OK) NotReadable(path, "ячейка не читается");
      if (value.type != FREEXL_CELL_NULL) grid.cells.push_back(CellFrom(path, row, col, value));
    }
  }
  return grid;
}

QByteArray CompoundFile(const char* stream_name, const QByteArray& stream) {
  InitGsfOnce();
  GsfPtr<GsfOutput> sink(gsf_output_memory_new());
  GsfPtr<GsfOutfile> outfile(gsf_outfile_msole_new(sink.get()));
  GsfPtr<GsfOutput> child(gsf_outfile_new_child(outfile.get(), stream_name, FALSE));
  const bool written = child && gsf_output_write(child.get(), static_cast<size_t>(stream.size()),
                                                 reinterpret_cast<const guint8*>(stream.constData()));
  const bool child_closed = child && gsf_output_close(child.get());
  const bool closed = gsf_output_close(GSF_OUTPUT(outfile.get()));
  if (!written || !child_closed || !closed) throw EFCreateError("Не удалось построить составной файл OLE2");
  const gsf_off_t size = gsf_output_size(sink.get());
  const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
  return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
}

void WriteXlsFile(const QString& path, const XlsGrid& grid) {
  const QByteArray file_bytes = CompoundFile(kBookStream, Biff5Workbook(grid, kSheetName));
  platform::WriteWholeFile(QFile::encodeName(path).toStdString(),
                           std::string_view(file_bytes.constData(), file_bytes.size()),
                           "Невозможно создать файл " + Quoted(path) + " !");
}

void ReadXlsToSheet(WorkbookSheet& sheet, const QString& path) {
  const XlsGrid grid = ReadXlsFile(path);
  std::vector<QStringList> cells(static_cast<size_t>(std::max(grid.rows, 0)));
  for (const XlsCell& cell : grid.cells) {
    QStringList& row = cells[static_cast<size_t>(cell.row)];
    if (row.size() <= cell.col) row.resize(cell.col + 1);
    if (const double* number = std::get_if<double>(&cell.value)) {
      row[cell.col] = NumberText(*number);
    } else {
      row[cell.col] = std::get<QString>(cell.value);
    }
  }
  // An empty worksheet comes back as one empty cell.
  sheet.Assign(std::max(grid.rows, 1), std::max(grid.cols, 1), std::move(cells));
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
