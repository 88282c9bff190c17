#include "shell/config/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/exceptions.h"
#include "shell/config/method_registry.h"

namespace {

class IniFileTest : public testing::Test {
 protected:
  QString Write(const QByteArray& text) {
    QFile file(dir_.filePath("System.INI"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
  }

  QTemporaryDir dir_;
};

TEST_F(IniFileTest, SectionValuesAreTrimmedKeptInOrderAndWithoutEmptyValues) {
  const QString path = Write(
      "[Other]\nA=1\n"
      "[methods]\r\n"
      "; Commented = not a method\r\n"
      "  # Другой = a comment too\n"
      "  Brennic  =  Метод Монте-Карло \r\n"
      "Empty=\n"
      "Blank=   \n"
      "no equals sign here\n"
      "Second=Два\n"
      "BRENNIC=ignored, the first entry of a key counts\n");
  EXPECT_EQ(IniFile(path).ReadSectionValues("Methods"),
            QStringList({"Brennic=Метод Монте-Карло", "Second=Два"}));
  EXPECT_EQ(IniFile(path).ReadSectionValues("Other"), QStringList({"A=1"}));
  EXPECT_TRUE(IniFile(Write("[Other]\nA=1\n")).ReadSectionValues("Methods").isEmpty());
}

TEST_F(IniFileTest, MethodListSplitsEachEntryAtTheLastEqualsSignAndIsEmptyWithoutAFile) {
  const MethodList methods =
      ReadMethodList(Write("[Methods]\nBrennic = Метод Монте-Карло\nOdd = a = b\nNothing =\n"));
  EXPECT_EQ(methods.keys, QStringList({"Brennic", "Odd=a"}));
  EXPECT_EQ(methods.names, QStringList({"Метод Монте-Карло", "b"}));
  const MethodList none = ReadMethodList(dir_.filePath("absent.INI"));
  EXPECT_TRUE(none.names.isEmpty() && none.keys.isEmpty());
}

TEST_F(IniFileTest, MethodEntryTakesTheTrimmedValuesOfTheMethodsSection) {
  const QString path = Write(
      "[Brennic]\n"
      "code =  MC \n"
      "FullName= Метод = Монте-Карло\n"
      "ParamEditorDll=libBrennicEditor.so\n"
      "ParamEditorDll=ignored, the first entry of a key counts\n"
      "CalcProgramDll=\n");
  const MethodEntry method = ReadMethodEntry(path, "BRENNIC");
  EXPECT_EQ(method.code, "MC");
  EXPECT_EQ(method.full_name, "Метод = Монте-Карло");
  EXPECT_EQ(method.param_editor_dll, "libBrennicEditor.so");
  EXPECT_EQ(method.data_translator_dll + method.calc_program_dll, "");
  EXPECT_EQ(ReadMethodEntry(path, "Other").code, "");
}

// A missing file reads as empty; anything else that is no registry file is
// refused at once, naming the file: a pipe is not waited on.
TEST_F(IniFileTest, AFolderPipeOrDeviceOrAnOversizedFileIsRefused) {
  const QString pipe = dir_.filePath("pipe.INI");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const struct {
    QString path;
    bool not_regular;
  } cases[] = {{pipe, true}, {dir_.path(), true}, {Write(QByteArray((1 << 20) + 1, '#')), false}};
  for (const auto& c : cases) {
    try {
      IniFile ini(c.path);
      ADD_FAILURE() << "read " << c.path.toStdString();
    } catch (const Exception& error) {
      EXPECT_EQ(dynamic_cast<const EFOpenError*>(&error) != nullptr, c.not_regular);
      EXPECT_TRUE(
          error.Message().starts_with("Невозможно прочитать файл методов «" + c.path.toStdString() + "» !"))
          << error.Message();
    }
  }
}

TEST(ProgramIniPath, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(ProgramIniPath("/opt/talvo/System"), "/opt/talvo/System.INI");
  EXPECT_EQ(ProgramIniPath("/opt/talvo/System.bin"), "/opt/talvo/System.INI");
  EXPECT_EQ(ProgramIniPath("/opt/ta.lvo/System"), "/opt/ta.lvo/System.INI");
}

}  // namespace
