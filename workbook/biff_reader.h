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
#include <QString>
#include <QStringList>

namespace workbook {

// Takes the cells of the worksheet as they are read (rows and columns from
// 0). A cell may come more than once; the last value holds.
class CellSink {
 public:
  virtual void Number(int row, int col, double value) = 0;
  virtual void Text(int row, int col, QString text) = 0;

 protected:
  ~CellSink() = default;
};

struct BiffWorkbook {
  // The names of the worksheets in their order.
  QStringList worksheets;
  // The size of the first: its DIMENSIONS, or the last cell when that lies
  // beyond them.
  int rows = 0;
  int cols = 0;
};

// Throws EReadError naming why the stream is refused: damaged or of another
// format, protected by a password, holding no worksheet, a first worksheet
// beyond 16384 rows or 256 columns, texts in a code page not known here.
// The sink may have taken cells by then.
BiffWorkbook ReadBiffWorkbook(QByteArrayView stream, CellSink& cells);

}  // namespace workbook
