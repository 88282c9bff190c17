// The calculation model and its file. Expected files are built by hand from
// the calculation file's layout table; Cyrillic texts appear as their code
// page 1251 bytes.
#include "shell/model/calculation.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>

#include "model_test_support.h"
#include "platform/exceptions.h"

namespace {

const QByteArray kCalculationCp1251("\xD0\xE0\xF1\xF7\xE5\xF2");  // "Расчет"
const QByteArray kMethodCp1251("\xCC\xE5\xF2\xEE\xE4");           // "Метод"
const QByteArray kDataSetCp1251("\x2F\xE4\xE0\xED\xED\xFB\xE5\x2F\xE2\xFB\xE1\xEE\xF0\xEA\xE0\x2E\x73\x64\x73");
const QString kDataSet = "/данные/выборка.sds";

// A calculation file whose method names no library, so it opens anywhere.
QByteArray CalculationFile(const QByteArray& block, double runTime) {
  return LayoutBytes()
      .Text(kCalculationCp1251)
      .Text("MC")
      .Text(kMethodCp1251)
      .Text("Monte Carlo")
      .Text("")
      .Text("")
      .Text("")
      .Text(kDataSetCp1251)
      .Block(block)
      .List({"first", kMethodCp1251})
      .DateTime(runTime)
      .List({"second"})
      .Bytes();
}

TEST(Calculation, ANewCalculationIsUntitledEmptyAndCannotRun) {
  auto calculation = NewCalculation("Расчет");
  EXPECT_EQ(calculation->GetFileName(), "Безымянный");
  EXPECT_EQ(calculation->GetName(), "Расчет");
  EXPECT_EQ(calculation->GetMethodName(), "");
  EXPECT_EQ(calculation->GetFullName(), "");
  EXPECT_FALSE(calculation->HasDataSet());
  EXPECT_FALSE(calculation->HasParameters());
  EXPECT_FALSE(calculation->HasCalcProgram());
  EXPECT_FALSE(calculation->HasParamEditor());
  EXPECT_FALSE(calculation->IsRunning());
  EXPECT_TRUE(calculation->IsNew());
  EXPECT_FALSE(calculation->IsModified());
}

TEST(Calculation, AFileIsReadAndWrittenBackByteForByte) {
  ScratchFolder folder;
  // A run time with every bit of its fraction in use: 2024-01-02 03:04:05.006.
  const double runTime = 45293.0 + (3 * 3600 + 4 * 60 + 5.006) / 86400.0;
  const QByteArray file = CalculationFile(QByteArray("\x01\x00\xFF\x7F", 4), runTime);
  WriteBytes("in.scl", file);

  auto calculation = NewCalculation("");
  calculation->LoadFromFile(folder.File("in.scl"));
  EXPECT_EQ(calculation->GetFileName(), folder.File("in.scl"));
  EXPECT_EQ(calculation->GetName(), "Расчет");
  EXPECT_EQ(calculation->GetMethodName(), "Метод");
  EXPECT_EQ(calculation->GetFullName(), "Monte Carlo");
  EXPECT_TRUE(calculation->HasDataSet());
  EXPECT_TRUE(calculation->HasParameters());
  EXPECT_FALSE(calculation->IsNew());
  EXPECT_FALSE(calculation->IsModified());

  calculation->SaveAs(folder.File("out.scl"));
  EXPECT_EQ(ReadBytes(folder.File("out.scl")), file);
  EXPECT_EQ(calculation->GetFileName(), folder.File("out.scl"));
}

TEST(Calculation, AnEmptyBlockIsWrittenAsSizeZero) {
  ScratchFolder folder;
  const QByteArray file = CalculationFile(QByteArray(), 45000.5);
  WriteBytes("in.scl", file);
  auto calculation = NewCalculation("");
  calculation->LoadFromFile(folder.File("in.scl"));
  EXPECT_FALSE(calculation->HasParameters());
  calculation->Save();
  EXPECT_EQ(ReadBytes(folder.File("in.scl")), file);
}

TEST(Calculation, ANewCalculationIsSavedWithItsCreationTime) {
  ScratchFolder folder;
  auto calculation = NewCalculation("Расчет");
  calculation->SetDataSet(kDataSet);
  calculation->SaveAs(folder.File("new.scl"));
  const QByteArray saved = ReadBytes(folder.File("new.scl"));
  const QByteArray head = LayoutBytes()
                              .Text(kCalculationCp1251)
                              .Text("")
                              .Text("")
                              .Text("")
                              .Text("")
                              .Text("")
                              .Text("")
                              .Text(kDataSetCp1251)
                              .Block({})
                              .List({})
                              .Bytes();
  ASSERT_EQ(saved.size(), head.size() + 8 + 4);
  EXPECT_EQ(saved.left(head.size()), head);
  EXPECT_EQ(saved.right(4), LayoutBytes().List({}).Bytes());
  double runTime;
  std::memcpy(&runTime, saved.constData() + head.size(), 8);
  EXPECT_GT(runTime, 45000.0);  // a date after 2023: the clock of the test machine
  EXPECT_FALSE(calculation->IsNew());
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
  EXPECT_EQ(calculation->GetMethodName(), "Метод");
  EXPECT_EQ(calculation->GetFullName(), "Monte Carlo");
  EXPECT_FALSE(calculation->HasCalcProgram());
  calculation->SetMethod("X", "Другой", "Other", "", "", "libBrennic.so");
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
      {LayoutBytes().Int32(257).Raw(QByteArray(257, 'x')).Bytes(),
       "длина строки 257 байт вне допустимых пределов от 0 до 256"},
      {LayoutBytes().Raw(strings).Int32(-3).Bytes(), "отрицательный размер блока параметров (-3)"},
      {LayoutBytes().Raw(strings).Int32(1000).Raw("abc").Bytes(), "файл короче, чем указано в нем"},
      {LayoutBytes().Raw(strings).Block("abc").Int32(-1).Bytes(), "отрицательное число строк в списке (-1)"},
      {whole + QByteArray(3, '\0'), "после последнего поля остались лишние байты (3)"},
  };
  for (const auto& damaged : cases) {
    WriteBytes("damaged.scl", damaged.bytes);
    auto calculation = NewCalculation("До");
    try {
      calculation->LoadFromFile(folder.File("damaged.scl"));
      ADD_FAILURE() << "accepted: " << damaged.fault;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), std::string("Файл расчета поврежден: ") + damaged.fault);
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
}

TEST(Calculation, FileErrorsCarryTheirMessages) {
  ScratchFolder folder;
  auto calculation = NewCalculation("");
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

TEST(Calculation, ATooLongTextIsRefusedBeforeTheOldFileIsTouched) {
  ScratchFolder folder;
  auto calculation = NewCalculation("Расчет");
  calculation->SaveAs(folder.File("c.scl"));
  const QByteArray saved = ReadBytes(folder.File("c.scl"));
  calculation->SetDataSet("/" + QString(128, QChar(0x0434)));  // 129 characters, 129 bytes in code page 1251
  EXPECT_NO_THROW(calculation->Save());
  calculation->SetDataSet("/" + QString(256, QChar(0x0434)));
  EXPECT_THROW(calculation->Save(), EConvertError);
  EXPECT_EQ(ReadBytes(folder.File("c.scl")).size(), saved.size() + 129);
}

}  // namespace
