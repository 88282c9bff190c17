// Tab-separated text as the sheet takes it from the clipboard: the rows read
// from any text write out as text that reads back as the same rows, and a
// paste that fits puts exactly those rows into the sheet.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/exceptions.h"
#include "workbook/sheet.h"
#include "workbook/tab_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QList<QStringList> rows = workbook::DecodeTabText(text);
  if (workbook::DecodeTabText(workbook::EncodeTabText(rows)) != rows) std::abort();

  WorkbookSheet sheet;
  try {
    sheet.PasteText(1, 1, text);
  } catch (const Exception&) {
    return 0;
  }
  qsizetype width = 0;
  for (const QStringList& row : rows) width = std::max(width, row.size());
  for (QStringList& row : rows) row.resize(width);
  const CellRange pasted{1, 1, static_cast<int>(rows.size()), static_cast<int>(width)};
  if (!rows.isEmpty() && workbook::DecodeTabText(sheet.CopyText(pasted)) != rows) std::abort();
  return 0;
}
