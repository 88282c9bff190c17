// The project model and its file. Expected files are built by hand from the
// project file's layout table; Cyrillic texts appear as their code page 1251
// bytes.
#include "shell/model/project.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "platform/tests/file_size_limit.h"

namespace {

const QByteArray kProjectCp1251("\xCF\xF0\xEE\xE5\xEA\xF2");  // "Проект"

TEST(Project, FilesAreWrittenByteForByteAndReadBack) {
  ScratchFolder folder;
  TProject project("Проект");
  EXPECT_EQ(project.GetFolder(), "");
  EXPECT_TRUE(project.IsNew());
  project.SaveAs(folder.File("empty.spr"));
  // 24 + n bytes for a title of n bytes.
  EXPECT_EQ(ReadBytes(folder.File("empty.spr")),
            LayoutBytes().Text(kProjectCp1251).Int32(0).Int32(0).Int32(0).Int32(-1).Int32(-1).Bytes());
  EXPECT_FALSE(project.IsNew());
  EXPECT_EQ(project.GetFolder(), folder.Path() + "/");

  project.AddDataSet("/d/a.sds");
  project.AddDataSet("/d/b.sds");
  project.AddCalculation("/c/one.scl");
  project.AddCalculation("/c/two.scl");
  project.SetActiveCalculation(0);
  project.AddReport("Отчет", "/r/Reports/20240102-030405006");
  project.SaveAs(folder.File("full.spr"));
  const QByteArray expected =
      LayoutBytes()
          .Text(kProjectCp1251)
          .List({"/d/a.sds", "/d/b.sds"})
          .List({"/c/one.scl", "/c/two.scl"})
          .List({"\xCE\xF2\xF7\xE5\xF2|/r/Reports/20240102-030405006"})  // "Отчет|..."
          .Int32(1)
          .Int32(0)
          .Bytes();
  EXPECT_EQ(ReadBytes(folder.File("full.spr")), expected);

  TProject read("");
  read.LoadFromFile(folder.File("full.spr"));
  EXPECT_EQ(read.GetName(), "Проект");
  EXPECT_EQ(read.GetDataSets(), QStringList({"/d/a.sds", "/d/b.sds"}));
  EXPECT_EQ(read.GetCalculations(), QStringList({"/c/one.scl", "/c/two.scl"}));
  EXPECT_EQ(read.GetReports(), QStringList({"Отчет|/r/Reports/20240102-030405006"}));
  EXPECT_EQ(read.GetActiveCalculation(), 0);
  EXPECT_FALSE(read.IsNew() || read.IsModified());
  read.SaveAs(folder.File("again.spr"));  // the active data set, which has no getter, included
  EXPECT_EQ(ReadBytes(folder.File("again.spr")), expected);
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
      {LayoutBytes().Text(QByteArray(257, 'x')).Bytes(),
       "длина строки 257 байт вне допустимых пределов от 0 до 256"},
      {LayoutBytes().Int32(-1).Bytes(), "длина строки -1 байт вне допустимых пределов от 0 до 256"},
      {LayoutBytes().Raw(head).Int32(-2).Bytes(), "отрицательное число строк в списке (-2)"},
      {whole + "z", "после последнего поля остались лишние байты (1)"},
      {LayoutBytes().Raw(head).List({}).List({}).Int32(1).Int32(-1).Bytes(),
       "номер активного набора данных 1 вне списка"},
      {LayoutBytes().Raw(head).List({"/c/a.scl"}).List({}).Int32(0).Int32(1).Bytes(),
       "номер активного расчета 1 вне списка"},
      {LayoutBytes().Text("\x98").Bytes(), "Байт 0x98 не определён в кодировке Windows-1251"},
      {LayoutBytes().Raw(head).Int32(65537).Bytes(), "число строк в списке 65537 больше наибольшего (65536)"},
  };
  for (const auto& damaged : cases) {
    WriteBytes("damaged.spr", damaged.bytes);
    TProject project("До");
    try {
      project.LoadFromFile(folder.File("damaged.spr"));
      ADD_FAILURE() << "accepted: " << damaged.fault;
    } catch (const EReadError& error) {
      EXPECT_EQ(
          error.Message(),
          ("Файл проекта «" + folder.File("damaged.spr") + "» поврежден: ").toStdString() + damaged.fault);
    }
    EXPECT_EQ(project.GetName(), "До");
    EXPECT_TRUE(project.GetDataSets().isEmpty());
    EXPECT_TRUE(project.IsNew());
  }
  for (qsizetype size = 0; size < whole.size(); ++size) {
    WriteBytes("cut.spr", whole.left(size));
    TProject project("До");
    EXPECT_THROW(project.LoadFromFile(folder.File("cut.spr")), EReadError) << "cut at " << size;
  }
  // The longest string the reader takes is 256 bytes.
  WriteBytes("256.spr", LayoutBytes().Text(QByteArray(256, 'x')).Raw(whole.mid(5)).Bytes());
  TProject longest("");
  longest.LoadFromFile(folder.File("256.spr"));
  EXPECT_EQ(longest.GetName(), QString(256, 'x'));
  try {
    longest.LoadFromFile(folder.File("missing.spr"));
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Невозможно открыть файл проекта !");
  }
  // Neither a pipe nor a file longer than the longest project is read.
  ASSERT_EQ(mkfifo("pipe.spr", 0600), 0);
  EXPECT_THROW(longest.LoadFromFile(folder.File("pipe.spr")), EFOpenError);
  WriteBytes("huge.spr", "");
  ASSERT_TRUE(QFile::resize("huge.spr", 51118361));
  try {
    longest.LoadFromFile(folder.File("huge.spr"));
    FAIL();
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), ("Невозможно открыть файл проекта ! Файл «" + folder.File("huge.spr") +
                                "» длиннее 51118360 байт: файл этого вида не бывает таким большим.")
                                   .toStdString());
  }
}

TEST(Project, ATextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
  ScratchFolder folder;
  TProject project("数据");
  try {
    project.SaveAs(folder.File("p.spr"));
    FAIL();
  } catch (const EConvertError& error) {
    EXPECT_EQ(
        error.Message(),
        "Текст «数据» не может быть сохранен: Символ «数» невозможно записать в кодировке Windows-1251");
  }
  // The message cuts a long text before the character that would not fit whole.
  project.SetName(QString(59, 'a') + "😀b");
  try {
    project.SaveAs(folder.File("p.spr"));
    FAIL();
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(),
              "Текст «" + std::string(59, 'a') +
                  "...» не может быть сохранен: Символ «😀» невозможно записать в кодировке Windows-1251");
  }
  EXPECT_FALSE(QFile::exists(folder.File("p.spr")));

  project.SetName("Проект");
  project.Save();
  const QByteArray saved = ReadBytes(folder.File("p.spr"));
  project.AddDataSet("/" + QString(256, 'd'));  // 257 bytes
  EXPECT_THROW(project.Save(), EConvertError);
  EXPECT_EQ(ReadBytes(folder.File("p.spr")), saved);
  EXPECT_TRUE(project.IsModified());
}

TEST(Project, AFailedSaveLeavesThePreviousFile) {
  ScratchFolder folder;
  TProject project("Проект");
  project.SaveAs(folder.File("p.spr"));
  const QByteArray saved = ReadBytes(folder.File("p.spr"));
  project.AddDataSet("/" + QString(200, 'd'));

  // A file size limit below the new file's size makes the write itself fail.
  try {
    const FileSizeLimit limit(100);
    project.Save();
    ADD_FAILURE() << "the save went through";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно создать файл проекта !");
  }

  EXPECT_EQ(ReadBytes(folder.File("p.spr")), saved);
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList({"p.spr"}));
  EXPECT_TRUE(project.IsModified());
}

TEST(Project, EveryChangeMarksTheProjectModifiedAndCalculationEntriesMoveTheActiveIndex) {
  const std::function<void(TProject&)> changes[] = {
      [](TProject& p) { p.SetName("x"); },          [](TProject& p) { p.SetActiveCalculation(-1); },
      [](TProject& p) { p.AddCalculation("/a"); },  [](TProject& p) { p.RemoveCalculation("/not-listed"); },
      [](TProject& p) { p.DeleteCalculation(-1); }, [](TProject& p) { p.AddReport("r", "/f"); },
      [](TProject& p) { p.DeleteReport(-1); },      [](TProject& p) { p.AddDataSet("/a.sds"); },
  };
  for (const auto& change : changes) {
    TProject project("");
    change(project);
    EXPECT_TRUE(project.IsModified());
  }

  TProject project("");
  project.AddCalculation("/c/a.scl");
  project.AddCalculation("/c/b.scl");
  project.AddCalculation("/c/a.scl");  // listed twice, the new entry active
  EXPECT_EQ(project.GetActiveCalculation(), 2);
  project.SetActiveCalculation(0);
  project.DeleteCalculation(1);  // the last entry, not a neighbour, becomes active
  EXPECT_EQ(project.GetCalculations(), QStringList({"/c/a.scl", "/c/a.scl"}));
  EXPECT_EQ(project.GetActiveCalculation(), 1);
  project.RenameActiveCalculation("/c/renamed.scl");
  project.SetActiveCalculation(0);
  project.RemoveCalculation("/c/A.scl");  // file names are case-sensitive here: nothing removed
  EXPECT_EQ(project.GetCalculations(), QStringList({"/c/a.scl", "/c/renamed.scl"}));
  EXPECT_EQ(project.GetActiveCalculation(), 1);
  project.RemoveCalculation("/c/a.scl");
  project.DeleteCalculation(0);
  EXPECT_EQ(project.GetActiveCalculation(), -1);
}

TEST(Project, AReportFolderIsFoundByItsExactCaption) {
  TProject project("");
  project.AddReport("Отчет на 1", "/first");
  project.AddReport("Отчет", "/second");
  project.AddReport("Отчет", "/third");
  EXPECT_EQ(project.GetReportFolder("Отчет"), "/second");
  EXPECT_EQ(project.GetReportFolder("Отчет на"), "");     // a proper prefix of a caption
  EXPECT_EQ(project.GetReportFolder("Отчет на 12"), "");  // a caption is a proper prefix of it
  EXPECT_EQ(project.GetReportFolder("отчет"), "");
}

// A run folder as the system makes it, with a file, a hidden file and a subfolder.
void MakeRunFolder(const QString& folder) {
  QDir().mkpath(folder + "/Tables");
  WriteBytes(folder + "/index.html", "<html/>");
  WriteBytes(folder + "/.hidden", "x");
  WriteBytes(folder + "/Tables/t.txt", "t");
}

// Only this project's own run folders lose their files, those of runs made
// before it was first saved included; any other folder that an entry names
// keeps them and is returned. Project files name folders by absolute paths,
// so a copied project still names the original's.
TEST(Project, DeletingAReportDeletesTheFilesOfThisProjectsRunFoldersOnly) {
  const QString stamp = "20240102-030405006";
  const struct {
    const char* what;
    QString project;   // the project file's folder
    QString entry;     // relative ones are taken from the scratch folder
    QString location;  // where the folder's files really are
    bool deleted;
  } cases[] = {
      {"own run folder", "p", "p/Reports/" + stamp, "p/Reports/" + stamp, true},
      {"made before the first save", "p", "program/Projects/Reports/" + stamp,
       "program/Projects/Reports/" + stamp, true},
      {"another project's", "p", "q/Reports/" + stamp, "q/Reports/" + stamp, false},
      {"out through \"..\"", "p", "p/Reports/../../q/Reports/" + stamp, "q/Reports/" + stamp, false},
      {"\"Reports\" a link out", "l", "l/Reports/" + stamp, "q/Reports/" + stamp, false},
      {"time stamp a link out", "m", "m/Reports/" + stamp, "q/Reports/" + stamp, false},
      {"not a time stamp", "p", "p/Reports/notes", "p/Reports/notes", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder scratch;
    const QString root = scratch.Path() + "/";
    platform::SetProgramFolder((root + "program/").toStdString());
    for (const char* folder : {"p/Reports/", "q/Reports/", "program/Projects/Reports/"})
      MakeRunFolder(root + folder + stamp);
    MakeRunFolder(root + "p/Reports/notes");
    QDir().mkpath(root + "l");
    QFile::link(root + "q/Reports", root + "l/Reports");
    QDir().mkpath(root + "m/Reports");
    QFile::link(root + "q/Reports/" + stamp, root + "m/Reports/" + stamp);

    TProject project("");
    project.SaveAs(root + c.project + "/x.spr");
    const QString entry = root + c.entry;
    project.AddReport("Отчет", entry);
    EXPECT_EQ(project.DeleteReport(0), c.deleted ? "" : entry);
    EXPECT_TRUE(project.GetReports().isEmpty());
    const QString location = root + c.location;
    EXPECT_EQ(QFile::exists(location + "/index.html"), !c.deleted);
    EXPECT_EQ(QFile::exists(location + "/.hidden"), !c.deleted);
    EXPECT_TRUE(
        QFile::exists(location + "/Tables/t.txt"));  // no recursion: the subfolder and the folder stay

    // A relative entry names no run folder; a folder that is gone keeps nothing.
    project.AddReport("Отчет", c.entry);
    project.AddReport("Отчет", root + "q/Reports/20000101-000000000");
    EXPECT_EQ(project.DeleteReport(1), "");
    EXPECT_EQ(project.DeleteReport(0), c.entry);
    platform::SetProgramFolder("");
  }

  // An entry without "|", from a file, is a folder path of its own; an emptied folder goes.
  ScratchFolder scratch;
  const QString run = scratch.Path() + "/Reports/" + stamp;
  QDir().mkpath(run);
  WriteBytes(run + "/index.html", "<html/>");
  WriteBytes("bare.spr",  // an ASCII path: its UTF-8 bytes are its code page 1251 bytes
             LayoutBytes().Text("P").List({}).List({}).List({run.toUtf8()}).Int32(-1).Int32(-1).Bytes());
  TProject bare("");
  bare.LoadFromFile(scratch.File("bare.spr"));
  EXPECT_EQ(bare.DeleteReport(0), "");
  EXPECT_TRUE(bare.GetReports().isEmpty());
  EXPECT_FALSE(QDir(run).exists());
}

// A run folder swapped for a link to a folder outside the project, over and
// over while its report is deleted, never has that folder's files deleted:
// what cannot be deleted safely is kept, and its own files go when it stands
// in its place.
TEST(Project, ARunFolderSwappedForALinkWhileItsReportIsDeletedLeadsNowhereElse) {
  ScratchFolder scratch;
  const QByteArray run = QFile::encodeName(scratch.File("p/Reports/20240102-030405006"));
  const QByteArray link = QFile::encodeName(scratch.File("p/Reports/link"));
  MakeRunFolder(run);
  MakeRunFolder(scratch.File("outside"));
  ASSERT_TRUE(QFile::link(scratch.File("outside"), link));
  TProject project("");
  project.SaveAs(scratch.File("p/x.spr"));
  // The run folder itself, under whichever name it has at the moment.
  const int folder = open(run.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  std::atomic<bool> done = false;
  std::thread swapper([&] {
    while (!done) renameat2(AT_FDCWD, run.constData(), AT_FDCWD, link.constData(), RENAME_EXCHANGE);
  });
  int deleted_outside = 0;
  int deleted_inside = 0;
  for (int deletion = 0; deletion < 5000; ++deletion) {
    close(openat(folder, "index.html", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    project.AddReport("Отчет", run);
    project.DeleteReport(0);
    if (faccessat(folder, "index.html", F_OK, 0) != 0) ++deleted_inside;
    if (!QFile::exists(scratch.File("outside/index.html"))) {
      ++deleted_outside;
      WriteBytes(scratch.File("outside/index.html"), "<html/>");
    }
  }
  done = true;
  swapper.join();
  close(folder);
  EXPECT_EQ(deleted_outside, 0);
  EXPECT_GT(deleted_inside, 0);
}

}  // namespace
