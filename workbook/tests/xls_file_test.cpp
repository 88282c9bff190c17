#include "workbook/xls_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/exceptions.h"
#include "workbook/biff5_writer.h"
#include "workbook/sheet.h"

namespace workbook {
namespace {

// Little-endian record bytes built by hand, as another program would write them.
class Bytes {
 public:
  Bytes& U8(quint8 v) {
    data_.append(static_cast<char>(v));
    return *this;
  }
  Bytes& U16(quint16 v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(quint32 v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& F64(double v) {
    const auto bits = std::bit_cast<quint64>(v);
    return U32(static_cast<quint32>(bits)).U32(static_cast<quint32>(bits >> 32));
  }
  Bytes& Text(const QByteArray& text) {
    data_.append(text);
    return *this;
  }
  // A record: id, length, body.
  Bytes& Record(quint16 id, const Bytes& body) {
    U16(id).U16(static_cast<quint16>(body.data_.size()));
    data_.append(body.data_);
    return *this;
  }
  qsizetype Size() const { return data_.size(); }
  const QByteArray& Data() const { return data_; }

 private:
  QByteArray data_;
};

// The smallest workbook another writer may produce: no fonts, no formats, no
// dimensions; the globals' CODEPAGE and the sheet's BOUNDSHEET as asked for,
// then the worksheet with the given cell records.
QByteArray MinimalWorkbook(const Bytes& cells, bool code_page = true, bool bound_sheet = true) {
  Bytes stream;
  stream.Record(0x0809, Bytes().U16(0x0500).U16(0x0005).U16(0).U16(0));
  if (code_page) stream.Record(0x0042, Bytes().U16(1251));
  const qsizetype sheet_offset = stream.Size() + 4 + 11 + 4;  // BOUNDSHEET and EOF
  if (bound_sheet) {
    stream.Record(0x0085, Bytes().U32(static_cast<quint32>(sheet_offset)).U8(0).U8(0).U8(4).Text("Data"));
  }
  stream.Record(0x000A, Bytes());
  if (bound_sheet) {
    stream.Record(0x0809, Bytes().U16(0x0500).U16(0x0010).U16(0).U16(0))
        .Text(cells.Data())
        .Record(0x000A, Bytes());
  }
  return CompoundFile("Book", stream.Data());
}

class XlsFileTest : public testing::Test {
 protected:
  QString PathOf(const char* name) const { return folder_.filePath(name); }

  QString WriteBytes(const char* name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  template <typename Error>
  static std::string RefusalOf(const QString& path) {
    try {
      ReadXlsFile(path);
    } catch (const Error& error) {
      return error.Message();
    }
    ADD_FAILURE() << "not refused";
    return {};
  }

  QTemporaryDir folder_;
};

TEST_F(XlsFileTest, AWrittenWorkbookReadsBackThroughFreeXlExactly) {
  XlsGrid grid;
  grid.rows = 300;
  grid.cols = 7;
  const double values[] = {1.5,
                           -0.0,
                           0.1 + 0.2,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(),
                           -123456789.0,
                           1e-300};
  for (int i = 0; i < 7; ++i) grid.cells.push_back({i, i, values[i]});
  grid.cells.push_back({0, 1, QString("Выборка №1")});
  grid.cells.push_back({299, 6, QString(255, u'я')});
  const QString path = PathOf("book.xls");
  WriteXlsFile(path, grid);

  EXPECT_TRUE(ReadBytes(path).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));  // OLE2 signature
  const XlsGrid back = ReadXlsFile(path);
  EXPECT_EQ(back.rows, 300);
  EXPECT_EQ(back.cols, 7);
  ASSERT_EQ(back.cells.size(), grid.cells.size());
  for (const XlsCell& cell : grid.cells) {
    const auto found = std::find_if(back.cells.begin(), back.cells.end(),
                                    [&](const XlsCell& c) { return c.row == cell.row && c.col == cell.col; });
    ASSERT_NE(found, back.cells.end());
    if (const double* number = std::get_if<double>(&cell.value)) {
      ASSERT_TRUE(std::holds_alternative<double>(found->value));
      EXPECT_EQ(std::bit_cast<quint64>(std::get<double>(found->value)), std::bit_cast<quint64>(*number));
    } else {
      EXPECT_EQ(std::get<QString>(found->value), std::get<QString>(cell.value));
    }
  }
}

// The worksheet substream laid out by hand from the BIFF5 record layouts.
TEST_F(XlsFileTest, TheWorksheetRecordsAreLaidOutByteForByte) {
  XlsGrid grid;
  grid.rows = 2;
  grid.cols = 3;
  grid.cells.push_back({0, 2, 2.5});
  grid.cells.push_back({1, 0, QString("Ёж")});
  const QByteArray stream = Biff5Workbook(grid, "Лист1");

  Bytes sheet;
  sheet.Record(0x0809, Bytes().U16(0x0500).U16(0x0010).U16(0x096C).U16(0x07C9))
      .Record(0x0200, Bytes().U16(0).U16(2).U16(0).U16(3).U16(0))
      .Record(0x0203, Bytes().U16(0).U16(2).U16(15).F64(2.5))
      .Record(0x0204, Bytes().U16(1).U16(0).U16(15).U16(2).Text("\xA8\xE6"))
      .Record(0x023E, Bytes().U16(0x06B6).U16(0).U16(0).U32(0))
      .Record(0x000A, Bytes());
  ASSERT_TRUE(stream.endsWith(sheet.Data()));

  // The globals open with BOF and CODEPAGE 1251 and end with the sheet's
  // BOUNDSHEET, which points at the worksheet's BOF, and EOF.
  const qsizetype sheet_offset = stream.size() - sheet.Size();
  EXPECT_TRUE(stream.startsWith(Bytes()
                                    .Record(0x0809, Bytes().U16(0x0500).U16(0x0005).U16(0x096C).U16(0x07C9))
                                    .Record(0x0042, Bytes().U16(1251))
                                    .Data()));
  const Bytes bound_sheet =
      Bytes()
          .Record(
              0x0085,
              Bytes().U32(static_cast<quint32>(sheet_offset)).U8(0).U8(0).U8(5).Text("\xCB\xE8\xF1\xF2\x31"))
          .Record(0x000A, Bytes());
  EXPECT_EQ(stream.mid(sheet_offset - bound_sheet.Size(), bound_sheet.Size()), bound_sheet.Data());
}

TEST_F(XlsFileTest, WhatAnExcel5FileCannotHoldIsRefusedAndTheOldFileStays) {
  const QString path = WriteBytes("kept.xls", "previous content");
  const auto refused = [&](XlsGrid grid) {
    EXPECT_THROW(WriteXlsFile(path, grid), Exception);
    EXPECT_EQ(ReadBytes(path), "previous content");
  };
  for (const XlsGrid& grid :
       std::initializer_list<XlsGrid>{{1, 1, {{0, 0, std::nan("")}}},
                                      {1, 1, {{0, 0, std::numeric_limits<double>::infinity()}}},
                                      {1, 1, {{0, 0, -std::numeric_limits<double>::infinity()}}},
                                      {1, 1, {{0, 0, QString(256, u'a')}}},
                                      {1, 1, {{0, 0, QString("漢字")}}},
                                      {1, 1, {{1, 0, 1.0}}},
                                      {0, 1, {}},
                                      {16385, 1, {}},
                                      {1, 257, {}}}) {
    refused(grid);
  }
  try {
    WriteXlsFile(path, {3, 3, {{2, 1, std::nan("")}}});
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(),
              "Значение в ячейке (строка 3, столбец 2) не является конечным числом и не может быть записано "
              "в книгу");
  }
  EXPECT_THROW(WriteXlsFile(folder_.path(), {1, 1, {}}), EFCreateError);
}

// Integers come as RK values in another writer's files.
TEST_F(XlsFileTest, ReadsAMinimalBiff5WorkbookOfAnotherWriter) {
  const Bytes cells = Bytes()
                          .Record(0x027E, Bytes().U16(0).U16(0).U16(0).U32((42u << 2) | 2u))  // RK integer 42
                          .Record(0x027E, Bytes().U16(0).U16(1).U16(0).U32(0x3FF80000u))      // RK double 1.5
                          .Record(0x0203, Bytes().U16(2).U16(1).U16(0).F64(-0.25))
                          .Record(0x0204, Bytes().U16(1).U16(0).U16(0).U16(3).Text("\xF0\xFF\xE4"));
  const QString path = WriteBytes("other.xls", MinimalWorkbook(cells));
  WorkbookSheet sheet;
  ReadXlsToSheet(sheet, path);
  EXPECT_EQ(sheet.MaxRow(), 3);
  EXPECT_EQ(sheet.MaxCol(), 2);
  EXPECT_EQ(sheet.Text(1, 1), "42");
  EXPECT_EQ(sheet.Text(1, 2), "1.5");
  EXPECT_EQ(sheet.Text(2, 1), "ряд");
  EXPECT_EQ(sheet.Text(3, 2), "-0.25");
  EXPECT_EQ(sheet.Text(3, 1), "");
}

TEST_F(XlsFileTest, FilesFreeXlCannotReadAreRefusedWithAClearMessage) {
  EXPECT_EQ(RefusalOf<EFOpenError>(PathOf("missing.xls")),
            "Невозможно открыть файл «" + PathOf("missing.xls").toStdString() + "» !");
  const QString junk = WriteBytes("junk.xls", QByteArray(5000, 'x'));
  EXPECT_EQ(RefusalOf<EReadError>(junk),
            "Файл «" + junk.toStdString() +
                "» не удается прочитать как книгу Microsoft Excel: файл поврежден "
                "или имеет другой формат");
  RefusalOf<EReadError>(WriteBytes("cut.xls", ReadBytes(junk).left(100)));
  RefusalOf<EReadError>(WriteBytes("garbage_book.xls", CompoundFile("Book", QByteArray(600, '\x07'))));

  // FreeXL reports success for these but hands back no workbook or no sheet.
  const Bytes one = Bytes().Record(0x0203, Bytes().U16(0).U16(0).U16(0).F64(1));
  const QString no_code_page = WriteBytes("no_code_page.xls", MinimalWorkbook(one, false, true));
  EXPECT_EQ(RefusalOf<EReadError>(no_code_page),
            "Файл «" + no_code_page.toStdString() +
                "» не удается прочитать как книгу Microsoft Excel: файл поврежден или имеет другой формат");
  const QString no_sheet = WriteBytes("no_sheet.xls", MinimalWorkbook(one, true, false));
  EXPECT_EQ(RefusalOf<EReadError>(no_sheet),
            "Файл «" + no_sheet.toStdString() +
                "» не удается прочитать как книгу Microsoft Excel: в книге нет ни "
                "одного листа");
}

// Numbers in either decimal notation go to the file as numbers; a text
// beyond a double's range stays text.
TEST_F(XlsFileTest, ASheetGoesToTheFileWithItsSizeAndNumberTexts) {
  WorkbookSheet sheet;
  sheet.SetMaxRow(4);
  sheet.SetMaxCol(3);
  sheet.SetText(1, 1, "2,25");
  sheet.SetText(1, 2, "1.50");
  sheet.SetText(4, 3, "1e999");
  const QString path = PathOf("sheet.xls");
  WriteSheetToXls(sheet, path);
  WorkbookSheet back;
  ReadXlsToSheet(back, path);
  EXPECT_EQ(back.MaxRow(), 4);
  EXPECT_EQ(back.MaxCol(), 3);
  EXPECT_EQ(back.CopyText({1, 1, 4, 3}), "2.25\t1.5\t\n\t\t\n\t\t\n\t\t1e999\n");
}

}  // namespace
}  // namespace workbook
