// The toolkit's own texts in the program's windows: its standard dialogs read
// Russian whatever language the machine is set to.
#include "shell/windows/application.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "shell/windows/qt_prompt.h"

namespace {

TEST(Application, TheFileDialogShowsTheToolkitsTextsInRussian) {
  QStringList texts;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    const QAbstractItemModel* files = dialog->findChild<QTreeView*>("treeView")->model();
    for (int column = 0; column < files->columnCount(); ++column)
      texts.append(files->headerData(column, Qt::Horizontal).toString());
    for (const char* button : {"backButton", "newFolderButton", "detailModeButton"})
      texts.append(dialog->findChild<QToolButton*>(button)->toolTip());
    dialog->reject();
  });
  QtPrompt().OpenFileName(FileDialogSetup{});
  EXPECT_EQ(texts, QStringList({"Имя", "Размер", "Тип", "Дата изменения", "Назад", "Создать папку",
                                "Подробный вид"}));
}

// A window manager may minimise a dialog whatever it is told, and the main
// window with it: both come back. Without a dialog up a window stays minimised.
TEST(Application, ADialogAndTheWindowBehindItAreNotLeftMinimised) {
  QWidget main_window;
  main_window.show();
  QDialog dialog(&main_window);
  bool dialog_back = false;
  bool window_back = false;
  QTimer::singleShot(0, [&] {
    dialog.setWindowState(Qt::WindowMinimized);
    main_window.setWindowState(Qt::WindowMinimized);
    QTimer::singleShot(0, [&] {
      dialog_back = !dialog.isMinimized();
      window_back = !main_window.isMinimized();
      dialog.reject();
    });
  });
  dialog.exec();
  EXPECT_TRUE(dialog_back);
  EXPECT_TRUE(window_back);
  main_window.setWindowState(Qt::WindowMinimized);
  QCoreApplication::processEvents();
  EXPECT_TRUE(main_window.isMinimized());
}

}  // namespace
