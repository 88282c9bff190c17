// A main window opened on a per-user settings store and a method registry of
// the test's own, with a scripted prompt; and the steps the command tests
// take through its actions, with the staged program folder as the program's.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "platform/program_folder.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/model/tests/scripted_prompt.h"
#include "shell/windows/action_list.h"
#include "shell/windows/main_window.h"

class MainWindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.isValid() && folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
  }

  std::unique_ptr<TWMain> Open() { return std::make_unique<TWMain>(prompt_, folder_.filePath("System.INI")); }

  void WriteIni(const QByteArray& text) const {
    QFile file(folder_.filePath("System.INI"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  static QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "TALVO", "System");
  }

  template <typename T>
  static T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QTemporaryDir store_;
  QTemporaryDir folder_;
  ScriptedPrompt prompt_;
};

class CommandsFixture : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    platform::SetProgramFolder(WB_STAGE_DIR "/");
    previous_folder_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    // A method without libraries, whose values carry blanks around them.
    WriteIni("[Methods]\nPlain = Простой метод\n[Plain]\nCode =  PM \nFullName =  Метод без библиотек \n");
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

  // Executes as a menu item does: a disabled action does nothing.
  bool Execute(const char* name) { return Window().Actions().Execute(Window().Actions().Find(name)); }

  bool Enabled(const char* name) {
    Window().Actions().UpdateAll();
    return Window().Actions().Find(name)->isEnabled();
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

  // The group's nodes as "text image".
  QStringList Nodes(int group) {
    QStringList nodes;
    for (int child = 0; child < Group(group)->childCount(); ++child) {
      const QTreeWidgetItem* node = Group(group)->child(child);
      nodes.append(node->text(0) + " " + node->data(0, TWMain::kImageIndexRole).toString());
    }
    return nodes;
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
