#include "workbook/xls_file.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
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

// The file's bytes, read into memory of their own: a file that another
// program shortens meanwhile cannot pull them away. It opens as every file
// from outside does (a pipe is never waited on, what is no plain file is
// refused), and one larger than a workbook can be is refused before it is
// read (EReadError with the reason).
class FileBytes {
 public:
  explicit FileBytes(const QString& path) {
    const std::string open_error = "Невозможно открыть файл " + Quoted(path) + " !";
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        platform::OpenRegularFile(QFile::encodeName(path).toStdString(), open_error), &std::fclose);
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) != 0) throw EFOpenError(open_error);
    if (status.st_size > kMaxFileMegabytes * 1024 * 1024) {
      throw EReadError("файл больше " + std::to_string(kMaxFileMegabytes) + " МБ");
    }
    if (!Read(::fileno(file.get()), static_cast<std::size_t>(status.st_size))) throw EFOpenError(open_error);
  }

  std::string_view View() const { return {static_cast<const char*>(memory_.bytes), size_}; }

 private:
  // Large pages, where the system grants them, make a big file's memory
  // quicker to take.
  bool Read(int fd, std::size_t size) {
    if (size == 0) return true;
    void* bytes = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bytes == MAP_FAILED) return false;
    memory_.bytes = bytes;
    memory_.size = size;
    ::madvise(bytes, size, MADV_HUGEPAGE);
    while (size_ < size) {
      const ssize_t got = ::read(fd, static_cast<char*>(bytes) + size_, size - size_);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;
      size_ += static_cast<std::size_t>(got);
    }
    return true;
  }

  // Unmapped also when the constructor gives up.
  struct Mapping {
    Mapping() = default;
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping() {
      if (size > 0) ::munmap(bytes, size);
    }
    void* bytes = nullptr;
    std::size_t size = 0;
  };

  Mapping memory_;
  std::size_t size_ = 0;
};

BiffWorkbook ReadXls(const QString& path, CellSink& cells) {
  try {
    const FileBytes file(path);
    BiffWorkbook book;
    ReadWorkbookStream(file.View(), [&](QByteArrayView stream) { book = ReadBiffWorkbook(stream, cells); });
    return book;
  } catch (const EReadError& error) {
    throw EReadError("Файл " + Quoted(path) +
                     " не удается прочитать как книгу Microsoft Excel: " + error.Message());
  }
}

class GridSink : public CellSink {
 public:
  void Number(int row, int col, double value) override { cells.push_back({row, col, value}); }
  void Text(int row, int col, QString text) override { cells.push_back({row, col, std::move(text)}); }

  std::vector<XlsCell> cells;
};

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

// The stream goes to the file as it is built, cell by cell; a cell that
// cannot be written leaves the previous file as it was.
void WriteWorkbook(const QString& path, int rows, int cols,
                   const std::function<void(Biff5Writer&)>& put_cells) {
  const auto write = [&](int fd) {
    CompoundFileWriter file(kBookStream, fd);
    Biff5Writer writer(rows, cols, kSheetName, [&](QByteArrayView piece) { file.Write(piece); });
    put_cells(writer);
    writer.Finish();
    return file.Finish();
  };
  platform::WriteWholeFileFrom(QFile::encodeName(path).toStdString(), write,
                               "Невозможно создать файл " + Quoted(path) + " !");
}

}  // namespace

XlsBook ReadXlsFile(const QString& path) {
  GridSink sink;
  BiffWorkbook book = ReadXls(path, sink);
  return {std::move(book.worksheets), {book.rows, book.cols, std::move(sink.cells)}};
}

void WriteXlsFile(const QString& path, const XlsGrid& grid) {
  WriteWorkbook(path, grid.rows, grid.cols, [&](Biff5Writer& writer) {
    for (const XlsCell& cell : grid.cells) writer.Put(cell);
  });
}

QStringList ReadXlsToSheet(WorkbookSheet& sheet, const QString& path) {
  RowsSink sink;
  BiffWorkbook book = ReadXls(path, sink);
  // An empty worksheet comes back as one empty cell.
  sheet.Assign(std::max(book.rows, 1), std::max(book.cols, 1), std::move(sink.rows),
               std::move(sink.came_in_as_text));
  return std::move(book.worksheets);
}

void WriteSheetToXls(const WorkbookSheet& sheet, const QString& path) {
  WriteWorkbook(path, sheet.MaxRow(), sheet.MaxCol(), [&](Biff5Writer& writer) {
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
  });
}

}  // namespace workbook
