// The File commands end to end: the actions executed as the menu executes
// them, the questions and dialogs answered by the scripted prompt, the files
// checked on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QMenu>
#include <functional>

#include "shell/windows/tests/main_window_fixture.h"

namespace {

using Answer = Prompt::Answer;

class FileCommands : public CommandsFixture {
 protected:
  QString Root() { return Tree()->topLevelItem(0)->text(0); }

  // Opens the recent-file submenu as the user does and returns its items.
  QList<QAction*> HistoryItems() {
    auto* submenu = Child<QMenu>(Window(), "itemReopen");
    emit submenu->aboutToShow();
    return submenu->actions();
  }

  QStringList VisibleHistory() {
    QStringList captions;
    for (QAction* item : HistoryItems()) {
      if (item->isVisible()) captions.append(item->isSeparator() ? "-" : item->text());
    }
    return captions;
  }

  // A saved project with one saved calculation, closed again.
  void SavedProjectWithCalculation() {
    NewProject();
    NewCalculation();
    SaveCalculationAs(File("c1.scl"));
    SaveProjectAs(File("p.spr"));
    ASSERT_TRUE(Execute("FileCloseAll"));
  }
};

TEST_F(FileCommands, NewProjectAndCalculationAreNamedAsTypedAndTheCalculationStandsAsPlaceholder) {
  for (const char* name : {"FileNewProject", "FileOpen", "FileOpenProject", "FileExit"}) {
    EXPECT_TRUE(Enabled(name)) << name;
  }
  for (const char* name : {"FileNewCalculation", "FileNewDataSet", "FileReopen", "FileSave", "FileSaveAs",
                           "FileProjectSaveAs", "FileSaveAll", "FileClose", "FileCloseAll"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  NewProject("Мой проект");
  EXPECT_EQ(prompt_.namesAsked, QStringList({"Новый проект | Название проекта | New project"}));
  EXPECT_EQ(Root(), "Мой проект");
  EXPECT_TRUE(Child<QWidget>(Window(), "tsProject")->isEnabled());
  EXPECT_TRUE(Enabled("FileSaveAll"));  // a new project is unsaved

  NewCalculation("Первый");
  EXPECT_EQ(prompt_.namesAsked.last(), "Новый расчет | Название расчета | New calculation");
  EXPECT_EQ(Nodes(kCalculations), QStringList({"Безымянный 22"}));
  EXPECT_EQ(Child<QGroupBox>(Window(), "gbCalculation")->title(), "Первый");
  EXPECT_TRUE(Child<QWidget>(Window(), "tsCalculation")->isEnabled());

  // Cancelling the name question changes nothing; a new project replaces a
  // modified one after the project's question, and No discards it.
  EXPECT_TRUE(Execute("FileNewProject"));
  EXPECT_EQ(Root(), "Мой проект");
  EXPECT_TRUE(prompt_.questions.isEmpty());
  NewProject("Новый");
  EXPECT_EQ(prompt_.questions, QStringList({"Предупреждение: Проект был изменен, сохранить ?"}));
  EXPECT_EQ(Root(), "Новый");
  EXPECT_EQ(Window().Calculation(), nullptr);
}

TEST_F(FileCommands, SavingANewCalculationAsksForANameWhoseExtensionIsAddedAndReplacesThePlaceholder) {
  NewProject();
  NewCalculation();
  // "Сохранить" on a new calculation is "Сохранить как...": cancelled, nothing is saved.
  EXPECT_TRUE(Execute("FileSave"));
  ASSERT_EQ(prompt_.fileDialogs.size(), 1);
  const ScriptedPrompt::FileDialogShown& shown = prompt_.fileDialogs.first();
  EXPECT_TRUE(shown.save);
  EXPECT_EQ(shown.setup.filter, "Файл расчета (*.scl)|*.scl|Все файлы (*.*)|*.*");
  EXPECT_EQ(shown.setup.filter_index, 1);
  EXPECT_EQ(shown.setup.initial_folder, WB_STAGE_DIR "/Projects/");  // the project was never saved
  EXPECT_EQ(Nodes(kCalculations), QStringList({"Безымянный 22"}));

  prompt_.files.append(File("new"));
  EXPECT_TRUE(Execute("FileSave"));
  EXPECT_TRUE(QFile::exists(File("new.scl")));
  EXPECT_EQ(Nodes(kCalculations),
            QStringList({File("new.scl") + " 22"}));  // full path: no project folder yet

  // A project file name in the calculation dialog saves nothing and says nothing.
  SaveCalculationAs(File("a.spr"));
  EXPECT_FALSE(QFile::exists(File("a.spr")));
  EXPECT_TRUE(prompt_.errors.isEmpty());

  // Once the project is saved, its dialogs start in its folder and the tree
  // shows paths relative to it.
  SaveProjectAs(File("p"));
  EXPECT_TRUE(QFile::exists(File("p.spr")));
  EXPECT_EQ(Nodes(kCalculations), QStringList({"new.scl 22"}));
  EXPECT_TRUE(Execute("FileSaveAs"));
  EXPECT_EQ(prompt_.fileDialogs.last().setup.initial_folder, folder_.path() + "/");
}

TEST_F(FileCommands, OpenDialogsOfferTheirTypesAndOpenOnlyWhatTheMaskAllows) {
  const auto prepare = [&](TFileDialog::Kind kind, int mask) {
    Window().PrepareFileDialog(kind, mask, 1);
    TFileDialog& dialog = kind == TFileDialog::Kind::Open ? Window().OpenDialog() : Window().SaveDialog();
    return dialog.Setup().filter + " / " + dialog.DefaultExt();
  };
  EXPECT_EQ(prepare(TFileDialog::Kind::Open, 7),
            "Файл проекта (*.spr)|*.spr|Файл расчета (*.scl)|*.scl|Файл набора данных (*.sds)|*.sds|"
            "Все файлы (*.*)|*.* / spr");
  EXPECT_EQ(prepare(TFileDialog::Kind::Open, 6),
            "Файл расчета (*.scl)|*.scl|Файл набора данных (*.sds)|*.sds|Все файлы (*.*)|*.* / scl");
  EXPECT_EQ(prepare(TFileDialog::Kind::Save, 16),
            "Книга Microsoft Exel 5.0 (*.xls)|*.xls|Все файлы (*.*)|*.* / xls");
  EXPECT_EQ(prepare(TFileDialog::Kind::Save, 8),
            "Файл отчета (*.html,*.htm)|*.html;*.htm|Все файлы (*.*)|*.* / html");
  EXPECT_EQ(prepare(TFileDialog::Kind::Open, 0), " / ");

  // Upper-case and report extensions lead to nothing; a calculation or a
  // data set needs an open project.
  for (const QString& name : {File("x.SPR"), File("r.html"), File("c.scl"), File("d.sds")}) {
    prompt_.files.append(name);
    EXPECT_TRUE(Execute("FileOpen"));
  }
  EXPECT_EQ(prompt_.errors, QStringList({"Не найден активный проект !", "Не найден активный проект !"}));
  EXPECT_EQ(Window().Project(), nullptr);
  EXPECT_FALSE(Enabled("FileReopen"));  // no list has changed
}

TEST_F(FileCommands, ClosingAsksToSaveEachModifiedDocumentAndOnlyYesSaves) {
  NewProject();
  NewCalculation();
  SaveCalculationAs(File("c1.scl"));
  SaveProjectAs(File("p.spr"));
  ChooseMethod(0);  // modifies the calculation
  const QByteArray saved = ReadBytes(File("c1.scl"));

  prompt_.answers = {Answer::No};
  ASSERT_TRUE(Execute("FileClose"));
  EXPECT_EQ(prompt_.questions, QStringList({"Предупреждение: Расчет был изменен, сохранить ?"}));
  EXPECT_EQ(ReadBytes(File("c1.scl")), saved);
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_FALSE(Child<QWidget>(Window(), "tsCalculation")->isEnabled());
  EXPECT_EQ(Nodes(kCalculations), QStringList({"c1.scl 1"}));  // no active calculation now

  // Reopened from the tree, modified and closed with Yes: the file changes.
  Select(Group(kCalculations)->child(0));
  ASSERT_TRUE(Execute("PrjSetActive"));
  ChooseMethod(0);
  prompt_.answers = {Answer::Yes, Answer::No};
  ASSERT_TRUE(Execute("FileCloseAll"));
  EXPECT_TRUE(ReadBytes(File("c1.scl")).contains("PM"));
  EXPECT_EQ(prompt_.questions.last(), "Предупреждение: Проект был изменен, сохранить ?");
  EXPECT_EQ(Window().Project(), nullptr);
  EXPECT_EQ(Root(), "Проект");
  EXPECT_FALSE(Child<QWidget>(Window(), "tsProject")->isEnabled());
}

// Yes with its Save As dialog cancelled calls each close off: the
// calculation, the project and the window stay with their changes. Asked
// again, Yes saves and No closes without saving; a new calculation closed
// unsaved takes its placeholder out of the project.
TEST_F(FileCommands, ACloseWhoseSaveAsIsCancelledIsCalledOff) {
  const struct {
    const char* what;
    std::function<void()> close;
    bool closes_project;
    bool closes_window;
  } closes[] = {
      {"FileClose", [&] { ASSERT_TRUE(Execute("FileClose")); }, false, false},
      {"FileCloseAll", [&] { ASSERT_TRUE(Execute("FileCloseAll")); }, true, false},
      {"the window", [&] { Window().close(); }, true, true},
  };
  const QString project_question = "Предупреждение: Проект был изменен, сохранить ?";
  for (const auto& c : closes) {
    SCOPED_TRACE(c.what);
    window_.reset();
    prompt_ = ScriptedPrompt();
    QFile::remove(File("c.scl"));
    NewProject();
    NewCalculation();
    ChooseMethod(0);
    Window().show();

    prompt_.answers = {Answer::Yes};  // the dialog is cancelled
    c.close();
    EXPECT_EQ(prompt_.questions, QStringList({"Предупреждение: Расчет был изменен, сохранить ?"}));
    EXPECT_TRUE(prompt_.fileDialogs.last().save);
    ASSERT_NE(Window().Calculation(), nullptr);
    EXPECT_TRUE(Window().Calculation()->IsModified());
    EXPECT_EQ(Nodes(kCalculations), QStringList({"Безымянный 22"}));
    EXPECT_TRUE(Window().isVisible());

    prompt_.answers = {Answer::Yes, Answer::Yes};  // the project's dialog is cancelled
    prompt_.files = {File("c.scl")};
    c.close();
    EXPECT_TRUE(QFile::exists(File("c.scl")));
    EXPECT_EQ(Window().Calculation(), nullptr);
    ASSERT_NE(Window().Project(), nullptr);
    EXPECT_TRUE(Window().Project()->IsModified());
    EXPECT_EQ(prompt_.questions.last() == project_question, c.closes_project);
    EXPECT_EQ(Nodes(kCalculations), QStringList({File("c.scl") + " 1"}));
    EXPECT_TRUE(Window().isVisible());

    NewCalculation();
    ChooseMethod(0);
    prompt_.answers = {Answer::No, Answer::No};
    c.close();
    EXPECT_EQ(Window().Calculation(), nullptr);
    EXPECT_EQ(Window().Project() == nullptr, c.closes_project);
    if (!c.closes_project) {
      EXPECT_EQ(Nodes(kCalculations), QStringList({File("c.scl") + " 1"}));
    }
    EXPECT_EQ(Window().isVisible(), !c.closes_window);
  }
}

TEST_F(FileCommands, SaveAllWritesAnUnchangedSavedProjectAndAModifiedCalculation) {
  SavedProjectWithCalculation();
  prompt_.files.append(File("p.spr"));
  ASSERT_TRUE(Execute("FileOpenProject"));
  ASSERT_NE(Window().Calculation(), nullptr);
  EXPECT_FALSE(Enabled("FileSaveAll"));
  QFile::remove(File("p.spr"));
  ChooseMethod(0);
  ASSERT_TRUE(Execute("FileSaveAll"));
  EXPECT_TRUE(QFile::exists(File("p.spr")));
  EXPECT_TRUE(ReadBytes(File("c1.scl")).contains("PM"));
  EXPECT_FALSE(Window().Calculation()->IsModified());
}

TEST_F(FileCommands, RecentFilesAreNumberedAcrossBothListsAndReopenLeavesTheirOrder) {
  SavedProjectWithCalculation();
  // A second project and two calculations in it.
  NewProject();
  SaveProjectAs(File("q.spr"));
  for (const char* name : {"c2.scl", "c3.scl"}) {
    NewCalculation();
    SaveCalculationAs(File(name));
  }
  EXPECT_EQ(VisibleHistory(),
            QStringList({"&1 " + File("q.spr"), "&2 " + File("p.spr"), "-", "&3 " + File("c3.scl"),
                         "&4 " + File("c2.scl"), "&5 " + File("c1.scl")}));

  // Reopening the first project: it opens with its active calculation, and
  // the list keeps its order.
  prompt_.answers = {Answer::No};
  HistoryItems().at(1)->trigger();
  EXPECT_EQ(Window().Project()->GetName(), "Проект А");
  ASSERT_NE(Window().Calculation(), nullptr);
  EXPECT_EQ(Window().Calculation()->GetFileName(), File("c1.scl"));
  EXPECT_EQ(VisibleHistory().at(0), "&1 " + File("q.spr"));

  // A calculation item opens into the open project.
  HistoryItems().at(6)->trigger();
  EXPECT_EQ(Window().Calculation()->GetFileName(), File("c2.scl"));
  EXPECT_EQ(Nodes(kCalculations), QStringList({"c1.scl 1", "c2.scl 22"}));
}

// A history entry whose file is gone, is no regular file or is damaged shows
// why, naming a damaged file, and leaves its list; a pipe is not waited on.
TEST_F(FileCommands, AHistoryEntryThatCannotBeOpenedShowsWhyAndLeavesTheList) {
  SavedProjectWithCalculation();
  const QString project = File("p.spr");
  const QString calculation = File("c1.scl");
  const QByteArray saved[] = {ReadBytes(project), ReadBytes(calculation)};
  const QByteArray cut(
      "\x03\x00\x00\x00"
      "ab",
      6);
  const auto write = [](const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
  };
  const struct {
    QString path;
    std::function<void()> spoil;
    QString error;
  } cases[] = {
      {project, [&] { QFile::remove(project); }, "Невозможно открыть файл проекта !"},
      {project,
       [&] {
         QFile::remove(project);
         ASSERT_EQ(mkfifo(QFile::encodeName(project).constData(), 0600), 0);
       },
       "Невозможно открыть файл проекта ! «" + project +
           "» — не обычный файл, а папка, канал или устройство."},
      {project, [&] { write(project, cut); },
       "Файл проекта «" + project + "» поврежден: файл короче, чем указано в нем"},
      {calculation, [&] { write(calculation, cut); },
       "Файл расчета «" + calculation + "» поврежден: файл короче, чем указано в нем"},
  };
  for (const auto& c : cases) {
    window_.reset();
    SaveMainWindowSettings({{0, 0, 400, 500}, 0, {project}, {calculation}});
    QFile::remove(project);
    write(project, saved[0]);
    write(calculation, saved[1]);
    c.spoil();
    const bool is_project = c.path == project;
    if (!is_project) NewProject();
    HistoryItems().at(is_project ? 0 : kHistProjectSlots + 1)->trigger();
    EXPECT_EQ(prompt_.errors.last().toStdString(), c.error.toStdString());
    EXPECT_EQ(Window().Project() == nullptr, is_project);
    EXPECT_EQ(Window().Calculation(), nullptr);
    EXPECT_FALSE(VisibleHistory().contains("&1 " + c.path)) << c.error.toStdString();
  }

  // Without a project a calculation item only says so.
  window_.reset();
  SaveMainWindowSettings({{0, 0, 400, 500}, 0, {}, {calculation}});
  HistoryItems().at(kHistProjectSlots + 1)->trigger();
  EXPECT_EQ(prompt_.errors.last(), "Не найден активный проект !");
  EXPECT_EQ(VisibleHistory(), QStringList({"&1 " + calculation}));
}

TEST_F(FileCommands, AProjectWhoseActiveCalculationIsGoneDoesNotOpenAndLeavesTheList) {
  SavedProjectWithCalculation();
  QFile::remove(File("c1.scl"));
  HistoryItems().at(0)->trigger();
  EXPECT_EQ(prompt_.errors, QStringList({"Невозможно открыть файл расчета !"}));
  EXPECT_EQ(Window().Project(), nullptr);
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_EQ(Root(), "Проект");
  EXPECT_FALSE(VisibleHistory().contains("&1 " + File("p.spr")));
}

// A damaged file is refused whole: no empty project is left open in its place.
TEST_F(FileCommands, ADamagedProjectFileIsRefusedAndNothingStaysOpen) {
  QFile file(File("bad.spr"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      QByteArray("\x03\x00\x00\x00"
                 "abc\x05\x00",
                 9));
  file.close();
  prompt_.files.append(File("bad.spr"));
  ASSERT_TRUE(Execute("FileOpen"));
  ASSERT_EQ(prompt_.errors.size(), 1);
  EXPECT_TRUE(prompt_.errors.first().startsWith("Файл проекта «" + File("bad.spr") + "» поврежден"))
      << prompt_.errors.first().toStdString();
  EXPECT_EQ(Window().Project(), nullptr);
  EXPECT_FALSE(Enabled("FileCloseAll"));
}

// A project saved while its new calculation had no file yet lists the
// placeholder as active; it opens without a calculation instead of never.
TEST_F(FileCommands, AProjectSavedWithAnUnsavedCalculationOpensWithoutIt) {
  NewProject();
  NewCalculation();
  prompt_.files = {std::nullopt, File("p.spr")};  // the calculation's dialog is cancelled
  ASSERT_TRUE(Execute("FileSaveAll"));
  Window().show();
  EXPECT_TRUE(Window().close());
  EXPECT_EQ(Window().Project(), nullptr);

  prompt_.files.append(File("p.spr"));
  ASSERT_TRUE(Execute("FileOpenProject"));
  EXPECT_TRUE(prompt_.errors.isEmpty());
  ASSERT_NE(Window().Project(), nullptr);
  EXPECT_EQ(Window().Calculation(), nullptr);
  EXPECT_EQ(Nodes(kCalculations), QStringList({"Безымянный 22"}));
}

// Closing the window when a save asked for fails keeps the window and the
// unsaved project: the error has been shown.
TEST_F(FileCommands, ClosingTheWindowStaysOpenWhenTheSaveItAskedForFails) {
  NewProject();
  ASSERT_TRUE(QDir(folder_.path()).mkdir("sub"));
  SaveProjectAs(File("sub/p.spr"));
  Window().show();
  ASSERT_TRUE(QDir(File("sub")).removeRecursively());
  prompt_.names.append("Другое имя");
  Child<QAction>(Window(), "itemRenameProject")->trigger();
  prompt_.answers = {Answer::Yes};
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(prompt_.errors, QStringList({"Невозможно создать файл проекта !"}));
  EXPECT_NE(Window().Project(), nullptr);

  prompt_.answers = {Answer::No};
  EXPECT_TRUE(Window().close());
  EXPECT_EQ(Window().Project(), nullptr);
}

}  // namespace
