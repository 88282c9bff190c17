// The content of one Excel worksheet as the file layer sees it: its size and
// its non-empty cells, each a number or a text. Rows and columns count from 0
// here, as in the file.
#pragma once

#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace workbook {

struct XlsCell {
  int row;
  int col;
  std::variant<double, QString> value;
};

struct XlsGrid {
  int rows = 0;
  int cols = 0;
  std::vector<XlsCell> cells;
};

// What is read of a workbook: the names of its worksheets in their order and
// the first one's content.
struct XlsBook {
  QStringList worksheets;
  XlsGrid first;
};

}  // namespace workbook
