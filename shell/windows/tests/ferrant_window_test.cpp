// The data-set editor end to end: opened from the main window's commands,
// driven through its actions, answered through the scripted prompt and the
// new-data dialog.
#include "shell/windows/ferrant_window.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "ferrant/ferrant.h"
#include "shell/windows/application.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/new_data_dialog.h"
#include "shell/windows/tests/commands_fixture.h"
#include "workbook/f2book.h"

namespace {

using Answer = Prompt::Answer;

class FerrantWindowTest : public CommandsFixture {
 protected:
  void TearDown() override {
    RunDeferredDeletes();
    CommandsFixture::TearDown();
    RunDeferredDeletes();
    EXPECT_EQ(WFerrant, nullptr);
  }

  static void RunDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Fills the next "Новые данные" dialog once it shows, then presses OK or
  // Cancel; what the dialog showed is kept.
  void AnswerParameters(const QString& rows, const QString& cols, const QString& info, bool ok) {
    QTimer::singleShot(0, [this, rows, cols, info, ok] {
      auto* dialog = dynamic_cast<TWParameters*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown_ = {dialog->eRows->text(), dialog->eCols->text(), dialog->mInfo->toPlainText(),
                dialog->eRows->isEnabled() ? "editable" : "greyed"};
      if (dialog->eRows->isEnabled()) {
        dialog->eRows->setText(rows);
        dialog->eCols->setText(cols);
      }
      dialog->mInfo->setPlainText(info);
      (ok ? dialog->bbOk : dialog->bbCancel)->click();
    });
  }

  // A project and an editor over a new sheet of that size.
  TWFerrant& OpenEditor(int rows, int cols) {
    NewProject();
    AnswerParameters(QString::number(rows), QString::number(cols), "", true);
    EXPECT_TRUE(Execute("FileNewDataSet"));
    EXPECT_NE(WFerrant, nullptr);
    return *WFerrant;
  }

  TF2Book& Book() { return *WFerrant->Book(); }
  bool Run(const char* action) { return WFerrant->Actions().Execute(WFerrant->Actions().Find(action)); }

  void Put(const QList<QStringList>& rows) {
    for (int row = 0; row < rows.size(); ++row) {
      for (int col = 0; col < rows[row].size(); ++col)
        Book().Sheet().SetText(row + 1, col + 1, rows[row][col]);
    }
  }

  QList<QStringList> Cells(int rows, int cols) {
    QList<QStringList> out;
    for (int row = 1; row <= rows; ++row) {
      QStringList cells;
      for (int col = 1; col <= cols; ++col) cells.append(Book().Get_TextRC(row, col));
      out.append(cells);
    }
    return out;
  }

  // A data-set file of one row, 1.5 and 2.
  QString ExampleDataSet() {
    WorkbookSheet sheet;
    sheet.SetText(1, 1, "1.5");
    sheet.SetText(1, 2, "2");
    sheet.SetSelection({1, 1, 1, 2});
    const QString path = File("example.sds");
    Ferrant::SaveToFileFromBook(&sheet, path);
    return path;
  }

  QStringList MenuTitles() {
    QStringList titles;
    for (QAction* action : Window().menuBar()->actions()) titles.append(action->text());
    return titles;
  }

  QStringList shown_;
};

TEST_F(FerrantWindowTest, OneEditorAtATimeWithItsToolBarAndMenusOnTheMainWindow) {
  EXPECT_FALSE(Enabled("FileNewDataSet"));  // no project
  TWFerrant& editor = OpenEditor(20, 5);
  EXPECT_EQ(shown_, (QStringList{"50", "10", "", "editable"}));  // a fresh sheet's size
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");
  EXPECT_TRUE(editor.isMaximized());
  EXPECT_FALSE(Book().isHidden());
  EXPECT_EQ(Window().MdiArea()->activeSubWindow(), &editor);
  EXPECT_EQ(editor.ToolBar()->parent(), &Window());
  EXPECT_EQ(Window().toolBarArea(editor.ToolBar()), Qt::TopToolBarArea);
  EXPECT_EQ(MenuTitles(), (QStringList{"Файл", "&Правка", "Проект", "Наборы данных", "Окно"}));
  EXPECT_EQ(Window().StatusText(), "Файл: ");
  EXPECT_FALSE(Enabled("FileNewDataSet"));
  EXPECT_FALSE(Enabled("CalcTranslator"));

  // Another child window takes the menus away; the editor brings them back.
  auto* other = Window().MdiArea()->addSubWindow(new QWidget);
  other->show();
  Window().MdiArea()->setActiveSubWindow(other);
  EXPECT_EQ(MenuTitles(), (QStringList{"Файл", "Проект", "Окно"}));
  Window().MdiArea()->setActiveSubWindow(&editor);
  EXPECT_EQ(MenuTitles(), (QStringList{"Файл", "&Правка", "Проект", "Наборы данных", "Окно"}));

  // Closing asks nothing, even with changes, and frees window and tool bar.
  Book().Sheet().SetText(1, 1, "5");
  ASSERT_TRUE(Run("actnEditCut"));
  QPointer<TWFerrant> closed = &editor;
  QPointer<QToolBar> tool_bar = editor.ToolBar();
  editor.close();
  EXPECT_EQ(WFerrant, nullptr);
  EXPECT_EQ(MenuTitles(), (QStringList{"Файл", "Проект", "Окно"}));
  RunDeferredDeletes();
  EXPECT_TRUE(closed.isNull());
  EXPECT_TRUE(tool_bar.isNull());
  EXPECT_TRUE(prompt_.questions.isEmpty());
  EXPECT_TRUE(Enabled("FileNewDataSet"));
}

TEST_F(FerrantWindowTest, ActionsToolBarAndMenusCarryTheirCaptionsHintsKeysAndPictures) {
  TWFerrant& editor = OpenEditor(5, 5);
  QStringList rows;
  for (QAction* action : editor.Actions().Actions()) {
    rows.append(QString("%1 %2 %3 | %4 | %5 | %6")
                    .arg(action->objectName(), editor.Actions().Category(action), action->text(),
                         action->toolTip(), action->shortcut().toString())
                    .arg(editor.Actions().ImageIndex(action)));
  }
  EXPECT_EQ(rows, (QStringList{
                      "actnEditCut Edit &Вырезать | Вырезать | Ctrl+X | 0",
                      "actnEditCopy Edit &Копировать | Копировать | Ctrl+C | 1",
                      "actnEditPaste Edit Вст&авить | Вставить | Ctrl+V | 2",
                      "actnEditDelete Edit О&чистить | Очистить | Del | 3",
                      "actnEditSelectAll Edit Выбрать вс&е | Выбрать все |  | -1",
                      "actnDataSetsInsertRow DataSets Вставить строку | Вставить строку |  | 4",
                      "actnDataSetsInsertCol DataSets Вставить столбец | Вставить столбец |  | 5",
                      "actnDataSetsDeleteRow DataSets Удалить строку | Удалить строку |  | 6",
                      "actnDataSetsDeleteCol DataSets Удалить столбец | Удалить столбец |  | 7",
                      "actnDataSetsMakeSample DataSets Создать подвыборку | Создать подвыборку |  | 8",
                      "actnDataSetsSampleInfo DataSets Информация о выборке | Информация о выборке |  | 9",
                      "actnFileImport DataSets Импорт набора данных | Импорт набора данных |  | -1",
                      "actnFileExport DataSets Экспорт набора данных | Экспорт набора данных |  | -1",
                  }));
  for (QAction* action : editor.Actions().Actions()) {
    EXPECT_EQ(action->icon().isNull(), editor.Actions().ImageIndex(action) < 0)
        << action->objectName().toStdString();
  }
  const auto names = [](const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* action : actions) out.append(action->isSeparator() ? "|" : action->objectName());
    return out;
  };
  EXPECT_EQ(names(editor.ToolBar()->actions()),
            (QStringList{"actnEditCut", "actnEditCopy", "actnEditPaste", "|", "actnDataSetsInsertRow",
                         "actnDataSetsInsertCol", "actnDataSetsDeleteRow", "actnDataSetsDeleteCol", "|",
                         "actnDataSetsMakeSample", "actnDataSetsSampleInfo"}));
  EXPECT_EQ(names(Child<QMenu>(editor, "menuEdit")->actions()),
            (QStringList{"actnEditCut", "actnEditCopy", "actnEditPaste", "|", "actnEditDelete",
                         "actnEditSelectAll"}));
  EXPECT_EQ(names(Child<QMenu>(editor, "menuDataSets")->actions()),
            (QStringList{"actnDataSetsInsertRow", "actnDataSetsInsertCol", "actnDataSetsDeleteRow",
                         "actnDataSetsDeleteCol", "|", "actnFileImport", "actnFileExport"}));
}

TEST_F(FerrantWindowTest, RowsAndColumnsChangeByOneWithinTheirLimits) {
  OpenEditor(16383, 255);
  Put({{"a", "b"}, {"c", "d"}});
  Book().SetSelection(1, 1, 1, 1);
  ASSERT_TRUE(Run("actnDataSetsInsertRow"));
  EXPECT_EQ(Book().MaxRow(), 16384);
  EXPECT_EQ(Cells(3, 1), (QList<QStringList>{{""}, {"a"}, {"c"}}));
  ASSERT_TRUE(Run("actnDataSetsInsertRow"));
  EXPECT_EQ(Book().MaxRow(), 16384);
  ASSERT_TRUE(Run("actnDataSetsInsertCol"));
  EXPECT_EQ(Book().MaxCol(), 256);
  ASSERT_TRUE(Run("actnDataSetsInsertCol"));
  EXPECT_EQ(Book().MaxCol(), 256);
  EXPECT_EQ(prompt_.informations, (QStringList{"Достигнуто максимальное количество строк",
                                               "Достигнуто максимальное количество столбцов"}));

  // A two-row selection deletes both rows and shrinks the sheet by one.
  Book().SetSelection(1, 1, 2, 1);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow"));
  EXPECT_EQ(Book().MaxRow(), 16383);
  EXPECT_EQ(Cells(1, 3), (QList<QStringList>{{"", "c", "d"}}));
  ASSERT_TRUE(Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxCol(), 255);
  EXPECT_EQ(Cells(1, 2), (QList<QStringList>{{"c", "d"}}));
}

TEST_F(FerrantWindowTest, TheLastRowAndColumnAreNotDeleted) {
  OpenEditor(2, 1);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow"));
  EXPECT_EQ(Book().MaxRow(), 1);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow"));
  ASSERT_TRUE(Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxRow(), 1);
  EXPECT_EQ(Book().MaxCol(), 1);
  EXPECT_EQ(prompt_.informations, (QStringList{"Достигнуто минимальное количество строк",
                                               "Достигнуто минимальное количество столбцов"}));
}

TEST_F(FerrantWindowTest, WithNoCellSelectedDeletingKeepsTheSheetWhole) {
  OpenEditor(3, 2);
  Put({{"1", "2"}, {"3", "4"}, {"5", "6"}});
  Book().SetSelection(2, 1, 1, 2);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow"));
  ASSERT_TRUE(Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxRow(), 3);
  EXPECT_EQ(Book().MaxCol(), 2);
  EXPECT_EQ(Cells(3, 2), (QList<QStringList>{{"1", "2"}, {"3", "4"}, {"5", "6"}}));
}

TEST_F(FerrantWindowTest, OnlyChangingCommandsMarkTheSheetModified) {
  TWFerrant& editor = OpenEditor(4, 4);
  Put({{"1", "2"}});
  Book().SetSelection(1, 1, 1, 2);
  ASSERT_TRUE(Run("actnEditCopy"));
  ASSERT_TRUE(Run("actnEditSelectAll"));
  qint32 top, left, bottom, right;
  Book().GetSelection(0, top, left, bottom, right);
  EXPECT_EQ(QList<int>({top, left, bottom, right}), QList<int>({1, 1, 4, 4}));
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");

  for (const char* action : {"actnEditPaste", "actnEditCut", "actnEditDelete"}) {
    editor.OpenDataSet(ExampleDataSet());
    Book().SetSelection(1, 1, 1, 1);
    ASSERT_TRUE(Run(action)) << action;
    EXPECT_TRUE(editor.Modified()) << action;
    EXPECT_EQ(editor.windowTitle(), "Табличный процессор*") << action;
  }
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.5\n");  // cut
  EXPECT_EQ(Book().Get_TextRC(1, 1), "");
}

TEST_F(FerrantWindowTest, AnEndedCellEditIsShownBeforeTheSheetCountsAsChanged) {
  TWFerrant& editor = OpenEditor(3, 3);
  QString text = "12.5";
  EXPECT_TRUE(Book().EndEdit(text));
  EXPECT_EQ(prompt_.messages, QStringList{"12.5"});
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор*");
}

TEST_F(FerrantWindowTest, WorkbooksAreExportedAndImportedThroughTheMainWindowsDialogs) {
  TWFerrant& editor = OpenEditor(3, 2);
  Put({{"1,5", "текст"}, {"", "7"}});
  ASSERT_TRUE(Run("actnEditCut"));  // marks modified
  prompt_.files = {File("book.xls")};
  ASSERT_TRUE(Run("actnFileExport"));
  ASSERT_EQ(prompt_.fileDialogs.size(), 1);
  EXPECT_TRUE(prompt_.fileDialogs[0].save);
  EXPECT_EQ(prompt_.fileDialogs[0].setup.filter,
            "Книга Microsoft Exel 5.0 (*.xls)|*.xls|Все файлы (*.*)|*.*");
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "xls");
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.FileName(), File("book.xls"));
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("book.xls"));

  // Read back into an emptied sheet; a name in capitals is read too.
  ASSERT_TRUE(QFile::copy(File("book.xls"), File("BOOK.XLS")));
  Book().SetMaxRow(1);
  Book().SetMaxCol(1);
  prompt_.files = {File("BOOK.XLS")};
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_FALSE(prompt_.fileDialogs[1].save);
  EXPECT_EQ(Book().MaxRow(), 3);
  EXPECT_EQ(Cells(2, 2), (QList<QStringList>{{"", "текст"}, {"", "7"}}));
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("BOOK.XLS"));
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");
}

TEST_F(FerrantWindowTest, FilesOfTheSystemsOwnTypesAreNeitherImportedNorExported) {
  TWFerrant& editor = OpenEditor(3, 2);
  ASSERT_TRUE(Run("actnDataSetsInsertRow"));
  prompt_.files = {File("data.sds"), File("data.sds")};
  ASSERT_TRUE(Run("actnFileImport"));
  ASSERT_TRUE(Run("actnFileExport"));
  EXPECT_FALSE(QFile::exists(File("data.sds")));
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор*");
  EXPECT_EQ(Window().StatusText(), "Файл: ");
  EXPECT_EQ(Book().MaxRow(), 4);

  // A cancelled dialog still ends the step as done.
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");
}

TEST_F(FerrantWindowTest, AnUnreadableWorkbookIsReportedAndTheSheetStays) {
  OpenEditor(2, 2);
  Put({{"keep"}});
  QFile junk(File("junk.xls"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(4096, 'j'));
  junk.close();
  prompt_.files = {File("junk.xls")};
  EXPECT_FALSE(Run("actnFileImport") && prompt_.errors.isEmpty());
  ASSERT_EQ(prompt_.errors.size(), 1);
  EXPECT_TRUE(prompt_.errors[0].startsWith("Файл «" + File("junk.xls") + "» не удается прочитать"));
  EXPECT_EQ(Book().Get_TextRC(1, 1), "keep");
  EXPECT_NE(WFerrant, nullptr);
}

TEST_F(FerrantWindowTest, ASampleOfNumbersIsSavedAsADataSetFile) {
  TWFerrant& editor = OpenEditor(4, 3);
  Put({{"x", "y", "z"}, {"1.5", "2,25", "ignored"}, {"-3", "4e1", "ignored"}});
  Book().SetSelection(2, 1, 3, 2);
  prompt_.answers = {Answer::Yes};
  prompt_.files = {File("sample.sds")};
  Window().SaveDialog().Setup().filter = "earlier filter";
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));

  EXPECT_EQ(prompt_.questions, QStringList{"Сформировать файл с выбранными данными ?"});
  ASSERT_EQ(prompt_.fileDialogs.size(), 1);
  EXPECT_EQ(prompt_.fileDialogs[0].setup.filter, "Talvo System Files(*.sds)|*.sds");
  EXPECT_EQ(Window().SaveDialog().Setup().filter, "earlier filter");
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "");
  EXPECT_EQ(editor.FileName(), File("sample.sds"));
  EXPECT_EQ(Book().Get_TextRC(2, 1), "1.5");  // the cells keep their texts
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(Window().StatusText(), "Файл: ");

  WorkbookSheet saved;
  Ferrant::LoadFromFileToBook(&saved, File("sample.sds"));
  EXPECT_EQ(saved.MaxRow(), 2);
  EXPECT_EQ(saved.MaxCol(), 2);
  EXPECT_EQ(saved.Text(1, 2), "2.25");
  EXPECT_EQ(saved.Text(2, 2), "40");
}

TEST_F(FerrantWindowTest, ARowThatIsNotAllNumbersIsDeletedOnlyWhenTheUserSaysSo) {
  TWFerrant& editor = OpenEditor(6, 3);
  Put({{"1", "a", "b"}, {"2", "3", "c"}, {"", "4", "d"}, {"5", "6", "e"}, {"tail", "", ""}});
  Book().SetSelection(1, 1, 4, 2);
  prompt_.answers = {Answer::Yes, Answer::Yes, Answer::No};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  // Row 1 has one bad cell: one question, then the walk goes on with the row
  // that moved up; the empty cell begins its question with two apostrophes.
  EXPECT_EQ(prompt_.questions, (QStringList{"'a' - не число! Хотите удалить эту строчку?",
                                            "'' - не число! Хотите удалить эту строчку?",
                                            "Сформировать файл с выбранными данными ?"}));
  EXPECT_EQ(Cells(4, 3),
            (QList<QStringList>{{"2", "3", "c"}, {"5", "6", "e"}, {"tail", "", ""}, {"", "", ""}}));
  EXPECT_EQ(Book().MaxRow(), 6);
  qint32 top, left, bottom, right;
  Book().GetSelection(0, top, left, bottom, right);
  EXPECT_EQ(QList<int>({top, left, bottom, right}), QList<int>({1, 1, 2, 2}));
  EXPECT_TRUE(editor.Modified());
  EXPECT_TRUE(prompt_.fileDialogs.isEmpty());

  // No to the first question: nothing more is asked or written.
  prompt_.questions.clear();
  Book().SetSelection(2, 1, 3, 2);
  prompt_.answers = {Answer::No};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.questions, QStringList{"'tail' - не число! Хотите удалить эту строчку?"});
  EXPECT_EQ(Book().Get_TextRC(3, 1), "tail");
}

TEST_F(FerrantWindowTest, AnswersAtTheEndOfTheSelectionAndCancelledSavesWriteNothing) {
  OpenEditor(10, 2);
  Put({{"1", "2"}, {"3", "x"}});
  // Whole columns: only the sheet's rows are walked; the last row's Yes ends
  // the walk.
  Book().SetSelection(1, 1, 10, 1);
  prompt_.answers = {Answer::Yes};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.questions.size(), 2);
  EXPECT_EQ(prompt_.questions[0], "'' - не число! Хотите удалить эту строчку?");

  prompt_.questions.clear();
  Book().SetSelection(1, 1, 1, 1);
  prompt_.answers = {Answer::Yes};
  prompt_.files = {std::nullopt};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.fileDialogs.size(), 1);
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "");
  EXPECT_TRUE(QDir(folder_.path()).entryList({"*.sds"}).isEmpty());
}

TEST_F(FerrantWindowTest, ASelectionWhoseRowsAreAllDeletedSavesNoFile) {
  OpenEditor(3, 1);
  Put({{"a"}, {"b"}});
  Book().SetSelection(1, 1, 2, 1);
  prompt_.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
  prompt_.files = {File("empty.sds")};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.errors, QStringList{"Не выбрано ни одной ячейки: набор данных пуст"});
  EXPECT_FALSE(QFile::exists(File("empty.sds")));
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "");
}

TEST_F(FerrantWindowTest, TheDescriptionIsEditedWithTheSizesGreyedOut) {
  TWFerrant& editor = OpenEditor(7, 3);
  AnswerParameters("", "", "Рост и вес", true);
  ASSERT_TRUE(Run("actnDataSetsSampleInfo"));
  EXPECT_EQ(shown_, (QStringList{"7", "3", "", "greyed"}));
  EXPECT_EQ(editor.Description(), "Рост и вес");
  EXPECT_EQ(Book().toolTip(), "Рост и вес");
  EXPECT_FALSE(editor.Modified());

  AnswerParameters("", "", "другое", false);
  ASSERT_TRUE(Run("actnDataSetsSampleInfo"));
  EXPECT_EQ(shown_[2], "Рост и вес");
  EXPECT_EQ(editor.Description(), "Рост и вес");
}

TEST_F(FerrantWindowTest, ANewDataSetEmptiesAndSizesTheSheetUnlessCancelledOrImpossible) {
  TWFerrant& editor = OpenEditor(4, 3);
  Put({{"1", "2"}});
  Book().Set_ColText(2, "B2");
  Window().SetStatusText("Файл: old");
  AnswerParameters("9", "9", "", false);
  editor.NewDataSet();
  EXPECT_EQ(Book().MaxRow(), 4);
  EXPECT_EQ(Book().Get_TextRC(1, 2), "2");
  EXPECT_EQ(Window().StatusText(), "Файл: old");

  AnswerParameters("0", "5", "", true);
  RunGuarded([&] { editor.NewDataSet(); });
  EXPECT_EQ(prompt_.errors, QStringList{"Число строк таблицы должно быть от 1 до 16384"});
  EXPECT_EQ(Book().Get_TextRC(1, 2), "2");

  AnswerParameters("20000", "2", "новое", true);
  editor.NewDataSet();
  EXPECT_EQ(shown_, (QStringList{"4", "3", "", "editable"}));
  EXPECT_EQ(Book().MaxRow(), 16384);
  EXPECT_EQ(Book().MaxCol(), 2);
  EXPECT_EQ(Book().Get_TextRC(1, 2), "");
  EXPECT_EQ(Book().Sheet().ColumnHeading(2), "B");
  EXPECT_EQ(Window().StatusText(), "Файл: ");
  EXPECT_EQ(Book().toolTip(), "новое");
  EXPECT_FALSE(editor.Modified());
}

TEST_F(FerrantWindowTest, TheCalculationPanelOpensItsDataSetInTheEditor) {
  const QString path = ExampleDataSet();
  NewProject();
  NewCalculation();
  prompt_.files = {path};
  ASSERT_TRUE(Execute("PrjAdd"));
  auto* data_sets = Child<DropDownComboBox>(Window(), "cbDataSets");
  data_sets->showPopup();
  data_sets->hidePopup();
  data_sets->setCurrentIndex(0);
  emit data_sets->activated(0);
  ASSERT_TRUE(Execute("CalcTranslator"));
  ASSERT_NE(WFerrant, nullptr);
  EXPECT_EQ(WFerrant->FileName(), path);
  EXPECT_EQ(Book().MaxRow(), 1);
  EXPECT_EQ(Book().MaxCol(), 2);
  EXPECT_EQ(Book().Get_TextRC(1, 1), "1.5");
  EXPECT_FALSE(Book().isHidden());
  EXPECT_EQ(Window().StatusText(), "Файл: " + path);
  EXPECT_EQ(WFerrant->Description(), "");
  EXPECT_FALSE(Enabled("CalcTranslator"));
  EXPECT_FALSE(Enabled("FileNewDataSet"));

  // Closing everything closes the editor too.
  prompt_.answers = {Answer::No, Answer::No};
  ASSERT_TRUE(Execute("FileCloseAll"));
  EXPECT_EQ(WFerrant, nullptr);
}

TEST(FerrantWindow, DotToCommaReplacesEveryPoint) {
  EXPECT_EQ(TWFerrant::DotToComma("1.2.3"), "1,2,3");
  EXPECT_EQ(TWFerrant::DotToComma("2,5"), "2,5");
  EXPECT_EQ(TWFerrant::DotToComma(""), "");
}

}  // namespace
