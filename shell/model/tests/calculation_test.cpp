// The calculation model and its file. Expected files are built by hand from
// the calculation file's layout table; Cyrillic texts appear as their code
// page 1251 bytes.
#include "shell/model/calculation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "platform/tests/bytes_read.h"
#include "shell/model/project.h"

namespace {

TEST(Calculation, AFileIsReadAndWrittenBackByteForByte) {
  ScratchFolder folder;
  auto fresh = NewCalculation("Расчет");
  EXPECT_EQ(fresh->GetFileName(), "Безымянный");
  EXPECT_TRUE(fresh->IsNew());
  EXPECT_FALSE(fresh->HasDataSet() || fresh->HasParameters() || fresh->HasCalcProgram() ||
               fresh->HasParamEditor() || fresh->IsRunning() || fresh->IsModified());
  // 2024-01-02 03:04:05.006: a run time whose fraction uses every bit.
  const double runTime = 45293.0 + (3 * 3600 + 4 * 60 + 5.006) / 86400.0;
  for (const QByteArray& block : {QByteArray("\x01\x00\xFF\x7F", 4), QByteArray()}) {
    const QByteArray file = CalculationFile(block, runTime);
    WriteBytes("in.scl", file);
    auto calculation = NewCalculation("");
    calculation->LoadFromFile(folder.File("in.scl"));
    EXPECT_EQ(calculation->GetFileName(), folder.File("in.scl"));
    EXPECT_EQ(
        calculation->GetName() + " | " + calculation->GetMethodName() + " | " + calculation->GetFullName(),
        "Расчет | Метод | Monte Carlo");
    EXPECT_TRUE(calculation->HasDataSet());
    EXPECT_EQ(calculation->HasParameters(), !block.isEmpty());
    EXPECT_FALSE(calculation->IsNew() || calculation->IsModified());
    calculation->SaveAs(folder.File("out.scl"));
    EXPECT_EQ(ReadBytes(folder.File("out.scl")), file);
  }
}

TEST(Calculation, ChoosingADataSetIsNoChangeButChoosingAMethodIsAndDropsTheBlock) {
  ScratchFolder folder;
  WriteBytes("in.scl", CalculationFile("block", 45000.5));
  auto calculation = NewCalculation("");
  calculation->LoadFromFile(folder.File("in.scl"));
  calculation->SetDataSet("/other.sds");
  EXPECT_FALSE(calculation->IsModified());

  WriteBytes("Parameters.dat", "stale");
  calculation->SetMethod("MC", "Метод", "Monte Carlo", "", "", "");  // the same method again
  EXPECT_TRUE(calculation->IsModified());
  EXPECT_FALSE(calculation->HasParameters());
  EXPECT_FALSE(QFile::exists("Parameters.dat"));
  EXPECT_FALSE(calculation->HasCalcProgram());
  calculation->SetMethod("X", "Другой", "Other", "", "", "libBrennic.so");
  EXPECT_EQ(calculation->GetMethodName() + " | " + calculation->GetFullName(), "Другой | Other");
  EXPECT_TRUE(calculation->HasCalcProgram());
}

TEST(Calculation, DamagedFilesAreRefusedAndLeaveNothingHalfRead) {
  ScratchFolder folder;
  const QByteArray whole = CalculationFile("abc", 45000.5);
  const QByteArray strings = whole.left(whole.indexOf("abc") - 4);
  const struct {
    QByteArray bytes;
    const char* fault;
  } cases[] = {
      {LayoutBytes().Text(QByteArray(257, 'x')).Bytes(),
       "длина строки 257 байт вне допустимых пределов от 0 до 256"},
      {LayoutBytes().Raw(strings).Int32(-3).Bytes(), "отрицательный размер блока параметров (-3)"},
      {LayoutBytes().Raw(strings).Int32(1000).Raw("abc").Bytes(), "файл короче, чем указано в нем"},
      {LayoutBytes().Raw(strings).Text("abc").Int32(-1).Bytes(), "отрицательное число строк в списке (-1)"},
      {whole + QByteArray(3, '\0'), "после последнего поля остались лишние байты (3)"},
      {LayoutBytes().Raw(strings).Text("abc").Int32(70000).Bytes(),
       "число строк в списке 70000 больше наибольшего (65536)"},
  };
  for (const auto& damaged : cases) {
    WriteBytes("damaged.scl", damaged.bytes);
    auto calculation = NewCalculation("До");
    try {
      calculation->LoadFromFile(folder.File("damaged.scl"));
      ADD_FAILURE() << "accepted: " << damaged.fault;
    } catch (const EReadError& error) {
      EXPECT_EQ(
          error.Message(),
          ("Файл расчета «" + folder.File("damaged.scl") + "» поврежден: ").toStdString() + damaged.fault);
    }
    EXPECT_EQ(calculation->GetName(), "До");
    EXPECT_FALSE(calculation->HasParameters());
    EXPECT_TRUE(calculation->IsNew());
  }
  for (qsizetype size = 0; size < whole.size(); ++size) {
    WriteBytes("cut.scl", whole.left(size));
    auto calculation = NewCalculation("До");
    EXPECT_THROW(calculation->LoadFromFile(folder.File("cut.scl")), EReadError) << "cut at " << size;
    EXPECT_EQ(calculation->GetName(), "До");
  }
  // Neither a pipe nor a file longer than the longest calculation is read.
  ASSERT_EQ(mkfifo("pipe.scl", 0600), 0);
  EXPECT_THROW(NewCalculation()->LoadFromFile(folder.File("pipe.scl")), EFOpenError);
  WriteBytes("huge.scl", "");
  ASSERT_TRUE(QFile::resize("huge.scl", 2181564468));
  try {
    NewCalculation()->LoadFromFile(folder.File("huge.scl"));
    FAIL();
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), ("Невозможно открыть файл расчета ! Файл «" + folder.File("huge.scl") +
                                "» длиннее 2181564467 байт: файл этого вида не бывает таким большим.")
                                   .toStdString());
  }
}

// A file that is not a calculation or a project is refused at its first field
// that cannot be, a few bytes in, however long the file is or says it is: a
// file of the kernel's that never ends included.
TEST(Calculation, AndProjectFilesAreRefusedAtTheirFirstFieldThatCannotBe) {
  ScratchFolder folder;
  const auto padded = [&](const QString& name, const QByteArray& head, qint64 size) {
    WriteBytes(name, head);
    EXPECT_TRUE(QFile::resize(name, size));
    return folder.File(name);
  };
  LayoutBytes eight_empty_strings;
  for (int i = 0; i < 8; ++i) eight_empty_strings.Int32(0);
  const auto calculation = [](const QString& path) { NewCalculation()->LoadFromFile(path); };
  const auto project = [](const QString& path) { TProject("").LoadFromFile(path); };
  const struct {
    const char* what;
    std::function<void(const QString&)> load;
    QString path;
  } cases[] = {
      {"calculation that never ends", calculation, "/proc/self/pagemap"},
      {"project that never ends", project, "/proc/self/pagemap"},
      {"block longer than the file", calculation,
       padded("block.scl", eight_empty_strings.Int32(0x7FFFFFFF).Bytes(), qint64{1} << 30)},
      {"title of 1000 bytes", project, padded("title.spr", LayoutBytes().Int32(1000).Bytes(), 50 << 20)},
  };
  for (const auto& c : cases) {
    const std::uint64_t before = BytesReadSoFar();
    EXPECT_THROW(c.load(c.path), EReadError) << c.what;
    EXPECT_LT(BytesReadSoFar() - before, 64u << 10) << c.what;
  }
}

TEST(Calculation, SavesRefuseWhatTheFileCannotHoldAndReportFileErrors) {
  ScratchFolder folder;
  auto calculation = NewCalculation("Расчет");
  calculation->SetDataSet("/" + QString(255, QChar(0x0434)));  // 256 bytes in code page 1251
  calculation->SaveAs(folder.File("c.scl"));
  const QByteArray saved = ReadBytes(folder.File("c.scl"));
  calculation->SetDataSet("/" + QString(256, QChar(0x0434)));
  EXPECT_THROW(calculation->Save(), EConvertError);
  EXPECT_EQ(ReadBytes(folder.File("c.scl")), saved);

  calculation->SetDataSet("");
  try {
    calculation->LoadFromFile(folder.File("missing.scl"));
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Невозможно открыть файл расчета !");
  }
  try {
    calculation->SaveAs(folder.File("no-such-folder/x.scl"));
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно создать файл расчета !");
  }
}

}  // namespace
