// The workbook reader over arbitrary bytes. Bytes that open as an OLE2
// compound file are read as the file; any others as the workbook stream of
// one, so that changed bytes reach the BIFF records behind a sound container.
// A first worksheet that is accepted, and that an Excel 5.0 file can hold,
// is exported as the program exports it and read back: the same size, the
// same texts, and the same cells come back as texts.
#include <QByteArrayView>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "workbook/sheet.h"
#include "workbook/tests/compound_file_at.h"
#include "workbook/xls_file.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

QString InputFile(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  if (bytes.startsWith(QByteArrayView::fromArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))) {
    return QString::fromStdString(fuzz::WriteScratchFile("input.xls", data, size));
  }
  const std::string path = (fuzz::ScratchFolder() / "input.xls").string();
  Check(workbook::WriteCompoundFile(path, "Workbook", bytes));
  return QString::fromStdString(path);
}

void CheckExportedBack(const WorkbookSheet& sheet) {
  const QString path = QString::fromStdString((fuzz::ScratchFolder() / "back.xls").string());
  try {
    workbook::WriteSheetToXls(sheet, path);
  } catch (const EFCreateError&) {
    std::abort();
  } catch (const Exception&) {
    return;  // what an Excel 5.0 file cannot hold
  }
  WorkbookSheet back;
  workbook::ReadXlsToSheet(back, path);
  Check(back.MaxRow() == sheet.MaxRow() && back.MaxCol() == sheet.MaxCol());
  for (int row = 1; row <= sheet.MaxRow(); ++row) {
    for (int col = 1; col <= sheet.MaxCol(); ++col) {
      Check(back.Text(row, col) == sheet.Text(row, col));
      Check(back.CameInAsText(row, col) == sheet.CameInAsText(row, col));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WorkbookSheet sheet;
  try {
    workbook::ReadXlsToSheet(sheet, InputFile(data, size));
  } catch (const EReadError&) {
    return 0;
  }
  CheckExportedBack(sheet);
  return 0;
}
