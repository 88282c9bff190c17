// Excel workbook files: read from Excel 5.0/95 and Excel 97-2003 files (the
// first worksheet, by our own BIFF reader) and written as an Excel 5.0 (BIFF5)
// workbook in an OLE2 compound file. A written file replaces the previous one
// only once it is complete.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/export.h"

class WorkbookSheet;

namespace workbook {

// The sheet's size and cells come from the first worksheet: a number as its
// shortest exact text, any other cell as its text, marked as having come in
// as one (WorkbookSheet::CameInAsText). Returns the names of the workbook's
// worksheets. Throws EFOpenError when the file cannot be opened or is no
// plain file (a folder, a pipe or a device is refused without waiting on
// it), EReadError when it is larger than a workbook can be or holds no
// workbook that can be read (see ReadBiffWorkbook); the sheet then stays as
// it was.
WB_EXPORT QStringList ReadXlsToSheet(WorkbookSheet& sheet, const QString& path);

// The sheet's size and cells go to the first worksheet: a cell that came in
// as a text as a text, any other whose text reads as a number in the
// data-set sense as that number, the rest as texts. Throws Exception for
// content a BIFF5 file cannot hold and EFCreateError when the file cannot be
// written; the previous file then stays as it was.
WB_EXPORT void WriteSheetToXls(const WorkbookSheet& sheet, const QString& path);

}  // namespace workbook
