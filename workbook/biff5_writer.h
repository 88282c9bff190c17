// Builds the "Book" stream of an Excel 5.0 workbook (BIFF5) holding one
// worksheet, as FreeXL and other spreadsheet programs read it.
#pragma once

#include <QByteArray>
#include <QString>

#include "workbook/xls_grid.h"

namespace workbook {

// The worksheet is named `sheet_name` and has the grid's size as its
// dimensions. Throws Exception for what an Excel 5.0 file cannot hold: a
// size beyond 16384 rows or 256 columns, a cell outside the size, a number
// that is NaN or infinite, a text longer than 255 characters or with a
// character outside code page 1251.
QByteArray Biff5Workbook(const XlsGrid& grid, const QString& sheet_name);

}  // namespace workbook
