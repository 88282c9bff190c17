// Binding a method's parameter-editor and data-translator libraries from the
// program folder, the parameter editor and the exchange files, with the stub
// libraries built for these tests.
#include <gtest/gtest.h>

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
  }
  void TearDown() override { dlclose(editor_); }

  // The "Parameters.dat" the editor found at its last call; "<none>" when there was none.
  QByteArray EditorSaw() const {
    long size = 0;
    const char* bytes = saw_(&size);
    return bytes ? QByteArray(bytes, size) : QByteArray("<none>");
  }

  // A calculation of the stub method whose block is the given bytes.
  CalculationPtr WithBlock(const QByteArray& block) {
    auto calculation = NewCalculation();
    calculation->SetMethod("MC", "Метод", "Monte Carlo", kEditor, kTranslator, "");
    if (!block.isEmpty()) SetBlock(*calculation, block);
    return calculation;
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
      // A name with a folder part never loads, even where the file exists.
      {"../Libraries/libStubEditor.so", "", "Невозможно загрузить библиотеку редактора параметров !"},
  };
  for (const auto& failing : cases) {
    auto calculation = WithBlock("block");
    calculation->SaveAs(folder_.File("c.scl"));
    try {
      calculation->SetMethod("New", "Новый", "New method", failing.editor, failing.translator, "");
      ADD_FAILURE() << "bound: " << failing.text;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), failing.text);
    }
    // The new method's strings are in place, the old block is kept, the
    // calculation is unchanged ...
    EXPECT_EQ(calculation->GetMethodName(), "Новый");
    EXPECT_FALSE(calculation->IsModified());
    // ... and no editor is bound: running it changes nothing.
    script_(1, "new", 3);
    calculation->RunParamEditor();
    EXPECT_FALSE(calculation->IsModified());
    EXPECT_EQ(Block(*calculation), "block");
  }
}

TEST_F(MethodLibraries, AFileNamingAMissingLibraryIsReadWholeThenRefused) {
  WriteBytes("missing.scl", CalculationFile({}, 45000.5, "libMissing.so"));
  auto calculation = NewCalculation("");
  try {
    calculation->LoadFromFile(folder_.File("missing.scl"));
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Невозможно загрузить библиотеку редактора параметров !");
  }
  EXPECT_EQ(calculation->GetFullName(), "Monte Carlo");
  EXPECT_FALSE(calculation->IsNew());
}

TEST_F(MethodLibraries, TheEditorsAnswerDecidesWhetherTheBlockChanges) {
  auto calculation = WithBlock("old");
  ASSERT_TRUE(calculation->HasParamEditor());
  calculation->SaveAs(folder_.File("c.scl"));

  // Refused: the block stays, the file written for the editor stays, and the
  // calculation counts as changed all the same.
  script_(0, "ignored", 7);
  calculation->RunParamEditor();
  EXPECT_EQ(EditorSaw(), "old");
  EXPECT_TRUE(calculation->IsModified());
  EXPECT_EQ(ReadBytes("Parameters.dat"), "ignored");
  QFile::remove("Parameters.dat");
  EXPECT_EQ(Block(*calculation), "old");

  // Accepted: the block is the file's bytes, and the file is gone.
  script_(7, QByteArray("\x00new\xFF", 5).constData(), 5);
  calculation->RunParamEditor();
  EXPECT_FALSE(QFile::exists("Parameters.dat"));
  EXPECT_EQ(Block(*calculation), QByteArray("\x00new\xFF", 5));
}

// Files an earlier failure left in the folder are not the calculation's own:
// the editor never sees them, and an accepting editor that writes none
// leaves the block as it was.
TEST_F(MethodLibraries, TheEditorSeesOnlyTheCalculationsOwnExchangeFiles) {
  auto calculation = WithBlock("");
  WriteBytes("Parameters.dat", "left by someone");
  WriteBytes("DataSets.dat", "/someone.sds");
  script_(1, nullptr, -1);  // accepted without leaving a file
  calculation->RunParamEditor();
  EXPECT_EQ(EditorSaw(), "<none>");
  EXPECT_FALSE(QFile::exists("DataSets.dat"));
  EXPECT_FALSE(calculation->HasParameters());

  // "DataSets.dat" holds exactly the path's code page 1251 bytes.
  calculation->SetDataSet("/данные/выборка.sds");
  script_(0, nullptr, -1);
  calculation->RunParamEditor();
  EXPECT_EQ(ReadBytes("DataSets.dat"),
            QByteArray("\x2F\xE4\xE0\xED\xED\xFB\xE5\x2F\xE2\xFB\xE1\xEE\xF0\xEA\xE0\x2E\x73\x64\x73"));

  // A path that code page 1251 cannot hold is refused before the editor runs,
  // and the earlier path is gone rather than shown.
  WriteBytes("Parameters.dat", "left by someone");
  calculation->SaveAs(folder_.File("c.scl"));
  calculation->SetDataSet("/数据.sds");
  EXPECT_THROW(calculation->RunParamEditor(), EConvertError);
  EXPECT_FALSE(calculation->IsModified());
  EXPECT_FALSE(QFile::exists("DataSets.dat"));
  EXPECT_FALSE(QFile::exists("Parameters.dat"));
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
}

}  // namespace
