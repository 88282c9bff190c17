// The workbook reader over arbitrary bytes. Bytes that open as an OLE2
// compound file are read as the file; any others as the workbook stream of
// one, so that changed bytes reach the BIFF records behind a sound container.
// A first worksheet that is accepted, and that an Excel 5.0 file can hold, is
// written and read back: the same size and the same cells, bit for bit.
#include <QByteArray>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "workbook/biff5_writer.h"
#include "workbook/compound_file.h"
#include "workbook/xls_file.h"

namespace {

using workbook::XlsCell;
using workbook::XlsGrid;

void Check(bool holds) {
  if (!holds) std::abort();
}

bool SameValue(const XlsCell& a, const XlsCell& b) {
  if (a.value.index() != b.value.index()) return false;
  if (const double* number = std::get_if<double>(&a.value)) {
    return std::bit_cast<std::uint64_t>(*number) == std::bit_cast<std::uint64_t>(std::get<double>(b.value));
  }
  return std::get<QString>(a.value) == std::get<QString>(b.value);
}

// The file's bytes, written without the flush to disk of a real save.
QString WrittenFile(const char* name, const QByteArray& bytes) {
  return QString::fromStdString(fuzz::WriteScratchFile(
      name, reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

void CheckWrittenBack(const XlsGrid& grid) {
  QByteArray written;
  try {
    written = workbook::CompoundFile("Book", workbook::Biff5Workbook(grid, "Лист1"));
  } catch (const Exception&) {
    return;  // what an Excel 5.0 file cannot hold
  }
  const XlsGrid back = workbook::ReadXlsFile(WrittenFile("back.xls", written)).first;
  Check(back.rows == grid.rows && back.cols == grid.cols && back.cells.size() == grid.cells.size());
  for (std::size_t i = 0; i < grid.cells.size(); ++i) {
    const XlsCell& cell = grid.cells[i];
    Check(back.cells[i].row == cell.row && back.cells[i].col == cell.col && SameValue(back.cells[i], cell));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))) {
    bytes = workbook::CompoundFile("Workbook", bytes);
  }
  std::optional<XlsGrid> grid;
  try {
    grid = workbook::ReadXlsFile(WrittenFile("input.xls", bytes)).first;
  } catch (const EReadError&) {
    return 0;
  }
  CheckWrittenBack(*grid);
  return 0;
}
