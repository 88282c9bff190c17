#include "ferrant/sds_format.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <bit>
#include <cmath>
#include <limits>

#include "platform/exceptions.h"

namespace ferrant {
namespace {

QByteArray Le32(quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  return QByteArray(bytes, 4);
}

QByteArray Le64(double value) {
  char bytes[8];
  qToLittleEndian(std::bit_cast<quint64>(value), bytes);
  return QByteArray(bytes, 8);
}

// The file laid out by hand from FORMAT.md, trailer included.
QByteArray HandBuilt(qint32 rows, qint32 cols, const QByteArray& description_cp1251,
                     const std::vector<double>& values, quint32 version = 1) {
  QByteArray bytes("TSDS\r\n\x1A\n", 8);
  bytes += Le32(version) + Le32(rows) + Le32(cols) + Le32(description_cp1251.size()) + description_cp1251;
  for (const double value : values) bytes += Le64(value);
  return bytes + Le32(Crc32(bytes));
}

std::string RefusalOf(const QByteArray& bytes) {
  try {
    DecodeDataSet(bytes, "d.sds");
  } catch (const EReadError& error) {
    return error.Message();
  }
  ADD_FAILURE() << "not refused";
  return {};
}

// "123456789" is the standard check input of CRC-32; 0xCBF43926 its published value.
// The example file of FORMAT.md; its checksum was computed with zlib's crc32.
TEST(SdsFormatTest, TheDocumentedExampleIsWhatIsWritten) {
  EXPECT_EQ(EncodeDataSet({1, 2, {1.5, 2.0}, "Рост"}).toHex(' ').toUpper(),
            "54 53 44 53 0D 0A 1A 0A 01 00 00 00 01 00 00 00 02 00 00 00 04 00 00 00 D0 EE F1 F2 "
            "00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 00 40 F5 7A C7 F2");
}

TEST(SdsFormatTest, AHandBuiltFileReadsBackBitForBit) {
  const std::vector<double> values = {1.5, -0.0, 2.25, std::numeric_limits<double>::denorm_min()};
  const DataSet back = DecodeDataSet(HandBuilt(2, 2, "\xD0\xEE\xF1\xF2", values), "d.sds");
  EXPECT_EQ(back.rows, 2);
  EXPECT_EQ(back.cols, 2);
  EXPECT_EQ(back.description, "Рост");
  ASSERT_EQ(back.values.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(std::bit_cast<quint64>(back.values[i]), std::bit_cast<quint64>(values[i]));
}

TEST(SdsFormatTest, WhatTheFormatCannotHoldIsNotWritten) {
  for (const DataSet& data_set : std::initializer_list<DataSet>{{0, 1, {}, ""},
                                                                {16385, 1, std::vector<double>(16385), ""},
                                                                {1, 257, std::vector<double>(257), ""},
                                                                {1, 2, {1.0}, ""},
                                                                {1, 1, {std::nan("")}, ""},
                                                                {1, 1, {-INFINITY}, ""},
                                                                {1, 1, {1.0}, QString(256, u'я')},
                                                                {1, 1, {1.0}, "漢"}}) {
    EXPECT_THROW(EncodeDataSet(data_set), Exception);
  }
  EXPECT_NO_THROW(EncodeDataSet({1, 1, {1.0}, QString(255, u'я')}));
}

TEST(SdsFormatTest, TruncatedAndCorruptFilesAreRefusedWithWhatIsWrong) {
  const QByteArray whole = HandBuilt(2, 3, "ab", {1, 2, 3, 4, 5, 6});
  for (qsizetype size = 0; size < whole.size(); ++size) {
    EXPECT_EQ(RefusalOf(whole.left(size)), "Файл набора данных «d.sds» обрезан") << size;
  }
  const std::string corrupt = "Файл набора данных «d.sds» поврежден: ";
  EXPECT_EQ(RefusalOf("PK\x03\x04 something else entirely"), "Файл «d.sds» не является файлом набора данных");
  EXPECT_EQ(RefusalOf(HandBuilt(1, 1, "", {1.0}, 2)),
            "Файл набора данных «d.sds» записан в неизвестной версии формата (2)");
  EXPECT_EQ(RefusalOf(HandBuilt(0, 1, "", {})), corrupt + "недопустимый размер 0 x 1");
  EXPECT_EQ(RefusalOf(HandBuilt(1, 257, "", std::vector<double>(257))),
            corrupt + "недопустимый размер 1 x 257");
  EXPECT_EQ(RefusalOf(HandBuilt(1, -1, "", {})), corrupt + "недопустимый размер 1 x -1");

  QByteArray long_description = HandBuilt(1, 1, "", {1.0});
  long_description.replace(20, 4, Le32(256));
  EXPECT_EQ(RefusalOf(long_description), corrupt + "недопустимая длина описания 256");

  EXPECT_EQ(RefusalOf(HandBuilt(1, 1, "", {1.0}) + "x"), corrupt + "после данных лишние байты (1)");

  QByteArray flipped = HandBuilt(1, 2, "", {1.0, 2.0});
  flipped[30] = static_cast<char>(flipped[30] ^ 0x01);
  EXPECT_EQ(RefusalOf(flipped), corrupt + "контрольная сумма не совпадает");

  EXPECT_EQ(RefusalOf(HandBuilt(1, 2, "", {1.0, std::nan("")})),
            corrupt + "значение (строка 1, столбец 2) не является конечным числом");
  EXPECT_EQ(RefusalOf(HandBuilt(1, 1, "\x98", {1.0})),
            corrupt + "Байт 0x98 не определён в кодировке Windows-1251");
}

}  // namespace
}  // namespace ferrant
