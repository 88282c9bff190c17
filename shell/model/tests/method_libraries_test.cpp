// Binding a method's parameter-editor and data-translator libraries from the
// program folder, the parameter editor and the exchange files, with the stub
// libraries built for these tests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "platform/library.h"
#include "shell/model/calculation.h"

namespace {

const char* const kEditor = "libStubEditor.so";
const char* const kTranslator = "libStubTranslator.so";
const char* const kNoEntry = "libStubNoEntry.so";

class MethodLibraries : public testing::Test {
protected:
  void SetUp() override {
    editor_ = dlopen(platform::LibraryPath(kEditor).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(editor_, nullptr);
    script_ = reinterpret_cast<void (*)(int, const char*, long)>(dlsym(editor_, "StubEditorScript"));
    saw_ = reinterpret_cast<const char* (*)(long*)>(dlsym(editor_, "StubEditorSaw"));
    script_(0, nullptr, -1);
  }
  void TearDown() override { dlclose(editor_); }

  // The "Parameters.dat" the editor found at its last call; "<none>" when there was none.
  QByteArray EditorSaw() const {
    long size = 0;
    const char* bytes = saw_(&size);
    return bytes ? QByteArray(bytes, size) : QByteArray("<none>");
  }

  void ChooseStubMethod(TCalculation& calculation) {
    calculation.SetMethod("MC", "Метод", "Monte Carlo", kEditor, kTranslator, "");
  }

  // The calculation's block, as its exchange file shows it.
  static QByteArray Block(TCalculation& calculation) {
    calculation.SaveParameters();
    const QByteArray block = ReadBytes("Parameters.dat");
    QFile::remove("Parameters.dat");
    return block;
  }

  StubProgramFolder program_;
  ScratchFolder folder_;
  void* editor_ = nullptr;
  void (*script_)(int, const char*, long) = nullptr;
  const char* (*saw_)(long*) = nullptr;
};

TEST_F(MethodLibraries, AMethodWithoutEditorOrTranslatorBindsNothing) {
  auto calculation = NewCalculation();
  calculation->SetMethod("MC", "Метод", "", "", "", "libBrennic.so");
  EXPECT_FALSE(calculation->HasParamEditor());
  calculation->RunParamEditor();
  EXPECT_TRUE(calculation->IsModified());  // from SetMethod
}

TEST_F(MethodLibraries, EachBindingFailureHasItsTextAndLeavesNothingBound) {
  const struct {
    const char* editor;
    const char* translator;
    const char* text;
  } cases[] = {
      {"libMissing.so", kTranslator, "Невозможно загрузить библиотеку редактора параметров !"},
      {kEditor, "libMissing.so", "Невозможно загрузить библиотеку транслятора данных !"},
      {kNoEntry, kTranslator, "Не найдена точка входа в редактор параметров !"},
      {kEditor, kNoEntry, "Не найдена точка входа в транслятор данных !"},
      // A name with a folder part is never loaded, even where the file exists.
      {"../Libraries/libStubEditor.so", "", "Невозможно загрузить библиотеку редактора параметров !"},
  };
  for (const auto& failing : cases) {
    auto calculation = NewCalculation();
    ChooseStubMethod(*calculation);
    WriteBytes("Parameters.dat", "block");
    calculation->LoadParameters();
    QFile::remove("Parameters.dat");
    auto unmodified = NewCalculation();

    try {
      calculation->SetMethod("New", "Новый", "New method", failing.editor, failing.translator, "");
      ADD_FAILURE() << "bound: " << failing.text;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), failing.text);
    }
    // The new method's strings are in place and the old block is kept ...
    EXPECT_EQ(calculation->GetMethodName(), "Новый");
    EXPECT_TRUE(calculation->HasParameters());
    // ... and no library is bound: the editor, which would change the block, does nothing.
    script_(1, "new", 3);
    calculation->RunParamEditor();
    EXPECT_EQ(Block(*calculation), "block");
  }
}

TEST_F(MethodLibraries, AFileNamingAMissingLibraryIsReadWholeThenRefused) {
  WriteBytes("missing.scl", LayoutBytes()
                                .Text("\xD0\xE0\xF1\xF7\xE5\xF2")  // "Расчет"
                                .Text("MC")
                                .Text("M")
                                .Text("Monte Carlo")
                                .Text("libMissing.so")
                                .Text("")
                                .Text("")
                                .Text("")
                                .Block({})
                                .List({})
                                .DateTime(45000.5)
                                .List({})
                                .Bytes());
  auto calculation = NewCalculation("");
  try {
    calculation->LoadFromFile(folder_.File("missing.scl"));
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Невозможно загрузить библиотеку редактора параметров !");
  }
  EXPECT_EQ(calculation->GetName(), "Расчет");
  EXPECT_EQ(calculation->GetFullName(), "Monte Carlo");
  EXPECT_TRUE(calculation->HasParamEditor());
  EXPECT_FALSE(calculation->IsNew());
}

TEST_F(MethodLibraries, TheEditorsAnswerDecidesWhetherTheBlockChanges) {
  auto calculation = NewCalculation();
  ChooseStubMethod(*calculation);
  ASSERT_TRUE(calculation->HasParamEditor());
  WriteBytes("Parameters.dat", "old");
  calculation->LoadParameters();
  QFile::remove("Parameters.dat");

  // Refused: the block stays, the file written for the editor stays, and the
  // calculation still counts as changed.
  calculation->SaveAs(folder_.File("c.scl"));
  script_(0, "ignored", 7);
  calculation->RunParamEditor();
  EXPECT_EQ(EditorSaw(), "old");
  EXPECT_TRUE(calculation->IsModified());
  EXPECT_EQ(ReadBytes("Parameters.dat"), "ignored");
  QFile::remove("Parameters.dat");
  EXPECT_EQ(Block(*calculation), "old");

  // Accepted leaving the file written for it: the block reads back unchanged.
  script_(1, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_FALSE(QFile::exists("Parameters.dat"));
  EXPECT_EQ(Block(*calculation), "old");

  // Accepted with a file: the block is the file's bytes and the file is gone.
  script_(7, QByteArray("\x00new\xFF", 5).constData(), 5);
  calculation->RunParamEditor();
  EXPECT_FALSE(QFile::exists("Parameters.dat"));
  EXPECT_EQ(Block(*calculation), QByteArray("\x00new\xFF", 5));
}

TEST_F(MethodLibraries, AnEmptyBlockWritesNoFileAndAFileAlreadyThereIsReadBack) {
  auto calculation = NewCalculation();
  ChooseStubMethod(*calculation);
  script_(1, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_EQ(EditorSaw(), "<none>");
  EXPECT_FALSE(calculation->HasParameters());

  WriteBytes("Parameters.dat", "left by someone");
  script_(0, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_EQ(ReadBytes("Parameters.dat"), "left by someone");
  script_(1, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_EQ(Block(*calculation), "left by someone");
}

TEST_F(MethodLibraries, DataSetsDatHoldsExactlyThePathsCodePage1251Bytes) {
  auto calculation = NewCalculation();
  ChooseStubMethod(*calculation);
  calculation->SetDataSet("/данные/выборка.sds");
  script_(0, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_EQ(ReadBytes("DataSets.dat"),
            QByteArray("\x2F\xE4\xE0\xED\xED\xFB\xE5\x2F\xE2\xFB\xE1\xEE\xF0\xEA\xE0\x2E\x73\x64\x73"));
  calculation->SetDataSet("/a.sds");
  calculation->WriteDataSetsFile();
  EXPECT_EQ(ReadBytes("DataSets.dat"), "/a.sds");
  // A path code page 1251 cannot hold is not written mangled.
  calculation->SetDataSet("/数据.sds");
  calculation->WriteDataSetsFile();
  EXPECT_EQ(ReadBytes("DataSets.dat"), "/a.sds");
}

TEST_F(MethodLibraries, ExchangeFileErrorsCarryTheirMessages) {
  auto calculation = NewCalculation();
  try {
    calculation->LoadParameters();
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Невозможно загрузить параметры для метода !");
  }
  QDir().mkdir("Parameters.dat");  // a folder where the file should go
  try {
    calculation->SaveParameters();
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно записать параметры метода !");
  }
  QDir().rmdir("Parameters.dat");
  calculation->ClearParameters();  // without the file it only empties the block
  EXPECT_FALSE(calculation->HasParameters());
}

}  // namespace
