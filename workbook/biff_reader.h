// Reads the first worksheet of a BIFF workbook stream: Excel 5.0/95 (BIFF5,
// texts in the file's code page) or Excel 97-2003 (BIFF8, Unicode texts and
// shared strings).
//
// Every cell comes in as the value it holds, never in its display format:
// numbers (dates and times as their serial numbers), booleans as 1 and 0,
// texts, and errors as their texts ("#N/A", "#DIV/0!" and so on). A formula
// cell comes in as its last computed result.
#pragma once

#include <QByteArrayView>

#include "workbook/xls_grid.h"

namespace workbook {

// Throws EReadError naming why the stream is refused: damaged or of another
// format, protected by a password, holding no worksheet, a first worksheet
// beyond 16384 rows or 256 columns, texts in a code page not known here.
XlsBook ReadBiffWorkbook(QByteArrayView stream);

}  // namespace workbook
