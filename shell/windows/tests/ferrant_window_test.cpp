// The data-set editor end to end: opened from the main window's commands,
// driven through its actions, answered through the scripted prompt and the
// new-data dialog.
#include "shell/windows/ferrant_window.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "ferrant/ferrant.h"
#include "shell/windows/application.h"
#include "shell/windows/drop_down_combo_box.h"
#include "shell/windows/new_data_dialog.h"
#include "shell/windows/tests/main_window_fixture.h"
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
      out.append(QStringList());
      for (int col = 1; col <= cols; ++col) out.last().append(Book().Get_TextRC(row, col));
    }
    return out;
  }

  CellRange Selection() {
    CellRange range;
    Book().GetSelection(0, range.top, range.left, range.bottom, range.right);
    return range;
  }

  // A data-set file of one row, 1.5 and 2, described as "Пример".
  QString ExampleDataSet() {
    WorkbookSheet sheet;
    sheet.SetHint("Пример");
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
  ASSERT_TRUE(Run("actnEditCut"));
  QPointer<QToolBar> tool_bar = editor.ToolBar();
  editor.close();
  EXPECT_EQ(WFerrant, nullptr);
  EXPECT_EQ(MenuTitles(), (QStringList{"Файл", "Проект", "Окно"}));
  RunDeferredDeletes();
  EXPECT_TRUE(tool_bar.isNull());
  EXPECT_TRUE(prompt_.questions.isEmpty());
  EXPECT_TRUE(Enabled("FileNewDataSet"));
}

TEST_F(FerrantWindowTest, RowsAndColumnsChangeByOneWithinTheirLimits) {
  OpenEditor(16383, 255);
  Put({{"a", "b"}, {"c", "d"}});
  Book().SetSelection(1, 1, 1, 1);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(Run("actnDataSetsInsertRow") && Run("actnDataSetsInsertCol"));
  EXPECT_EQ(Book().MaxRow() + Book().MaxCol(), 16384 + 256);
  EXPECT_EQ(Cells(3, 2), (QList<QStringList>{{"", ""}, {"", "a"}, {"", "c"}}));
  EXPECT_EQ(prompt_.informations, (QStringList{"Достигнуто максимальное количество строк",
                                               "Достигнуто максимальное количество столбцов"}));

  // A two-row selection deletes both rows, and the sheet shrinks by one.
  Book().SetSelection(1, 1, 2, 1);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow") && Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxRow() + Book().MaxCol(), 16383 + 255);
  EXPECT_EQ(Cells(1, 2), (QList<QStringList>{{"c", "d"}}));

  // With no cell selected nothing goes, and the sheet keeps its size.
  Book().SetSelection(2, 1, 1, 2);
  ASSERT_TRUE(Run("actnDataSetsDeleteRow") && Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxRow() + Book().MaxCol(), 16383 + 255);

  Book().SetMaxRow(2);
  Book().SetMaxCol(1);
  Book().SetSelection(1, 1, 1, 1);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(Run("actnDataSetsDeleteRow") && Run("actnDataSetsDeleteCol"));
  EXPECT_EQ(Book().MaxRow(), 1);
  EXPECT_EQ(prompt_.informations.mid(2), (QStringList{"Достигнуто минимальное количество столбцов",
                                                      "Достигнуто минимальное количество строк",
                                                      "Достигнуто минимальное количество столбцов"}));
}

// Growing the sheet first, an insert that the sheet refuses takes the new
// line back.
TEST_F(FerrantWindowTest, ARefusedInsertLeavesTheSheetsSize) {
  TWFerrant& editor = OpenEditor(4, 3);
  Put({{}, {}, {"a", "", "b"}, {"c"}});
  Book().SetSelection(1, 1, 3, 2);
  ASSERT_TRUE(Run("actnDataSetsInsertRow") && Run("actnDataSetsInsertCol"));
  EXPECT_EQ(prompt_.errors,
            (QStringList{"Строки не вставлены: заполненные ячейки внизу таблицы вышли бы за ее пределы",
                         "Столбцы не вставлены: заполненные ячейки справа вышли бы за пределы таблицы"}));
  EXPECT_EQ(Book().MaxRow() * 100 + Book().MaxCol(), 403);
  EXPECT_FALSE(editor.Modified());
}

// The whole sheet, not only what lies right of and below the view's corner.
TEST_F(FerrantWindowTest, SelectAllTakesTheWholeSheetWhereverTheViewStands) {
  OpenEditor(300, 60);
  Window().show();
  Book().scrollTo(Book().Sheet().index(200, 50), QAbstractItemView::PositionAtTop);
  ASSERT_GT(Book().TopRow(), 1);
  ASSERT_GT(Book().LeftCol(), 1);
  ASSERT_TRUE(Run("actnEditSelectAll"));
  EXPECT_EQ(Selection(), (CellRange{1, 1, 300, 60}));
}

TEST_F(FerrantWindowTest, OnlyChangingCommandsMarkTheSheetModified) {
  TWFerrant& editor = OpenEditor(4, 4);
  Put({{"1", "2"}});
  Book().SetSelection(1, 1, 1, 2);
  ASSERT_TRUE(Run("actnEditCopy") && Run("actnEditSelectAll"));
  EXPECT_EQ(Selection(), (CellRange{1, 1, 4, 4}));
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");

  for (const char* action : {"actnEditPaste", "actnEditCut", "actnEditDelete"}) {
    editor.OpenDataSet(ExampleDataSet());
    EXPECT_FALSE(editor.Modified());
    Book().SetSelection(1, 1, 1, 1);
    ASSERT_TRUE(Run(action)) << action;
    EXPECT_EQ(editor.windowTitle(), "Табличный процессор*") << action;
  }
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.5\n");  // cut

  // An ended cell edit is always shown, then counts as a change.
  editor.OpenDataSet(ExampleDataSet());
  QString text = "12.5";
  EXPECT_TRUE(Book().EndEdit(text));
  EXPECT_EQ(prompt_.messages, QStringList{"12.5"});
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор*");
}

TEST_F(FerrantWindowTest, KeysActOnTheSheetButNotOnTheTextOfACellBeingEdited) {
  OpenEditor(4, 4);
  Window().show();
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  Put({{"1", "2"}, {"3", "4"}});
  Book().SetSelection(1, 1, 2, 2);
  Book().setFocus();
  QTest::keyClick(Book().viewport(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1\t2\n3\t4\n");
  QTest::keyClick(Book().viewport(), Qt::Key_Delete);
  EXPECT_EQ(Book().Get_TextRC(2, 2), "");
  // The main window's title carries the maximized editor's caption.
  EXPECT_TRUE(Window().windowTitle().endsWith("[Табличный процессор*]"));

  Book().edit(Book().Sheet().index(2, 0));
  auto* cell_editor = Book().viewport()->findChild<QLineEdit*>();
  ASSERT_NE(cell_editor, nullptr);
  cell_editor->setText("abc");
  cell_editor->setCursorPosition(0);
  QTest::keyClick(cell_editor, Qt::Key_Delete);
  EXPECT_EQ(cell_editor->text(), "bc");
}

TEST_F(FerrantWindowTest, WorkbooksAreExportedAndImportedThroughTheMainWindowsDialogs) {
  TWFerrant& editor = OpenEditor(3, 2);
  Put({{"1,5", "текст"}, {"", "7"}});
  ASSERT_TRUE(Run("actnDataSetsInsertCol"));  // marks modified
  prompt_.files = {File("book.xls"), File("data.sds"), File("BOOK.XLS")};
  ASSERT_TRUE(Run("actnFileExport"));
  EXPECT_TRUE(prompt_.fileDialogs[0].save);
  EXPECT_EQ(prompt_.fileDialogs[0].setup.filter,
            "Книга Microsoft Exel 5.0 (*.xls)|*.xls|Все файлы (*.*)|*.*");
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "xls");
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("book.xls"));

  // A file of the system's own types is not read, and nothing changes.
  ASSERT_TRUE(Run("actnDataSetsInsertRow"));
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_EQ(Book().MaxRow(), 4);
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор*");
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("book.xls"));

  // A name in capitals is read.
  ASSERT_TRUE(QFile::copy(File("book.xls"), File("BOOK.XLS")));
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_FALSE(prompt_.fileDialogs[2].save);
  EXPECT_EQ(Book().MaxRow(), 3);
  EXPECT_EQ(Cells(2, 3), (QList<QStringList>{{"", "1.5", "текст"}, {"", "", "7"}}));
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("BOOK.XLS"));

  // A cancelled dialog still ends the step as done.
  ASSERT_TRUE(Run("actnDataSetsInsertRow") && Run("actnFileImport"));
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор");

  // An unreadable workbook is reported; the sheet, the caption, the status
  // panel and the file name stay, also for a dialog cancelled afterwards.
  QFile junk(File("junk.xls"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'j')) == 4096);
  junk.close();
  ASSERT_TRUE(Run("actnDataSetsInsertRow"));
  prompt_.files = {File("junk.xls")};
  ASSERT_TRUE(Run("actnFileImport"));
  ASSERT_EQ(prompt_.errors.size(), 1);
  EXPECT_TRUE(prompt_.errors[0].startsWith("Файл «" + File("junk.xls") + "» не удается прочитать"));
  EXPECT_EQ(Book().Get_TextRC(3, 3), "текст");  // below the rows inserted before
  EXPECT_EQ(editor.windowTitle(), "Табличный процессор*");
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("BOOK.XLS"));
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_EQ(Window().StatusText(), "Файл: " + File("BOOK.XLS"));

  // Of a workbook with more worksheets the first is loaded, and the user is
  // told before an export could drop the others.
  const QString two_sheets = QString(WB_WORKBOOK_TEST_DATA) + "/libreoffice_97.xls";
  prompt_.files = {two_sheets};
  ASSERT_TRUE(Run("actnFileImport"));
  EXPECT_EQ(Book().Get_TextRC(1, 1), "Рост, см");
  EXPECT_EQ(
      prompt_.informations,
      QStringList{"В книге «" + two_sheets +
                  "» листов: 2. Загружен только первый лист «Данные»; при экспорте в этот файл остальные "
                  "листы будут потеряны."});
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
  EXPECT_EQ(prompt_.fileDialogs[0].setup.filter, "Talvo System Files(*.sds)|*.sds");
  EXPECT_EQ(Window().SaveDialog().Setup().filter, "earlier filter");
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "");
  EXPECT_EQ(editor.FileName(), File("sample.sds"));
  EXPECT_EQ(Book().Get_TextRC(2, 1), "1.5");  // the cells keep their texts
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(Window().StatusText(), "Файл: ");

  WorkbookSheet saved;
  Ferrant::LoadFromFileToBook(&saved, File("sample.sds"));
  EXPECT_EQ(saved.CopyText({1, 1, 2, 2}), "1.5\t2.25\n-3\t40\n");

  // A cancelled save dialog writes nothing and is given back as well.
  prompt_.answers = {Answer::Yes};
  prompt_.files = {std::nullopt};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.fileDialogs.size(), 2);
  EXPECT_EQ(Window().SaveDialog().DefaultExt(), "");
  EXPECT_EQ(QDir(folder_.path()).entryList({"*.sds"}), QStringList{"sample.sds"});
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
  EXPECT_EQ(Selection(), (CellRange{1, 1, 2, 2}));
  EXPECT_TRUE(editor.Modified());
  EXPECT_TRUE(prompt_.fileDialogs.isEmpty());

  // No to the first question: nothing more is asked.
  prompt_.questions.clear();
  Book().SetSelection(2, 1, 3, 2);
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.questions, QStringList{"'tail' - не число! Хотите удалить эту строчку?"});
  EXPECT_EQ(Book().Get_TextRC(3, 1), "tail");

  // Whole columns are walked over the sheet's rows only; when every row is
  // gone the save is refused and no file written.
  Book().SetMaxRow(2);
  Book().SetSelection(1, 3, 100, 3);
  prompt_.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
  prompt_.files = {File("empty.sds")};
  ASSERT_TRUE(Run("actnDataSetsMakeSample"));
  EXPECT_EQ(prompt_.questions.size(), 4);
  EXPECT_EQ(prompt_.errors, QStringList{"Не выбрано ни одной ячейки: набор данных пуст"});
  EXPECT_FALSE(QFile::exists(File("empty.sds")));
}

TEST_F(FerrantWindowTest, DescriptionAndNewSheetsComeFromTheNewDataDialog) {
  TWFerrant& editor = OpenEditor(7, 3);
  AnswerParameters("", "", "Рост и вес", true);
  ASSERT_TRUE(Run("actnDataSetsSampleInfo"));
  EXPECT_EQ(shown_, (QStringList{"7", "3", "", "greyed"}));
  EXPECT_EQ(Book().toolTip(), "Рост и вес");
  EXPECT_FALSE(editor.Modified());

  Put({{"1", "2"}});
  Book().Set_ColText(2, "B2");
  Window().SetStatusText("Файл: old");
  AnswerParameters("9", "9", "", false);
  editor.NewDataSet();
  EXPECT_EQ(Book().MaxRow(), 7);
  EXPECT_EQ(Window().StatusText(), "Файл: old");

  AnswerParameters("20000", "2", "новое", true);
  editor.NewDataSet();
  EXPECT_EQ(shown_, (QStringList{"7", "3", "Рост и вес", "editable"}));
  EXPECT_EQ(Book().MaxRow() + Book().MaxCol(), 16384 + 2);
  EXPECT_EQ(Book().Get_TextRC(1, 2), "");
  EXPECT_EQ(Book().Sheet().ColumnHeading(2), "B");
  EXPECT_EQ(Window().StatusText(), "Файл: ");
  EXPECT_EQ(Book().toolTip(), "новое");
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
  EXPECT_EQ(Cells(Book().MaxRow(), Book().MaxCol()), (QList<QStringList>{{"1.5", "2"}}));
  EXPECT_FALSE(Book().isHidden());
  EXPECT_EQ(Window().StatusText(), "Файл: " + path);
  EXPECT_FALSE(Enabled("CalcTranslator"));

  // The file's description is what the sample information shows and keeps.
  AnswerParameters("", "", "Пример", true);
  ASSERT_TRUE(Run("actnDataSetsSampleInfo"));
  EXPECT_EQ(shown_[2], "Пример");
  EXPECT_EQ(Book().toolTip(), "Пример");

  // A damaged file is refused and its editor closes; the status panel names
  // no file any more.
  WFerrant->close();
  EXPECT_EQ(Window().StatusText(), "");
  QFile damaged(path);
  ASSERT_TRUE(damaged.resize(damaged.size() - 1));
  ASSERT_TRUE(Execute("CalcTranslator"));
  EXPECT_EQ(prompt_.errors.size(), 1);
  EXPECT_EQ(WFerrant, nullptr);
  EXPECT_EQ(Window().StatusText(), "");

  // Closing everything closes the editor too.
  ExampleDataSet();
  ASSERT_TRUE(Execute("CalcTranslator"));
  ASSERT_NE(WFerrant, nullptr);
  prompt_.answers = {Answer::No, Answer::No};
  ASSERT_TRUE(Execute("FileCloseAll"));
  EXPECT_EQ(WFerrant, nullptr);
}

}  // namespace
