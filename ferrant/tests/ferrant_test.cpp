#include "ferrant/ferrant.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <bit>
#include <limits>
#include <random>

#include "ferrant/sds_format.h"
#include "platform/exceptions.h"
#include "workbook/cell_number.h"
#include "workbook/sheet.h"

namespace {

class FerrantTest : public testing::Test {
 protected:
  QString PathOf(const char* name) const { return folder_.filePath(name); }

  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  static void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir folder_;
};

TEST_F(FerrantTest, TheSelectedNumbersAndTheHintAreSaved) {
  WorkbookSheet sheet;
  sheet.SetText(1, 1, "not selected");
  sheet.SetText(2, 2, "1.5");
  sheet.SetText(2, 3, " 2,25 ");
  sheet.SetSelection({2, 2, 2, 3});
  sheet.SetHint("Два признака");
  const QString path = PathOf("two.sds");
  Ferrant::SaveToFileFromBook(&sheet, path);
  const ferrant::DataSet data_set = ferrant::DecodeDataSet(ReadBytes(path), path);
  EXPECT_EQ(data_set.rows, 1);
  EXPECT_EQ(data_set.values, (std::vector<double>{1.5, 2.25}));
  EXPECT_EQ(data_set.description, "Два признака");
}

TEST_F(FerrantTest, ValuesComeBackBitForBitThroughTheSheet) {
  std::mt19937_64 bits(7);
  WorkbookSheet sheet;
  sheet.SetMaxRow(200);
  sheet.SetMaxCol(5);
  std::vector<double> values = {-0.0, std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::max(), 0.1 + 0.2};
  while (values.size() < 1000) {
    const double value = std::bit_cast<double>(bits());
    if (std::isfinite(value)) values.push_back(value);
  }
  for (int i = 0; i < 1000; ++i) sheet.SetText(i / 5 + 1, i % 5 + 1, workbook::NumberText(values[i]));
  sheet.SetSelection({1, 1, 200, 5});
  const QString path = PathOf("many.sds");
  Ferrant::SaveToFileFromBook(&sheet, path);

  WorkbookSheet loaded;
  loaded.SetSelection({3, 3, 4, 4});
  Ferrant::LoadFromFileToBook(&loaded, path);
  EXPECT_EQ(loaded.MaxRow(), 200);
  EXPECT_EQ(loaded.MaxCol(), 5);
  EXPECT_EQ(loaded.Selection(), (CellRange{1, 1, 1, 1}));
  for (int i = 0; i < 1000; ++i) {
    const auto value = workbook::ParseCellNumber(loaded.Text(i / 5 + 1, i % 5 + 1));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(std::bit_cast<quint64>(*value), std::bit_cast<quint64>(values[i])) << i;
  }
  // Saving the loaded sheet again gives the same file.
  loaded.SetSelection({1, 1, 200, 5});
  Ferrant::SaveToFileFromBook(&loaded, PathOf("again.sds"));
  EXPECT_EQ(ReadBytes(PathOf("again.sds")), ReadBytes(path));
}

TEST_F(FerrantTest, ARefusedSaveLeavesThePreviousFile) {
  const QString path = PathOf("kept.sds");
  WriteBytes(path, "previous");
  WorkbookSheet sheet;
  sheet.SetText(1, 1, "1");
  sheet.SetText(1, 2, "abc");
  sheet.SetSelection({1, 1, 1, 2});
  try {
    Ferrant::SaveToFileFromBook(&sheet, path);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Ячейка (строка 1, столбец 2) не содержит числа: «abc»");
  }
  sheet.SetSelection({1, 1, 0, 1});
  EXPECT_THROW(Ferrant::SaveToFileFromBook(&sheet, path), Exception);
  sheet.SetSelection({1, 1, 1, 1});
  sheet.SetHint("漢字");
  EXPECT_THROW(Ferrant::SaveToFileFromBook(&sheet, path), Exception);
  EXPECT_EQ(ReadBytes(path), "previous");
  sheet.SetHint("");
  EXPECT_THROW(Ferrant::SaveToFileFromBook(&sheet, folder_.path()), EFCreateError);
}

// Every refusal comes at once, names the file and leaves the sheet as it was:
// a pipe is not waited on, a file larger than any data set is not read.
TEST_F(FerrantTest, ARefusedLoadLeavesTheSheetAsItWas) {
  WorkbookSheet sheet;
  sheet.SetText(1, 1, "keep");
  sheet.SetHint("old");
  WriteBytes(PathOf("bad.sds"), "TSDS\r\n\x1A\n\x01\x00");
  WriteBytes(PathOf("huge.sds"), "");
  ASSERT_TRUE(QFile::resize(PathOf("huge.sds"), static_cast<qint64>(ferrant::kMaxFileBytes) + 1));
  ASSERT_EQ(mkfifo(QFile::encodeName(PathOf("pipe.sds")).constData(), 0600), 0);
  const struct {
    QString path;
    bool cannot_open;
  } cases[] = {
      {PathOf("missing.sds"), true}, {PathOf("pipe.sds"), true},  {folder_.path(), true},
      {PathOf("bad.sds"), false},    {PathOf("huge.sds"), false},
  };
  for (const auto& c : cases) {
    try {
      Ferrant::LoadFromFileToBook(&sheet, c.path);
      ADD_FAILURE() << "read " << c.path.toStdString();
    } catch (const Exception& error) {
      EXPECT_EQ(dynamic_cast<const EFOpenError*>(&error) != nullptr, c.cannot_open) << error.Message();
      EXPECT_NE(error.Message().find("«" + c.path.toStdString() + "»"), std::string::npos) << error.Message();
    }
    EXPECT_EQ(sheet.Text(1, 1), "keep");
    EXPECT_EQ(sheet.MaxRow(), WorkbookSheet::kInitialRows);
    EXPECT_EQ(sheet.Hint(), "old");
  }
}

}  // namespace
