// The toolkit's own texts in the program's windows: its standard dialogs read
// Russian whatever language the machine is set to.
#include "shell/windows/application.h"

#include <gtest/gtest.h>

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

}  // namespace
