// Excel 5.0 workbook files: read with FreeXL (any .xls it reads, first
// worksheet) and written as a BIFF5 workbook in an OLE2 compound file. A
// written file replaces the previous one only once it is complete.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/export.h"
#include "workbook/xls_grid.h"

class WorkbookSheet;

namespace workbook {

// Throws EFOpenError when the file cannot be opened and EReadError when it is
// not a workbook FreeXL can read, holds no worksheet, or is protected.
WB_EXPORT XlsGrid ReadXlsFile(const QString& path);

// Throws Exception for content a BIFF5 file cannot hold and EFCreateError
// when the file cannot be written; the previous file then stays as it was.
WB_EXPORT void WriteXlsFile(const QString& path, const XlsGrid& grid);

// The OLE2 compound file holding one stream.
WB_EXPORT QByteArray CompoundFile(const char* stream_name, const QByteArray& stream);

// The sheet's size and cells go to and come from the worksheet; a text that
// reads as a number in the data-set sense is written as a number, and a
// number is read back as its shortest exact text.
WB_EXPORT void ReadXlsToSheet(WorkbookSheet& sheet, const QString& path);
WB_EXPORT void WriteSheetToXls(const WorkbookSheet& sheet, const QString& path);

}  // namespace workbook
