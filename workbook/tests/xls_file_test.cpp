#include "workbook/xls_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "workbook/biff5_writer.h"
#include "workbook/cell_number.h"
#include "workbook/sheet.h"
#include "workbook/tests/compound_file_at.h"

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

struct SheetOf {
  Bytes records;
  quint8 type = 0;  // worksheet
  QByteArray name = "Data";
};

// A workbook stream as another writer may lay it out: BOF, the given global
// records, a BOUNDSHEET per sheet, EOF; then each sheet from its BOF to its
// EOF. Every record of the globals comes before the sheets.
QByteArray Stream(bool biff8, const Bytes& globals, const std::vector<SheetOf>& sheets) {
  const quint16 version = biff8 ? 0x0600 : 0x0500;
  const auto bound_sheet = [&](quint32 offset, const SheetOf& sheet) {
    Bytes body = Bytes().U32(offset).U8(0).U8(sheet.type).U8(static_cast<quint8>(sheet.name.size()));
    if (biff8) body.U8(0);  // one byte a character
    return Bytes().Record(0x0085, body.Text(sheet.name));
  };
  std::vector<Bytes> substreams;
  qsizetype offset =
      Bytes().Record(0x0809, Bytes().U16(version).U16(5).U16(0).U16(0)).Text(globals.Data()).Size() +
      4;  // EOF
  for (const SheetOf& sheet : sheets) offset += bound_sheet(0, sheet).Size();
  Bytes stream;
  stream.Record(0x0809, Bytes().U16(version).U16(5).U16(0).U16(0)).Text(globals.Data());
  for (const SheetOf& sheet : sheets) {
    substreams.push_back(Bytes()
                             .Record(0x0809, Bytes().U16(version).U16(0x0010).U16(0).U16(0))
                             .Text(sheet.records.Data())
                             .Record(0x000A, Bytes()));
    stream.Text(bound_sheet(static_cast<quint32>(offset), sheet).Data());
    offset += substreams.back().Size();
  }
  stream.Record(0x000A, Bytes());
  for (const Bytes& substream : substreams) stream.Text(substream.Data());
  return stream.Data();
}

// Cell records: row, column, format 0, then the rest.
Bytes Cell(int row, int col) {
  return Bytes().U16(static_cast<quint16>(row)).U16(static_cast<quint16>(col)).U16(0);
}
Bytes Number(int row, int col, double value) { return Bytes().Record(0x0203, Cell(row, col).F64(value)); }
// FORMULA with its 8 result bytes, no options and an empty expression.
Bytes Formula(int row, int col, quint64 result) {
  return Bytes().Record(
      0x0006, Cell(row, col).U32(static_cast<quint32>(result)).U32(result >> 32).U16(0).U32(0).U16(0));
}
quint64 SpecialResult(quint8 kind, quint8 value) {
  return 0xFFFF000000000000ull | quint64{value} << 16 | kind;
}
// BIFF8 texts: a 2-byte count and one byte a character, or two.
Bytes Narrow(const QByteArray& latin1) {
  return Bytes().U16(static_cast<quint16>(latin1.size())).U8(0).Text(latin1);
}
Bytes Wide(const QString& text) {
  Bytes bytes;
  bytes.U16(static_cast<quint16>(text.size())).U8(1);
  for (QChar ch : text) bytes.U16(ch.unicode());
  return bytes;
}
// BIFF5 texts: a 2-byte count and the bytes.
Bytes Biff5Text(const QByteArray& bytes) {
  return Bytes().U16(static_cast<quint16>(bytes.size())).Text(bytes);
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

  QString WriteStream(const char* name, const char* stream_name, const QByteArray& stream) const {
    EXPECT_TRUE(WriteCompoundFile(QFile::encodeName(PathOf(name)).toStdString(), stream_name, stream));
    return PathOf(name);
  }

  QString WriteWorkbook(const char* name, bool biff8, const Bytes& globals, const Bytes& cells) const {
    return WriteStream(name, biff8 ? "Workbook" : "Book", Stream(biff8, globals, {{cells}}));
  }

  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  template <typename Error, typename Read>
  static std::string RefusalOf(Read read) {
    try {
      read();
    } catch (const Error& error) {
      return error.Message();
    }
    ADD_FAILURE() << "not refused";
    return {};
  }

  QTemporaryDir folder_;
  const QByteArray good_stream_ = Stream(true, {}, {{Number(0, 0, 1)}});
};

// What a workbook held leaves an export as it came: numbers bit for bit,
// texts as texts even where they read as numbers, so that codes keep their
// zeros. A cell typed into the sheet goes out as a number when it reads as
// one.
TEST_F(XlsFileTest, AnImportedWorkbookIsExportedWithTheKindsAndValuesOfItsCells) {
  const double numbers[] = {1.5,
                            -0.0,
                            0.1 + 0.2,
                            std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::max(),
                            -123456789.0,
                            1e-300};
  const QString texts[] = {"007", "0012345", "1,5", " 12 ", "-0", "Выборка №1", QString(255, u'я')};
  Bytes cells;
  cells.Record(0x0200, Bytes().U16(0).U16(300).U16(0).U16(7).U16(0));
  for (int i = 0; i < 7; ++i) {
    cells.Text(Number(i, 0, numbers[i]).Data());
    const QByteArray text = QByteArray::fromStdString(platform::Utf8ToCp1251(texts[i].toStdString()));
    cells.Record(0x0204, Cell(i, 1).Text(Biff5Text(text).Data()));
  }
  WorkbookSheet sheet;
  ReadXlsToSheet(sheet, WriteWorkbook("imported.xls", false, {}, cells));
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(sheet.Text(i + 1, 1), NumberText(numbers[i]));
    EXPECT_FALSE(sheet.CameInAsText(i + 1, 1));
    EXPECT_EQ(sheet.Text(i + 1, 2), texts[i]);
    EXPECT_TRUE(sheet.CameInAsText(i + 1, 2));
  }
  sheet.SetText(1, 2, "0070");
  sheet.SetText(300, 7, "0042");
  const QString path = PathOf("exported.xls");
  WriteSheetToXls(sheet, path);

  EXPECT_TRUE(ReadBytes(path).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));  // OLE2 signature
  WorkbookSheet back;
  ReadXlsToSheet(back, path);
  ASSERT_EQ(back.MaxRow(), 300);
  ASSERT_EQ(back.MaxCol(), 7);
  EXPECT_EQ(back.Text(1, 2), "70");
  EXPECT_EQ(back.Text(300, 7), "42");
  sheet.SetText(1, 2, "70");
  sheet.SetText(300, 7, "42");
  for (int row = 1; row <= 300; ++row) {
    for (int col = 1; col <= 7; ++col) {
      SCOPED_TRACE(testing::Message() << "row " << row << ", column " << col);
      EXPECT_EQ(back.Text(row, col), sheet.Text(row, col));
      EXPECT_EQ(back.CameInAsText(row, col), sheet.CameInAsText(row, col));
    }
  }
}

// The worksheet substream laid out by hand from the BIFF5 record layouts.
TEST_F(XlsFileTest, TheWorksheetRecordsAreLaidOutByteForByte) {
  QByteArray stream;
  Biff5Writer writer(2, 3, "Лист1", [&](QByteArrayView piece) { stream.append(piece); });
  writer.Number(0, 2, 2.5);
  writer.Text(1, 0, "Ёж");
  writer.Finish();

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

TEST_F(XlsFileTest, WhatAnExcel5FileCannotHoldIsRefused) {
  const auto refusal = [](int rows, int cols, const std::function<void(Biff5Writer&)>& put) {
    return RefusalOf<Exception>([&] {
      Biff5Writer writer(rows, cols, "Лист1", [](QByteArrayView) {});
      put(writer);
    });
  };
  const auto none = [](Biff5Writer&) {};
  EXPECT_EQ(refusal(3, 3, [](Biff5Writer& w) { w.Number(2, 1, std::nan("")); }),
            "Значение в ячейке (строка 3, столбец 2) не является конечным числом и не может быть записано в "
            "книгу");
  refusal(1, 1, [](Biff5Writer& w) { w.Number(0, 0, std::numeric_limits<double>::infinity()); });
  refusal(1, 1, [](Biff5Writer& w) { w.Number(0, 0, -std::numeric_limits<double>::infinity()); });
  refusal(1, 1, [](Biff5Writer& w) { w.Text(0, 0, QString(256, u'a')); });
  refusal(1, 1, [](Biff5Writer& w) { w.Text(0, 0, "漢字"); });
  refusal(1, 1, [](Biff5Writer& w) { w.Number(1, 0, 1); });
  refusal(0, 1, none);
  refusal(16385, 1, none);
  refusal(1, 257, none);
}

// Every cell comes in as the value it holds: numbers bit for bit (their
// texts are the shortest exact ones), booleans as 1 and 0, errors as their
// texts, formulas as their cached results. Each case is one worksheet; the
// expected sheet is given as tab-separated rows.
TEST_F(XlsFileTest, EveryCellKindComesInAsItsValue) {
  const quint32 minus_seven = static_cast<quint32>(-7 * 4) | 2u;
  const Bytes rich_sst =  // three strings, the second and third going on in CONTINUE records
      Bytes()
          .Record(0x00FC, Bytes().U32(3).U32(3).Text(Narrow("ab").Data()).U16(4).U8(1).U16(u'Ё').U16(u'ж'))
          .Record(0x003C, Bytes().U8(1).U16(u'и').U16(u'к').U16(3).U8(0x08).U16(1).Text("x"))
          .Record(0x003C, Bytes().U8(1).U16(u'ю').U16(u'я').U16(0).U16(0));  // then the formatting run
  const struct {
    const char* what;
    bool biff8;
    Bytes globals;
    Bytes cells;
    QString sheet;
  } cases[] = {
      {"NUMBER, RK and MULRK",
       false,
       {},
       Bytes()
           .Text(Number(0, 0, 0.1 + 0.2).Data())
           .Record(0x027E, Cell(0, 1).U32((42u << 2) | 2u))
           .Record(0x027E, Cell(0, 2).U32(minus_seven))
           .Record(0x027E, Cell(0, 3).U32((12345u << 2) | 3u))  // integer, hundredths
           .Record(0x027E, Cell(0, 4).U32(0x3FF80000u | 1u))    // 1.5, hundredths
           .Record(0x00BD, Bytes().U16(1).U16(1).U16(0).U32(2u << 2 | 2u).U16(0).U32(0xC0040000u).U16(2)),
       "0.30000000000000004\t42\t-7\t123.45\t0.015\n\t2\t-2.5\t\t\n"},
      {"LABEL and RSTRING in code page 1251 without CODEPAGE",
       false,
       {},
       Bytes()
           .Record(0x0204, Cell(0, 0).Text(Biff5Text("\xF0\xFF\xE4").Data()))
           .Record(0x00D6, Cell(0, 1).Text(Biff5Text("\xB8\xE6").Data()).U8(1).U16(0).U16(1)),
       "ряд\tёж\n"},
      {"LABEL in the file's CODEPAGE", false, Bytes().Record(0x0042, Bytes().U16(1252)),
       Bytes().Record(0x0204, Cell(0, 0).Text(Biff5Text("\xE9t\xE9").Data())), "été\n"},
      {"LABEL and RSTRING going on in CONTINUE records",
       false,
       {},
       Bytes()
           .Record(0x0204, Cell(0, 0).U16(5).Text("\xE4\xFB"))
           .Record(0x003C, Bytes().Text("\xEC\xEE\xEA"))
           .Record(0x00D6, Cell(0, 1).U16(4).Text("\xB8"))
           .Record(0x003C, Bytes().Text("\xE6"))
           .Record(0x003C, Bytes().Text("\xE8\xEA").U8(0)),
       "дымок\tёжик\n"},
      {"BIFF8 LABEL, RSTRING and LABELSST from shared strings with CONTINUE", true, rich_sst,
       Bytes()
           .Record(0x0204, Cell(0, 0).Text(Narrow("abc").Data()))
           .Record(0x00D6, Cell(0, 1).Text(Wide("Ёж").Data()).U16(0))
           .Record(0x00FD, Cell(1, 0).U32(0))
           .Record(0x00FD, Cell(1, 1).U32(1))
           .Record(0x00FD, Cell(1, 2).U32(2)),
       "abc\tЁж\t\nab\tЁжик\txюя\n"},
      {"BLANK and MULBLANK only size the sheet, as DIMENSIONS does",
       true,
       {},
       Bytes()
           .Record(0x0200, Bytes().U32(0).U32(2).U16(0).U16(2).U16(0))
           .Record(0x0201, Cell(3, 0))
           .Record(0x00BE, Bytes().U16(0).U16(1).U16(0).U16(0).U16(2)),
       "\t\t\n\t\t\n\t\t\n\t\t\n"},
      {"BOOLERR: booleans as 1 and 0, errors as their texts",
       false,
       {},
       Bytes()
           .Record(0x0205, Cell(0, 0).U8(1).U8(0))
           .Record(0x0205, Cell(0, 1).U8(0).U8(0))
           .Record(0x0205, Cell(0, 2).U8(0x00).U8(1))
           .Record(0x0205, Cell(0, 3).U8(0x07).U8(1))
           .Record(0x0205, Cell(1, 0).U8(0x0F).U8(1))
           .Record(0x0205, Cell(1, 1).U8(0x17).U8(1))
           .Record(0x0205, Cell(1, 2).U8(0x1D).U8(1))
           .Record(0x0205, Cell(1, 3).U8(0x24).U8(1))
           .Record(0x0205, Cell(2, 0).U8(0x2A).U8(1)),
       "1\t0\t#NULL!\t#DIV/0!\n#VALUE!\t#REF!\t#NAME?\t#NUM!\n#N/A\t\t\t\n"},
      {"BIFF5 FORMULA results: number, text after a shared formula, boolean, error, empty text",
       false,
       {},
       Bytes()
           .Text(Formula(0, 0, std::bit_cast<quint64>(-2.5)).Data())
           .Text(Formula(0, 1, SpecialResult(0, 0)).Data())
           .Record(0x04BC, Bytes().U32(0).U16(0))
           .Record(0x0207, Biff5Text("\xEA\xEE\xF2"))
           .Text(Formula(0, 2, SpecialResult(1, 1)).Data())
           .Text(Formula(0, 3, SpecialResult(2, 0x17)).Data())
           .Text(Formula(0, 4, SpecialResult(3, 0)).Data()),
       "-2.5\tкот\t1\t#REF!\t\n"},
      {"BIFF8 FORMULA text result going on in a CONTINUE record",
       true,
       {},
       Bytes()
           .Text(Formula(0, 0, SpecialResult(0, 0)).Data())
           .Record(0x0207, Bytes().U16(4).U8(0).Text("ab"))
           .Record(0x003C, Bytes().U8(1).U16(u'в').U16(u'г')),
       "abвг\n"},
      {"an embedded chart's records are not the sheet's",
       true,
       {},
       Bytes()
           .Text(Number(0, 0, 1).Data())
           .Record(0x0809, Bytes().U16(0x0600).U16(0x0020).U16(0).U16(0))
           .Text(Number(5, 5, 2).Data())
           .Record(0x000A, Bytes())
           .Text(Number(0, 1, 3).Data()),
       "1\t3\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkbookSheet sheet;
    EXPECT_EQ(ReadXlsToSheet(sheet, WriteWorkbook("kind.xls", c.biff8, c.globals, c.cells)),
              QStringList{"Data"});
    EXPECT_EQ(sheet.CopyText({1, 1, sheet.MaxRow(), sheet.MaxCol()}), c.sheet);
  }
}

// Each code page a CODEPAGE record may name, told apart from its neighbours
// by a character of the published tables; Johab has no decoder here, and
// numbers the format does not name are refused.
TEST_F(XlsFileTest, TextsOfAnExcel95FileComeInInTheCodePageItNames) {
  const struct {
    quint16 page;
    const char* bytes;
    const char16_t* text;  // nullptr: refused
  } cases[] = {
      {367, "A", u"A"},         {437, "\x80", u"Ç"},      {720, "\x98", u"ء"},      {737, "\x80", u"Α"},
      {775, "\x80", u"Ć"},      {850, "\xD5", u"ı"},      {852, "\x85", u"ů"},      {855, "\x80", u"ђ"},
      {857, "\x8D", u"ı"},      {858, "\xD5", u"€"},      {860, "\x84", u"ã"},      {861, "\x8B", u"Ð"},
      {862, "\x80", u"א"},      {863, "\x84", u"Â"},      {864, "\x80", u"°"},      {865, "\xAF", u"¤"},
      {866, "\x80", u"А"},      {869, "\x86", u"Ά"},      {874, "\x80\xA1", u"€ก"}, {932, "\x87\x40", u"①"},
      {936, "\xB0\xA1", u"啊"}, {949, "\x81\x41", u"갂"}, {950, "\xF9\xFE", u"▓"},  {1250, "\x8A", u"Š"},
      {1251, "\xC0", u"А"},     {1252, "\x80", u"€"},     {1253, "\xC1", u"Α"},     {1254, "\xD0", u"Ğ"},
      {1255, "\xE0", u"א"},     {1256, "\xC7", u"ا"},     {1257, "\xC0", u"Ą"},     {1258, "\xC3", u"Ă"},
      {10000, "\x80", u"Ä"},    {32768, "\x80", u"Ä"},    {32769, "\x80", u"€"},    {1200, "plain", u"plain"},
      {1200, "\xE9", u"é"},     {1361, "A", nullptr},     {1201, "A", nullptr},     {65001, "A", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    const QString path = WriteWorkbook("page.xls", false, Bytes().Record(0x0042, Bytes().U16(c.page)),
                                       Bytes().Record(0x0204, Cell(0, 0).Text(Biff5Text(c.bytes).Data())));
    WorkbookSheet sheet;
    if (c.text == nullptr) {
      EXPECT_THAT(RefusalOf<EReadError>([&] { ReadXlsToSheet(sheet, path); }),
                  testing::EndsWith(QString("(%1) не поддерживается").arg(c.page).toStdString()));
    } else {
      EXPECT_EQ(ReadXlsToSheet(sheet, path), QStringList{"Data"});
      EXPECT_EQ(sheet.Text(1, 1), QString::fromUtf16(c.text));
    }
  }
}

// ssconvert names UTF-16 in the Excel 5.0/95 files it makes of Excel 97 ones,
// and writes plain texts there in one byte a character (see data/README.md).
TEST_F(XlsFileTest, AnExcel95FileNamingUtf16ReadsItsPlainTextsWhole) {
  WorkbookSheet sheet;
  EXPECT_EQ(ReadXlsToSheet(sheet, QString(WB_WORKBOOK_TEST_DATA) + "/gnumeric_biff7_utf16_code_page.xls"),
            QStringList{"excel97_texts.csv"});
  EXPECT_EQ(sheet.CopyText({1, 1, 1, 2}), "plain bold tail\t1.5\n");
}

// The cells of each file, and the names of its worksheets, as another reader
// (xlrd) sees them; see data/README.md.
TEST_F(XlsFileTest, WorkbooksOfOtherProgramsReadAsAnotherReaderSeesThem) {
  for (const char* name : {"libreoffice_97", "gnumeric_biff7", "gnumeric_dsf"}) {
    SCOPED_TRACE(name);
    const QString data = QString(WB_WORKBOOK_TEST_DATA) + "/" + name;
    QStringList expected = QString::fromUtf8(ReadBytes(data + ".cells")).split('\n', Qt::SkipEmptyParts);
    WorkbookSheet sheet;
    QStringList seen{"sheets\t" + ReadXlsToSheet(sheet, data + ".xls").join('\t')};
    for (int row = 1; row <= sheet.MaxRow(); ++row) {
      for (int col = 1; col <= sheet.MaxCol(); ++col) {
        const QString text = sheet.Text(row, col);
        const QString at = QString("%1\t%2\t").arg(row - 1).arg(col - 1);
        if (sheet.CameInAsText(row, col)) {
          seen.append(at + "T\t" + text);
        } else if (!text.isEmpty()) {
          const quint64 bits = std::bit_cast<quint64>(ParseCellNumber(text).value());
          seen.append(at + "N\t" + QString::number(bits, 16).toUpper().rightJustified(16, '0'));
        }
      }
    }
    std::sort(expected.begin() + 1, expected.end());
    std::sort(seen.begin() + 1, seen.end());
    EXPECT_EQ(seen, expected);
  }
}

// Texts too long for one record go on in CONTINUE records, as ssconvert
// writes them into an Excel 5.0/95 file: they come in whole, in the file's
// code page (see data/README.md).
TEST_F(XlsFileTest, LongTextsOfAnExcel95FileComeInWhole) {
  const auto words = [](const QString& stem, int length) {
    QString text;
    for (int i = 1; text.size() < length; ++i) text += stem + QString::number(i) + " ";
    return text.left(length);
  };
  WorkbookSheet sheet;
  ReadXlsToSheet(sheet, QString(WB_WORKBOOK_TEST_DATA) + "/gnumeric_biff7_long_texts.xls");
  EXPECT_EQ(sheet.Text(1, 1), words("слово", 3000));
  EXPECT_EQ(sheet.Text(1, 2), "1.5");
  EXPECT_EQ(sheet.Text(2, 1), words("Ёжик", 9000));
  EXPECT_EQ(sheet.Text(3, 1), words("слово", 2100) + "!");  // a formula's result
  EXPECT_EQ(sheet.Text(4, 1), "конец");
}

// ssconvert goes on with a formula's text result of more than 8 221 bytes in
// a CONTINUE record without the width byte, cutting a two-byte character in
// two (see data/README.md).
TEST_F(XlsFileTest, LongFormulaResultsOfAnSsconvertExcel97FileComeInWhole) {
  WorkbookSheet sheet;
  ReadXlsToSheet(sheet, QString(WB_WORKBOOK_TEST_DATA) + "/gnumeric_97_long_results.xls");
  EXPECT_EQ(sheet.Text(1, 1), QString("ab").repeated(5000));
  EXPECT_EQ(sheet.Text(2, 1), QString("жи").repeated(2500));
  EXPECT_EQ(sheet.Text(3, 1), "end");
}

// A damaged stream is refused with its reason, and the sheet it was to be
// read into stays as it was.
TEST_F(XlsFileTest, DamagedWorkbooksAreRefusedWithTheirReasonAndTheSheetStays) {
  const std::string damaged = "файл поврежден или имеет другой формат";
  const std::string too_large = "лист больше 16384 строк или 256 столбцов";
  const QByteArray good = Stream(true, {}, {{Number(0, 0, 1)}});
  const struct {
    const char* what;
    QByteArray stream;
    std::string why;
  } cases[] = {
      {"cut inside a record", good.left(good.size() - 6), damaged},
      {"no EOF", good.left(good.size() - 4), damaged},
      {"a record longer than the stream", good.left(good.size() - 4) + Bytes().U16(0x0203).U16(40).Data(),
       damaged},
      {"a sheet offset beyond the stream",
       Bytes()
           .Record(0x0809, Bytes().U16(0x0600).U16(5))
           .Record(0x0085, Bytes().U32(0x7FFFFFF0).U8(0).U8(0).U8(1).U8(0).Text("S"))
           .Record(0x000A, Bytes())
           .Data(),
       damaged},
      {"a sheet offset at the globals' BOF",
       Bytes()
           .Record(0x0809, Bytes().U16(0x0600).U16(5))
           .Record(0x0085, Bytes().U32(0).U8(0).U8(0).U8(1).U8(0).Text("S"))
           .Record(0x000A, Bytes())
           .Data(),
       damaged},
      {"a shared string beyond the table",
       Stream(true, Bytes().Record(0x00FC, Bytes().U32(1).U32(1).Text(Narrow("a").Data())),
              {{Bytes().Record(0x00FD, Cell(0, 0).U32(1))}}),
       damaged},
      {"fewer shared strings than counted",
       Stream(true, Bytes().Record(0x00FC, Bytes().U32(1).U32(0xFFFFFFFF).Text(Narrow("a").Data())), {{}}),
       damaged},
      {"a text longer than its record",
       Stream(true, {}, {{Bytes().Record(0x0204, Cell(0, 0).U16(300).U8(1).Text("ab"))}}), damaged},
      {"MULRK whose last column disagrees with its length",
       Stream(false, {}, {{Bytes().Record(0x00BD, Bytes().U16(0).U16(0).U16(0).U32(2).U16(5))}}), damaged},
      {"a formula's text result going on unmarked, a byte short",
       Stream(true, {},
              {{Formula(0, 0, SpecialResult(0, 0))
                    .Record(0x0207, Bytes().U16(4).U8(1).U16(u'a'))
                    .Record(0x003C, Bytes().U16(u'b').U8(0x63))}}),
       damaged},
      {"a formula's text result going on unmarked, a byte over",
       Stream(true, {},
              {{Formula(0, 0, SpecialResult(0, 0))
                    .Record(0x0207, Bytes().U16(3).U8(0).Text("a"))
                    .Record(0x003C, Bytes().Text("cde"))}}),
       damaged},
      {"a formula's text result with no STRING record",
       Stream(false, {}, {{Formula(0, 0, SpecialResult(0, 0))}}), damaged},
      {"an unknown error code", Stream(false, {}, {{Bytes().Record(0x0205, Cell(0, 0).U8(0x03).U8(1))}}),
       damaged},
      {"a number that is not finite", Stream(false, {}, {{Number(0, 0, std::nan(""))}}), damaged},
      {"a second, oversized DIMENSIONS",
       Stream(true, {},
              {{Bytes()
                    .Record(0x0200, Bytes().U32(0).U32(2).U16(0).U16(2).U16(0))
                    .Record(0x0200, Bytes().U32(0).U32(0xFFFFFFFF).U16(0).U16(0xFFFF).U16(0))}}),
       too_large},
      {"a cell below row 16384", Stream(false, {}, {{Number(16384, 0, 1)}}), too_large},
      {"blank cells right of column 256",
       Stream(true, {}, {{Bytes().Record(0x00BE, Bytes().U16(0).U16(255).U16(0).U16(0).U16(256))}}),
       too_large},
      {"a password", Stream(false, Bytes().Record(0x002F, Bytes().U16(0)), {{}}), "книга защищена паролем"},
      {"a chart but no worksheet", Stream(true, {}, {{Bytes(), 2}}), "в книге нет ни одного листа"},
      {"an older format", Bytes().Record(0x0809, Bytes().U16(0x0400).U16(5)).Data(),
       "версия формата книги не поддерживается"},
      {"an unknown code page", Stream(false, Bytes().Record(0x0042, Bytes().U16(12345)), {{}}),
       "кодовая страница текстов книги (12345) не поддерживается"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = WriteStream("damaged.xls", "Workbook", c.stream);
    WorkbookSheet sheet;
    sheet.SetText(2, 3, "kept");
    EXPECT_EQ(RefusalOf<EReadError>([&] { ReadXlsToSheet(sheet, path); }),
              "Файл «" + path.toStdString() + "» не удается прочитать как книгу Microsoft Excel: " + c.why);
    EXPECT_EQ(sheet.MaxRow(), WorkbookSheet::kInitialRows);
    EXPECT_EQ(sheet.Text(2, 3), "kept");
  }
}

// What is no workbook file is refused at once: a pipe is never waited on,
// and a file larger than any workbook is not read.
TEST_F(XlsFileTest, WhatIsNoWorkbookFileIsRefusedAtOnce) {
  WorkbookSheet sheet;
  const auto read = [&](const QString& path) { return [&sheet, path] { ReadXlsToSheet(sheet, path); }; };
  const auto quoted = [](const QString& path) { return "«" + path.toStdString() + "»"; };
  const QString missing = PathOf("missing.xls");
  EXPECT_EQ(RefusalOf<EFOpenError>(read(missing)), "Невозможно открыть файл " + quoted(missing) + " !");
  const QString pipe = PathOf("pipe.xls");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const QString& path : {folder_.path(), pipe, QString("/dev/zero")}) {
    EXPECT_EQ(RefusalOf<EFOpenError>(read(path)), "Невозможно открыть файл " + quoted(path) + " ! " +
                                                      quoted(path) +
                                                      " — не обычный файл, а папка, канал или устройство.");
  }
  const QString huge = WriteBytes("huge.xls", {});
  ASSERT_TRUE(QFile::resize(huge, 256 * 1024 * 1024 + 1));  // sparse
  EXPECT_EQ(RefusalOf<EReadError>(read(huge)),
            "Невозможно открыть файл " + quoted(huge) + " ! Файл " + quoted(huge) +
                " длиннее 268435456 байт: файл этого вида не бывает таким большим.");
  for (const QString& path : {WriteBytes("junk.xls", QByteArray(5000, 'x')),
                              WriteStream("other_stream.xls", "Other", good_stream_)}) {
    EXPECT_EQ(RefusalOf<EReadError>(read(path)), "Файл " + quoted(path) +
                                                     " не удается прочитать как книгу Microsoft Excel: файл "
                                                     "поврежден или имеет другой формат");
  }
  EXPECT_EQ(sheet.MaxRow(), WorkbookSheet::kInitialRows);
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

  // A cell refused half-way through the sheet leaves the file as it was and
  // nothing beside it.
  const QByteArray before = ReadBytes(path);
  sheet.SetText(3, 1, QString(256, u'a'));
  EXPECT_THROW(WriteSheetToXls(sheet, path), Exception);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"sheet.xls"});
  sheet.SetText(3, 1, "");
  EXPECT_THROW(WriteSheetToXls(sheet, folder_.path()), EFCreateError);
}

}  // namespace
}  // namespace workbook
