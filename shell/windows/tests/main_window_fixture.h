// A main window opened on a per-user settings store and a method registry of
// the test's own, with a scripted prompt.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "shell/model/tests/scripted_prompt.h"
#include "shell/windows/main_window.h"

class MainWindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.isValid());
    ASSERT_TRUE(folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
  }

  std::unique_ptr<TWMain> Open() { return std::make_unique<TWMain>(prompt_, IniPath()); }

  QString IniPath() const { return folder_.filePath("System.INI"); }

  void WriteIni(const QByteArray& text) const {
    QFile file(IniPath());
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
