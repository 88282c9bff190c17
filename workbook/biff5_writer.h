// Writes the "Book" stream of an Excel 5.0 workbook (BIFF5) holding one
// worksheet, as other spreadsheet programs read it.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <string>

namespace workbook {

// The stream is built cell by cell and handed on in pieces, so that a full
// worksheet is never held whole on its way to the file.
class Biff5Writer {
 public:
  using Output = std::function<void(QByteArrayView)>;

  // The worksheet is named `sheet_name` and has the given size as its
  // dimensions. Throws Exception for a size beyond 16384 rows or 256 columns
  // (or below 1) and for a name outside code page 1251.
  Biff5Writer(int rows, int cols, const QString& sheet_name, Output output);

  // Throw Exception for what an Excel 5.0 file cannot hold: a cell outside
  // the size, a number that is NaN or infinite, a text longer than 255
  // characters or with a character outside code page 1251.
  void Number(int row, int col, double value);
  void Text(int row, int col, const QString& text);

  // Ends the worksheet and hands on what is left.
  void Finish();

 private:
  void CheckCell(int row, int col) const;
  void HandOnWhenFull();

  int rows_;
  int cols_;
  Output output_;
  std::string buffer_;
};

}  // namespace workbook
