// A main window open on a test's own settings store and method registry, with
// the staged program folder as the program's, and the steps the command
// tests take through the actions and the scripted prompt.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QTreeWidget>

#include "platform/program_folder.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/windows/action_list.h"
#include "shell/windows/tests/main_window_fixture.h"

class CommandsFixture : public MainWindowFixture {
 protected:
  // A method without libraries, whose values carry blanks around them.
  static constexpr char kPlainMethodIni[] =
      "[Methods]\n"
      "Plain = Простой метод\n"
      "[Plain]\n"
      "Code =  PM \n"
      "FullName =  Метод без библиотек \n";

  void SetUp() override {
    MainWindowFixture::SetUp();
    platform::SetProgramFolder(WB_STAGE_DIR "/");
    previous_folder_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    WriteIni(kPlainMethodIni);
  }

  void TearDown() override {
    window_.reset();
    QDir::setCurrent(previous_folder_);
    platform::SetProgramFolder("");
  }

  TWMain& Window() {
    if (!window_) window_ = Open();
    return *window_;
  }

  QAction* Action(const char* name) { return Window().Actions().Find(name); }

  // Executes as a menu item does: a disabled action does nothing.
  bool Execute(const char* name) { return Window().Actions().Execute(Action(name)); }

  bool Enabled(const char* name) {
    Window().Actions().UpdateAll();
    return Action(name)->isEnabled();
  }

  QString File(const QString& name) const { return folder_.filePath(name); }

  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void NewProject(const QString& name = "Проект А") {
    prompt_.names.append(name);
    ASSERT_TRUE(Execute("FileNewProject"));
  }

  void NewCalculation(const QString& name = "Расчет 1") {
    prompt_.names.append(name);
    ASSERT_TRUE(Execute("FileNewCalculation"));
  }

  // Saves the open calculation or project through its Save As dialog.
  void SaveCalculationAs(const QString& path) {
    prompt_.files.append(path);
    ASSERT_TRUE(Execute("FileSaveAs"));
  }

  void SaveProjectAs(const QString& path) {
    prompt_.files.append(path);
    ASSERT_TRUE(Execute("FileProjectSaveAs"));
  }

  // Picks the method at that index of the method list, as the user does.
  void ChooseMethod(int index) {
    auto* methods = Child<QComboBox>(Window(), "cbMethods");
    methods->setCurrentIndex(index);
    emit methods->activated(index);
  }

  QTreeWidget* Tree() { return Child<QTreeWidget>(Window(), "tvProject"); }
  QTreeWidgetItem* Group(int group) { return Tree()->topLevelItem(0)->child(group); }

  QStringList Texts(int group) {
    QStringList texts;
    for (int child = 0; child < Group(group)->childCount(); ++child)
      texts.append(Group(group)->child(child)->text(0));
    return texts;
  }

  QList<int> Images(int group) {
    QList<int> images;
    for (int child = 0; child < Group(group)->childCount(); ++child) {
      images.append(Group(group)->child(child)->data(0, TWMain::kImageIndexRole).toInt());
    }
    return images;
  }

  void Select(QTreeWidgetItem* node) {
    Tree()->setCurrentItem(node);
    node->setSelected(true);
  }

  static constexpr int kCalculations = 0;
  static constexpr int kDataSets = 1;
  static constexpr int kReports = 2;

  std::unique_ptr<TWMain> window_;
  QString previous_folder_;
};
