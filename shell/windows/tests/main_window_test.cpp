#include "shell/windows/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QEventLoop>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSet>
#include <QSplitter>
#include <QTimer>

#include "platform/exceptions.h"
#include "shell/config/settings_store.h"
#include "shell/windows/action_list.h"
#include "shell/windows/report_window.h"
#include "shell/windows/tests/main_window_fixture.h"
#include "shell/windows/window_actions.h"
#include "shell/windows/window_close_all.h"

namespace {

// Lets the event loop run until it goes idle, when update handlers run.
void RunUntilIdle() {
  QEventLoop loop;
  QTimer::singleShot(30, &loop, &QEventLoop::quit);
  loop.exec();
}

QString Names(const QList<QAction*>& actions) {
  QStringList names;
  for (const QAction* action : actions) names.append(action->objectName());
  return names.join(" ");
}

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, FirstRunOpensCentredAtTheDesignSizeWithNothingOpen) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), "TALVO System (alpha version: " WB_VERSION ")");
  EXPECT_EQ(window->size(), QSize(635, 452));
  const QRect desktop = window->screen()->availableGeometry();
  EXPECT_NEAR(window->x(), desktop.x() + (desktop.width() - 635) / 2, 1);
  EXPECT_NEAR(window->y(), desktop.y() + (desktop.height() - 452) / 2, 1);
  EXPECT_FALSE(Child<QWidget>(*window, "tsProject")->isEnabled());
  EXPECT_FALSE(Child<QWidget>(*window, "tsCalculation")->isEnabled());
  EXPECT_EQ(Child<QTabWidget>(*window, "pcControl")->currentWidget()->objectName(), "tsProject");
  const QTreeWidgetItem* root = Child<QTreeWidget>(*window, "tvProject")->topLevelItem(0);
  EXPECT_EQ(root->text(0), "Проект");
  ASSERT_EQ(root->childCount(), 3);
  EXPECT_EQ(root->child(0)->text(0) + root->child(1)->text(0) + root->child(2)->text(0),
            "РасчетыНаборы данныхОтчеты");
  EXPECT_EQ(Store().value("WMainParameters").toByteArray(), EncodePlacement({366, 275, 452, 635}));
}

TEST_F(MainWindowTest, StoredSizeAndStateTakeEffectAndTheCurrentPlacementIsWrittenBack) {
  LoadMainWindowSettings({{10, 20, 500, 700}, 0, {}, {}});
  Store().setValue("HistoryList/HistCalc3", "/p/c.scl");
  auto window = Open();
  EXPECT_EQ(window->size(), QSize(700, 500));
  EXPECT_NE(window->pos(), QPoint(10, 20));  // centred
  window->resize(800, 600);
  const QPoint position = window->pos();
  window.reset();
  QSettings store = Store();
  EXPECT_EQ(store.value("WMainParameters").toByteArray(),
            EncodePlacement({position.x(), position.y(), 600, 800}));
  EXPECT_EQ(store.value("HistoryList/HistCalc0").toString(), "/p/c.scl");
  EXPECT_EQ(store.value("HistoryList/HistCalc3").toString(), "");

  Store().setValue("WMainState", 2);
  EXPECT_TRUE(Open()->windowState() & Qt::WindowMaximized);
}

// A stored size larger than the desktop, normal or maximized: the window
// opens, and comes back from maximized, with all of it on the desktop.
TEST_F(MainWindowTest, NoPartOfTheWindowLeavesTheDesktop) {
  for (const qint32 state : {0, 2}) {
    SaveMainWindowSettings({{-50, -50, 1500, 2000}, state, {}, {}});
    auto window = Open();
    window->show();
    window->showNormal();
    RunUntilIdle();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry())) << state;
  }
}

TEST_F(MainWindowTest, MethodBoxListsTheRegisteredNamesWithNothingChosen) {
  WriteIni("[Methods]\nBrennic = Метод Монте-Карло\nEmpty =\nOther=Второй\n");
  auto window = Open();
  auto* methods = Child<QComboBox>(*window, "cbMethods");
  ASSERT_EQ(methods->count(), 2);
  EXPECT_EQ(methods->itemText(0) + " | " + methods->itemText(1), "Метод Монте-Карло | Второй");
  EXPECT_EQ(methods->currentIndex(), -1);

  // A pipe in the registry's place holds nothing up: it is said, and no
  // method is listed.
  window.reset();
  const QString ini = folder_.filePath("System.INI");
  ASSERT_TRUE(QFile::remove(ini));
  ASSERT_EQ(mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
  window = Open();
  EXPECT_EQ(Child<QComboBox>(*window, "cbMethods")->count(), 0);
  EXPECT_EQ(prompt_.errors, QStringList({"Невозможно прочитать файл методов «" + ini + "» ! «" + ini +
                                         "» — не обычный файл, а папка, канал или устройство."}));
}

TEST_F(MainWindowTest, ToolBarMenusAndActionListHoldEveryCommandInOrder) {
  auto window = Open();
  auto* tool_bar = Child<QToolBar>(*window, "tbStandart");
  QStringList buttons;
  for (QAction* action : tool_bar->actions()) {
    buttons.append(action->isSeparator() ? action->objectName()
                                         : tool_bar->widgetForAction(action)->objectName());
  }
  EXPECT_EQ(buttons.join(" "),
            "tbNewProject tbNewCalculation tbSeparator1 tbOpen tbSeparator2 tbSave tbSaveAll "
            "tbClose tbCloseAll");
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles.append(menu->text());
  EXPECT_EQ(titles, QStringList({"Файл", "Проект", "Окно"}));
  EXPECT_EQ(Names(Child<QMenu>(*window, "menuFile")->actions()),
            "itemNewProject itemNewCalculation itemNewDataSet sepFile1 itemOpen itemOpenProject itemReopen "
            "sepFile2 itemSave itemSaveAs itemProjectSaveAs itemSaveAll itemClose itemCloseAll sepFile3 "
            "itemFileExit");
  const QList<QAction*> history = Child<QMenu>(*window, "itemReopen")->actions();
  EXPECT_EQ(history.size(), 11);
  for (const QAction* item : history) EXPECT_FALSE(item->isVisible()) << item->objectName().toStdString();
  EXPECT_EQ(Names(Child<QMenu>(*window, "menuProject")->actions()),
            "itemAddCalculation itemDelCalculation sepProject1 itemExecute itemOptions");
  EXPECT_EQ(
      Names(Child<QMenu>(*window, "menuWindow")->actions()),
      "itemCascade itemTileHorizontally itemTileVertically sepWindow1 itemMinimizeAll itemCloseAllWindows");
  EXPECT_EQ(Names(Child<QMenu>(*window, "pmProject")->actions()),
            "itemRenameProject itemPrjSetActiveCalc itemPrjAddCalc itemPrjDelCalc");

  ActionList& actions = window->Actions();
  QStringList rows;
  for (const QAction* action : actions.Actions()) {
    rows.append(QString("%1 %2 %3")
                    .arg(action->objectName(), actions.Category(action))
                    .arg(actions.ImageIndex(action)));
  }
  EXPECT_EQ(
      rows.join(", "),
      "PrjSetActive Project -1, WindowCascade Window 12, FileNewProject File 0, FileNewCalculation File 1, "
      "FileNewDataSet File 25, FileOpen File 2, FileOpenProject File 3, FileReopen File -1, FileSave File 4, "
      "FileSaveAs File 5, FileProjectSaveAs File 6, FileSaveAll File 7, FileClose File 8, FileCloseAll File "
      "9, WindowTileHorizontal Window 13, WindowTileVertical Window 14, WindowMinimizeAll Window -1, "
      "WindowCloseAll Window 15, FileExit File 11, CalcParameterEditor Calculation 16, CalcTranslator "
      "Calculation 16, CalcRun Calculation -1, CalcAbort Calculation -1, PrjAdd Project 17, PrjDel Project "
      "18");
  EXPECT_NE(dynamic_cast<TWindowCloseAll*>(actions.Find("WindowCloseAll")), nullptr);
  EXPECT_EQ(actions.Find("PrjAdd")->toolTip(), "Добавить в прект");
  EXPECT_EQ(actions.Find("CalcParameterEditor")->text(), "");
  // Menu items, buttons and the Run button show their action's caption.
  EXPECT_EQ(Child<QAction>(*window, "itemProjectSaveAs")->text(), "Сохранить проект как...");
  EXPECT_EQ(Child<QAction>(*window, "itemReopen")->text(), "История");
  EXPECT_EQ(Child<QPushButton>(*window, "bbRunCalculation")->text(), "&Запуск расчета");
  EXPECT_EQ(Child<QToolButton>(*window, "tbSave")->toolTip(), "Сохранить");
}

TEST_F(MainWindowTest, WindowKeepsItsMinimumSizeAndTheSplitterRefusesANarrowPanel) {
  auto window = Open();
  window->show();
  window->resize(300, 200);
  EXPECT_EQ(window->size(), QSize(400, 300));
  window->resize(635, 452);

  auto* splitter = Child<QSplitter>(*window, "Splitter");
  QSplitterHandle* handle = splitter->handle(1);
  const auto drag_to = [&](int panel_width) {
    const QPoint grip(1, 10);
    QMouseEvent press(QEvent::MouseButtonPress, grip, handle->mapToGlobal(grip), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    const QPoint target = splitter->mapToGlobal(QPoint(panel_width + grip.x(), grip.y()));
    QMouseEvent move(QEvent::MouseMove, handle->mapFromGlobal(target), target, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    return splitter->sizes().at(0);
  };
  EXPECT_EQ(splitter->sizes().at(0), 200);
  EXPECT_EQ(drag_to(150), 200);
  EXPECT_EQ(drag_to(199), 200);
  EXPECT_EQ(drag_to(250), 250);
}

// Four reports side by side, then the smallest window: each title bar is
// within the area and shows, and a maximized child stays maximized.
TEST_F(MainWindowTest, ChildrenStayWithinReachWhenTheWindowShrinks) {
  auto window = Open();
  window->show();
  window->resize(1000, 700);
  QMdiArea& area = *window->MdiArea();
  QList<QMdiSubWindow*> reports;
  for (int i = 0; i < 4; ++i) reports.append(new TWReport(&area));
  StandardWindowAction::TileSideBySide(area);
  auto* maximized = new TWReport(&area);
  maximized->showMaximized();
  window->resize(400, 300);
  const QRect room = area.viewport()->rect();
  QSet<QPoint> corners;
  for (const QMdiSubWindow* report : reports) {
    EXPECT_TRUE(room.contains(report->geometry()));
    corners.insert(report->pos());
  }
  EXPECT_EQ(corners.size(), reports.size());  // no title bar hidden under another window
  EXPECT_TRUE(maximized->isMaximized());
}

TEST_F(MainWindowTest, PagesLayTheirControlsOutToThePageSize) {
  auto window = Open();
  window->show();
  window->resize(900, 700);
  RunUntilIdle();
  EXPECT_EQ(Child<QWidget>(*window, "tvProject")->size(),
            Child<QWidget>(*window, "tsProject")->size() - QSize(10, 10));

  auto* page = Child<QWidget>(*window, "tsCalculation");
  Child<QTabWidget>(*window, "pcControl")->setCurrentWidget(page);
  RunUntilIdle();
  const int group_width = page->width() - 10;
  EXPECT_EQ(Child<QWidget>(*window, "gbCalculation")->width(), group_width);
  EXPECT_EQ(Child<QWidget>(*window, "cbDataSets")->width(), group_width - 48);
  EXPECT_EQ(Child<QWidget>(*window, "cbMethods")->width(), group_width - 48);
  EXPECT_EQ(Child<QWidget>(*window, "sbEditDataSet")->x(), group_width - 33);
  EXPECT_EQ(Child<QWidget>(*window, "sbEditParameters")->x(), group_width - 33);
  EXPECT_EQ(Child<QWidget>(*window, "bbRunCalculation")->width(), group_width);
  const QWidget* memo = Child<QWidget>(*window, "mCalculationInfo");
  EXPECT_EQ(memo->size(), QSize(group_width, page->height() - 175 - 5));
}

TEST_F(MainWindowTest, UpdateHandlersRunWhenIdleAndBeforeAnActionExecutes) {
  auto window = Open();
  ActionList& actions = window->Actions();
  RunUntilIdle();
  EXPECT_FALSE(actions.Find("WindowCascade")->isEnabled());
  EXPECT_FALSE(actions.Find("FileCloseAll")->isEnabled());
  EXPECT_TRUE(actions.Find("FileOpen")->isEnabled());
  new TWReport(window->MdiArea());
  RunUntilIdle();
  EXPECT_TRUE(actions.Find("WindowCascade")->isEnabled());

  int runs = 0;
  bool allowed = false;
  QAction* save_all = actions.Find("FileSaveAll");
  actions.SetHandlers(
      save_all, [&] { ++runs; }, [&] { save_all->setEnabled(allowed); });
  EXPECT_FALSE(actions.Execute(save_all));
  EXPECT_EQ(runs, 0);
  allowed = true;
  EXPECT_TRUE(actions.Execute(save_all));
  Child<QAction>(*window, "itemSaveAll")->trigger();
  EXPECT_EQ(runs, 2);
}

TEST_F(MainWindowTest, ExceptionsThatReachTheEventLoopAreShownAndTheProgramGoesOn) {
  auto window = Open();
  ActionList& actions = window->Actions();
  actions.SetHandlers(actions.Find("FileOpen"),
                      [] { throw EFOpenError("Невозможно открыть файл проекта !"); }, {});
  actions.Find("FileOpen")->trigger();
  QTimer::singleShot(0, [] { throw Exception("Проблемы с выделением памяти !"); });
  RunUntilIdle();
  EXPECT_EQ(prompt_.errors,
            QStringList({"Невозможно открыть файл проекта !", "Проблемы с выделением памяти !"}));
  EXPECT_TRUE(actions.Execute(actions.Find("FileOpen")));
  EXPECT_EQ(prompt_.errors.size(), 3);
}

TEST_F(MainWindowTest, ClosingExecutesCloseAllWhichAsksNothingWithoutAProject) {
  auto window = Open();
  window->show();
  window->close();
  EXPECT_TRUE(prompt_.questions.isEmpty() && prompt_.errors.isEmpty());

  window = Open();
  window->show();
  int closed_all = 0;
  window->Actions().SetHandlers(window->Actions().Find("FileCloseAll"), [&] { ++closed_all; }, {});
  window->close();
  EXPECT_EQ(closed_all, 1);
}

}  // namespace
