// The project model and its file. Expected files are built by hand from the
// project file's layout table; Cyrillic texts appear as their code page 1251
// bytes.
#include "shell/model/project.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>

#include <csignal>

#include "model_test_support.h"
#include "platform/exceptions.h"

namespace {

const QByteArray kProjectCp1251("\xCF\xF0\xEE\xE5\xEA\xF2");  // "Проект"
const QByteArray kReportCp1251("\xCE\xF2\xF7\xE5\xF2");       // "Отчет"

TEST(Project, ANewProjectHasNoFolderAndIsNewAndUnmodified) {
  TProject project("Проект");
  EXPECT_EQ(project.GetName(), "Проект");
  EXPECT_EQ(project.GetFolder(), "");
  EXPECT_TRUE(project.GetDataSets().isEmpty());
  EXPECT_TRUE(project.GetCalculations().isEmpty());
  EXPECT_TRUE(project.GetReports().isEmpty());
  EXPECT_EQ(project.GetActiveCalculation(), -1);
  EXPECT_TRUE(project.IsNew());
  EXPECT_FALSE(project.IsModified());
}

TEST(Project, AnEmptyProjectIsItsTitleThreeZeroCountsAndTwoIndexes) {
  ScratchFolder folder;
  TProject project("Проект");
  project.SaveAs(folder.File("empty.spr"));
  // 24 + n bytes for a title of n bytes.
  const QByteArray expected = LayoutBytes().Text(kProjectCp1251).Int32(0).Int32(0).Int32(0).Int32(-1).Int32(-1).Bytes();
  EXPECT_EQ(ReadBytes(folder.File("empty.spr")), expected);
  EXPECT_EQ(expected.size(), 24 + 6);
  EXPECT_FALSE(project.IsNew());
  EXPECT_FALSE(project.IsModified());
  EXPECT_EQ(project.GetFolder(), folder.Path() + "/");
}

TEST(Project, AFullProjectIsWrittenByteForByteAndReadBack) {
  ScratchFolder folder;
  TProject project("Проект");
  project.AddDataSet("/d/a.sds");
  project.AddDataSet("/d/b.sds");
  project.AddCalculation("/c/one.scl");
  project.AddCalculation("/c/two.scl");
  project.SetActiveCalculation(0);
  project.AddReport("Отчет", "/r/Reports/20240102-030405006");
  EXPECT_TRUE(project.IsModified());
  const QString path = folder.File("full.spr");
  project.SaveAs(path);

  const QByteArray expected = LayoutBytes()
                                  .Text(kProjectCp1251)
                                  .List({"/d/a.sds", "/d/b.sds"})
                                  .List({"/c/one.scl", "/c/two.scl"})
                                  .List({kReportCp1251 + "|/r/Reports/20240102-030405006"})
                                  .Int32(1)
                                  .Int32(0)
                                  .Bytes();
  EXPECT_EQ(ReadBytes(path), expected);

  TProject read("");
  read.LoadFromFile(path);
  EXPECT_EQ(read.GetName(), "Проект");
  EXPECT_EQ(read.GetDataSets(), QStringList({"/d/a.sds", "/d/b.sds"}));
  EXPECT_EQ(read.GetCalculations(), QStringList({"/c/one.scl", "/c/two.scl"}));
  EXPECT_EQ(read.GetReports(), QStringList({"Отчет|/r/Reports/20240102-030405006"}));
  EXPECT_EQ(read.GetActiveCalculation(), 0);
  EXPECT_FALSE(read.IsNew());
  EXPECT_FALSE(read.IsModified());
  // Written again, the project gives the same bytes, the active data set included.
  read.SaveAs(folder.File("again.spr"));
  EXPECT_EQ(ReadBytes(folder.File("again.spr")), expected);
}

TEST(Project, AStringOf256BytesIsReadWholeAndOneOf257IsRefused) {
  ScratchFolder folder;
  const QByteArray longest(256, 'x');
  WriteBytes("256.spr", LayoutBytes().Text(longest).Int32(0).Int32(0).Int32(0).Int32(-1).Int32(-1).Bytes());
  TProject project("");
  project.LoadFromFile(folder.File("256.spr"));
  EXPECT_EQ(project.GetName(), QString(256, 'x'));

  WriteBytes("257.spr", LayoutBytes().Text(longest + "x").Int32(0).Int32(0).Int32(0).Int32(-1).Int32(-1).Bytes());
  TProject refused("");
  try {
    refused.LoadFromFile(folder.File("257.spr"));
    FAIL() << "a 257-byte string was read";
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), "Файл проекта поврежден: длина строки 257 байт вне допустимых пределов от 0 до 256");
  }
}

// Each damaged file is refused with a message that names the fault, and the
// project keeps nothing of it.
TEST(Project, DamagedFilesAreRefusedAndLeaveNothingHalfRead) {
  ScratchFolder folder;
  const QByteArray head = LayoutBytes().Text("P").List({"/d/a.sds"}).Bytes();
  const QByteArray whole =
      LayoutBytes().Raw(head).List({"/c/a.scl"}).List({"R|/r"}).Int32(0).Int32(0).Bytes();
  const struct {
    QByteArray bytes;
    const char* fault;
  } cases[] = {
      {LayoutBytes().Int32(-1).Bytes(), "длина строки -1 байт вне допустимых пределов от 0 до 256"},
      {LayoutBytes().Raw(head).Int32(-2).Bytes(), "отрицательное число строк в списке (-2)"},
      {whole + "z", "после последнего поля остались лишние байты (1)"},
      {LayoutBytes().Raw(head).List({}).List({}).Int32(1).Int32(-1).Bytes(),
       "номер активного набора данных 1 вне списка"},
      {LayoutBytes().Raw(head).List({"/c/a.scl"}).List({}).Int32(0).Int32(1).Bytes(),
       "номер активного расчета 1 вне списка"},
      {LayoutBytes().Text("\x98").Bytes(), "Байт 0x98 не определён в кодировке Windows-1251"},
  };
  for (const auto& damaged : cases) {
    WriteBytes("damaged.spr", damaged.bytes);
    TProject project("До");
    try {
      project.LoadFromFile(folder.File("damaged.spr"));
      ADD_FAILURE() << "accepted: " << damaged.fault;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), std::string("Файл проекта поврежден: ") + damaged.fault);
    }
    EXPECT_EQ(project.GetName(), "До");
    EXPECT_TRUE(project.GetDataSets().isEmpty());
    EXPECT_TRUE(project.IsNew());
  }
  // A file cut anywhere before its end.
  for (qsizetype size = 0; size < whole.size(); ++size) {
    WriteBytes("cut.spr", whole.left(size));
    TProject project("До");
    EXPECT_THROW(project.LoadFromFile(folder.File("cut.spr")), EReadError) << "cut at " << size;
    EXPECT_TRUE(project.GetCalculations().isEmpty());
  }
  WriteBytes("whole.spr", whole);
  TProject project("");
  EXPECT_NO_THROW(project.LoadFromFile(folder.File("whole.spr")));
}

TEST(Project, AFileThatCannotBeOpenedGivesTheOpenError) {
  ScratchFolder folder;
  TProject project("");
  try {
    project.LoadFromFile(folder.File("missing.spr"));
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Невозможно открыть файл проекта !");
  }
  EXPECT_EQ(project.GetFolder(), folder.Path() + "/");  // the file name is taken before the open
}

TEST(Project, ATextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
  ScratchFolder folder;
  TProject project("Проект");
  project.SaveAs(folder.File("p.spr"));
  const QByteArray saved = ReadBytes(folder.File("p.spr"));

  project.AddDataSet("/" + QString(256, 'd'));  // 257 bytes
  try {
    project.Save();
    FAIL() << "a 257-byte path was written";
  } catch (const EConvertError& error) {
    EXPECT_NE(error.Message().find("длиннее 256 байт"), std::string::npos) << error.Message();
  }
  EXPECT_EQ(ReadBytes(folder.File("p.spr")), saved);
  EXPECT_TRUE(project.IsModified());
}

TEST(Project, ATitleOutsideCodePage1251IsRefused) {
  ScratchFolder folder;
  TProject project("数据");
  try {
    project.SaveAs(folder.File("p.spr"));
    FAIL();
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(),
              "Текст \"数据\" не может быть сохранен: Символ \"数\" невозможно записать в кодировке Windows-1251");
  }
  EXPECT_FALSE(QFile::exists(folder.File("p.spr")));
  EXPECT_TRUE(project.IsNew());
}

TEST(Project, AFailedSaveLeavesThePreviousFile) {
  ScratchFolder folder;
  TProject project("Проект");
  project.SaveAs(folder.File("p.spr"));
  const QByteArray saved = ReadBytes(folder.File("p.spr"));
  project.AddDataSet("/" + QString(200, 'd'));

  // A file size limit below the new file makes the write itself fail.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous;
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  try {
    project.Save();
    ADD_FAILURE() << "the save went through";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно создать файл проекта !");
  }
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(ReadBytes(folder.File("p.spr")), saved);
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList({"p.spr"}));
  EXPECT_TRUE(project.IsModified());
}

TEST(Project, CalculationEntriesAndTheActiveIndex) {
  TProject project("");
  project.AddCalculation("/c/a.scl");
  project.AddCalculation("/c/b.scl");
  project.AddCalculation("/c/a.scl");  // a second entry of the same path, made active
  EXPECT_EQ(project.GetCalculations().size(), 3);
  EXPECT_EQ(project.GetActiveCalculation(), 2);

  project.SetActiveCalculation(0);
  project.DeleteCalculation(1);  // the active index moves to the last entry, not a neighbour
  EXPECT_EQ(project.GetCalculations(), QStringList({"/c/a.scl", "/c/a.scl"}));
  EXPECT_EQ(project.GetActiveCalculation(), 1);

  project.RenameActiveCalculation("/c/renamed.scl");
  EXPECT_EQ(project.GetCalculations(), QStringList({"/c/a.scl", "/c/renamed.scl"}));

  project.SetActiveCalculation(0);
  project.RemoveCalculation("/c/A.scl");  // paths are case-sensitive here: nothing removed
  EXPECT_EQ(project.GetCalculations().size(), 2);
  EXPECT_EQ(project.GetActiveCalculation(), 1);
  project.RemoveCalculation("/c/a.scl");
  EXPECT_EQ(project.GetCalculations(), QStringList({"/c/renamed.scl"}));
  project.DeleteCalculation(-1);
  EXPECT_EQ(project.GetActiveCalculation(), 0);
  project.DeleteCalculation(0);
  EXPECT_EQ(project.GetActiveCalculation(), -1);
}

TEST(Project, EveryChangeMarksTheProjectModified) {
  const std::function<void(TProject&)> changes[] = {
      [](TProject& p) { p.SetName("x"); },
      [](TProject& p) { p.SetActiveCalculation(-1); },
      [](TProject& p) { p.AddCalculation("/a.scl"); },
      [](TProject& p) { p.RemoveCalculation("/not-listed.scl"); },
      [](TProject& p) { p.DeleteCalculation(-1); },
      [](TProject& p) { p.AddReport("r", "/f"); },
      [](TProject& p) { p.DeleteReport(-1); },
      [](TProject& p) { p.AddDataSet("/a.sds"); },
  };
  for (const auto& change : changes) {
    TProject project("");
    change(project);
    EXPECT_TRUE(project.IsModified());
  }
}

TEST(Project, AReportFolderIsFoundByItsExactCaption) {
  TProject project("");
  project.AddReport("Отчет на 1", "/first");
  project.AddReport("Отчет", "/second");
  project.AddReport("Отчет", "/third");
  EXPECT_EQ(project.GetReportFolder("Отчет"), "/second");
  EXPECT_EQ(project.GetReportFolder("Отчет на 1"), "/first");
  EXPECT_EQ(project.GetReportFolder("Отчет на"), "");     // a proper prefix of a caption
  EXPECT_EQ(project.GetReportFolder("Отчет на 12"), "");  // a caption is a proper prefix of it
  EXPECT_EQ(project.GetReportFolder("отчет"), "");
}

class ProjectReports : public testing::Test {
protected:
  // A run folder as the system makes it, with two files and a subfolder.
  QString MakeRunFolder(const QString& base, const QString& stamp) {
    const QString folder = base + "/Reports/" + stamp;
    QDir().mkpath(folder + "/Tables");
    WriteBytes(folder + "/index.html", "<html/>");
    WriteBytes(folder + "/.hidden", "x");
    WriteBytes(folder + "/Tables/t.txt", "t");
    return folder;
  }
  ScratchFolder scratch;
};

TEST_F(ProjectReports, DeletingARunFoldersReportDeletesItsFilesButNotSubfolders) {
  const QString folder = MakeRunFolder(scratch.Path(), "20240102-030405006");
  TProject project("");
  project.AddReport("Отчет", folder);
  project.AddReport("Другой", "/elsewhere");
  project.DeleteReport(0);
  EXPECT_EQ(project.GetReports(), QStringList({"Другой|/elsewhere"}));
  EXPECT_FALSE(QFile::exists(folder + "/index.html"));
  EXPECT_FALSE(QFile::exists(folder + "/.hidden"));
  EXPECT_TRUE(QFile::exists(folder + "/Tables/t.txt"));
  EXPECT_TRUE(QDir(folder).exists());  // still holds the subfolder

  const QString empty = scratch.Path() + "/Reports/20240102-030405007";
  QDir().mkpath(empty);
  WriteBytes(empty + "/index.html", "<html/>");
  project.AddReport("Отчет", empty);
  project.DeleteReport(1);
  EXPECT_FALSE(QDir(empty).exists());
}

TEST_F(ProjectReports, AFolderTheSystemDidNotMakeKeepsItsFiles) {
  // Not a time stamp; not below "Reports"; the project folder itself; a link to a run folder.
  QDir().mkpath(scratch.Path() + "/Reports/notes");
  WriteBytes(scratch.Path() + "/Reports/notes/keep.txt", "k");
  QDir().mkpath(scratch.Path() + "/Other/20240102-030405006");
  WriteBytes(scratch.Path() + "/Other/20240102-030405006/keep.txt", "k");
  const QString real = MakeRunFolder(scratch.Path() + "/real", "20240102-030405006");
  QDir().mkpath(scratch.Path() + "/linked/Reports");
  QFile::link(real, scratch.Path() + "/linked/Reports/20240102-030405009");

  TProject project("");
  project.AddReport("a", scratch.Path() + "/Reports/notes");
  project.AddReport("b", scratch.Path() + "/Other/20240102-030405006");
  project.AddReport("c", scratch.Path() + "/linked/Reports/20240102-030405009");
  project.AddReport("d", scratch.Path());
  WriteBytes(scratch.Path() + "/keep.txt", "k");
  for (int index = 3; index >= 0; --index) project.DeleteReport(index);
  EXPECT_TRUE(project.GetReports().isEmpty());
  EXPECT_TRUE(QFile::exists(scratch.Path() + "/Reports/notes/keep.txt"));
  EXPECT_TRUE(QFile::exists(scratch.Path() + "/Other/20240102-030405006/keep.txt"));
  EXPECT_TRUE(QFile::exists(real + "/index.html"));
  EXPECT_TRUE(QFile::exists(scratch.Path() + "/keep.txt"));
}

TEST_F(ProjectReports, AnEntryWithoutABarIsAFolderPathOfItsOwn) {
  const QString folder = MakeRunFolder(scratch.Path(), "20240102-030405006");
  WriteBytes("bare.spr", LayoutBytes()
                             .Text("P")
                             .List({})
                             .List({})
                             .List({folder.toUtf8()})  // an ASCII path: its UTF-8 bytes are its code page 1251 bytes
                             .Int32(-1)
                             .Int32(-1)
                             .Bytes());
  TProject project("");
  project.LoadFromFile(scratch.File("bare.spr"));
  project.DeleteReport(0);
  EXPECT_TRUE(project.GetReports().isEmpty());
  EXPECT_FALSE(QFile::exists(folder + "/index.html"));
}

}  // namespace
